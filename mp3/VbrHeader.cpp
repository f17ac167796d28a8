#include "mp3/VbrHeader.h"

#include <cstring>

#include "mp3/FrameHeader.h"
#include "platform/ByteReader.h"

namespace {

constexpr int kVbriOffset = 36;
constexpr int kVbriBytesField = 10;  // after the identifier, version, delay and quality
constexpr int kIdLength = 4;
constexpr int kEncoderLength = 9;
// Replay gain name codes (top three bits of a gain field).
constexpr uint16_t kRadioGain = 0x2000;
constexpr uint16_t kAudiophileGain = 0x4000;

bool IdIs(const uint8_t* id, const char* expected) { return id && std::memcmp(id, expected, kIdLength) == 0; }

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

void DropLameFields(VbrHeaderInfo* info) {
  info->peakAmplitude = info->radioGainDb = info->audiophileGainDb = 0;
  info->hasLameExtension = 0;
  info->encoderDelay = info->encoderPadding = -1;
}

int ParseVbri(const uint8_t* frame, VbrHeaderInfo* info) {
  ByteReader r(frame, kVbrProbeSize);
  r.Seek(kVbriOffset + kVbriBytesField);
  info->isVbr = 1;
  info->kind = VbrHeaderKind::Vbri;
  info->bytes = static_cast<int32_t>(r.Be32());
  info->frames = static_cast<int32_t>(r.Be32());
  info->lameOffset = -1;
  DropLameFields(info);
  return 1;
}

// What the frame's own header says: version, sample rate, frame length.
void ReadFrameFields(uint32_t h, VbrHeaderInfo* info) {
  const int rate = SampleRateOf(h);
  info->sampleRate = rate > 0 ? rate : -1;
  info->mpeg1 = mpeg::Lsf(h) ? 0 : 1;
  const int length = FrameLength(h);
  info->tagFrameSize = length > 0 ? length - mpeg::Padding(h) : 0;
}

// The fields the flags announce, from just after the flags word; the LAME
// extension's place is where they end.
void ReadXingFields(ByteReader& r, VbrHeaderInfo* info) {
  info->flags = r.Be32();
  info->frames = -1;
  info->bytes = -1;
  info->quality = -1;
  if (info->flags & kXingFlagFrames) info->frames = static_cast<int32_t>(r.Be32());
  if (info->flags & kXingFlagBytes) info->bytes = static_cast<int32_t>(r.Be32());
  if (info->flags & kXingFlagToc) {
    if (const uint8_t* toc = r.Bytes(sizeof info->toc)) std::memcpy(info->toc, toc, sizeof info->toc);
  }
  if (info->flags & kXingFlagQuality) info->quality = static_cast<int32_t>(r.Be32());
  info->lameOffset = static_cast<int>(r.Position());
}

// The LAME extension at info->lameOffset, taken only when its tag CRC (of
// every frame byte before the CRC field) matches. The gains and the delay
// and padding are read from any encoder's extension; the encoder string and
// preset only from LAME's own.
void ReadLameExtension(const uint8_t* frame, VbrHeaderInfo* info) {
  const size_t at = static_cast<size_t>(info->lameOffset);
  ByteReader r(frame, kVbrProbeSize);
  r.Seek(at + kLameTagCrcOffset);
  if (Crc16Arc(frame, at + kLameTagCrcOffset) != r.Be16() || r.Failed()) {
    DropLameFields(info);
    return;
  }
  const uint8_t* lame = frame + at;
  info->hasLameExtension = std::memcmp(lame, "LAME", 4) == 0 ? 1 : 0;
  if (info->hasLameExtension) {
    std::memcpy(info->encoder, lame, kEncoderLength);
    info->encoder[kEncoderLength] = '\0';
    for (int i = kEncoderLength - 1; i >= 0 && info->encoder[i] == ' '; --i) info->encoder[i] = '\0';
    // Revision and encoding flags in the high nibbles.
    info->presetCode =
        PresetCode(lame[kLameMethodOffset] & 0x0F, lame[kLameLowpassOffset], lame[kLameAthTypeOffset] & 0x0F);
  }
  r.Seek(at + kLamePeakOffset);
  info->peakAmplitude = static_cast<double>(r.Be32()) / (1 << 23);
  info->radioGainDb = ReplayGain(r.Be16(), kRadioGain);
  info->audiophileGainDb = ReplayGain(r.Be16(), kAudiophileGain);
  // Encoder delay and padding: two 12-bit values in three bytes.
  r.Seek(at + kLameDelayPaddingOffset);
  const uint32_t delayPadding = r.Be24();
  const int delay = static_cast<int>(delayPadding >> 12);
  const int padding = static_cast<int>(delayPadding & 0xFFF);
  info->encoderDelay = delay > kLargestDelayOrPadding ? -1 : delay;
  info->encoderPadding = padding > kLargestDelayOrPadding ? -1 : padding;
}

}  // namespace

int XingOffsetOf(uint32_t header) {
  const bool mono = mpeg::ChannelMode(header) == mpeg::kModeMono;
  if (!mpeg::Lsf(header)) return mono ? 21 : 36;
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
  const uint32_t h = mpeg::HeaderFromBytes(frame);
  ByteReader r(frame, kVbrProbeSize);
  r.Seek(static_cast<size_t>(XingOffsetOf(h)));
  const uint8_t* id = r.Bytes(kIdLength);
  if (IdIs(id, "Xing")) {
    info->isVbr = 1;
    info->kind = VbrHeaderKind::Xing;
  } else if (IdIs(id, "Info")) {
    info->isVbr = 0;
    info->kind = VbrHeaderKind::Info;
  } else if (IdIs(frame + kVbriOffset, "VBRI")) {
    return ParseVbri(frame, info);
  } else {
    return 0;
  }
  ReadFrameFields(h, info);
  ReadXingFields(r, info);
  ReadLameExtension(frame, info);
  return 1;
}
