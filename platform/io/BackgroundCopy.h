// BackgroundCopy: CopyRange on a thread of its own, for a copy whose end is
// known only roughly when it starts. The caller goes on with other work,
// then keeps the part of the copy it turned out to need, or none of it.
#pragma once

#include <cstdint>
#include <thread>

class BackgroundCopy {
 public:
  BackgroundCopy() = default;
  ~BackgroundCopy() { Join(); }
  BackgroundCopy(const BackgroundCopy&) = delete;
  BackgroundCopy& operator=(const BackgroundCopy&) = delete;

  // Starts copying [from, to) of `in` to `out` at its file position. Neither
  // descriptor may be used by the caller until Keep or Discard.
  void Start(int in, int out, int64_t from, int64_t to);
  bool Started() const { return m_thread.joinable(); }

  // Waits for the copy. When it succeeded and covers [from, end), `out` is
  // cut back to just after that stretch (its position there), the bytes in
  // `*copied`, and true. Otherwise false, as Discard.
  bool Keep(int64_t end, int64_t* copied);
  // Waits for the copy and takes it back: `out` is truncated to where the
  // copy began, its position there. False when even that fails.
  bool Discard();

 private:
  void Join();

  std::thread m_thread;
  int m_out = -1;
  int64_t m_from = 0;
  int64_t m_outStart = 0;
  int64_t m_copied = 0;
  bool m_ok = false;
};
