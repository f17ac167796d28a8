// CutPlan: which of the source's audio frames a cut with options holds, and
// what goes before them: a silent frame carrying the bit-reservoir bytes the
// first frames reach back for, silent frames that keep the decoder's
// synthesis phase, and the delay and padding its LAME header declares.
//
// Timeline of the exact range: a gapless decoder plays sample s of a source
// with a LAME header at raw decoder output position s + delay + 529 (529 is
// the decoder's own delay); a source without one is played raw. The cut
// begins one granule pair (MPEG-1) or two frames (MPEG-2/2.5) before the
// first frame holding the range, so the decoder's overlap and filterbank
// history have settled when the range starts.
#pragma once

#include <cstdint>
#include <vector>

#include "mp3/SourceFrames.h"
#include "mp3/VbrHeader.h"

// The source's timeline as a gapless decoder plays it.
struct SourceTiming {
  int samplesPerFrame = 0;
  int sampleRate = 0;
  bool gapless = false;       // the source's LAME header gives delay and padding
  int encoderDelay = 0;       // when gapless
  int64_t rawStart = 0;       // raw decoder position of played sample 0
  int64_t playedTotal = 0;    // samples played from the frames indexed
};

// The timing of `frames` (with at least one audio frame), whose stream
// starts with the VBR header `source` (kind None when it has none).
SourceTiming TimingOf(const VbrHeaderInfo& source, SourceFrames& frames);

// The bytes the first frames of a cut reach back for, and the frames whose
// reach still cannot be met.
struct Reservoir {
  std::vector<uint8_t> carried;  // the last bytes of the main data before frame a
  std::vector<int> silenced;     // audio frame numbers to silence, rising
};

struct CutPlan {
  int a = 0, b = 0;        // audio frames [a, b) of the source
  Reservoir reservoir;
  bool leadFrame = false;  // a silent frame carrying the reservoir (or making room)
  int silentLead = 0;      // further silent frames before it
  int delay = 0, padding = 0;
  bool phaseAligned = false;  // libmpg123 plays the range bit for bit, not only within one rounding step
};

enum class PlanOutcome {
  Planned,
  NotApplicable,  // the range does not allow it (the note says why)
  ReadFailed,
};

// The frames the plain cut's offsets [startOffset, endOffset) hold, with the
// reservoir carried when `cleanStart`; the delay and padding keep what the
// source's header declared for the samples inside the range.
PlanOutcome PlanFrameRange(SourceFrames& frames, const SourceTiming& timing, int64_t startOffset,
                           int64_t endOffset, bool cleanStart, CutPlan* plan, const char** note);

// The frames and the delay and padding that play exactly the samples of
// [startMs, endMs) (a negative start: from the first sample).
PlanOutcome PlanExactRange(SourceFrames& frames, const SourceTiming& timing, int startMs, int endMs,
                           CutPlan* plan, const char** note);

// Whether the plan's delay and padding fit a LAME header.
bool FitsLameHeader(const CutPlan& plan);

// The output's played samples on the timeline of its granules: granule j
// of the frames after the VBR tag frame holds samples [576 j, 576 (j + 1)),
// which a decoder outputs 529 samples later.
struct PlayedSpan {
  int64_t first = 0;   // the first sample played
  int64_t played = 0;  // samples played
  int sampleRate = 0;
};

// What the frames of `plan` play: with a LAME header of the plan's delay
// and padding, what a gapless decoder keeps; without, every sample the
// decoder outputs.
PlayedSpan PlayedSpanOf(const CutPlan& plan, const SourceTiming& timing, bool lameHeader);
