#include "mp3/VbrTagWriter.h"

#include <cstring>

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "mp3/VbrHeader.h"

namespace {

// Identifier, flags, frames, bytes, table, quality, then the extension.
constexpr int kXingBodySize = 4 + 4 + 4 + 4 + 100 + 4;
constexpr uint32_t kAllXingFlags = kXingFlagFrames | kXingFlagBytes | kXingFlagToc | kXingFlagQuality;
// Offsets inside the LAME extension.
constexpr int kLameDelayPadding = 21;
constexpr int kLameMusicLength = 28;
constexpr int kLameMusicCrc = 32;
constexpr int kLameTagCrc = 34;

// The tag header: no CRC, so the identifier sits at the usual offset.
uint32_t TagHeader(uint32_t first, int bitrateIndex) {
  return WithBitrateIndex(first, bitrateIndex) | (1u << mpeg::kProtectionShift);
}

int SmallestFittingIndex(uint32_t first) {
  const int needed = XingOffsetOf(first) + kXingBodySize + kLameExtensionSize;
  for (int index = 1; index <= 14; ++index) {
    if (FrameLength(TagHeader(first, index)) >= needed) return index;
  }
  return 0;
}

void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

void PutBe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}

}  // namespace

int VbrTagFrameLength(uint32_t firstHeader) {
  const int index = SmallestFittingIndex(firstHeader);
  return index ? FrameLength(TagHeader(firstHeader, index)) : 0;
}

std::vector<uint8_t> BuildVbrTagFrame(const VbrTagFields& f) {
  const int index = SmallestFittingIndex(f.firstHeader);
  if (!index) return {};
  const uint32_t h = TagHeader(f.firstHeader, index);
  std::vector<uint8_t> frame(static_cast<size_t>(FrameLength(h)), 0);
  PutBe32(frame.data(), h);  // side info stays zero: a silent frame

  uint8_t* p = frame.data() + XingOffsetOf(h);
  std::memcpy(p, f.vbr ? "Xing" : "Info", 4);
  PutBe32(p + 4, kAllXingFlags);
  PutBe32(p + 8, f.frames);
  PutBe32(p + 12, f.bytes);
  std::memcpy(p + 16, f.toc, 100);
  PutBe32(p + 116, f.quality);

  uint8_t* lame = p + kXingBodySize;
  std::memcpy(lame, f.lame, kLameExtensionSize);
  if (lame[0] == 0) std::memcpy(lame, "LAME3.100", 9);
  const int delay = f.delay & 0xFFF;
  const int padding = f.padding & 0xFFF;
  lame[kLameDelayPadding] = static_cast<uint8_t>(delay >> 4);
  lame[kLameDelayPadding + 1] = static_cast<uint8_t>(((delay & 0xF) << 4) | (padding >> 8));
  lame[kLameDelayPadding + 2] = static_cast<uint8_t>(padding & 0xFF);
  PutBe32(lame + kLameMusicLength, f.bytes);
  PutBe16(lame + kLameMusicCrc, f.musicCrc);
  const size_t covered = static_cast<size_t>(lame + kLameTagCrc - frame.data());
  PutBe16(lame + kLameTagCrc, Crc16Arc(frame.data(), covered));
  return frame;
}
