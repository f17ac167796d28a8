// The zoom and scroll mapping and the peak summary, without a window.
#include <gtest/gtest.h>

#include <vector>

#include "ui/waveform/PeakSummary.h"
#include "ui/waveform/WaveView.h"

namespace {

WaveView View(int duration, int width) {
  WaveView view;
  view.Reset(duration, width);
  return view;
}

TEST(WaveViewTest, ZoomKeepsTheTimeUnderItsColumnDownToOneMsPerPixel) {
  WaveView view = View(10000, 100);
  EXPECT_TRUE(view.IsWhole());
  EXPECT_EQ(view.TimeToX(5000), 50);
  EXPECT_EQ(view.XToTime(99), 9900);
  ASSERT_TRUE(view.ZoomAround(3000, 20, 4));
  EXPECT_EQ(view.Span(), 2500);
  EXPECT_EQ(view.Start(), 2500);
  EXPECT_EQ(view.XToTime(20), 3000);
  EXPECT_EQ(view.TimeToX(3000), 20);
  EXPECT_EQ(view.TimeToRawX(0), -100) << "left of the view";
  for (int i = 0; i < 20; ++i) view.ZoomAround(3000, 20, 2);
  EXPECT_EQ(view.Span(), 100) << "1 ms per pixel";
  EXPECT_EQ(view.XToTime(20), 3000);
  EXPECT_FALSE(view.ZoomAround(3000, 20, 2));
  for (int i = 0; i < 20; ++i) view.ZoomAround(3000, 20, 0.5);
  EXPECT_TRUE(view.IsWhole()) << "out no further than the whole file";
}

TEST(WaveViewTest, ScrollingAndFittingStayInsideTheFile) {
  WaveView view = View(10000, 100);
  ASSERT_TRUE(view.ZoomTo(4000, 6000));
  EXPECT_EQ(view.Start(), 3900) << "a twentieth of the range free on each side";
  EXPECT_EQ(view.Span(), 2200);
  EXPECT_TRUE(view.ScrollTo(-500));
  EXPECT_EQ(view.Start(), 0);
  EXPECT_TRUE(view.ScrollBy(20000));
  EXPECT_EQ(view.End(), 10000);
  EXPECT_FALSE(view.ScrollBy(1));
  EXPECT_TRUE(view.ZoomTo(9990, 10000)) << "a short range widens to the deepest zoom";
  EXPECT_EQ(view.Span(), 100);
  EXPECT_EQ(view.End(), 10000);
  EXPECT_FALSE(view.ZoomTo(5000, 5000));
  // A file shorter than one ms per column cannot be zoomed.
  WaveView tiny = View(50, 100);
  EXPECT_FALSE(tiny.ZoomAround(25, 50, 2));
}

TEST(WaveViewTest, FollowPagesOnceTheTimeLeavesTheView) {
  WaveView view = View(10000, 100);
  EXPECT_FALSE(view.Follow(9000)) << "the whole file never pages";
  view.ZoomTo(1000, 2000);
  const int start = view.Start();
  EXPECT_FALSE(view.Follow(start + 10));
  EXPECT_TRUE(view.Follow(view.End() + 5));
  EXPECT_EQ(view.Start(), start + 1100 + 5);
  EXPECT_TRUE(view.Follow(9990));
  EXPECT_EQ(view.End(), 10000) << "the last page ends with the file";
}

TEST(WaveViewTest, NewWidthKeepsTheScaleOfAZoomedViewAndTheWholeFileOtherwise) {
  WaveView view = View(10000, 100);
  view.SetWidth(400);
  EXPECT_TRUE(view.IsWhole());
  EXPECT_EQ(view.TimeToX(5000), 200);
  view.ZoomTo(2000, 2800);  // 1000 ms over 400 columns
  ASSERT_EQ(view.Span(), 880);
  view.SetWidth(800);
  EXPECT_EQ(view.Span(), 1760);
  EXPECT_EQ(view.Start(), 1960);
}

std::vector<uint8_t> Stereo(int frames, int16_t left, int16_t right) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < frames; ++i) {
    for (int16_t s : {left, right}) {
      bytes.push_back(static_cast<uint8_t>(s & 0xFF));
      bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
  }
  return bytes;
}

TEST(PeakSummaryTest, EntriesFoldFramesSplitAnywhereAndRangesTakeWholeEntries) {
  PeakSummary summary;
  ASSERT_TRUE(summary.Begin(1000, 1280, 2));  // 1280 frames: 10 entries
  std::vector<uint8_t> pcm = Stereo(128, 100, -200);
  const auto loud = Stereo(128, 9000, -30000);
  pcm.insert(pcm.end(), loud.begin(), loud.end());
  for (size_t at = 0; at < pcm.size(); at += 7) summary.Add(pcm.data() + at, std::min<size_t>(7, pcm.size() - at));
  EXPECT_EQ(summary.Frames(), 256);
  PeakColumns::Peak peak;
  ASSERT_TRUE(summary.Run().Fold(0, 128, &peak));
  EXPECT_EQ(peak.min, -200);
  EXPECT_EQ(peak.max, 100);
  ASSERT_TRUE(summary.Run().Fold(127, 129, &peak)) << "both entries touched";
  EXPECT_EQ(peak.min, -30000);
  EXPECT_EQ(peak.max, 9000);
  EXPECT_FALSE(summary.Run().Fold(256, 400, &peak)) << "nothing summarised there yet";
}

TEST(PeakSummaryTest, KeepsAnHourWithinItsPromiseAndRefusesWhatItCannotHold) {
  PeakSummary summary;
  ASSERT_TRUE(summary.Begin(3600 * 1000, 48000, 2));
  EXPECT_LE(static_cast<int64_t>(summary.Bytes()), PeakSummary::kMaxBytesPerHour);
  EXPECT_GT(summary.Bytes(), 48000u * 3600 / PeakSummary::kFramesPerEntry * 4 - 1);
  EXPECT_FALSE(summary.Begin(0, 44100, 2));
  EXPECT_FALSE(summary.Begin(1000, 44100, 0));
  EXPECT_TRUE(summary.IsEmpty());
}

}  // namespace
