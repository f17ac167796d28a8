// Precision editing in the main window, end to end under Xvfb: resizing,
// zoom and scroll, keys, typed times, undo and prelistening.
#include <wx/scrolbar.h>
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
