#include "mp3/FrameHeader.h"

namespace {

// kbit/s by [lsf][layer - 1][index]; index 0 (free) and 15 are 0.
constexpr int kBitrates[2][3][16] = {
    {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    },
    {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    },
};

// MPEG-1, MPEG-2, MPEG-2.5 rows of three.
constexpr int kSampleRates[9] = {44100, 48000, 32000, 22050, 24000, 16000, 11025, 12000, 8000};

}  // namespace

bool IsValidFrameHeader(uint32_t h) {
  return (h & mpeg::kSyncMask) == mpeg::kSyncMask && mpeg::LayerCode(h) != 0 &&
         mpeg::BitrateIndex(h) != 0 && mpeg::BitrateIndex(h) != 15 &&
         mpeg::SampleRateIndex(h) != 3;
}

int SampleRateOf(uint32_t h) {
  const int row = mpeg::Mpeg25(h) ? 6 : mpeg::Lsf(h) * 3;
  const int index = mpeg::SampleRateIndex(h);
  return index == 3 ? 0 : kSampleRates[row + index];
}

int BitrateKbps(int layer, int lsf, int index) {
  if (layer < 1 || layer > 3 || index < 0 || index > 15) return 0;
  return kBitrates[lsf ? 1 : 0][layer - 1][index];
}

int BitrateKbpsOf(uint32_t h) {
  return BitrateKbps(mpeg::Layer(h), mpeg::Lsf(h), mpeg::BitrateIndex(h));
}

int SamplesPerFrame(int layer, int lsf) {
  if (layer == 1) return 384;
  if (layer == 2) return 1152;
  return lsf ? 576 : 1152;
}

int SamplesPerFrameOf(uint32_t h) { return SamplesPerFrame(mpeg::Layer(h), mpeg::Lsf(h)); }

int FrameLength(uint32_t h) {
  if (!IsValidFrameHeader(h)) return 0;
  const int bitrate = BitrateKbpsOf(h) * 1000;
  const int rate = SampleRateOf(h);
  const int padding = mpeg::Padding(h);
  switch (mpeg::Layer(h)) {
    case 1:
      return (12 * bitrate / rate + padding) * 4;
    case 2:
      return 144 * bitrate / rate + padding;
    default:
      return 144 * bitrate / (rate << mpeg::Lsf(h)) + padding;
  }
}

double FrameDurationMs(uint32_t h) {
  const int rate = SampleRateOf(h);
  return rate > 0 ? SamplesPerFrameOf(h) * 1000.0 / rate : 0.0;
}

StreamSignature SignatureOf(uint32_t h) {
  StreamSignature s;
  s.mpeg25 = mpeg::Mpeg25(h);
  s.lsf = mpeg::Lsf(h);
  s.layer = mpeg::Layer(h);
  s.sampleRate = SampleRateOf(h);
  s.channels = mpeg::Channels(h);
  return s;
}

bool SameStream(const StreamSignature& reference, uint32_t h) {
  if (!IsValidFrameHeader(h)) return false;
  const StreamSignature s = SignatureOf(h);
  return s.mpeg25 == reference.mpeg25 && s.lsf == reference.lsf && s.layer == reference.layer &&
         s.sampleRate == reference.sampleRate && s.channels == reference.channels;
}
