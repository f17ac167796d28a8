// padocut: the desktop program. Sets the locale (the toolkit does not) and
// ignores the signals a full disk or a closed pipe would raise, so that
// they come back as failed writes; then runs CCutterApp.
#include <wx/app.h>

#include <csignal>
#include <clocale>

#include "app/CutterApp.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  CCutterApp::SetArguments(argc, argv);
  return wxEntry(argc, argv);
}
