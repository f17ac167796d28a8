// FitRectToWorkArea, the nearest-monitor rule and GetNearestWorkArea (Xvfb:
// one 1280 x 1024 screen).
#include <gtest/gtest.h>
#include <wx/display.h>

#include <vector>

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

TEST(WorkArea, NearestMonitorIsTheMostOverlappedElseTheClosest) {
  // Xvfb has one screen: the rule is checked on three made-up monitors, a
  // second one right of the first and a third below it.
  const std::vector<wxRect> monitors = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}, {0, 1024, 1280, 1024}};
  struct Case {
    wxRect rect;
    int nearest;
  };
  const Case cases[] = {
      {{1500, 100, 200, 50}, 1},   // inside the second
      {{1200, 100, 200, 50}, 1},   // 80 columns on the first, 120 on the second
      {{1150, 100, 200, 50}, 0},   // 130 on the first, 70 on the second
      {{1230, 100, 100, 50}, 0},   // half and half: the first of equals
      {{1200, 1000, 200, 100}, 1},  // 80x24 on the first, 120x80 on the second, 80x76 on the third
      {{5000, 100, 10, 10}, 1},    // off to the right: the second is closest
      {{100, 3000, 10, 10}, 2},    // far below
      {{-100, -100, 10, 10}, 0},   // above and left of everything
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NearestMonitor(c.rect, monitors), c.nearest) << c.rect.x << "," << c.rect.y;
  }
  EXPECT_EQ(NearestMonitor(wxRect(0, 0, 10, 10), {}), -1);
}

TEST(WorkArea, WithoutAnAreaTheNearestMonitorsWorkAreaIsUsed) {
  const wxRect work = wxDisplay(0u).GetClientArea();
  wxRect out;
  FitRectToWorkArea(wxRect(5000, 5000, 100, 50), out, nullptr);
  EXPECT_EQ(out, wxRect(work.GetRight() + 1 - 100, work.GetBottom() + 1 - 50, 100, 50));
  GetNearestWorkArea(wxRect(0, 0, 10, 10), nullptr, nullptr);  // outputs may be omitted
}

}  // namespace
