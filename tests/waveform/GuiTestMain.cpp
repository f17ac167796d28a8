// Entry point of the GUI test executable: a wxApp without a main window,
// asserts reported as test failures instead of dialogs, log to stderr, and
// an alarm so a stuck test ends the process instead of hanging the suite.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/uilocale.h>

#include <clocale>
#include <cstdio>

namespace {

constexpr unsigned kSafetySeconds = 240;

void ReportAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE() << "wx assert " << file.utf8_string() << ":" << line << " in " << func.utf8_string() << ": "
                << cond.utf8_string() << " " << msg.utf8_string();
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  alarm(kSafetySeconds);
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "cannot start wxWidgets (no display?)\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  wxUILocale::UseDefault();
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxSetAssertHandler(ReportAssert);
  wxInitAllImageHandlers();
  const int result = RUN_ALL_TESTS();
  wxEntryCleanup();
  return result;
}
