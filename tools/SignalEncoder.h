// Makes real MP3 encodings of synthetic signals with LAME's encoder API, for
// the bundled sample, the tests and the benchmarks: no third-party audio is
// ever committed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct EncodeSpec {
  enum class Mode { Cbr, Vbr, Abr };
  int sampleRate = 44100;
  int channels = 2;
  double seconds = 3.0;
  Mode mode = Mode::Cbr;
  int kbps = 128;          // CBR/ABR bitrate; VBR maximum when > 0 and mode is Vbr is ignored
  int vbrQuality = 4;      // 0 (best) .. 9
  bool writeVbrTag = true; // Xing (VBR) or Info (CBR) frame with LAME extension
  int quality = 7;         // algorithm quality 0..9 (7 is fast)
  uint32_t seed = 1;       // varies the noise part of the signal
  bool crc = false;        // CRC-protected frames
  bool reservoir = true;   // allow the bit reservoir
  bool alikeChannels = false;  // the right channel mostly follows the left (mid/side frames)
};

// Interleaved 16-bit PCM of the synthetic signal: a few tones that change
// every half second, a slow sweep and a little noise.
std::vector<int16_t> MakeSignal(const EncodeSpec& spec);

struct lame_global_struct;
// A LAME encoder configured and initialised per `spec` (free it with
// lame_close), or null.
lame_global_struct* OpenEncoder(const EncodeSpec& spec);

// Encodes `pcm` (interleaved) per `spec`. Empty on failure.
std::vector<uint8_t> EncodePcm(const EncodeSpec& spec, const std::vector<int16_t>& pcm);

// MakeSignal + EncodePcm.
std::vector<uint8_t> EncodeMp3(const EncodeSpec& spec);

// Writes bytes to a file; false on failure.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
