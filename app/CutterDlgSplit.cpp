// "트랙으로 나누기": the file is split at the marks (as padocut-cli split
// --at does at the same times), one track per stretch between them, with
// the tracks' names and tags by the same rules and the file menu's cut
// options. The tracks are written in the background; Cancel stops after
// the track being written, and the tracks finished so far stay.
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/FileDialogs.h"
#include "app/Texts.h"
#include "mp3/PathParts.h"
#include "platform/wx/Translation.h"
#include "split/TrackSplitter.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

int Tell(wxWindow* owner, const wxString& text, int type = MB_OK) {
  return ShowMessageDlg(owner, text, Tr(apptext::kCaption), type);
}

// The failure text, the file it concerns and the reason on the lines below.
wxString Failure(const char* text, const std::string& file, const std::string& reason) {
  wxString message = Tr(text);
  if (!file.empty()) message += "\n" + PathToWx(file);
  if (!reason.empty()) message += "\n" + wxString::FromUTF8(reason);
  return message;
}

}  // namespace

void CCutterDlg::OnSplitTracks() {
  if (m_nWorkState != STATE_READY || m_pSpectrum->GetMarks().empty()) return;
  StopPlayback();
  const std::vector<int64_t> points(m_pSpectrum->GetMarks().begin(), m_pSpectrum->GetMarks().end());
  std::string folder;
  if (!AskSplitFolder(&folder)) return;
  auto splitter = std::make_shared<TrackSplitter>();
  SplitProblem problem;
  if (!splitter->Open(m_strSourcePath, &problem)) {
    Tell(this, Failure(apptext::kSplitFailed, m_strSourcePath, problem.reason));
    return;
  }
  if (auto why = PointsProblem(points, splitter->DurationMs())) {
    Tell(this, Failure(apptext::kSplitFailed, std::string(), *why));
    return;
  }
  SplitSettings settings;
  settings.options = WithLevel(MenuCutOptions());
  auto jobs = std::make_shared<std::vector<TrackJob>>();
  if (!PrepareSplit(*splitter, PlanAtPoints(points), folder, &settings, jobs.get())) return;
  auto outcome = std::make_shared<SplitOutcome>();
  auto work = [splitter, jobs, outcome, options = settings.options](BackgroundJob& job) {
    *outcome = splitter->WriteAll(*jobs, options, [&job](size_t index, const CutReport&) {
      job.SetProgress(static_cast<int64_t>(index) + 1);
      return !job.IsCancelled();
    });
  };
  StartJob(static_cast<int64_t>(jobs->size()), work, [this, jobs, outcome] { EndSplit(*jobs, *outcome); });
}

bool CCutterDlg::AskSplitFolder(std::string* folder) {
  std::string start = GetFolderPart(m_strSourcePath);
  if (!IsExistingFolder(start)) start = m_strDefaultFolder;
  if (!m_pFileDialogs->AskFolder(this, apptext::kSplitFolderTitle, start, folder)) return false;
  // A folder named that is not there yet is made, as the command line does.
  std::error_code error;
  std::filesystem::create_directories(*folder, error);
  return true;
}

bool CCutterDlg::PrepareSplit(TrackSplitter& splitter, const SplitPlan& plan, const std::string& folder,
                              SplitSettings* settings, std::vector<TrackJob>* jobs) {
  SplitProblem problem;
  if (splitter.Prepare(plan, SplitDisc(), *settings, folder, jobs, &problem)) return true;
  if (problem.kind == SplitProblemKind::Exists) {
    // Never replaced without a Yes; a Yes replaces every track file there.
    if (Tell(this, PathToWx(problem.file) + "\n" + Tr(apptext::kTracksExist), MB_YESNO) != IDYES) return false;
    settings->overwrite = true;
    if (splitter.Prepare(plan, SplitDisc(), *settings, folder, jobs, &problem)) return true;
  }
  Tell(this, Failure(apptext::kSplitFailed, problem.file, problem.reason));
  return false;
}

void CCutterDlg::EndSplit(const std::vector<TrackJob>& jobs, const SplitOutcome& outcome) {
  const wxString count = wxString::Format(" %d / %zu", outcome.written, jobs.size());
  if (outcome.failedTrack > 0) {
    const TrackJob& failed = jobs[static_cast<size_t>(outcome.failedTrack - 1)];
    const std::string& file = outcome.failure.errorInSource ? m_strSourcePath : failed.path;
    Tell(this, Failure(apptext::kSplitFailed, file, outcome.failure.error) + "\n\n" + Tr(apptext::kTracksWritten) +
                   count);
    return;
  }
  wxString text = Tr(apptext::kTracksWritten) + count;
  if (outcome.cancelled) text = Tr(apptext::kSplitCancelled) + "\n" + text;
  Tell(this, text);
}
