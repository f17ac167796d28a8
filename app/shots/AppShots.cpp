// padocut-app-shots: shows the real main window on a display (Xvfb in
// scripts/screenshots) and writes PNG files of it in its states into a
// folder: no file, analysing, ready with a selection (made with simulated
// clicks) and a play cursor, and the About box, in the language the locale
// variables choose (as the program does). The file it shows is encoded at
// run time.
//   padocut-app-shots OUTDIR
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <system_error>
#include <thread>

#include "app/AboutDlg.h"
#include "app/CutterDlg.h"
#include "app/CutterDlgPeer.h"
#include "app/DialogLayout.h"
#include "app/FileDialogs.h"
#include "mp3/Mp3Reader.h"
#include "pipeline/ArwMan.h"
#include "platform/ResourceIds.h"
#include "platform/wx/Translation.h"
#include "tools/SignalEncoder.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

constexpr int kWatchdogSeconds = 120;

// Decodes slowly enough that the analysis can be caught half-way.
class SlowReader : public CMp3Reader {
 public:
  int Read(void* buffer, int length) override {
    if (slow) std::this_thread::sleep_for(std::chrono::microseconds(1500));
    return CMp3Reader::Read(buffer, length);
  }
  bool slow = true;
};

class NoDialogs : public IFileDialogs {
 public:
  bool AskOpenPath(wxWindow*, const std::string&, std::string*) override { return false; }
  bool AskSavePath(wxWindow*, const std::string&, const std::string&, std::string*) override { return false; }
  bool AskFolder(wxWindow*, const std::string&, const std::string&, std::string*) override { return false; }
};

void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    wxTheApp->Yield(true);
    wxMilliSleep(5);
  }
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    wxTheApp->Yield(true);
    wxMilliSleep(5);
  }
  return true;
}

// The client area's pixels as shown on screen.
wxBitmap GrabClient(wxWindow* window) {
  const wxSize size = window->GetClientSize();
  wxBitmap bitmap(std::max(size.x, 1), std::max(size.y, 1), 24);
  wxMemoryDC memory(bitmap);
  wxClientDC client(window);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  return bitmap;
}

// The screen's pixels over the window's client area: what a person sees
// there, popups over the window included.
wxBitmap GrabScreen(wxWindow* window) {
  const wxRect rect(window->ClientToScreen(wxPoint(0, 0)), window->GetClientSize());
  wxBitmap bitmap(std::max(rect.width, 1), std::max(rect.height, 1), 24);
  wxMemoryDC memory(bitmap);
  wxScreenDC screen;
  memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
  memory.SelectObject(wxNullBitmap);
  return bitmap;
}

// The window as a person sees it below its title bar: the menu bar (for a
// frame) above the client area (as on the screen, when `screen`).
bool Shoot(wxWindow* window, const std::string& folder, const char* name, bool screen = false) {
  Pump(300);
  const wxBitmap client = screen ? GrabScreen(window) : GrabClient(window);
  wxBitmap whole = client;
  auto* frame = dynamic_cast<wxFrame*>(window);
  if (frame && frame->GetMenuBar()) {
    const wxBitmap menu = GrabClient(frame->GetMenuBar());
    whole = wxBitmap(client.GetWidth(), menu.GetHeight() + client.GetHeight(), 24);
    wxMemoryDC memory(whole);
    memory.DrawBitmap(menu, 0, 0);
    memory.DrawBitmap(client, 0, menu.GetHeight());
    memory.SelectObject(wxNullBitmap);
  }
  const std::string path = folder + "/" + name;
  const bool saved = whole.ConvertToImage().SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", path.c_str());
  return saved;
}

class ShotsApp : public wxApp {
 public:
  bool OnInit() override {
    if (argc < 2) {
      std::fprintf(stderr, "usage: padocut-app-shots OUTDIR\n");
      return false;
    }
    m_strFolder = argv[1].utf8_string();
    wxInitAllImageHandlers();
    delete wxLog::SetActiveTarget(new wxLogStderr);
    SetMessageDlgIcon(IDI_APP);
    UseWindowLanguage();
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::seconds(kWatchdogSeconds));
      std::fprintf(stderr, "padocut-app-shots: took too long\n");
      std::_Exit(2);
    }).detach();
    CallAfter(&ShotsApp::Run);
    return true;
  }

  int OnRun() override {
    wxApp::OnRun();
    return m_bFailed ? 1 : 0;
  }

 private:
  void Run() {
    std::filesystem::create_directories(m_strFolder);
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "padocut-shots";
    std::filesystem::create_directories(work);
    const std::string file = (work / "파도소리.mp3").string();
    EncodeSpec spec;
    spec.seconds = 40;
    if (!WriteFileBytes(file, EncodeMp3(spec))) { Fail("cannot write the sample"); return; }

    CutterDlgOptions options;
    options.fileDialogs = &m_dialogs;
    options.makeReader = [this] { return m_pReader = new SlowReader; };
    auto* dialog = new CCutterDlg(options);
    if (!dialog->CreateDialog()) { Fail("cannot create the window"); return; }
    CutterDlgPeer peer(dialog);
    dialog->Move(10, 10);
    dialog->Show();
    Pump(500);
    if (!Shoot(dialog, m_strFolder, "app-no-file.png")) Fail("no-file");

    dialog->SetSourcePath(file);
    peer.OnAnalyse();
    PumpUntil([&] { return peer.Find<wxGauge>(IDC_PROGRESS)->GetValue() > 12000; }, 20000);
    peer.ArwMan()->Pause();
    if (!Shoot(dialog, m_strFolder, "app-analysing.png")) Fail("analysing");
    m_pReader->slow = false;
    peer.ArwMan()->Resume();
    if (!PumpUntil([&] { return peer.State().workState == STATE_READY; }, 30000)) { Fail("no READY"); return; }
    if (!Shoot(dialog, m_strFolder, "app-ready.png")) Fail("ready");

    // The selection is made as a user makes it: a left click at its start,
    // a right click at its end (the first click also takes the hint away).
    CSpectrumCtrl* view = peer.Find<CSpectrumCtrl>(IDC_SPECTRUM);
    const int middle = view->GetClientSize().y / 2;
    auto screen = [&](int timeMs) { return view->ClientToScreen(wxPoint(view->TimeToX(timeMs), middle)); };
    wxUIActionSimulator mouse;
    mouse.MouseMove(screen(8000));
    mouse.MouseClick(wxMOUSE_BTN_LEFT);
    mouse.MouseMove(screen(23500));
    mouse.MouseClick(wxMOUSE_BTN_RIGHT);
    const int endMs = view->XToTime(view->TimeToX(23500));
    if (!PumpUntil([&] { return view->GetSelStart() >= 0 && view->GetSelEnd() == endMs; }, 5000)) {
      Fail("the simulated clicks made no selection");
    }
    mouse.MouseMove(screen(30000));
    Pump(200);
    peer.OnPlay();
    Pump(1200);
    if (!peer.State().playbackTimerRunning) view->SetPlayPosition(9200);  // no audio output here
    if (!Shoot(dialog, m_strFolder, "app-ready-selection-playing.png")) Fail("playing");
    peer.OnStop();

    CAboutDlg* about = new CAboutDlg(dialog);
    about->Show();
    if (!Shoot(about, m_strFolder, "app-about.png")) Fail("about");
    about->Destroy();

    ShootPrecisionEditing(dialog, peer);
    dialog->Close(true);
    std::error_code error;
    std::filesystem::remove_all(work, error);
  }

  // The window maximised, deep in a zoom with the frame grid, and a typed
  // time refused: all made with keys and clicks, as a user makes them.
  void ShootPrecisionEditing(CCutterDlg* dialog, CutterDlgPeer& peer) {
    CSpectrumCtrl* view = peer.Find<CSpectrumCtrl>(IDC_SPECTRUM);
    dialog->Maximize();
    Pump(300);
    if (!dialog->IsMaximized() || dialog->GetSize().x < 1000) {
      // No window manager (Xvfb): the work area's size instead.
      dialog->SetSize(wxDisplay(dialog).GetClientArea());
    }
    dialog->Raise();
    if (!PumpUntil([&] { return view->GetSize().x > 1000; }, 5000)) Fail("no larger window");
    wxUIActionSimulator keys;
    keys.Char('=');  // zoom in once around the middle
    Pump(200);
    if (!Shoot(dialog, m_strFolder, "app-maximised-zoomed.png")) Fail("maximised");

    if (!PumpUntil([&] { return view->GetModel().GetFrameTimes().size() > 100; }, 10000)) Fail("no frame times");
    view->ZoomTo(view->GetSelStart() - 120, view->GetSelStart() + 180);
    keys.Char(WXK_RIGHT);  // the start one frame on: its marker is highlighted
    Pump(300);
    if (!Shoot(dialog, m_strFolder, "app-deep-zoom-frames.png")) Fail("deep zoom");

    keys.Char('0');
    keys.Char('2', wxMOD_CONTROL);
    if (!PumpUntil([&] { return peer.State().timeEdge == 1; }, 5000)) Fail("no time field");
    keys.Text("0:05");
    keys.Char(WXK_RETURN);  // an end before the start: refused, with the reason
    Pump(300);
    if (!Shoot(dialog, m_strFolder, "app-time-editing.png", true)) Fail("time editing");
    keys.Char(WXK_ESCAPE);
    Pump(100);
  }

  bool Fail(const char* what) {
    std::fprintf(stderr, "padocut-app-shots: %s\n", what);
    m_bFailed = true;
    if (wxWindow* top = GetTopWindow()) top->Close(true);
    return false;
  }

  std::string m_strFolder;
  NoDialogs m_dialogs;
  SlowReader* m_pReader = nullptr;
  bool m_bFailed = false;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ShotsApp);

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return wxEntry(argc, argv);
}
