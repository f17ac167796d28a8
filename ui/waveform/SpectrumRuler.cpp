#include "ui/waveform/SpectrumRuler.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

int SpectrumRuler::MajorSeconds(int durationMs) {
  const int seconds = durationMs / 1000;
  if (seconds <= 10) return 1;
  if (seconds <= 60) return 10;
  if (seconds <= 600) return 60;
  if (seconds <= 3600) return 600;
  if (seconds <= 5400) return 1200;
  if (seconds <= 7200) return 1800;
  return 3600;
}

int SpectrumRuler::Subdivisions(int durationMs) { return durationMs / 1000 < 60 ? 10 : 12; }

SpectrumRuler::SpectrumRuler(int durationMs, int width) : m_nWidth(width) {
  if (durationMs <= 0 || width <= 0) return;
  const int64_t major = MajorSeconds(durationMs);
  const int64_t subdivisions = Subdivisions(durationMs);
  const int64_t duration = durationMs;
  // Tick k lies at k * major * 1000 / subdivisions ms; compare and scale the
  // numerators so nothing is rounded.
  for (int64_t k = 0; k * major * 1000 <= duration * subdivisions; ++k) {
    SpectrumTick tick;
    tick.index = static_cast<int>(k);
    tick.x = static_cast<int>(width * k * major * 1000 / (subdivisions * duration));
    tick.major = k % subdivisions == 0;
    tick.markLength = tick.major ? kMajorMarkLength : (k % 2 == 0 ? kEvenMarkLength : kOddMarkLength);
    tick.seconds = static_cast<int>(k * major / subdivisions);
    tick.timeMs = static_cast<int>(k * major * 1000 / subdivisions);
    m_ticks.push_back(tick);
  }
}

namespace {

// Major intervals of a zoomed ruler (ms) and their subdivisions.
struct ZoomStep {
  int64_t major;
  int64_t subdivisions;
};
constexpr ZoomStep kZoomSteps[] = {
    {10, 10},      {20, 4},      {50, 5},       {100, 10},     {200, 4},      {500, 5},
    {1000, 10},    {2000, 4},    {5000, 5},     {10000, 10},   {15000, 3},    {30000, 6},
    {60000, 12},   {120000, 4},  {300000, 5},   {600000, 10},  {900000, 3},   {1800000, 6},
    {3600000, 12}, {7200000, 4}, {18000000, 5}, {36000000, 10},
};

}  // namespace

SpectrumRuler SpectrumRuler::ForView(const WaveView& view) {
  if (view.IsWhole()) return SpectrumRuler(view.Duration(), view.Width());
  SpectrumRuler ruler(view.Width());
  ruler.AddZoomedTicks(view);
  return ruler;
}

void SpectrumRuler::AddZoomedTicks(const WaveView& view) {
  if (view.Width() <= 0 || view.Span() <= 0) return;
  const ZoomStep* step = &kZoomSteps[std::size(kZoomSteps) - 1];
  for (const ZoomStep& candidate : kZoomSteps) {
    if (candidate.major * view.Width() >= int64_t{kMinMajorPixels} * view.Span()) {
      step = &candidate;
      break;
    }
  }
  const int64_t tickMs = step->major / step->subdivisions;
  const int64_t end = std::min<int64_t>(view.End(), view.Duration());
  for (int64_t k = (view.Start() + tickMs - 1) / tickMs; k * tickMs <= end; ++k) {
    SpectrumTick tick;
    tick.index = static_cast<int>(k);
    tick.timeMs = static_cast<int>(k * tickMs);
    tick.x = static_cast<int>(view.TimeToRawX(tick.timeMs));
    tick.major = k % step->subdivisions == 0;
    tick.markLength = tick.major ? kMajorMarkLength : (k % 2 == 0 ? kEvenMarkLength : kOddMarkLength);
    tick.seconds = tick.timeMs / 1000;
    tick.showMs = step->major < 1000;
    m_ticks.push_back(tick);
  }
}

std::string SpectrumRuler::Label(const SpectrumTick& tick) {
  if (tick.index == 0) return "0";
  const int s = tick.seconds;
  char text[40];
  if (tick.showMs) {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", s / 3600, (s / 60) % 60, s % 60, tick.timeMs % 1000);
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, (s / 60) % 60, s % 60);
  }
  return text;
}

std::vector<SpectrumLabel> SpectrumRuler::Labels(const std::function<int(const std::string&)>& textWidth) const {
  std::vector<SpectrumLabel> labels;
  int limit = m_nWidth;  // left edge of the label placed last
  for (auto tick = m_ticks.rbegin(); tick != m_ticks.rend(); ++tick) {
    if (!tick->major) continue;
    SpectrumLabel label;
    label.text = Label(*tick);
    label.width = textWidth(label.text);
    label.left = std::max(0, std::min(tick->x - label.width / 2, m_nWidth - label.width));
    if (label.left + label.width > limit) continue;
    limit = label.left;
    labels.push_back(std::move(label));
  }
  std::reverse(labels.begin(), labels.end());
  return labels;
}
