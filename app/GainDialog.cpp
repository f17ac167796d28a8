#include "app/GainDialog.h"

#include <wx/spinctrl.h>

#include "app/DialogLayout.h"
#include "app/Texts.h"

namespace {

constexpr int kFadeIncrementMs = 100;

}  // namespace

CGainDialog::CGainDialog(wxWindow* parent, const LevelSettings& settings)
    : CFieldsDialog(parent, apptext::kLevelTitle) {
  const wxSize size = FieldSize();
  m_pGain = new wxSpinCtrlDouble(this, ID_GAIN, wxString(), wxDefaultPosition, size, wxSP_ARROW_KEYS, -kLargestGainDb,
                                 kLargestGainDb, settings.gainDb, kGainStepDb);
  m_pGain->SetDigits(1);
  m_pFadeIn = new wxSpinCtrl(this, ID_FADE_IN, wxString(), wxDefaultPosition, size, wxSP_ARROW_KEYS, 0,
                             kLongestFadeMs, settings.fadeInMs);
  m_pFadeOut = new wxSpinCtrl(this, ID_FADE_OUT, wxString(), wxDefaultPosition, size, wxSP_ARROW_KEYS, 0,
                              kLongestFadeMs, settings.fadeOutMs);
  m_pFadeIn->SetIncrement(kFadeIncrementMs);
  m_pFadeOut->SetIncrement(kFadeIncrementMs);
  AddField(apptext::kGainLabel, m_pGain);
  AddField(apptext::kFadeInLabel, m_pFadeIn);
  AddField(apptext::kFadeOutLabel, m_pFadeOut);
  FinishLayout();
}

LevelSettings CGainDialog::GetSettings() const {
  LevelSettings settings;
  settings.gainDb = GainStepsOf(m_pGain->GetValue()) * kGainStepDb;
  settings.fadeInMs = m_pFadeIn->GetValue();
  settings.fadeOutMs = m_pFadeOut->GetValue();
  return settings;
}
