#include "app/AboutDlg.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/iconbndl.h>
#include <wx/image.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "app/AppIcons.h"
#include "app/DialogLayout.h"
#include "app/HelpPage.h"
#include "platform/ResourceFiles.h"
#include "platform/ResourceIds.h"
#include "platform/Version.h"
#include "platform/wx/Translation.h"

namespace {

// Positions of the unnamed controls in template 107.
enum AboutIndex {
  kPicture = 0,
  kGroup = 1,
  kText = 2,
  kLine = 3,
  kHelpButton = 4,
  kCloseButton = 5,
  kVersion = 6,
};

}  // namespace

CAboutDlg::CAboutDlg(wxWindow* parent) {
  const DialogTemplate& layout = AboutDialogTemplate();
  Create(parent, wxID_ANY, Tr(layout.caption), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  SetFont(DialogFont(layout));
  SetIcons(AppIconBundle());
  SetClientSize(DialogSizeToPixels(this, layout));

  auto rectOf = [&](int index) { return DialogRectToPixels(this, DialogControlAt(layout, index)); };

  const wxRect picture = rectOf(kPicture);
  wxBitmap bitmap;
  const std::string pictureFile = FindResourceFileById(IDB_ABOUT_PICTURE);
  if (!pictureFile.empty()) bitmap.LoadFile(wxString::FromUTF8(pictureFile), wxBITMAP_TYPE_BMP);
  new wxStaticBitmap(this, IDC_ABOUT_PICTURE, bitmap.IsOk() ? bitmap : wxBitmap(1, 1), picture.GetPosition(),
                     picture.GetSize(), wxBORDER_SUNKEN);

  const wxRect group = rectOf(kGroup);
  new wxStaticBox(this, wxID_ANY, wxString(), group.GetPosition(), group.GetSize());
  const wxRect text = rectOf(kText);
  auto* label = new wxStaticText(this, wxID_ANY, Tr(DialogControlAt(layout, kText).text), text.GetPosition(),
                                 text.GetSize(), wxST_NO_AUTORESIZE);
  label->Wrap(text.GetWidth());
  const wxRect line = rectOf(kLine);
  new wxStaticLine(this, wxID_ANY, line.GetPosition(), wxSize(line.GetWidth(), 2), wxLI_HORIZONTAL);

  const wxRect version = rectOf(kVersion);
  new wxStaticText(this, IDC_ABOUT_VERSION,
                   Tr(DialogControlAt(layout, kVersion).text) + " " + wxString::FromUTF8(kPadocutVersion),
                   version.GetPosition(), version.GetSize(), wxST_NO_AUTORESIZE);

  const wxRect help = rectOf(kHelpButton);
  auto* helpButton = new wxButton(this, IDC_HELP_PAGE, Tr(DialogControlAt(layout, kHelpButton).text),
                                  help.GetPosition(), help.GetSize());
  const wxRect close = rectOf(kCloseButton);
  auto* closeButton = new wxButton(this, wxID_OK, Tr(DialogControlAt(layout, kCloseButton).text),
                                   close.GetPosition(), close.GetSize());
  closeButton->SetDefault();
  closeButton->SetFocus();
  SetEscapeId(wxID_OK);
  helpButton->Bind(wxEVT_BUTTON, &CAboutDlg::OnHelpPage, this);
  CentreOnScreen();
}

void CAboutDlg::OnHelpPage(wxCommandEvent& /*event*/) { OpenUrlInBrowser(HelpPageUrl()); }
