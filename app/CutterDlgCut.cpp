// The cut command: checks the selection, asks for the destination, saves
// the selected stretch with CutToFile, reports the outcome and offers to
// open the result. Runs on the user-interface thread from start to end.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <wx/menu.h>

#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/FileDialogs.h"
#include "mp3/CutToFile.h"
#include "mp3/PathParts.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

constexpr char kCaption[] = "파도오디오 자르개";
constexpr char kNoStretchText[] = "잘라내기할 구간을 먼저 설정하여주십시오.";
constexpr char kTooShortText[] = "잘라내기할 구간을 1초이상으로 하십시오.";
constexpr char kCutFailedText[] = "잘라내기에 실패하였습니다.";
constexpr char kReopenText[] = "파일을 다시 열겠습니다.";
constexpr char kOpenCutText[] = "잘라낸 파일을 여시겠습니까?";
// Asked when the ".mp3" the program adds names a file that already exists
// (the dialog asked about the name without it).
constexpr char kReplaceText[] = "같은 이름의 파일이 이미 있습니다.\n바꾸시겠습니까?";
constexpr char kDefaultNamePrefix[] = "잘라낸파일_";
constexpr char kDefaultExtension[] = ".mp3";

int Tell(wxWindow* owner, const wxString& text, int type = MB_OK) {
  return ShowMessageDlg(owner, text, Utf8(kCaption), type);
}

}  // namespace

void CCutterDlg::OnCut() {
  StopPlayback();
  int start = m_pSpectrum->GetSelStart();
  int end = m_pSpectrum->GetSelEnd();
  if (end <= 0) {
    Tell(this, Utf8(kNoStretchText));
    return;
  }
  if (std::abs(static_cast<long long>(start) - end) < kShortestCutMs) {
    Tell(this, Utf8(kTooShortText));
    return;
  }
  if (!AskSaveName()) return;

  StopPlayback();
  start = m_pSpectrum->GetSelStart();
  end = m_pSpectrum->GetSelEnd();
  // The sample-exact switch of the file menu (off at every start).
  CutOptions options;
  options.exact = IsExactCutChecked();
  if (!CutToFile(m_strSourcePath, m_strDestPath, start, end, nullptr, options)) {
    Tell(this, Utf8(kCutFailedText));
    return;
  }
  if (IsSameFile(m_strDestPath, m_strSourcePath)) {
    // The loaded file was replaced by the cut: what the window shows is gone.
    Tell(this, Utf8(kReopenText));
  } else if (Tell(this, Utf8(kOpenCutText), MB_YESNO) != IDYES) {
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
  const std::string name = kDefaultNamePrefix + GetFileTitlePart(m_strSourcePath);
  std::string path;
  if (!m_pFileDialogs->AskSavePath(this, folder, name, &path)) return false;
  if (GetFileExtPart(path).empty()) {
    path += kDefaultExtension;
    if (IsExistingFile(path) && Tell(this, PathToWx(path) + "\n" + Utf8(kReplaceText), MB_YESNO) != IDYES) {
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

bool CCutterDlg::IsExactCutChecked() const {
  const wxMenuBar* bar = GetMenuBar();
  return bar && bar->FindItem(ID_FILE_EXACT_CUT) && bar->IsChecked(ID_FILE_EXACT_CUT);
}
