#include "split/SplitPlan.h"

#include <algorithm>

#include "platform/FormatTime.h"

namespace {

// A track's length, the last one's up to `durationMs`.
int64_t LengthOf(const PlannedTrack& track, int64_t durationMs) {
  return std::min(track.endMs, durationMs) - track.startMs;
}

// Merges every track shorter than `minimumMs` into the next (the last into
// the one before it), in order: a merged track still too short goes on
// into the one after it.
void MergeShortTracks(SplitPlan& plan, int64_t minimumMs, int64_t durationMs) {
  size_t i = 0;
  while (plan.size() > 1 && i < plan.size()) {
    if (LengthOf(plan[i], durationMs) >= minimumMs) {
      ++i;
    } else if (i + 1 < plan.size()) {
      plan[i + 1].startMs = plan[i].startMs;
      plan.erase(plan.begin() + static_cast<long>(i));
    } else {
      plan[i - 1].endMs = plan[i].endMs;
      plan.pop_back();
    }
  }
}

}  // namespace

std::optional<std::string> PointsProblem(const std::vector<int64_t>& points, int64_t durationMs) {
  int64_t previous = 0;
  for (const int64_t point : points) {
    if (point <= 0 || point >= durationMs) {
      return "split point " + FormatTime(static_cast<int>(std::clamp<int64_t>(point, 0, kMaxTimeTextMs))) +
             " does not lie inside the audio (0 to " + FormatTime(static_cast<int>(durationMs)) + ")";
    }
    if (point <= previous) return "split points must rise: " + FormatTime(static_cast<int>(point)) + " comes too late";
    previous = point;
  }
  return std::nullopt;
}

SplitPlan PlanAtPoints(const std::vector<int64_t>& points) {
  SplitPlan plan;
  int64_t start = 0;
  for (const int64_t point : points) {
    plan.push_back(PlannedTrack{start, point, "", ""});
    start = point;
  }
  plan.push_back(PlannedTrack{start, kToTheEnd, "", ""});
  return plan;
}

SplitPlan PlanEvery(int64_t everyMs, int64_t durationMs) {
  std::vector<int64_t> points;
  for (int64_t at = everyMs; everyMs > 0 && at < durationMs; at += everyMs) points.push_back(at);
  return PlanAtPoints(points);
}

SplitPlan PlanFromCue(const CueSheet& sheet) {
  SplitPlan plan;
  for (size_t i = 0; i < sheet.tracks.size(); ++i) {
    const CueTrack& track = sheet.tracks[i];
    const int64_t end = i + 1 < sheet.tracks.size() ? sheet.tracks[i + 1].startMs : kToTheEnd;
    plan.push_back(PlannedTrack{track.startMs, end, track.title, track.performer});
  }
  return plan;
}

SplitPlan PlanAtSilences(const SilenceResult& silences, bool exact, int64_t minTrackMs) {
  std::vector<int64_t> points;
  for (const Silence& silence : silences.silences) {
    const int64_t point = silences.SplitPointMs(silence, exact);
    if (point > (points.empty() ? 0 : points.back())) points.push_back(point);
  }
  SplitPlan plan = PlanAtPoints(points);
  if (minTrackMs > 0) MergeShortTracks(plan, minTrackMs, silences.durationMs);
  return plan;
}
