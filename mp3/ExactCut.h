// The Layer III cut with options: the frames of the range, optionally led
// by a silent frame that carries the bit reservoir the first frames need and
// by a new Xing/Info + LAME header whose delay and padding make gapless
// decoders play exactly the intended samples.
//
// Timeline used for the exact range: a gapless decoder plays sample s of a
// source with a LAME header at raw decoder output position s + delay + 529
// (529 is the decoder's own delay); a source without one is played raw. The
// cut begins one granule pair (MPEG-1) or two frames (MPEG-2/2.5) before
// the first frame holding the range, so the decoder's overlap and filterbank
// history have settled when the range starts.
#pragma once

#include <cstdint>

#include "mp3/CutTypes.h"
#include "mp3/Mp3StreamInfo.h"

enum class EnhancedCutResult {
  Written,        // the output was written
  NotApplicable,  // the source does not allow it (report->note says why); nothing written
  IoError,        // a read or write failed
};

// Writes the cut of `in` (the source's bytes) into `out` at its file
// position. `startOffset`/`endOffset` are the plain cut's frame offsets.
EnhancedCutResult WriteEnhancedCut(int in, int out, const Mp3StreamInfo& info, int startMs, int endMs,
                                   int64_t startOffset, int64_t endOffset, const CutOptions& options,
                                   CutReport* report);
