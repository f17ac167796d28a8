#include "app/SilenceDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "app/DialogLayout.h"
#include "app/Texts.h"
#include "platform/UserLanguage.h"
#include "platform/wx/Translation.h"
#include "ui/msgbox/MessageDlgButtons.h"

namespace {

constexpr int kBorder = 8;
constexpr int kSpinWidth = 110;
constexpr double kThresholdStepDb = 1;
constexpr double kLengthStepSeconds = 0.1;

}  // namespace

CSilenceDialog::CSilenceDialog(wxWindow* parent, const SilenceOptions& options)
    : wxDialog(parent, wxID_ANY, Tr(apptext::kSilenceTitle)) {
  if (parent) SetFont(parent->GetFont());
  auto* grid = new wxFlexGridSizer(2, kBorder, kBorder);
  auto add = [&](const char* label, wxWindow* control) {
    grid->Add(new wxStaticText(this, wxID_ANY, Tr(label)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control, 0, wxEXPAND);
  };
  const wxSize spinSize(FromDIP(kSpinWidth), -1);
  m_pThreshold = new wxSpinCtrlDouble(this, ID_THRESHOLD, wxString(), wxDefaultPosition, spinSize, wxSP_ARROW_KEYS,
                                      kLowestThresholdDb, kHighestThresholdDb, options.thresholdDb, kThresholdStepDb);
  m_pThreshold->SetDigits(1);
  m_pMinLength = new wxSpinCtrlDouble(this, ID_MIN_LENGTH, wxString(), wxDefaultPosition, spinSize, wxSP_ARROW_KEYS,
                                      kShortestSeconds, kLongestSeconds, options.minSeconds, kLengthStepSeconds);
  m_pMinLength->SetDigits(1);
  add(apptext::kSilenceThresholdLabel, m_pThreshold);
  add(apptext::kSilenceLengthLabel, m_pMinLength);

  auto* buttons = new wxStdDialogButtonSizer;
  buttons->AddButton(new wxButton(this, wxID_OK, MessageDlgButtonText(GetUserLanguage(), kTextOk)));
  buttons->AddButton(new wxButton(this, wxID_CANCEL, MessageDlgButtonText(GetUserLanguage(), kTextCancel)));
  buttons->Realize();
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(grid, 0, wxALL | wxEXPAND, kBorder * 2);
  column->Add(buttons, 0, wxALL | wxALIGN_RIGHT, kBorder);
  SetSizerAndFit(column);
  CentreOnParent();
}

SilenceOptions CSilenceDialog::GetOptions() const {
  SilenceOptions options;
  options.thresholdDb = m_pThreshold->GetValue();
  options.minSeconds = m_pMinLength->GetValue();
  return options;
}
