#include "platform/io/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// 0 when the open descriptor is a regular file now in blocking mode, else
// the errno to report.
int MakeBlockingRegular(int fd) {
  struct stat info;
  if (::fstat(fd, &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return EINVAL;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return errno;
  return 0;
}

}  // namespace

int OpenRegularFile(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  if (const int error = MakeBlockingRegular(fd)) {
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}
