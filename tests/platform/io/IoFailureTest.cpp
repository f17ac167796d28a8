// The I/O toolkit's failure paths: transfers cut short by signals and by
// the pipe's size, a write that only partly fits, names that are taken, a
// FIFO where a regular file is expected, and replacements that never
// finish. Each must end in every byte moved or a reported failure, with no
// file touched that the toolkit did not create.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <functional>
#include <iterator>
#include <thread>

#include "platform/io/BackgroundCopy.h"
#include "platform/io/CopyRange.h"
#include "platform/io/FileReplacement.h"
#include "platform/io/ReadWrite.h"
#include "platform/io/RegularFile.h"
#include "tests/support/TestFiles.h"

namespace {

std::atomic<int> g_alarms{0};
void CountAlarm(int) { ++g_alarms; }

// SIGALRM every 100 us without SA_RESTART, so that blocked reads and writes
// of this thread return early (EINTR or a short count) while it lasts.
class AlarmStorm {
 public:
  AlarmStorm() {
    struct sigaction action {};
    action.sa_handler = CountAlarm;
    sigaction(SIGALRM, &action, &m_old);
    const itimerval every{{0, 100}, {0, 100}};
    setitimer(ITIMER_REAL, &every, nullptr);
  }
  ~AlarmStorm() {
    const itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &m_old, nullptr);
  }

 private:
  struct sigaction m_old {};
};

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 131 + i / 251);
  return bytes;
}

// Runs `work` on a thread that never takes the alarm.
std::thread QuietThread(std::function<void()> work) {
  sigset_t alarm, old;
  sigemptyset(&alarm);
  sigaddset(&alarm, SIGALRM);
  pthread_sigmask(SIG_BLOCK, &alarm, &old);
  std::thread thread(std::move(work));
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  return thread;
}

// Moves `data` through a pipe whose other end a quiet thread serves in
// small pieces with pauses, so that this thread's calls block again and
// again under the alarms: WriteAll when `writing`, else ReadUpTo. Each side
// closes its end when done, so a failure cannot leave the other waiting.
void ThroughSlowPipe(const std::vector<uint8_t>& data, bool writing) {
  constexpr size_t kPiece = 4096;
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const int mine = writing ? ends[1] : ends[0], theirs = writing ? ends[0] : ends[1];
  const auto oldPipeHandler = std::signal(SIGPIPE, SIG_IGN);  // a write after the reader gave up fails
  std::vector<uint8_t> got(data.size());
  std::thread other = QuietThread([&] {
    for (size_t at = 0; at < data.size(); at += kPiece) {
      const size_t n = std::min(kPiece, data.size() - at);
      const ssize_t moved = writing ? ReadUpTo(theirs, got.data() + at, n) : write(theirs, data.data() + at, n);
      if (moved != static_cast<ssize_t>(n)) break;
      usleep(20);
    }
    close(theirs);
  });
  g_alarms = 0;
  {
    AlarmStorm storm;
    if (writing) {
      size_t written = 0;
      EXPECT_TRUE(WriteAll(mine, data.data(), data.size(), &written));
      EXPECT_EQ(written, data.size());
    } else {
      EXPECT_EQ(ReadUpTo(mine, got.data(), got.size()), static_cast<ssize_t>(data.size()));
    }
  }
  close(mine);
  other.join();
  std::signal(SIGPIPE, oldPipeHandler);
  EXPECT_GT(g_alarms.load(), 0);
  EXPECT_EQ(got, data);
}

}  // namespace

TEST(IoFailures, InterruptedAndShortTransfersMoveEveryByte) {
  const std::vector<uint8_t> data = Pattern(1 << 20);  // 16 pipe buffers
  ThroughSlowPipe(data, true);
  ThroughSlowPipe(data, false);
}

TEST(IoFailures, AWriteThatOnlyPartlyFitsIsAFailureWithItsCount) {
  TempDir dir;
  const std::vector<uint8_t> data = Pattern(10000);
  const UniqueFd fd(open(dir.File("limited").c_str(), O_RDWR | O_CREAT | O_EXCL, 0600));
  ASSERT_TRUE(fd.IsOpen());
  struct rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = {4096, old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limit);
  size_t written = 0;
  const bool ok = WriteAll(fd.Get(), data.data(), data.size(), &written);
  const int error = errno;
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(written, 4096u);
  // A full device, and a copy from a source shorter than its range.
  const UniqueFd full(open("/dev/full", O_WRONLY));
  ASSERT_TRUE(full.IsOpen());
  EXPECT_FALSE(WriteAll(full.Get(), data.data(), data.size()));
  EXPECT_EQ(errno, ENOSPC);
  int64_t copied = -1;
  EXPECT_FALSE(CopyRange(fd.Get(), full.Get(), 0, 100, &copied));
  const UniqueFd out(open(dir.File("copy").c_str(), O_RDWR | O_CREAT | O_EXCL, 0600));
  EXPECT_FALSE(CopyRange(fd.Get(), out.Get(), 4000, 5000, &copied));
  EXPECT_EQ(copied, 96);
}

// A copy made ahead keeps exactly the stretch asked for, or gives every
// byte back: past what it copied, or after the source ended early.
TEST(IoFailures, ACopyMadeAheadKeepsItsStretchOrNothing) {
  TempDir dir;
  const std::vector<uint8_t> data = Pattern(10000);
  const std::string source = dir.File("source");
  ASSERT_TRUE(WriteFileBytes(source, data));
  const UniqueFd in(open(source.c_str(), O_RDONLY));
  const UniqueFd out(open(dir.File("out").c_str(), O_RDWR | O_CREAT | O_EXCL, 0600));
  ASSERT_TRUE(WriteAll(out.Get(), "ID3", 3));
  BackgroundCopy ahead;
  int64_t copied = 0;
  ahead.Start(in.Get(), out.Get(), 100, 9000);
  ASSERT_TRUE(ahead.Keep(5000, &copied));
  EXPECT_EQ(copied, 4900);
  ASSERT_TRUE(WriteAll(out.Get(), "TAG", 3));
  std::vector<uint8_t> expected = {'I', 'D', '3'};
  Append(expected, std::vector<uint8_t>(data.begin() + 100, data.begin() + 5000));
  Append(expected, {'T', 'A', 'G'});
  EXPECT_EQ(ReadFileBytes(dir.File("out")), expected);
  for (const int64_t to : {int64_t{9000}, int64_t{20000}}) {  // keeps too much; the source ends early
    ahead.Start(in.Get(), out.Get(), 0, to);
    EXPECT_FALSE(ahead.Keep(9500, &copied));
    EXPECT_EQ(ReadFileBytes(dir.File("out")), expected);
    EXPECT_EQ(lseek(out.Get(), 0, SEEK_CUR), static_cast<off_t>(expected.size()));
  }
}

// A name already taken, by a file or a link, is never opened, followed or
// removed: a replacement takes another name and leaves it as it was; one
// that is not finished leaves the target as it was and nothing behind.
TEST(IoFailures, TakenNamesAndUnfinishedReplacementsLeaveEverythingAsItWas) {
  TempDir dir;
  const std::string target = dir.File("target"), taken = target + ".new", victim = dir.File("victim");
  ASSERT_TRUE(WriteFileBytes(target, {1, 2, 3}));
  ASSERT_TRUE(WriteFileBytes(victim, {9}));
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(symlink(victim.c_str(), taken.c_str()), 0);
  EXPECT_FALSE(CreateExclusive(taken).IsOpen());
  EXPECT_EQ(errno, EEXIST);
  {
    std::optional<FileReplacement> unfinished = FileReplacement::Beside(target, ".new");
    ASSERT_TRUE(unfinished);
    EXPECT_NE(unfinished->Path(), taken);
    ASSERT_TRUE(WriteAll(unfinished->Fd(), "xy", 2));
  }
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{1, 2, 3}));
  std::optional<FileReplacement> replacement = FileReplacement::Beside(target, ".new");
  ASSERT_TRUE(replacement);
  ASSERT_TRUE(WriteAll(replacement->Fd(), "new", 3));
  EXPECT_EQ(replacement->Commit(), FileReplacement::CommitResult::kDone);
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{'n', 'e', 'w'}));
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(ReadFileBytes(victim), (std::vector<uint8_t>{9}));
  ASSERT_EQ(lstat(taken.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  const auto files = std::filesystem::directory_iterator(dir.Path());
  EXPECT_EQ(std::distance(begin(files), end(files)), 3) << "a new file was left behind";
}

// What a regular file was expected to be: a FIFO neither opens (without
// waiting for a writer) nor gets replaced, nor do a folder and a read-only
// file.
TEST(IoFailures, FifosFoldersAndReadOnlyFilesAreRefused) {
  TempDir dir;
  const std::string fifo = dir.File("fifo"), readOnly = dir.File("ro");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_TRUE(WriteFileBytes(readOnly, {1}));
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  for (int flags : {O_RDONLY, O_WRONLY, O_RDWR}) EXPECT_EQ(OpenRegularFile(fifo.c_str(), flags), -1);
  EXPECT_EQ(ExamineTarget(fifo), TargetKind::kNotRegular);
  EXPECT_EQ(ExamineTarget(dir.Path()), TargetKind::kFolder);
  EXPECT_EQ(ExamineTarget(readOnly), TargetKind::kReadOnly);
  EXPECT_EQ(ExamineTarget(dir.File("none")), TargetKind::kAbsent);
}
