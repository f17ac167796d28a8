#include "mp3/CutToFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>

#include "mp3/ExactCut.h"
#include "mp3/Mp3Reader.h"
#include "mp3/PathParts.h"
#include "mp3/TempFileName.h"
#include "tags/TagTransfer.h"

namespace {

constexpr size_t kCopyBuffer = 8192;
constexpr int kSplicePipeBytes = 1 << 20;
constexpr int kMinPipeBytes = 4096;

// Removes a file when it goes out of scope, unless released.
class FileGuard {
 public:
  explicit FileGuard(std::string path = {}) : m_path(std::move(path)) {}
  ~FileGuard() {
    if (!m_path.empty()) unlink(m_path.c_str());
  }
  void Reset(std::string path) { m_path = std::move(path); }
  void Release() { m_path.clear(); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

class Fd {
 public:
  explicit Fd(int fd = -1) : m_fd(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }
  bool Close() {
    if (m_fd < 0) return true;
    const int r = ::close(m_fd);
    m_fd = -1;
    return r == 0;
  }

 private:
  int m_fd;
};

// Frames whose start lies in [start, end): index entries there, except one
// that shares its time with its successor (the place of skipped garbage).
int CountFrames(const Mp3FrameIndex& index, int64_t start, int64_t end) {
  int frames = 0;
  for (int i = 0; i + 1 < index.Count(); ++i) {
    const auto& e = index.At(i);
    if (e.offset >= start && e.offset < end && index.At(i + 1).timeMs > e.timeMs) ++frames;
  }
  return frames;
}

// Whether [start, end) holds every frame of the stream: `end` is where the
// index ends and no frame follows it.
bool IsWholeStream(Mp3FrameIndex& index, int64_t start, int64_t end) {
  const int count = index.Count();
  if (start != index.At(0).offset || end != index.At(count - 1).offset) return false;
  index.TimeToOffset(index.At(count - 1).timeMs + 1.0);  // indexes the next frame, if there is one
  return index.Count() == count;
}

// The source's Xing, Info or VBRI header describes the whole source, so a
// cut of part of it gets a header of its own instead, unless the literal
// frames were asked for. Only Layer III carries such a header in a silent
// frame; in other layers its bytes would decode as sound, so there the cut
// leaves the source's header frame out and adds none.
bool ReplacesSourceHeader(const Mp3StreamInfo& info, const CutOptions& options, bool wholeStream) {
  return info.vbr.kind != VbrHeaderKind::None && !options.framesOnly && !wholeStream;
}

bool IsUnsupportedCopy(int error) {
  return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

enum class KernelCopy { kDone, kFailed, kUnsupported };

// Copies [*inPos, to) of `in` to `out` through a pipe of up to 1 MiB: the
// kernel then writes the destination in pieces that large, and both the copy
// and the later removal of the file cost clearly less than with
// copy_file_range's 64 KiB pieces. Unsupported (nothing copied, *inPos
// unchanged) where either file cannot be spliced.
KernelCopy SpliceRange(int in, int out, off64_t* inPos, int64_t to, int64_t* copied) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return KernelCopy::kUnsupported;
  Fd readEnd(ends[0]);
  Fd writeEnd(ends[1]);
  fcntl(writeEnd.Get(), F_SETPIPE_SZ, kSplicePipeBytes);  // a smaller pipe works too
  const int pipeBytes = std::max(fcntl(writeEnd.Get(), F_GETPIPE_SZ), kMinPipeBytes);
  while (*inPos < to) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(pipeBytes, to - *inPos));
    const ssize_t n = splice(in, inPos, writeEnd.Get(), nullptr, want, SPLICE_F_MOVE);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return *copied == 0 && IsUnsupportedCopy(errno) ? KernelCopy::kUnsupported : KernelCopy::kFailed;
    if (n == 0) return KernelCopy::kFailed;  // the source is shorter than the range
    for (ssize_t left = n; left > 0;) {
      const ssize_t w = splice(readEnd.Get(), nullptr, out, nullptr, static_cast<size_t>(left), SPLICE_F_MOVE);
      if (w < 0 && errno == EINTR) continue;
      if (w < 0 && *copied == 0 && left == n && IsUnsupportedCopy(errno)) {
        *inPos -= n;  // nothing reached `out`: the next way starts over
        return KernelCopy::kUnsupported;
      }
      if (w <= 0) return KernelCopy::kFailed;
      left -= w;
    }
    *copied += n;
  }
  return KernelCopy::kDone;
}

// Copies [from, to) of `in` to `out` at its file position; false unless
// every byte arrived. The kernel copies when it can (splice, else
// copy_file_range); otherwise one 8 KiB buffer.
bool CopyRange(int in, int out, int64_t from, int64_t to, int64_t* copied) {
  *copied = 0;
  off64_t inPos = from;
  switch (SpliceRange(in, out, &inPos, to, copied)) {
    case KernelCopy::kDone: return true;
    case KernelCopy::kFailed: return false;
    case KernelCopy::kUnsupported: break;
  }
  while (inPos < to) {
    const ssize_t n = copy_file_range(in, &inPos, out, nullptr, static_cast<size_t>(to - inPos), 0);
    if (n > 0) {
      *copied += n;
      continue;
    }
    if (n == 0) return false;  // the source is shorter than the range
    if (errno == EINTR) continue;
    if (!IsUnsupportedCopy(errno)) return false;
    break;  // no kernel copy between these files: copy through the buffer
  }
  char buffer[kCopyBuffer];
  while (inPos < to) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(kCopyBuffer, to - inPos));
    const ssize_t n = pread(in, buffer, want, inPos);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = write(out, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
    inPos += n;
    *copied += n;
  }
  return true;
}

// Duplicates `source` into `out`, a new empty file.
bool DuplicateInto(const std::string& source, int out, std::string* why) {
  // O_NONBLOCK: a FIFO put in the source's place since its analysis must
  // not hold the cut; only a regular file is copied.
  Fd in(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st;
  if (in.Get() < 0 || fstat(in.Get(), &st) != 0) {
    *why = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    *why = "the source is not a regular file";
    return false;
  }
  int64_t copied = 0;
  errno = 0;
  if (!CopyRange(in.Get(), out, 0, st.st_size, &copied)) {
    *why = std::strerror(errno ? errno : EIO);
    return false;
  }
  return true;
}

// Creates a new, empty file beside `target`; its path in `path`, and in
// `newMode` the permissions a plain create gives a new file. The file itself
// is writable by us whatever the umask: a umask of 0222 would make it
// read-only, which the tag rewrite refuses. The name is short whatever the
// target's, so a target name of the longest length still has room for the
// staging file and the tag rewrite's ".vuxtemp" beside it.
int CreateStaging(const std::string& target, std::string* path, mode_t* newMode) {
  const std::string folder = GetFolderPart(target);
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".padocut-%08x.part", static_cast<unsigned>(rd()));
    *path = folder + name;
    Fd fd(open(path->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0 && errno == EEXIST) continue;
    if (fd.Get() < 0) return -1;
    struct stat info;
    if (fstat(fd.Get(), &info) == 0 && fchmod(fd.Get(), info.st_mode | S_IRUSR | S_IWUSR) == 0) {
      *newMode = info.st_mode & 07777;
      return fd.Release();
    }
    const int error = errno;
    unlink(path->c_str());
    errno = error;
    return -1;
  }
  return -1;
}

// An existing destination that is read-only is never replaced.
bool IsReadOnlyFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

int Fail(CutReport* report, const std::string& why) {
  report->error = why;
  return 0;
}

// A failure of the source (or of its temporary copy), not of the destination.
int FailInSource(CutReport* report, const std::string& why) {
  report->errorInSource = true;
  return Fail(report, why);
}

}  // namespace

int CutToFile(const std::string& source, const std::string& destination, int startMs, int endMs,
              CutReport* reportOut, const CutOptions& options) {
  CutReport local;
  CutReport* report = reportOut ? reportOut : &local;
  *report = CutReport{};

  // Map the two times to frame offsets with a reader of our own.
  Mp3StreamInfo streamInfo;
  bool replaceHeader = false;
  int64_t plainStart = -1;  // where the plain copy starts when not at report->startOffset
  {
    CMp3Reader reader;
    if (!reader.Open(source.c_str(), nullptr, nullptr, nullptr)) {
      return FailInSource(report, "cannot open the source as MPEG audio");
    }
    Mp3FrameIndex* index = reader.GetFrameIndex();
    if (!index) return FailInSource(report, "the source has no frame index");
    // A start that was never set (negative) cuts from the first frame.
    report->startOffset = index->TimeToOffset(startMs < 0 ? 0.0 : static_cast<double>(startMs));
    report->endOffset = index->TimeToOffset(static_cast<double>(endMs));
    if (report->startOffset < 0 || report->endOffset < 0) {
      return FailInSource(report, "no frames to cut in the source (unsupported layer or empty stream)");
    }
    // A range with no frame in it (past the end of a source that shrank
    // since its analysis, or reversed) would make an empty file.
    if (report->endOffset <= report->startOffset) {
      report->endOffset = report->startOffset;
      return FailInSource(report, "no audio in the range");
    }
    report->frames = CountFrames(*index, report->startOffset, report->endOffset);
    streamInfo = reader.GetStreamInfo();
    replaceHeader =
        ReplacesSourceHeader(streamInfo, options, IsWholeStream(*index, report->startOffset, report->endOffset));
    // The plain copy's range without the source's header frame (index entry 1 is where it ends).
    if (replaceHeader && report->startOffset == index->At(0).offset) plainStart = index->At(1).offset;
  }
  CutOptions effective = options;
  if (replaceHeader && streamInfo.layer == 3) effective.vbrHeader = true;

  // Resolve a symbolic link so that the file it names is replaced, not the link.
  std::string target = destination;
  std::error_code ec;
  if (std::filesystem::is_symlink(destination, ec)) {
    const auto real = std::filesystem::canonical(destination, ec);
    if (!ec) target = real.string();
  }
  if (IsExistingFolder(target)) return Fail(report, "the destination is a folder");
  // A device or a FIFO is never replaced by a regular file.
  struct stat targetInfo;
  if (stat(target.c_str(), &targetInfo) == 0 && !S_ISREG(targetInfo.st_mode)) {
    return Fail(report, "the destination is not a regular file");
  }
  if (IsReadOnlyFile(target)) return Fail(report, "the destination is read-only");

  // Duplicate the source; the range and the tags are taken from the copy.
  std::optional<CreatedFile> temp = CreateTempFile();
  if (!temp) return FailInSource(report, "cannot make the temporary copy: " + std::string(std::strerror(errno)));
  std::string why;
  if (!DuplicateInto(source, temp->Fd(), &why)) return FailInSource(report, "cannot make the temporary copy: " + why);

  std::string stagingPath;
  mode_t newMode = 0;
  Fd staging(CreateStaging(target, &stagingPath, &newMode));
  if (staging.Get() < 0) return Fail(report, "cannot write in the destination folder: " + std::string(std::strerror(errno)));
  FileGuard stagingGuard(stagingPath);
  {
    Fd dup(fcntl(temp->Fd(), F_DUPFD_CLOEXEC, 0));
    if (dup.Get() < 0) return FailInSource(report, "cannot read the temporary copy");
    bool plain = true;
    if (effective.Any()) {
      switch (WriteEnhancedCut(dup.Get(), staging.Get(), streamInfo, startMs, endMs, report->startOffset,
                               report->endOffset, effective, report)) {
        case EnhancedCutResult::Written:
          plain = false;
          break;
        case EnhancedCutResult::NotApplicable:
          break;
        case EnhancedCutResult::IoError:
          return Fail(report, "cannot write the destination: " + std::string(std::strerror(errno ? errno : EIO)));
      }
    }
    if (plain && plainStart >= 0) {
      // Without a new header the source's stays out too: it is not audio.
      if (plainStart >= report->endOffset) return FailInSource(report, "no audio in the range");
      report->startOffset = plainStart;
      report->frames -= 1;
    }
    if (plain &&
        !CopyRange(dup.Get(), staging.Get(), report->startOffset, report->endOffset, &report->bytesCopied)) {
      return Fail(report, "cannot write the destination: " + std::string(std::strerror(errno ? errno : EIO)));
    }
  }
  if (!staging.Close()) return Fail(report, "cannot write the destination: " + std::string(std::strerror(errno)));

  // The source's tags, read from the duplicate, go into the new content. A
  // rewrite that fails (a full disk) fails the cut rather than leave a
  // result that silently lost them.
  {
    CTagTransfer transfer;
    if (transfer.ReadFrom(temp->Path().c_str())) {
      if (!transfer.WriteTo(stagingPath.c_str(), true, true)) {
        return Fail(report, "cannot write the tags into the destination");
      }
      report->tagsCarried = true;
    }
  }

  // Only now does the destination change: one rename. A replaced file
  // keeps its permissions and is on disk before the rename; a new file gets
  // the permissions of a new file.
  struct stat existing;
  const bool replacing = stat(target.c_str(), &existing) == 0;
  {
    Fd done(open(stagingPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (done.Get() < 0 || fchmod(done.Get(), replacing ? existing.st_mode & 07777 : newMode) != 0 ||
        (replacing && fsync(done.Get()) != 0)) {
      return Fail(report, "cannot write the destination");
    }
  }
  if (rename(stagingPath.c_str(), target.c_str()) != 0) {
    return Fail(report, "cannot replace the destination: " + std::string(std::strerror(errno)));
  }
  stagingGuard.Release();
  struct stat st;
  if (stat(target.c_str(), &st) == 0) report->outputSize = st.st_size;
  return 1;
}
