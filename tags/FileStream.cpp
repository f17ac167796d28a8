#include "tags/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/io/ReadWrite.h"
#include "platform/io/RegularFile.h"
#include "tags/TextConvert.h"

static_assert(sizeof(off_t) == 8, "files of 4 GiB and more need 64-bit offsets");

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

int OpenRegularFile(const std::string& path, int flags) {
  return ::OpenRegularFile(path.c_str(), flags, kNewFileMode);
}

int ExistsPath(const char* path) {
  struct stat info;
  if (!path || ::stat(path, &info) != 0) return 0;
  return S_ISDIR(info.st_mode) ? 0 : 1;
}

}  // namespace

CFileStream::~CFileStream() { Close(); }

HRESULT CFileStream::QueryInterface(const InterfaceId& iid, void** object) {
  if (!object) return E_NOINTERFACE;
  if (iid == IID_IUnknown || iid == IID_IFileStream) {
    AddRef();
    *object = static_cast<IFileStream*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

uint32_t CFileStream::AddRef() { return m_refCount.fetch_add(1) + 1; }

uint32_t CFileStream::Release() {
  const uint32_t count = m_refCount.fetch_sub(1) - 1;
  if (count == 0) delete this;
  return count;
}

HRESULT CFileStream::OpenPath(const std::string& path, bool writable) {
  Close();
  const int flags = writable ? (O_RDWR | O_CREAT | O_TRUNC) : O_RDONLY;
  const int fd = OpenRegularFile(path, flags);
  if (fd < 0) return E_FAIL;
  m_fd = fd;
  m_writable = writable;
  return S_OK;
}

HRESULT CFileStream::OpenA(const char* name, bool writable) {
  if (!name) {
    Close();
    return E_FAIL;
  }
  const std::string path(name);
  if (OpenPath(path, writable) != S_OK) return E_FAIL;
  m_ansiName = path;
  return S_OK;
}

HRESULT CFileStream::OpenW(const char16_t* name, bool writable) {
  std::optional<std::string> path = name ? WideToUtf8(name) : std::nullopt;
  if (!path) {
    Close();
    return E_FAIL;
  }
  if (OpenPath(*path, writable) != S_OK) return E_FAIL;
  m_wideName = std::u16string(name);
  return S_OK;
}

int CFileStream::ExistsA(const char* name) { return ExistsPath(name); }

int CFileStream::ExistsW(const char16_t* name) {
  if (!name) return 0;
  std::optional<std::string> path = WideToUtf8(name);
  return path ? ExistsPath(path->c_str()) : 0;
}

HRESULT CFileStream::Close() {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  m_eof = false;
  m_wideName.reset();
  m_ansiName.reset();
  return S_OK;
}

bool CFileStream::Read(void* buffer, uint32_t count, uint32_t* bytesRead) {
  if (bytesRead) *bytesRead = 0;
  if (m_fd < 0 || (!buffer && count > 0)) return false;
  size_t total = 0;
  const bool ok = ReadUpTo(m_fd, buffer, count, &total) >= 0;
  if (bytesRead) *bytesRead = static_cast<uint32_t>(total);
  if (ok && total == 0) m_eof = true;
  return ok;
}

std::optional<std::string> CFileStream::KeptPath() const {
  if (m_ansiName) return *m_ansiName;
  if (m_wideName) return WideToUtf8(*m_wideName);
  return std::nullopt;
}

bool CFileStream::ReopenForWriting() {
  const int64_t position = Tell();
  const std::optional<std::string> path = KeptPath();
  if (position < 0 || !path) return false;
  ::close(m_fd);
  m_fd = OpenRegularFile(*path, O_RDWR);
  if (m_fd < 0) m_fd = OpenRegularFile(*path, O_RDONLY);
  if (m_fd < 0) {
    Close();
    return false;
  }
  Seek(position, FILE_BEGIN);
  // Also when only the read-only open succeeded: no second attempt, the
  // write itself then fails.
  m_writable = true;
  return true;
}

bool CFileStream::Write(const void* buffer, uint32_t count, uint32_t* bytesWritten) {
  if (bytesWritten) *bytesWritten = 0;
  if (m_fd < 0 || (!buffer && count > 0)) return false;
  if (!m_writable && !ReopenForWriting()) return false;
  size_t total = 0;
  const bool ok = WriteAll(m_fd, buffer, count, &total);
  if (bytesWritten) *bytesWritten = static_cast<uint32_t>(total);
  return ok;
}

int64_t CFileStream::Seek(int64_t distance, SeekMethod method) {
  m_eof = false;
  if (m_fd < 0) return kInvalidPosition;
  int whence;
  switch (method) {
    case FILE_BEGIN: whence = SEEK_SET; break;
    case FILE_CURRENT: whence = SEEK_CUR; break;
    case FILE_END: whence = SEEK_END; break;
    default: return kInvalidPosition;
  }
  const off_t position = ::lseek(m_fd, static_cast<off_t>(distance), whence);
  return position < 0 ? kInvalidPosition : static_cast<int64_t>(position);
}

int64_t CFileStream::Tell() {
  if (m_fd < 0) return kInvalidPosition;
  const off_t position = ::lseek(m_fd, 0, SEEK_CUR);
  return position < 0 ? kInvalidPosition : static_cast<int64_t>(position);
}

int64_t CFileStream::Size() {
  struct stat info;
  if (m_fd < 0 || ::fstat(m_fd, &info) != 0) return kInvalidPosition;
  return static_cast<int64_t>(info.st_size);
}
