#include "platform/io/UniqueFd.h"

#include <unistd.h>

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Close();
    m_fd = other.Release();
  }
  return *this;
}

int UniqueFd::Release() {
  const int fd = m_fd;
  m_fd = -1;
  return fd;
}

bool UniqueFd::Close() {
  if (m_fd < 0) return true;
  // Not retried on EINTR: on Linux the descriptor is gone either way.
  const int result = ::close(m_fd);
  m_fd = -1;
  return result == 0;
}
