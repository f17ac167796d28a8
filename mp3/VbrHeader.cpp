#include "mp3/VbrHeader.h"

#include <cstring>

#include "mp3/FrameHeader.h"

namespace {

constexpr int kVbriOffset = 36;
constexpr int kVbriBytesOffset = kVbriOffset + 10;
constexpr int kVbriFramesOffset = kVbriOffset + 14;
constexpr int kEncoderDelayLimit = 3000;

uint32_t Be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

struct CrcTable {
  uint16_t t[256];
  CrcTable() {
    for (int i = 0; i < 256; ++i) {
      uint16_t c = static_cast<uint16_t>(i);
      for (int k = 0; k < 8; ++k) c = (c & 1) ? static_cast<uint16_t>((c >> 1) ^ 0xA001) : c >> 1;
      t[i] = c;
    }
  }
};

// Replay gain field: name code in the top 3 bits, originator in the next 3,
// sign bit, then 9 bits of tenths of a dB.
double ReplayGain(uint16_t g, uint16_t nameCode) {
  if ((g & 0xE000) != nameCode || (g & 0x1C00) == 0) return 0.0;
  const double v = (g & 0x1FF) * 0.1;
  return (g & 0x200) ? -v : v;
}

int PresetCode(int vbrMethod, int lowpass, int athType) {
  if (vbrMethod == 2) return 1;
  if ((vbrMethod == 3 || vbrMethod == 4) && athType == 4) {
    const int base = vbrMethod == 3 ? 2 : 5;
    if (lowpass == 180) return base;
    if (lowpass == 190) return base + 1;
    if (lowpass == 195) return base + 2;
  }
  return 0;
}

int ParseVbri(const uint8_t* frame, VbrHeaderInfo* info) {
  info->isVbr = 1;
  info->kind = VbrHeaderKind::Vbri;
  info->bytes = static_cast<int32_t>(Be32(frame + kVbriBytesOffset));
  info->frames = static_cast<int32_t>(Be32(frame + kVbriFramesOffset));
  info->peakAmplitude = info->radioGainDb = info->audiophileGainDb = 0;
  info->hasLameExtension = 0;
  info->encoderDelay = info->encoderPadding = -1;
  return 1;
}

}  // namespace

uint16_t Crc16Arc(const uint8_t* data, size_t length, uint16_t crc) {
  static const CrcTable table;
  for (size_t i = 0; i < length; ++i) crc = static_cast<uint16_t>((crc >> 8) ^ table.t[(crc ^ data[i]) & 0xFF]);
  return crc;
}

int XingOffsetOf(uint32_t header) {
  const bool mono = mpeg::ChannelMode(header) == mpeg::kModeMono;
  const bool mpeg1 = (header >> mpeg::kVersionBShift) & 1;
  if (mpeg1) return mono ? 21 : 36;
  return mono ? 13 : 21;
}

const char* VbrKindName(VbrHeaderKind kind) {
  switch (kind) {
    case VbrHeaderKind::Xing: return "Xing";
    case VbrHeaderKind::Info: return "Info";
    case VbrHeaderKind::Vbri: return "VBRI";
    default: return "";
  }
}

int ParseVbrHeader(const uint8_t* frame, VbrHeaderInfo* info) {
  const uint8_t b1 = frame[1], b2 = frame[2];
  const int mpeg1 = (b1 >> 3) & 1;
  const int bitrateIndex = b2 >> 4;
  const int rateIndex = (b2 >> 2) & 3;

  int pos = XingOffsetOf(mpeg::HeaderFromBytes(frame));
  if (std::memcmp(frame + pos, "Xing", 4) == 0) {
    info->isVbr = 1;
    info->kind = VbrHeaderKind::Xing;
  } else if (std::memcmp(frame + pos, "Info", 4) == 0) {
    info->isVbr = 0;
    info->kind = VbrHeaderKind::Info;
  } else if (std::memcmp(frame + kVbriOffset, "VBRI", 4) == 0) {
    return ParseVbri(frame, info);
  } else {
    return 0;
  }

  static const int kRates[3][3] = {{11025, 12000, 8000}, {44100, 48000, 32000}, {22050, 24000, 16000}};
  const int row = (b1 & 0xF0) == 0xE0 ? 0 : (mpeg1 ? 1 : 2);
  info->sampleRate = rateIndex == 3 ? -1 : kRates[row][rateIndex];
  info->mpeg1 = mpeg1;

  pos += 4;
  info->flags = Be32(frame + pos);  // flags word
  pos += 4;
  info->frames = -1;
  info->bytes = -1;
  info->quality = -1;
  if (info->flags & kXingFlagFrames) {
    info->frames = static_cast<int32_t>(Be32(frame + pos));
    pos += 4;
  }
  if (info->flags & kXingFlagBytes) {
    info->bytes = static_cast<int32_t>(Be32(frame + pos));
    pos += 4;
  }
  if (info->flags & kXingFlagToc) {
    std::memcpy(info->toc, frame + pos, 100);
    pos += 100;
  }
  if (info->flags & kXingFlagQuality) {
    info->quality = static_cast<int32_t>(Be32(frame + pos));
    pos += 4;
  }
  const uint8_t* p = frame + pos;  // the LAME extension, when there is one

  const int kbps = BitrateKbps(3, mpeg1 ? 0 : 1, bitrateIndex);
  info->tagFrameSize = info->sampleRate > 0 ? (mpeg1 + 1) * 72000 * kbps / info->sampleRate : 0;

  // Tag check: CRC of everything before the CRC field itself.
  if (Crc16Arc(frame, static_cast<size_t>(pos + 34)) != Be16(p + 34)) {
    info->peakAmplitude = info->radioGainDb = info->audiophileGainDb = 0;
    info->hasLameExtension = 0;
    info->encoderDelay = info->encoderPadding = -1;
    return 1;
  }

  int vbrMethod = 0, lowpass = 0, athType = 0;
  if (std::memcmp(p, "LAME", 4) == 0) {
    info->hasLameExtension = 1;
    std::memcpy(info->encoder, p, 9);
    info->encoder[9] = '\0';
    for (int i = 8; i >= 0 && info->encoder[i] == ' '; --i) info->encoder[i] = '\0';
    vbrMethod = p[9] & 0x0F;  // revision in the high nibble
    lowpass = p[10];          // lowpass frequency / 100
    athType = p[19] & 0x0F;   // encoding flags in the high nibble
  } else {
    info->hasLameExtension = 0;
  }
  info->peakAmplitude = static_cast<double>(Be32(p + 11)) / (1 << 23);
  info->radioGainDb = ReplayGain(Be16(p + 15), 0x2000);
  info->audiophileGainDb = ReplayGain(Be16(p + 17), 0x4000);
  if (info->hasLameExtension) info->presetCode = PresetCode(vbrMethod, lowpass, athType);

  // Encoder delay and padding: two 12-bit values in three bytes.
  const int delay = p[21] * 16 + (p[22] >> 4);
  const int padding = (p[22] & 0x0F) * 256 + p[23];
  info->encoderDelay = delay > kEncoderDelayLimit ? -1 : delay;
  info->encoderPadding = padding > kEncoderDelayLimit ? -1 : padding;
  return 1;
}
