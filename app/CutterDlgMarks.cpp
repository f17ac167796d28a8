// The main window's split marks: M and Delete, and "무음 구간 찾기", which
// searches the file for silences in the background (the rule padocut-cli
// split --silence uses) and puts a mark where its plan splits each one.
#include <memory>
#include <string>
#include <vector>

#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/SilenceDialog.h"
#include "app/Texts.h"
#include "platform/wx/Translation.h"
#include "split/SplitPlan.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

void CCutterDlg::AddMarkHere() {
  const int time = TimeHere();
  if (time >= 0) m_pSpectrum->AddMark(time);
}

void CCutterDlg::DeleteMarkNearPointer() {
  const SpectrumModel& model = m_pSpectrum->GetModel();
  if (model.GetMouseX() >= 0) m_pSpectrum->RemoveMarkNearest(model.XToTime(model.GetMouseX()));
}

void CCutterDlg::OnFindSilences() {
  if (m_nWorkState != STATE_READY) return;
  StopPlayback();
  CSilenceDialog dialog(this, m_silence);
  if (dialog.ShowModal() != wxID_OK) return;
  m_silence = dialog.GetOptions();
  // The marks go where a split of this kind (exact or by frames) puts them.
  const bool exact = IsExactCutChecked();
  auto result = std::make_shared<SilenceResult>();
  auto work = [result, path = m_strSourcePath, options = m_silence](BackgroundJob& job) {
    *result = FindSilences(path, options, [&job](int64_t decodedMs) {
      job.SetProgress(decodedMs);
      return !job.IsCancelled();
    });
  };
  StartJob(m_pSpectrum->GetModel().GetDuration(), work, [this, result, exact] { EndSilenceSearch(*result, exact); });
}

void CCutterDlg::EndSilenceSearch(const SilenceResult& result, bool exact) {
  auto tell = [this](const wxString& text) { ShowMessageDlg(this, text, Tr(apptext::kCaption), MB_OK); };
  if (!result.ok) {
    if (!m_job.IsCancelled()) tell(Tr(apptext::kSilenceFailed) + "\n" + wxString::FromUTF8(result.error));
    return;
  }
  if (result.silences.empty()) {
    tell(Tr(apptext::kNoSilenceFound));
    return;
  }
  const SplitPlan plan = PlanAtSilences(result, exact, 0);
  std::vector<int> marks;
  for (size_t i = 1; i < plan.size(); ++i) marks.push_back(static_cast<int>(plan[i].startMs));
  m_pSpectrum->AddMarks(marks);
}
