#include "pipeline/Resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "pipeline/PcmFormatConverter.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<int16_t> Sine(double hz, int rate, int count, double amplitude = 20000) {
  std::vector<int16_t> v(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) v[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(amplitude * std::sin(2 * kPi * hz * i / rate)));
  return v;
}

std::vector<int16_t> Resample(Resampler& r, const std::vector<int16_t>& in) {
  std::vector<int16_t> out(static_cast<size_t>(r.MaxOutput(static_cast<int>(in.size()))));
  out.resize(static_cast<size_t>(r.Process(in.data(), static_cast<int>(in.size()), out.data(), static_cast<int>(out.size()))));
  return out;
}

// Frequency from the rising zero crossings between the first and the last one.
double MeasuredFrequency(const std::vector<int16_t>& v, int rate, size_t skip) {
  double first = -1, last = -1;
  int crossings = 0;
  for (size_t i = skip + 1; i + skip < v.size(); ++i) {
    if (v[i - 1] < 0 && v[i] >= 0) {
      const double at = (i - 1) + static_cast<double>(-v[i - 1]) / (v[i] - v[i - 1]);
      if (first < 0) first = at; else ++crossings;
      last = at;
    }
  }
  return crossings * static_cast<double>(rate) / (last - first);
}

}  // namespace

TEST(Resampler, ExtraRowIsPhaseZeroOneTapLater) {
  Resampler r(48000, 44100);
  for (int j = 1; j < r.TapsPerPhase(); ++j) EXPECT_NEAR(r.Tap(1024, j), r.Tap(0, j - 1), 1) << j;
}

TEST(Resampler, ConstantInputKeepsItsLevel) {
  for (auto [out, in] : {std::pair{48000, 44100}, std::pair{22050, 48000}, std::pair{44100, 8000}}) {
    Resampler r(out, in);
    const auto output = Resample(r, std::vector<int16_t>(20000, 12345));
    ASSERT_GT(output.size(), 100u);
    for (size_t i = 40; i + 40 < output.size(); ++i) ASSERT_EQ(output[i], 12345) << out << "/" << in << " at " << i;
  }
}

TEST(Resampler, SineKeepsItsFrequency) {
  struct Case { int in, out; double hz; };
  for (const Case c : {Case{44100, 48000, 1000.0}, Case{48000, 22050, 1000.0}, Case{48000, 22050, 3150.0}}) {
    Resampler r(c.out, c.in);
    const auto in = Sine(c.hz, c.in, c.in);  // one second
    const auto output = Resample(r, in);
    // One second out, less the filter's look-ahead still held for the next block.
    EXPECT_NEAR(static_cast<double>(output.size()), c.out - r.TapsPerPhase() / 2 * c.out / c.in, 2.0);
    EXPECT_NEAR(MeasuredFrequency(output, c.out, 100), c.hz, c.hz * 1e-4) << c.in << "->" << c.out;
    // Amplitude survives (pass band), within a few percent.
    int peak = 0;
    for (size_t i = 100; i + 100 < output.size(); ++i) peak = std::max(peak, std::abs(int{output[i]}));
    EXPECT_NEAR(peak, 20000, 600);
  }
}

TEST(Resampler, ManyShortBlocksEqualOneLongBlock) {
  const auto in = Sine(440.0, 44100, 30000);
  for (auto [out, rate] : {std::pair{48000, 44100}, std::pair{22050, 44100}}) {
    Resampler whole(out, rate);
    const auto expected = Resample(whole, in);
    Resampler pieces(out, rate);
    std::vector<int16_t> joined;
    std::mt19937 random(7);
    size_t at = 0;
    while (at < in.size()) {
      const size_t n = std::min<size_t>(in.size() - at, 1 + random() % 700);
      std::vector<int16_t> block(in.begin() + static_cast<long>(at), in.begin() + static_cast<long>(at + n));
      const auto part = Resample(pieces, block);
      joined.insert(joined.end(), part.begin(), part.end());
      at += n;
    }
    EXPECT_EQ(joined, expected);
  }
}

TEST(Resampler, FullScaleSquareSaturatesInsteadOfWrapping) {
  std::vector<int16_t> square(8000);
  for (size_t i = 0; i < square.size(); ++i) square[i] = (i / 200) % 2 ? -32768 : 32767;
  Resampler r(48000, 44100);
  const auto output = Resample(r, square);
  // Inside each half period the sign must stay: a wrapped overshoot flips it.
  for (size_t i = 40; i + 40 < output.size(); ++i) {
    const size_t source = i * 44100 / 48000;
    if (source % 200 < 20 || source % 200 > 180) continue;
    if ((source / 200) % 2) {
      ASSERT_LT(output[i], -30000) << i;
    } else {
      ASSERT_GT(output[i], 30000) << i;
    }
  }
}

TEST(Resampler, RejectsUnusableRates) {
  EXPECT_FALSE(Resampler(0, 44100).IsValid());
  EXPECT_FALSE(Resampler(44100, -1).IsValid());
  EXPECT_FALSE(Resampler(1000, 48000).IsValid());  // beyond the largest down ratio
  EXPECT_TRUE(Resampler(3000, 48000).IsValid());
}

TEST(PcmFormatConverter, WriterFormatPassesUnchanged) {
  PcmFormatConverter c;
  ASSERT_TRUE(c.Prepare({44100, 16, 2}, {44100, 16, 2}, 9216));
  EXPECT_TRUE(c.IsPassThrough());
  const uint8_t data[4] = {1, 2, 3, 4};
  const uint8_t* out = nullptr;
  EXPECT_EQ(c.Convert(data, 4, &out), 4);
  EXPECT_EQ(out, data);
}

TEST(PcmFormatConverter, ChannelsAndSampleSizes) {
  const uint8_t* out = nullptr;
  {
    PcmFormatConverter c;  // mono to stereo duplicates
    ASSERT_TRUE(c.Prepare({8000, 16, 1}, {8000, 16, 2}, 4096));
    const uint8_t in[] = {0x34, 0x12, 0xFE, 0xFF};
    ASSERT_EQ(c.Convert(in, 4, &out), 8);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{0x34, 0x12, 0x34, 0x12, 0xFE, 0xFF, 0xFE, 0xFF}));
  }
  {
    PcmFormatConverter c;  // stereo to mono: the average, truncated toward zero
    ASSERT_TRUE(c.Prepare({8000, 16, 2}, {8000, 16, 1}, 4096));
    const uint8_t in[] = {3, 0, 0xFC, 0xFF, 0xFD, 0xFF, 0xFC, 0xFF};  // (3, -4), (-3, -4)
    ASSERT_EQ(c.Convert(in, 8, &out), 4);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0, 0, 0xFD, 0xFF}));  // 0, -3
  }
  {
    PcmFormatConverter c;  // unsigned 8-bit: 128 is silence
    ASSERT_TRUE(c.Prepare({8000, 8, 1}, {8000, 16, 1}, 4096));
    const uint8_t in[] = {128, 255, 0};
    ASSERT_EQ(c.Convert(in, 3, &out), 6);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{0, 0, 0x00, 0x7F, 0x00, 0x80}));
  }
  {
    PcmFormatConverter c;
    ASSERT_TRUE(c.Prepare({8000, 16, 1}, {8000, 8, 1}, 4096));
    const uint8_t in[] = {0, 0, 0xFF, 0x7F, 0x00, 0x80};
    ASSERT_EQ(c.Convert(in, 6, &out), 3);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{128, 255, 0}));
  }
  {
    PcmFormatConverter c;  // 8-bit stereo to mono averages the unsigned bytes
    ASSERT_TRUE(c.Prepare({8000, 8, 2}, {8000, 8, 1}, 4096));
    const uint8_t in[] = {255, 0, 200, 100};
    ASSERT_EQ(c.Convert(in, 4, &out), 2);
    EXPECT_EQ(out[0], 127);
    EXPECT_EQ(out[1], 150);
  }
  EXPECT_FALSE(PcmFormatConverter::CanConvert({44100, 16, 2}, {44100, 24, 2}));
  EXPECT_FALSE(PcmFormatConverter::CanConvert({44100, 16, 6}, {44100, 16, 2}));
  EXPECT_TRUE(PcmFormatConverter::CanConvert({44100, 24, 6}, {44100, 24, 6}));
}

TEST(PcmFormatConverter, RateChangeOfFullBlocksStaysInsideItsBuffers) {
  // The largest blocks the worker hands over, at the extreme ratios.
  for (auto [from, to] : {std::pair{PcmFormat{48000, 8, 2}, PcmFormat{8000, 16, 2}},
                          std::pair{PcmFormat{8000, 8, 1}, PcmFormat{48000, 16, 2}}}) {
    PcmFormatConverter c;
    ASSERT_TRUE(c.Prepare(from, to, 8192));
    std::vector<uint8_t> in(8192, 200);
    size_t total = 0;
    for (int i = 0; i < 20; ++i) {
      const uint8_t* out = nullptr;
      total += static_cast<size_t>(c.Convert(in.data(), 8192, &out));
    }
    const double expected = 20.0 * 8192 / from.FrameBytes() * to.nSampleRate / from.nSampleRate * to.FrameBytes();
    EXPECT_NEAR(static_cast<double>(total), expected, 64.0 * to.FrameBytes());
  }
}
