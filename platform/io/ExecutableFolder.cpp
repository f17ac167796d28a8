#include "platform/io/ExecutableFolder.h"

#include <filesystem>
#include <system_error>

const std::string& ExecutableFolder() {
  static const std::string folder = [] {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !exe.has_parent_path()) return std::string();
    std::string text = exe.parent_path().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
  }();
  return folder;
}
