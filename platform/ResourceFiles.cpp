// Locating the res/ folder and naming its files.
#include "platform/ResourceFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/io/ExecutableFolder.h"

namespace {

struct ResourceEntry {
  int id;
  const char* fileName;
};

// Resource numbers of the window's layout and the files that hold them.
constexpr ResourceEntry kResources[] = {
    {128, "padocut-32.png"},        // application icon (32 x 32)
    {129, "cut.bmp"},               // cut glyph, 29 x 18
    {130, "cancel.bmp"},            // cancel glyph, 10 x 10 (also its disabled form)
    {131, "play.bmp"},              // play glyph, 12 x 12
    {132, "stop.bmp"},              // stop glyph, 11 x 11
    {133, "pause.bmp"},             // pause glyph, 12 x 11
    {135, "stop_disabled.bmp"},
    {136, "cut_disabled.bmp"},
    {137, "play_disabled.bmp"},
    {138, "pause_disabled.bmp"},
    {142, "about_picture.bmp"},     // picture of the About box
    {143, "about.bmp"},             // About glyph, 9 x 11
    {144, "about_disabled.bmp"},
};

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

std::string FindResourceDir() {
  std::filesystem::path candidates[4];
  // The folder without its trailing '/', so that its parent is the one above.
  const std::filesystem::path exeDir = std::filesystem::path(ExecutableFolder()).parent_path();
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
