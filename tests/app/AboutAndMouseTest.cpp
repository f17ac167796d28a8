// The About box (from the menu and from the picture button), its help page
// button, and the time labels following the mouse over the waveform.
#include <wx/button.h>
#include <wx/filename.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "app/AboutDlg.h"
#include "app/DialogLayout.h"
#include "app/HelpPage.h"
#include "platform/FormatTime.h"
#include "tests/app/AppTestSupport.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

CAboutDlg* FindAboutBox() {
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* about = dynamic_cast<CAboutDlg*>(window); about && about->IsModal()) return about;
  }
  return nullptr;
}

}  // namespace

TEST_F(CutterDlgTest, AboutBoxOpensFromMenuAndButtonAndOpensTheHelpPage) {
  Open();
  std::vector<wxString> launched;
  BrowserLauncher previous = SetBrowserLauncher([&](const wxString& url) {
    launched.push_back(url);
    return true;
  });
  int shown = 0;
  std::string caption;
  // Answers the box from inside its modal loop.
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      CAboutDlg* about = FindAboutBox();
      if (!about) return;
      timer.Stop();
      ++shown;
      caption = about->GetTitle().utf8_string();
      wxCommandEvent help(wxEVT_BUTTON, IDC_HELP_PAGE);
      about->FindWindow(IDC_HELP_PAGE)->GetEventHandler()->ProcessEvent(help);
      EXPECT_TRUE(about->IsModal()) << "the box stays open";
      about->EndModal(wxID_OK);
  });
  auto answer = [&] { timer.Start(20); };
  answer();
  wxCommandEvent menu(wxEVT_MENU, ID_APP_ABOUT);
  dialog->ProcessWindowEvent(menu);
  EXPECT_EQ(shown, 1);
  answer();
  wxCommandEvent button(wxEVT_BUTTON, IDC_ABOUT);
  dialog->ProcessWindowEvent(button);  // posts the menu command
  EXPECT_TRUE(PumpUntil([&] { return shown == 2; }, 5000));
  SetBrowserLauncher(previous);

  EXPECT_EQ(caption, apptext::kCaption);
  ASSERT_EQ(launched.size(), 2u);
  EXPECT_TRUE(launched[0].StartsWith("file://"));
  EXPECT_TRUE(launched[0].EndsWith("text/RECinfo.html"));
  const wxString path = wxFileName::URLToFileName(launched[0]).GetFullPath();
  const std::vector<uint8_t> page = ReadFileBytes(path.utf8_string());
  ASSERT_FALSE(page.empty());
  EXPECT_NE(std::string(page.begin(), page.end()).find(apptext::kCaption), std::string::npos);
}

TEST_F(CutterDlgTest, SelectionLabelsFollowTheMouse) {
  OpenReady(MakeMp3("mouse.mp3", 4));
  dialog->Raise();
  PumpFor(100);
  CSpectrumCtrl* view = View();
  const int y = view->GetClientSize().y / 2;
  auto screen = [&](int x) { return view->ClientToScreen(wxPoint(x, y)); };
  const int x1 = view->GetClientSize().x / 5;
  const int x2 = view->GetClientSize().x * 3 / 5;
  wxUIActionSimulator sim;
  sim.MouseMove(screen(x1));
  ASSERT_TRUE(PumpUntil([&] { return LabelOf(Label(IDC_MOUSE_TIME)) == FormatTime(view->XToTime(x1)); }, 3000))
      << LabelOf(Label(IDC_MOUSE_TIME));
  sim.MouseClick(wxMOUSE_BTN_LEFT);
  ASSERT_TRUE(PumpUntil([&] { return view->GetSelStart() == view->XToTime(x1); }, 3000));
  sim.MouseMove(screen(x2));
  sim.MouseClick(wxMOUSE_BTN_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return view->GetSelEnd() == view->XToTime(x2); }, 3000));
  EXPECT_TRUE(PumpUntil([&] { return LabelOf(Label(IDC_END_TIME)) == FormatTime(view->XToTime(x2)); }, 3000));
  EXPECT_EQ(LabelOf(Label(IDC_START_TIME)), FormatTime(view->XToTime(x1)));
  EXPECT_EQ(LabelOf(Label(IDC_MOUSE_TIME)), FormatTime(view->XToTime(x2)));
  sim.MouseMove(wxPoint(1250, 1000));
  PumpFor(30);
}
