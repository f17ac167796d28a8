// FrameTimes: where a stream's frames lie on the time axis that the cut,
// playback and the selection use, the frame index's.
//
// That axis counts every frame the index holds, a Xing/Info frame at the
// start included, while the decoded PCM the waveform is drawn from has no
// samples for that frame: on the index's axis the decoded samples start
// `leadFrames` sample frames late. The waveform shifts its zoomed picture by
// that much, so what is drawn at a time is what the cut and playback take
// for it.
#pragma once

#include <cstdint>
#include <vector>

struct FrameTimes {
  // Each audio frame's start in ms (its index time rounded up: a time in ms
  // lies in frame k exactly when it is at least starts[k]), rising, and the
  // end of the audio last. A VBR header frame, which no cut copies, is left
  // out.
  std::vector<int> starts;
  int64_t leadFrames = 0;
};
