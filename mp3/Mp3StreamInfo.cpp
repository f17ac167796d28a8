#include "mp3/Mp3StreamInfo.h"

#include <climits>
#include <cmath>

#include "mp3/FrameHeader.h"
#include "platform/MulDiv.h"

namespace {

// How far a VBR header's counts may stray from the audio area and still be
// taken: encoders differ by a frame or two in what they count (the header
// frame itself, a last partial frame), and a file cut short by a few frames
// loses little by keeping them.
constexpr int64_t kFewFrames = 4;
constexpr int kLowestBitrateIndex = 1;
constexpr int kHighestBitrateIndex = 14;
constexpr uint32_t kBitrateAndPadding = (0xFu << mpeg::kBitrateShift) | (1u << mpeg::kPaddingShift);

// Length of a frame of the first header's kind at another bitrate index.
int64_t FrameLengthAtBitrate(uint32_t first, int bitrateIndex, int padding) {
  const uint32_t h = (first & ~kBitrateAndPadding) | (static_cast<uint32_t>(bitrateIndex) << mpeg::kBitrateShift) |
                     (static_cast<uint32_t>(padding) << mpeg::kPaddingShift);
  return FrameLength(h);
}

int ClampToInt(int64_t v) { return v > INT_MAX ? INT_MAX : static_cast<int>(v); }

}  // namespace

StreamSignature Mp3StreamInfo::Signature() const {
  StreamSignature s = SignatureOf(mpeg::HeaderFromBytes(firstHeader));
  s.sampleRate = data.samplerate;
  s.channels = data.stereo;
  return s;
}

bool VbrTotalsFit(const Mp3StreamInfo& info) {
  const VbrHeaderInfo& vbr = info.vbr;
  if (vbr.frames <= 0) return false;
  const uint32_t first = mpeg::HeaderFromBytes(info.firstHeader);
  const int64_t shortest = FrameLengthAtBitrate(first, kLowestBitrateIndex, 0);
  const int64_t longest = FrameLengthAtBitrate(first, kHighestBitrateIndex, 1);
  if (shortest <= 0) return false;
  const int64_t area = info.audioSize;
  const int64_t frames = vbr.frames;
  if (frames * shortest > area) return false;                 // more than the bytes hold
  if ((frames + kFewFrames) * longest < area) return false;   // fewer than the bytes need
  if (vbr.bytes < 0) return true;
  const int64_t offBy = vbr.bytes > area ? vbr.bytes - area : area - vbr.bytes;
  return offBy <= kFewFrames * longest;
}

bool ComputeStreamTotals(Mp3StreamInfo& info, int parsed) {
  Mp3DecoderFields& d = info.data;
  const int spf = d.framesize;
  const VbrHeaderInfo& vbr = info.vbr;
  if (parsed && VbrTotalsFit(info)) {
    d.framenum = vbr.frames;
    int64_t samples = static_cast<int64_t>(spf) * vbr.frames;
    if (vbr.bytes >= 0) info.audioSize = vbr.bytes;
    d.bitrate = ClampToInt(MulDiv64(info.audioSize * 8, d.samplerate, samples));
    samples -= (vbr.encoderDelay != -1 ? vbr.encoderDelay : 0) +
               (vbr.encoderPadding != -1 ? vbr.encoderPadding : 0);
    // A lying header (fewer frames than delay + padding) gives no samples.
    d.nsamp = static_cast<unsigned long>(samples > 0 ? samples : 0);
    return true;
  }
  // The first header's bitrate over the whole audio area.
  const int64_t ms = MulDiv64(info.audioSize, 8000, d.bitrate);
  const int64_t samples = ms > 0 ? MulDiv64(ms, d.samplerate, 1000) : 0;
  d.nsamp = static_cast<unsigned long>(samples > 0 ? samples : 0);
  const int64_t frames = spf > 0 ? samples / spf : 0;
  d.framenum = ClampToInt(frames);
  return false;
}

void SetCountedTotals(Mp3StreamInfo& info, int64_t frames, double durationMs, int64_t bytes) {
  Mp3DecoderFields& d = info.data;
  const int64_t samples = std::llround(durationMs * d.samplerate / 1000.0);
  if (frames <= 0 || samples <= 0) return;
  d.framenum = ClampToInt(frames);
  d.nsamp = static_cast<unsigned long>(samples);
  info.countedSamples = samples;
  d.bitrate = ClampToInt(MulDiv64(bytes * 8, d.samplerate, samples));
}

void TakeInfoFrameCount(Mp3StreamInfo& info) {
  const VbrHeaderInfo& vbr = info.vbr;
  if ((vbr.kind != VbrHeaderKind::Xing && vbr.kind != VbrHeaderKind::Info) || vbr.frames <= 0) return;
  info.data.totalframes = vbr.frames;
  info.data.nsamp = static_cast<unsigned long>(vbr.frames) * static_cast<unsigned long>(info.data.framesize);
}

int StreamDurationMs(const Mp3StreamInfo& info) {
  const int64_t samples = info.TotalSamples();
  if (samples <= 0 || info.data.samplerate <= 0) return 0;
  const int64_t ms = MulDiv64(samples, 1000, info.data.samplerate);
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}
