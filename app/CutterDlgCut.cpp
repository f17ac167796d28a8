// The cut command: checks the selection, asks for the destination, saves
// the selected stretch with CutToFile, reports the outcome and offers to
// open the result. Runs on the user-interface thread from start to end.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <wx/menu.h>

#include "app/Commands.h"
#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/FileDialogs.h"
#include "app/Texts.h"
#include "mp3/CutToFile.h"
#include "mp3/PathParts.h"
#include "platform/wx/Translation.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

constexpr char kDefaultExtension[] = ".mp3";

int Tell(wxWindow* owner, const wxString& text, int type = MB_OK) {
  return ShowMessageDlg(owner, text, Tr(apptext::kCaption), type);
}

}  // namespace

void CCutterDlg::OnCut() {
  StopPlayback();
  int start = m_pSpectrum->GetSelStart();
  int end = m_pSpectrum->GetSelEnd();
  if (end <= 0) {
    Tell(this, Tr(apptext::kNoStretch));
    return;
  }
  if (std::abs(static_cast<long long>(start) - end) < kShortestCutMs) {
    Tell(this, Tr(apptext::kTooShort));
    return;
  }
  if (!AskSaveName()) return;

  StopPlayback();
  start = m_pSpectrum->GetSelStart();
  end = m_pSpectrum->GetSelEnd();
  CutReport report;
  if (!CutToFile(m_strSourcePath, m_strDestPath, start, end, &report, WithLevel(MenuCutOptions()))) {
    if (report.refusal == CutRefusal::WouldClip) {
      Tell(this, Tr(apptext::kGainWouldClip) + wxString::Format(" %+.1f dB", report.largestGainDb));
    } else {
      Tell(this, Tr(apptext::kCutFailed));
    }
    return;
  }
  if (IsSameFile(m_strDestPath, m_strSourcePath)) {
    // The loaded file was replaced by the cut: what the window shows is gone.
    Tell(this, Tr(apptext::kReopen));
  } else if (Tell(this, Tr(apptext::kOpenCut), MB_YESNO) != IDYES) {
    return;
  }
  const std::string cutPath = m_strDestPath;
  CloseFile();
  SetSourcePath(cutPath);
  PostCommand(wxEVT_BUTTON, IDC_ANALYSE);
}

bool CCutterDlg::AskSaveName() {
  std::string folder = GetFolderPart(m_strSourcePath);
  if (!IsExistingFolder(folder)) folder = m_strDefaultFolder;
  const std::string name = Tr(apptext::kCutNamePrefix).utf8_string() + GetFileTitlePart(m_strSourcePath);
  std::string path;
  if (!m_pFileDialogs->AskSavePath(this, folder, name, &path)) return false;
  if (GetFileExtPart(path).empty()) {
    path += kDefaultExtension;
    if (IsExistingFile(path) && Tell(this, PathToWx(path) + "\n" + Tr(apptext::kReplace), MB_YESNO) != IDYES) {
      return false;
    }
  }
  m_strDestPath = path;
  return true;
}

bool CCutterDlg::IsSameFile(const std::string& a, const std::string& b) const {
  if (a == b) return true;
  // Two spellings of one file (a link, "..", a relative name) are one file.
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

bool CCutterDlg::IsExactCutChecked() const { return IsMenuChecked(ID_FILE_EXACT_CUT); }

bool CCutterDlg::IsMenuChecked(int id) const {
  const wxMenuBar* bar = GetMenuBar();
  return bar && bar->FindItem(id) && bar->IsChecked(id);
}

// The file menu's switches, off at every start.
CutOptions CCutterDlg::MenuCutOptions() const {
  CutOptions options;
  options.exact = IsExactCutChecked();
  options.keepCover = IsMenuChecked(ID_FILE_KEEP_COVER);
  return options;
}
