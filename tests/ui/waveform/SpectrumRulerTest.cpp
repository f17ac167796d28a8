// The time ruler's layout: intervals by duration, tick columns, mark lengths
// and labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ui/waveform/SpectrumRuler.h"

namespace {

TEST(SpectrumRulerTest, IntervalAndSubdivisionsFollowTheWholeSeconds) {
  struct Case {
    int durationMs;
    int major;
    int subdivisions;
  };
  const Case cases[] = {
      {500, 1, 10},         {10000, 1, 10},       {10999, 1, 10},       {11000, 10, 10},
      {59999, 10, 10},      {60000, 10, 12},      {60999, 10, 12},      {61000, 60, 12},
      {600999, 60, 12},     {601000, 600, 12},    {3600000, 600, 12},   {3601000, 1200, 12},
      {5400999, 1200, 12},  {5401000, 1800, 12},  {7200999, 1800, 12},  {7201000, 3600, 12},
      {2147483647, 3600, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpectrumRuler::MajorSeconds(c.durationMs), c.major) << c.durationMs;
    EXPECT_EQ(SpectrumRuler::Subdivisions(c.durationMs), c.subdivisions) << c.durationMs;
  }
}

TEST(SpectrumRulerTest, TickOnTheLastMillisecondIsKeptAndLabelledExactly) {
  // 60 s: ticks every 10000/12 ms; tick 72 is exactly the end of the file,
  // its column is the width (just right of the ruler) and its label a full
  // minute, not 59 seconds.
  const SpectrumRuler ruler(60000, 600);
  const auto& ticks = ruler.Ticks();
  ASSERT_EQ(ticks.size(), 73u);
  EXPECT_EQ(ticks.back().x, 600);
  EXPECT_TRUE(ticks.back().major);
  EXPECT_EQ(SpectrumRuler::Label(ticks.back()), "00:01:00");
  EXPECT_EQ(ticks[1].x, 8);   // 833.33 ms of 60000 over 600 columns, truncated
  EXPECT_EQ(ticks[6].x, 50);
}

TEST(SpectrumRulerTest, MarksAreLongOnMajorTicksAndAlternateBetween) {
  const SpectrumRuler ruler(10000, 700);
  const auto& ticks = ruler.Ticks();
  ASSERT_EQ(ticks.size(), 101u);
  std::vector<int> lengths;
  for (int k = 0; k <= 11; ++k) lengths.push_back(ticks[k].markLength);
  EXPECT_EQ(lengths, (std::vector<int>{8, 2, 4, 2, 4, 2, 4, 2, 4, 2, 8, 2}));
  EXPECT_EQ(ticks[1].x, 7);
  EXPECT_EQ(ticks[10].x, 70);
  EXPECT_FALSE(ticks[5].major);
  EXPECT_TRUE(ticks[20].major);
}

TEST(SpectrumRulerTest, LabelsReadHoursMinutesSeconds) {
  const SpectrumRuler ruler(7201000, 700);  // major tick every hour
  const auto& ticks = ruler.Ticks();
  ASSERT_EQ(ticks.size(), 25u);  // 0..24 twelfths of an hour, up to 2 h
  EXPECT_EQ(SpectrumRuler::Label(ticks[0]), "0");
  EXPECT_EQ(SpectrumRuler::Label(ticks[12]), "01:00:00");
  EXPECT_EQ(SpectrumRuler::Label(ticks[24]), "02:00:00");
  const SpectrumRuler minutes(601000, 700);  // major tick every 10 minutes
  EXPECT_EQ(SpectrumRuler::Label(minutes.Ticks()[12]), "00:10:00");
  const SpectrumRuler seconds(45000, 700);
  EXPECT_EQ(SpectrumRuler::Label(seconds.Ticks()[30]), "00:00:30");
}

TEST(SpectrumRulerTest, LabelsLieInsideTheRulerWithoutOverlapping) {
  // Every label 40 or 45 pixels wide ("0" 7): text and left edge of each.
  auto places = [](int durationMs, int width, int textWidth) {
    std::vector<std::pair<std::string, int>> out;
    auto measure = [&](const std::string& text) { return text == "0" ? 7 : textWidth; };
    for (const SpectrumLabel& label : SpectrumRuler(durationMs, width).Labels(measure)) {
      EXPECT_EQ(label.width, measure(label.text));
      out.emplace_back(label.text, label.left);
    }
    return out;
  };
  // 60 s over 600 columns: centred, but the last one ends at the width.
  using Places = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(places(60000, 600, 40), (Places{{"0", 0}, {"00:00:10", 80}, {"00:00:20", 180}, {"00:00:30", 280},
                                            {"00:00:40", 380}, {"00:00:50", 480}, {"00:01:00", 560}}));
  // Labels wider than their spacing: the end keeps its label, and one that
  // would overlap the next is left out.
  EXPECT_EQ(places(10000, 400, 45), (Places{{"0", 0}, {"00:00:02", 58}, {"00:00:04", 138}, {"00:00:06", 218},
                                            {"00:00:08", 298}, {"00:00:10", 355}}));
  // A label wider than the ruler is left out rather than cut.
  EXPECT_EQ(places(1000, 30, 45), (Places{{"0", 0}}));
}

TEST(SpectrumRulerTest, NoTicksWithoutADurationOrAWidth) {
  EXPECT_TRUE(SpectrumRuler(0, 700).Ticks().empty());
  EXPECT_TRUE(SpectrumRuler(-1, 700).Ticks().empty());
  EXPECT_TRUE(SpectrumRuler(5000, 0).Ticks().empty());
  // The longest file still has a bounded number of ticks.
  EXPECT_LT(SpectrumRuler(2147483647, 700).Ticks().size(), 7200u);
}

TEST(SpectrumRulerTest, ZoomedViewsTickTheirOwnStretchDownToMilliseconds) {
  WaveView view;
  view.Reset(600000, 700);
  std::vector<int> majors;
  ASSERT_EQ(SpectrumRuler::ForView(view).Ticks().size(), SpectrumRuler(600000, 700).Ticks().size())
      << "the whole file keeps its own rule";
  // One second over 700 columns: labels every 200 ms (140 pixels), ticks every 50 ms.
  view.ZoomTo(90022, 90932);
  ASSERT_EQ(view.Start(), 89977);
  ASSERT_EQ(view.Span(), 1000);
  const SpectrumRuler fine = SpectrumRuler::ForView(view);
  ASSERT_FALSE(fine.Ticks().empty());
  EXPECT_EQ(fine.Ticks().front().timeMs, 90000) << "the first tick inside the view";
  EXPECT_EQ(fine.Ticks().front().x, view.TimeToX(90000));
  EXPECT_EQ(fine.Ticks().back().timeMs, 90950);
  for (const SpectrumTick& tick : fine.Ticks()) {
    if (tick.major) majors.push_back(tick.timeMs);
  }
  EXPECT_EQ(majors, (std::vector<int>{90000, 90200, 90400, 90600, 90800}));
  EXPECT_EQ(SpectrumRuler::Label(fine.Ticks().front()), "00:01:30.000");
  // A minute over 700 columns: whole seconds, a label every 10 s.
  view.ZoomTo(120000, 174000);
  const SpectrumRuler coarse = SpectrumRuler::ForView(view);
  const auto label = std::find_if(coarse.Ticks().begin(), coarse.Ticks().end(), [](const SpectrumTick& t) { return t.major; });
  ASSERT_NE(label, coarse.Ticks().end());
  EXPECT_EQ(label->timeMs % 10000, 0);
  EXPECT_EQ(SpectrumRuler::Label(*label), "00:02:00");
}

}  // namespace
