// The layout of the program's two windows in dialog units: every control's
// rectangle (x, y, width, height) and its text (from app/Texts.h). Dialog
// units scale with the window's font (a horizontal unit is a quarter of the
// font's average letter width, a vertical one an eighth of its height), so
// the windows keep their proportions whatever face ends up being used.
//
// Main window (template 102): 407 x 181 units, the program's caption, font
// "굴림" 9 pt (NanumGothic where that face is missing), menu 128.
// About box (template 107): 191 x 157 units, font "돋움" 9 pt.
#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxWindow;

// Control ids of the main window (template 102) and its menu (128).
enum CutterControlId {
  IDC_PLAY = 1000,
  IDC_PAUSE = 1001,
  IDC_STOP = 1002,
  IDC_FILE_NAME = 1003,
  IDC_CUT = 1004,
  IDC_CLOSE_FILE = 1005,  // hidden button: its command closes the file
  IDC_ANALYSE = 1006,     // hidden button: its command is posted to start an analysis
  IDC_PROGRESS = 1007,
  IDC_END_CAPTION = 1010,
  IDC_START_CAPTION = 1011,
  IDC_START_TIME = 1012,
  IDC_OPEN_FILE = 1013,   // hidden button: its command opens a file
  IDC_END_TIME = 1014,
  IDC_FILE_CAPTION = 1015,
  IDC_MOUSE_CAPTION = 1016,
  IDC_MOUSE_TIME = 1017,
  IDC_LOWER_FRAME = 1018,
  IDC_LINE_END = 1019,
  IDC_ABOUT = 1020,
  IDC_SPECTRUM = 1021,
  IDC_LINE_START = 1023,
  IDC_FILE_FRAME = 1024,
  IDC_CANCEL = 1025,
  // Not in the template: the field a start or end time is typed into, over
  // the time label it edits.
  IDC_TIME_EDIT = 1101,

  // Menu 128's commands 32771..32774, moved below 0x7fff (the toolkit's
  // limit for menu ids) by taking 10000 off.
  ID_FILE_OPEN = 22771,
  ID_FILE_CLOSE = 22772,
  ID_APP_EXIT = 22773,
  ID_APP_ABOUT = 22774,
  // The sample-exact cut switch of the file menu.
  ID_FILE_EXACT_CUT = 22775,
  // The file menu's level dialog (gain and fades).
  ID_FILE_LEVEL = 22776,
};

// Control ids of the About box (template 107).
enum AboutControlId {
  IDC_ABOUT_PICTURE = 1035,
  IDC_HELP_PAGE = 133,
  IDC_ABOUT_VERSION = 134,  // the version line, below the template's controls
};

struct DialogControl {
  int id;            // control id; 0 for the unnamed controls of the About box
  const char* text;  // UTF-8, "" for none
  int x, y, width, height;
};

struct DialogTemplate {
  const char* caption;      // UTF-8
  const char* const* faces;  // font faces, first choice first, null-terminated
  int pointSize;
  int width, height;        // client size in dialog units
  const DialogControl* controls;
  int controlCount;
};

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();

// The entry of `id` in a template (the first one for a repeated id), or null.
const DialogControl* FindDialogControl(const DialogTemplate& dialog, int id);
// The `index`-th control of a template (for the About box's unnamed ones).
const DialogControl& DialogControlAt(const DialogTemplate& dialog, int index);

// The template's font: its first face that is installed, at its size.
wxFont DialogFont(const DialogTemplate& dialog);

// A control's rectangle in pixels for `window` (its top-level window's font
// sets the units); an empty rectangle for an unknown id.
wxRect DialogRectToPixels(const wxWindow* window, const DialogControl& control);
wxRect DialogRectToPixels(const wxWindow* window, const DialogTemplate& dialog, int id);
// The template's client size in pixels for `window`.
wxSize DialogSizeToPixels(const wxWindow* window, const DialogTemplate& dialog);
// wx text of a UTF-8 literal that is not translated (a face name); the
// window's texts go through Tr (platform/wx/Translation.h).
inline wxString Utf8(const char* text) { return wxString::FromUTF8(text); }
