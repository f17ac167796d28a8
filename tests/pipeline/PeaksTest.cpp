// The waveform's column peaks without a window: folding (pieces of any
// size, a partial last column, columns without samples), the result for a
// tiny file against its decoded samples, and padocut-cli peaks.
#include "pipeline/Peaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/mp3/ReaderFixtures.h"
#include "tests/support/TestFiles.h"

namespace {

std::vector<uint8_t> Le16(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  for (int16_t s : samples) {
    bytes.push_back(static_cast<uint8_t>(s & 0xFF));
    bytes.push_back(static_cast<uint8_t>((static_cast<uint16_t>(s) >> 8) & 0xFF));
  }
  return bytes;
}

std::vector<std::pair<int, int>> Pairs(const std::vector<PeakColumns::Peak>& peaks) {
  std::vector<std::pair<int, int>> v;
  for (const auto& p : peaks) v.emplace_back(p.min, p.max);
  return v;
}

}  // namespace

TEST(PeakColumns, FoldsPiecesOfAnySizeIntoTrueExtremes) {
  // Three columns of two samples, five samples: the third column is partial,
  // a fourth gets none; all-positive and all-negative columns keep their sign.
  const auto bytes = Le16({1, 5, -2, -7, -9});
  const std::vector<std::pair<int, int>> expected = {{1, 5}, {-7, -2}, {-9, -9}, {0, 0}};
  for (size_t piece : {bytes.size(), size_t{1}, size_t{3}}) {
    PeakColumns columns(4, 2);
    for (size_t at = 0; at < bytes.size(); at += piece) columns.Add(bytes.data() + at, std::min(piece, bytes.size() - at));
    EXPECT_EQ(Pairs(columns.Peaks()), expected) << piece;
    EXPECT_EQ(columns.FilledColumns(), 2);
  }
  // Samples past the last column are not shown.
  PeakColumns one(1, 2);
  one.Add(bytes.data(), bytes.size());
  EXPECT_EQ(Pairs(one.Peaks()), (std::vector<std::pair<int, int>>{{1, 5}}));
}

TEST(Peaks, TinyFileGivesItsSamplesExtremesPerColumn) {
  EncodeSpec spec;
  spec.seconds = 0.5;
  spec.sampleRate = 8000;
  spec.channels = 1;
  spec.kbps = 16;
  TempDir dir;
  const std::string path = dir.File("tiny.mp3");
  ASSERT_TRUE(WriteFileBytes(path, EncodeMp3(spec)));
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(path.c_str(), nullptr, nullptr, nullptr), 1);
  const auto pcm = ReadAll(reader);
  PeaksOptions options;
  options.columns = 7;
  for (int threads : {1, 2}) {
    options.threads = threads;
    const PeaksResult r = ComputePeaks(path, options);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.sampleRate == 8000 && r.channels == 1 && r.columns == 7);
    EXPECT_NEAR(r.durationMs, 500, 150);
    ASSERT_GT(r.samplesPerColumn, 0);
    ASSERT_EQ(r.peaks.size(), 7u);
    for (size_t c = 0; c < 7; ++c) {
      int low = INT16_MAX, high = INT16_MIN;
      for (size_t i = c * r.samplesPerColumn; i < (c + 1) * r.samplesPerColumn && 2 * i + 1 < pcm.size(); ++i) {
        const int s = static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
        low = std::min(low, s);
        high = std::max(high, s);
      }
      EXPECT_EQ(r.peaks[c].min, low) << c;
      EXPECT_EQ(r.peaks[c].max, high) << c;
    }
  }
  options.columns = 0;
  EXPECT_FALSE(ComputePeaks(path, options).ok);
  EXPECT_FALSE(ComputePeaks(dir.File("missing.mp3"), PeaksOptions()).ok);

  // The command prints the same as JSON.
  const std::string command = BuildDir() + "/padocut-cli peaks --columns 3 '" + path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char text[4096] = {};
  const size_t n = std::fread(text, 1, sizeof text - 1, pipe);
  EXPECT_EQ(pclose(pipe), 0);
  options.columns = 3;
  const PeaksResult r = ComputePeaks(path, options);
  char expected[512];
  std::snprintf(expected, sizeof expected,
                "{\"sample_rate\": 8000, \"channels\": 1, \"duration_ms\": %d, \"columns\": 3, \"samples_per_column\": %d, "
                "\"peaks\": [[%d, %d], [%d, %d], [%d, %d]]}\n",
                r.durationMs, r.samplesPerColumn, r.peaks[0].min, r.peaks[0].max, r.peaks[1].min, r.peaks[1].max,
                r.peaks[2].min, r.peaks[2].max);
  EXPECT_EQ(std::string(text, n), expected);
}
