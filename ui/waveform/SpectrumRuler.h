// SpectrumRuler: where the time ruler under the waveform puts its ticks and
// labels, as plain numbers (no drawing).
//
// The major interval M (seconds) and the subdivision count N follow the
// whole seconds S of the duration: M = 1 up to 10 s, 10 up to 60 s, 60 up to
// 600 s, 600 up to 3600 s, 1200 up to 5400 s, 1800 up to 7200 s, 3600 beyond;
// N = 10 below 60 s, else 12. Tick k stands at k * M * 1000 / N ms and is
// kept while that is not past the duration; its column is the time's share
// of the ruler width, truncated. The tick times and columns are evaluated
// exactly (integer arithmetic), so a tick that falls on the very end of the
// file is kept and labels never lose a second to rounding. Labels lie
// inside the ruler and never overlap.
//
// A zoomed view (ForView) gets ticks over its own stretch instead: the
// major interval is the shortest of a fixed list (10 ms to 10 hours, in
// steps of 1, 2 and 5 and the clock's 15 and 30) whose ticks lie at least
// kMinMajorPixels apart, with N subdivisions that fall on whole
// milliseconds; labels carry milliseconds when the interval is below a
// second.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/waveform/WaveView.h"

struct SpectrumTick {
  int index = 0;       // k
  int x = 0;           // column, not clamped (a tick at the end lies at width)
  int markLength = 0;  // 8 on a major tick, 4 on an even one, else 2
  bool major = false;  // k is a multiple of N: the tick carries a label
  int seconds = 0;     // whole seconds of the tick's time
  int timeMs = 0;      // the tick's time
  bool showMs = false;  // the label carries milliseconds
};

// A label as drawn: its text and where it starts, in ruler columns.
struct SpectrumLabel {
  std::string text;
  int left = 0;
  int width = 0;
};

class SpectrumRuler {
 public:
  static constexpr int kMajorMarkLength = 8;
  static constexpr int kEvenMarkLength = 4;
  static constexpr int kOddMarkLength = 2;

  static constexpr int kMinMajorPixels = 100;

  // No ticks when durationMs <= 0 or width <= 0.
  SpectrumRuler(int durationMs, int width);
  // The ruler of `view`: the rule above for the whole file, else the
  // zoomed one.
  static SpectrumRuler ForView(const WaveView& view);

  static int MajorSeconds(int durationMs);
  static int Subdivisions(int durationMs);
  // "0" for the first tick, else "%02d:%02d:%02d" (hours, minutes, seconds)
  // with ".%03d" milliseconds when the tick shows them.
  static std::string Label(const SpectrumTick& tick);

  const std::vector<SpectrumTick>& Ticks() const { return m_ticks; }

  // The major ticks' labels, each `textWidth(text)` pixels wide and inside
  // the ruler: centred on its tick, moved right or left as far as it takes
  // (the first starts at 0, one at the very end of the file ends at the
  // width). They are placed from the end of the file backwards and a label
  // that would overlap the one after it is left out. In ruler order.
  std::vector<SpectrumLabel> Labels(const std::function<int(const std::string&)>& textWidth) const;

 private:
  explicit SpectrumRuler(int width) : m_nWidth(width) {}
  void AddZoomedTicks(const WaveView& view);

  int m_nWidth = 0;
  std::vector<SpectrumTick> m_ticks;
};
