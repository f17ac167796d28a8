#include "mp3/CutLevel.h"

#include <algorithm>
#include <cmath>

#include "mp3/FrameHeader.h"

namespace {

// A fade starts from -60 dB: 40 steps down.
constexpr int kFadeFloorSteps = -40;

int64_t SamplesOf(int ms, int sampleRate) {
  return ms > 0 ? static_cast<int64_t>(ms) * sampleRate / 1000 : 0;
}

}  // namespace

CutLevel::CutLevel(const CutOptions& options, const PlayedSpan& span)
    : m_gain(options.GainSteps()),
      m_fadeIn(SamplesOf(options.fadeInMs, span.sampleRate)),
      m_fadeOut(SamplesOf(options.fadeOutMs, span.sampleRate)),
      m_span(span) {}

int CutLevel::StepsAt(int64_t position, int lowest) const {
  double along = 1.0;  // of the way from the floor to the gain
  const double middle = static_cast<double>(position - m_span.first) + kGranuleSamples / 2.0;
  if (m_fadeIn > 0) along = std::min(along, middle / static_cast<double>(m_fadeIn));
  if (m_fadeOut > 0) along = std::min(along, (static_cast<double>(m_span.played) - middle) / static_cast<double>(m_fadeOut));
  along = std::clamp(along, 0.0, 1.0);
  const int floor = std::min(std::max(kFadeFloorSteps, lowest), m_gain);
  const int steps = floor + static_cast<int>(std::lround((m_gain - floor) * along));
  return std::max(steps, lowest);
}

GainChange CutLevel::ChangeFor(const uint8_t* frame, int64_t position) const {
  GainChange change;
  const int granules = GranulesOf(mpeg::HeaderFromBytes(frame));
  for (int granule = 0; granule < granules; ++granule) {
    const int steps = StepsAt(position + static_cast<int64_t>(granule) * kGranuleSamples, LowestGainChange(frame, granule));
    change.steps[granule][0] = change.steps[granule][1] = steps;
  }
  return change;
}
