#include "app/HelpPage.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/io/ExecutableFolder.h"

namespace {

constexpr char kHelpPagePath[] = "text/RECinfo.html";

BrowserLauncher& Launcher() {
  static BrowserLauncher launcher;
  return launcher;
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string FindHelpPage() {
  std::vector<std::filesystem::path> candidates;
  // The folder without its trailing '/', so that its parent is the one above.
  const std::filesystem::path exeDir = std::filesystem::path(ExecutableFolder()).parent_path();
  if (!exeDir.empty()) {
    candidates.push_back(exeDir / kHelpPagePath);
    candidates.push_back(exeDir.parent_path() / "share" / "padocut" / kHelpPagePath);
  }
  if (const char* source = std::getenv("PADOCUT_SOURCE_DIR"); source != nullptr && *source != '\0') {
    candidates.push_back(std::filesystem::path(source) / kHelpPagePath);
  }
#ifdef PADOCUT_BUILT_FROM
  candidates.push_back(std::filesystem::path(PADOCUT_BUILT_FROM) / kHelpPagePath);
#endif
  for (const auto& candidate : candidates) {
    if (IsFile(candidate)) return candidate.lexically_normal().string();
  }
  return std::string();
}

wxString HelpPageUrl() {
  const std::string path = FindHelpPage();
  if (path.empty()) return wxString();
  return wxFileName::FileNameToURL(wxFileName(wxString::FromUTF8(path)));
}

bool OpenUrlInBrowser(const wxString& url) {
  if (url.empty()) return false;
  if (Launcher()) return Launcher()(url);
  wxLogNull quiet;  // a missing browser is not reported
  return wxLaunchDefaultBrowser(url);
}

BrowserLauncher SetBrowserLauncher(BrowserLauncher launcher) {
  BrowserLauncher previous = std::move(Launcher());
  Launcher() = std::move(launcher);
  return previous;
}
