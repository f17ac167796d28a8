#include "ui/waveform/WaveView.h"

#include <algorithm>
#include <cmath>

#include "platform/MulDiv.h"

namespace {

// ZoomTo leaves this share of the span free on each side of the range.
constexpr int kFitMarginDivisor = 20;

}  // namespace

void WaveView::Reset(int durationMs, int width) {
  m_duration = std::max(durationMs, 0);
  m_width = std::max(width, 0);
  m_start = 0;
  m_span = m_duration;
}

void WaveView::SetWidth(int width) {
  const bool whole = IsWhole();
  const double scale = MsPerPixel();
  m_width = std::max(width, 0);
  if (whole || scale <= 0) {
    Set(0, m_duration);
  } else {
    Set(m_start, static_cast<int>(std::lround(scale * m_width)));
  }
}

int WaveView::SmallestSpan() const {
  const int64_t smallest = static_cast<int64_t>(m_width) * kMinMsPerPixel;
  return static_cast<int>(std::min<int64_t>(m_duration, std::max<int64_t>(smallest, 1)));
}

bool WaveView::Set(int start, int span) {
  span = std::clamp(span, SmallestSpan(), m_duration);
  start = std::clamp(start, 0, m_duration - span);
  if (start == m_start && span == m_span) return false;
  m_start = start;
  m_span = span;
  return true;
}

int WaveView::TimeToX(int timeMs) const {
  if (m_width <= 0 || m_span <= 0) return 0;
  const int t = std::clamp(timeMs, 0, m_duration);
  const int64_t x = TimeToRawX(t);
  return static_cast<int>(std::clamp<int64_t>(x, 0, m_width - 1));
}

int64_t WaveView::TimeToRawX(int64_t timeMs) const {
  if (m_width <= 0 || m_span <= 0) return 0;
  const int64_t offset = timeMs - m_start;
  if (offset >= INT32_MIN && offset <= INT32_MAX) return MulDiv(static_cast<int>(offset), m_width, m_span);
  return MulDiv64(offset, m_width, m_span);
}

int WaveView::XToTime(int x) const {
  if (m_duration <= 0 || m_width <= 0) return 0;
  const int column = std::clamp(x, 0, m_width - 1);
  return std::clamp(m_start + MulDiv(column, m_span, m_width), 0, m_duration);
}

bool WaveView::ZoomAround(int timeMs, int x, double factor) {
  if (m_width <= 0 || m_duration <= 0 || factor <= 0) return false;
  const int span = std::clamp(static_cast<int>(std::lround(m_span / factor)), SmallestSpan(), m_duration);
  const int column = std::clamp(x, 0, m_width);
  return Set(timeMs - MulDiv(column, span, m_width), span);
}

bool WaveView::ZoomTo(int from, int to) {
  if (to < from) std::swap(from, to);
  from = std::max(from, 0);
  to = std::min(to, m_duration);
  if (to <= from) return false;
  const int margin = (to - from) / kFitMarginDivisor;
  const int span = std::max(to - from + 2 * margin, SmallestSpan());
  const int middle = from + (to - from) / 2;
  return Set(middle - span / 2, span);
}

bool WaveView::ShowAll() { return Set(0, m_duration); }

bool WaveView::ScrollTo(int startMs) { return Set(startMs, m_span); }

bool WaveView::Follow(int timeMs) {
  if (IsWhole() || timeMs < 0 || (timeMs >= m_start && timeMs < End())) return false;
  return ScrollTo(timeMs);
}
