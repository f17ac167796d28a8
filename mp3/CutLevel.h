// CutLevel: the global_gain change each granule of a cut gets from the
// level options (gain, fade-in, fade-out; see CutOptions).
//
// Granules are placed on the output's timeline (PlayedSpan). A fade's
// granules take a change that rises linearly in steps with the time of
// their middle sample, from the fade's floor (-60 dB, or the lowest change
// the granule can take when that is higher) at the start of the fade-in to
// the gain at its end, and back down over the fade-out; granules before
// the first or after the last played sample sit at the floor. The change
// never falls across a fade-in and never rises across a fade-out.
#pragma once

#include <cstdint>

#include "mp3/CutPlan.h"
#include "mp3/CutTypes.h"
#include "mp3/Layer3Frame.h"

class CutLevel {
 public:
  CutLevel() = default;
  CutLevel(const CutOptions& options, const PlayedSpan& span);

  // Whether any granule changes.
  bool Active() const { return m_gain != 0 || m_fadeIn > 0 || m_fadeOut > 0; }
  int GainSteps() const { return m_gain; }
  // The change of the granule whose first sample is at `position` (on the
  // timeline of PlayedSpan), when it can go down by `lowest` steps at most
  // (LowestGainChange).
  int StepsAt(int64_t position, int lowest) const;
  // The change of each granule of a Layer III frame whose first sample is
  // at `position`.
  GainChange ChangeFor(const uint8_t* frame, int64_t position) const;

 private:
  int m_gain = 0;
  int64_t m_fadeIn = 0, m_fadeOut = 0;  // samples
  PlayedSpan m_span;
};
