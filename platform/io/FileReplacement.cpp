#include "platform/io/FileReplacement.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

constexpr mode_t kPermissionBits = 0777;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr mode_t kPrivateMode = 0600;

}  // namespace

TargetKind ExamineTarget(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return TargetKind::kAbsent;
  if (S_ISDIR(info.st_mode)) return TargetKind::kFolder;
  if (!S_ISREG(info.st_mode)) return TargetKind::kNotRegular;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0) {
    return TargetKind::kReadOnly;
  }
  return TargetKind::kReplaceable;
}

std::string FollowLinks(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  const std::filesystem::path real = std::filesystem::canonical(path, error);
  return error ? path : real.string();
}

FileReplacement::FileReplacement(CreatedFile file, std::string target, mode_t mode)
    : m_file(std::move(file)), m_target(std::move(target)), m_mode(mode) {}

std::optional<FileReplacement> FileReplacement::Start(
    const std::string& target, const std::function<std::optional<CreatedFile>(mode_t)>& create) {
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0) {
    std::optional<CreatedFile> file = create(kPrivateMode);
    if (!file) return std::nullopt;
    return FileReplacement(std::move(*file), target, existing.st_mode & kPermissionBits);
  }
  // Created as a plain new file would be, to learn the mode that the umask
  // gives it; then made writable for the work.
  std::optional<CreatedFile> file = create(kNewFileMode);
  if (!file) return std::nullopt;
  struct stat made;
  const bool examined = ::fstat(file->Fd(), &made) == 0;
  const mode_t mode = examined ? made.st_mode & kPermissionBits : 0;
  if (!examined || ::fchmod(file->Fd(), mode | S_IRUSR | S_IWUSR) != 0) {
    const int error = errno;
    file->Remove();
    errno = error;
    return std::nullopt;
  }
  return FileReplacement(std::move(*file), target, mode);
}

std::optional<FileReplacement> FileReplacement::Begin(const std::string& target,
                                                      const std::function<std::string(int attempt)>& nameAt,
                                                      int attempts) {
  return Start(target, [&](mode_t mode) { return CreateFirstFree(nameAt, attempts, mode); });
}

std::optional<FileReplacement> FileReplacement::Beside(const std::string& target, const std::string& suffix) {
  return Start(target, [&](mode_t mode) { return CreateBeside(target, suffix, mode); });
}

FileReplacement::CommitResult FileReplacement::Commit() {
  struct stat existing;
  const bool replacing = ::stat(m_target.c_str(), &existing) == 0;
  const mode_t mode = replacing ? existing.st_mode & kPermissionBits : m_mode;
  CommitResult result = CommitResult::kDone;
  if (::fchmod(m_file.Fd(), mode) != 0 || (replacing && ::fsync(m_file.Fd()) != 0) || !m_file.CloseFd()) {
    result = CommitResult::kWriteFailed;
  } else if (!m_file.MoveOnto(m_target)) {
    result = CommitResult::kReplaceFailed;
  }
  const int error = errno;
  m_file.Remove();  // nothing once it has replaced the target
  errno = error;
  return result;
}
