// What the user is told when the worker fails, and that a stop never
// deadlocks against the PCM hand-off.
#include <wx/gauge.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <thread>

#include "app/DialogLayout.h"
#include "pipeline/ArwMan.h"
#include "tests/app/AppTestSupport.h"
#include "ui/msgbox/MessageBoxTypes.h"
#include "ui/skin/SkinButton.h"
#include "ui/waveform/SpectrumCtrl.h"

TEST_F(CutterDlgTest, FileThatCannotBeOpenedIsReported) {
  const std::string text = folder.File("notes.mp3");
  ASSERT_TRUE(WriteFileBytes(text, std::vector<uint8_t>(5000, 'x')));
  Open();
  BoxRecorder boxes;
  LoadThroughOpenDialog(text);
  ASSERT_TRUE(PumpUntil([&] { return !boxes.texts.empty(); }, 5000));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{pipelinetext::kOpenFailed});
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
  EXPECT_FALSE(peer.State().progressTimerRunning);

  // The same through the command line.
  boxes.texts.clear();
  Open({"padocut", text});
  ASSERT_TRUE(PumpUntil([&] { return !boxes.texts.empty(); }, 5000));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{pipelinetext::kOpenFailed});
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
}

TEST_F(CutterDlgTest, PlaybackErrorIsReportedAndTheFileStaysReadyToCut) {
  // No output plug-in, then no usable audio device (SDL reads the driver
  // when the plug-in starts and again when playback opens the output).
  const std::string file = MakeMp3("noplugin.mp3", 3);
  TempDir empty;
  const std::function<void(CutterDlgOptions&)> breakOutput[] = {
      [&](CutterDlgOptions& options) { options.pluginDirectory = empty.Path(); },
      [](CutterDlgOptions&) { setenv("SDL_AUDIODRIVER", "nosuchdriver", 1); },
  };
  const std::string driver = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "dummy";
  for (int way = 0; way < 2; ++way) {
    CutterDlgOptions options;
    breakOutput[way](options);
    OpenReady(file, options);
    Select(500, 2000);
    BoxRecorder boxes;
    EXPECT_FALSE(peer.OnPlay());
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.texts.empty(); }, 5000));
    EXPECT_EQ(boxes.texts, std::vector<std::string>{pipelinetext::kOutputModule});
    EXPECT_FALSE(peer.State().playbackTimerRunning);
    EXPECT_EQ(View()->GetModel().GetPlayPosition(), -1);
    // The file, its waveform and the selection stay, and the cut works.
    EXPECT_EQ(peer.State().workState, STATE_READY);
    EXPECT_TRUE(Button(IDC_CUT)->IsEnabled());
    EXPECT_EQ(peer.State().sourcePath, file);
    EXPECT_EQ(View()->GetModel().GetState(), SpectrumState::Ready);
    EXPECT_EQ(View()->GetSelStart(), 500);
    EXPECT_EQ(View()->GetSelEnd(), 2000);
    const std::string cut = folder.File("after-error-" + std::to_string(way) + ".mp3");
    dialogs.saveAnswers.push_back(cut);
    peer.OnCut();
    EXPECT_GT(ReadFileBytes(cut).size(), 10000u);
  }
}

TEST_F(CutterDlgTest, ReadFailureDuringAnalysisIsReported) {
  const std::string file = MakeMp3("broken.mp3", 4);
  CutterDlgOptions options;
  options.makeReader = [this] {
    reader = new TestReader;
    reader->readsBeforeFailure = 40;
    return reader;
  };
  BoxRecorder boxes;
  Open({"padocut", file}, options);
  ASSERT_TRUE(PumpUntil([&] { return !boxes.texts.empty(); }, 10000));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{pipelinetext::kReadFailed});
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
  EXPECT_FALSE(peer.State().progressTimerRunning);
  EXPECT_FALSE(Progress()->IsShown());
  EXPECT_EQ(peer.State().sourcePath, file) << "kept; the user opens a file again";
}

TEST_F(CutterDlgTest, ErrorTextsDependOnWhatRan) {
  OpenReady(MakeMp3("codes.mp3", 2));
  BoxRecorder boxes;
  peer.OnWorkerError(5);  // during playback
  EXPECT_EQ(boxes.texts, std::vector<std::string>{pipelinetext::kOutputFailed});
  EXPECT_EQ(peer.State().workState, STATE_READY);
  boxes.texts.clear();
  peer.CloseFile();
  peer.OnWorkerError(4);  // nothing ran: no message
  peer.OnWorkerError(1);
  EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CutterDlgTest, StoppingDuringTheHandOffNeverDeadlocks) {
  // A long file analysed at full speed; the analysis is stopped again and
  // again at random moments, through every path that stops it.
  const std::string file = MakeMp3("stress.mp3", 60);
  // A deadlock cannot be recovered from: end the process with a message.
  std::atomic<bool> finished{false};
  std::thread watchdog([&finished] {
    for (int tenths = 0; tenths < 900 && !finished.load(); ++tenths) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!finished.load()) {
      std::fprintf(stderr, "a stop deadlocked against the PCM hand-off\n");
      std::_Exit(4);
    }
  });
  Open();
  dialog->SetSourcePath(file);
  std::mt19937 random(12345);
  BoxRecorder boxes;
  boxes.yesNoDefault = IDYES;
  const auto started = std::chrono::steady_clock::now();
  for (int round = 0; round < 60; ++round) {
    dialog->SetSourcePath(file);
    peer.OnAnalyse();
    ASSERT_EQ(peer.State().workState, STATE_ANALYSING);
    const int waitUs = std::uniform_int_distribution<int>(0, 20000)(random);
    std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
    switch (round % 3) {
      case 0: peer.StopAnalysis(); break;
      case 1: peer.CloseFile(); break;
      case 2: peer.OnCloseFile(); break;  // asks; answered Yes
    }
    EXPECT_FALSE(peer.ArwMan()->IsRunning());
  }
  PumpFor(50);
  finished.store(true);
  watchdog.join();
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(), 60.0);
  // The window still analyses a file to the end afterwards.
  dialog->SetSourcePath(file);
  peer.OnAnalyse();
  ASSERT_TRUE(WaitForState(STATE_READY, 30000));
  const SpectrumModel& model = View()->GetModel();
  EXPECT_GE(model.GetFilledColumns(), model.GetColumnCount() - 1);
}
