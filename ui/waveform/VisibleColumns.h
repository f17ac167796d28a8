// VisibleColumns: the waveform line of every pixel column of the view, from
// the best peaks at hand, without a window.
//
// A column covers the sample frames of its stretch of the view. Its line
// comes from, in this order:
//   - the analysis columns themselves when the view is the whole file at
//     the width they were made for (the picture is then exactly the one the
//     analysis drew);
//   - the decoded detail when the column is narrower than a summary entry
//     and the detail covers it;
//   - the peak summary;
//   - the analysis columns folded (a stream with no summary).
// All but the first are shifted onto the cut's axis by the frames' lead.
// Build reports whether detail is wanted for the view and missing, so the
// owner can have it decoded; the coarser picture stands meanwhile.
//
// Line ends follow one rule (LineEnds): the positive peak above the middle
// of the waveform area, the negative one below it, silence on the middle
// row, as offsets from the top of the area.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/waveform/PeakSummary.h"
#include "ui/waveform/WaveView.h"

// The top and bottom offsets of a line for a column whose largest sample is
// `peak` and smallest `trough`, in an area `height` rows high.
void LineEnds(int peak, int trough, int height, int16_t* top, int16_t* bottom);

struct ColumnSources {
  int sampleRate = 0;
  // Raw extremes of the analysis columns, and whether they are the view's
  // columns one for one.
  PeakRun analysis;
  bool analysisMatchesView = false;
  PeakRun summary;
  const WaveDetail* detail = nullptr;
  // Sample frames by which the view's time axis runs ahead of the decoded
  // stream (FrameTimes.h); the analysis columns keep their own picture.
  int64_t leadFrames = 0;
};

class VisibleColumns {
 public:
  // Recomputes every column of `view` for an area `height` rows high.
  // Returns true when the view wants detail it does not have.
  bool Build(const WaveView& view, const ColumnSources& sources, int height);
  void Clear();

  int Count() const { return static_cast<int>(m_top.size()); }
  int Top(int column) const { return m_top[static_cast<size_t>(column)]; }
  int Bottom(int column) const { return m_bottom[static_cast<size_t>(column)]; }

 private:
  std::vector<int16_t> m_top;
  std::vector<int16_t> m_bottom;
};
