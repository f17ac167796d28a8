// Monitors and their work areas (the part of a monitor not taken by panels
// and docks), for placing top-level windows. Rectangles are in screen
// pixels; the right and bottom edges are x + width and y + height.
#pragma once

#include <wx/gdicmn.h>

#include <vector>

// The work area and the full rectangle of the monitor nearest to `rect`: the
// one it overlaps most, or the closest one when it overlaps none. Either
// output may be null. Without monitor information the work area is the
// primary display's client area and the monitor is (0, 0, screen size).
void GetNearestWorkArea(const wxRect& rect, wxRect* workArea, wxRect* monitorRect);

// The rule GetNearestWorkArea applies to the monitors' rectangles: the index
// of the one `rect` overlaps most, or of the closest when it overlaps none
// (the first of equals); -1 for an empty list.
int NearestMonitor(const wxRect& rect, const std::vector<wxRect>& monitors);

// Moves `in` so that it lies inside `workArea` (or, when that is null, the
// work area of the monitor nearest to it) and stores the result in `out`.
// Per axis: a rectangle larger than the area takes the area's extent;
// otherwise one that sticks out past the far edge is moved back by the
// overhang, else one that starts before the near edge is moved forward.
void FitRectToWorkArea(const wxRect& in, wxRect& out, const wxRect* workArea);
