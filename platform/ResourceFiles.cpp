// Locating the res/ folder and naming its files.
#include "platform/ResourceFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/ResourceIds.h"
#include "platform/io/ExecutableFolder.h"

namespace {

struct ResourceEntry {
  int id;
  const char* fileName;
};

// Resource numbers of the window's layout and the files that hold them.
constexpr ResourceEntry kResources[] = {
    {IDI_APP, "padocut-32.png"},
    {IDB_CUT, "cut.bmp"},                  // 29 x 18
    {IDB_CANCEL, "cancel.bmp"},            // 10 x 10
    {IDB_PLAY, "play.bmp"},                // 12 x 12
    {IDB_STOP, "stop.bmp"},                // 11 x 11
    {IDB_PAUSE, "pause.bmp"},              // 12 x 11
    {IDB_STOP_DISABLED, "stop_disabled.bmp"},
    {IDB_CUT_DISABLED, "cut_disabled.bmp"},
    {IDB_PLAY_DISABLED, "play_disabled.bmp"},
    {IDB_PAUSE_DISABLED, "pause_disabled.bmp"},
    {IDB_ABOUT_PICTURE, "about_picture.bmp"},
    {IDB_ABOUT, "about.bmp"},              // 9 x 11
    {IDB_ABOUT_DISABLED, "about_disabled.bmp"},
};

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// The executable's folder without the trailing '/', so that its parent is
// the folder above it.
std::filesystem::path ExecutableDir() { return std::filesystem::path(ExecutableFolder()).parent_path(); }

}  // namespace

std::string FindResourceDir() {
  std::filesystem::path candidates[4];
  const std::filesystem::path exeDir = ExecutableDir();
  if (!exeDir.empty()) {
    candidates[0] = exeDir / "res";
    candidates[1] = exeDir.parent_path() / "share" / "padocut" / "res";
  }
  if (const char* source = std::getenv("PADOCUT_SOURCE_DIR"); source != nullptr && *source != '\0') {
    candidates[2] = std::filesystem::path(source) / "res";
  }
#ifdef PADOCUT_BUILT_FROM
  candidates[3] = std::filesystem::path(PADOCUT_BUILT_FROM) / "res";
#endif
  for (const auto& candidate : candidates) {
    if (!candidate.empty() && IsFolder(candidate)) return candidate.string() + "/";
  }
  return std::string();
}

std::string FindResourceFile(const std::string& name) {
  if (name.empty()) return std::string();
  const std::string dir = FindResourceDir();
  if (dir.empty()) return std::string();
  std::error_code error;
  const std::string path = dir + name;
  return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

std::string ResourceFileName(int resourceId) {
  for (const auto& entry : kResources) {
    if (entry.id == resourceId) return entry.fileName;
  }
  return std::string();
}

std::string FindResourceFileById(int resourceId) {
  return FindResourceFile(ResourceFileName(resourceId));
}

std::string FindPluginFolder(const std::string& fileName) {
  // Where an installed program keeps its plug-in, from the program's folder.
  static const char kInstalledPluginFolder[] = "../lib/padocut/";
  const std::string programDir = ExecutableFolder().empty() ? std::string("./") : ExecutableFolder();
  auto holds = [&fileName](const std::string& folder) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder + fileName, error);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
  };
  if (holds(programDir)) return programDir;
  const std::string installed = programDir + kInstalledPluginFolder;
  return holds(installed) ? installed : programDir;
}
