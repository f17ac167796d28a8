// Precision editing in the main window, end to end under Xvfb: resizing,
// zoom and scroll, keys, typed times, undo and prelistening.
#include <wx/scrolbar.h>

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
  ASSERT_TRUE(WaitFor([&] { return View()->GetSize() == view.GetSize() + extra; }, 3000));
  EXPECT_EQ(Button(IDC_CUT)->GetRect(), wxRect(cut.GetPosition() + extra, cut.GetSize()));
  EXPECT_EQ(Button(IDC_PLAY)->GetRect(), wxRect(play.GetPosition() + wxPoint(0, extra.y), play.GetSize()));
  EXPECT_EQ(FileNameBox()->GetRect(), wxRect(name.GetPosition(), name.GetSize() + wxSize(extra.x, 0)));
  const SpectrumModel& model = View()->GetModel();
  EXPECT_EQ(model.GetVisibleColumnCount(), view.width + extra.x);
  EXPECT_TRUE(ShowsSound(model));
  EXPECT_EQ(reader->reads.load(), reads) << "the file was not decoded again";
  // Never smaller than the template.
  dialog->SetClientSize(wxSize(200, 100));
  PumpMs(100);
  EXPECT_GE(dialog->GetClientSize().x, smallest.x);
  EXPECT_GE(dialog->GetClientSize().y, smallest.y);
}
