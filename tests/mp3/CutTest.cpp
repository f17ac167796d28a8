#include "mp3/CutToFile.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "mp3/Mp3Reader.h"
#include "mp3/PathParts.h"
#include "mp3/TempFileName.h"
#include "tags/TagTransfer.h"
#include "tests/mp3/FrameBuilder.h"
#include "tests/mp3/ReaderFixtures.h"
#include "tests/support/TestFiles.h"

namespace {

// 48 kHz MPEG-1 VBR: every frame lasts exactly 24 ms, so frame k starts at
// 24k. With a Xing header in frame 0, or without one.
const std::vector<uint8_t>& Source48k(bool xingHeader = true) {
  auto encode = [](bool header) {
    EncodeSpec s;
    s.sampleRate = 48000;
    s.seconds = 4;
    s.mode = EncodeSpec::Mode::Vbr;
    s.writeVbrTag = header;
    return EncodeMp3(s);
  };
  static const std::vector<uint8_t> withHeader = encode(true);
  static const std::vector<uint8_t> without = encode(false);
  return xingHeader ? withHeader : without;
}

// An ID3v2.3 tag holding one TIT2 frame (encoding 0).
std::vector<uint8_t> TitleTag(const std::string& title) {
  const auto size = static_cast<uint8_t>(title.size() + 1);
  std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<uint8_t>(size + 10)};
  for (uint8_t b : {uint8_t{'T'}, uint8_t{'I'}, uint8_t{'T'}, uint8_t{'2'}, uint8_t{0}, uint8_t{0},
                    uint8_t{0}, size, uint8_t{0}, uint8_t{0}, uint8_t{0}}) {
    tag.push_back(b);
  }
  for (char c : title) tag.push_back(static_cast<uint8_t>(c));
  return tag;
}

// A tmpfs of `kib` KiB mounted on a fresh folder, unmounted at the end; not
// mounted (IsMounted false) where the test may not mount file systems.
class SmallDisk {
 public:
  explicit SmallDisk(int kib) {
    const std::string options = "size=" + std::to_string(kib) + "k";
    m_mounted = mount("tmpfs", m_dir.Path().c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (m_mounted) umount(m_dir.Path().c_str());
  }
  bool IsMounted() const { return m_mounted; }
  std::string File(const std::string& name) const { return m_dir.File(name); }
  const std::string& Path() const { return m_dir.Path(); }

 private:
  TempDir m_dir;
  bool m_mounted = false;
};

std::vector<uint8_t> Slice(const std::vector<uint8_t>& v, int64_t from, int64_t to) {
  return std::vector<uint8_t>(v.begin() + from, v.begin() + to);
}

int64_t OffsetOf(const std::string& path, double ms) {
  CMp3Reader r;
  if (!r.Open(path.c_str(), nullptr, nullptr, nullptr)) return -2;
  return r.TimeToOffset(ms);
}

// Files in `dir` (names only).
std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Points TMPDIR at a private folder for the test's lifetime.
class CutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    m_oldTmp = old ? old : "";
    m_hadTmp = old != nullptr;
    setenv("TMPDIR", m_tmp.Path().c_str(), 1);
  }
  void TearDown() override {
    if (m_hadTmp) {
      setenv("TMPDIR", m_oldTmp.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    EXPECT_TRUE(Listing(m_tmp.Path()).empty()) << "a temporary file outlived the cut";
  }
  std::string Save(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = m_dir.File(name);
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return path;
  }
  TempDir m_dir;
  TempDir m_tmp;
  std::string m_oldTmp;
  bool m_hadTmp = false;
};

}  // namespace

// The literal frames: asked for from a source with a Xing header, and what
// every cut of a source without one is.
TEST_F(CutTest, CopiesExactlyTheFramesHoldingTheRange) {
  struct Case {
    int start, end;
  };
  CutOptions framesOnly;
  framesOnly.framesOnly = true;
  for (const auto& [header, options] : {std::pair{true, framesOnly}, std::pair{false, CutOptions()}}) {
    const auto& src = Source48k(header);
    const std::string path = Save("src.mp3", src);
    // Inside frames, on frame starts (24 ms grid), first frame, whole file.
    for (Case c : {Case{1000, 2000}, Case{1010, 2011}, Case{240, 480}, Case{0, 24}, Case{5, 3999},
                   Case{0, 100000}}) {
      const std::string out = m_dir.File("out.mp3");
      CutReport report;
      ASSERT_EQ(CutToFile(path, out, c.start, c.end, &report, options), 1) << report.error;
      const int64_t from = OffsetOf(path, c.start);
      const int64_t to = OffsetOf(path, c.end);
      EXPECT_EQ(report.startOffset, from);
      EXPECT_EQ(report.endOffset, to);
      EXPECT_FALSE(report.tagsCarried);
      EXPECT_EQ(ReadFileBytes(out), Slice(src, from, to)) << header << " " << c.start << ".." << c.end;
    }
  }
  const auto& src = Source48k(false);
  const std::string path = Save("src.mp3", src);
  // An end exactly on a frame start excludes that frame: 240 ms is frame 10.
  CutReport r;
  ASSERT_EQ(CutToFile(path, m_dir.File("o.mp3"), 0, 240, &r), 1);
  EXPECT_EQ(r.frames, 10);
  EXPECT_EQ(r.endOffset, OffsetOf(path, 240.0));
  // To the end: every frame, the last one included.
  ASSERT_EQ(CutToFile(path, m_dir.File("o.mp3"), 3000, 1 << 30, &r), 1);
  EXPECT_EQ(r.endOffset, static_cast<int64_t>(src.size()));
}

TEST_F(CutTest, NegativeStartCutsFromTheFirstFrameNotFromByteZero) {
  std::vector<uint8_t> file = TitleTag("T");
  const size_t audio = file.size();
  Append(file, Source48k(false));
  const std::string path = Save("src.mp3", file);
  CutReport r;
  ASSERT_EQ(CutToFile(path, m_dir.File("o.mp3"), -1, 480, &r), 1);
  EXPECT_EQ(r.startOffset, static_cast<int64_t>(audio));
}

TEST_F(CutTest, CarriesTagsAndDropsTheSourcesOwnRecords) {
  const auto& audio = Source48k();
  std::vector<uint8_t> file = TitleTag("Wave Title");
  const int64_t audioStart = static_cast<int64_t>(file.size());
  Append(file, audio);
  Append(file, MakeId3v1("Old Title"));
  const std::string path = Save("src.mp3", file);
  const std::string out = m_dir.File("out.mp3");
  CutReport r;
  ASSERT_EQ(CutToFile(path, out, 1000, 1 << 30, &r), 1);
  EXPECT_TRUE(r.tagsCarried);
  EXPECT_EQ(r.endOffset, audioStart + static_cast<int64_t>(audio.size()));  // the old ID3v1 is not copied
  const auto result = ReadFileBytes(out);
  ASSERT_GT(result.size(), 138u);
  EXPECT_EQ(std::string(result.begin(), result.begin() + 3), "ID3");
  EXPECT_EQ(std::string(result.end() - 128, result.end() - 125), "TAG");
  // The ID3v2 title wins in both new tags.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&result[result.size() - 125])), "Wave Title");
  // Between the two: exactly the copied frames.
  const auto frames = Slice(file, r.startOffset, r.endOffset);
  EXPECT_TRUE(std::search(result.begin(), result.end(), frames.begin(), frames.end()) != result.end());
  EXPECT_EQ(result.size() - 128 - frames.size(), static_cast<size_t>(std::search(result.begin(), result.end(), frames.begin(), frames.end()) - result.begin()));
  CTagTransfer check;
  ASSERT_TRUE(check.ReadFrom(out.c_str()));
  EXPECT_TRUE(check.HasId3v1());
}

TEST_F(CutTest, CutOntoTheSourceReplacesItAndKeepsItsTags) {
  std::vector<uint8_t> file = TitleTag("Self");
  Append(file, Source48k());
  const std::string path = Save("self.mp3", file);
  CutReport r;
  ASSERT_EQ(CutToFile(path, path, 480, 960, &r), 1) << r.error;
  EXPECT_TRUE(r.tagsCarried);
  CTagTransfer check;
  ASSERT_TRUE(check.ReadFrom(path.c_str()));
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(r.frames, 20);
  EXPECT_EQ(Listing(m_dir.Path()), std::vector<std::string>{"self.mp3"});
}

// A tagged source's cut stays tagged when its content is shorter than an
// ID3v1 record (one 72-byte frame of 8 kbit/s MPEG-2.5) and when the umask
// takes every write bit away. A new file then gets the permissions a new
// file gets; a replaced one keeps its own.
TEST_F(CutTest, TaggedCutsOfAnySizeUnderAnyUmaskCarryTheTags) {
  EncodeSpec low;
  low.sampleRate = 8000;
  low.channels = 1;
  low.kbps = 8;
  low.writeVbrTag = false;
  std::vector<uint8_t> file = TitleTag("Low");
  Append(file, EncodeMp3(low));
  const std::string path = Save("low.mp3", file);
  CutReport r;
  ASSERT_EQ(CutToFile(path, m_dir.File("short.mp3"), 720, 800, &r), 1) << r.error;
  EXPECT_TRUE(r.tagsCarried);
  const auto cut = ReadFileBytes(m_dir.File("short.mp3"));
  ASSERT_LT(cut.size(), 2u * 128);  // tag and frame together under 128 bytes
  EXPECT_EQ(std::string(cut.end() - 128, cut.end() - 125), "TAG");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&cut[cut.size() - 125])), "Low");

  const std::string kept = Save("kept.mp3", {1, 2, 3});
  ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
  const mode_t oldMask = umask(0222);
  const int made = CutToFile(path, m_dir.File("masked.mp3"), 0, 1000, &r);
  const bool carried = r.tagsCarried;
  const int replaced = CutToFile(path, kept, 0, 1000, &r);
  CTagTransfer retag;
  const bool retagged = retag.ReadFrom(path.c_str()) && retag.WriteTo(kept.c_str(), true, true);
  umask(oldMask);
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(carried);
  EXPECT_EQ(replaced, 1);
  EXPECT_TRUE(retagged);
  struct stat st;
  ASSERT_EQ(stat(m_dir.File("masked.mp3").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  ASSERT_EQ(stat(kept.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Listing(m_dir.Path()), (std::vector<std::string>{"kept.mp3", "low.mp3", "masked.mp3", "short.mp3"}));
}

TEST_F(CutTest, TheCutDecodesAsTheSameFrames) {
  const auto& src = Source48k();
  const std::string path = Save("src.mp3", src);
  const std::string out = m_dir.File("out.mp3");
  CutReport r;
  ASSERT_EQ(CutToFile(path, out, 1200, 2400, &r), 1);
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(out.c_str(), nullptr, nullptr, nullptr), 1);
  const auto pcm = ReadAll(reader);
  EXPECT_EQ(pcm, Mpg123Decode(Slice(src, r.startOffset, r.endOffset)));
  // Every frame plays but the first, whose bit reservoir lies before the cut.
  EXPECT_GE(pcm.size(), static_cast<size_t>(r.frames - 1) * 1152 * 4);
}

TEST_F(CutTest, FailuresLeaveEverythingAsItWas) {
  const auto& src = Source48k();
  const std::string path = Save("src.mp3", src);
  CutReport r;
  // A source that does not open: nothing is created.
  EXPECT_EQ(CutToFile(m_dir.File("missing.mp3"), m_dir.File("a.mp3"), 0, 1000, &r), 0);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(CutToFile(Save("junk.mp3", std::vector<uint8_t>(4000, 7)), m_dir.File("a.mp3"), 0, 1000, &r), 0);
  EXPECT_FALSE(FileExists(m_dir.File("a.mp3")));
  // A destination folder that does not exist or cannot hold files.
  EXPECT_EQ(CutToFile(path, m_dir.File("no/such/folder/a.mp3"), 0, 1000, &r), 0);
  EXPECT_EQ(CutToFile(path, "/proc/padocut-cut.mp3", 0, 1000, &r), 0);
  EXPECT_EQ(CutToFile(path, m_dir.Path(), 0, 1000, &r), 0);
  // A read-only destination (the source itself here) is never replaced.
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(CutToFile(path, path, 0, 1000, &r), 0);
  EXPECT_EQ(ReadFileBytes(path), src);
  // ... but a read-only source still cuts elsewhere.
  EXPECT_EQ(CutToFile(path, m_dir.File("ok.mp3"), 0, 1000, &r), 1);
  EXPECT_EQ(Listing(m_dir.Path()), (std::vector<std::string>{"junk.mp3", "ok.mp3", "src.mp3"}));
}

// A file-size limit (in a child process) below the cut's size: the cut
// fails and nothing changes, the source as its own destination included.
TEST_F(CutTest, SizeLimitFailsWithoutDamage) {
  const auto& src = Source48k();
  const std::string path = Save("src.mp3", src);
  const std::string dest = Save("dest.mp3", std::vector<uint8_t>(5000, 0xAB));
  for (const std::string& target : {dest, path}) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      struct rlimit rl = {20000, 20000};
      setrlimit(RLIMIT_FSIZE, &rl);
      CutReport r;
      _exit(CutToFile(path, target, 0, 1 << 30, &r) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a cut past the size limit reported success";
    EXPECT_EQ(ReadFileBytes(path), src);
    EXPECT_EQ(ReadFileBytes(dest), std::vector<uint8_t>(5000, 0xAB));
    EXPECT_EQ(Listing(m_dir.Path()), (std::vector<std::string>{"dest.mp3", "src.mp3"}));
  }
}

// A destination disk too small for the cut, and one with room for the old
// file and most of the cut but not all of it: both fail, the existing
// destination stays, no partial or temporary file remains.
TEST_F(CutTest, FullDestinationDiskFailsWithoutDamage) {
  std::vector<uint8_t> tagged = TitleTag("Full Disk");
  Append(tagged, Source48k());
  const std::string path = Save("src.mp3", tagged);
  const int sizeKib = static_cast<int>(tagged.size() / 1024);
  ASSERT_GT(sizeKib, 40);
  // Half the cut; then the old file and all but a few KiB of the cut.
  for (int kib : {sizeKib / 2, sizeKib}) {
    SmallDisk disk(kib);
    if (!disk.IsMounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string dest = disk.File("dest.mp3");
    ASSERT_TRUE(WriteFileBytes(dest, std::vector<uint8_t>(5000, 0xAB)));
    CutReport r;
    EXPECT_EQ(CutToFile(path, dest, 0, 1 << 30, &r), 0) << kib << " KiB";
    EXPECT_EQ(ReadFileBytes(dest), std::vector<uint8_t>(5000, 0xAB));
    EXPECT_EQ(Listing(disk.Path()), std::vector<std::string>{"dest.mp3"});
    EXPECT_EQ(ReadFileBytes(path), tagged);
    // A new name on the full disk leaves no partial file either.
    EXPECT_EQ(CutToFile(path, disk.File("new.mp3"), 0, 1 << 30, &r), 0);
    EXPECT_EQ(Listing(disk.Path()), std::vector<std::string>{"dest.mp3"});
  }
}

// The cut builds its result beside the destination and reads the source
// directly: a temporary folder that is missing, a file or a full disk does
// not matter to it, and it leaves nothing there (TearDown checks the
// fixture's own). The temporary-name service falls back to /tmp.
TEST_F(CutTest, NeedsNoTemporaryFolder) {
  const std::string path = Save("src.mp3", Source48k());
  SmallDisk disk(4);
  if (disk.IsMounted()) {
    ASSERT_TRUE(WriteFileBytes(disk.File("fill"), std::vector<uint8_t>(4096, 1)));
  }
  for (const std::string& tmp : {m_dir.File("missing"), path, disk.Path()}) {
    setenv("TMPDIR", tmp.c_str(), 1);
    CutReport r;
    EXPECT_EQ(CutToFile(path, m_dir.File("a.mp3"), 0, 1 << 30, &r), 1) << tmp << ": " << r.error;
    ASSERT_EQ(unlink(m_dir.File("a.mp3").c_str()), 0);
    if (tmp != disk.Path()) {
      EXPECT_EQ(SystemTempFolder(), "/tmp/");
    }
  }
  if (disk.IsMounted()) {
    EXPECT_EQ(Listing(disk.Path()), std::vector<std::string>{"fill"});
  }
  setenv("TMPDIR", m_tmp.Path().c_str(), 1);
}

// Taken names, planted links among them, are never used: a link is neither
// followed nor emptied, and the last resort is created exclusively too.
TEST(TempFileName, HundredCollisionsFallBackToARandomName) {
  TempDir dir;
  const std::string victim = dir.File("victim");
  ASSERT_TRUE(WriteFileBytes(victim, {1, 2, 3}));
  auto fixedTick = []() -> unsigned { return 0x12345; };
  for (int n = 0; n < 100; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "t%02d%05x.tmp", n, 0x12345);
    const std::string path = dir.File(name);
    const std::string dangling = dir.File("nowhere" + std::to_string(n));
    ASSERT_TRUE(n % 3 == 0   ? WriteFileBytes(path, {})
                : n % 3 == 1 ? symlink(victim.c_str(), path.c_str()) == 0
                             : symlink(dangling.c_str(), path.c_str()) == 0);
  }
  const std::string last = MakeTempFileName(dir.Path(), fixedTick);
  EXPECT_EQ(last.size() - last.find_last_of('/') - 1, std::string("t123456.tmp").size()) << last;
  EXPECT_EQ(last.substr(last.size() - 4), ".tmp");
  EXPECT_TRUE(FileExists(last));
  EXPECT_TRUE(ReadFileBytes(last).empty());
  unlink(last.c_str());
  EXPECT_EQ(ReadFileBytes(victim), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_FALSE(FileExists(dir.File("nowhere2")));
  // With a free slot the name is made in the folder, and created.
  unlink(dir.File("t57" "12345.tmp").c_str());
  EXPECT_EQ(MakeTempFileName(dir.Path(), fixedTick), dir.File("t5712345.tmp"));
  EXPECT_TRUE(FileExists(dir.File("t5712345.tmp")));
}

TEST(PathParts, SplitsFoldersTitlesAndExtensions) {
  EXPECT_EQ(GetFolderPart("/music/song.mp3"), "/music/");
  EXPECT_EQ(GetFileTitlePart("/music/song.mp3"), "song");
  EXPECT_EQ(GetFileExtPart("/music/song.mp3"), ".mp3");
  EXPECT_EQ(GetFolderPart("/music/sub/"), "/music/");
  EXPECT_EQ(GetFolderPart("song.mp3"), "");
  EXPECT_EQ(GetFileExtPart("/music.d/song"), "");
  EXPECT_EQ(GetFileTitlePart("/music.d/song"), "song");
  EXPECT_EQ(GetFileExtPart("/m/a.b.c"), ".c");
  EXPECT_EQ(GetFileTitlePart("/m/a.b.c"), "a.b");
  TempDir dir;
  EXPECT_TRUE(IsExistingFolder(dir.Path()));
  EXPECT_FALSE(IsExistingFile(dir.Path()));
  ASSERT_TRUE(WriteFileBytes(dir.File("f"), {1}));
  EXPECT_TRUE(IsExistingFile(dir.File("f")));
  EXPECT_FALSE(IsExistingFolder(dir.File("f")));
  EXPECT_FALSE(IsExistingFile(dir.File("none")));
}
