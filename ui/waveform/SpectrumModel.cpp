#include "ui/waveform/SpectrumModel.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "pipeline/PeakColumns.h"
#include "platform/MulDiv.h"

namespace {

constexpr int kUnsigned8Bias = 128;   // 8-bit PCM is unsigned, silence at 128
constexpr int kFoldLanes = 8;         // 16-bit samples folded side by side

}  // namespace

SpectrumModel::SpectrumModel() : m_columnBytes(kMaxPieceBytes) {}

void SpectrumModel::Attach(int width, int height) {
  SetClientSize(width, height);
  m_pColumnBottom.reset();
  m_pColumnTop.reset();
  m_columnPeaks.clear();
  m_nColumnCount = 0;
  if (width <= 0) return;
  m_pColumnBottom.reset(new (std::nothrow) int16_t[width]());
  m_pColumnTop.reset(new (std::nothrow) int16_t[width]());
  if (!m_pColumnBottom || !m_pColumnTop) {
    m_pColumnBottom.reset();
    m_pColumnTop.reset();
    return;
  }
  m_columnPeaks.assign(static_cast<size_t>(width), PeakColumns::Peak{});
  m_nColumnCount = width;
}

void SpectrumModel::SetClientSize(int width, int height) {
  m_nClientWidth = width;
  m_nClientHeight = height;
  m_rcWave = {0, kWaveTopMargin, width, height - kWaveBottomMargin};
  m_rcTrack = {0, 0, width, height - kRulerHeight};
  m_rcRuler = {0, height - kRulerHeight, width, height};
  m_nWaveHeight.store(m_rcWave.Height(), std::memory_order_relaxed);
  m_view.SetWidth(width);
  RefreshColumns();
}

void SpectrumModel::Reset() {
  m_nDuration = -1;
  m_nSampleRate = 0;
  m_nBitsPerSample = 0;
  m_nChannels = 0;
  m_nSamplesPerColumn = 0;
  m_nMouseX = -1;
  m_nAnchorX = -1;
  m_nAnchorTime = -1;
  m_bDragging = false;
  m_nSelStart = 0;
  m_nSelEnd = 0;
  m_nPlayPosition = -1;
  m_nFilledColumns = 0;
  if (m_nColumnCount > 0) {
    std::fill_n(m_pColumnBottom.get(), m_nColumnCount, int16_t{0});
    std::fill_n(m_pColumnTop.get(), m_nColumnCount, int16_t{0});
    std::fill(m_columnPeaks.begin(), m_columnPeaks.end(), PeakColumns::Peak{});
  }
  m_summary.Clear();
  m_detail = WaveDetail();
  m_nDetailAskedStart = m_nDetailAskedEnd = -1;
  m_view.Reset(0, m_nClientWidth);
  m_visible.Clear();
  m_bFollowing = false;
  m_marks.clear();
  m_nDraggedMark = -1;
  m_history.Reset({0, 0});
  m_activeEdge = Edge::Start;
  m_bActiveEdgeShown = false;
  m_frameTimes.clear();
  m_nLeadFrames = 0;
  m_pending.Reset();
  m_nColumnBytesDone = 0;
  m_nColumnPeak = 0;
  m_nColumnTrough = 0;
  m_state = SpectrumState::Empty;
  if (m_pHost) m_pHost->Redraw();
}

bool SpectrumModel::BeginAnalysis(int durationMs, int sampleRate, int bitsPerSample, int channels) {
  if (durationMs <= 0 || sampleRate <= 0 || bitsPerSample < 1 || bitsPerSample > 16 || channels <= 0) {
    return false;
  }
  m_nDuration = durationMs;
  m_nSampleRate = sampleRate;
  m_nBitsPerSample = bitsPerSample;
  m_nChannels = channels;
  m_state = SpectrumState::Analysing;
  m_nSelStart = -1;
  m_nSelEnd = -1;
  m_marks.clear();
  m_nDraggedMark = -1;
  // Samples of all channels per column; the layers are never narrower than
  // one pixel.
  m_nAnalysisWidth = std::max(1, m_nClientWidth);
  m_nSamplesPerColumn = SamplesPerColumn(durationMs, sampleRate, channels, m_nAnalysisWidth);
  m_nBytesPerColumn = static_cast<int64_t>(m_nSamplesPerColumn) * (bitsPerSample / 8);
  m_view.Reset(durationMs, m_nClientWidth);
  m_detail = WaveDetail();
  m_nDetailAskedStart = m_nDetailAskedEnd = -1;
  if (bitsPerSample == 16) {
    m_summary.Begin(durationMs, sampleRate, channels);
  } else {
    m_summary.Clear();
  }
  return true;
}

bool SpectrumModel::CanReduce() const {
  return m_nFilledColumns < m_nColumnCount && (m_nBitsPerSample == 8 || m_nBitsPerSample == 16);
}

void SpectrumModel::AddPcm(const void* bytes, int length) {
  if (length > 0) m_summary.Add(static_cast<const uint8_t*>(bytes), static_cast<size_t>(length));
  // Nothing more can be drawn (all columns filled, or a sample width with no
  // reduction): the bytes would only pile up, so they are dropped.
  if (!CanReduce()) return;
  m_pending.Write(bytes, length);  // a failed write drops these bytes
  while (m_nFilledColumns < m_nColumnCount) {
    const int64_t remaining = std::max<int64_t>(0, m_nBytesPerColumn - m_nColumnBytesDone);
    if (remaining > 0) {
      const int piece = static_cast<int>(std::min<int64_t>(remaining, static_cast<int64_t>(m_columnBytes.size())));
      if (m_pending.Count() < piece) break;
      m_pending.Read(m_columnBytes.data(), piece, 1);
      FoldSamples(m_columnBytes.data(), piece);
      m_nColumnBytesDone += piece;
      if (m_nColumnBytesDone < m_nBytesPerColumn) continue;
    }
    ReduceColumn();
    ++m_nFilledColumns;
    m_nColumnBytesDone = 0;
    m_nColumnPeak = 0;
    m_nColumnTrough = 0;
  }
}

void SpectrumModel::FoldSamples(const uint8_t* bytes, int length) {
  int peak = m_nColumnPeak;
  int trough = m_nColumnTrough;
  if (m_nBitsPerSample == 16) {
    const int count = length / 2;
    int i = 0;
    if constexpr (std::endian::native == std::endian::little) {
      // Every sample of a file passes here. Eight independent lanes let the
      // compiler use vector minimum and maximum instructions; the result is
      // the same as one sample at a time.
      int16_t high[kFoldLanes] = {};
      int16_t low[kFoldLanes] = {};
      for (; i + kFoldLanes <= count; i += kFoldLanes) {
        int16_t samples[kFoldLanes];
        std::memcpy(samples, bytes + 2 * i, sizeof samples);
        for (int k = 0; k < kFoldLanes; ++k) {
          high[k] = std::max(high[k], samples[k]);
          low[k] = std::min(low[k], samples[k]);
        }
      }
      for (int k = 0; k < kFoldLanes; ++k) {
        peak = std::max<int>(peak, high[k]);
        trough = std::min<int>(trough, low[k]);
      }
    }
    for (; i < count; ++i) {
      const int sample = static_cast<int16_t>(static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
      peak = std::max(peak, sample);
      trough = std::min(trough, sample);
    }
  } else {
    for (int i = 0; i < length; ++i) {
      const int sample = (bytes[i] - kUnsigned8Bias) * 256;
      peak = std::max(peak, sample);
      trough = std::min(trough, sample);
    }
  }
  m_nColumnPeak = peak;
  m_nColumnTrough = trough;
}

// Turns the column's extremes into the two ends of its line, as offsets from
// the top of the waveform area: the positive peak above the middle, the
// negative one below, silence on the middle row.
void SpectrumModel::ReduceColumn() {
  const int height = m_nWaveHeight.load(std::memory_order_relaxed);
  LineEnds(m_nColumnPeak, m_nColumnTrough, height, &m_pColumnTop[m_nFilledColumns],
           &m_pColumnBottom[m_nFilledColumns]);
  m_columnPeaks[static_cast<size_t>(m_nFilledColumns)] = {static_cast<int16_t>(m_nColumnTrough),
                                                          static_cast<int16_t>(m_nColumnPeak)};
}

void SpectrumModel::EndAnalysis() {
  m_state = SpectrumState::Ready;
  m_history.Reset({m_nSelStart, m_nSelEnd, m_marks});
  RefreshColumns();
}

bool SpectrumModel::SetSelStart(int timeMs) {
  if (timeMs < 0 || timeMs > m_nDuration || timeMs > m_nSelEnd) return false;
  m_nSelStart = timeMs;
  m_nPlayPosition = -1;
  PostChangeTime();
  Compose();
  return true;
}

bool SpectrumModel::SetSelEnd(int timeMs) {
  if (timeMs < 0 || timeMs > m_nDuration || timeMs < m_nSelStart) return false;
  m_nSelEnd = timeMs;
  m_nPlayPosition = -1;
  PostChangeTime();
  Compose();
  return true;
}

bool SpectrumModel::SetPlayPosition(int timeMs) {
  if (timeMs != m_nPlayPosition) {
    m_nPlayPosition = timeMs;
    Compose();
  }
  return true;
}

int SpectrumModel::TimeToX(int timeMs) const {
  if (m_rcTrack.Width() <= 0) return 0;
  return m_rcTrack.left + m_view.TimeToX(timeMs);
}

// The last column maps to just below the end of the view: the very end of
// the file cannot be picked with the mouse.
int SpectrumModel::XToTime(int x) const {
  if (m_nDuration <= 0 || m_rcTrack.Width() <= 0) return 0;
  return m_view.XToTime(x - m_rcTrack.left);
}

void SpectrumModel::RefreshColumns() {
  if (m_state != SpectrumState::Ready) {
    m_visible.Clear();
    return;
  }
  ColumnSources sources;
  sources.sampleRate = m_nSampleRate;
  sources.analysis.peaks = m_columnPeaks.data();
  sources.analysis.count = static_cast<size_t>(m_nFilledColumns);
  sources.analysis.framesPerEntry = m_nChannels > 0 ? static_cast<double>(m_nSamplesPerColumn) / m_nChannels : 0;
  sources.analysisMatchesView =
      m_view.IsWhole() && m_view.Width() == m_nColumnCount && m_nAnalysisWidth == m_nColumnCount;
  sources.summary = m_summary.Run();
  sources.leadFrames = m_nLeadFrames;
  sources.detail = &m_detail;
  if (!m_visible.Build(m_view, sources, m_rcWave.Height()) || !m_pHost) return;
  // A stretch asked for already that holds the view is on its way.
  if (m_view.Start() >= m_nDetailAskedStart && m_view.End() <= m_nDetailAskedEnd) return;
  // Half a view more on each side, so a small scroll needs nothing new.
  const int start = std::max(0, m_view.Start() - m_view.Span() / 2);
  const int end = std::min(m_nDuration, m_view.End() + m_view.Span() / 2);
  m_nDetailAskedStart = start;
  m_nDetailAskedEnd = end;
  m_pHost->RequestDetail(start, end);
}

void SpectrumModel::SetDetail(WaveDetail detail) {
  if (m_state != SpectrumState::Ready) return;
  m_detail = std::move(detail);
  RefreshColumns();
  if (m_pHost) m_pHost->Redraw();
}

bool SpectrumModel::ViewMoved(bool moved) {
  if (!moved) return false;
  RefreshColumns();
  if (m_pHost) {
    m_pHost->ViewChanged();
    if (m_nMouseX >= 0 && !m_bDragging) m_pHost->PostMouseTime(XToTime(m_nMouseX));
    m_pHost->Redraw();
  }
  return true;
}

bool SpectrumModel::ZoomAround(int timeMs, int x, double factor) {
  if (m_state != SpectrumState::Ready) return false;
  return ViewMoved(m_view.ZoomAround(timeMs, x - m_rcTrack.left, factor));
}

bool SpectrumModel::ShowAll() {
  if (m_state != SpectrumState::Ready) return false;
  return ViewMoved(m_view.ShowAll());
}

bool SpectrumModel::ZoomTo(int fromMs, int toMs) {
  if (m_state != SpectrumState::Ready) return false;
  return ViewMoved(m_view.ZoomTo(fromMs, toMs));
}

bool SpectrumModel::ScrollTo(int startMs) {
  if (m_state != SpectrumState::Ready) return false;
  m_bFollowing = false;
  return ViewMoved(m_view.ScrollTo(startMs));
}

bool SpectrumModel::FollowPlayPosition(int timeMs) {
  if (m_state != SpectrumState::Ready || !m_bFollowing) return false;
  return ViewMoved(m_view.Follow(timeMs));
}

void SpectrumModel::SetSelection(int first, int second) {
  m_nSelStart = std::min(first, second);
  m_nSelEnd = std::max(first, second);
}

void SpectrumModel::OnMouseMove(int x, bool leftButtonDown) {
  if (m_state != SpectrumState::Ready) return;
  if (m_nDraggedMark >= 0) {
    if (leftButtonDown) DragMarkTo(x);
    return;
  }
  if (leftButtonDown && m_bDragging) {
    if (x != m_nMouseX) {
      const int t = XToTime(x);
      // The anchor's time from the press: the view may have moved since.
      const int anchor = m_nAnchorTime;
      // Moving left the start decides, moving right the end: the pointer
      // crossing that end swaps which side the anchor holds.
      const int pivot = x < m_nMouseX ? m_nSelStart : m_nSelEnd;
      if (t > pivot) {
        SetSelection(anchor, t);
      } else if (t < pivot) {
        SetSelection(t, anchor);
      }
      PostChangeTime();
    }
    m_nMouseX = x;
    m_nPlayPosition = -1;
  } else if (x != m_nMouseX) {
    m_nMouseX = x;
    if (m_pHost) m_pHost->PostMouseTime(XToTime(x));
  }
  Compose();
}

void SpectrumModel::OnLeftDown(int x) {
  if (m_state != SpectrumState::Ready) return;
  CommitSelection();  // a change made before the click is a step of its own
  if (const int mark = MarkNear(x); mark >= 0 && !m_bDragging) {
    BeginMarkDrag(mark);
    return;
  }
  m_bActiveEdgeShown = false;
  const int t = XToTime(x);
  if (t > m_nSelEnd) {
    SetSelEnd(t);
    SetSelStart(t);
  } else {
    SetSelStart(t);
  }
  if (m_pHost && m_pHost->HoldsMouseCapture()) return;
  const int previousAnchor = m_nAnchorX;
  m_nAnchorX = x;
  m_nAnchorTime = t;
  // The first click of a file takes the selection hint away.
  if (previousAnchor < 0 && m_pHost) m_pHost->Redraw();
  m_bDragging = true;
  if (m_pHost) m_pHost->BeginMouseCapture();
}

void SpectrumModel::OnLeftUp() {
  if ((m_bDragging || m_nDraggedMark >= 0) && m_state == SpectrumState::Ready) CommitSelection();
  m_bDragging = false;
  m_nDraggedMark = -1;
  if (m_pHost) m_pHost->EndMouseCapture();
}

void SpectrumModel::OnRightDown(int x) {
  if (m_state != SpectrumState::Ready) return;
  CommitSelection();
  m_bActiveEdgeShown = false;
  PlaceEnd(XToTime(x));
}

bool SpectrumModel::TakeSelectionHint() {
  if (m_state != SpectrumState::Ready || m_nAnchorX >= 0 || m_bHintShown) return false;
  m_bHintShown = true;
  return true;
}

void SpectrumModel::PostChangeTime() {
  if (m_pHost) m_pHost->PostChangeTime(m_nSelStart, m_nSelEnd);
}

void SpectrumModel::Compose() {
  if (m_pHost) m_pHost->Compose();
}
