// The source changes between its analysis and the cut (deleted, truncated,
// replaced by a folder), files and folders swap places, and destinations
// that are not regular files. The analysing reader keeps working on what it
// holds open; the cut works on the file as it is now, fails when there is
// no audio left in the range, and never replaces what is not a regular
// file.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "mp3/CutToFile.h"
#include "mp3/Mp3Reader.h"
#include "tags/TagTransfer.h"
#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/FaultScene.h"
#include "tests/support/TestFiles.h"

namespace {

// When set, the first kernel copy out of a file in this folder finds that
// file cut short, as when the source shrinks while the cut copies it.
std::atomic<bool> g_shrinkNextCopy{false};
std::string g_shrinkFolder;

std::string PathOfFd(int fd) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char path[PATH_MAX];
  const ssize_t n = readlink(link, path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

// Cuts the file behind `in` short (100 bytes past `offset`) when a shrink
// is pending and the file lies in the watched folder.
void MaybeShrink(int in, const __off64_t* offset) {
  if (!g_shrinkNextCopy.load()) return;
  const std::string path = PathOfFd(in);
  if (g_shrinkFolder.empty() || path.compare(0, g_shrinkFolder.size(), g_shrinkFolder) != 0) return;
  g_shrinkNextCopy = false;
  if (truncate(path.c_str(), (offset ? *offset : 0) + 100) != 0) std::perror("truncate");
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The kernel copies the cut may use, interposed for this test program.
extern "C" ssize_t copy_file_range(int in, __off64_t* inOffset, int out, __off64_t* outOffset, size_t length,
                                   unsigned int flags) {
  using Real = ssize_t (*)(int, __off64_t*, int, __off64_t*, size_t, unsigned int);
  static const Real real = Next<Real>("copy_file_range");
  MaybeShrink(in, inOffset);
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  return real(in, inOffset, out, outOffset, length, flags);
}

extern "C" ssize_t splice(int in, __off64_t* inOffset, int out, __off64_t* outOffset, size_t length,
                          unsigned int flags) {
  using Real = ssize_t (*)(int, __off64_t*, int, __off64_t*, size_t, unsigned int);
  static const Real real = Next<Real>("splice");
  MaybeShrink(in, inOffset);
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  return real(in, inOffset, out, outOffset, length, flags);
}

namespace {

constexpr int kWholeFile = 1 << 30;
const Bytes kOldDestination(5000, 0xAB);

class SourceChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    m_hadTmp = old != nullptr;
    if (old) m_oldTmp = old;
    setenv("TMPDIR", m_tmp.Path().c_str(), 1);
    m_src = m_dir.File("src.mp3");
    m_dest = m_dir.File("dest.mp3");
    ASSERT_TRUE(WriteBytes(m_src, TaggedSource()));
    ASSERT_TRUE(WriteBytes(m_dest, kOldDestination));
  }
  void TearDown() override {
    if (m_hadTmp) {
      setenv("TMPDIR", m_oldTmp.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    EXPECT_TRUE(TakeSnapshot(m_tmp.Path()).empty()) << "the cut left a file in the temporary folder";
    for (const auto& [name, bytes] : TakeSnapshot(m_dir.Path())) {
      EXPECT_EQ(name.find(".vuxtemp"), std::string::npos) << name;
      EXPECT_EQ(name.find(".part"), std::string::npos) << name;
    }
  }
  // The analysis: a reader open on the source, a little decoded.
  void Analyse(CMp3Reader& reader) {
    ASSERT_EQ(reader.Open(m_src.c_str(), nullptr, nullptr, nullptr), 1);
    std::vector<uint8_t> pcm(8192);
    for (int i = 0; i < 10; ++i) ASSERT_GT(reader.Read(pcm.data(), static_cast<int>(pcm.size())), 0);
  }
  // Decodes to the end; the number of reads (bounded: the reader must end).
  static int DrainReader(CMp3Reader& reader) {
    std::vector<uint8_t> pcm(8192);
    int reads = 0;
    while (reads < 100000 && reader.Read(pcm.data(), static_cast<int>(pcm.size())) > 0) ++reads;
    return reads;
  }

  TempDir m_dir, m_tmp;
  std::string m_oldTmp, m_src, m_dest;
  bool m_hadTmp = false;
};

}  // namespace

TEST_F(SourceChanges, DeletedAfterAnalysisFailsAndTheAnalysisReadsOn) {
  CMp3Reader analysis;
  Analyse(analysis);
  ASSERT_EQ(unlink(m_src.c_str()), 0);
  CutReport report;
  EXPECT_EQ(CutToFile(m_src, m_dest, 0, 1500, &report), 0);
  EXPECT_EQ(ReadBytes(m_dest), kOldDestination);
  EXPECT_EQ(CutToFile(m_src, m_dir.File("new.mp3"), 0, 1500, &report), 0);
  EXPECT_FALSE(FileExists(m_dir.File("new.mp3")));
  // The open file is still there for the reader that holds it.
  EXPECT_GT(DrainReader(analysis), 10);
  EXPECT_GT(analysis.TimeToOffset(1000), 0);
}

TEST_F(SourceChanges, TruncatedAfterAnalysis) {
  // Without tags: a rewrite cannot fail on its own and hide an empty cut.
  const Bytes source = AudioBytes();
  ASSERT_TRUE(WriteBytes(m_src, source));
  CMp3Reader analysis;
  Analyse(analysis);
  const int64_t oldEnd = analysis.TimeToOffset(1e9);
  ASSERT_EQ(truncate(m_src.c_str(), static_cast<off_t>(source.size() * 2 / 5)), 0);
  // The reader ends at the new end and never reports past it.
  EXPECT_LT(DrainReader(analysis), 1000);
  EXPECT_LE(analysis.TimeToOffset(1e9), oldEnd);
  analysis.Seek(1500);
  EXPECT_LT(DrainReader(analysis), 1000);

  // A selection that now lies wholly past the audio: no frame to cut.
  CutReport report;
  EXPECT_EQ(CutToFile(m_src, m_dest, 1500, 1900, &report), 0) << "an empty cut reported success";
  EXPECT_EQ(ReadBytes(m_dest), kOldDestination);
  // One that still begins inside it: the frames that remain.
  EXPECT_EQ(CutToFile(m_src, m_dest, 200, 1900, &report), 1) << report.error;
  EXPECT_GT(report.frames, 0);
  EXPECT_EQ(ReadBytes(m_src), Bytes(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(source.size() * 2 / 5)));
  // Nothing left at all.
  ASSERT_TRUE(WriteBytes(m_dest, kOldDestination));
  ASSERT_EQ(truncate(m_src.c_str(), 0), 0);
  EXPECT_EQ(CutToFile(m_src, m_dest, 0, 1500, &report), 0);
  EXPECT_EQ(ReadBytes(m_dest), kOldDestination);
}

// The source shrinks after the cut has mapped its times, while its frames
// are copied: a short copy is a failure.
TEST_F(SourceChanges, ShrinkingDuringTheCutFails) {
  const Bytes source = TaggedSource();
  g_shrinkFolder = m_dir.Path() + "/";
  g_shrinkNextCopy = true;
  CutReport report;
  const int result = CutToFile(m_src, m_dest, 0, kWholeFile, &report);
  const bool injected = !g_shrinkNextCopy.exchange(false);
  if (!injected) GTEST_SKIP() << "the copy did not go through a kernel copy here";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadBytes(m_dest), kOldDestination);
  EXPECT_LT(ReadBytes(m_src).size(), source.size());
}

TEST_F(SourceChanges, FilesReplacedByFolders) {
  // The source becomes a folder after its analysis.
  {
    CMp3Reader analysis;
    Analyse(analysis);
    ASSERT_EQ(unlink(m_src.c_str()), 0);
    ASSERT_EQ(mkdir(m_src.c_str(), 0755), 0);
    CutReport report;
    EXPECT_EQ(CutToFile(m_src, m_dest, 0, 1500, &report), 0);
    EXPECT_EQ(ReadBytes(m_dest), kOldDestination);
    EXPECT_GT(DrainReader(analysis), 10);
    ASSERT_EQ(rmdir(m_src.c_str()), 0);
    ASSERT_TRUE(WriteBytes(m_src, TaggedSource()));
  }
  // The destination is a folder with something in it.
  const std::string folder = m_dir.File("folder.mp3");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  ASSERT_TRUE(WriteBytes(folder + "/inside", {1, 2, 3}));
  CutReport report;
  EXPECT_EQ(CutToFile(m_src, folder, 0, 1500, &report), 0);
  EXPECT_EQ(ReadBytes(folder + "/inside"), (Bytes{1, 2, 3}));
  CTagTransfer transfer;
  ASSERT_TRUE(transfer.ReadFrom(m_src.c_str()));
  EXPECT_FALSE(transfer.WriteTo(folder.c_str(), true, true));
}

// Whatever already holds the tag rewrite's temporary name (planted links
// above all) is never followed, emptied, renamed or removed: the rewrite
// goes through another name beside the target and succeeds, and the target
// ends up a regular file with the whole audio and the tags.
TEST_F(SourceChanges, TakenTemporaryNamesAreNeverFollowedEmptiedOrRemoved) {
  const std::string target = m_dir.File("target.mp3");
  const std::string temp = target + ".vuxtemp";
  const std::string victim = m_dir.File("victim");
  ASSERT_TRUE(WriteBytes(victim, Bytes(300, 0x5A)));
  CTagTransfer transfer;
  ASSERT_TRUE(transfer.ReadFrom(m_src.c_str()));
  const std::vector<std::pair<std::string, std::function<int()>>> plants = {
      {"symbolic link to another file", [&] { return symlink(victim.c_str(), temp.c_str()); }},
      {"dangling symbolic link", [&] { return symlink(m_dir.File("nowhere").c_str(), temp.c_str()); }},
      {"hard link to the target", [&] { return link(target.c_str(), temp.c_str()); }},
      {"hard link to another file", [&] { return link(victim.c_str(), temp.c_str()); }},
      {"folder", [&] { return mkdir(temp.c_str(), 0755); }},
      {"FIFO", [&] { return mkfifo(temp.c_str(), 0644); }},
  };
  for (const auto& [what, plant] : plants) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(WriteBytes(target, AudioBytes()));
    ASSERT_EQ(plant(), 0);
    struct stat planted, st;
    ASSERT_EQ(lstat(temp.c_str(), &planted), 0);
    Snapshot before = TakeSnapshot(m_dir.Path());

    EXPECT_TRUE(transfer.WriteTo(target.c_str(), true, true));
    ASSERT_EQ(lstat(temp.c_str(), &st), 0);
    EXPECT_TRUE(st.st_ino == planted.st_ino && st.st_mode == planted.st_mode);
    Snapshot after = TakeSnapshot(m_dir.Path());
    const Bytes result = after["target.mp3"];
    before.erase("target.mp3");
    after.erase("target.mp3");
    EXPECT_EQ(CompareSnapshots(before, after), "");
    EXPECT_EQ(after.size(), before.size());  // nothing created at "nowhere", no temporary file left
    ASSERT_EQ(lstat(target.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_TRUE(std::search(result.begin(), result.end(), AudioBytes().begin(), AudioBytes().end()) !=
                result.end());
    CTagTransfer check;
    EXPECT_TRUE(check.ReadFrom(target.c_str()));
    if (S_ISDIR(planted.st_mode)) {
      rmdir(temp.c_str());
    } else {
      unlink(temp.c_str());
    }
  }
  unlink(victim.c_str());
}

// A FIFO or a device node named as the destination is never replaced by a
// regular file, and nothing waits on the FIFO.
TEST_F(SourceChanges, NonRegularDestinationsAreNeverReplaced) {
  const std::string fifo = m_dir.File("pipe.mp3");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::vector<std::string> specials = {fifo};
  const std::string device = m_dir.File("null.mp3");
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) specials.push_back(device);
  for (const std::string& special : specials) {
    ChildOptions options;
    options.seconds = 20;
    EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
      std::string failures;
      CutReport report;
      CHECK_IN_CHILD(failures, CutToFile(m_src, special, 0, 1500, &report) == 0);
      CTagTransfer transfer;
      CHECK_IN_CHILD(failures, transfer.ReadFrom(m_src.c_str()));
      CHECK_IN_CHILD(failures, !transfer.WriteTo(special.c_str(), true, true));
      CTagTransfer fromSpecial;
      CHECK_IN_CHILD(failures, !fromSpecial.ReadFrom(special.c_str()));
      return failures.empty() ? "" : special + ":\n" + failures;
    }));
    struct stat st;
    ASSERT_EQ(lstat(special.c_str(), &st), 0);
    EXPECT_FALSE(S_ISREG(st.st_mode)) << special << " was replaced by a regular file";
    unlink(special.c_str());
  }
}
