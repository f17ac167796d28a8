#include "mp3/TempFileName.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "mp3/PathParts.h"

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

}  // namespace

std::string SystemTempFolder() {
  const char* env = std::getenv("TMPDIR");
  for (const std::string& candidate : {std::string(env ? env : ""), std::string("/tmp"),
                                      std::string("/var/tmp")}) {
    if (!candidate.empty() && UsableFolder(candidate)) return WithSlash(candidate);
  }
  return "./";
}

std::string MakeTempFileName(const std::string& given) { return MakeTempFileName(given, TickCount); }

std::string MakeTempFileName(const std::string& given, unsigned (*tick)()) {
  const std::string folder =
      !given.empty() && IsExistingFolder(given) ? WithSlash(given) : SystemTempFolder();
  char name[32];
  for (int n = 0; n < kAttempts; ++n) {
    std::snprintf(name, sizeof name, "t%02d%05x.tmp", n, tick() % kTickModulus);
    const std::string path = folder + name;
    if (IsExistingFile(path)) continue;
    // Exclusive create: a name another process took meanwhile counts as a
    // collision too.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      close(fd);
      return path;
    }
  }
  std::random_device rd;
  std::snprintf(name, sizeof name, "t%06x.tmp", static_cast<unsigned>(rd()) & 0xFFFFFF);
  const std::string last = UsableFolder("/var/tmp") ? std::string("/var/tmp/") : std::string("./");
  return last + name;
}
