// Split marks and the split into tracks in the main window, end to end:
// marks placed with the keyboard, the tracks compared with padocut-cli's
// split at the same times, and existing tracks never replaced unasked.
#include <wx/menu.h>
#include <wx/testing.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <filesystem>

#include "app/Commands.h"
#include "app/SilenceDialog.h"
#include "split/SilenceFinder.h"
#include "tests/split/SplitFixtures.h"
#include "tests/app/AppTestSupport.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Takes the silence dialog's values as they stand.
class AcceptSilence : public wxExpectModalBase<CSilenceDialog> {
 protected:
  int OnInvoked(CSilenceDialog*) const override { return wxID_OK; }
};

}  // namespace

TEST_F(CutterDlgTest, MarksPlacedWithMSplitIntoWhatTheCommandLineWrites) {
  const std::string source = MakeMp3("album.mp3", 8);
  OpenReady(source);
  dialog->Raise();
  PumpFor(100);
  EXPECT_FALSE(peer.State().keepCoverChecked) << "off at every start";
  CSpectrumCtrl* view = View();
  wxUIActionSimulator sim;
  auto pointAt = [&](int x) {
    sim.MouseMove(view->ClientToScreen(wxPoint(x, view->GetClientSize().y / 2)));
    return PumpUntil([&] { return view->GetModel().GetMouseX() == x; }, 3000);
  };
  std::vector<int> marks;
  for (int fifth = 1; fifth <= 3; ++fifth) {
    const int x = view->GetClientSize().x * fifth * 2 / 7;
    ASSERT_TRUE(pointAt(x));
    sim.Char('M');
    marks.push_back(view->XToTime(x));
    ASSERT_TRUE(PumpUntil([&] { return view->GetMarks() == marks; }, 3000));
  }
  sim.Char(WXK_DELETE);  // the pointer is on the last mark
  marks.pop_back();
  ASSERT_TRUE(PumpUntil([&] { return view->GetMarks() == marks; }, 3000));

  dialog->GetMenuBar()->Check(ID_FILE_EXACT_CUT, true);
  dialog->GetMenuBar()->Check(ID_FILE_KEEP_COVER, true);
  const std::string tracks = folder.File("tracks");
  dialogs.folderAnswers.push_back(tracks);
  BoxRecorder boxes;
  peer.OnSplitTracks();
  ASSERT_TRUE(PumpUntil([&] { return !boxes.texts.empty(); }));
  ASSERT_EQ(dialogs.folderCalls.size(), 1u);
  EXPECT_EQ(dialogs.folderCalls[0].folder, folder.Path() + "/") << "starts in the source's folder";
  EXPECT_EQ(boxes.texts, std::vector<std::string>{std::string(apptext::kTracksWritten) + " 3 / 3"});
  EXPECT_EQ(peer.State().workState, STATE_READY);

  const std::string reference = folder.File("reference");
  CliSplit(source, std::to_string(marks[0]) + "," + std::to_string(marks[1]), reference, "--exact --keep-cover");
  const std::vector<std::string> names = FileNames(tracks);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names, FileNames(reference));
  const std::vector<uint8_t> first = ReadFileBytes(tracks + "/" + names[0]);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first, ReadFileBytes(reference + "/" + names[0]));

  // Into the same folder again: asked first, and No replaces nothing.
  WriteFileBytes(tracks + "/" + names[0], {1, 2, 3});
  boxes.texts.clear();
  dialogs.folderAnswers.push_back(tracks);
  peer.OnSplitTracks();
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find(apptext::kTracksExist), std::string::npos);
  EXPECT_EQ(ReadFileBytes(tracks + "/" + names[0]), (std::vector<uint8_t>{1, 2, 3}));
  // Yes replaces them.
  boxes.texts.clear();
  boxes.answers.push_back(IDYES);
  dialogs.folderAnswers.push_back(tracks);
  peer.OnSplitTracks();
  ASSERT_TRUE(PumpUntil([&] { return boxes.texts.size() == 2; }));
  EXPECT_EQ(ReadFileBytes(tracks + "/" + names[0]), first);
}

TEST_F(CutterDlgTest, SilenceSearchAddsMarksWhereTheCommandLinePlanSplitsAsOneStep) {
  const std::string source = folder.File("gaps.mp3");
  ASSERT_TRUE(WriteFileBytes(source, EncodePieces(ThreeGaps(), EncodeSpec())));
  OpenReady(source);
  ASSERT_TRUE(View()->AddMark(1000));  // marks already there stay
  wxTEST_DIALOG(peer.OnFindSilences(), AcceptSilence());
  EXPECT_EQ(peer.State().workState, STATE_BUSY);
  ASSERT_TRUE(PumpUntil([&] { return peer.State().workState == STATE_READY; }));
  const SilenceResult found = FindSilences(source, SilenceOptions());
  ASSERT_EQ(found.silences.size(), 2u) << "-48 dB for 2 s: the 1 s gap is too short";
  const std::vector<int> expected{1000, static_cast<int>(found.SplitPointMs(found.silences[0], false)),
                                  static_cast<int>(found.SplitPointMs(found.silences[1], false))};
  EXPECT_EQ(View()->GetMarks(), expected);
  ASSERT_TRUE(View()->Undo());
  EXPECT_EQ(View()->GetMarks(), std::vector<int>{1000});
}
