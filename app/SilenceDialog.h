// CSilenceDialog: the "무음 구간 찾기" dialog of the file menu. It asks for
// the level a silence stays below (dBFS) and how long it lasts at least
// (seconds), the two settings of the silence search (split/SilenceFinder.h).
// OK takes the values, Cancel and Escape keep the previous ones.
#pragma once

#include "app/FieldsDialog.h"
#include "split/SilenceFinder.h"

class wxSpinCtrlDouble;

class CSilenceDialog : public CFieldsDialog {
 public:
  // The control ids (for tests).
  enum { ID_THRESHOLD = 100, ID_MIN_LENGTH };
  // The search's own limits: below 0 dBFS down to -120, up to an hour.
  static constexpr double kLowestThresholdDb = -120;
  static constexpr double kHighestThresholdDb = -1;
  static constexpr double kShortestSeconds = 0.1;
  static constexpr double kLongestSeconds = 3600;

  CSilenceDialog(wxWindow* parent, const SilenceOptions& options);

  SilenceOptions GetOptions() const;

 private:
  wxSpinCtrlDouble* m_pThreshold = nullptr;
  wxSpinCtrlDouble* m_pMinLength = nullptr;
};
