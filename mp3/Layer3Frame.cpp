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

// Side info bits, by [lsf][mono]: what comes before the first granule's
// first channel (main_data_begin, private bits, MPEG-1's scfsi), and the
// length of one granule-and-channel block (part2_3_length 12, big_values 9,
// global_gain 8, scalefac_compress 4 or 9, window switching and tables 23,
// then 3 or 2 flags). Blocks go granule by granule, channel by channel.
constexpr int kSideInfoPrefixBits[2][2] = {{9 + 3 + 2 * 4, 9 + 5 + 4}, {8 + 2, 8 + 1}};
constexpr int kGranuleBlockBits[2] = {59, 63};
constexpr int kGlobalGainInBlock = 12 + 9;
constexpr int kModeJointStereo = 1;

// Bit position of global_gain in the frame, from its first byte.
int GlobalGainBit(uint32_t h, int granule, int channel) {
  const int lsf = mpeg::Lsf(h);
  const int block = granule * mpeg::Channels(h) + channel;
  const int sideInfoBit = 8 * (MainDataOffset(h) - SideInfoLength(h));
  return sideInfoBit + kSideInfoPrefixBits[lsf][Mono(h) ? 1 : 0] + block * kGranuleBlockBits[lsf] +
         kGlobalGainInBlock;
}

// Eight bits from bit `bit` on, most significant first.
int ReadByteAtBit(const uint8_t* p, int bit) {
  const int word = (p[bit / 8] << 8) | p[bit / 8 + 1];
  return (word >> (8 - bit % 8)) & 0xFF;
}

void WriteByteAtBit(uint8_t* p, int bit, int value) {
  const int shift = 8 - bit % 8;
  const int mask = 0xFF << shift;
  const int word = (((p[bit / 8] << 8) | p[bit / 8 + 1]) & ~mask) | (value << shift);
  p[bit / 8] = static_cast<uint8_t>(word >> 8);
  p[bit / 8 + 1] = static_cast<uint8_t>(word);
}

// Both channels are coded together: mid/side or intensity stereo is on.
bool ChannelsCodedTogether(uint32_t h) {
  return mpeg::ChannelMode(h) == kModeJointStereo && mpeg::ModeExtension(h) != 0;
}

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

int GranulesOf(uint32_t h) { return mpeg::Lsf(h) ? 1 : 2; }

int GlobalGain(const uint8_t* frame, int granule, int channel) {
  return ReadByteAtBit(frame, GlobalGainBit(mpeg::HeaderFromBytes(frame), granule, channel));
}

int LowestGainChange(const uint8_t* frame, int granule) {
  const uint32_t h = mpeg::HeaderFromBytes(frame);
  int lowest = 0;
  for (int channel = 0; channel < mpeg::Channels(h); ++channel) {
    const int gain = GlobalGain(frame, granule, channel);
    if (gain > 0 && (lowest == 0 || gain < lowest)) lowest = gain;
  }
  return -lowest;
}

void ChangeGlobalGain(uint8_t* frame, const GainChange& change) {
  const uint32_t h = mpeg::HeaderFromBytes(frame);
  const bool together = ChannelsCodedTogether(h);
  for (int granule = 0; granule < GranulesOf(h); ++granule) {
    for (int channel = 0; channel < mpeg::Channels(h); ++channel) {
      const int bit = GlobalGainBit(h, granule, channel);
      const int gain = ReadByteAtBit(frame, bit);
      const int steps = change.steps[granule][together ? 0 : channel];
      if (gain == 0 || steps == 0) continue;
      WriteByteAtBit(frame, bit, std::clamp(gain + steps, 0, kMaxGlobalGain));
    }
  }
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
