// CAboutDlg: the About box. It tells what the program is, shows the About
// picture, and its "도움말 페이지" button opens the help page in the user's
// browser (HelpPage.h) while the box stays open. "닫기", Escape and the
// close box end it. Laid out from template 107 (DialogLayout.h).
#pragma once

#include <wx/dialog.h>

class wxCommandEvent;

class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent = nullptr);

  // The help page button: opens the page; the result is ignored.
  void OnHelpPage(wxCommandEvent& event);
};
