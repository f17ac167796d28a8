#include "mp3/CutRange.h"

namespace {

// Frames whose start lies in [start, end): index entries there, except one
// that shares its time with its successor (the place of skipped garbage).
int CountFrames(const Mp3FrameIndex& index, int64_t start, int64_t end) {
  // Entries rise by offset: the first at or after `start` by binary search.
  int low = 0, high = index.Count();
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (index.At(mid).offset < start) low = mid + 1; else high = mid;
  }
  int frames = 0;
  for (int i = low; i + 1 < index.Count() && index.At(i).offset < end; ++i) {
    if (index.At(i + 1).timeMs > index.At(i).timeMs) ++frames;
  }
  return frames;
}

// Whether [start, end) holds every frame of the stream: `end` is where the
// index ends and no frame follows it.
bool IsWholeStream(Mp3FrameIndex& index, int64_t start, int64_t end) {
  const int count = index.Count();
  if (start != index.At(0).offset || end != index.At(count - 1).offset) return false;
  index.TimeToOffset(index.At(count - 1).timeMs + 1.0);  // indexes the next frame, if there is one
  return index.Count() == count;
}

// The source's Xing, Info or VBRI header describes the whole source, so a
// cut of part of it gets a header of its own instead, unless the literal
// frames were asked for. Only Layer III carries such a header in a silent
// frame; in other layers its bytes would decode as sound, so there the cut
// leaves the source's header frame out and adds none.
bool ReplacesSourceHeader(const Mp3StreamInfo& info, const CutOptions& options, bool wholeStream) {
  return info.vbr.kind != VbrHeaderKind::None && !options.framesOnly && !wholeStream;
}

bool Fail(CutReport* report, const char* why) {
  report->error = why;
  return false;
}

}  // namespace

bool CutSource::Open(const std::string& source, int startMs, CutReport* report) {
  if (!m_reader.Open(source.c_str(), nullptr, nullptr, nullptr)) {
    return Fail(report, "cannot open the source as MPEG audio");
  }
  return MapStart(startMs, report);
}

bool CutSource::MapStart(int startMs, CutReport* report) {
  Mp3FrameIndex* index = m_reader.GetFrameIndex();
  if (!index) return Fail(report, "the source has no frame index");
  // A start that was never set (negative) cuts from the first frame.
  m_startOffset = index->TimeToOffset(startMs < 0 ? 0.0 : static_cast<double>(startMs));
  report->startOffset = m_startOffset;
  if (m_startOffset < 0) return Fail(report, "no frames to cut in the source (unsupported layer or empty stream)");
  return true;
}

bool CutSource::LikelyPlainToTheEnd(int endMs, const CutOptions& options) {
  const Mp3StreamInfo& info = m_reader.GetStreamInfo();
  Mp3FrameIndex* index = m_reader.GetFrameIndex();
  if (!index || options.Any() || endMs < m_reader.GetDuration() || m_startOffset >= info.audioEnd) return false;
  // A source's VBR header stays only in a cut of the whole stream.
  return options.framesOnly || info.vbr.kind == VbrHeaderKind::None || m_startOffset == index->At(0).offset;
}

bool CutSource::MapEnd(int endMs, const CutOptions& options, CutRange* range, CutReport* report) {
  Mp3FrameIndex* index = m_reader.GetFrameIndex();
  report->endOffset = index->TimeToOffset(static_cast<double>(endMs));
  if (report->endOffset < 0) {
    return Fail(report, "no frames to cut in the source (unsupported layer or empty stream)");
  }
  // A range with no frame in it (past the end of a source that shrank
  // since its analysis, or reversed) would make an empty file.
  if (report->endOffset <= report->startOffset) {
    report->endOffset = report->startOffset;
    return Fail(report, "no audio in the range");
  }
  report->frames = CountFrames(*index, report->startOffset, report->endOffset);
  range->info = m_reader.GetStreamInfo();
  range->index = index;
  // The level lives in Layer III's global_gain; other layers have no such field.
  if (options.ChangesLevel() && range->info.layer != 3) {
    report->refusal = CutRefusal::NotLayer3;
    return Fail(report, "the gain and fades need Layer III audio");
  }
  range->options = options;
  const bool replaceHeader =
      ReplacesSourceHeader(range->info, options, IsWholeStream(*index, report->startOffset, report->endOffset));
  if (replaceHeader && range->info.layer == 3) range->options.vbrHeader = true;
  // The plain copy's range without the source's header frame (index entry 1 is where it ends).
  range->plainStart = replaceHeader && report->startOffset == index->At(0).offset ? index->At(1).offset : -1;
  return true;
}
