// PcmFormatConverter: adapts blocks of interleaved PCM from the reader's
// format to the one the writer asked for, in four steps: 8-bit samples are
// widened to 16 bits (when the writer wants 16 bits or the rate changes),
// mono is duplicated into stereo or stereo averaged into mono, each channel
// goes through its own Resampler when the rates differ, and 16-bit samples
// are narrowed to 8 bits when the writer wants 8. 8-bit PCM is unsigned with
// its midpoint at 128. A block in the writer's own format passes unchanged.
//
// Supported: 8 or 16 bits, 1 or 2 channels, rates whose ratio a Resampler
// accepts. Blocks may hold at most the size given to Prepare; a trailing
// partial sample frame of a converted block is dropped.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pipeline/Resampler.h"

struct PcmFormat {
  int nSampleRate = -1;
  int nBitsPerSample = -1;
  int nChannels = -1;

  bool operator==(const PcmFormat&) const = default;
  // Bytes of one sample frame; 0 when the format is not a whole-byte one.
  int FrameBytes() const;
};

// Used when the output module asks for another format than the reader gives.
class PcmFormatConverter {
 public:
  // True when blocks can be taken from `from` to `to` (always for equal formats).
  static bool CanConvert(const PcmFormat& from, const PcmFormat& to);

  // Sets up buffers and resamplers for blocks of at most `maxInputBytes`.
  // False (and nothing held) when the conversion is not supported or memory
  // runs out.
  bool Prepare(const PcmFormat& from, const PcmFormat& to, int maxInputBytes);
  // Frees buffers and resamplers.
  void Release();
  // Forgets the resamplers' pending input (after a jump in the stream).
  void Reset();

  bool IsPassThrough() const { return m_bPassThrough; }

  // Adapts `length` bytes (at most the prepared size). Points *output at the
  // result and returns its size in bytes; the result stays valid until the
  // next call. A pass-through returns the input itself.
  int Convert(const uint8_t* input, int length, const uint8_t** output);

 private:
  PcmFormat m_from;
  PcmFormat m_to;
  bool m_bPassThrough = true;
  int m_nMaxInputBytes = 0;
  std::vector<std::unique_ptr<Resampler>> m_resamplers;  // one per writer channel
  std::vector<int16_t> m_work;      // interleaved samples between the steps
  std::vector<int16_t> m_scratchA;  // one channel gathered for its resampler
  std::vector<int16_t> m_scratchB;  // one channel out of its resampler
  std::vector<int16_t> m_resampled; // interleaved resampler output
  std::vector<uint8_t> m_output;    // the converted bytes
};
