// The main window's commands and notifications: open, analyse, close, play,
// pause, stop, the two timers, the worker's end and errors, the waveform
// view's times, and the PCM hand-off from the worker.
#include <wx/gauge.h>
#include <wx/stattext.h>

#include <algorithm>
#include <chrono>

#include "app/AboutDlg.h"
#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/FileDialogs.h"
#include "app/Texts.h"
#include "mp3/Mp3Reader.h"
#include "mp3/PathParts.h"
#include "pipeline/ArwMan.h"
#include "pipeline/AudioWriter.h"
#include "pipeline/LevelReader.h"
#include "pipeline/PluginWriter.h"
#include "pipeline/Texts.h"
#include "platform/FormatTime.h"
#include "platform/wx/Translation.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

// How long the worker waits for m_csPcm before it looks again whether a
// stop has closed the hand-off.
constexpr std::chrono::milliseconds kPcmLockPoll{5};

int Ask(wxWindow* owner, const char* text, int type) {
  return ShowMessageDlg(owner, Tr(text), Tr(apptext::kCaption), type);
}

ArwTexts TextsFor(const std::string& path) {
  ArwTexts texts;
  texts[0] = path;
  return texts;
}

}  // namespace

bool CCutterDlg::ConfirmStopWork() {
  m_bPausedBeforeQuestion = m_pArwMan && m_pArwMan->IsPaused();
  switch (m_nWorkState) {
    case STATE_ANALYSING:
      if (m_pArwMan) m_pArwMan->Pause();
      if (Ask(this, apptext::kStopWork, MB_YESNO) != IDYES) {
        ResumeAfterNo();
        return false;
      }
      return true;  // the worker stays paused; the caller stops it
    case STATE_READY:
      if (m_pArwMan) m_pArwMan->Pause();
      return true;
    case STATE_BUSY:
      if (Ask(this, apptext::kStopWork, MB_YESNO) != IDYES) return false;
      StopJob();  // the tracks written so far stay
      return true;
    default:
      return true;
  }
}

void CCutterDlg::ResumeAfterNo() {
  // A playback the user had paused before the question stays paused.
  if (m_pArwMan && !m_bPausedBeforeQuestion) m_pArwMan->Resume();
}

bool CCutterDlg::OnOpenFile() {
  if (!ConfirmStopWork()) return false;
  if (m_nWorkState == STATE_READY && Ask(this, apptext::kCloseCurrent, MB_YESNO) != IDYES) {
    ResumeAfterNo();
    return false;
  }
  CloseFile();
  if (m_strLastFolder.empty()) m_strLastFolder = m_strDefaultFolder;
  std::string path;
  if (!m_pFileDialogs->AskOpenPath(this, m_strLastFolder, &path)) return false;
  m_strSourcePath = path;
  m_strLastFolder = GetFolderPart(path);
  ShowSourcePath();
  StopAnalysis();
  StartAnalysis();
  return true;
}

void CCutterDlg::OnCloseFile() {
  if (ConfirmStopWork()) CloseFile();
}

void CCutterDlg::CloseFile() {
  StopJob();
  if (m_nWorkState == STATE_ANALYSING) {
    StopAnalysis();
  } else if (m_nWorkState == STATE_READY) {
    StopPlayback();
  }
  m_strSourcePath.clear();
  m_strDestPath.clear();
  if (m_pSpectrum) m_pSpectrum->Reset();
  UpdateLevelSource();
  SetUiState(STATE_NO_FILE);
  ShowSelectionTimes(0, 0);
  ShowMouseTime(0);
}

void CCutterDlg::SetSourcePath(const std::string& path) {
  m_strSourcePath = path;
  m_strLastFolder = GetFolderPart(path);
}

void CCutterDlg::OnAnalyse() {
  StopAnalysis();
  ShowSourcePath();
  StartAnalysis();
}

bool CCutterDlg::StartAnalysis() {
  if (!m_pArwMan) return false;
  m_pArwMan->Stop();
  std::unique_lock<std::timed_mutex> hold(m_csPcm);
  if (!m_pNullWriter->SetPcmCallback(DialogPcmCallback, this)) return false;
  CAudioReader* reader = m_pAnalysisReader ? m_pAnalysisReader.get() : m_pReader.get();
  if (!m_pArwMan->SetReader(reader) || !m_pArwMan->SetWriter(m_pNullWriter.get())) return false;
  m_pArwMan->SetTexts(TextsFor(m_strSourcePath));
  m_bPcmOpen.store(true);
  BeginRun();
  if (!m_pArwMan->Start()) {
    m_bPcmOpen.store(false);
    return false;  // the worker manager has posted the cause
  }
  SetUiState(STATE_ANALYSING);
  UpdateLevelSource();
  m_pProgress->SetRange(std::max(m_pArwMan->GetDuration(), 1));
  m_pArwMan->GetOutputFormat(&m_nSampleRate, &m_nBitsPerSample, &m_nChannels);
  m_pSpectrum->SetSourcePath(m_strSourcePath);
  m_pSpectrum->BeginAnalysis(m_pArwMan->GetDuration(), m_nSampleRate, m_nBitsPerSample, m_nChannels);
  m_pSpectrum->Redraw();
  m_timerProgress.Start(kProgressPeriodMs);
  return true;
}

void CCutterDlg::StopAnalysis() {
  // Closing the hand-off first lets a worker that waits for m_csPcm drop
  // its block and end, so the stop below never waits for a thread that is
  // waiting for this one.
  m_bPcmOpen.store(false);
  std::lock_guard<std::timed_mutex> hold(m_csPcm);
  if (m_bWindowReady) m_timerProgress.Stop();
  if (m_pArwMan) m_pArwMan->Stop();
}

int CCutterDlg::OnPcmData(const void* data, int length) {
  for (;;) {
    if (!m_bPcmOpen.load()) return length;
    if (m_csPcm.try_lock_for(kPcmLockPoll)) break;
  }
  std::lock_guard<std::timed_mutex> hold(m_csPcm, std::adopt_lock);
  if (m_bPcmOpen.load() && m_pSpectrum) m_pSpectrum->AddPcm(data, length);
  return length;
}

bool CCutterDlg::OnPlay() {
  if (!m_pArwMan) return false;
  const int start = m_pSpectrum->GetSelStart();
  const int end = m_pSpectrum->GetSelEnd();
  if (end >= 0 && start >= end) {
    Ask(this, pipelinetext::kSelectAgain, MB_OK);
    return false;
  }
  if (m_pArwMan->IsPaused()) {
    m_pArwMan->Resume();
    return true;
  }
  return StartPlayback(start, -1);
}

bool CCutterDlg::StartPlayback(int from, int until) {
  m_pArwMan->Stop();
  // The selection is heard as its cut with the gain and fades will sound
  // (also when prelistening around its edges).
  m_pLevelReader->SetLevel(WithLevel(CutOptions()), m_pSpectrum->GetSelStart(), m_pSpectrum->GetSelEnd());
  if (!m_pArwMan->SetReader(m_pLevelReader.get()) || !m_pArwMan->SetWriter(m_pPluginWriter.get())) return false;
  m_pArwMan->SetTexts(TextsFor(m_strSourcePath));
  m_pPluginWriter->SetVolume(kPlayVolumePercent);
  // The first seek happens inside Start, before the worker reads anything.
  m_pArwMan->SetStartTime(from);
  m_nPlayUntil = until;
  BeginRun();
  if (!m_pArwMan->Start()) return false;  // the worker manager has posted the cause
  m_pSpectrum->SetFollowing(true);  // a zoomed view pages along until scrolled by hand
  m_timerPlayback.Start(kPlaybackPeriodMs);
  return true;
}

bool CCutterDlg::OnPause() {
  if (!m_pArwMan || !m_pArwMan->IsRunning()) return false;
  if (m_pArwMan->IsPaused()) {
    m_pArwMan->Resume();
  } else {
    m_pArwMan->Pause();
  }
  return true;
}

void CCutterDlg::OnStop() { StopPlayback(); }

void CCutterDlg::StopPlayback() {
  if (m_bWindowReady) m_timerPlayback.Stop();
  if (m_pArwMan) {
    m_pArwMan->Stop();
    if (m_pSpectrum) m_pSpectrum->SetPlayPosition(-1);
  }
}

void CCutterDlg::UpdatePlayPosition() {
  if (!m_pArwMan) return;
  const int position = m_pArwMan->GetPosition();
  int end = m_nPlayUntil >= 0 ? m_nPlayUntil : m_pSpectrum->GetSelEnd();
  if (end < 0) {
    end = m_pArwMan->GetDuration();
    // Once the run has ended the reader is closed; the analysed length
    // still tells where the file ends.
    if (end <= 0) end = m_pSpectrum->GetModel().GetDuration();
  }
  if (position + kPlaybackPeriodMs >= end) StopPlayback();
  const bool running = m_pArwMan->IsRunning();
  m_pSpectrum->SetPlayPosition(running ? position : end);
  if (running) m_pSpectrum->FollowPlayPosition(position);
}

void CCutterDlg::OnTimer(int timerId) {
  if (timerId == TIMER_PROGRESS && m_nWorkState == STATE_BUSY) {
    m_pProgress->SetValue(static_cast<int>(std::clamp<int64_t>(m_job.Progress(), 0, m_pProgress->GetRange())));
  } else if (timerId == TIMER_PROGRESS) {
    if (m_pArwMan) m_pProgress->SetValue(std::clamp(m_pArwMan->GetPosition(), 0, m_pProgress->GetRange()));
  } else if (timerId == TIMER_PLAYBACK) {
    UpdatePlayPosition();
  }
}

int CCutterDlg::OnWorkerEnd() {
  if (m_nWorkState == STATE_ANALYSING) {
    StopAnalysis();
    m_pProgress->SetValue(m_pProgress->GetRange());
    SetUiState(STATE_READY);
    m_pSpectrum->EndAnalysis();
    m_pSpectrum->Redraw();
    ShowSelectionTimes(m_pSpectrum->GetSelStart(), m_pSpectrum->GetSelEnd());
    ShowMouseTime(0);
    FocusWaveform();
  } else if (m_nWorkState == STATE_READY) {
    StopPlayback();
  }
  return 0;
}

int CCutterDlg::OnWorkerError(int code) {
  const int state = m_nWorkState;
  StopAnalysis();
  if (state == STATE_READY) {
    // A failed playback (no audio device, a read error) leaves the analysed
    // file, its waveform and the selection usable: only the run ends.
    StopPlayback();
  } else {
    SetUiState(STATE_NO_FILE);
  }
  const char* text = ArwErrorText(code, state == STATE_READY);
  // A file that could not even be opened for its analysis arrives here
  // before the window left STATE_NO_FILE; the user is told all the same.
  const bool openFailed = state == STATE_NO_FILE && code == kArwErrorReaderOpen;
  if ((state == STATE_ANALYSING || state == STATE_READY || openFailed) && *text != '\0') {
    Ask(this, text, MB_OK);
  }
  return 0;
}

int CCutterDlg::OnSelectionTime(int start, int end) {
  ShowSelectionTimes(start, end);
  return 0;
}

int CCutterDlg::OnMouseTime(int time) {
  ShowMouseTime(time);
  return 0;
}

void CCutterDlg::ShowSelectionTimes(int start, int end) {
  if (!m_pStartTime || !m_pEndTime) return;
  m_pStartTime->SetLabel(FormatTime(start));
  m_pEndTime->SetLabel(FormatTime(end));
}

void CCutterDlg::ShowMouseTime(int time) {
  if (m_pMouseTime) m_pMouseTime->SetLabel(FormatTime(time));
}

void CCutterDlg::OnAbout() {
  CAboutDlg about(this);
  about.ShowModal();
}
