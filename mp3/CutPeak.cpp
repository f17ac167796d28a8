#include "mp3/CutPeak.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "mp3/CutTypes.h"
#include "mp3/FrameHeader.h"
#include "mp3/Mpg123Decoder.h"

namespace {

// More than the bit reservoir's reach at the smallest frames (255 bytes of
// 24-byte MPEG-2 frames), and the overlap of the frame before.
constexpr int kPrimingFrames = 16;
constexpr int kFullScale = 32767;

int PeakOf(const Mpg123Decoder& decoder) {
  const int16_t* samples = decoder.Samples();
  const int count = decoder.SampleCount() * decoder.Channels();
  int peak = 0;
  for (int i = 0; i < count; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  return peak;
}

}  // namespace

int DecodedPeak(SourceFrames& frames, int a, int b) {
  if (a >= b) return 0;
  const uint32_t h = frames.At(a).header;
  Mpg123Decoder decoder;
  if (frames.ReadFailed() || !decoder.Init(SampleRateOf(h), mpeg::Channels(h), false)) return -1;
  const int first = std::max(0, a - kPrimingFrames);
  int64_t fed = 0, keepFrom = 0;
  int peak = 0;
  std::vector<uint8_t> bytes;
  for (int k = first; k < b; ++k) {
    if (k == a) keepFrom = fed;
    if (!frames.Read(frames.At(k), bytes) || !decoder.Feed(bytes.data(), bytes.size())) return -1;
    fed += static_cast<int64_t>(bytes.size());
    for (;;) {
      const Mpg123Decoder::Result result = decoder.DecodeFrame();
      if (result == Mpg123Decoder::Result::Failed) return -1;
      if (result == Mpg123Decoder::Result::NeedMore) break;
      if (decoder.FramePosition() >= keepFrom && k >= a) peak = std::max(peak, PeakOf(decoder));
    }
  }
  return peak;
}

int LargestGainWithoutClipping(int peak) {
  if (peak <= 0) return kLargestGainSteps;
  // peak * 2^(steps / 4) <= full scale
  const int steps = static_cast<int>(std::floor(4.0 * std::log2(static_cast<double>(kFullScale) / peak)));
  return std::clamp(steps, 0, kLargestGainSteps);
}
