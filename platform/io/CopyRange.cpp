#include "platform/io/CopyRange.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/io/ReadWrite.h"
#include "platform/io/UniqueFd.h"

namespace {

constexpr size_t kCopyBuffer = 8192;
constexpr int kSplicePipeBytes = 1 << 20;
constexpr int kMinPipeBytes = 4096;

bool IsUnsupportedCopy(int error) {
  return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

enum class KernelCopy { kDone, kFailed, kUnsupported };

// Moves `n` bytes that sit in the pipe `from` into `out`. Unsupported when
// `out` takes nothing from a pipe and nothing was copied before.
KernelCopy DrainPipe(int from, int out, ssize_t n, bool firstPiece) {
  for (ssize_t left = n; left > 0;) {
    const ssize_t w = splice(from, nullptr, out, nullptr, static_cast<size_t>(left), SPLICE_F_MOVE);
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && firstPiece && left == n && IsUnsupportedCopy(errno)) return KernelCopy::kUnsupported;
    if (w <= 0) return KernelCopy::kFailed;
    left -= w;
  }
  return KernelCopy::kDone;
}

// Copies [*inPos, to) of `in` to `out` through a pipe of up to 1 MiB: the
// kernel then writes the destination in pieces that large, and both the copy
// and the later removal of the file cost clearly less than with
// copy_file_range's 64 KiB pieces. Unsupported (nothing copied, *inPos
// unchanged) where either file cannot be spliced.
KernelCopy SpliceRange(int in, int out, off64_t* inPos, int64_t to, int64_t* copied) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return KernelCopy::kUnsupported;
  UniqueFd readEnd(ends[0]);
  UniqueFd writeEnd(ends[1]);
  fcntl(writeEnd.Get(), F_SETPIPE_SZ, kSplicePipeBytes);  // a smaller pipe works too
  const int pipeBytes = std::max(fcntl(writeEnd.Get(), F_GETPIPE_SZ), kMinPipeBytes);
  while (*inPos < to) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(pipeBytes, to - *inPos));
    const ssize_t n = splice(in, inPos, writeEnd.Get(), nullptr, want, SPLICE_F_MOVE);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return *copied == 0 && IsUnsupportedCopy(errno) ? KernelCopy::kUnsupported : KernelCopy::kFailed;
    if (n == 0) return KernelCopy::kFailed;  // the source is shorter than the range
    const KernelCopy drained = DrainPipe(readEnd.Get(), out, n, *copied == 0);
    if (drained == KernelCopy::kUnsupported) *inPos -= n;  // nothing reached `out`: the next way starts over
    if (drained != KernelCopy::kDone) return drained;
    *copied += n;
  }
  return KernelCopy::kDone;
}

// copy_file_range from *inPos up to `to`. Unsupported where the two files
// allow no such copy (what was copied stays copied).
KernelCopy CopyFileRange(int in, int out, off64_t* inPos, int64_t to, int64_t* copied) {
  while (*inPos < to) {
    const ssize_t n = copy_file_range(in, inPos, out, nullptr, static_cast<size_t>(to - *inPos), 0);
    if (n > 0) {
      *copied += n;
      continue;
    }
    if (n == 0) return KernelCopy::kFailed;  // the source is shorter than the range
    if (errno == EINTR) continue;
    return IsUnsupportedCopy(errno) ? KernelCopy::kUnsupported : KernelCopy::kFailed;
  }
  return KernelCopy::kDone;
}

bool BufferedCopy(int in, int out, off64_t inPos, int64_t to, int64_t* copied) {
  char buffer[kCopyBuffer];
  while (inPos < to) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(kCopyBuffer, to - inPos));
    errno = 0;
    const ssize_t n = PReadUpTo(in, buffer, want, inPos);
    if (n <= 0) return false;  // errno 0: the source is shorter than the range
    if (!WriteAll(out, buffer, static_cast<size_t>(n))) return false;
    inPos += n;
    *copied += n;
  }
  return true;
}

}  // namespace

bool CopyRange(int in, int out, int64_t from, int64_t to, int64_t* copied) {
  *copied = 0;
  off64_t inPos = from;
  switch (SpliceRange(in, out, &inPos, to, copied)) {
    case KernelCopy::kDone: return true;
    case KernelCopy::kFailed: return false;
    case KernelCopy::kUnsupported: break;
  }
  switch (CopyFileRange(in, out, &inPos, to, copied)) {
    case KernelCopy::kDone: return true;
    case KernelCopy::kFailed: return false;
    case KernelCopy::kUnsupported: break;  // no kernel copy between these files: copy through the buffer
  }
  return BufferedCopy(in, out, inPos, to, copied);
}
