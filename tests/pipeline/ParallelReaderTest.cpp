// The analysis reader that decodes on several threads: its chunks, decoded
// apart, join into the sequential reader's PCM (bit reservoir leaning
// across the boundaries, MPEG-2/2.5, mono, garbage between frames, a
// truncated last frame, every decoder core); Cancel stops every thread at
// once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "pipeline/ArwMan.h"
#include "pipeline/ParallelMp3Reader.h"
#include "tests/mp3/ReaderFixtures.h"
#include "tests/pipeline/PipelineFakes.h"
#include "tests/support/TestFiles.h"

namespace {

struct Source {
  const char* name;
  EncodeSpec spec;
};

std::vector<Source> Sources() {
  EncodeSpec low;  // 48 kbit/s at 32 kHz: most frames reach far back into the reservoir
  low.sampleRate = 32000;
  low.kbps = 48;
  low.seconds = 8;
  EncodeSpec vbr = low;
  vbr.sampleRate = 44100;
  vbr.mode = EncodeSpec::Mode::Vbr;
  EncodeSpec mpeg2 = low;
  mpeg2.sampleRate = 22050;
  mpeg2.channels = 1;
  mpeg2.kbps = 32;
  mpeg2.writeVbrTag = false;
  EncodeSpec mpeg25 = low;
  mpeg25.sampleRate = 11025;
  mpeg25.kbps = 24;
  EncodeSpec mono = low;
  mono.sampleRate = 48000;
  mono.channels = 1;
  return {{"low_cbr", low}, {"vbr", vbr}, {"mpeg2_mono", mpeg2}, {"mpeg25", mpeg25}, {"mpeg1_mono", mono}};
}

// Every decoder made while it lives uses `core`.
struct CoreChoice {
  explicit CoreChoice(const std::string& core) { Mpg123Decoder::UseCore(core); }
  ~CoreChoice() { Mpg123Decoder::UseCore(""); }
};

// Garbage between frames at three places (a fake header and noise), and a
// last frame cut short.
std::vector<uint8_t> Damaged(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> out;
  size_t pos = 0;
  for (size_t k = 1; k <= 3; ++k) {
    size_t cut = bytes.size() * k / 4;
    while (cut < bytes.size() && !IsValidFrameHeader(mpeg::HeaderFromBytes(&bytes[cut]))) ++cut;
    out.insert(out.end(), bytes.begin() + static_cast<long>(pos), bytes.begin() + static_cast<long>(cut));
    for (size_t i = 0; i < 700 * k; ++i) out.push_back(static_cast<uint8_t>(i * 37 + k));
    out.insert(out.end(), {0xFF, 0xFB, 0x90, 0x00});
    pos = cut;
  }
  out.insert(out.end(), bytes.begin() + static_cast<long>(pos), bytes.end() - 100);
  return out;
}

std::vector<uint8_t> ReadEverything(CAudioReader& reader) {
  std::vector<uint8_t> out;
  uint8_t buffer[8192];
  for (int n; (n = reader.Read(buffer, sizeof buffer)) > 0;) out.insert(out.end(), buffer, buffer + n);
  return out;
}

// Same length, and every sample within `most` of the expected one.
void ExpectSamePcm(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want, int most) {
  ASSERT_EQ(got.size(), want.size());
  size_t differing = 0;
  for (size_t i = 0; i + 1 < got.size(); i += 2) {
    const int a = static_cast<int16_t>(got[i] | (got[i + 1] << 8));
    const int b = static_cast<int16_t>(want[i] | (want[i + 1] << 8));
    if (a == b) continue;
    ++differing;
    ASSERT_LE(std::abs(a - b), most) << "sample " << i / 2;
  }
  EXPECT_LE(differing, got.size() / 2000) << "samples one rounding step apart";
}

}  // namespace

// Small chunks so that a few seconds hold many boundaries. MPEG-1 streams
// give the sequential reader's bytes exactly, with each core of libmpg123
// (the portable one rounds by the synthesis phase). Where the whole-stream
// decoder met garbage, and in MPEG-2/2.5 mono streams, a few samples may be
// one rounding step apart.
TEST(ChunkPlanner, ChunksDecodedApartJoinIntoTheWholeStream) {
  TempDir dir;
  for (const Source& s : Sources()) {
    auto bytes = EncodeMp3(s.spec);
    for (const bool damaged : {false, true}) {
      if (damaged) bytes = Damaged(bytes);
      const std::string path = dir.File(std::string(s.name) + (damaged ? "_damaged.mp3" : ".mp3"));
      ASSERT_TRUE(WriteFileBytes(path, bytes));
      for (const char* core : {"", "generic"}) {
        SCOPED_TRACE(path + " core " + core);
        CoreChoice choice(core);
        CMp3Reader sequential, stream;
        ASSERT_EQ(sequential.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
        const auto expected = ReadAll(sequential);
        ASSERT_EQ(stream.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
        const Mp3StreamInfo& info = stream.GetStreamInfo();
        ChunkPlanner planner(*stream.GetFrameIndex(), info, 16);
        const int fd = open(path.c_str(), O_RDONLY);
        std::vector<uint8_t> joined;
        int chunks = 0, leaning = 0;
        ChunkDecoder decoder;  // one for all chunks, as each thread has
        for (ChunkPlan plan; planner.Next(&plan); ++chunks) {
          if (chunks > 0) {
            const uint8_t* frame = &bytes[static_cast<size_t>(plan.keepFrom)];
            const uint32_t h = mpeg::HeaderFromBytes(frame);
            leaning += MainDataBegin(h, frame + MainDataOffset(h) - SideInfoLength(h)) > 0 ? 1 : 0;
          }
          ASSERT_TRUE(decoder.Start(fd, plan, info.SampleRate(), info.Channels()));
          while (decoder.Next(joined) == ChunkDecoder::Step::Frame) {
          }
        }
        close(fd);
        EXPECT_GE(chunks, damaged ? 4 : 8);
        EXPECT_GE(leaning, chunks * 2 / 3) << "boundaries inside reservoir stretches";
        if (!damaged && info.lsf == 0) {
          EXPECT_TRUE(joined == expected);
        } else {
          ExpectSamePcm(joined, expected, 1);
        }
      }
    }
  }
}

TEST(ParallelMp3Reader, ReadsWhatTheSequentialReaderReads) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 16;  // four chunks of 1 MiB
  spec.mode = EncodeSpec::Mode::Vbr;
  const auto clean = EncodeMp3(spec);
  for (const auto& bytes : {clean, Damaged(clean)}) {
    const std::string path = dir.File("long.mp3");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    CMp3Reader sequential;
    ASSERT_EQ(sequential.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
    const auto expected = ReadAll(sequential);
    int duration = -1;
    for (int threads : {1, 2, 3}) {
      CParallelMp3Reader reader(threads);
      int rate = 0, bits = 0, channels = 0;
      ASSERT_EQ(reader.Open(path.c_str(), &rate, &bits, &channels), 1);
      EXPECT_EQ(reader.ThreadCount(), threads);
      EXPECT_EQ(reader.IsUnseekable(), 1);
      EXPECT_TRUE(rate == 44100 && bits == 16 && channels == 2);
      // The sequential reader's duration once it decodes, for every count.
      EXPECT_EQ(reader.GetDuration(), sequential.GetDuration());
      if (duration >= 0) {
        EXPECT_EQ(reader.GetDuration(), duration);
      }
      duration = reader.GetDuration();
      SCOPED_TRACE(std::to_string(threads) + " threads");
      ExpectSamePcm(ReadEverything(reader), expected, bytes == clean ? 0 : 1);
      EXPECT_EQ(reader.Read(nullptr, 0), 0);
    }
  }
  // A file under a minute is read by one thread unless more are asked for.
  CParallelMp3Reader automatic;
  ASSERT_EQ(automatic.Open(dir.File("long.mp3").c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(automatic.ThreadCount(), 1);
  EXPECT_EQ(CParallelMp3Reader::DefaultThreads(59999), 1);
  EXPECT_GE(CParallelMp3Reader::DefaultThreads(60000), 1);
  EXPECT_LE(CParallelMp3Reader::DefaultThreads(1 << 30), CParallelMp3Reader::kMaxThreads);
}

// Cancel during a parallel analysis: the worker manager's Stop closes the
// reader, which stops and joins every decoding thread, well within 100 ms.
TEST(ParallelMp3Reader, CancelStopsEveryThreadAtOnce) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 30;
  const std::string path = dir.File("c.mp3");
  ASSERT_TRUE(WriteFileBytes(path, EncodeMp3(spec)));
  for (int waitMs : {0, 5, 40}) {
    CParallelMp3Reader reader(4);
    CNullWriter writer;
    std::atomic<int> blocks{0};
    writer.SetPcmCallback(
        [](void* user, const void*, int length) {
          static_cast<std::atomic<int>*>(user)->fetch_add(1);
          std::this_thread::sleep_for(std::chrono::microseconds(200));  // a slow waveform
          return length;
        },
        &blocks);
    ArwMessageQueue queue;
    CArwMan arw;
    arw.SetNotifyWindow(&queue);
    arw.SetReader(&reader);
    arw.SetWriter(&writer);
    arw.SetTexts({path});
    ASSERT_EQ(arw.Start(), 1);
    EXPECT_EQ(reader.ThreadCount(), 4);
    std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
    const auto start = std::chrono::steady_clock::now();
    arw.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100)) << waitMs;
    EXPECT_EQ(reader.ThreadCount(), 0) << "closed";
    EXPECT_FALSE(NextMessage(queue, std::chrono::milliseconds(20))) << "a cancelled run posts nothing";
  }
}
