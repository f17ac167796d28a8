#include "app/DialogLayout.h"

#include <wx/fontenum.h>
#include <wx/window.h>

#include <algorithm>

#include "app/Texts.h"

namespace {

const char* const kMainFaces[] = {"굴림", "Gulim", "NanumGothic", nullptr};
const char* const kAboutFaces[] = {"돋움", "Dotum", "NanumGothic", nullptr};

// Template 102. The hidden buttons 1005, 1013 and 1006 keep their places
// for the record; the window never creates them.
const DialogControl kMainControls[] = {
    {IDC_FILE_FRAME, "", 38, 0, 336, 21},
    {IDC_FILE_CAPTION, apptext::kFileCaption, 6, 8, 30, 8},
    {IDC_FILE_NAME, "", 44, 9, 324, 12},
    {IDC_ABOUT, "", 382, 4, 19, 17},
    {IDC_CLOSE_FILE, apptext::kCloseFileButton, 355, 20, 50, 16},
    {IDC_OPEN_FILE, apptext::kOpenFileButton, 355, 30, 50, 16},
    {IDC_ANALYSE, apptext::kAnalyseButton, 355, 40, 50, 16},
    {IDC_SPECTRUM, "Spectrum Control", 5, 26, 396, 126},
    {IDC_LOWER_FRAME, "", 107, 151, 237, 26},
    {IDC_PLAY, "", 5, 155, 19, 21},
    {IDC_PAUSE, "", 26, 155, 19, 21},
    {IDC_STOP, "", 47, 155, 19, 21},
    {IDC_PROGRESS, "", 5, 158, 338, 16},
    {IDC_MOUSE_CAPTION, apptext::kMouseCaption, 111, 163, 47, 8},
    {IDC_MOUSE_TIME, "88:88:88 8888", 159, 163, 45, 8},
    {IDC_LINE_START, "", 209, 159, 1, 15},
    {IDC_START_CAPTION, apptext::kStartCaption, 216, 163, 15, 8},
    {IDC_START_TIME, "88:88:88 8888", 234, 163, 45, 8},
    {IDC_LINE_END, "", 281, 159, 1, 15},
    {IDC_END_CAPTION, apptext::kEndCaption, 286, 163, 8, 8},
    {IDC_END_TIME, "88:88:88 8888", 298, 163, 43, 8},
    {IDC_CUT, apptext::kCutButton, 351, 155, 50, 21},
    {IDC_CANCEL, apptext::kCancelButton, 351, 155, 50, 21},
};

// Template 107, in its order: picture, group box, text, line, two buttons;
// then the version.
const DialogControl kAboutControls[] = {
    {IDC_ABOUT_PICTURE, "", 5, 5, 148, 60},
    {0, "", 5, 65, 182, 65},
    {0, apptext::kAboutText, 10, 75, 170, 15},
    {0, "", 11, 96, 173, 1},
    {IDC_HELP_PAGE, apptext::kHelpPageButton, 5, 136, 55, 15},
    {wxID_OK, apptext::kCloseButton, 136, 136, 50, 15},
    // Below the line: the program's version.
    {0, apptext::kVersionLabel, 10, 103, 170, 8},
};

const DialogTemplate kMainDialog = {
    apptext::kCaption, kMainFaces, 9, 407, 181, kMainControls,
    static_cast<int>(sizeof kMainControls / sizeof kMainControls[0])};

const DialogTemplate kAboutDialog = {
    apptext::kCaption, kAboutFaces, 9, 191, 157, kAboutControls,
    static_cast<int>(sizeof kAboutControls / sizeof kAboutControls[0])};

}  // namespace

const DialogTemplate& MainDialogTemplate() { return kMainDialog; }
const DialogTemplate& AboutDialogTemplate() { return kAboutDialog; }

const DialogControl* FindDialogControl(const DialogTemplate& dialog, int id) {
  for (int i = 0; i < dialog.controlCount; ++i) {
    if (dialog.controls[i].id == id) return &dialog.controls[i];
  }
  return nullptr;
}

const DialogControl& DialogControlAt(const DialogTemplate& dialog, int index) { return dialog.controls[index]; }

wxFont DialogFont(const DialogTemplate& dialog) {
  for (const char* const* face = dialog.faces; *face != nullptr; ++face) {
    if (wxFontEnumerator::IsValidFacename(Utf8(*face))) {
      return wxFont(wxFontInfo(dialog.pointSize).FaceName(Utf8(*face)));
    }
  }
  return wxFont(wxFontInfo(dialog.pointSize));
}

wxRect DialogRectToPixels(const wxWindow* window, const DialogControl& control) {
  // Both corners are converted, so neighbouring controls share their edges.
  const wxPoint topLeft = window->ConvertDialogToPixels(wxPoint(control.x, control.y));
  const wxPoint bottomRight =
      window->ConvertDialogToPixels(wxPoint(control.x + control.width, control.y + control.height));
  return wxRect(topLeft, wxSize(std::max(bottomRight.x - topLeft.x, 1), std::max(bottomRight.y - topLeft.y, 1)));
}

wxRect DialogRectToPixels(const wxWindow* window, const DialogTemplate& dialog, int id) {
  const DialogControl* control = FindDialogControl(dialog, id);
  return control ? DialogRectToPixels(window, *control) : wxRect();
}

wxSize DialogSizeToPixels(const wxWindow* window, const DialogTemplate& dialog) {
  return window->ConvertDialogToPixels(wxSize(dialog.width, dialog.height));
}
