// CutRange: where the frames of a cut lie in its source. A reader of the
// cut's own maps the two times to frame offsets through its frame index
// (see CutToFile.h for which frames a range holds), and decides whether the
// source's VBR header frame gives way to a new header for the cut.
#pragma once

#include <cstdint>
#include <string>

#include "mp3/CutTypes.h"
#include "mp3/Mp3StreamInfo.h"

struct CutRange {
  Mp3StreamInfo info;
  // The options the cut is made with: those asked for, plus a new VBR
  // header where the source's own gives way to one (Layer III).
  CutOptions options;
  // Where a plain copy starts instead of report->startOffset: past the
  // source's header frame, which is not audio. -1 when it starts there.
  int64_t plainStart = -1;
};

// Maps [startMs, endMs) of `source` (a negative start: from the first
// frame) into `range` and report->startOffset, endOffset and frames. False,
// with report->error set, when the source does not open as MPEG audio or
// the range holds no frame.
bool MapCutRange(const std::string& source, int startMs, int endMs, const CutOptions& options, CutRange* range,
                 CutReport* report);
