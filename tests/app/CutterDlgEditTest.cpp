// Precision editing in the main window, end to end under Xvfb: resizing,
// zoom and scroll, keys, typed times, undo and prelistening.
#include <wx/scrolbar.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "platform/FormatTime.h"
#include "tests/app/AppTestSupport.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

// Whether some visible column draws more than silence.
bool ShowsSound(const SpectrumModel& model) {
  const int middle = model.WaveArea().Height() / 2;
  for (int x = 0; x < model.GetVisibleColumnCount(); ++x) {
    if (model.GetVisibleTop(x) < middle - 2) return true;
  }
  return false;
}

}  // namespace

TEST_F(CutterDlgTest, ResizingGivesTheWaveformTheRoomWithoutDecodingAgain) {
  OpenReady(MakeMp3("resize.mp3", 6));
  const wxRect view = View()->GetRect();
  const wxRect cut = Button(IDC_CUT)->GetRect();
  const wxRect play = Button(IDC_PLAY)->GetRect();
  const wxRect name = FileNameBox()->GetRect();
  const wxSize smallest = dialog->GetClientSize();
  const int reads = reader->reads.load();
  const wxSize extra(300, 200);
  dialog->SetClientSize(smallest + extra);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSize() == view.GetSize() + extra; }, 3000));
  EXPECT_EQ(Button(IDC_CUT)->GetRect(), wxRect(cut.GetPosition() + extra, cut.GetSize()));
  EXPECT_EQ(Button(IDC_PLAY)->GetRect(), wxRect(play.GetPosition() + wxPoint(0, extra.y), play.GetSize()));
  EXPECT_EQ(FileNameBox()->GetRect(), wxRect(name.GetPosition(), name.GetSize() + wxSize(extra.x, 0)));
  const SpectrumModel& model = View()->GetModel();
  EXPECT_EQ(model.GetVisibleColumnCount(), view.width + extra.x);
  EXPECT_TRUE(ShowsSound(model));
  EXPECT_EQ(reader->reads.load(), reads) << "the file was not decoded again";
  // Never smaller than the template.
  dialog->SetClientSize(wxSize(200, 100));
  PumpFor(100);
  EXPECT_GE(dialog->GetClientSize().x, smallest.x);
  EXPECT_GE(dialog->GetClientSize().y, smallest.y);
}


TEST_F(CutterDlgTest, KeysWorkFromAFreshStartToZoomEditUndoAndRedo) {
  OpenReady(MakeMp3("keys.mp3", 8));
  dialog->Raise();
  PumpFor(50);
  const SpectrumModel& model = View()->GetModel();
  const int duration = model.GetDuration();
  wxUIActionSimulator sim;
  sim.Char('=');
  ASSERT_TRUE(PumpUntil([&] { return !model.GetView().IsWhole(); }, 3000)) << "no click was needed";
  EXPECT_EQ(model.GetView().Span(), duration / 2);
  EXPECT_TRUE(View()->GetScrollBar()->IsShown());
  sim.Char('A', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelEnd() == duration; }, 3000));
  sim.Char(WXK_RIGHT);  // the start, one frame on
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelStart() == 27; }, 3000));
  sim.Char(WXK_TAB);
  sim.Char(WXK_LEFT, wxMOD_SHIFT);  // the end, one second back
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelEnd() == duration - 1000; }, 3000));
  EXPECT_EQ(LabelOf(Label(IDC_END_TIME)), FormatTime(duration - 1000));
  sim.Char('Z', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelEnd() == duration; }, 3000));
  sim.Char('Z', wxMOD_CONTROL | wxMOD_SHIFT);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelEnd() == duration - 1000; }, 3000));
  sim.Char('0');
  ASSERT_TRUE(PumpUntil([&] { return model.GetView().IsWhole(); }, 3000));
  EXPECT_FALSE(View()->GetScrollBar()->IsShown());
}

TEST_F(CutterDlgTest, WheelZoomsAroundThePointerAndScrollsAZoomedView) {
  OpenReady(MakeMp3("wheel.mp3", 8));
  dialog->Raise();
  const SpectrumModel& model = View()->GetModel();
  const int x = model.TimeToX(6000);
  wxUIActionSimulator sim;
  sim.MouseMove(View()->ClientToScreen(wxPoint(x, 60)));
  PumpFor(50);
  FakeWheel(false, false);  // unzoomed: nothing to scroll
  PumpFor(100);
  EXPECT_TRUE(model.GetView().IsWhole());
  FakeWheel(true, true);
  ASSERT_TRUE(PumpUntil([&] { return !model.GetView().IsWhole(); }, 3000));
  EXPECT_NEAR(model.XToTime(x), 6000, 20) << "the time under the pointer stays";
  const int start = model.GetView().Start();
  FakeWheel(false, false);
  ASSERT_TRUE(PumpUntil([&] { return model.GetView().Start() > start; }, 3000)) << "down shows later times";
}

TEST_F(CutterDlgTest, TypedRangeNudgedUndoneAndRedoneCutsWhatTheCommandLineCuts) {
  const std::string source = MakeMp3("typed.mp3", 8);
  OpenReady(source);
  dialog->Raise();
  PumpFor(50);
  wxUIActionSimulator sim;
  sim.Char('=');
  sim.Char('1', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return peer.State().timeEdge == 0; }, 3000));
  sim.Text("0:01.5");
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelStart() == 1500; }, 3000));
  EXPECT_EQ(peer.State().timeEdge, -1);
  sim.Char('2', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return peer.State().timeEdge == 1; }, 3000));
  sim.Text("4.25");
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelEnd() == 4250; }, 3000));
  EXPECT_EQ(LabelOf(Label(IDC_END_TIME)), "00:00:04.250");
  sim.Char(WXK_RIGHT);  // the start, one frame on
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelStart() > 1500; }, 3000));
  const int nudged = View()->GetSelStart();
  EXPECT_LT(nudged, 1500 + 27);
  sim.Char('Z', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelStart() == 1500; }, 3000));
  sim.Char('Y', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return View()->GetSelStart() == nudged; }, 3000));

  dialogs.saveAnswers.push_back(folder.File("typed-cut.mp3"));
  BoxRecorder boxes;  // No to opening the result
  sim.Char('S', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return !boxes.texts.empty(); }, 10000));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kOpenCut});
  EXPECT_EQ(ReadFileBytes(folder.File("typed-cut.mp3")),
            CliCut(source, nudged, 4250, folder.File("reference.mp3")));
}

TEST_F(CutterDlgTest, RefusedTypedTimesLeaveTheSelectionAndEscapeCancels) {
  OpenReady(MakeMp3("refused.mp3", 6));
  dialog->Raise();
  Select(2000, 3000);
  wxUIActionSimulator sim;
  // A click on the start value edits it.
  sim.MouseMove(Label(IDC_START_TIME)->GetScreenRect().GetLeftTop() + wxPoint(4, 4));
  sim.MouseClick();
  ASSERT_TRUE(PumpUntil([&] { return peer.State().timeEdge == 0; }, 3000));
  auto* field = peer.Find<wxTextCtrl>(IDC_TIME_EDIT);
  EXPECT_EQ(field->GetValue(), "00:00:02.000");
  struct Case {
    const char* typed;
    const char* reason;
  };
  for (const Case& c : {Case{"1:2:3:4", apptext::kTimeMalformed}, Case{"abc", apptext::kTimeMalformed},
                        Case{"3.5", apptext::kStartAfterEnd}}) {
    sim.Char('A', wxMOD_CONTROL);
    sim.Text(c.typed);
    sim.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return peer.State().timeRefusal == c.reason; }, 3000)) << c.typed;
    EXPECT_EQ(peer.State().timeEdge, 0) << "the field stays for a correction";
    EXPECT_EQ(View()->GetSelStart(), 2000);
  }
  sim.Char(WXK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return peer.State().timeEdge == -1; }, 3000));
  EXPECT_TRUE(dialog->IsShown()) << "Esc never closes the window";
  EXPECT_TRUE(Label(IDC_START_TIME)->IsShown());
  EXPECT_EQ(View()->GetSelStart(), 2000);
  // An end past the file is the end of the file; before the start, refused.
  sim.Char('2', wxMOD_CONTROL);
  ASSERT_TRUE(PumpUntil([&] { return peer.State().timeEdge == 1; }, 3000));
  sim.Text("1.5");
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return peer.State().timeRefusal == apptext::kEndBeforeStart; }, 3000));
  sim.Char('A', wxMOD_CONTROL);
  sim.Text("2:00:00");
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return peer.State().timeEdge == -1; }, 3000));
  EXPECT_EQ(View()->GetSelEnd(), View()->GetModel().GetDuration());
}

namespace {

// The device's samples as SDL's disk driver wrote them, silence left out
// (the driver writes silence whenever the queue runs dry).
std::vector<int16_t> Heard(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  std::vector<int16_t> heard;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto s = static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (s != 0) heard.push_back(s);
  }
  return heard;
}

// What the reader decodes from `startMs` on, at the window's playback
// volume (50 %: the plug-in's 128 of 255), silence left out.
std::vector<int16_t> Expected(const std::string& path, int startMs, size_t count) {
  CMp3Reader reader;
  EXPECT_TRUE(reader.Open(path.c_str(), nullptr, nullptr, nullptr));
  reader.Seek(startMs);
  std::vector<int16_t> expected;
  std::vector<int16_t> block(4096);
  while (expected.size() < count) {
    const int n = reader.Read(block.data(), static_cast<int>(block.size() * 2));
    if (n <= 0) break;
    for (int i = 0; i < n / 2; ++i) {
      const int p = block[static_cast<size_t>(i)] * 128;
      const int s = (p >= 0 ? p + 127 : p - 127) / 255;
      if (s != 0) expected.push_back(static_cast<int16_t>(s));
    }
  }
  expected.resize(std::min(expected.size(), count));
  return expected;
}

// SDL's disk driver for one window's life.
class DiskAudio {
 public:
  DiskAudio() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", File().c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
  }
  ~DiskAudio() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
  }
  std::string File() const { return m_dir.File("device.raw"); }

 private:
  TempDir m_dir;
};

}  // namespace

TEST_F(CutterDlgTest, PrelistenPlaysTwoSecondsFromTheEdgeItNames) {
  const std::string source = MakeMp3("hear.mp3", 8);
  DiskAudio device;
  OpenReady(source);
  Select(3000, 6000);
  dialog->Raise();
  wxUIActionSimulator sim;
  sim.Char(WXK_F7, wxMOD_SHIFT);  // the 2 s after the end
  ASSERT_TRUE(PumpUntil([&] { return peer.State().playbackTimerRunning; }, 3000));
  ASSERT_TRUE(PumpUntil([&] { return !peer.State().playbackTimerRunning; }, 10000));
  EXPECT_EQ(Cursor(), std::min(8000, View()->GetModel().GetDuration())) << "it rests where the 2 s end";
  EXPECT_EQ(View()->GetSelStart(), 3000) << "the selection stays";
  CloseWindow();  // the device file is complete once the plug-in is closed
  const std::vector<int16_t> heard = Heard(device.File());
  const size_t twoSeconds = 2 * 44100 * 2;
  ASSERT_GT(heard.size(), twoSeconds * 9 / 10);
  EXPECT_LT(heard.size(), twoSeconds * 11 / 10);
  const size_t compared = 44100;
  const std::vector<int16_t> expected = Expected(source, 6000, compared);
  ASSERT_EQ(expected.size(), compared);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), heard.begin())) << "it starts where the end is";
}

TEST_F(CutterDlgTest, DeepZoomDrawsTheFramesAndWhatTheCutWrites) {
  const std::string source = MakeMp3("frames.mp3", 6);
  OpenReady(source);
  const SpectrumModel& model = View()->GetModel();
  ASSERT_TRUE(PumpUntil([&] { return model.GetFrameTimes().size() > 200; }, 5000)) << "frame times found";
  Select(1000, 1100);
  ASSERT_TRUE(View()->ZoomTo(900, 1200));
  ASSERT_TRUE(model.ShowsFrameGrid());
  // Both ends inside frames: the cut writes from the start of the first
  // frame to the start of the one holding the end.
  int from = 0, to = 0;
  ASSERT_TRUE(model.GetCutStretch(&from, &to));
  const std::vector<int>& frames = model.GetFrameTimes();
  const auto first = std::upper_bound(frames.begin(), frames.end(), 1000) - 1;
  EXPECT_EQ(from, *first);
  EXPECT_LT(1000 - from, 27);
  EXPECT_LE(to, 1100);
  EXPECT_GT(to, 1100 - 27);
  EXPECT_EQ(CliCut(source, from, to, folder.File("stretch.mp3")), CliCut(source, 1000, 1100, folder.File("cut.mp3")))
      << "the stretch is exactly the frames the cut writes";
  PumpFor(100);
  const wxImage picture = View()->GetPainter().LayerImage(SpectrumPainter::Layer::Composite);
  const SpectrumRect& wave = model.WaveArea();
  auto colourAt = [&](int x, int y) { return wxColour(picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y)); };
  EXPECT_EQ(colourAt(model.TimeToX(frames[first - frames.begin() - 2]), wave.top + wave.Height() / 8),
            SpectrumPainter::kBaseFrameGrid) << "a frame boundary before the selection";
  EXPECT_EQ(colourAt(model.TimeToX((from + to) / 2), wave.top + 2), SpectrumPainter::kCutStretch);
  EXPECT_NE(colourAt(model.TimeToX(from) - 2, wave.top + 2), SpectrumPainter::kCutStretch) << "only over the stretch";
}
