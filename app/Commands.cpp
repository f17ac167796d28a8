#include "app/Commands.h"

#include <wx/accel.h>

#include <cctype>
#include <iterator>

#include "app/DialogLayout.h"
#include "app/Texts.h"
#include "platform/wx/Translation.h"

namespace {

constexpr int kCtrl = wxMOD_CONTROL;
constexpr int kShift = wxMOD_SHIFT;
constexpr int kKnownModifiers = wxMOD_ALT | wxMOD_CONTROL | wxMOD_SHIFT;

// clang-format off
const CommandEntry kCommands[] = {
    {ID_FILE_OPEN, MenuPlace::File, apptext::kOpenFileItem, wxITEM_NORMAL, {{'O', kCtrl}}},
    {ID_FILE_CLOSE, MenuPlace::File, apptext::kCloseFileItem, wxITEM_NORMAL, {{'W', kCtrl}}},
    {ID_FILE_CUT, MenuPlace::File, apptext::kCutItem, wxITEM_NORMAL, {{'S', kCtrl}}},
    {0, MenuPlace::File, nullptr, wxITEM_SEPARATOR, {}},
    {ID_FILE_EXACT_CUT, MenuPlace::File, apptext::kExactCutItem, wxITEM_CHECK, {}},
    {ID_FILE_KEEP_COVER, MenuPlace::File, apptext::kKeepCoverItem, wxITEM_CHECK, {}},
    {ID_FILE_LEVEL, MenuPlace::File, apptext::kLevelItem, wxITEM_NORMAL, {{'L', kCtrl}}},
    {0, MenuPlace::File, nullptr, wxITEM_SEPARATOR, {}},
    {ID_FILE_FIND_SILENCE, MenuPlace::File, apptext::kFindSilenceItem, wxITEM_NORMAL, {}},
    {ID_FILE_SPLIT_TRACKS, MenuPlace::File, apptext::kSplitTracksItem, wxITEM_NORMAL, {{'T', kCtrl}}},
    {0, MenuPlace::File, nullptr, wxITEM_SEPARATOR, {}},
    {ID_APP_EXIT, MenuPlace::File, apptext::kExitItem, wxITEM_NORMAL, {{'Q', kCtrl}}},

    {ID_VIEW_ZOOM_IN, MenuPlace::View, apptext::kZoomInItem, wxITEM_NORMAL,
     {{'=', 0}, {'+', 0}, {WXK_NUMPAD_ADD, 0}}},
    {ID_VIEW_ZOOM_OUT, MenuPlace::View, apptext::kZoomOutItem, wxITEM_NORMAL,
     {{'-', 0}, {WXK_NUMPAD_SUBTRACT, 0}}},
    {ID_VIEW_SHOW_ALL, MenuPlace::View, apptext::kShowAllItem, wxITEM_NORMAL, {{'0', 0}, {WXK_NUMPAD0, 0}}},
    {ID_VIEW_ZOOM_SELECTION, MenuPlace::View, apptext::kZoomSelectionItem, wxITEM_NORMAL, {{'E', kCtrl}}},

    {ID_APP_ABOUT, MenuPlace::Help, apptext::kAboutItem, wxITEM_NORMAL, {{WXK_F1, 0}}},

    {ID_KEY_PLAY_STOP, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_SPACE, 0}}},
    {ID_KEY_PAUSE, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'P', 0}}},
    {ID_KEY_START_HERE, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'[', 0}}},
    {ID_KEY_END_HERE, MenuPlace::None, nullptr, wxITEM_NORMAL, {{']', 0}}},
    {ID_KEY_SWITCH_EDGE, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_TAB, 0}}},
    {ID_KEY_EDGE_FRAME_BACK, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_LEFT, 0}}},
    {ID_KEY_EDGE_FRAME_ON, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_RIGHT, 0}}},
    {ID_KEY_EDGE_SECOND_BACK, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_LEFT, kShift}}},
    {ID_KEY_EDGE_SECOND_ON, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_RIGHT, kShift}}},
    {ID_KEY_EDGE_TEN_BACK, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_LEFT, kCtrl}}},
    {ID_KEY_EDGE_TEN_ON, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_RIGHT, kCtrl}}},
    {ID_KEY_EDGE_HOME, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_HOME, 0}}},
    {ID_KEY_EDGE_END, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_END, 0}}},
    {ID_KEY_SELECT_ALL, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'A', kCtrl}}},
    {ID_KEY_UNDO, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'Z', kCtrl}}},
    {ID_KEY_REDO, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'Z', kCtrl | kShift}, {'Y', kCtrl}}},
    {ID_KEY_HEAR_START, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_F6, 0}}},
    {ID_KEY_HEAR_BEFORE_START, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_F6, kShift}}},
    {ID_KEY_HEAR_END, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_F7, 0}}},
    {ID_KEY_HEAR_AFTER_END, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_F7, kShift}}},
    {ID_KEY_EDIT_START, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'1', kCtrl}}},
    {ID_KEY_EDIT_END, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'2', kCtrl}}},
    {ID_KEY_ADD_MARK, MenuPlace::None, nullptr, wxITEM_NORMAL, {{'M', 0}}},
    {ID_KEY_DELETE_MARK, MenuPlace::None, nullptr, wxITEM_NORMAL, {{WXK_DELETE, 0}, {WXK_NUMPAD_DELETE, 0}}},
};
// clang-format on

int FindExact(int keyCode, int modifiers) {
  for (const CommandEntry& entry : kCommands) {
    for (const KeyChord& key : entry.keys) {
      if (key.keyCode == 0) break;
      if (key.keyCode == keyCode && key.modifiers == modifiers) return entry.id;
    }
  }
  return 0;
}

// A printable key other than a letter or a digit: Shift only chose it.
bool IsShiftedSymbol(int keyCode) {
  return keyCode > ' ' && keyCode < 127 && !std::isalnum(keyCode);
}

}  // namespace

const CommandEntry* CommandTable(size_t* count) {
  *count = std::size(kCommands);
  return kCommands;
}

int CommandForKey(int keyCode, int modifiers) {
  modifiers &= kKnownModifiers;
  const int id = FindExact(keyCode, modifiers);
  if (id != 0 || !(modifiers & kShift) || !IsShiftedSymbol(keyCode)) return id;
  return FindExact(keyCode, modifiers & ~kShift);
}

wxString MenuItemLabel(const CommandEntry& entry) {
  wxString label = Tr(entry.text);
  const KeyChord& key = entry.keys[0];
  if (key.keyCode != 0) label += "\t" + wxAcceleratorEntry(key.modifiers, key.keyCode).ToString();
  return label;
}
