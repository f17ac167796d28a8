#include "tests/app/AppTestSupport.h"

#include <cstdlib>

#include <wx/app.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "app/CutterApp.h"
#include "ui/msgbox/MessageDlg.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

bool Answer(std::deque<std::string>& answers, std::string* path) {
  if (answers.empty()) return false;
  *path = answers.front();
  answers.pop_front();
  return !path->empty();
}

}  // namespace

bool FakeFileDialogs::AskOpenPath(wxWindow* /*owner*/, const std::string& folder, std::string* path) {
  openCalls.push_back({folder, ""});
  return Answer(openAnswers, path);
}

bool FakeFileDialogs::AskSavePath(wxWindow* /*owner*/, const std::string& folder, const std::string& defaultName,
                                  std::string* path) {
  saveCalls.push_back({folder, defaultName});
  return Answer(saveAnswers, path);
}

bool FakeFileDialogs::AskFolder(wxWindow* /*owner*/, const std::string& title, const std::string& folder,
                                std::string* path) {
  folderCalls.push_back({folder, title});
  return Answer(folderAnswers, path);
}

BoxRecorder::BoxRecorder()
    : yesNoDefault(IDNO), m_hook([this](CMessageDlg& box) {
        texts.push_back(box.GetText().utf8_string());
        int answer = box.GetButtonSet() == MB_YESNO ? yesNoDefault : IDOK;
        if (!answers.empty()) {
          answer = answers.front();
          answers.pop_front();
        }
        box.Answer(answer);
      }) {}

int TestReader::Read(void* buffer, int length) {
  if (const int delay = delayMicroseconds.load(); delay > 0) {
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
  }
  const int done = reads.fetch_add(1);
  const int limit = readsBeforeFailure.load();
  if (limit >= 0 && done >= limit) return -1;
  return CMp3Reader::Read(buffer, length);
}

std::vector<uint8_t> CliCut(const std::string& source, int startMs, int endMs, const std::string& out,
                            const std::string& options) {
  const std::string command = "'" + BuildDir() + "/padocut-cli' cut " + options + " '" + source + "' " +
                              std::to_string(startMs) + " " + std::to_string(endMs) + " '" + out + "' >/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return ReadFileBytes(out);
}

void CliSplit(const std::string& source, const std::string& points, const std::string& outFolder,
              const std::string& options) {
  const std::string command = "'" + BuildDir() + "/padocut-cli' split " + options + " '" + source + "' '" +
                              outFolder + "' --at " + points + " >/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

std::string LabelOf(const wxWindow* label) { return label->GetLabel().utf8_string(); }

void CutterDlgTest::TearDown() { CloseWindow(); }

std::string CutterDlgTest::MakeMp3(const std::string& name, double seconds, uint32_t seed) {
  EncodeSpec spec;
  spec.seconds = seconds;
  spec.seed = seed;
  const std::string path = folder.File(name);
  EXPECT_TRUE(WriteFileBytes(path, EncodeMp3(spec))) << path;
  return path;
}

CCutterDlg* CutterDlgTest::Open(const std::vector<std::string>& args, CutterDlgOptions options) {
  CloseWindow();
  if (!options.fileDialogs) options.fileDialogs = &dialogs;
  if (!options.makeReader) options.makeReader = [this] { return reader = new TestReader; };
  dialog = new CCutterDlg(options);
  peer = CutterDlgPeer(dialog);
  ParseCommandLinePath(args, *dialog);
  EXPECT_TRUE(dialog->CreateDialog());
  dialog->Show();
  PumpFor(30);
  return dialog;
}

CCutterDlg* CutterDlgTest::OpenReady(const std::string& path, CutterDlgOptions options) {
  Open({"padocut", path}, std::move(options));
  EXPECT_TRUE(WaitForState(STATE_READY)) << "state " << peer.State().workState;
  return dialog;
}

void CutterDlgTest::CloseWindow() {
  if (!dialog) return;
  BoxRecorder boxes;
  boxes.yesNoDefault = IDYES;
  wxWindow* window = dialog;
  dialog->Close(true);
  PumpUntil([window] { return !wxTopLevelWindows.Find(window); }, 5000);
  dialog = nullptr;
  peer = CutterDlgPeer();
  reader = nullptr;
}

void CutterDlgTest::LoadThroughOpenDialog(const std::string& path) {
  dialogs.openAnswers.push_back(path);
  peer.OnOpenFile();
}

bool CutterDlgTest::WaitForState(int state, int timeoutMs) {
  return PumpUntil([&] { return peer.State().workState == state; }, timeoutMs);
}

void CutterDlgTest::Select(int startMs, int endMs) {
  CSpectrumCtrl* view = View();
  view->SetSelEnd(endMs);
  view->SetSelStart(startMs);
  view->SetSelEnd(endMs);
  PumpFor(20);
}
