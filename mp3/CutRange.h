// CutRange: where the frames of a cut lie in its source. A reader of the
// cut's own maps the two times to frame offsets through its frame index
// (see CutToFile.h for which frames a range holds), and decides whether the
// source's VBR header frame gives way to a new header for the cut.
//
// The start is mapped when the source is opened, the end afterwards: a cut
// that runs to the end of the audio can begin copying while the index is
// still finding where the last frame ends. One opened source serves many
// cuts (the tracks of a split): MapStart and MapEnd again for each, the
// index extended only as far as the cuts so far reach.
#pragma once

#include <cstdint>
#include <string>

#include "mp3/CutTypes.h"
#include "mp3/Mp3Reader.h"
#include "mp3/Mp3StreamInfo.h"

struct CutRange {
  Mp3StreamInfo info;
  // The source's frame index (the CutSource's), for the cut with options.
  Mp3FrameIndex* index = nullptr;
  // The options the cut is made with: those asked for, plus a new VBR
  // header where the source's own gives way to one (Layer III).
  CutOptions options;
  // Where a plain copy starts instead of report->startOffset: past the
  // source's header frame, which is not audio. -1 when it starts there.
  int64_t plainStart = -1;
};

class CutSource {
 public:
  // Opens `source` and maps `startMs` (negative: the first frame) into
  // report->startOffset. False, with report->error set, when the source does
  // not open as MPEG audio or holds no frame to cut.
  bool Open(const std::string& source, int startMs, CutReport* report);
  // Maps the start of another cut from the same source, as Open does.
  bool MapStart(int startMs, CutReport* report);
  // Maps `endMs` into report->endOffset and frames and fills `range`. False,
  // with report->error set, when the range holds no frame or the options
  // change the level of a source that is not Layer III.
  bool MapEnd(int endMs, const CutOptions& options, CutRange* range, CutReport* report);

  // After Open: where the audio ends, and whether a plain copy of
  // [startOffset, that end) is what a cut to `endMs` with `options` will be
  // (nothing but frames copied, up to the last one) as far as can be told
  // before the end is mapped.
  int64_t AudioEnd() const { return m_reader.GetStreamInfo().audioEnd; }
  bool LikelyPlainToTheEnd(int endMs, const CutOptions& options);

  // After Open: the source's reader (stream description, duration, index).
  CMp3Reader& Reader() { return m_reader; }
  const Mp3StreamInfo& Info() const { return m_reader.GetStreamInfo(); }

 private:
  CMp3Reader m_reader;
  int64_t m_startOffset = -1;
};
