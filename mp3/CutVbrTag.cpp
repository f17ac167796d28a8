#include "mp3/CutVbrTag.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTocEntries = 100;

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
                          const WrittenFrames& written, uint32_t templateHeader, int tagLength) {
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
  if (sourceLame) std::memcpy(fields.lame, sourceLame, kLameExtensionSize);
  fields.delay = plan.delay;
  fields.padding = plan.padding;
  fields.musicCrc = written.musicCrc;
  return fields;
}
