#include "mp3/Mp3Reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <thread>

#include "tests/mp3/FrameBuilder.h"
#include "tests/mp3/ReaderFixtures.h"
#include "tests/support/TestFiles.h"

namespace {

std::string Save(const TempDir& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = dir.File(name);
  EXPECT_TRUE(WriteFileBytes(path, bytes));
  return path;
}

class RealEncodings : public ::testing::TestWithParam<NamedSpec> {};

}  // namespace

TEST_P(RealEncodings, OpenReportsFormatAndDuration) {
  const NamedSpec& s = GetParam();
  TempDir dir;
  const std::string path = Save(dir, "a.mp3", EncodedBytes(s));
  CMp3Reader reader;
  int rate = 0, bits = 0, channels = 0;
  ASSERT_EQ(reader.Open(path.c_str(), &rate, &bits, &channels), 1);
  EXPECT_EQ(rate, s.spec.sampleRate);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(channels, s.spec.channels);
  const auto& info = reader.GetStreamInfo();
  EXPECT_EQ(info.layer, 3);
  EXPECT_EQ(info.audioStart, 0);
  // Within three frames of the signal's length (without a LAME header the
  // totals include the encoder's delay and padding).
  const double frameMs = info.SamplesPerFrame() * 1000.0 / rate;
  EXPECT_NEAR(reader.GetDuration(), s.spec.seconds * 1000, 3 * frameMs + 1) << s.name;
}

// The reference decoder without gapless trimming: the same samples, one
// rounding step apart at most, from the same first sample on.
TEST_P(RealEncodings, DecodesAsMpg123WithoutGaplessTrimming) {
  const NamedSpec& s = GetParam();
  TempDir dir;
  const auto& bytes = EncodedBytes(s);
  const std::string path = Save(dir, "a.mp3", bytes);
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  const auto pcm = ReadAll(reader);
  // Opened again (each playback does), the reader decodes the same.
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_TRUE(ReadAll(reader) == pcm);
  const auto expected = Mpg123Decode(bytes);
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(pcm.size(), expected.size());
  for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
    const int got = static_cast<int16_t>(pcm[i] | (pcm[i + 1] << 8));
    const int want = static_cast<int16_t>(expected[i] | (expected[i + 1] << 8));
    ASSERT_LE(std::abs(got - want), 1) << s.name << " sample " << i / 2;
  }
  // The stream holds at least the signal (the decoder adds delay samples).
  const size_t bytesPerFrame = 2u * static_cast<size_t>(s.spec.channels);
  EXPECT_GE(pcm.size() / bytesPerFrame, static_cast<size_t>(s.spec.seconds * s.spec.sampleRate));
}

TEST_P(RealEncodings, IndexMapsTimesToFrameStarts) {
  const NamedSpec& s = GetParam();
  TempDir dir;
  const auto& bytes = EncodedBytes(s);
  const std::string path = Save(dir, "a.mp3", bytes);
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  Mp3FrameIndex* index = reader.GetFrameIndex();
  ASSERT_NE(index, nullptr);
  // Lazy (only the first frame after Open) when the VBR header gave the
  // totals; counted to the end without one.
  EXPECT_EQ(index->Count() == 1, reader.GetStreamInfo().vbr.kind != VbrHeaderKind::None) << s.name;
  EXPECT_EQ(reader.TimeToOffset(0), 0);
  EXPECT_EQ(reader.TimeToOffset(-1), -1);
  const int spf = reader.GetStreamInfo().SamplesPerFrame();
  const double frameMs = spf * 1000.0 / s.spec.sampleRate;
  // Walk frame by frame: the start of frame k is where time k * d maps.
  int64_t offset = 0;
  for (int k = 0; k < 20; ++k) {
    EXPECT_EQ(reader.TimeToOffset(k * frameMs), offset) << k;
    EXPECT_EQ(reader.TimeToOffset(k * frameMs + frameMs / 2), offset) << k;
    offset += FrameLength(mpeg::HeaderFromBytes(&bytes[static_cast<size_t>(offset)]));
  }
  // Far beyond the end: the end of the last whole frame, which for these
  // files is the end of the file.
  EXPECT_EQ(reader.TimeToOffset(1e9), static_cast<int64_t>(bytes.size()));
  EXPECT_LE(static_cast<size_t>(index->Count()), index->Capacity());
}

INSTANTIATE_TEST_SUITE_P(Kinds, RealEncodings, ::testing::ValuesIn(ReaderSpecs()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Mp3Reader, LameInfoDurationExcludesDelayUntilTheDecoderRefreshesIt) {
  const NamedSpec& s = ReaderSpecs()[0];  // CBR with Info + LAME extension
  TempDir dir;
  const std::string path = Save(dir, "a.mp3", EncodedBytes(s));
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  const auto& info = reader.GetStreamInfo();
  const auto& vbr = info.vbr;
  ASSERT_EQ(vbr.hasLameExtension, 1);
  const int64_t full = static_cast<int64_t>(vbr.frames) * info.SamplesPerFrame();
  EXPECT_EQ(info.TotalSamples(), full - vbr.encoderDelay - vbr.encoderPadding);
  char buf[8192];
  ASSERT_GT(reader.Read(buf, sizeof buf), 0);
  EXPECT_EQ(info.TotalSamples(), full);
}

// Without a VBR header whose counts fit the file, the totals are the
// frames' own, so the duration is where the index (and so the cut) ends: a
// VBR file without header, an Info header claiming 0 frames, three encodings
// joined. The decoder meeting the first Info frame does not change them.
TEST(Mp3Reader, TotalsAreCountedWhenTheVbrHeaderDoesNotFit) {
  EncodeSpec headerless = ReaderSpecs()[1].spec;
  headerless.writeVbrTag = false;
  auto claimsZero = EncodedBytes(ReaderSpecs()[0]);  // Info frame count at 44
  std::fill(claimsZero.begin() + 44, claimsZero.begin() + 48, 0);
  std::vector<uint8_t> joined;
  for (int i : {0, 1, 2}) Append(joined, EncodedBytes(ReaderSpecs()[i]));
  TempDir dir;
  for (const auto& bytes : {EncodeMp3(headerless), claimsZero, joined}) {
    CMp3Reader reader;
    ASSERT_EQ(reader.Open(Save(dir, "c.mp3", bytes).c_str(), nullptr, nullptr, nullptr), 1);
    const auto& info = reader.GetStreamInfo();
    const Mp3FrameIndex& index = *reader.GetFrameIndex();
    ASSERT_EQ(reader.TimeToOffset(1e9), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(info.TotalFrames(), index.FrameCount());
    EXPECT_NEAR(reader.GetDuration(), index.LastTime(), 1);
    EXPECT_NEAR(info.data.bitrate, bytes.size() * 8000.0 / index.LastTime(), 1);
    char buf[8192];
    for (int i = 0; i < 3; ++i) ASSERT_GT(reader.Read(buf, sizeof buf), 0);
    EXPECT_NEAR(reader.GetDuration(), index.LastTime(), 1);
  }
  // Reopened unchanged (every playback), the file is not scanned again; a
  // changed file is.
  CMp3Reader reader;
  const std::string path = Save(dir, "j.mp3", joined);
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  const int frames = reader.GetStreamInfo().TotalFrames();
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(reader.GetFrameIndex()->Count(), 1);
  EXPECT_EQ(reader.GetStreamInfo().TotalFrames(), frames);
  Append(joined, EncodedBytes(ReaderSpecs()[2]));
  Save(dir, "j.mp3", joined);
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_GT(reader.GetStreamInfo().TotalFrames(), frames);
}

// Frames of another sample rate between the stream's own (joined files)
// give no PCM, and the stream's frames after them decode again.
TEST(Mp3Reader, FramesOfAnotherRateAreLeftOutAndDecodingGoesOn) {
  const auto& own = EncodedBytes(ReaderSpecs()[2]);  // 44.1 kHz, no VBR header
  EncodeSpec other = ReaderSpecs()[2].spec;
  other.sampleRate = 48000;
  std::vector<uint8_t> joined = own;
  Append(joined, EncodeMp3(other));
  Append(joined, own);
  TempDir dir;
  CMp3Reader alone, reader;
  ASSERT_EQ(alone.Open(Save(dir, "own.mp3", own).c_str(), nullptr, nullptr, nullptr), 1);
  ASSERT_EQ(reader.Open(Save(dir, "joined.mp3", joined).c_str(), nullptr, nullptr, nullptr), 1);
  const double once = static_cast<double>(ReadAll(alone).size());
  // Give or take the frames whose bit reservoir lay in the other part.
  EXPECT_NEAR(static_cast<double>(ReadAll(reader).size()), 2 * once, 2 * 1152 * 4);
}

TEST(Mp3Reader, SearchStartsAfterTheId3v2Tag) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);
  for (bool footer : {false, true}) {
    auto tag = MakeId3v2(1000, footer);
    // A pair of valid frames inside the tag must not be taken as audio.
    auto decoy = Frames(MakeHeader(1, 3, 5, 0), 2);
    std::copy(decoy.begin(), decoy.end(), tag.begin() + 20);
    std::vector<uint8_t> file = tag;
    Append(file, Frames(h, 30));
    TempDir dir;
    const std::string path = Save(dir, "t.mp3", file);
    CMp3Reader reader;
    ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(reader.GetStreamInfo().audioStart, footer ? 1020 : 1010);
    EXPECT_EQ(reader.TimeToOffset(0), footer ? 1020 : 1010);
  }
}

TEST(Mp3Reader, SlidesPastAHeaderWhoseSuccessorDoesNotMatch) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);
  std::vector<uint8_t> file(100, 0x11);
  // A lone valid header (other rate) with junk where its next frame would be.
  auto lone = MakeFrame(MakeHeader(1, 3, 9, 1), 0x22);
  Append(file, lone);
  const size_t start = file.size();
  Append(file, Frames(h, 30));
  TempDir dir;
  const std::string path = Save(dir, "j.mp3", file);
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(reader.GetStreamInfo().audioStart, static_cast<int64_t>(start));
  EXPECT_EQ(reader.GetStreamInfo().data.samplerate, 44100);
}

TEST(Mp3Reader, GarbageBetweenFramesGetsItsOwnIndexEntry) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);
  std::vector<uint8_t> file = Frames(h, 10);
  const size_t garbageAt = file.size();
  Append(file, std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78, 0x9A, 0xFF, 0x00});
  const size_t afterGarbage = file.size();
  Append(file, Frames(h, 10));
  TempDir dir;
  const std::string path = Save(dir, "g.mp3", file);
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  const double d = FrameDurationMs(h);
  EXPECT_EQ(reader.TimeToOffset(9.5 * d), static_cast<int64_t>(garbageAt - 417));
  EXPECT_EQ(reader.TimeToOffset(10.5 * d), static_cast<int64_t>(afterGarbage));
  EXPECT_EQ(reader.TimeToOffset(11.5 * d), static_cast<int64_t>(afterGarbage + 417));
  // The end of frame 10 and the frame after the garbage share one time; that
  // exact time maps to the frame after the garbage, never to the garbage.
  const Mp3FrameIndex& index = *reader.GetFrameIndex();
  int shared = -1;
  for (int i = 1; i < index.Count(); ++i) {
    if (index.At(i).timeMs == index.At(i - 1).timeMs) {
      EXPECT_EQ(shared, -1);
      shared = i;
    }
  }
  ASSERT_EQ(shared, 11);
  EXPECT_EQ(index.At(10).offset, static_cast<int64_t>(garbageAt));
  EXPECT_EQ(index.At(11).offset, static_cast<int64_t>(afterGarbage));
  EXPECT_EQ(reader.TimeToOffset(index.At(11).timeMs), static_cast<int64_t>(afterGarbage));
}

// An APEv2 footer (its header has the same bytes here) for `size` bytes of
// items and footer.
std::vector<uint8_t> ApeBlock(uint32_t size, bool hasHeader) {
  std::vector<uint8_t> b = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0, 0};
  for (uint32_t v : {size, 1u, hasHeader ? 0x80000000u : 0u}) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  b.resize(32, 0);
  return b;
}

TEST(Mp3Reader, TrailingTagsShortenTheAudio) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);
  const auto frames = Frames(h, 20);
  const auto audio = static_cast<int64_t>(frames.size());
  TempDir dir;
  // An ID3v1 record holding a whole 24-byte frame (MPEG-2, 8 kbit/s) that
  // ends at the end of the file; an APE tag (header, items, footer) before
  // it; an APE footer claiming more than there is, which stays.
  auto v1 = MakeId3v1("title");
  const uint8_t sync[] = {0xFF, 0xF3, 0x14, 0xC0};
  std::copy(sync, sync + 4, v1.begin() + 104);
  auto apeAndV1 = ApeBlock(40, true);
  Append(apeAndV1, std::vector<uint8_t>(8, 'x'));
  Append(apeAndV1, ApeBlock(40, true));
  Append(apeAndV1, v1);
  const std::vector<std::pair<std::vector<uint8_t>, int64_t>> cases = {
      {v1, audio}, {apeAndV1, audio}, {ApeBlock(1u << 20, false), audio + 32}};
  for (const auto& [tags, end] : cases) {
    auto file = frames;
    Append(file, tags);
    CMp3Reader reader;
    ASSERT_EQ(reader.Open(Save(dir, "v1.mp3", file).c_str(), nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(reader.GetStreamInfo().audioEnd, end);
    EXPECT_EQ(reader.TimeToOffset(1e9), audio) << end;
  }
  {
    // An appended v2.4 tag with footer; its body happens to end in "TAG...",
    // which must not be taken for an ID3v1 record.
    auto file = frames;
    auto tag = MakeId3v2(300, true);
    std::memcpy(&tag[tag.size() - 10 - 128], "TAG", 3);
    Append(file, tag);
    CMp3Reader reader;
    ASSERT_EQ(reader.Open(Save(dir, "v24.mp3", file).c_str(), nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(reader.GetStreamInfo().audioSize, static_cast<int64_t>(frames.size()));
  }
  {
    // A footer declaring more than the audio holds fails the scan.
    auto file = Frames(h, 3);
    auto tag = MakeId3v2(10, true);
    tag[tag.size() - 4] = 0x7F;  // footer size far too large
    Append(file, tag);
    CMp3Reader reader;
    EXPECT_EQ(reader.Open(Save(dir, "bad.mp3", file).c_str(), nullptr, nullptr, nullptr), 0);
  }
}

TEST(Mp3Reader, TruncatedLastFrameIsNotIndexed) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);
  auto file = Frames(h, 12);
  file.resize(file.size() - 100);
  TempDir dir;
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(Save(dir, "t.mp3", file).c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(reader.TimeToOffset(1e6), 11 * 417);
  // A last frame that ends exactly at the end of the file is whole and is
  // indexed, so a cut to the end keeps it.
  auto exact = Frames(h, 12);
  CMp3Reader reader2;
  ASSERT_EQ(reader2.Open(Save(dir, "e.mp3", exact).c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(reader2.TimeToOffset(1e6), 12 * 417);
}

TEST(Mp3Reader, RiffWrappedFileIsSearchedFromTheStart) {
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  file.resize(70, 0);
  Append(file, EncodedBytes(ReaderSpecs()[2]));
  TempDir dir;
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(Save(dir, "r.wav", file).c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(reader.GetStreamInfo().audioStart, 70);
  EXPECT_GT(ReadAll(reader).size(), 100000u);
}

TEST(Mp3Reader, RefusesWhatIsNotMpegAudio) {
  TempDir dir;
  CMp3Reader reader;
  EXPECT_EQ(reader.Open(dir.File("missing.mp3").c_str(), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(reader.Open(Save(dir, "empty.mp3", {}).c_str(), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(reader.Open(Save(dir, "id3.mp3", {'I', 'D', '3', 4}).c_str(), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(reader.Open(Save(dir, "text.mp3", std::vector<uint8_t>(5000, 'a')).c_str(), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(reader.Open(dir.Path().c_str(), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(reader.Open("/dev/zero", nullptr, nullptr, nullptr), 0);
  // Free-format frames have no valid header.
  EXPECT_EQ(reader.Open(Save(dir, "free.mp3", Frames(MakeHeader(1, 3, 0, 0), 1)).c_str(), nullptr,
                        nullptr, nullptr), 0);
  std::vector<uint8_t> free;
  for (int i = 0; i < 20; ++i) {
    PutHeader(free, MakeHeader(1, 3, 0, 0));
    free.resize(free.size() + 400, 0);
  }
  EXPECT_EQ(reader.Open(Save(dir, "free2.mp3", free).c_str(), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(reader.GetDuration(), 0);
  char buf[16];
  EXPECT_LE(reader.Read(buf, sizeof buf), 0);
}

TEST(Mp3Reader, ReadOnlyFileOpens) {
  TempDir dir;
  const std::string path = Save(dir, "ro.mp3", EncodedBytes(ReaderSpecs()[0]));
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  CMp3Reader reader;
  EXPECT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
}

TEST(Mp3Reader, SeekMovesDecodingAndNegativeSeekRestarts) {
  const auto& s = ReaderSpecs()[2];  // CBR without VBR header
  TempDir dir;
  const std::string path = Save(dir, "s.mp3", EncodedBytes(s));
  CMp3Reader whole;
  ASSERT_EQ(whole.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  const size_t total = ReadAll(whole).size();
  const size_t frameBytes = 1152 * 4;

  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  std::vector<uint8_t> buf(8192);
  for (int i = 0; i < 40; ++i) ASSERT_GT(reader.Read(buf.data(), 8192), 0);
  reader.Seek(-1);
  const size_t again = ReadAll(reader).size();
  // Everything from the start again, give or take the staged frame.
  EXPECT_NEAR(static_cast<double>(again), static_cast<double>(total), 2.0 * frameBytes);

  CMp3Reader seeker;
  ASSERT_EQ(seeker.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  seeker.Seek(2000);
  const size_t rest = ReadAll(seeker).size();
  const double expected = static_cast<double>(total) - 2.0 * 44100 * 4;
  EXPECT_NEAR(static_cast<double>(rest), expected, 2.0 * frameBytes);
}

TEST(Mp3Reader, TwoReadersInTwoThreadsDecodeAsAlone) {
  TempDir dir;
  const std::string a = Save(dir, "a.mp3", EncodedBytes(ReaderSpecs()[1]));
  const std::string b = Save(dir, "b.mp3", EncodedBytes(ReaderSpecs()[3]));
  auto decodeFile = [](const std::string& path) {
    CMp3Reader r;
    if (!r.Open(path.c_str(), nullptr, nullptr, nullptr)) return std::vector<uint8_t>();
    return ReadAll(r);
  };
  const auto aloneA = decodeFile(a);
  const auto aloneB = decodeFile(b);
  for (int round = 0; round < 3; ++round) {
    std::vector<uint8_t> gotA, gotB;
    std::thread ta([&] { gotA = decodeFile(a); });
    std::thread tb([&] { gotB = decodeFile(b); });
    ta.join();
    tb.join();
    EXPECT_TRUE(gotA == aloneA);
    EXPECT_TRUE(gotB == aloneB);
  }
}

TEST(Mp3Reader, FilesOverFourGibibytesOpenAndIndex) {
  TempDir dir;
  const std::string path = dir.File("big.mp3");
  const auto& bytes = EncodedBytes(ReaderSpecs()[2]);  // 160 kbit/s, no VBR header
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  const int64_t size = (int64_t{9} << 29) + 12345;  // 4.5 GiB, sparse
  ASSERT_EQ(truncate(path.c_str(), size), 0);
  // An ID3v1 record at the very end, beyond 4 GiB.
  FILE* f = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(fseeko(f, size - 128, SEEK_SET), 0);
  const auto tag = MakeId3v1("far");
  ASSERT_EQ(std::fwrite(tag.data(), 1, tag.size(), f), tag.size());
  std::fclose(f);

  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  const auto& info = reader.GetStreamInfo();
  EXPECT_EQ(info.audioSize, size - 128);
  // The frames are counted: the zeros after them are not audio.
  EXPECT_NEAR(reader.GetDuration(), 3000, 100);
  EXPECT_EQ(reader.TimeToOffset(0), 0);
  EXPECT_GT(reader.TimeToOffset(1000), 0);
  // Indexing stops where the real frames end.
  EXPECT_EQ(reader.TimeToOffset(1e9), static_cast<int64_t>(bytes.size()));
}
