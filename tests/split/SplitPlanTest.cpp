// Plans from points, a track length and silences; file names from patterns,
// with titles that try to leave the folder or break the name.
#include <gtest/gtest.h>

#include "split/SplitPlan.h"
#include "split/TrackNames.h"

namespace {

std::vector<std::pair<int64_t, int64_t>> Ranges(const SplitPlan& plan) {
  std::vector<std::pair<int64_t, int64_t>> ranges;
  for (const PlannedTrack& t : plan) ranges.emplace_back(t.startMs, t.endMs);
  return ranges;
}

using Ranges_ = std::vector<std::pair<int64_t, int64_t>>;

}  // namespace

TEST(SplitPlan, PointsAndLengthsMakeAdjoiningTracksToTheEnd) {
  EXPECT_EQ(Ranges(PlanAtPoints({1000, 2500})), (Ranges_{{0, 1000}, {1000, 2500}, {2500, kToTheEnd}}));
  EXPECT_EQ(Ranges(PlanEvery(1000, 2500)), (Ranges_{{0, 1000}, {1000, 2000}, {2000, kToTheEnd}}));
  EXPECT_EQ(Ranges(PlanEvery(1000, 2000)), (Ranges_{{0, 1000}, {1000, kToTheEnd}}));
  EXPECT_EQ(Ranges(PlanEvery(5000, 2000)), (Ranges_{{0, kToTheEnd}}));
  EXPECT_FALSE(PointsProblem({1000, 2500}, 3000));
  EXPECT_TRUE(PointsProblem({0}, 3000));
  EXPECT_TRUE(PointsProblem({3000}, 3000));
  EXPECT_TRUE(PointsProblem({2000, 1000}, 3000));
  EXPECT_TRUE(PointsProblem({1000, 1000}, 3000));
}

TEST(SplitPlan, SilencesSplitInTheirMiddleInEachCutsTimeline) {
  SilenceResult found;
  found.durationMs = 20000;
  found.infoFrameMs = 26;
  found.playedLeadMs = 25;
  found.silences = {{4000, 6000}, {9000, 9400}, {15000, 17000}};
  EXPECT_EQ(Ranges(PlanAtSilences(found, false, 0)),
            (Ranges_{{0, 5026}, {5026, 9226}, {9226, 16026}, {16026, kToTheEnd}}));
  EXPECT_EQ(Ranges(PlanAtSilences(found, true, 0)),
            (Ranges_{{0, 4975}, {4975, 9175}, {9175, 15975}, {15975, kToTheEnd}}));
  // Short tracks go into the next one; a short last track into the one before.
  EXPECT_EQ(Ranges(PlanAtSilences(found, false, 4000)), (Ranges_{{0, 5026}, {5026, 9226}, {9226, kToTheEnd}}));
  EXPECT_EQ(Ranges(PlanAtSilences(found, false, 4500)), (Ranges_{{0, 5026}, {5026, kToTheEnd}}));
  EXPECT_EQ(Ranges(PlanAtSilences(found, false, 60000)), (Ranges_{{0, kToTheEnd}}));
}

TEST(TrackNames, PatternsFillTheirFields) {
  TrackNameFields f{3, 12, "Song", "Band", "Album", "concert"};
  EXPECT_EQ(TrackFileName(kDefaultNamePattern, f), "03 - Song.mp3");
  EXPECT_EQ(TrackFileName("%a - %A - %s %n%%.MP3", f), "Band - Album - concert 03%.MP3");
  f.count = 120;
  EXPECT_EQ(TrackFileName("%n", f), "003.mp3");
  EXPECT_FALSE(NamePatternProblem("%n - %t"));
  EXPECT_TRUE(NamePatternProblem(""));
  EXPECT_TRUE(NamePatternProblem("%n %x"));
  EXPECT_TRUE(NamePatternProblem("%n %"));
}

// Whatever the title, the name is one file name inside the folder.
TEST(TrackNames, HostileTitlesStayOneNameInTheFolder) {
  const struct {
    std::string title;
    std::string name;
  } cases[] = {
      {"../../etc/passwd", ".._.._etc_passwd.mp3"},
      {"/", "_.mp3"},
      {"..", "...mp3"},
      {"", "07.mp3"},
      {std::string("a\0b", 3), "a_b.mp3"},
      {"line\nbreak\ttab\r", "line_break_tab_.mp3"},
      {".mp3", "07.mp3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrackFileName("%t", TrackNameFields{7, 9, c.title, "", "", ""}), c.name) << c.title;
  }
  const std::string korean = "\xED\x95\x9C";  // three bytes
  std::string longTitle;
  for (int i = 0; i < 100; ++i) longTitle += korean;
  const std::string name = TrackFileName("%t", TrackNameFields{1, 1, longTitle, "", "", ""});
  EXPECT_LE(name.size(), 255u);
  EXPECT_EQ(name, longTitle.substr(0, 249) + ".mp3");  // whole characters only
}
