// The VBR information header in the first frame of a stream: "Xing" (VBR) or
// "Info" (CBR) with LAME's extension, or Fraunhofer's "VBRI". The parser sees
// the frame's first 192 bytes, enough for the largest layout (MPEG-1 stereo,
// every Xing field and the LAME extension, whose last byte is byte 191).
//
//   Xing/Info, at XingOffsetOf(header)     LAME extension, right after them
//     "Xing" or "Info"        4               encoder string          9
//     flags (big-endian)      4               revision, VBR method    1
//     frames   (flag 0x1)     4               lowpass / 100           1
//     bytes    (flag 0x2)     4               peak amplitude          4
//     seek table (flag 0x4) 100               radio, audiophile gain  2 + 2
//     quality  (flag 0x8)     4               flags, ATH type         1
//                                             bitrate                 1
//   VBRI, at 36                               delay, padding          3 (12 bits each)
//     "VBRI", version, delay  4 + 2 + 2       misc, mp3 gain          1 + 1
//     quality, bytes, frames  2 + 4 + 4       preset, surround        2
//     seek table ...                          music length, CRC       4 + 2
//                                             tag CRC                 2
#pragma once

#include <cstddef>
#include <cstdint>

#include "mp3/Crc16Arc.h"

constexpr int kVbrProbeSize = 192;
constexpr int kLameExtensionSize = 36;
// Fields of the LAME extension, by their offset in it.
constexpr int kLameMethodOffset = 9;
constexpr int kLameLowpassOffset = 10;
constexpr int kLamePeakOffset = 11;
constexpr int kLameRadioGainOffset = 15;
constexpr int kLameAudiophileGainOffset = 17;
constexpr int kLameAthTypeOffset = 19;
constexpr int kLameDelayPaddingOffset = 21;
constexpr int kLameMusicLengthOffset = 28;
constexpr int kLameMusicCrcOffset = 32;
constexpr int kLameTagCrcOffset = 34;

// The delay and padding fields hold 12 bits, but readers (ours included)
// take values above this as implausible and ignore them, so a new header
// never holds more.
constexpr int kLargestDelayOrPadding = 3000;

// Samples a decoder's output lags its input. LAME's delay and padding count
// the encoder's own samples; a gapless decoder drops the encoder delay plus
// this many at the start of its raw output, and this many fewer than the
// padding at the end.
constexpr int kDecoderDelay = 529;

// Xing flags word.
constexpr uint32_t kXingFlagFrames = 0x1;
constexpr uint32_t kXingFlagBytes = 0x2;
constexpr uint32_t kXingFlagToc = 0x4;
constexpr uint32_t kXingFlagQuality = 0x8;

enum class VbrHeaderKind { None, Xing, Info, Vbri };

struct VbrHeaderInfo {
  uint8_t isVbr = 0;         // 1 for Xing and VBRI, 0 for Info
  int mpeg1 = 0;             // 1 for MPEG-1, 0 for MPEG-2 and 2.5
  int sampleRate = 0;        // -1 for a reserved index
  uint32_t flags = 0;        // Xing flags word
  int32_t frames = -1;       // total frames, or -1
  int32_t bytes = -1;        // total bytes, or -1
  int32_t quality = -1;      // Xing VBR scale, or -1
  uint8_t toc[100] = {};     // copied only when present
  int tagFrameSize = 0;      // bytes of the tag frame, without a padding slot
  // Where the LAME extension's 36 bytes sit in the frame (right after the
  // Xing fields), whether or not they hold one; -1 for VBRI.
  int lameOffset = -1;
  uint8_t hasLameExtension = 0;
  char encoder[10] = {};     // 9 characters + NUL, trailing blanks removed
  int presetCode = 0;        // 0..7
  double peakAmplitude = 0;
  double radioGainDb = 0;
  double audiophileGainDb = 0;
  int encoderDelay = -1;     // samples, or -1
  int encoderPadding = -1;   // samples, or -1
  VbrHeaderKind kind = VbrHeaderKind::None;  // which header was found
};

// Whether a gapless decoder trims the stream by the header's delay and
// padding: a Xing or Info header whose LAME extension gives both.
inline bool DeclaresGapless(const VbrHeaderInfo& info) {
  return info.kind != VbrHeaderKind::None && info.kind != VbrHeaderKind::Vbri && info.encoderDelay >= 0 &&
         info.encoderPadding >= 0;
}

// Parses the 192 bytes at the start of the first frame. 1 when a Xing, Info
// or VBRI header was found, else 0. A LAME extension whose CRC does not match
// keeps the Xing fields and drops only the LAME fields, delay and padding.
int ParseVbrHeader(const uint8_t* frame, VbrHeaderInfo* info);

// Byte offset of the Xing/Info identifier in a frame with this header:
// MPEG-1 36 (mono 21), MPEG-2/2.5 21 (mono 13).
int XingOffsetOf(uint32_t header);

const char* VbrKindName(VbrHeaderKind kind);
