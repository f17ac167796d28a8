// UniqueFd: owns one file descriptor and closes it when destroyed. Movable,
// not copyable; -1 means none. Close reports what close(2) said, so that a
// write the kernel only fails at close (a full disk on a network file
// system) is not taken for a success.
#pragma once

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  ~UniqueFd() { Close(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;

  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  // Gives the descriptor up without closing it.
  int Release();
  // Closes the descriptor; false when close(2) failed. True when none was held.
  bool Close();

 private:
  int m_fd = -1;
};
