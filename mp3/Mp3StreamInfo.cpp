#include "mp3/Mp3StreamInfo.h"

#include <climits>

#include "platform/MulDiv.h"

void ComputeStreamTotals(Mp3StreamInfo& info, int parsed) {
  mp3data_struct& d = info.data;
  const int spf = d.framesize;
  const VbrHeaderInfo& vbr = info.vbr;
  if (parsed && vbr.frames != -1 && vbr.frames >= 0) {
    d.framenum = vbr.frames;
    int64_t samples = static_cast<int64_t>(spf) * vbr.frames;
    if (vbr.bytes != -1 && vbr.bytes >= 0) info.audioSize = vbr.bytes;
    const int64_t bitrate = MulDiv64(info.audioSize * 8, d.samplerate, samples);
    d.bitrate = bitrate > INT_MAX ? INT_MAX : static_cast<int>(bitrate);
    samples -= (vbr.encoderDelay != -1 ? vbr.encoderDelay : 0) +
               (vbr.encoderPadding != -1 ? vbr.encoderPadding : 0);
    // A lying header (fewer frames than delay + padding) gives no samples.
    d.nsamp = static_cast<unsigned long>(samples > 0 ? samples : 0);
    return;
  }
  // No VBR header, or one without a frame count: the first header's bitrate
  // over the whole audio area.
  const int64_t ms = MulDiv64(info.audioSize, 8000, d.bitrate);
  const int64_t samples = ms > 0 ? MulDiv64(ms, d.samplerate, 1000) : 0;
  d.nsamp = static_cast<unsigned long>(samples > 0 ? samples : 0);
  const int64_t frames = spf > 0 ? samples / spf : 0;
  d.framenum = frames > INT_MAX ? INT_MAX : static_cast<int>(frames);
}

int StreamDurationMs(const Mp3StreamInfo& info) {
  const int64_t samples = info.TotalSamples();
  if (samples <= 0 || info.data.samplerate <= 0) return 0;
  const int64_t ms = MulDiv64(samples, 1000, info.data.samplerate);
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}
