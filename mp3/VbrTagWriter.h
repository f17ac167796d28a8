// Builds a fresh VBR information frame for the start of a cut: a silent
// Layer III frame of the stream's version, sample rate and channel mode, at
// the smallest bitrate that holds it, carrying a "Xing" (VBR) or "Info"
// (CBR) header with frame count, byte count, a 100-entry seek table and a
// quality value, then LAME's extension with the encoder delay and padding
// that make a gapless decoder play exactly the intended samples, the music
// length and CRC, and the tag CRC.
#pragma once

#include <cstdint>
#include <vector>

#include "mp3/VbrHeader.h"

struct VbrTagFields {
  uint32_t firstHeader = 0;  // the first audio frame's header (version, rate, mode)
  bool vbr = false;          // "Xing" when true, "Info" when false
  uint32_t frames = 0;       // audio frames after the tag frame
  uint32_t bytes = 0;        // the whole stream, the tag frame included
  uint8_t toc[100] = {};
  uint32_t quality = 0;
  // The LAME extension as the source had it (all zero when it had none);
  // the encoder string defaults to "LAME3.100" when empty.
  uint8_t lame[kLameExtensionSize] = {};
  int delay = 0;             // 0..4095
  int padding = 0;           // 0..4095
  uint16_t musicCrc = 0;     // CRC-16/ARC of every byte after the tag frame
};

// Length of the tag frame for streams with this first header; 0 when no
// bitrate of its version gives a frame large enough.
int VbrTagFrameLength(uint32_t firstHeader);

// The finished frame (VbrTagFrameLength bytes).
std::vector<uint8_t> BuildVbrTagFrame(const VbrTagFields& fields);
