// Inputs that must not hurt: paths that are not files (devices, folders,
// FIFOs), files that shrink or grow under an open reader, sizes that point
// far past the end, long runs of 0xFF, and names with spaces, quotes,
// newlines, non-UTF-8 bytes and the longest length, through the core and
// through padocut-cli. No crash, no hang, no allocation beyond the input.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "mp3/CutToFile.h"
#include "mp3/Mp3Reader.h"
#include "tags/TagTransfer.h"
#include "tests/mp3/FrameBuilder.h"
#include "tests/reliability/AllocationWatch.h"
#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/FaultScene.h"
#include "tests/support/TestFiles.h"

extern char** environ;

namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

// Runs padocut-cli with `args` as they are (no shell), capturing stdout.
CliRun RunCli(const std::vector<std::string>& args) {
  CliRun run;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string exe = BuildDir() + "/padocut-cli";
  std::vector<char*> argv = {const_cast<char*>(exe.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  char buffer[4096];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) run.out.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  if (spawned != 0) return run;
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Decodes to the end: the number of non-empty reads, at most `most`.
int Drain(CMp3Reader& reader, int most = 100000) {
  std::vector<uint8_t> pcm(8192);
  int reads = 0;
  while (reads < most && reader.Read(pcm.data(), static_cast<int>(pcm.size())) > 0) ++reads;
  return reads;
}

// A frame carrying a Xing header with the given frame and byte counts.
Bytes XingFrame(uint32_t frames, uint32_t bytes) {
  Bytes f = MakeFrame(MakeHeader(1, 3, 9, 0), 0);  // 128 kbit/s, 44.1 kHz: 417 bytes
  const uint8_t head[] = {'X', 'i', 'n', 'g', 0, 0, 0, 3};
  std::copy(std::begin(head), std::end(head), f.begin() + 36);
  for (int i = 0; i < 4; ++i) {
    f[44 + i] = static_cast<uint8_t>(frames >> (24 - 8 * i));
    f[48 + i] = static_cast<uint8_t>(bytes >> (24 - 8 * i));
  }
  return f;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Everything a file meets: the reader (open, offsets, decoding, seeking),
// the tag reading and rewriting, the cut. Returns whether the reader opened.
bool Exercise(const std::string& path, const std::string& folder) {
  bool opened = false;
  {
    CMp3Reader reader;
    opened = reader.Open(path.c_str(), nullptr, nullptr, nullptr) == 1;
    if (opened) {
      reader.TimeToOffset(1e9);
      Drain(reader);
      reader.Seek(500);
      Drain(reader, 10);
    }
  }
  CTagTransfer transfer;
  if (transfer.ReadFrom(path.c_str())) {
    const std::string target = folder + "/retagged.mp3";
    WriteBytes(target, ReadBytes(path));
    transfer.WriteTo(target.c_str(), true, true);
  }
  CutReport report;
  CutToFile(path, folder + "/cut.mp3", 0, 1 << 30, &report);
  return opened;
}

}  // namespace

TEST(HostileInput, PathsThatAreNotFilesAreRefusedWithoutHanging) {
  TempDir dir;
  const std::string fifo = dir.File("pipe.mp3");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const std::string folder = dir.File("folder.mp3");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  for (const std::string& path : {std::string("/dev/null"), std::string("/dev/zero"), std::string("/dev/urandom"),
                                 fifo, folder}) {
    ChildOptions options;
    options.seconds = 30;
    EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
      std::string failures;
      CMp3Reader reader;
      CHECK_IN_CHILD(failures, reader.Open(path.c_str(), nullptr, nullptr, nullptr) == 0);
      CTagTransfer transfer;
      CHECK_IN_CHILD(failures, !transfer.ReadFrom(path.c_str()));
      CutReport report;
      CHECK_IN_CHILD(failures, CutToFile(path, dir.File("out.mp3"), 0, 2000, &report) == 0);
      CHECK_IN_CHILD(failures, !FileExists(dir.File("out.mp3")));
      for (const char* command : {"info", "tags", "offset"}) {
        std::vector<std::string> args = {command, path};
        if (std::string(command) == "offset") args.push_back("1000");
        CHECK_IN_CHILD(failures, RunCli(args).status == kCliFailed);
      }
      return failures.empty() ? "" : path + ":\n" + failures;
    }));
  }
}

TEST(HostileInput, ReaderSurvivesItsFileShrinkingAndGrowing) {
  TempDir dir;
  const std::string path = dir.File("moving.mp3");
  const Bytes audio = AudioBytes();
  for (size_t keep : {audio.size() * 3 / 4, audio.size() / 2, size_t{100}, size_t{0}}) {
    ASSERT_TRUE(WriteBytes(path, audio));
    CMp3Reader reader;
    ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
    reader.TimeToOffset(500);
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(keep)), 0);
    EXPECT_LE(reader.TimeToOffset(1e9), static_cast<int64_t>(audio.size()));
    EXPECT_LT(Drain(reader), 1000) << keep;
    reader.Seek(1500);
    reader.Seek(-1);
    EXPECT_LT(Drain(reader), 1000) << keep;
  }
  // Growing: more frames and garbage appended while open.
  ASSERT_TRUE(WriteBytes(path, audio));
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  {
    FILE* f = std::fopen(path.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fwrite(audio.data(), 1, audio.size(), f);
    const Bytes junk(50000, 0xFF);
    std::fwrite(junk.data(), 1, junk.size(), f);
    std::fclose(f);
  }
  EXPECT_LE(reader.TimeToOffset(1e9), static_cast<int64_t>(2 * audio.size() + 50000));
  EXPECT_LT(Drain(reader), 1000);
}

TEST(HostileInput, SizesPointingPastTheEndAllocateNoMoreThanTheFile) {
  TempDir dir;
  const Bytes frames = Frames(MakeHeader(1, 3, 9, 0), 30);
  const Bytes wholeByteSizes = {'I', 'D', '3', 3, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  const Bytes largestSyncSafe = {'I', 'D', '3', 4, 0, 0x80, 0x7F, 0x7F, 0x7F, 0x7F};
  const Bytes footer = {'3', 'D', 'I', 4, 0, 0x10, 0x7F, 0x7F, 0x7F, 0x7F};
  const Bytes v22 = {'I', 'D', '3', 2, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F, 'T', 'T', '2', 0xFF, 0xFF, 0xFF, 0};
  const Bytes frameTooLarge = Cat({{'I', 'D', '3', 3, 0, 0, 0, 0, 1, 0}, {'T', 'I', 'T', '2', 0x7F, 0xFF, 0xFF, 0xFF, 0, 0}});
  struct Case {
    const char* name;
    Bytes bytes;
    bool opens;
  };
  const std::vector<Case> cases = {
      {"whole-byte ID3v2 size", Cat({wholeByteSizes, frames}), false},
      {"largest sync-safe ID3v2 size", Cat({largestSyncSafe, frames}), false},
      {"appended tag larger than the file", Cat({frames, footer}), false},
      {"version 2.2 frame past the end", Cat({v22, frames}), false},
      {"frame size past the tag", Cat({frameTooLarge, Bytes(100, 'a'), frames}), true},
      {"Xing counts of 2^31 - 1", Cat({XingFrame(0x7FFFFFFF, 0x7FFFFFFF), frames}), true},
      {"Xing counts of 2^32 - 1", Cat({XingFrame(0xFFFFFFFF, 0xFFFFFFFF), frames}), true},
      {"Xing frame count 0", Cat({XingFrame(0, 1000), frames}), true},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File("hostile.mp3");
    ASSERT_TRUE(WriteBytes(path, c.bytes));
    AllocationWatch watch;
    EXPECT_EQ(Exercise(path, dir.Path()), c.opens) << c.name;
    if (AllocationWatch::Available()) {
      // Fixed buffers (file windows, copy blocks) aside, nothing grows with
      // what the file claims.
      EXPECT_LE(watch.Largest(), c.bytes.size() + (256u << 10)) << c.name;
    }
    CMp3Reader reader;
    if (reader.Open(path.c_str(), nullptr, nullptr, nullptr)) {
      const Mp3FrameIndex* index = reader.GetFrameIndex();
      ASSERT_NE(index, nullptr);
      EXPECT_LE(index->Capacity() * sizeof(Mp3FrameIndex::Entry), 2 * c.bytes.size() + 4096) << c.name;
      EXPECT_GE(reader.GetDuration(), 0) << c.name;
    }
  }
}

// Long stretches without frames cost time in proportion to their length,
// well under a second for 4 MiB (a decoder that rescans what it could not
// sync on, as LAME's did, once took minutes). Frames after the stretch
// still decode.
TEST(HostileInput, RunsWithoutFramesEndInBoundedTime) {
  TempDir dir;
  const Bytes frames = AudioBytes();
  const size_t stretch = 4u << 20;
  const Bytes unsyncTag = Cat({{'I', 'D', '3', 3, 0, 0x80, 0, 0, 0x7F, 0x7F}, Bytes(16383, 0xFF)});
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"only 0xFF", Bytes(stretch, 0xFF)},
      {"frames, 0xFF, frames", Cat({frames, Bytes(stretch, 0xFF), frames})},
      {"frames, zeros, frames", Cat({frames, Bytes(stretch, 0), frames})},
      {"0xFF then frames", Cat({Bytes(stretch / 8, 0xFF), frames})},
      {"unsynchronised tag of 0xFF", Cat({unsyncTag, frames})},
  };
  // The PCM of the frames alone, to compare with what comes after a stretch.
  size_t framesPcm = 0;
  {
    const std::string path = dir.File("frames.mp3");
    ASSERT_TRUE(WriteBytes(path, frames));
    CMp3Reader reader;
    ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
    std::vector<uint8_t> pcm(8192);
    for (int n; (n = reader.Read(pcm.data(), 8192)) > 0;) framesPcm += static_cast<size_t>(n);
  }
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const std::string path = dir.File("stretch.mp3");
    ASSERT_TRUE(WriteBytes(path, bytes));
    const auto start = std::chrono::steady_clock::now();
    ChildOptions options;
    options.seconds = 60;
    EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
      std::string failures;
      CMp3Reader reader;
      if (reader.Open(path.c_str(), nullptr, nullptr, nullptr)) {
        size_t total = 0;
        std::vector<uint8_t> pcm(8192);
        const auto decodeStart = std::chrono::steady_clock::now();
        for (int n; (n = reader.Read(pcm.data(), 8192)) > 0;) total += static_cast<size_t>(n);
        CHECK_IN_CHILD(failures, std::chrono::steady_clock::now() - decodeStart < std::chrono::seconds(1));
        // Both runs of frames play (the second may lose the frame whose
        // bit reservoir lay in the stretch).
        if (std::string(name).find(", frames") != std::string::npos) {
          CHECK_IN_CHILD(failures, total + 2 * 1152 * 4 >= 2 * framesPcm);
        }
      }
      Exercise(path, dir.Path());
      return failures;
    }));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  }
}

// Names with spaces, quotes, a newline, bytes that are not UTF-8, a leading
// dash, Korean, and the longest a folder entry may have: each works as a
// source and as a destination, in the core and through padocut-cli.
TEST(HostileInput, OddNamesWorkEverywhere) {
  TempDir dir;
  const Bytes source = TaggedSource();
  const std::string clean = dir.File("clean.mp3");
  ASSERT_TRUE(WriteBytes(clean, source));
  CutReport report;
  ASSERT_EQ(CutToFile(clean, dir.File("expected.mp3"), 500, 1500, &report), 1);
  const Bytes expected = ReadBytes(dir.File("expected.mp3"));
  const std::vector<std::string> names = {
      "with space.mp3", "quote\"d 'single'.mp3", "new\nline.mp3", "bad\xFF\xFE bytes.mp3", "-dash.mp3",
      "\xED\x8C\x8C\xEB\x8F\x84 \xEC\x9D\x8C\xEC\x95\x85.mp3", std::string(251, 'n') + ".mp3"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string src = dir.File("src " + name.substr(0, 200));
    const std::string dest = dir.File(name);
    ASSERT_TRUE(WriteBytes(src, source));
    EXPECT_EQ(CutToFile(src, dest, 500, 1500, &report), 1) << report.error;
    EXPECT_EQ(ReadBytes(dest), expected);
    CTagTransfer transfer;
    ASSERT_TRUE(transfer.ReadFrom(src.c_str()));
    // "<name>.vuxtemp" beside a name of the longest length does not fit in a
    // folder entry; the rewrite then builds its file under a short name.
    EXPECT_TRUE(transfer.WriteTo(dest.c_str(), true, true));
    EXPECT_EQ(ReadBytes(dest), expected);
    unlink(dest.c_str());

    const CliRun cut = RunCli({"cut", "--json", src, "0.5", "1.5", dest});
    EXPECT_EQ(cut.status, kCliOk);
    EXPECT_EQ(ReadBytes(dest), expected);
    EXPECT_NE(cut.out.find("\"output\": " + JsonString(dest)), std::string::npos) << cut.out;
    EXPECT_EQ(RunCli({"info", dest}).status, kCliOk);
    EXPECT_EQ(RunCli({"tags", dest}).status, kCliOk);
    unlink(dest.c_str());
    unlink(src.c_str());
  }
  // Nothing but the two files the test keeps.
  EXPECT_EQ(TakeSnapshot(dir.Path()).size(), 2u);
}

// nlohmann-json replaces each maximal ill-formed subsequence with U+FFFD.
TEST(HostileInput, JsonTextIsAlwaysUtf8) {
  const std::string kReplacement = "\xEF\xBF\xBD";
  EXPECT_EQ(JsonString("a\xFF" "b"), "\"a" + kReplacement + "b\"");
  EXPECT_EQ(JsonString("\xC3\xA9\xED\x8C\x8C"), "\"\xC3\xA9\xED\x8C\x8C\"");
  EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"" + kReplacement + kReplacement + kReplacement + "\"");  // a surrogate
  EXPECT_EQ(JsonString("\xC0\xAF"), "\"" + kReplacement + kReplacement + "\"");                  // overlong
  EXPECT_EQ(JsonString("\xE2\x82"), "\"" + kReplacement + "\"");                                // cut short
}
