// SplitPlan: where the tracks of a split lie, from split points, a track
// length, a CUE sheet or the silences found in the recording.
//
// A plan is a list of tracks in order, each [startMs, endMs) of the source;
// each track ends where the next begins, the first begins at 0 (at its
// INDEX 01 for a CUE sheet) and the last runs to the end of the audio
// (kToTheEnd). Titles and performers come from a CUE sheet; other plans
// leave them empty.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/TimeText.h"
#include "split/CueSheet.h"
#include "split/SilenceFinder.h"

inline constexpr int64_t kToTheEnd = kMaxTimeTextMs;

struct PlannedTrack {
  int64_t startMs = 0;
  int64_t endMs = kToTheEnd;
  std::string title;      // UTF-8; empty: none given
  std::string performer;
};

using SplitPlan = std::vector<PlannedTrack>;

// N points give N + 1 tracks. Why they cannot, when they do not rise or do
// not lie inside (0, durationMs).
std::optional<std::string> PointsProblem(const std::vector<int64_t>& points, int64_t durationMs);
SplitPlan PlanAtPoints(const std::vector<int64_t>& points);

// Tracks of `everyMs` (above 0) over `durationMs`, the last one shorter.
SplitPlan PlanEvery(int64_t everyMs, int64_t durationMs);

// The sheet's tracks with their titles and performers.
SplitPlan PlanFromCue(const CueSheet& sheet);

// Split points in the middle of each silence (SilenceResult::SplitPointMs),
// then every track shorter than `minTrackMs` merged into the next one (the
// last one into the one before it).
SplitPlan PlanAtSilences(const SilenceResult& silences, bool exact, int64_t minTrackMs);
