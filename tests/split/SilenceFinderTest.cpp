// Silences: the level rule window by window on PCM made to measure, then
// through the decoder on encodings with known silences.
#include <gtest/gtest.h>

#include <cmath>

#include "split/SilenceFinder.h"
#include "tests/split/SplitFixtures.h"
#include "tests/support/TestFiles.h"

namespace {

// Stereo PCM at 8 kHz (windows of 80 frames, 10 ms): `ms` of a square wave
// of `amplitude` (its RMS).
void AddLevel(std::vector<int16_t>& pcm, int ms, int amplitude) {
  for (int i = 0; i < ms * 8; ++i) {
    const auto v = static_cast<int16_t>(i % 2 ? amplitude : -amplitude);
    pcm.insert(pcm.end(), {v, v});
  }
}

std::vector<Silence> Detect(const std::vector<int16_t>& pcm, const SilenceOptions& options) {
  SilenceDetector detector(8000, 2, options);
  // Fed in odd pieces: windows straddle the calls.
  for (size_t at = 0; at < pcm.size(); at += 999) detector.Add(pcm.data() + at, std::min<size_t>(999, pcm.size() - at));
  return detector.Finish();
}

}  // namespace

// -50.3 dBFS (RMS 100) is quiet under -48 and loud under -55; a quiet run
// that starts or ends the audio, or lasts less than the minimum, is none.
TEST(SilenceDetector, QuietRunsLongEnoughBetweenSoundsAreSilences) {
  std::vector<int16_t> pcm;
  AddLevel(pcm, 3000, 0);      // the start: not between two pieces
  AddLevel(pcm, 1000, 8000);
  AddLevel(pcm, 2500, 100);    // a silence: 4000..6500
  AddLevel(pcm, 500, 8000);
  AddLevel(pcm, 1990, 0);      // 10 ms short of the minimum
  AddLevel(pcm, 500, 8000);
  AddLevel(pcm, 2000, 0);      // exactly the minimum: 9490..11490
  AddLevel(pcm, 500, 8000);
  AddLevel(pcm, 5000, 0);      // the end
  SilenceOptions options;
  const std::vector<Silence> found = Detect(pcm, options);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].startMs, 4000);
  EXPECT_EQ(found[0].endMs, 6500);
  EXPECT_EQ(found[1].startMs, 9490);
  EXPECT_EQ(found[1].endMs, 11490);
  options.thresholdDb = -55;
  EXPECT_EQ(Detect(pcm, options).size(), 1u);
  options.minSeconds = 1.5;
  EXPECT_EQ(Detect(pcm, options).size(), 2u);
}

TEST(SilenceFinder, FindsTheSilencesOfAnEncodingAndSplitsInTheirMiddle) {
  TempDir dir;
  EncodeSpec spec;  // 44.1 kHz stereo CBR with an Info frame and LAME's delay
  ASSERT_TRUE(WriteFileBytes(dir.File("gaps.mp3"), EncodePieces(ThreeGaps(), spec)));
  SilenceResult r = FindSilences(dir.File("gaps.mp3"), SilenceOptions{});
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.silences.size(), 2u);
  EXPECT_NEAR(r.infoFrameMs, 26.1, 0.1);
  EXPECT_NEAR(r.playedLeadMs, (576 + 529) * 1000.0 / 44100, 0.01);
  // The tones' edges smear over a frame or so; the middle holds.
  const int64_t middles[] = {4250, 12000};
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_NEAR(r.SplitPointMs(r.silences[i], true), middles[i], 15);
    EXPECT_NEAR(r.SplitPointMs(r.silences[i], false), middles[i] + 26 + 25, 15);
  }
  SilenceOptions shorter;
  shorter.minSeconds = 0.8;
  EXPECT_EQ(FindSilences(dir.File("gaps.mp3"), shorter).silences.size(), 3u);
  shorter.thresholdDb = 3;
  EXPECT_FALSE(FindSilences(dir.File("gaps.mp3"), shorter).ok);
  EXPECT_FALSE(FindSilences(dir.File("missing.mp3"), SilenceOptions{}).ok);
  int calls = 0;
  const SilenceResult cancelled = FindSilences(dir.File("gaps.mp3"), SilenceOptions{}, [&](int64_t) { return ++calls < 2; });
  EXPECT_FALSE(cancelled.ok);
}
