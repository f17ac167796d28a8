#include "mp3/VbrTagWriter.h"

#include <cstring>

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "platform/ByteReader.h"

namespace {

// Identifier, flags, frames, bytes, table, quality, then the extension.
constexpr int kXingBodySize = 4 + 4 + 4 + 4 + 100 + 4;
constexpr uint32_t kAllXingFlags = kXingFlagFrames | kXingFlagBytes | kXingFlagToc | kXingFlagQuality;

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
  // Two 12-bit values in three bytes.
  const uint32_t delay = static_cast<uint32_t>(f.delay) & 0xFFF;
  const uint32_t padding = static_cast<uint32_t>(f.padding) & 0xFFF;
  PutBe24(lame + kLameDelayPaddingOffset, delay << 12 | padding);
  PutBe32(lame + kLameMusicLengthOffset, f.bytes);
  PutBe16(lame + kLameMusicCrcOffset, f.musicCrc);
  const size_t covered = static_cast<size_t>(lame + kLameTagCrcOffset - frame.data());
  PutBe16(lame + kLameTagCrcOffset, Crc16Arc(frame.data(), covered));
  return frame;
}
