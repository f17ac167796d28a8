// SpectrumModel's keyboard editing, declared with the model: the active edge,
// placing and moving the edges, frame steps, what the cut writes, and the
// selection's history.
#include "ui/waveform/SpectrumModel.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int kLowestFullRate = 32000;  // MPEG-1: below it frames hold half the samples

}  // namespace

void SpectrumModel::SwitchEdge() {
  if (m_state != SpectrumState::Ready) return;
  m_activeEdge = m_activeEdge == Edge::Start ? Edge::End : Edge::Start;
  m_bActiveEdgeShown = true;
  Compose();
}

bool SpectrumModel::PlaceStart(int timeMs) {
  if (m_state != SpectrumState::Ready) return false;
  const int t = std::clamp(timeMs, 0, m_nDuration);
  bool changed;
  if (t > m_nSelEnd) {
    changed = SetSelEnd(t);
    changed = SetSelStart(t) || changed;
  } else {
    changed = SetSelStart(t);
  }
  CommitSelection();
  return changed;
}

bool SpectrumModel::PlaceEnd(int timeMs) {
  if (m_state != SpectrumState::Ready) return false;
  const int t = std::clamp(timeMs, 0, m_nDuration);
  bool changed;
  if (t < m_nSelStart) {
    changed = SetSelStart(t);
    changed = SetSelEnd(t) || changed;
  } else {
    changed = SetSelEnd(t);
  }
  CommitSelection();
  return changed;
}

int SpectrumModel::ActiveEdgeTime() const {
  if (m_activeEdge == Edge::Start) return std::max(m_nSelStart, 0);
  return m_nSelEnd < 0 ? m_nDuration : m_nSelEnd;
}

bool SpectrumModel::MoveActiveEdge(int timeMs) {
  if (m_state != SpectrumState::Ready) return false;
  m_bActiveEdgeShown = true;
  int t = std::clamp(timeMs, 0, m_nDuration);
  bool changed;
  if (m_activeEdge == Edge::Start) {
    // Without an end the start goes where a click would put it.
    if (m_nSelEnd < 0) return PlaceStart(t);
    changed = SetSelStart(std::min(t, m_nSelEnd));
  } else {
    changed = SetSelEnd(std::max(t, m_nSelStart));
  }
  if (!changed) Compose();  // the highlight may be new
  CommitSelection();
  return changed;
}

int SpectrumModel::FrameStep(int timeMs, int direction) const {
  if (!m_frameTimes.empty()) {
    if (direction > 0) {
      const auto next = std::upper_bound(m_frameTimes.begin(), m_frameTimes.end(), timeMs);
      return next == m_frameTimes.end() ? m_nDuration : *next;
    }
    const auto at = std::lower_bound(m_frameTimes.begin(), m_frameTimes.end(), timeMs);
    return at == m_frameTimes.begin() ? 0 : *std::prev(at);
  }
  // Nominal Layer III frames (1152 samples, 576 at the half rates): frame k
  // is taken at ceil(k * length) ms, so boundary k lies before t exactly
  // when k * length <= t - 1.
  const double frameMs = (m_nSampleRate >= kLowestFullRate ? 1152.0 : 576.0) * 1000.0 / std::max(m_nSampleRate, 1);
  const double k = direction > 0 ? std::floor(timeMs / frameMs) + 1 : std::floor((timeMs - 1) / frameMs);
  return std::clamp(static_cast<int>(std::ceil(std::max(k, 0.0) * frameMs)), 0, std::max(m_nDuration, 0));
}

void SpectrumModel::SetFrameTimes(FrameTimes times) {
  m_frameTimes = std::move(times.starts);
  m_nLeadFrames = times.leadFrames;
  RefreshColumns();
  if (m_pHost) m_pHost->Redraw();
}

bool SpectrumModel::ShowsFrameGrid() const {
  if (m_state != SpectrumState::Ready || m_frameTimes.size() < 2 || m_view.MsPerPixel() <= 0) return false;
  const double frameMs = static_cast<double>(m_frameTimes.back() - m_frameTimes.front()) / (m_frameTimes.size() - 1);
  return frameMs / m_view.MsPerPixel() >= kFrameGridPixels;
}

void SpectrumModel::SetExactCut(bool exact) {
  if (exact == m_bExactCut) return;
  m_bExactCut = exact;
  Compose();
}

bool SpectrumModel::GetCutStretch(int* fromMs, int* toMs) const {
  if (m_frameTimes.empty() || m_nSelEnd <= 0) return false;
  const int start = std::max(m_nSelStart, 0);
  if (m_bExactCut) {
    *fromMs = start;
    *toMs = m_nSelEnd;
    return true;
  }
  // The frame holding a time is the last one starting at or before it.
  auto frameOf = [this](int t) {
    const auto after = std::upper_bound(m_frameTimes.begin(), m_frameTimes.end(), t);
    return after == m_frameTimes.begin() ? m_frameTimes.front() : *std::prev(after);
  };
  *fromMs = frameOf(start);
  *toMs = m_nSelEnd >= m_frameTimes.back() ? m_frameTimes.back() : frameOf(m_nSelEnd);
  return true;
}

bool SpectrumModel::SelectAll() { return SetSelectionRange(0, m_nDuration); }

bool SpectrumModel::SetSelectionRange(int startMs, int endMs) {
  if (m_state != SpectrumState::Ready || startMs < 0 || endMs > m_nDuration || startMs > endMs) return false;
  const bool changed = ShowSelection(startMs, endMs);
  CommitSelection();
  return changed;
}

bool SpectrumModel::ShowSelection(int start, int end) {
  if (start == m_nSelStart && end == m_nSelEnd) return false;
  m_nSelStart = start;
  m_nSelEnd = end;
  m_nPlayPosition = -1;
  PostChangeTime();
  Compose();
  return true;
}

void SpectrumModel::CommitSelection() {
  if (m_state == SpectrumState::Ready) m_history.Commit({m_nSelStart, m_nSelEnd, m_marks});
}

bool SpectrumModel::Undo() {
  SelectionHistory::Selection shown;
  if (m_state != SpectrumState::Ready || !m_history.Undo({m_nSelStart, m_nSelEnd, m_marks}, &shown)) return false;
  const bool marksChanged = ShowMarks(shown.marks);
  return ShowSelection(shown.start, shown.end) || marksChanged;
}

bool SpectrumModel::Redo() {
  SelectionHistory::Selection shown;
  if (m_state != SpectrumState::Ready || !m_history.Redo({m_nSelStart, m_nSelEnd, m_marks}, &shown)) return false;
  const bool marksChanged = ShowMarks(shown.marks);
  return ShowSelection(shown.start, shown.end) || marksChanged;
}
