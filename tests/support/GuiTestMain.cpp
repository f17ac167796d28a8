// The main of every GUI test executable: starts a wxApp without a main
// window and with the user's locale (as the program does), makes wx asserts
// test failures and wx log messages lines on stderr, then runs the tests. A
// watchdog ends the process if the tests as a whole take too long, so a
// stuck test never hangs the suite.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/uilocale.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr int kWatchdogSeconds = 400;

class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

void FailOnAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                  const wxString& message) {
  ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion in " << function.utf8_str() << ": "
                                        << condition.utf8_str() << " " << message.utf8_str();
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(kWatchdogSeconds));
    std::fprintf(stderr, "GUI tests: watchdog expired, aborting\n");
    std::_Exit(3);
  }).detach();

  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "GUI tests: cannot start wxWidgets (no display?)\n");
    return 1;
  }
  wxSetAssertHandler(FailOnAssert);
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxInitAllImageHandlers();
  if (!wxTheApp->CallOnInit()) return 1;
  wxUILocale::UseDefault();

  const int status = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
