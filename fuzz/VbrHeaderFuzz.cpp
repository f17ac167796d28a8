// Fuzz target: the VBR header parser on the 192 bytes it is given (shorter
// inputs are padded with zeros), then the stream totals and duration worked
// out from it, as the reader does for a first frame.
#include <cstring>

#include "fuzz/FuzzScratch.h"
#include "mp3/FrameHeader.h"
#include "mp3/Mp3StreamInfo.h"
#include "mp3/VbrHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t frame[kVbrProbeSize] = {};
  if (size) std::memcpy(frame, data, size < sizeof frame ? size : sizeof frame);
  VbrHeaderInfo vbr;
  const int parsed = ParseVbrHeader(frame, &vbr);
  FUZZ_CHECK(parsed == 0 || parsed == 1);
  if (parsed) {
    FUZZ_CHECK(vbr.encoder[sizeof vbr.encoder - 1] == '\0');
    FUZZ_CHECK(vbr.presetCode >= 0 && vbr.presetCode <= 7);
    FUZZ_CHECK(vbr.encoderDelay >= -1 && vbr.encoderDelay <= kLargestDelayOrPadding);
    FUZZ_CHECK(vbr.encoderPadding >= -1 && vbr.encoderPadding <= kLargestDelayOrPadding);
  }

  // The totals for this frame as the first of a stream; the audio size (a
  // file size, so below 2^40) comes from the bytes after the frame.
  const uint32_t h = mpeg::HeaderFromBytes(frame);
  if (!IsValidFrameHeader(h)) return 0;
  Mp3StreamInfo info;
  info.data.stereo = mpeg::Channels(h);
  info.data.samplerate = SampleRateOf(h);
  info.data.bitrate = BitrateKbpsOf(h) * 1000;
  info.layer = mpeg::Layer(h);
  info.lsf = mpeg::Lsf(h);
  info.mpeg25 = mpeg::Mpeg25(h);
  info.data.framesize = SamplesPerFrame(info.layer, info.lsf);
  for (int i = 0; i < 4; ++i) info.firstHeader[i] = frame[i];
  int64_t audioSize = 0;
  for (size_t i = kVbrProbeSize; i < size && i < kVbrProbeSize + 5; ++i) audioSize = audioSize << 8 | data[i];
  info.audioSize = audioSize;
  info.vbr = vbr;
  ComputeStreamTotals(info, parsed);
  FUZZ_CHECK(info.TotalSamples() >= 0);
  FUZZ_CHECK(StreamDurationMs(info) >= 0);
  return 0;
}
