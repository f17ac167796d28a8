#include "mp3/ExactCut.h"

#include <unistd.h>

#include <vector>

#include <cstdio>

#include "mp3/CutFrameWriter.h"
#include "mp3/CutLevel.h"
#include "mp3/CutPeak.h"
#include "mp3/CutPlan.h"
#include "mp3/CutVbrTag.h"
#include "mp3/SourceFrames.h"
#include "mp3/VbrTagWriter.h"
#include "platform/io/ReadWrite.h"

namespace {

EnhancedCutResult NotApplicable(CutReport* report, const char* why) {
  report->note = why;
  return EnhancedCutResult::NotApplicable;
}

PlanOutcome Plan(SourceFrames& frames, const SourceTiming& timing, int startMs, int endMs, int64_t startOffset,
                 int64_t endOffset, const CutOptions& options, CutPlan* plan, const char** note) {
  if (options.exact) return PlanExactRange(frames, timing, startMs, endMs, plan, note);
  return PlanFrameRange(frames, timing, startOffset, endOffset, options.cleanStart, plan, note);
}

// A positive gain that would take the decode of the planned frames past
// full scale is refused (unless allowed): Written when it fits.
EnhancedCutResult CheckClipping(SourceFrames& frames, const CutPlan& plan, const CutOptions& options,
                                CutReport* report) {
  if (options.GainSteps() <= 0 || options.allowClip) return EnhancedCutResult::Written;
  const int peak = DecodedPeak(frames, plan.a, plan.b);
  if (peak < 0) return EnhancedCutResult::IoError;
  const int largest = LargestGainWithoutClipping(peak);
  if (options.GainSteps() <= largest) return EnhancedCutResult::Written;
  char text[64];
  std::snprintf(text, sizeof text, "the gain would clip: at most +%.1f dB", largest * kGainStepDb);
  report->error = text;
  report->refusal = CutRefusal::WouldClip;
  report->largestGainDb = largest * kGainStepDb;
  return EnhancedCutResult::Refused;
}

// The new tag for the frames written, at `at`.
bool WriteVbrTag(int out, int64_t at, SourceFrames& frames, const Mp3StreamInfo& info, const CutPlan& plan,
                 const WrittenFrames& written, uint32_t templateHeader, int tagLength, int gainSteps) {
  uint8_t lame[kLameExtensionSize] = {};
  const bool hasLame = info.vbr.kind != VbrHeaderKind::None && info.vbr.hasLameExtension;
  if (hasLame) frames.ReadFromStreamStart(info.vbr.lameOffset, lame, kLameExtensionSize);
  const VbrTagFields fields =
      CutTagFields(info.vbr, hasLame ? lame : nullptr, plan, written, templateHeader, tagLength, gainSteps);
  const std::vector<uint8_t> tag = BuildVbrTagFrame(fields);
  return PWriteAll(out, tag.data(), tag.size(), at);
}

}  // namespace

EnhancedCutResult WriteEnhancedCut(int in, int out, const Mp3StreamInfo& info, Mp3FrameIndex& index, int startMs,
                                   int endMs, int64_t startOffset, int64_t endOffset, const CutOptions& requested,
                                   CutReport* report) {
  CutOptions options = requested;
  if (options.exact) options.vbrHeader = options.cleanStart = true;
  if (info.layer != 3) return NotApplicable(report, "the options need Layer III audio");

  SourceFrames frames(in, info, index, endOffset);
  if (frames.Indexed() == 0) return NotApplicable(report, "no usable frame headers");
  if (frames.Count() == 0) return NotApplicable(report, "no audio frames");
  CutPlan plan;
  const char* note = "";
  const SourceTiming timing = TimingOf(info.vbr, frames);
  const PlanOutcome planned = Plan(frames, timing, startMs, endMs, startOffset, endOffset, options, &plan, &note);
  if (planned == PlanOutcome::ReadFailed) return EnhancedCutResult::IoError;
  if (planned == PlanOutcome::NotApplicable) return NotApplicable(report, note);
  const FrameRef first = frames.At(plan.a);
  const FrameRef last = frames.At(plan.b - 1);
  if (frames.ReadFailed()) return EnhancedCutResult::IoError;
  if (options.vbrHeader && !FitsLameHeader(plan)) {
    return NotApplicable(report, "delay or padding out of range");
  }
  const int tagLength = options.vbrHeader ? VbrTagFrameLength(first.header) : 0;
  if (options.vbrHeader && tagLength == 0) {
    return NotApplicable(report, "no bitrate holds the header");
  }

  const EnhancedCutResult clipping = CheckClipping(frames, plan, options, report);
  if (clipping != EnhancedCutResult::Written) return clipping;
  const CutLevel level(options, PlayedSpanOf(plan, timing, options.vbrHeader));

  const off_t base = lseek(out, 0, SEEK_CUR);
  if (base < 0) return EnhancedCutResult::IoError;
  WrittenFrames written;
  switch (WriteCutFrames(out, tagLength, frames, plan, first.header, level, &written)) {
    case FrameWriteOutcome::Written: break;
    case FrameWriteOutcome::NoRoomForReservoir:
      return NotApplicable(report, "no bitrate holds the reservoir");
    case FrameWriteOutcome::ReadFailed:
    case FrameWriteOutcome::WriteFailed: return EnhancedCutResult::IoError;
  }
  if (options.vbrHeader) {
    if (!WriteVbrTag(out, base, frames, info, plan, written, first.header, tagLength, level.GainSteps())) {
      return EnhancedCutResult::IoError;
    }
    report->delay = plan.delay;
    report->padding = plan.padding;
    report->phaseAligned = options.exact && plan.phaseAligned;
  }
  report->startOffset = first.offset;
  report->endOffset = last.offset + last.length;
  report->frames = static_cast<int>(written.offsets.size());
  report->bytesCopied = tagLength + written.bytes;
  report->gainDb = level.GainSteps() * kGainStepDb;
  return EnhancedCutResult::Written;
}
