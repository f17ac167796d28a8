// The frame index over byte-built streams that mix kinds of frame (the scan
// remembers each kind's length and duration, so a kind must never be taken
// for another), zero runs between frames, and the positional window the
// scans read through.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <set>

#include "mp3/FileWindow.h"
#include "mp3/Mp3FrameIndex.h"
#include "tests/mp3/FrameBuilder.h"
#include "tests/support/TestFiles.h"

namespace {

struct Expected {
  int64_t offset;
  double timeMs;
};

// Opens `bytes` as a file and indexes it (all of it unless `lazy`).
class IndexedFile {
 public:
  explicit IndexedFile(const std::vector<uint8_t>& bytes, int64_t n = -1, int64_t end = -1, bool lazy = false) {
    const std::string path = m_dir.File("s.mp3");
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    m_fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    index.Init(m_fd, 0, n, end);
    if (!lazy) index.ExtendToEnd();
  }
  ~IndexedFile() {
    index.Reset();
    if (m_fd >= 0) close(m_fd);
  }
  Mp3FrameIndex index;

 private:
  TempDir m_dir;
  int m_fd = -1;
};

}  // namespace

// Kinds that share a bitrate index and padding bit but differ in version,
// sample rate or padding, and headers that differ only in bits that do not
// matter (CRC flag, channel mode), over more than one 128 KiB read block.
TEST(Mp3FrameIndex, EveryKindOfFrameKeepsItsOwnLengthAndDuration) {
  const uint32_t kinds[] = {
      MakeHeader(1, 3, 9, 0),            // 44.1 kHz, 417 bytes
      MakeHeader(1, 3, 9, 1),            // 48 kHz, 384 bytes
      MakeHeader(1, 3, 9, 2, 1),         // 32 kHz, padded
      MakeHeader(2, 3, 9, 0),            // MPEG-2 22.05 kHz, 576 samples
      MakeHeader(25, 3, 9, 2),           // MPEG-2.5 8 kHz
      MakeHeader(1, 2, 9, 0),            // Layer II
      MakeHeader(1, 3, 9, 0, 1, 3),      // padded, mono
      MakeHeader(1, 3, 9, 0) & ~(1u << 16),  // with CRC: same length as the first
  };
  std::vector<uint8_t> file;
  std::vector<Expected> expected{{0, 0.0}};
  double time = 0;
  for (int i = 0; file.size() < 300 * 1024; ++i) {
    const uint32_t h = kinds[(i * 5 + i / 7) % 8];
    Append(file, MakeFrame(h, static_cast<uint8_t>(i)));
    time += FrameDurationMs(h);
    expected.push_back({static_cast<int64_t>(file.size()), time});
  }
  IndexedFile f(file);
  ASSERT_EQ(f.index.Count(), static_cast<int>(expected.size()));
  for (int i = 0; i < f.index.Count(); ++i) {
    ASSERT_EQ(f.index.At(i).offset, expected[static_cast<size_t>(i)].offset) << "entry " << i;
    ASSERT_EQ(f.index.At(i).timeMs, expected[static_cast<size_t>(i)].timeMs) << "entry " << i;
  }
}

// A run of zero bytes (a sparse hole, a damaged stretch) is garbage: it gets
// the one extra entry and the frames after it continue the times. Frames
// looked up by number or offset (as the cut options walk them) step over
// each hole's entry; ExtendPast indexes exactly as far as asked.
TEST(Mp3FrameIndex, ZeroRunBetweenFramesIsSkippedAsGarbage) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);  // 417 bytes
  std::vector<uint8_t> file = Frames(h, 10);
  const size_t holeAt = file.size();
  file.resize(file.size() + 3000, 0);
  const size_t afterHole = file.size();
  Append(file, Frames(h, 10));
  file.resize(file.size() + 50, 0);
  const size_t afterSecondHole = file.size();
  Append(file, Frames(h, 10));
  IndexedFile f(file);
  ASSERT_EQ(f.index.Count(), 1 + 10 + 1 + 10 + 1 + 10);
  EXPECT_EQ(f.index.At(10).offset, static_cast<int64_t>(holeAt));
  EXPECT_EQ(f.index.At(11).offset, static_cast<int64_t>(afterHole));
  EXPECT_EQ(f.index.At(11).timeMs, f.index.At(10).timeMs);
  EXPECT_EQ(f.index.At(f.index.Count() - 1).offset, static_cast<int64_t>(file.size()));
  EXPECT_NEAR(f.index.LastTime(), 30 * FrameDurationMs(h), 1e-9);
  EXPECT_EQ(f.index.FrameCount(), 30);

  const struct {
    int frame;
    int64_t offset;
  } frames[] = {{0, 0}, {9, 9 * 417}, {10, static_cast<int64_t>(afterHole)},
                {20, static_cast<int64_t>(afterSecondHole)}, {29, static_cast<int64_t>(file.size()) - 417}};
  for (const auto& e : frames) {
    EXPECT_EQ(f.index.FrameAt(e.frame).offset, e.offset) << e.frame;
    EXPECT_EQ(f.index.FrameAt(e.frame).length, 417) << e.frame;
    EXPECT_EQ(f.index.FramesBefore(e.offset), e.frame);
    EXPECT_EQ(f.index.FramesBefore(e.offset + 1), e.frame + 1);
  }
  EXPECT_EQ(f.index.FramesBefore(static_cast<int64_t>(holeAt) + 1), 10);
  EXPECT_EQ(f.index.FramesBefore(int64_t{1} << 40), 30);

  IndexedFile lazy(file, -1, -1, true);
  lazy.index.ExtendPast(static_cast<int64_t>(afterHole) - 1, 4);
  EXPECT_EQ(lazy.index.FrameCount(), 14);
  lazy.index.ExtendPast(static_cast<int64_t>(afterSecondHole), 40);
  EXPECT_EQ(lazy.index.FrameCount(), 30);
}

// An estimate far below the real count (a header claiming 2 frames) costs a
// few reallocations, not one per fixed step; frames past the end of the
// audio area given to Init are never indexed.
TEST(Mp3FrameIndex, GrowsGeometricallyAndStopsAtTheAudioEnd) {
  const int frames = 20000;  // of 72 bytes and 72 ms
  IndexedFile f(Frames(MakeHeader(25, 3, 1, 2), frames + 10), 2, frames * 72 + 50, true);
  std::set<size_t> capacities;
  for (int k = 1; k < frames + 10; k += 7) {
    f.index.TimeToOffset(k * 72.0);
    capacities.insert(f.index.Capacity());
  }
  EXPECT_LE(capacities.size(), 20u);  // fixed steps of 64 took 313
  EXPECT_EQ(f.index.FrameCount(), frames);
  EXPECT_EQ(f.index.TimeToOffset(1e12), frames * 72);
}

// Another program shortens or lengthens the file while it is indexed: the
// scan ends at what is really there (never past the size seen at the start),
// and nothing breaks.
TEST(Mp3FrameIndex, FileChangingSizeDuringTheScanEndsItCleanly) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);  // 417 bytes
  const std::vector<uint8_t> frames = Frames(h, 2000);  // over six read blocks
  TempDir dir;
  const std::string path = dir.File("c.mp3");
  ASSERT_TRUE(WriteFileBytes(path, frames));
  const double d = FrameDurationMs(h);
  {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    Mp3FrameIndex index;
    index.Init(fd, 0, -1);
    EXPECT_EQ(index.TimeToOffset(100.5 * d), 100 * 417);
    ASSERT_EQ(truncate(path.c_str(), 700 * 417 + 100), 0);
    // Frames are judged against the size seen at the start, so the frame
    // the new end cuts through may still be counted; none after it is.
    const int64_t end = index.TimeToOffset(1e9);
    EXPECT_GE(end, 700 * 417);
    EXPECT_LE(end, 701 * 417);
    close(fd);
  }
  {
    ASSERT_TRUE(WriteFileBytes(path, frames));
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    Mp3FrameIndex index;
    index.Init(fd, 0, -1);
    EXPECT_EQ(index.TimeToOffset(10.5 * d), 10 * 417);
    const int wfd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_EQ(write(wfd, frames.data(), frames.size()), static_cast<ssize_t>(frames.size()));
    close(wfd);
    EXPECT_EQ(index.TimeToOffset(1e9), static_cast<int64_t>(frames.size()));
    close(fd);
  }
}

TEST(FileWindow, ReadsAcrossBlocksAndStopsAtTheEnd) {
  TempDir dir;
  std::vector<uint8_t> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  const std::string path = dir.File("w.bin");
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  FileWindow window(fd, 64);
  uint8_t out[200];
  // Inside one block, straddling two, spanning several, in any order.
  for (const int64_t offset : {int64_t{0}, int64_t{60}, int64_t{130}, int64_t{5}, int64_t{700}}) {
    for (const int length : {1, 4, 63, 64, 65, 200}) {
      ASSERT_EQ(window.ReadAt(offset, out, length), length) << offset << "+" << length;
      EXPECT_TRUE(std::equal(out, out + length, bytes.begin() + offset)) << offset << "+" << length;
    }
  }
  EXPECT_EQ(window.ReadAt(990, out, 20), 10);
  EXPECT_EQ(out[9], bytes[999]);
  EXPECT_EQ(window.ReadAt(1000, out, 4), 0);
  EXPECT_EQ(window.ByteAt(999), bytes[999]);
  EXPECT_EQ(window.ByteAt(1000), -1);
  // Spans: what the block holds from an offset, a fresh block when fewer
  // than the minimum are left, nothing past the end.
  int available = 0;
  const uint8_t* span = window.Span(100, 4, &available);
  ASSERT_NE(span, nullptr);
  EXPECT_GE(available, 4);
  EXPECT_LE(available, 64);
  EXPECT_TRUE(std::equal(span, span + available, bytes.begin() + 100));
  const int64_t nearEnd = 100 + available - 2;
  span = window.Span(nearEnd, 4, &available);
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(available, 64);
  EXPECT_EQ(span[0], bytes[static_cast<size_t>(nearEnd)]);
  span = window.Span(997, 3, &available);
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(available, 3);
  EXPECT_EQ(window.Span(998, 4, &available), nullptr);
  EXPECT_EQ(window.Span(0, 65, &available), nullptr);
  // The file grows: a forgotten block shows the new bytes.
  const uint8_t more[4] = {1, 2, 3, 4};
  const int wfd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  ASSERT_EQ(write(wfd, more, 4), 4);
  close(wfd);
  window.Invalidate();
  EXPECT_EQ(window.ReadAt(998, out, 10), 6);
  EXPECT_EQ(out[5], 4);
  close(fd);
}
