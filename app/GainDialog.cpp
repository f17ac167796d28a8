#include "app/GainDialog.h"

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
constexpr int kFadeIncrementMs = 100;
constexpr int kSpinWidth = 110;

}  // namespace

CGainDialog::CGainDialog(wxWindow* parent, const LevelSettings& settings)
    : wxDialog(parent, wxID_ANY, Tr(apptext::kLevelTitle)) {
  if (parent) SetFont(parent->GetFont());
  auto* grid = new wxFlexGridSizer(2, kBorder, kBorder);
  auto add = [&](const char* label, wxWindow* control) {
    grid->Add(new wxStaticText(this, wxID_ANY, Tr(label)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control, 0, wxEXPAND);
  };
  const wxSize spinSize(FromDIP(kSpinWidth), -1);
  m_pGain = new wxSpinCtrlDouble(this, ID_GAIN, wxString(), wxDefaultPosition, spinSize, wxSP_ARROW_KEYS,
                                 -kLargestGainDb, kLargestGainDb, settings.gainDb, kGainStepDb);
  m_pGain->SetDigits(1);
  m_pFadeIn = new wxSpinCtrl(this, ID_FADE_IN, wxString(), wxDefaultPosition, spinSize, wxSP_ARROW_KEYS, 0,
                             kLongestFadeMs, settings.fadeInMs);
  m_pFadeOut = new wxSpinCtrl(this, ID_FADE_OUT, wxString(), wxDefaultPosition, spinSize, wxSP_ARROW_KEYS, 0,
                              kLongestFadeMs, settings.fadeOutMs);
  m_pFadeIn->SetIncrement(kFadeIncrementMs);
  m_pFadeOut->SetIncrement(kFadeIncrementMs);
  add(apptext::kGainLabel, m_pGain);
  add(apptext::kFadeInLabel, m_pFadeIn);
  add(apptext::kFadeOutLabel, m_pFadeOut);

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

LevelSettings CGainDialog::GetSettings() const {
  LevelSettings settings;
  settings.gainDb = GainStepsOf(m_pGain->GetValue()) * kGainStepDb;
  settings.fadeInMs = m_pFadeIn->GetValue();
  settings.fadeOutMs = m_pFadeOut->GetValue();
  return settings;
}
