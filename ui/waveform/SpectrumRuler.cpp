#include "ui/waveform/SpectrumRuler.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

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
    m_ticks.push_back(tick);
  }
}

std::string SpectrumRuler::Label(const SpectrumTick& tick) {
  if (tick.index == 0) return "0";
  const int s = tick.seconds;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, (s / 60) % 60, s % 60);
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
