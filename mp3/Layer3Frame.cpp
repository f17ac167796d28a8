#include "mp3/Layer3Frame.h"

#include <algorithm>
#include <cstring>

#include "mp3/FrameHeader.h"
#include "platform/ByteReader.h"

namespace {

constexpr int kCrcLength = 2;
constexpr int kLowestBitrateIndex = 1;
constexpr int kHighestBitrateIndex = 14;

bool Mono(uint32_t h) { return mpeg::ChannelMode(h) == mpeg::kModeMono; }

}  // namespace

int SideInfoLength(uint32_t h) {
  if (mpeg::Lsf(h)) return Mono(h) ? 9 : 17;
  return Mono(h) ? 17 : 32;
}

int MainDataOffset(uint32_t h) { return 4 + (mpeg::HasCrc(h) ? kCrcLength : 0) + SideInfoLength(h); }

int MainDataSlots(uint32_t h, int frameLength) { return frameLength - MainDataOffset(h); }

int MainDataBegin(uint32_t h, const uint8_t* sideInfo) {
  if (mpeg::Lsf(h)) return sideInfo[0];
  return (sideInfo[0] << 1) | (sideInfo[1] >> 7);
}

int MaxMainDataBegin(uint32_t h) { return mpeg::Lsf(h) ? 255 : 511; }

uint16_t Layer3Crc(const uint8_t* frame) {
  const uint32_t h = mpeg::HeaderFromBytes(frame);
  uint16_t crc = 0xFFFF;
  auto feed = [&crc](uint8_t byte) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool top = (crc & 0x8000) != 0;
      const bool in = ((byte >> bit) & 1) != 0;
      crc = static_cast<uint16_t>(crc << 1);
      if (top != in) crc ^= 0x8005;
    }
  };
  feed(frame[2]);
  feed(frame[3]);
  const uint8_t* side = frame + 4 + kCrcLength;
  for (int i = 0; i < SideInfoLength(h); ++i) feed(side[i]);
  return crc;
}

void UpdateLayer3Crc(uint8_t* frame) {
  const uint32_t h = mpeg::HeaderFromBytes(frame);
  if (!mpeg::HasCrc(h)) return;
  PutBe16(frame + 4, Layer3Crc(frame));
}

void SilenceLayer3Frame(uint8_t* frame) {
  const uint32_t h = mpeg::HeaderFromBytes(frame);
  std::memset(frame + MainDataOffset(h) - SideInfoLength(h), 0, static_cast<size_t>(SideInfoLength(h)));
  UpdateLayer3Crc(frame);
}

uint32_t WithBitrateIndex(uint32_t h, int index) {
  h &= ~(0xFu << mpeg::kBitrateShift);
  h &= ~(1u << mpeg::kPaddingShift);
  return h | (static_cast<uint32_t>(index) << mpeg::kBitrateShift);
}

std::vector<uint8_t> SilentFrameHolding(uint32_t templateHeader, const std::vector<uint8_t>& mainData) {
  for (int index = kLowestBitrateIndex; index <= kHighestBitrateIndex; ++index) {
    const uint32_t h = WithBitrateIndex(templateHeader, index);
    const int length = FrameLength(h);
    if (MainDataSlots(h, length) < static_cast<int>(mainData.size())) continue;
    std::vector<uint8_t> frame(static_cast<size_t>(length), 0);
    PutBe32(frame.data(), h);
    std::copy(mainData.begin(), mainData.end(), frame.end() - static_cast<long>(mainData.size()));
    UpdateLayer3Crc(frame.data());
    return frame;
  }
  return {};
}
