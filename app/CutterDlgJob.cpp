// The main window's background job (BackgroundJob.h): the busy state with
// the progress bar and the cancel button while a silence search or a split
// runs, and its end.
#include <wx/gauge.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "app/CutterDlg.h"

bool CCutterDlg::StartJob(int64_t range, std::function<void(BackgroundJob&)> work, std::function<void()> done) {
  StopPlayback();
  auto end = [this, done = std::move(done)] {
    EndJob();
    done();
  };
  if (!m_job.Start(this, std::move(work), std::move(end))) return false;
  SetUiState(STATE_BUSY);
  m_pProgress->SetRange(static_cast<int>(std::clamp<int64_t>(range, 1, INT_MAX)));
  m_timerProgress.Start(kProgressPeriodMs);
  return true;
}

void CCutterDlg::EndJob() {
  if (m_bWindowReady) m_timerProgress.Stop();
  if (m_nWorkState == STATE_BUSY) SetUiState(STATE_READY);
  FocusWaveform();
}

void CCutterDlg::StopJob() {
  if (!m_job.IsRunning()) return;
  m_job.Stop();
  EndJob();
}
