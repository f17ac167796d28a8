#include "platform/io/ReadWrite.h"

#include <unistd.h>

#include <cerrno>

namespace {

// Moves `size` bytes with `step` (one read or write of the rest at `done`
// bytes in), retrying after EINTR; the count moved so far in `*moved`. For
// writes, a step that moves nothing is a failure (ENOSPC); for reads it is
// the end of the file.
template <typename Step>
ssize_t Transfer(size_t size, bool isWrite, size_t* moved, Step step) {
  size_t done = 0;
  ssize_t result = 0;
  while (done < size) {
    const ssize_t n = step(done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result = -1;
      break;
    }
    if (n == 0) {
      if (!isWrite) break;
      errno = ENOSPC;
      result = -1;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (moved) *moved = done;
  return result < 0 ? -1 : static_cast<ssize_t>(done);
}

}  // namespace

bool WriteAll(int fd, const void* data, size_t size, size_t* written) {
  const char* bytes = static_cast<const char*>(data);
  return Transfer(size, true, written, [&](size_t done) { return ::write(fd, bytes + done, size - done); }) >= 0;
}

bool PWriteAll(int fd, const void* data, size_t size, int64_t offset) {
  const char* bytes = static_cast<const char*>(data);
  return Transfer(size, true, nullptr, [&](size_t done) {
           return ::pwrite(fd, bytes + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
         }) >= 0;
}

ssize_t ReadUpTo(int fd, void* data, size_t size, size_t* got) {
  char* bytes = static_cast<char*>(data);
  return Transfer(size, false, got, [&](size_t done) { return ::read(fd, bytes + done, size - done); });
}

ssize_t PReadUpTo(int fd, void* data, size_t size, int64_t offset) {
  char* bytes = static_cast<char*>(data);
  return Transfer(size, false, nullptr, [&](size_t done) {
    return ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
  });
}
