// SpectrumModel's split marks, declared with the model: adding, removing,
// finding a mark under the pointer and dragging it.
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "ui/waveform/SpectrumModel.h"

bool SpectrumModel::AddMark(int timeMs) { return AddMarks({timeMs}) == 1; }

int SpectrumModel::AddMarks(const std::vector<int>& times) {
  if (m_state != SpectrumState::Ready) return 0;
  int added = 0;
  for (const int t : times) {
    if (t <= 0 || t >= m_nDuration) continue;
    const auto at = std::lower_bound(m_marks.begin(), m_marks.end(), t);
    if (at != m_marks.end() && *at == t) continue;
    m_marks.insert(at, t);
    ++added;
  }
  if (added == 0) return 0;
  CommitSelection();
  Compose();
  return added;
}

bool SpectrumModel::RemoveMarkNearest(int timeMs) {
  if (m_state != SpectrumState::Ready || m_marks.empty() || m_nDraggedMark >= 0) return false;
  const auto nearest = std::min_element(m_marks.begin(), m_marks.end(), [timeMs](int a, int b) {
    return std::abs(static_cast<long long>(a) - timeMs) < std::abs(static_cast<long long>(b) - timeMs);
  });
  m_marks.erase(nearest);
  CommitSelection();
  Compose();
  return true;
}

int SpectrumModel::MarkNear(int x) const {
  if (m_state != SpectrumState::Ready || m_rcTrack.Width() <= 0) return -1;
  int best = -1;
  int64_t bestDistance = kMarkGrabPixels + 1;
  for (size_t i = 0; i < m_marks.size(); ++i) {
    const int64_t markX = m_rcTrack.left + m_view.TimeToRawX(m_marks[i]);
    const int64_t distance = markX > x ? markX - x : x - markX;
    if (distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

void SpectrumModel::BeginMarkDrag(int index) {
  m_nDraggedMark = index;
  if (m_pHost && !m_pHost->HoldsMouseCapture()) m_pHost->BeginMouseCapture();
  Compose();
}

// The dragged mark follows the pointer, kept inside the file and between
// its neighbours, so the marks keep their order and their numbers.
void SpectrumModel::DragMarkTo(int x) {
  const size_t index = static_cast<size_t>(m_nDraggedMark);
  const int low = index > 0 ? m_marks[index - 1] + 1 : 1;
  const int high = index + 1 < m_marks.size() ? m_marks[index + 1] - 1 : m_nDuration - 1;
  if (low <= high) m_marks[index] = std::clamp(XToTime(x), low, high);
  if (x != m_nMouseX && m_pHost) m_pHost->PostMouseTime(XToTime(x));
  m_nMouseX = x;
  Compose();
}

bool SpectrumModel::ShowMarks(const std::vector<int>& marks) {
  if (marks == m_marks) return false;
  m_marks = marks;
  Compose();
  return true;
}
