#include "ui/waveform/VisibleColumns.h"

#include <algorithm>
#include <climits>

#include "platform/MulDiv.h"

namespace {

constexpr int kSampleOffset = 32767;  // maps [-32767, 32767] onto [0, 65534]
constexpr int kSampleSpan = 65535;

int16_t SaturateToInt16(int value) { return static_cast<int16_t>(std::clamp(value, INT16_MIN, INT16_MAX)); }

}  // namespace

void LineEnds(int peak, int trough, int height, int16_t* top, int16_t* bottom) {
  const int half = height / 2;
  int upper = height - MulDiv(peak + kSampleOffset, height, kSampleSpan);
  if (upper >= half) upper = half;
  int lower = height - MulDiv(trough + kSampleOffset, height, kSampleSpan);
  if (lower <= half) lower = half;
  *top = SaturateToInt16(upper);
  *bottom = SaturateToInt16(lower);
}

void VisibleColumns::Clear() {
  m_top.clear();
  m_bottom.clear();
}

bool VisibleColumns::Build(const WaveView& view, const ColumnSources& sources, int height) {
  const int width = view.Width();
  m_top.assign(static_cast<size_t>(std::max(width, 0)), SaturateToInt16(height / 2));
  m_bottom = m_top;
  if (width <= 0 || view.Span() <= 0 || sources.sampleRate <= 0) return false;
  if (sources.analysisMatchesView && sources.analysis.count > 0) {
    const size_t filled = std::min(sources.analysis.count, static_cast<size_t>(width));
    for (size_t x = 0; x < filled; ++x) {
      const PeakColumns::Peak& p = sources.analysis.peaks[x];
      LineEnds(p.max, p.min, height, &m_top[x], &m_bottom[x]);
    }
    return false;
  }
  // Sample frames of column x: [frameAt(x), frameAt(x + 1)).
  const double framesPerMs = sources.sampleRate / 1000.0;
  const double framesPerColumn = view.MsPerPixel() * framesPerMs;
  auto frameAt = [&](int x) {
    return (view.Start() + static_cast<double>(x) * view.Span() / width) * framesPerMs -
           static_cast<double>(sources.leadFrames);
  };
  const bool wantDetail = framesPerColumn < PeakSummary::kFramesPerEntry && sources.summary.count > 0;
  const PeakRun& coarse = sources.summary.count > 0 ? sources.summary : sources.analysis;
  bool missing = false;
  for (int x = 0; x < width; ++x) {
    const double first = frameAt(x);
    const double end = std::max(frameAt(x + 1), first + 1);
    PeakColumns::Peak peak;
    bool found = false;
    if (wantDetail && sources.detail && sources.detail->Covers(first, end)) {
      found = sources.detail->Run().Fold(first, end, &peak);
    } else {
      missing = missing || wantDetail;
    }
    if (!found) found = coarse.Fold(first, end, &peak);
    // The analysis folds its columns from 0: a column with no sample is silence.
    if (found) LineEnds(std::max<int>(peak.max, 0), std::min<int>(peak.min, 0), height, &m_top[x], &m_bottom[x]);
  }
  return missing;
}
