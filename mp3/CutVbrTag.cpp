#include "mp3/CutVbrTag.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/ByteReader.h"

namespace {

constexpr int kTocEntries = 100;
// A ReplayGain field: name code (3 bits), originator (3), sign, then
// tenths of a dB (9 bits).
constexpr uint16_t kGainNameCode = 0xE000;
constexpr uint16_t kGainOriginator = 0x1C00;
constexpr uint16_t kGainSign = 0x200;
constexpr int kLargestGainTenths = 0x1FF;

// The gain that plays the output at the source's loudness: lower by what
// the cut added.
void AdjustReplayGain(uint8_t* field, double addedDb) {
  const uint16_t g = static_cast<uint16_t>(field[0] << 8 | field[1]);
  if ((g & kGainNameCode) == 0 || (g & kGainOriginator) == 0) return;  // no value stored
  const int tenths = (g & kGainSign ? -1 : 1) * (g & kLargestGainTenths);
  const int adjusted = std::clamp(tenths - static_cast<int>(std::lround(addedDb * 10)), -kLargestGainTenths,
                                  kLargestGainTenths);
  const uint16_t value = static_cast<uint16_t>(adjusted < 0 ? kGainSign | -adjusted : adjusted);
  PutBe16(field, static_cast<uint16_t>((g & (kGainNameCode | kGainOriginator)) | value));
}

// The peak (1.0 as 2^23) scaled by the gain.
void AdjustPeak(uint8_t* field, double factor) {
  ByteReader r(field, 4);
  const double peak = r.Be32();
  PutBe32(field, static_cast<uint32_t>(std::min(std::round(peak * factor), 4294967295.0)));
}

void AdjustLevelFields(uint8_t* lame, int gainSteps) {
  if (gainSteps == 0) return;
  const double factor = std::exp2(gainSteps / 4.0);
  AdjustPeak(lame + kLamePeakOffset, factor);
  AdjustReplayGain(lame + kLameRadioGainOffset, 20 * std::log10(factor));
  AdjustReplayGain(lame + kLameAudiophileGainOffset, 20 * std::log10(factor));
}

// Entry i: where the frame i% of the way through starts, in 256ths of the
// whole stream (the tag frame included).
void FillSeekTable(const WrittenFrames& written, int tagLength, int64_t bytes, uint8_t* toc) {
  const size_t count = written.offsets.size();
  for (int i = 0; i < kTocEntries; ++i) {
    const size_t at = std::min(count * static_cast<size_t>(i) / kTocEntries, count - 1);
    const int64_t pos = tagLength + written.offsets[at];
    toc[i] = static_cast<uint8_t>(std::min<int64_t>(255, pos * 256 / bytes));
  }
}

}  // namespace

VbrTagFields CutTagFields(const VbrHeaderInfo& source, const uint8_t* sourceLame, const CutPlan& plan,
                          const WrittenFrames& written, uint32_t templateHeader, int tagLength, int gainSteps) {
  const bool hasSource = source.kind != VbrHeaderKind::None;
  VbrTagFields fields;
  fields.firstHeader = templateHeader;
  // Without the source's word on it: VBR when the cut's own bitrates vary.
  fields.vbr = hasSource ? source.isVbr != 0 : written.bitrateVaries;
  fields.frames = static_cast<uint32_t>(written.offsets.size());
  const int64_t bytes = tagLength + written.bytes;
  fields.bytes = static_cast<uint32_t>(std::min<int64_t>(bytes, UINT32_MAX));
  FillSeekTable(written, tagLength, bytes, fields.toc);
  fields.quality = hasSource && source.quality >= 0 ? static_cast<uint32_t>(source.quality) : 0;
  if (sourceLame) {
    std::memcpy(fields.lame, sourceLame, kLameExtensionSize);
    AdjustLevelFields(fields.lame, gainSteps);
  }
  fields.delay = plan.delay;
  fields.padding = plan.padding;
  fields.musicCrc = written.musicCrc;
  return fields;
}
