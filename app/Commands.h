// Commands: every command of the main window in one table, with the menu
// item that shows it (if any) and its keys. The menus are built from the
// table (the first key of an item is shown beside its text) and every key
// press the window sees is looked up in it, so a command's key works
// wherever the keyboard focus is, menu or not.
//
// The file and help menus keep menu 128's items and ids (DialogLayout.h);
// the view menu and the keyboard's own commands have ids of their own
// below. A new command is a new id and a new row.
#pragma once

#include <wx/defs.h>
#include <wx/string.h>

#include <cstddef>

enum CommandId {
  ID_FILE_CUT = 22777,  // the cut button's command, from the file menu or a key
  ID_VIEW_ZOOM_IN = 22780,
  ID_VIEW_ZOOM_OUT,
  ID_VIEW_SHOW_ALL,
  ID_VIEW_ZOOM_SELECTION,
  ID_FILE_KEEP_COVER = 22790,  // cuts and splits carry the source's pictures
  ID_FILE_FIND_SILENCE,        // split marks at the silences found
  ID_FILE_SPLIT_TRACKS,        // one file per stretch between the marks
  // Commands without a menu item.
  ID_KEY_PLAY_STOP = 22800,  // play the selection, or stop what plays
  ID_KEY_PAUSE,
  ID_KEY_START_HERE,  // the start at the play cursor, else at the pointer
  ID_KEY_END_HERE,
  ID_KEY_SWITCH_EDGE,
  ID_KEY_EDGE_FRAME_BACK,  // the active edge one frame earlier
  ID_KEY_EDGE_FRAME_ON,
  ID_KEY_EDGE_SECOND_BACK,
  ID_KEY_EDGE_SECOND_ON,
  ID_KEY_EDGE_TEN_BACK,
  ID_KEY_EDGE_TEN_ON,
  ID_KEY_EDGE_HOME,
  ID_KEY_EDGE_END,
  ID_KEY_SELECT_ALL,
  ID_KEY_UNDO,
  ID_KEY_REDO,
  ID_KEY_HEAR_START,         // the first 2 s of the selection
  ID_KEY_HEAR_BEFORE_START,  // the 2 s before it
  ID_KEY_HEAR_END,           // the last 2 s of the selection
  ID_KEY_HEAR_AFTER_END,     // the 2 s after it
  ID_KEY_EDIT_START,
  ID_KEY_EDIT_END,
  ID_KEY_ADD_MARK,     // a split mark at the play cursor, else at the pointer
  ID_KEY_DELETE_MARK,  // the split mark nearest the pointer goes
  ID_KEY_LAST = ID_KEY_DELETE_MARK,
};

enum class MenuPlace { None, File, View, Help };

// A key with its modifiers (wxMOD_CONTROL, wxMOD_SHIFT, wxMOD_ALT).
struct KeyChord {
  int keyCode = 0;
  int modifiers = 0;
};

struct CommandEntry {
  int id;  // 0: a separator in its menu
  MenuPlace menu;
  const char* text;  // the menu item's text (app/Texts.h), null without one
  wxItemKind kind;
  KeyChord keys[3];  // the first one is shown in the menu; keyCode 0 ends the list
};

// The table, in menu order within each menu.
const CommandEntry* CommandTable(size_t* count);
// The command of a key press (its wx key code and modifiers), 0 for none. A
// printable key that needs Shift ("+") is found with or without it.
int CommandForKey(int keyCode, int modifiers);
// The menu item's label: its text, a tab and its first key when it has one.
wxString MenuItemLabel(const CommandEntry& entry);
