// The main window from start-up to STATE_READY: the command line, the
// layout, the work states, the menu, keys, dropped files, opening and
// closing files, and closing the window.
#include <sys/stat.h>
#include <wx/filefn.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "app/CutterApp.h"
#include "app/DialogLayout.h"
#include "mp3/Mp3Reader.h"
#include "pipeline/ArwMan.h"
#include "pipeline/ParallelMp3Reader.h"
#include "platform/FormatTime.h"
#include "tests/app/AppTestSupport.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/skin/SkinButton.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

wxArrayString Files(std::initializer_list<std::string> paths) {
  wxArrayString files;
  for (const std::string& path : paths) files.Add(wxString::FromUTF8(path));
  return files;
}

bool CloseItemEnabled(CCutterDlg* dialog) { return dialog->GetMenuBar()->IsEnabled(ID_FILE_CLOSE); }

bool TransportEnabled(const CutterDlgPeer& peer) {
  bool all = true;
  for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_CUT}) {
    const CSkinButton* button = peer.Find<CSkinButton>(id);
    all = all && button->IsShown() && button->IsEnabled();
  }
  return all;
}

}  // namespace

TEST_F(CutterDlgTest, FileArgumentIsAnalysedThenReady) {
  const std::string file = MakeMp3("song.mp3", 4);
  reader = nullptr;
  CutterDlgOptions options;
  options.makeReader = [this] {
    reader = new TestReader;
    reader->delayMicroseconds = 3000;  // slow enough to see the analysis
    return reader;
  };
  Open({"padocut", file}, options);
  ASSERT_TRUE(WaitForState(STATE_ANALYSING, 5000));
  EXPECT_EQ(peer.State().sourcePath, file);
  EXPECT_TRUE(Progress()->IsShown());
  EXPECT_TRUE(Button(IDC_CANCEL)->IsShown());
  EXPECT_FALSE(Button(IDC_PLAY)->IsShown());
  EXPECT_FALSE(Label(IDC_START_TIME)->IsShown());
  EXPECT_TRUE(FileNameBox()->IsShown());
  EXPECT_EQ(FileNameBox()->GetValue().utf8_string(), file);
  EXPECT_TRUE(peer.State().progressTimerRunning);
  EXPECT_TRUE(CloseItemEnabled(dialog));
  EXPECT_TRUE(PumpUntil([&] { return Progress()->GetValue() > 0; }, 10000)) << "the bar moves";
  reader->delayMicroseconds = 0;

  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_FALSE(Progress()->IsShown());
  EXPECT_EQ(Progress()->GetValue(), Progress()->GetRange());
  EXPECT_FALSE(Button(IDC_CANCEL)->IsShown());
  EXPECT_TRUE(TransportEnabled(peer));
  EXPECT_FALSE(peer.State().progressTimerRunning);
  for (wxStaticText* label : {Label(IDC_START_TIME), Label(IDC_END_TIME), Label(IDC_MOUSE_TIME)}) {
    EXPECT_TRUE(label->IsShown() && label->IsEnabled());
    EXPECT_EQ(LabelOf(label), "00:00:00.000");
  }
  const SpectrumModel& model = View()->GetModel();
  EXPECT_EQ(model.GetState(), SpectrumState::Ready);
  EXPECT_NEAR(model.GetDuration(), 4000, 60);
  EXPECT_GE(model.GetFilledColumns(), model.GetColumnCount() - 1) << "the whole waveform is drawn";
  int drawn = 0;
  for (int column = 0; column < model.GetColumnCount(); ++column) {
    drawn += model.GetColumnTop(column) != model.GetColumnBottom(column);
  }
  EXPECT_GT(drawn, model.GetColumnCount() / 2);
}

// The window's own analysis reader decodes on several threads; its
// columns are those the sequential reader's PCM gives, a pixel apart at most.
TEST_F(CutterDlgTest, ParallelAnalysisDrawsTheSequentialWaveform) {
  const std::string file = MakeMp3("long.mp3", 20);
  CutterDlgOptions options;
  options.makeAnalysisReader = [] { return new CParallelMp3Reader(2); };
  OpenReady(file, options);
  const SpectrumModel& model = View()->GetModel();
  SpectrumModel sequential;
  sequential.Attach(model.GetClientWidth(), model.GetClientHeight());
  ASSERT_TRUE(sequential.BeginAnalysis(model.GetDuration(), model.GetSampleRate(), 16, model.GetChannels()));
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(file.c_str(), nullptr, nullptr, nullptr), 1);
  char pcm[8192];
  for (int n; (n = reader.Read(pcm, sizeof pcm)) > 0;) sequential.AddPcm(pcm, n);
  ASSERT_EQ(model.GetFilledColumns(), model.GetColumnCount());
  EXPECT_EQ(sequential.GetFilledColumns(), model.GetFilledColumns());
  for (int column = 0; column < model.GetColumnCount(); ++column) {
    EXPECT_NEAR(model.GetColumnTop(column), sequential.GetColumnTop(column), 1) << column;
    EXPECT_NEAR(model.GetColumnBottom(column), sequential.GetColumnBottom(column), 1) << column;
  }
}

TEST_F(CutterDlgTest, MissingOrUnreadableArgumentOpensAnEmptyWindow) {
  Open({"padocut", folder.File("missing.mp3")});
  PumpFor(200);
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
  EXPECT_TRUE(peer.State().sourcePath.empty());
  EXPECT_FALSE(CloseItemEnabled(dialog));
  EXPECT_FALSE(FileNameBox()->IsShown());
  for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_CUT}) {
    EXPECT_TRUE(Button(id)->IsShown());
    EXPECT_FALSE(Button(id)->IsEnabled());
  }
  EXPECT_EQ(LabelOf(Label(IDC_START_TIME)), "00:00:00.000");

  Open({"padocut", folder.Path()});  // a folder is not a file
  PumpFor(100);
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
  Open({"padocut"});
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
}

TEST_F(CutterDlgTest, RelativeArgumentBecomesAFullPath) {
  MakeMp3("rel.mp3", 2);
  const std::string cwd = wxGetCwd().utf8_string();
  ASSERT_TRUE(wxSetWorkingDirectory(wxString::FromUTF8(folder.Path())));
  CCutterDlg probe;
  EXPECT_TRUE(ParseCommandLinePath({"padocut", "rel.mp3"}, probe));
  wxSetWorkingDirectory(wxString::FromUTF8(cwd));
  EXPECT_EQ(CutterDlgPeer(&probe).State().sourcePath, folder.File("rel.mp3"));
  EXPECT_EQ(CutterDlgPeer(&probe).State().lastFolder, folder.Path() + "/");
}

TEST_F(CutterDlgTest, ControlsSitAtTheirTemplatePlacesAtTheSmallestSize) {
  Open();
  const DialogTemplate& layout = MainDialogTemplate();
  EXPECT_EQ(View()->GetRect(), DialogRectToPixels(dialog, layout, IDC_SPECTRUM));
  EXPECT_EQ(Button(IDC_CUT)->GetRect(), DialogRectToPixels(dialog, layout, IDC_CUT));
  EXPECT_EQ(Button(IDC_CANCEL)->GetRect(), Button(IDC_CUT)->GetRect());
  EXPECT_EQ(Progress()->GetRect(), DialogRectToPixels(dialog, layout, IDC_PROGRESS));
  EXPECT_EQ(dialog->GetClientSize(), DialogSizeToPixels(dialog, layout));
  EXPECT_EQ(dialog->GetMinSize(), dialog->GetSize());
  EXPECT_EQ(dialog->GetMaxSize(), wxDefaultSize);
  EXPECT_TRUE(dialog->HasFlag(wxRESIZE_BORDER));
  EXPECT_EQ(dialog->GetTitle().utf8_string(), apptext::kCaption);
  // The view's columns are its final width.
  EXPECT_EQ(View()->GetModel().GetColumnCount(), View()->GetClientSize().x);
  // The three captions are bold, the time labels are not.
  EXPECT_EQ(dialog->FindWindow(IDC_START_CAPTION)->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_EQ(dialog->FindWindow(IDC_MOUSE_CAPTION)->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_NE(Label(IDC_START_TIME)->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
  for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_CUT, IDC_CANCEL, IDC_ABOUT}) {
    EXPECT_TRUE(Button(id)->HasGlyphs()) << id;
  }
}

TEST_F(CutterDlgTest, CloseMenuItemIsGreyedExactlyWithoutAFile) {
  const std::string file = MakeMp3("a.mp3", 2);
  Open();
  EXPECT_FALSE(CloseItemEnabled(dialog));
  LoadThroughOpenDialog(file);
  EXPECT_TRUE(CloseItemEnabled(dialog));  // analysing
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_TRUE(CloseItemEnabled(dialog));
  // The menu's close command closes the file without a question when ready.
  BoxRecorder boxes;
  wxCommandEvent close(wxEVT_MENU, ID_FILE_CLOSE);
  dialog->ProcessWindowEvent(close);
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_FALSE(CloseItemEnabled(dialog));
  EXPECT_TRUE(peer.State().sourcePath.empty());
}

TEST_F(CutterDlgTest, EnterAndEscapeLeaveTheWindowOpen) {
  OpenReady(MakeMp3("keys.mp3", 2));
  dialog->Raise();
  FileNameBox()->SetFocus();
  PumpFor(50);
  // The window sees both keys first (and passes them on).
  auto keys = std::make_shared<std::vector<int>>();
  dialog->Bind(wxEVT_CHAR_HOOK, [keys](wxKeyEvent& event) {
    keys->push_back(event.GetKeyCode());
    event.Skip();
  });
  wxUIActionSimulator sim;
  sim.Char(WXK_ESCAPE);
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return keys->size() >= 2; }, 3000)) << "the keys did not reach the window";
  PumpFor(200);
  EXPECT_EQ(*keys, (std::vector<int>{WXK_ESCAPE, WXK_RETURN}));
  ASSERT_TRUE(wxTopLevelWindows.Find(dialog));
  EXPECT_TRUE(dialog->IsShown());
  EXPECT_EQ(peer.State().workState, STATE_READY);
}

TEST_F(CutterDlgTest, OpenWhileReadyAsksAndNoKeepsEverything) {
  const std::string first = MakeMp3("first.mp3", 2);
  const std::string second = MakeMp3("second.mp3", 3, 7);
  OpenReady(first);
  Select(500, 1500);
  {
    BoxRecorder boxes;  // answers No
    dialogs.openAnswers.push_back(second);
    EXPECT_FALSE(peer.OnOpenFile());
    EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kCloseCurrent});
  }
  EXPECT_TRUE(dialogs.openCalls.empty());
  EXPECT_EQ(peer.State().workState, STATE_READY);
  EXPECT_EQ(peer.State().sourcePath, first);
  EXPECT_EQ(View()->GetSelStart(), 500);

  {
    BoxRecorder boxes;
    boxes.yesNoDefault = IDYES;
    EXPECT_TRUE(peer.OnOpenFile());
  }
  ASSERT_EQ(dialogs.openCalls.size(), 1u);
  EXPECT_EQ(dialogs.openCalls[0].folder, folder.Path() + "/") << "starts in the last file's folder";
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_EQ(peer.State().sourcePath, second);
  EXPECT_NEAR(View()->GetModel().GetDuration(), 3000, 60);

  // Cancelling the open dialog leaves the file closed.
  BoxRecorder boxes;
  boxes.yesNoDefault = IDYES;
  EXPECT_FALSE(peer.OnOpenFile());
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
  EXPECT_TRUE(peer.State().sourcePath.empty());
}

TEST_F(CutterDlgTest, FirstOpenStartsInTheDocumentsFolder) {
  Open();
  peer.OnOpenFile();
  ASSERT_EQ(dialogs.openCalls.size(), 1u);
  EXPECT_EQ(dialogs.openCalls[0].folder, peer.State().defaultFolder);
  EXPECT_FALSE(peer.State().defaultFolder.empty());
}

TEST_F(CutterDlgTest, DroppedFilesOpenTheFirstMp3Only) {
  const std::string wav = folder.File("sound.wav");
  ASSERT_TRUE(WriteFileBytes(wav, {1, 2, 3}));
  const std::string upper = MakeMp3("LOUD.MP3", 2);
  const std::string other = MakeMp3("other.mp3", 3, 5);
  const std::string folderMp3 = folder.File("album.mp3");
  const std::string pipeMp3 = folder.File("pipe.mp3");
  ASSERT_TRUE(wxMkdir(wxString::FromUTF8(folderMp3)));
  ASSERT_EQ(mkfifo(pipeMp3.c_str(), 0600), 0);
  Open();
  BoxRecorder boxes;
  for (const std::string& ignored : {folder.File("gone.mp3"), wav, folderMp3, pipeMp3}) {
    peer.OnDropFiles(Files({ignored, other}));
  }
  PumpFor(100);
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE) << "missing, .wav and not regular files are ignored";
  EXPECT_TRUE(boxes.texts.empty()) << "silently";

  peer.OnDropFiles(Files({upper, other}));
  EXPECT_TRUE(boxes.texts.empty()) << "no question without a file";
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_EQ(peer.State().sourcePath, upper);
  EXPECT_EQ(peer.State().lastFolder, folder.Path() + "/");

  // With a file loaded: asked; No keeps it, Yes opens the dropped one.
  peer.OnDropFiles(Files({other}));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kCloseUnsaved});
  EXPECT_EQ(peer.State().sourcePath, upper);
  EXPECT_EQ(peer.State().workState, STATE_READY);
  boxes.answers.push_back(IDYES);
  peer.OnDropFiles(Files({other}));
  ASSERT_TRUE(WaitForState(STATE_READY));
  EXPECT_EQ(peer.State().sourcePath, other);
}

TEST_F(CutterDlgTest, ClosingWhileAnalysingAsksAndNoContinues) {
  const std::string file = MakeMp3("long.mp3", 6);
  CutterDlgOptions options;
  options.makeReader = [this] {
    reader = new TestReader;
    reader->delayMicroseconds = 4000;
    return reader;
  };
  Open({"padocut", file}, options);
  ASSERT_TRUE(WaitForState(STATE_ANALYSING));
  {
    BoxRecorder boxes;  // No
    dialog->Close();
    EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kStopWork});
  }
  PumpFor(50);
  ASSERT_TRUE(wxTopLevelWindows.Find(dialog)) << "the window stays";
  EXPECT_EQ(peer.State().workState, STATE_ANALYSING);
  EXPECT_FALSE(peer.ArwMan()->IsPaused()) << "the analysis goes on";
  const int readsBefore = reader->reads.load();
  EXPECT_TRUE(PumpUntil([&] { return reader->reads.load() > readsBefore + 5; }, 5000));

  // The cancel button asks the same; No continues, Yes closes the file.
  {
    BoxRecorder boxes;
    wxCommandEvent cancel(wxEVT_BUTTON, IDC_CANCEL);
    dialog->ProcessWindowEvent(cancel);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kStopWork});
    EXPECT_EQ(peer.State().workState, STATE_ANALYSING);
    boxes.answers.push_back(IDYES);
    dialog->ProcessWindowEvent(cancel);
  }
  EXPECT_EQ(peer.State().workState, STATE_NO_FILE);
  EXPECT_FALSE(peer.ArwMan()->IsRunning());
  EXPECT_FALSE(peer.State().progressTimerRunning);

  // Yes to the close question ends the window.
  peer.OnDropFiles(Files({file}));
  ASSERT_TRUE(WaitForState(STATE_ANALYSING));
  BoxRecorder boxes;
  boxes.yesNoDefault = IDYES;
  wxWindow* window = dialog;
  dialog->Close();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{apptext::kStopWork});
  EXPECT_TRUE(PumpUntil([window] { return !wxTopLevelWindows.Find(window); }, 5000));
  dialog = nullptr;
}

TEST_F(CutterDlgTest, ExitMenuClosesAReadyWindowWithoutAQuestion) {
  OpenReady(MakeMp3("exit.mp3", 2));
  BoxRecorder boxes;
  wxWindow* window = dialog;
  wxCommandEvent exit(wxEVT_MENU, ID_APP_EXIT);
  dialog->ProcessWindowEvent(exit);
  EXPECT_TRUE(PumpUntil([window] { return !wxTopLevelWindows.Find(window); }, 5000));
  EXPECT_TRUE(boxes.texts.empty());
  dialog = nullptr;
}
