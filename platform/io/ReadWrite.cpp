#include "platform/io/ReadWrite.h"

#include <unistd.h>

#include <cerrno>

namespace {

// Moves `size` bytes with `step` (one read or write of the rest at `done`
// bytes in), retrying after EINTR. For writes, a step that moves nothing is
// a failure (ENOSPC); for reads it is the end of the file.
template <typename Step>
ssize_t Transfer(size_t size, bool isWrite, Step step) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = step(done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) {
      if (!isWrite) break;
      errno = ENOSPC;
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

bool WriteAll(int fd, const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  return Transfer(size, true, [&](size_t done) { return ::write(fd, bytes + done, size - done); }) >= 0;
}

bool PWriteAll(int fd, const void* data, size_t size, int64_t offset) {
  const char* bytes = static_cast<const char*>(data);
  return Transfer(size, true, [&](size_t done) {
           return ::pwrite(fd, bytes + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
         }) >= 0;
}

ssize_t ReadUpTo(int fd, void* data, size_t size) {
  char* bytes = static_cast<char*>(data);
  return Transfer(size, false, [&](size_t done) { return ::read(fd, bytes + done, size - done); });
}

ssize_t PReadUpTo(int fd, void* data, size_t size, int64_t offset) {
  char* bytes = static_cast<char*>(data);
  return Transfer(size, false, [&](size_t done) {
    return ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
  });
}
