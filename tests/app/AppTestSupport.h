// Helpers for the main window's end-to-end tests under Xvfb: real MP3
// files made at test time, a window built with test seams (answered file
// dialogs, readers that are slow or fail, a chosen plug-in folder), message
// boxes that are recorded and answered, and waits with deadlines.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/CutterDlg.h"
#include "app/FileDialogs.h"
#include "mp3/Mp3Reader.h"
#include "tests/support/TestFiles.h"
#include "ui/msgbox/MessageDlgHook.h"

// Open and save dialogs answered by the test: each call is recorded and
// answered with the next queued path ("" = cancel; nothing queued = cancel).
class FakeFileDialogs : public IFileDialogs {
 public:
  struct Call {
    std::string folder;
    std::string defaultName;
  };
  bool AskOpenPath(wxWindow* owner, const std::string& folder, std::string* path) override;
  bool AskSavePath(wxWindow* owner, const std::string& folder, const std::string& defaultName,
                   std::string* path) override;

  std::deque<std::string> openAnswers;
  std::deque<std::string> saveAnswers;
  std::vector<Call> openCalls;
  std::vector<Call> saveCalls;
};

// Records every message box and answers it: the next queued answer, else
// IDOK for an OK box and `yesNoDefault` for a Yes/No box.
class BoxRecorder {
 public:
  BoxRecorder();
  std::vector<std::string> texts;
  std::deque<int> answers;
  int yesNoDefault;

 private:
  ScopedMessageDlgHook m_hook;
};

// A real MP3 reader whose reads can be slowed down or made to fail.
class TestReader : public CMp3Reader {
 public:
  int Read(void* buffer, int length) override;
  // Sleep before every read (0 = none).
  std::atomic<int> delayMicroseconds{0};
  // Reads that succeed before every further read fails (-1 = never fail).
  std::atomic<int> readsBeforeFailure{-1};
  std::atomic<int> reads{0};
};

// Runs the event loop until `condition` holds or `timeoutMs` has passed.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 15000);
void PumpMs(int milliseconds);

// The label's text as UTF-8.
std::string LabelOf(const wxWindow* label);

// Texts the window shows (as the program's users see them).
namespace texts {
inline const std::string kStopWork = "작업을 중단 하시겠습니까?";
inline const std::string kCloseCurrent = "현재 파일을 닫으시겠습니까?";
inline const std::string kCloseUnsaved = "저장하지 않고 닫으시겠습니까?";
inline const std::string kSelectAgain = "선택영역을 다시 설정하세요.";
inline const std::string kOpenFailed = "파일을 여는데 실패하였습니다.\n올바른 파일인지 확인하여주십시오.";
inline const std::string kOutputModule = "출력 모듈에러.\n프로그램을 다시 설치하여 주십시오.";
inline const std::string kReadFailed = "파일을 읽는데 실패하였습니다.\n파일을 확인하여주십시오.";
inline const std::string kNoStretch = "잘라내기할 구간을 먼저 설정하여주십시오.";
inline const std::string kTooShort = "잘라내기할 구간을 1초이상으로 하십시오.";
inline const std::string kCutFailed = "잘라내기에 실패하였습니다.";
inline const std::string kReopen = "파일을 다시 열겠습니다.";
inline const std::string kOpenCut = "잘라낸 파일을 여시겠습니까?";
}  // namespace texts

// Fixture: a temporary folder with real encodings, and one window at a time.
class CutterDlgTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Encodes a stereo 44.1 kHz CBR file of `seconds` into the folder.
  std::string MakeMp3(const std::string& name, double seconds, uint32_t seed = 1);
  // Builds and shows a window with the test seams; `args` as the command line.
  CCutterDlg* Open(const std::vector<std::string>& args = {}, CutterDlgOptions options = CutterDlgOptions());
  // Builds a window and loads `path` to STATE_READY.
  CCutterDlg* OpenReady(const std::string& path, CutterDlgOptions options = CutterDlgOptions());
  // Closes the window (answering Yes to any question) and waits for it to go.
  void CloseWindow();
  // Loads a file into the open window through the open command.
  void LoadThroughOpenDialog(const std::string& path);
  bool WaitForState(int state, int timeoutMs = 15000);
  // Sets the selection in ms (end first, so any start before it is taken).
  void Select(int startMs, int endMs);

  TempDir folder;
  FakeFileDialogs dialogs;
  CCutterDlg* dialog = nullptr;
  TestReader* reader = nullptr;  // the window's reader (owned by the window)
};
