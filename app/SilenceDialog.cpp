#include "app/SilenceDialog.h"

#include <wx/spinctrl.h>

#include "app/DialogLayout.h"
#include "app/Texts.h"

namespace {

constexpr double kThresholdStepDb = 1;
constexpr double kLengthStepSeconds = 0.1;

}  // namespace

CSilenceDialog::CSilenceDialog(wxWindow* parent, const SilenceOptions& options)
    : CFieldsDialog(parent, apptext::kSilenceTitle) {
  const wxSize size = FieldSize();
  m_pThreshold = new wxSpinCtrlDouble(this, ID_THRESHOLD, wxString(), wxDefaultPosition, size, wxSP_ARROW_KEYS,
                                      kLowestThresholdDb, kHighestThresholdDb, options.thresholdDb, kThresholdStepDb);
  m_pThreshold->SetDigits(1);
  m_pMinLength = new wxSpinCtrlDouble(this, ID_MIN_LENGTH, wxString(), wxDefaultPosition, size, wxSP_ARROW_KEYS,
                                      kShortestSeconds, kLongestSeconds, options.minSeconds, kLengthStepSeconds);
  m_pMinLength->SetDigits(1);
  AddField(apptext::kSilenceThresholdLabel, m_pThreshold);
  AddField(apptext::kSilenceLengthLabel, m_pMinLength);
  FinishLayout();
}

SilenceOptions CSilenceDialog::GetOptions() const {
  SilenceOptions options;
  options.thresholdDb = m_pThreshold->GetValue();
  options.minSeconds = m_pMinLength->GetValue();
  return options;
}
