// FitRectToWorkArea and GetNearestWorkArea (Xvfb: one 1280 x 1024 screen).
#include <gtest/gtest.h>
#include <wx/display.h>

#include "platform/wx/WorkArea.h"

namespace {

const wxRect kArea(0, 0, 1280, 1000);

wxRect Fit(const wxRect& in, const wxRect& area = kArea) {
  wxRect out;
  FitRectToWorkArea(in, out, &area);
  return out;
}

TEST(FitRectToWorkArea, RectPastTheRightEdgeMovesLeftByTheOverhang) {
  EXPECT_EQ(Fit(wxRect(1210, 100, 100, 50)), wxRect(1180, 100, 100, 50));
}

TEST(FitRectToWorkArea, RectWiderThanTheAreaTakesItsWidth) {
  EXPECT_EQ(Fit(wxRect(-40, 100, 1500, 50)), wxRect(0, 100, 1280, 50));
  EXPECT_EQ(Fit(wxRect(300, 100, 1281, 50)), wxRect(0, 100, 1280, 50));
}

TEST(FitRectToWorkArea, RectBeforeTheLeftOrTopEdgeMovesIn) {
  EXPECT_EQ(Fit(wxRect(-30, -12, 100, 50)), wxRect(0, 0, 100, 50));
}

TEST(FitRectToWorkArea, VerticalFitFollowsTheSameRules) {
  EXPECT_EQ(Fit(wxRect(10, 980, 100, 50)), wxRect(10, 950, 100, 50));
  EXPECT_EQ(Fit(wxRect(10, 5, 100, 2000)), wxRect(10, 0, 100, 1000));
}

TEST(FitRectToWorkArea, RectInsideStaysAndAreaOriginCounts) {
  EXPECT_EQ(Fit(wxRect(5, 5, 100, 50)), wxRect(5, 5, 100, 50));
  const wxRect second(1280, 24, 1024, 744);  // a second monitor with a top panel
  EXPECT_EQ(Fit(wxRect(1250, 0, 100, 50), second), wxRect(1280, 24, 100, 50));
  EXPECT_EQ(Fit(wxRect(2300, 760, 100, 50), second), wxRect(2204, 718, 100, 50));
}

TEST(FitRectToWorkArea, OutputMayBeTheInput) {
  wxRect rect(1210, 100, 100, 50);
  FitRectToWorkArea(rect, rect, &kArea);
  EXPECT_EQ(rect, wxRect(1180, 100, 100, 50));
}

TEST(WorkArea, NearestMonitorOfAnOffScreenRectIsTheScreen) {
  wxRect work;
  wxRect monitor;
  GetNearestWorkArea(wxRect(5000, 5000, 10, 10), &work, &monitor);
  EXPECT_EQ(monitor, wxDisplay(0u).GetGeometry());
  EXPECT_EQ(work, wxDisplay(0u).GetClientArea());
  GetNearestWorkArea(wxRect(0, 0, 10, 10), nullptr, nullptr);  // outputs may be omitted
}

TEST(WorkArea, WithoutAnAreaTheNearestMonitorsWorkAreaIsUsed) {
  const wxRect work = wxDisplay(0u).GetClientArea();
  wxRect out;
  FitRectToWorkArea(wxRect(5000, 5000, 100, 50), out, nullptr);
  EXPECT_EQ(out, wxRect(work.GetRight() + 1 - 100, work.GetBottom() + 1 - 50, 100, 50));
}

}  // namespace
