#include "mp3/TempFileName.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "mp3/PathParts.h"
#include "platform/io/CreatedFile.h"

namespace {

constexpr int kAttempts = 100;
constexpr unsigned kTickModulus = 0xFFFFF;

unsigned TickCount() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<unsigned>(ms.count() % kTickModulus);
}

bool UsableFolder(const std::string& folder) {
  return IsExistingFolder(folder) && access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// The file, created empty and exclusively, held open.
std::optional<CreatedFile> CreateTempFile(const std::string& given, unsigned (*tick)()) {
  const std::string folder =
      !given.empty() && IsExistingFolder(given) ? WithSlash(given) : SystemTempFolder();
  auto tickName = [&](int attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "t%02d%05x.tmp", attempt, tick() % kTickModulus);
    return folder + name;
  };
  if (std::optional<CreatedFile> file = CreateFirstFree(tickName, kAttempts)) return file;
  // Last resort: random names, created exclusively like the others.
  const std::string last = UsableFolder("/var/tmp") ? std::string("/var/tmp/") : std::string("./");
  return CreateFirstFree([&](int) { return last + "t" + RandomHex(6) + ".tmp"; }, kAttempts);
}

}  // namespace

std::string SystemTempFolder() {
  const char* env = std::getenv("TMPDIR");
  for (const std::string& candidate : {std::string(env ? env : ""), std::string("/tmp"),
                                      std::string("/var/tmp")}) {
    if (!candidate.empty() && UsableFolder(candidate)) return WithSlash(candidate);
  }
  return "./";
}

std::string MakeTempFileName(const std::string& folder) { return MakeTempFileName(folder, TickCount); }

std::string MakeTempFileName(const std::string& folder, unsigned (*tick)()) {
  std::optional<CreatedFile> file = CreateTempFile(folder, tick);
  if (!file) return std::string();
  file->Keep();
  return file->Path();
}
