// WaveView: which stretch of the file the waveform shows, and how its pixel
// columns map to milliseconds. No window: the waveform model owns one.
//
// The view shows [Start(), Start() + Span()) of a file of Duration() ms in
// Width() columns. Unzoomed (IsWhole) it is the whole file, and the mapping
// is exactly the waveform's original one: x = MulDiv(t, width, duration),
// t = MulDiv(column, duration, width). Zoomed, the same rule runs over the
// visible stretch. Both ends of a range are converted and subtracted, never
// a width.
//
// Zoom stops at kMinMsPerPixel (the visible span never drops below
// width * kMinMsPerPixel ms, nor below the whole file when that is
// shorter) and at the whole file; scrolling keeps the stretch inside the
// file. Every change returns whether the view moved.
#pragma once

#include <cstdint>

class WaveView {
 public:
  static constexpr int kMinMsPerPixel = 1;

  // The whole file of `durationMs` in `width` columns (no file: 0 ms).
  void Reset(int durationMs, int width);
  // A new column count: an unzoomed view stays the whole file, a zoomed one
  // keeps its scale and start as far as the file allows.
  void SetWidth(int width);

  int Duration() const { return m_duration; }
  int Width() const { return m_width; }
  int Start() const { return m_start; }
  int Span() const { return m_span; }
  int End() const { return m_start + m_span; }
  bool IsWhole() const { return m_start == 0 && m_span == m_duration; }
  double MsPerPixel() const { return m_width > 0 ? static_cast<double>(m_span) / m_width : 0.0; }
  // The narrowest span the zoom reaches.
  int SmallestSpan() const;

  // The column of `timeMs` (clamped to the file), clamped to the columns.
  int TimeToX(int timeMs) const;
  // The column of `timeMs` without clamping: left of 0 or from Width() on
  // when the time lies outside the view.
  int64_t TimeToRawX(int64_t timeMs) const;
  // The time of column `x` (clamped to the columns).
  int XToTime(int x) const;
  bool Contains(int timeMs) const { return timeMs >= m_start && timeMs <= End(); }

  // Divides the span by `factor` (> 1 zooms in, < 1 out) keeping `timeMs`
  // at column `x`.
  bool ZoomAround(int timeMs, int x, double factor);
  // Shows [from, to] with a small margin on both sides.
  bool ZoomTo(int from, int to);
  bool ShowAll();
  bool ScrollTo(int startMs);
  bool ScrollBy(int deltaMs) { return ScrollTo(m_start + deltaMs); }
  // While playing: when `timeMs` has left the view, the next page starts
  // at it.
  bool Follow(int timeMs);

 private:
  bool Set(int start, int span);

  int m_duration = 0;
  int m_width = 0;
  int m_start = 0;
  int m_span = 0;
};
