// Detail decoded on demand and the frame times, against a whole-file decode
// of real encodings (with and without an Info frame, MPEG-1 and MPEG-2).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "mp3/Mp3Reader.h"
#include "tests/support/TestFiles.h"
#include "tools/SignalEncoder.h"
#include "ui/waveform/DetailLoader.h"

namespace {

// Whole-file decode: interleaved samples from the stream's first sample.
std::vector<int16_t> DecodeAll(const std::string& path, int* rate, int* channels) {
  CMp3Reader reader;
  EXPECT_TRUE(reader.Open(path.c_str(), rate, nullptr, channels));
  std::vector<int16_t> pcm;
  std::vector<int16_t> block(4608);
  for (int n; (n = reader.Read(block.data(), static_cast<int>(block.size() * 2))) > 0;) {
    pcm.insert(pcm.end(), block.begin(), block.begin() + n / 2);
  }
  return pcm;
}

// Waits for one answer of each kind the test asks for.
struct Answers {
  std::mutex lock;
  std::condition_variable arrived;
  std::optional<WaveDetail> detail;
  std::optional<FrameTimes> frames;

  template <typename T>
  bool WaitFor(std::optional<T>& slot) {
    std::unique_lock<std::mutex> hold(lock);
    return arrived.wait_for(hold, std::chrono::seconds(20), [&] { return slot.has_value(); });
  }
};

TEST(DetailLoaderTest, DetailMatchesTheWholeDecodeWithAndWithoutAnInfoFrame) {
  TempDir folder;
  struct Case {
    int rate;
    bool infoFrame;
  };
  for (const Case c : {Case{44100, true}, Case{44100, false}, Case{22050, true}}) {
    EncodeSpec spec;
    spec.sampleRate = c.rate;
    spec.seconds = 4;
    spec.writeVbrTag = c.infoFrame;
    const std::string path = folder.File("detail" + std::to_string(c.rate) + (c.infoFrame ? "i" : "") + ".mp3");
    ASSERT_TRUE(WriteFileBytes(path, EncodeMp3(spec)));
    int rate = 0, channels = 0;
    const std::vector<int16_t> whole = DecodeAll(path, &rate, &channels);

    Answers answers;
    DetailLoader loader;
    loader.SetSource(
        path,
        [&](WaveDetail detail) {
          std::lock_guard<std::mutex> guard(answers.lock);
          answers.detail = std::move(detail);
          answers.arrived.notify_all();
        },
        [&](FrameTimes frames) {
          std::lock_guard<std::mutex> guard(answers.lock);
          answers.frames = std::move(frames);
          answers.arrived.notify_all();
        });
    loader.Request(1500, 1700);
    ASSERT_TRUE(answers.WaitFor(answers.detail));
    const WaveDetail& detail = *answers.detail;
    const int samplesPerFrame = c.rate >= 32000 ? 1152 : 576;
    const int64_t lead = c.infoFrame ? samplesPerFrame : 0;
    EXPECT_EQ(detail.coverFirst, int64_t{1500} * rate / 1000 - lead) << "on the decoded stream's axis";
    ASSERT_LE(detail.firstFrame, detail.coverFirst);
    ASSERT_GE(detail.firstFrame + static_cast<int64_t>(detail.peaks.size()) * WaveDetail::kFramesPerEntry,
              detail.coverEnd);
    int worst = 0;
    for (size_t i = 0; i < detail.peaks.size(); ++i) {
      const int64_t first = (detail.firstFrame + static_cast<int64_t>(i) * WaveDetail::kFramesPerEntry) * channels;
      const auto from = whole.begin() + first;
      const auto to = from + WaveDetail::kFramesPerEntry * channels;
      worst = std::max(worst, std::abs(*std::min_element(from, to) - detail.peaks[i].min));
      worst = std::max(worst, std::abs(*std::max_element(from, to) - detail.peaks[i].max));
    }
    EXPECT_LE(worst, 2) << c.rate << (c.infoFrame ? " with" : " without") << " an Info frame";

    loader.RequestFrameTimes();
    ASSERT_TRUE(answers.WaitFor(answers.frames));
    const std::vector<int>& frames = answers.frames->starts;
    EXPECT_EQ(answers.frames->leadFrames, lead);
    const double frameMs = samplesPerFrame * 1000.0 / c.rate;
    ASSERT_GT(frames.size(), 100u);
    EXPECT_TRUE(std::is_sorted(frames.begin(), frames.end()));
    // The Info frame is left out: the first time is the first audio frame's.
    EXPECT_EQ(frames[0], c.infoFrame ? static_cast<int>(std::ceil(frameMs)) : 0);
    const int info = c.infoFrame ? 1 : 0;
    EXPECT_EQ(frames[10], static_cast<int>(std::ceil((10 + info) * frameMs)));
  }
}

}  // namespace
