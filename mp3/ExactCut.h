// The Layer III cut with options: the frames of the range, optionally led
// by a silent frame that carries the bit reservoir the first frames need and
// by a new Xing/Info + LAME header whose delay and padding make gapless
// decoders play exactly the intended samples.
//
// It walks the frames the frame index finds (the plain cut's frames) and
// takes three steps: plan the frames (CutPlan: the plain cut's frames or the
// exact range), write them (CutFrameWriter, with the level changes of
// CutLevel once CutPeak found that a positive gain does not clip), fill in
// the VBR tag (CutVbrTag, VbrTagWriter).
#pragma once

#include <cstdint>

#include "mp3/CutTypes.h"
#include "mp3/Mp3FrameIndex.h"
#include "mp3/Mp3StreamInfo.h"

enum class EnhancedCutResult {
  Written,        // the output was written
  NotApplicable,  // the source does not allow it (report->note says why); nothing written
  IoError,        // a read or write failed
  Refused,        // the options cannot be met (report->error and report->refusal say why); nothing written
};

// Writes the cut of `in` (the source's bytes, the stream `info` describes,
// whose frames `index` finds: the source reader's index) into `out` from
// its file position on; the VBR tag goes at that position too, written
// last. `startOffset`/`endOffset` are the plain cut's frame offsets. The
// options in effect are reported in `report`.
EnhancedCutResult WriteEnhancedCut(int in, int out, const Mp3StreamInfo& info, Mp3FrameIndex& index, int startMs,
                                   int endMs, int64_t startOffset, int64_t endOffset, const CutOptions& options,
                                   CutReport* report);
