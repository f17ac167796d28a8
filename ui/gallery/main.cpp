// padocut-gallery: hosts the registered pages in a notebook. Options:
//   --screenshots DIR   render every page's states to PNG files and exit
//                       (status 0 when every page succeeded)
//   --page TITLE        open on the page with that title
#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/notebook.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "ui/gallery/Gallery.h"

namespace {

// Screenshot runs must end even if a page hangs.
constexpr int kScreenshotWatchdogSeconds = 300;

class GalleryApp : public wxApp {
 public:
  bool OnInit() override {
    std::setlocale(LC_ALL, "");
    wxInitAllImageHandlers();
    delete wxLog::SetActiveTarget(new wxLogStderr);
    if (!wxApp::OnInit()) return false;

    m_pFrame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("padocut gallery"), wxDefaultPosition,
                           wxSize(900, 700));
    m_pNotebook = new wxNotebook(m_pFrame, wxID_ANY);
    for (const GalleryPage& page : GalleryPages()) {
      m_pNotebook->AddPage(page.create(m_pNotebook), page.title);
      if (page.title == m_strStartPage) m_pNotebook->SetSelection(m_pNotebook->GetPageCount() - 1);
    }
    m_pFrame->Move(20, 20);
    m_pFrame->Show();
    if (!m_strScreenshotDir.empty()) {
      std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(kScreenshotWatchdogSeconds));
        std::fprintf(stderr, "gallery: screenshots took too long\n");
        std::_Exit(2);
      }).detach();
      CallAfter(&GalleryApp::RunScreenshots);
    }
    return true;
  }

  void OnInitCmdLine(wxCmdLineParser& parser) override {
    wxApp::OnInitCmdLine(parser);
    parser.AddOption("", "screenshots", "write PNG files of every state into this folder");
    parser.AddOption("", "page", "open on this page");
  }

  bool OnCmdLineParsed(wxCmdLineParser& parser) override {
    parser.Found("screenshots", &m_strScreenshotDir);
    parser.Found("page", &m_strStartPage);
    return wxApp::OnCmdLineParsed(parser);
  }

  int OnRun() override {
    const int status = wxApp::OnRun();
    return m_bFailed ? 1 : status;
  }

 private:
  void RunScreenshots() {
    wxFileName::Mkdir(m_strScreenshotDir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    int total = 0;
    for (size_t i = 0; i < GalleryPages().size(); ++i) {
      const GalleryPage& page = GalleryPages()[i];
      m_pNotebook->SetSelection(i);
      GalleryPump(400);
      if (!page.screenshots) continue;
      const int written = page.screenshots(m_pNotebook->GetPage(i), m_strScreenshotDir);
      if (written < 0) {
        std::fprintf(stderr, "gallery: page \"%s\" failed\n", (const char*)page.title.utf8_str());
        m_bFailed = true;
      } else {
        total += written;
      }
    }
    std::printf("gallery: %d screenshots in %s\n", total, (const char*)m_strScreenshotDir.utf8_str());
    m_pFrame->Destroy();
  }

  wxFrame* m_pFrame = nullptr;
  wxNotebook* m_pNotebook = nullptr;
  wxString m_strScreenshotDir;
  wxString m_strStartPage;
  bool m_bFailed = false;
};

}  // namespace

wxIMPLEMENT_APP(GalleryApp);
