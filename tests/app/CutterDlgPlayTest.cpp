// Playback in the main window through the real output plug-in (SDL's dummy
// driver plays in real time): the cursor, the stop at the selection end,
// pause and resume, restart, and moving the end while playing.
#include <chrono>

#include "pipeline/ArwMan.h"
#include "tests/app/AppTestSupport.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

TEST_F(CutterDlgTest, PlaybackMovesTheCursorAndStopsAtTheSelectionEnd) {
  OpenReady(MakeMp3("play.mp3", 4));
  Select(1000, 2000);
  const auto started = Clock::now();
  ASSERT_TRUE(peer.OnPlay());
  EXPECT_TRUE(peer.State().playbackTimerRunning);
  EXPECT_EQ(peer.State().workState, STATE_READY);
  ASSERT_TRUE(PumpUntil([&] { return Cursor() > 1100; }, 5000)) << "the cursor moves from the start";
  EXPECT_LT(Cursor(), 2000);
  ASSERT_TRUE(PumpUntil([&] { return !peer.State().playbackTimerRunning; }, 8000));
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  EXPECT_GT(seconds, 0.8) << "one second of audio was played";
  EXPECT_LT(seconds, 4.0);
  EXPECT_FALSE(peer.ArwMan()->IsRunning());
  EXPECT_EQ(Cursor(), 2000) << "the cursor rests at the end";
  EXPECT_EQ(peer.State().workState, STATE_READY);
}

TEST_F(CutterDlgTest, PauseHoldsThePositionAndPlayResumesThere) {
  OpenReady(MakeMp3("pause.mp3", 4));
  ASSERT_EQ(View()->GetSelEnd(), -1);
  ASSERT_TRUE(peer.OnPlay());
  ASSERT_TRUE(PumpUntil([&] { return Cursor() >= 0; }, 3000));
  EXPECT_LT(Cursor(), 800) << "nothing selected plays from the start";
  ASSERT_TRUE(PumpUntil([&] { return Cursor() > 700; }, 5000));
  ASSERT_TRUE(peer.OnPause());
  EXPECT_TRUE(peer.ArwMan()->IsPaused());
  PumpFor(120);
  const int paused = Cursor();
  PumpFor(400);
  EXPECT_NEAR(Cursor(), paused, 100) << "paused";
  // Play resumes rather than restarting.
  ASSERT_TRUE(peer.OnPlay());
  EXPECT_FALSE(peer.ArwMan()->IsPaused());
  ASSERT_TRUE(PumpUntil([&] { return Cursor() > paused + 200; }, 5000));
  // Pause twice is pause and resume.
  ASSERT_TRUE(peer.OnPause());
  ASSERT_TRUE(peer.OnPause());
  EXPECT_FALSE(peer.ArwMan()->IsPaused());
  peer.OnStop();
  EXPECT_FALSE(peer.ArwMan()->IsRunning());
  EXPECT_FALSE(peer.State().playbackTimerRunning);
  EXPECT_EQ(Cursor(), -1);
  EXPECT_FALSE(peer.OnPause()) << "nothing runs";
}

TEST_F(CutterDlgTest, NoToOpeningAnotherFileLeavesPlaybackAsItWas) {
  const std::string other = MakeMp3("other.mp3", 2, 3);
  OpenReady(MakeMp3("asked.mp3", 6));
  ASSERT_TRUE(peer.OnPlay());
  ASSERT_TRUE(PumpUntil([&] { return Cursor() > 100; }, 5000));
  BoxRecorder boxes;  // No to every question
  EXPECT_FALSE(peer.OnOpenFile());
  EXPECT_TRUE(peer.ArwMan()->IsRunning());
  EXPECT_FALSE(peer.ArwMan()->IsPaused()) << "playing before: playing after";
  // Paused by the user: still paused after No, to the open command and to a drop.
  ASSERT_TRUE(peer.OnPause());
  EXPECT_FALSE(peer.OnOpenFile());
  peer.OnDropFiles(wxArrayString(1, wxString::FromUTF8(other)));
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{apptext::kCloseCurrent, apptext::kCloseCurrent, apptext::kCloseUnsaved}));
  EXPECT_TRUE(peer.ArwMan()->IsPaused());
  const int paused = Cursor();
  PumpFor(300);
  EXPECT_NEAR(Cursor(), paused, 60);
  EXPECT_TRUE(peer.State().playbackTimerRunning);
  peer.OnStop();
}

TEST_F(CutterDlgTest, WholeFilePlaysToItsEnd) {
  OpenReady(MakeMp3("whole.mp3", 2));
  const int duration = View()->GetModel().GetDuration();
  ASSERT_TRUE(peer.OnPlay());
  int highest = -1;
  ASSERT_TRUE(PumpUntil(
      [&] {
        highest = std::max(highest, Cursor());
        return !peer.State().playbackTimerRunning;
      },
      8000));
  EXPECT_GT(highest, duration - 300);
  EXPECT_FALSE(peer.ArwMan()->IsRunning());
}

TEST_F(CutterDlgTest, PlayWhilePlayingRestartsFromTheSelectionStart) {
  OpenReady(MakeMp3("restart.mp3", 4));
  Select(500, 3800);
  ASSERT_TRUE(peer.OnPlay());
  ASSERT_TRUE(PumpUntil([&] { return Cursor() > 1300; }, 5000));
  ASSERT_TRUE(peer.OnPlay());
  ASSERT_TRUE(PumpUntil([&] { return Cursor() < 1000; }, 3000)) << "back near the start";
  EXPECT_GE(Cursor(), 450) << "the frame holding the start";
  peer.OnStop();
}

TEST_F(CutterDlgTest, MovingTheEndWhilePlayingMovesTheStop) {
  OpenReady(MakeMp3("move.mp3", 4));
  Select(0, 3800);
  ASSERT_TRUE(peer.OnPlay());
  ASSERT_TRUE(PumpUntil([&] { return Cursor() > 200; }, 5000));
  View()->SetSelEnd(1000);
  const auto moved = Clock::now();
  ASSERT_TRUE(PumpUntil([&] { return !peer.State().playbackTimerRunning; }, 5000));
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - moved).count(), 2.5);
  EXPECT_EQ(Cursor(), 1000);
}

TEST_F(CutterDlgTest, EmptySelectionRefusesToPlay) {
  OpenReady(MakeMp3("empty.mp3", 2));
  Select(1000, 1000);
  BoxRecorder boxes;
  EXPECT_FALSE(peer.OnPlay());
  EXPECT_EQ(boxes.texts, std::vector<std::string>{pipelinetext::kSelectAgain});
  EXPECT_FALSE(peer.ArwMan()->IsRunning());
  EXPECT_EQ(peer.State().workState, STATE_READY);
}

TEST_F(CutterDlgTest, EndOfAnEarlierRunDoesNotStopANewPlayback) {
  OpenReady(MakeMp3("stale.mp3", 3));
  // An end queued by an earlier run, handled only after the next play began.
  dialog->PostArwMessage(WM_ARWMAN_END, 0);
  ASSERT_TRUE(peer.OnPlay());
  PumpFor(300);
  EXPECT_TRUE(peer.ArwMan()->IsRunning());
  EXPECT_TRUE(peer.State().playbackTimerRunning);
  peer.OnStop();
}

TEST_F(CutterDlgTest, ClosingWhilePlayingClosesWithoutAQuestion) {
  OpenReady(MakeMp3("closeplay.mp3", 3));
  ASSERT_TRUE(peer.OnPlay());
  ASSERT_TRUE(PumpUntil([&] { return Cursor() > 100; }, 5000));
  BoxRecorder boxes;
  wxWindow* window = dialog;
  dialog->Close();
  EXPECT_TRUE(PumpUntil([window] { return !wxTopLevelWindows.Find(window); }, 5000));
  EXPECT_TRUE(boxes.texts.empty());
  dialog = nullptr;
}
