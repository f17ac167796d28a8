#include "cli/SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/Texts.h"
#include "mp3/Mp3Reader.h"
#include "platform/io/UniqueFd.h"

std::optional<std::string> UnreadableReason(const std::string& path) {
  // O_NONBLOCK: a FIFO must not hold the check until a writer comes.
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info;
  if (fd.Get() < 0 || fstat(fd.Get(), &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(info.st_mode)) return clitext::kNotARegularFile;
  return std::nullopt;
}

std::optional<std::string> OpenMpegSource(const std::string& path, CMp3Reader& reader) {
  if (auto why = UnreadableReason(path)) return why;
  if (!reader.Open(path.c_str(), nullptr, nullptr, nullptr)) return clitext::kNoMpegFrames;
  return std::nullopt;
}
