// The cut command end to end: the checks on the selection, the answered
// save dialog, the result compared with padocut-cli's cut of the same
// times, the extension rule, and what is open afterwards.
#include <sys/stat.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/testing.h>

#include <cstdlib>

#include "app/DialogLayout.h"
#include "app/GainDialog.h"
#include "mp3/CutToFile.h"
#include "mp3/VbrHeader.h"
#include "tests/app/AppTestSupport.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

// Answers the level dialog: types the values given (unless none) and
// notes what the dialog then holds.
class AnswerLevel : public wxExpectModalBase<CGainDialog> {
 public:
  AnswerLevel(int answer, const LevelSettings* typed, LevelSettings* seen)
      : m_answer(answer), m_typed(typed), m_seen(seen) {}

 protected:
  int OnInvoked(CGainDialog* dialog) const override {
    if (m_typed) {
      dynamic_cast<wxSpinCtrlDouble*>(dialog->FindWindow(CGainDialog::ID_GAIN))->SetValue(m_typed->gainDb);
      dynamic_cast<wxSpinCtrl*>(dialog->FindWindow(CGainDialog::ID_FADE_IN))->SetValue(m_typed->fadeInMs);
      dynamic_cast<wxSpinCtrl*>(dialog->FindWindow(CGainDialog::ID_FADE_OUT))->SetValue(m_typed->fadeOutMs);
    }
    *m_seen = dialog->GetSettings();
    return m_answer;
  }

 private:
  int m_answer;
  const LevelSettings* m_typed;
  LevelSettings* m_seen;
};

}  // namespace

TEST_F(CutterDlgTest, CutSavesWhatTheCommandLineCutMakes) {
  const std::string source = MakeMp3("song.mp3", 6);
  OpenReady(source);
  Select(1000, 3500);
  dialogs.saveAnswers.push_back(folder.File("part"));  // no extension: ".mp3" is added
  BoxRecorder boxes;  // No to opening the result
  peer.OnCut();
  ASSERT_EQ(dialogs.saveCalls.size(), 1u);
  EXPECT_EQ(dialogs.saveCalls[0].folder, folder.Path() + "/") << "starts in the source's folder";
  EXPECT_EQ(dialogs.saveCalls[0].defaultName, std::string(apptext::kCutNamePrefix) + "song");
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kOpenCut});
  EXPECT_EQ(peer.State().destPath, folder.File("part.mp3"));

  const std::vector<uint8_t> cut = ReadFileBytes(folder.File("part.mp3"));
  ASSERT_FALSE(cut.empty());
  EXPECT_EQ(cut, CliCut(source, 1000, 3500, folder.File("reference.mp3")));
  EXPECT_LT(cut.size(), ReadFileBytes(source).size() / 2);
  VbrHeaderInfo header;  // the source's Info header gave way to one for the cut
  ASSERT_EQ(ParseVbrHeader(cut.data(), &header), 1);
  EXPECT_NEAR(header.frames * 1152 / 44.1, 2500, 60);

  // No: the source stays loaded with its selection.
  EXPECT_EQ(peer.State().workState, STATE_READY);
  EXPECT_EQ(peer.State().sourcePath, source);
  EXPECT_EQ(View()->GetSelStart(), 1000);
  EXPECT_EQ(View()->GetSelEnd(), 3500);
}

TEST_F(CutterDlgTest, ExactCutMenuItemMakesTheExactCut) {
  const std::string source = MakeMp3("exact.mp3", 6);
  OpenReady(source);
  wxMenuBar* bar = dialog->GetMenuBar();
  ASSERT_NE(bar, nullptr);
  wxMenuItem* item = bar->FindItem(ID_FILE_EXACT_CUT);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->IsCheckable());
  EXPECT_EQ(item->GetItemLabel().ToStdString(wxConvUTF8), apptext::kExactCutItem);
  EXPECT_FALSE(peer.State().exactCutChecked) << "off at every start";

  Select(1000, 3500);
  bar->Check(ID_FILE_EXACT_CUT, true);
  dialogs.saveAnswers.push_back(folder.File("exact-part.mp3"));
  BoxRecorder boxes;
  peer.OnCut();
  EXPECT_EQ(ReadFileBytes(folder.File("exact-part.mp3")),
            CliCut(source, 1000, 3500, folder.File("exact-reference.mp3"), "--exact"));
}

TEST_F(CutterDlgTest, AnsweringYesOpensTheCutFile) {
  const std::string source = MakeMp3("open.mp3", 5);
  OpenReady(source);
  Select(2000, 4000);
  dialogs.saveAnswers.push_back(folder.File("Kept.MP3"));  // an extension stays as typed
  BoxRecorder boxes;
  boxes.answers.push_back(IDYES);
  peer.OnCut();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kOpenCut});
  EXPECT_EQ(peer.State().sourcePath, folder.File("Kept.MP3"));
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_NEAR(View()->GetModel().GetDuration(), 2000, 80);
  EXPECT_EQ(peer.State().lastFolder, folder.Path() + "/");
}

TEST_F(CutterDlgTest, CutRefusesNoStretchAndLessThanOneSecond) {
  OpenReady(MakeMp3("short.mp3", 4));
  BoxRecorder boxes;
  peer.OnCut();  // fresh analysis: (-1, -1)
  Select(1000, 1999);
  peer.OnCut();
  Select(0, 999);
  peer.OnCut();
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{apptext::kNoStretch, apptext::kTooShort, apptext::kTooShort}));
  EXPECT_TRUE(dialogs.saveCalls.empty());

  // Exactly one second is cut.
  boxes.texts.clear();
  Select(1000, 2000);
  dialogs.saveAnswers.push_back(folder.File("second.mp3"));
  peer.OnCut();
  EXPECT_EQ(dialogs.saveCalls.size(), 1u);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kOpenCut});
  EXPECT_FALSE(ReadFileBytes(folder.File("second.mp3")).empty());
}

TEST_F(CutterDlgTest, CancelledSaveDialogChangesNothing) {
  const std::string source = MakeMp3("cancel.mp3", 3);
  OpenReady(source);
  Select(0, 2000);
  BoxRecorder boxes;
  peer.OnCut();  // nothing queued: cancelled
  EXPECT_EQ(dialogs.saveCalls.size(), 1u);
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_TRUE(peer.State().destPath.empty());
  EXPECT_EQ(peer.State().workState, STATE_READY);
}

TEST_F(CutterDlgTest, CuttingOverTheSourceReopensIt) {
  const std::string source = MakeMp3("self.mp3", 5);
  const std::vector<uint8_t> expected = CliCut(source, 1000, 3000, folder.File("expected.mp3"));
  OpenReady(source);
  Select(1000, 3000);
  dialogs.saveAnswers.push_back(source);
  BoxRecorder boxes;
  peer.OnCut();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kReopen}) << "told, not asked";
  EXPECT_EQ(ReadFileBytes(source), expected);
  EXPECT_EQ(peer.State().sourcePath, source);
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_NEAR(View()->GetModel().GetDuration(), 2000, 80) << "the new content is analysed";
  EXPECT_EQ(View()->GetSelEnd(), -1);
}

TEST_F(CutterDlgTest, AnotherSpellingOfTheSourceIsTheSource) {
  const std::string source = MakeMp3("spelled.mp3", 4);
  OpenReady(source);
  Select(1000, 3000);
  dialogs.saveAnswers.push_back(folder.Path() + "/./spelled.mp3");
  BoxRecorder boxes;
  peer.OnCut();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kReopen});
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_NEAR(View()->GetModel().GetDuration(), 2000, 80);
}

TEST_F(CutterDlgTest, FailedCutTellsAndKeepsEverything) {
  const std::string source = MakeMp3("fail.mp3", 4);
  OpenReady(source);
  Select(500, 2500);
  dialogs.saveAnswers.push_back(folder.File("no-such-folder/out.mp3"));
  BoxRecorder boxes;
  peer.OnCut();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kCutFailed});
  EXPECT_EQ(peer.State().workState, STATE_READY);
  EXPECT_EQ(peer.State().sourcePath, source);
  EXPECT_EQ(View()->GetSelStart(), 500);
}

TEST_F(CutterDlgTest, AddedExtensionDoesNotReplaceAFileUnasked) {
  const std::string source = MakeMp3("ext.mp3", 4);
  const std::string existing = folder.File("taken.mp3");
  ASSERT_TRUE(WriteFileBytes(existing, {'k', 'e', 'e', 'p'}));
  OpenReady(source);
  Select(0, 2000);
  dialogs.saveAnswers.push_back(folder.File("taken"));
  BoxRecorder boxes;  // No
  peer.OnCut();
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find("taken.mp3"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(existing), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
  EXPECT_TRUE(peer.State().destPath.empty());
}

TEST_F(CutterDlgTest, SaveDialogFallsBackToTheDocumentsFolder) {
  const std::string sub = folder.File("gone");
  ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
  const std::string source = sub + "/a.mp3";
  ASSERT_TRUE(WriteFileBytes(source, ReadFileBytes(MakeMp3("a.mp3", 3))));
  OpenReady(source);
  Select(0, 1500);
  ASSERT_EQ(std::system(("rm -rf '" + sub + "'").c_str()), 0);
  peer.OnCut();
  ASSERT_EQ(dialogs.saveCalls.size(), 1u);
  EXPECT_EQ(dialogs.saveCalls[0].folder, peer.State().defaultFolder);
}

// The level dialog's gain (on its nearest step) and fades go into the next
// cuts; Cancel keeps them; a gain that would clip is told with the most
// that fits.
TEST_F(CutterDlgTest, LevelDialogSetsTheGainAndFadesOfTheCuts) {
  const std::string source = MakeMp3("level.mp3", 6);
  OpenReady(source);
  wxMenuBar* bar = dialog->GetMenuBar();
  ASSERT_NE(bar->FindItem(ID_FILE_LEVEL), nullptr);
  EXPECT_TRUE(bar->IsEnabled(ID_FILE_LEVEL));
  LevelSettings typed{-5, 300, 200}, seen;
  wxTEST_DIALOG(peer.OnLevel(), AnswerLevel(wxID_OK, &typed, &seen));
  EXPECT_EQ(seen.gainDb, -4.5);
  wxTEST_DIALOG(peer.OnLevel(), AnswerLevel(wxID_CANCEL, nullptr, &seen));
  EXPECT_EQ(seen.gainDb, -4.5) << "kept";
  EXPECT_EQ(seen.fadeOutMs, 200);

  Select(1000, 3500);
  dialogs.saveAnswers.push_back(folder.File("level-cut.mp3"));
  BoxRecorder boxes;
  peer.OnCut();
  const CutOptions options = seen.AddedTo(CutOptions());
  ASSERT_EQ(CutToFile(source, folder.File("reference.mp3"), 1000, 3500, nullptr, options), 1);
  EXPECT_EQ(ReadFileBytes(folder.File("level-cut.mp3")), ReadFileBytes(folder.File("reference.mp3")));

  typed.gainDb = 30;
  wxTEST_DIALOG(peer.OnLevel(), AnswerLevel(wxID_OK, &typed, &seen));
  dialogs.saveAnswers.push_back(folder.File("loud.mp3"));
  boxes.texts.clear();
  peer.OnCut();
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0].rfind(std::string(apptext::kGainWouldClip) + " +", 0), 0u) << boxes.texts[0];
  EXPECT_FALSE(FileExists(folder.File("loud.mp3")));
}

// Layer II has no global_gain: the item is greyed and the cut goes without
// the level set for other files.
TEST_F(CutterDlgTest, LevelItemIsGreyedForLayerTwo) {
  const std::string source = folder.File("two.mp3");
  ASSERT_TRUE(WriteFileBytes(source, LayerTwoFrames(200)));
  OpenReady(MakeMp3("three.mp3", 3));
  LevelSettings typed{-6, 0, 0}, seen;
  wxTEST_DIALOG(peer.OnLevel(), AnswerLevel(wxID_OK, &typed, &seen));
  BoxRecorder boxes;
  boxes.answers.push_back(IDYES);  // close the loaded file
  LoadThroughOpenDialog(source);
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_FALSE(dialog->GetMenuBar()->IsEnabled(ID_FILE_LEVEL));
  Select(1000, 3000);
  dialogs.saveAnswers.push_back(folder.File("two-cut.mp3"));
  peer.OnCut();
  ASSERT_EQ(CutToFile(source, folder.File("two-plain.mp3"), 1000, 3000), 1);
  EXPECT_EQ(ReadFileBytes(folder.File("two-cut.mp3")), ReadFileBytes(folder.File("two-plain.mp3")));
  peer.CloseFile();
  EXPECT_TRUE(dialog->GetMenuBar()->IsEnabled(ID_FILE_LEVEL)) << "for the next file";
}
