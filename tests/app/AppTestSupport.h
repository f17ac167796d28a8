// Helpers for the main window's end-to-end tests under Xvfb: real MP3
// files made at test time, a window built with test seams (answered file
// dialogs, readers that are slow or fail, a chosen plug-in folder) and message
// boxes that are recorded and answered.
#pragma once

#include <gtest/gtest.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/CutterDlg.h"
#include "app/CutterDlgPeer.h"
#include "app/DialogLayout.h"
#include "app/FileDialogs.h"
#include "app/Texts.h"
#include "mp3/Mp3Reader.h"
#include "pipeline/Texts.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestFiles.h"
#include "ui/msgbox/MessageDlgHook.h"
#include "ui/skin/SkinButton.h"
#include "ui/waveform/SpectrumCtrl.h"

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

  bool AskFolder(wxWindow* owner, const std::string& title, const std::string& folder, std::string* path) override;

  std::deque<std::string> openAnswers;
  std::deque<std::string> saveAnswers;
  std::deque<std::string> folderAnswers;
  std::vector<Call> openCalls;
  std::vector<Call> saveCalls;
  std::vector<Call> folderCalls;  // defaultName holds the title
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

// A wheel step where the pointer is, as the X server delivers it (button 4
// up, 5 down), with Ctrl held when asked (XWheel.cpp).
void FakeWheel(bool up, bool control);

// padocut-cli's split of `source` at `points` ("1000,2000") into `outFolder`.
void CliSplit(const std::string& source, const std::string& points, const std::string& outFolder,
              const std::string& options = "");

// padocut-cli's cut of the same stretch: the reference bytes.
std::vector<uint8_t> CliCut(const std::string& source, int startMs, int endMs, const std::string& out,
                            const std::string& options = "");

// The label's text as UTF-8.
std::string LabelOf(const wxWindow* label);

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

  // The window's controls by their ids, and the waveform view's play cursor.
  CSpectrumCtrl* View() const { return peer.Find<CSpectrumCtrl>(IDC_SPECTRUM); }
  CSkinButton* Button(int id) const { return peer.Find<CSkinButton>(id); }
  wxStaticText* Label(int id) const { return peer.Find<wxStaticText>(id); }
  wxGauge* Progress() const { return peer.Find<wxGauge>(IDC_PROGRESS); }
  wxTextCtrl* FileNameBox() const { return peer.Find<wxTextCtrl>(IDC_FILE_NAME); }
  int Cursor() const { return View()->GetModel().GetPlayPosition(); }

  TempDir folder;
  FakeFileDialogs dialogs;
  CCutterDlg* dialog = nullptr;
  CutterDlgPeer peer;            // the open window's commands and state
  TestReader* reader = nullptr;  // the window's reader (owned by the window)
};
