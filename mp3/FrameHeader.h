// The 32-bit MPEG audio frame header, the rules by which a header is accepted
// and two headers are taken to belong to one stream, and the frame length and
// duration formulas. Pure computation: no file access, no decoding.
//
//   AAAAAAAA AAABBCCD EEEEFFGH IIJJKLMM      (b0 b1 b2 b3, big-endian)
//   A  31-21  frame sync, all ones
//   B  20-19  version: 0x MPEG-2.5 (01 is reserved, read as 2.5), 10 MPEG-2, 11 MPEG-1
//   C  18-17  layer code: 3 Layer I, 2 Layer II, 1 Layer III, 0 invalid
//   D  16     protection bit (0: a 16-bit CRC follows the header)
//   E  15-12  bitrate index: 0 free format and 15 are invalid
//   F  11-10  sample-rate index: 3 is invalid
//   G  9      padding: one slot more
//   H  8      private bit
//   I  7-6    channel mode: 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
//   J  5-4    mode extension
//   K,L,M     copyright, original, emphasis
//
// Three searches find frames, each with the rule its job needs, all testing
// headers with IsValidFrameHeader and SameStream below:
//   - the stream's first frame (CMp3Reader::Open): a valid header whose next
//     frame, one frame length on, belongs to the same stream; searched from
//     the end of a leading ID3v2 tag, over about a million positions.
//   - the frame index (Mp3FrameIndex), which offsets, the plain cut and the
//     cut options all use: from the first frame on, each valid header that
//     is not Layer I is the next frame; after bytes that are not, a header
//     counts once the next four frames follow it (or the audio area ends
//     first). Nothing past the audio area is a frame.
//   - the decoder's resync (CMp3Reader, after a seek or a long stretch that
//     decodes to nothing): the first header SameStream finds of the reader's
//     stream, unconfirmed; the decoder itself passes over what then does
//     not decode.
#pragma once

#include <cstdint>

namespace mpeg {

constexpr uint32_t kSyncMask = 0xFFE00000u;
constexpr int kVersionAShift = 20;   // 0: MPEG-2.5
constexpr int kVersionBShift = 19;   // with A = 1: 1 MPEG-1, 0 MPEG-2
constexpr int kLayerShift = 17;
constexpr int kProtectionShift = 16;
constexpr int kBitrateShift = 12;
constexpr int kSampleRateShift = 10;
constexpr int kPaddingShift = 9;
constexpr int kModeShift = 6;
constexpr int kModeExtShift = 4;
constexpr int kModeMono = 3;

inline int LayerCode(uint32_t h) { return static_cast<int>((h >> kLayerShift) & 3); }
inline int BitrateIndex(uint32_t h) { return static_cast<int>((h >> kBitrateShift) & 15); }
inline int SampleRateIndex(uint32_t h) { return static_cast<int>((h >> kSampleRateShift) & 3); }
inline int Padding(uint32_t h) { return static_cast<int>((h >> kPaddingShift) & 1); }
inline int ChannelMode(uint32_t h) { return static_cast<int>((h >> kModeShift) & 3); }
inline int ModeExtension(uint32_t h) { return static_cast<int>((h >> kModeExtShift) & 3); }
inline bool HasCrc(uint32_t h) { return ((h >> kProtectionShift) & 1) == 0; }
inline int Mpeg25(uint32_t h) { return ((h >> kVersionAShift) & 1) ? 0 : 1; }
// Low sampling frequency: MPEG-2 and MPEG-2.5.
inline int Lsf(uint32_t h) { return (Mpeg25(h) || !((h >> kVersionBShift) & 1)) ? 1 : 0; }
inline int Layer(uint32_t h) { return 4 - LayerCode(h); }
inline int Channels(uint32_t h) { return ChannelMode(h) == kModeMono ? 1 : 2; }

// The four header bytes in file order as one value.
inline uint32_t HeaderFromBytes(const uint8_t* b) {
  return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
}

}  // namespace mpeg

// Sync, layer code, bitrate index and sample-rate index all valid.
bool IsValidFrameHeader(uint32_t h);

// Sample rate in Hz of a valid header.
int SampleRateOf(uint32_t h);
// Bitrate in kbit/s of a valid header (ISO/IEC 11172-3 and 13818-3 tables).
int BitrateKbpsOf(uint32_t h);
// Bitrate in kbit/s for a layer (1..3), lsf flag and index; 0 for index 0 or 15.
int BitrateKbps(int layer, int lsf, int index);
// Samples per channel in one frame: 384, 1152, or 576 for Layer III LSF.
int SamplesPerFrameOf(uint32_t h);
int SamplesPerFrame(int layer, int lsf);
// Frame length in bytes, header included; 0 for an invalid header.
int FrameLength(uint32_t h);
// Milliseconds of one frame, unrounded.
double FrameDurationMs(uint32_t h);

// The fields two headers of one stream share. A reference is either the
// first header of a stream or the reader's stream description.
struct StreamSignature {
  int mpeg25 = 0;
  int lsf = 0;
  int layer = 0;
  int sampleRate = 0;
  int channels = 0;
};
StreamSignature SignatureOf(uint32_t h);

// H is valid and has the reference's version, layer, sample rate and channel
// count. Bitrate, padding and the other bits may differ.
bool SameStream(const StreamSignature& reference, uint32_t h);
inline bool SameStream(uint32_t reference, uint32_t h) {
  return SameStream(SignatureOf(reference), h);
}
