// Nearest monitor via wxDisplay; fitting is plain rectangle arithmetic.
#include "platform/wx/WorkArea.h"

#include <wx/display.h>

#include <cstdint>
#include <limits>

namespace {

int64_t OverlapArea(const wxRect& a, const wxRect& b) {
  const wxRect overlap = a.Intersect(b);
  if (overlap.IsEmpty()) return 0;
  return static_cast<int64_t>(overlap.width) * overlap.height;
}

// Squared distance between two rectangles that do not overlap (0 when they touch).
int64_t GapSquared(const wxRect& a, const wxRect& b) {
  auto gap = [](int aStart, int aEnd, int bStart, int bEnd) -> int64_t {
    if (aEnd <= bStart) return static_cast<int64_t>(bStart) - aEnd;
    if (bEnd <= aStart) return static_cast<int64_t>(aStart) - bEnd;
    return 0;
  };
  const int64_t dx = gap(a.x, a.x + a.width, b.x, b.x + b.width);
  const int64_t dy = gap(a.y, a.y + a.height, b.y, b.y + b.height);
  return dx * dx + dy * dy;
}

// Moves [start, start + size) into [areaStart, areaStart + areaSize).
void FitAxis(int& start, int& size, int areaStart, int areaSize) {
  if (size > areaSize) {
    start = areaStart;
    size = areaSize;
  } else if (start + size > areaStart + areaSize) {
    start = areaStart + areaSize - size;
  } else if (start < areaStart) {
    start = areaStart;
  }
}

}  // namespace

int NearestMonitor(const wxRect& rect, const std::vector<wxRect>& monitors) {
  int best = -1;
  int64_t bestOverlap = 0;
  int64_t bestGap = std::numeric_limits<int64_t>::max();
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t overlap = OverlapArea(rect, monitors[i]);
    const int64_t gap = overlap > 0 ? 0 : GapSquared(rect, monitors[i]);
    if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && gap < bestGap)) {
      best = static_cast<int>(i);
      bestOverlap = overlap;
      bestGap = gap;
    }
  }
  return best;
}

void GetNearestWorkArea(const wxRect& rect, wxRect* workArea, wxRect* monitorRect) {
  std::vector<wxRect> monitors;
  for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) monitors.push_back(wxDisplay(i).GetGeometry());
  const int best = NearestMonitor(rect, monitors);
  if (best < 0) {
    if (workArea != nullptr) *workArea = wxGetClientDisplayRect();
    if (monitorRect != nullptr) *monitorRect = wxRect(wxPoint(0, 0), wxGetDisplaySize());
    return;
  }
  const wxDisplay display(static_cast<unsigned>(best));
  if (workArea != nullptr) *workArea = display.GetClientArea();
  if (monitorRect != nullptr) *monitorRect = display.GetGeometry();
}

void FitRectToWorkArea(const wxRect& in, wxRect& out, const wxRect* workArea) {
  wxRect area;
  if (workArea != nullptr) {
    area = *workArea;
  } else {
    GetNearestWorkArea(in, &area, nullptr);
  }
  out = in;
  FitAxis(out.x, out.width, area.x, area.width);
  FitAxis(out.y, out.height, area.y, area.height);
}
