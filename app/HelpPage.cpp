#include "app/HelpPage.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/io/ExecutableFolder.h"
#include "platform/wx/Translation.h"

namespace {

constexpr char kHelpPagePath[] = "text/RECinfo.html";
constexpr char kEnglishHelpPagePath[] = "text/RECinfo.en.html";

BrowserLauncher& Launcher() {
  static BrowserLauncher launcher;
  return launcher;
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// The folders that may hold text/, in the order they are looked at.
std::vector<std::filesystem::path> HelpFolders() {
  std::vector<std::filesystem::path> folders;
  // The folder without its trailing '/', so that its parent is the one above.
  const std::filesystem::path exeDir = std::filesystem::path(ExecutableFolder()).parent_path();
  if (!exeDir.empty()) {
    folders.push_back(exeDir);
    folders.push_back(exeDir.parent_path() / "share" / "padocut");
  }
  if (const char* source = std::getenv("PADOCUT_SOURCE_DIR"); source != nullptr && *source != '\0') {
    folders.push_back(source);
  }
#ifdef PADOCUT_BUILT_FROM
  folders.push_back(PADOCUT_BUILT_FROM);
#endif
  return folders;
}

}  // namespace

std::string FindHelpPage() {
  std::vector<const char*> pages;
  if (CurrentWindowLanguage() == UserLanguage::English) pages.push_back(kEnglishHelpPagePath);
  pages.push_back(kHelpPagePath);
  for (const char* page : pages) {
    for (const auto& folder : HelpFolders()) {
      if (IsFile(folder / page)) return (folder / page).lexically_normal().string();
    }
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
