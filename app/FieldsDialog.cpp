#include "app/FieldsDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/UserLanguage.h"
#include "platform/wx/Translation.h"
#include "ui/msgbox/MessageDlgButtons.h"

namespace {

constexpr int kBorder = 8;
constexpr int kFieldWidth = 110;

}  // namespace

CFieldsDialog::CFieldsDialog(wxWindow* parent, const char* title) : wxDialog(parent, wxID_ANY, Tr(title)) {
  if (parent) SetFont(parent->GetFont());
  m_pGrid = new wxFlexGridSizer(2, kBorder, kBorder);
}

wxSize CFieldsDialog::FieldSize() const { return wxSize(FromDIP(kFieldWidth), -1); }

void CFieldsDialog::AddField(const char* label, wxWindow* control) {
  m_pGrid->Add(new wxStaticText(this, wxID_ANY, Tr(label)), 0, wxALIGN_CENTER_VERTICAL);
  m_pGrid->Add(control, 0, wxEXPAND);
}

void CFieldsDialog::FinishLayout() {
  auto* buttons = new wxStdDialogButtonSizer;
  buttons->AddButton(new wxButton(this, wxID_OK, MessageDlgButtonText(GetUserLanguage(), kTextOk)));
  buttons->AddButton(new wxButton(this, wxID_CANCEL, MessageDlgButtonText(GetUserLanguage(), kTextCancel)));
  buttons->Realize();
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(m_pGrid, 0, wxALL | wxEXPAND, kBorder * 2);
  column->Add(buttons, 0, wxALL | wxALIGN_RIGHT, kBorder);
  SetSizerAndFit(column);
  CentreOnParent();
}
