#include "platform/io/CreatedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <random>

namespace {

constexpr int kBesideAttempts = 100;

}  // namespace

CreatedFile::CreatedFile(UniqueFd fd, std::string path, dev_t device, ino_t inode)
    : m_fd(std::move(fd)), m_path(std::move(path)), m_device(device), m_inode(inode), m_owned(true) {}

CreatedFile::CreatedFile(CreatedFile&& other) noexcept
    : m_fd(std::move(other.m_fd)),
      m_path(std::move(other.m_path)),
      m_device(other.m_device),
      m_inode(other.m_inode),
      m_owned(other.m_owned) {
  other.m_owned = false;
}

CreatedFile& CreatedFile::operator=(CreatedFile&& other) noexcept {
  if (this != &other) {
    Remove();
    m_fd = std::move(other.m_fd);
    m_path = std::move(other.m_path);
    m_device = other.m_device;
    m_inode = other.m_inode;
    m_owned = other.m_owned;
    other.m_owned = false;
  }
  return *this;
}

std::optional<CreatedFile> CreatedFile::Adopt(UniqueFd fd, std::string path) {
  struct stat info;
  if (::fstat(fd.Get(), &info) != 0) {
    const int error = errno;
    ::unlink(path.c_str());  // made a moment ago by the caller, exclusively
    errno = error;
    return std::nullopt;
  }
  return CreatedFile(std::move(fd), std::move(path), info.st_dev, info.st_ino);
}

bool CreatedFile::StillOurs() const {
  struct stat info;
  return m_owned && ::lstat(m_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_dev == m_device &&
         info.st_ino == m_inode;
}

bool CreatedFile::MoveOnto(const std::string& target) {
  if (!StillOurs() || std::rename(m_path.c_str(), target.c_str()) != 0) return false;
  m_owned = false;
  return true;
}

void CreatedFile::Keep() {
  m_owned = false;
  m_fd.Close();
}

void CreatedFile::Remove() {
  if (StillOurs()) ::unlink(m_path.c_str());
  m_owned = false;
  m_fd.Close();
}

UniqueFd CreateExclusive(const std::string& path, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return UniqueFd(fd);
}

std::optional<CreatedFile> CreateFirstFree(const std::function<std::string(int attempt)>& nameAt, int attempts,
                                           mode_t mode) {
  errno = EEXIST;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    std::string path = nameAt(attempt);
    UniqueFd fd = CreateExclusive(path, mode);
    if (fd.IsOpen()) return CreatedFile::Adopt(std::move(fd), std::move(path));
    if (errno != EEXIST && errno != ENAMETOOLONG) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<CreatedFile> CreateBeside(const std::string& target, const std::string& suffix, mode_t mode) {
  const std::string folder = target.substr(0, target.find_last_of('/') + 1);
  return CreateFirstFree(
      [&](int attempt) { return attempt == 0 ? target + suffix : folder + "." + RandomHex(8) + suffix; },
      kBesideAttempts, mode);
}

std::string RandomHex(int digits) {
  static thread_local std::random_device device;
  const unsigned value = static_cast<unsigned>(device());
  char text[16];
  std::snprintf(text, sizeof text, "%08x", value);
  return std::string(text + 8 - std::min(digits, 8), text + 8);
}
