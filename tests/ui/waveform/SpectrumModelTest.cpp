// The waveform model without a window: reduction of PCM into columns,
// time <-> column mapping, the selection setters and the mouse rules, with a
// host that records what the window would have been asked to do.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "ui/waveform/SpectrumModel.h"

namespace {

using Selection = std::pair<int, int>;

struct RecordingHost : SpectrumModel::Host {
  std::vector<Selection> changes;
  std::vector<int> mouseTimes;
  int composes = 0;
  int redraws = 0;
  bool capture = false;
  int captures = 0;
  int releases = 0;
  int viewChanges = 0;
  std::vector<Selection> detailRequests;

  void PostChangeTime(int selStart, int selEnd) override { changes.emplace_back(selStart, selEnd); }
  void PostMouseTime(int timeMs) override { mouseTimes.push_back(timeMs); }
  void Compose() override { ++composes; }
  void Redraw() override { ++redraws; }
  bool HoldsMouseCapture() const override { return capture; }
  void BeginMouseCapture() override {
    capture = true;
    ++captures;
  }
  void EndMouseCapture() override {
    if (capture) ++releases;
    capture = false;
  }
  void ViewChanged() override { ++viewChanges; }
  void RequestDetail(int startMs, int endMs) override { detailRequests.emplace_back(startMs, endMs); }
  void Clear() {
    changes.clear();
    mouseTimes.clear();
    detailRequests.clear();
    composes = redraws = captures = releases = viewChanges = 0;
  }
};

// Little-endian 16-bit PCM.
std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  for (int16_t s : samples) {
    bytes.push_back(static_cast<uint8_t>(s & 0xFF));
    bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
  }
  return bytes;
}

// One column of `count` samples: silence except one peak and one trough.
std::vector<int16_t> Column(int count, int16_t peak, int16_t trough) {
  std::vector<int16_t> samples(static_cast<size_t>(count), 0);
  if (count > 0) samples[0] = peak;
  if (count > 1) samples[static_cast<size_t>(count) - 1] = trough;
  return samples;
}

void Feed(SpectrumModel& model, const std::vector<uint8_t>& bytes) {
  model.AddPcm(bytes.data(), static_cast<int>(bytes.size()));
}

void ExpectColumn(const SpectrumModel& model, int column, int top, int bottom) {
  EXPECT_EQ(model.GetColumnTop(column), top) << "column " << column;
  EXPECT_EQ(model.GetColumnBottom(column), bottom) << "column " << column;
}

Selection SelectionOf(const SpectrumModel& model) { return {model.GetSelStart(), model.GetSelEnd()}; }

class SpectrumModelTest : public ::testing::Test {
 protected:
  // 100 columns over a 300-pixel-high client (waveform height 264). A 10 s
  // mono 16-bit stream at 1000 Hz makes 100 samples (100 ms) per column.
  static constexpr int kWidth = 100;
  static constexpr int kHeight = 300;
  static constexpr int kDuration = 10000;

  void SetUp() override {
    model.SetHost(&host);
    model.Attach(kWidth, kHeight);
  }

  void Analyse(int duration = kDuration) { ASSERT_TRUE(model.BeginAnalysis(duration, 1000, 16, 1)); }

  // Analysed and shown, selection (-1, -1), pointer over column 0.
  void MakeReady() {
    Analyse();
    model.EndAnalysis();
    host.Clear();
  }

  RecordingHost host;
  SpectrumModel model;
};

// --- reduction ---------------------------------------------------------------

TEST_F(SpectrumModelTest, ColumnsFollowTheStreamFormatAndClientWidth) {
  Analyse();
  EXPECT_EQ(model.GetState(), SpectrumState::Analysing);
  EXPECT_EQ(model.GetSamplesPerColumn(), 100);
  EXPECT_EQ(model.GetBytesPerColumn(), 200);
  EXPECT_EQ(SelectionOf(model), Selection(-1, -1));
  // Stereo 44.1 kHz, 3 minutes, 700 columns: all channels count.
  SpectrumModel wide;
  wide.Attach(700, 300);
  ASSERT_TRUE(wide.BeginAnalysis(180000, 44100, 16, 2));
  EXPECT_EQ(wide.GetSamplesPerColumn(), 22680);
}

TEST_F(SpectrumModelTest, SilenceIsEmptyForEvenHeightAndOnePixelBelowTheMiddleForOdd) {
  Analyse();
  Feed(model, Pcm16(Column(100, 0, 0)));
  ASSERT_EQ(model.GetFilledColumns(), 1);
  ExpectColumn(model, 0, 132, 132);
  SpectrumModel odd;
  odd.Attach(kWidth, kHeight + 1);  // waveform height 265
  ASSERT_TRUE(odd.BeginAnalysis(kDuration, 1000, 16, 1));
  Feed(odd, Pcm16(Column(100, 0, 0)));
  ASSERT_EQ(odd.GetFilledColumns(), 1);
  ExpectColumn(odd, 0, 132, 133);
}

TEST_F(SpectrumModelTest, PeaksScaleToTheWaveformHeight) {
  Analyse();
  Feed(model, Pcm16(Column(100, 32767, -32768)));  // full scale
  Feed(model, Pcm16(Column(100, 16383, -16384)));  // half scale
  Feed(model, Pcm16(Column(100, -5000, -9000)));   // nothing positive
  Feed(model, Pcm16(Column(100, 7000, 3000)));     // nothing negative
  ASSERT_EQ(model.GetFilledColumns(), 4);
  ExpectColumn(model, 0, 0, 264);
  ExpectColumn(model, 1, 66, 198);
  ExpectColumn(model, 2, 132, 168);
  ExpectColumn(model, 3, 104, 132);
  // Interleaved channels are not separated: one line over both.
  SpectrumModel stereo;
  stereo.Attach(kWidth, kHeight);
  ASSERT_TRUE(stereo.BeginAnalysis(kDuration, 500, 16, 2));
  std::vector<int16_t> interleaved(100, 0);
  interleaved[20] = 32767;   // left
  interleaved[41] = -32767;  // right
  Feed(stereo, Pcm16(interleaved));
  ExpectColumn(stereo, 0, 0, 264);
}

TEST_F(SpectrumModelTest, BytesSplitAnywhereReduceLikeOneBlock) {
  Analyse();
  std::vector<uint8_t> bytes;
  for (int c = 0; c < 3; ++c) {
    const auto column = Pcm16(Column(100, static_cast<int16_t>(1000 * (c + 1)), static_cast<int16_t>(-3000 * (c + 1))));
    bytes.insert(bytes.end(), column.begin(), column.end());
  }
  SpectrumModel whole;
  whole.Attach(kWidth, kHeight);
  ASSERT_TRUE(whole.BeginAnalysis(kDuration, 1000, 16, 1));
  Feed(whole, bytes);
  for (uint8_t b : bytes) model.AddPcm(&b, 1);  // samples split between calls
  ASSERT_EQ(model.GetFilledColumns(), 3);
  for (int c = 0; c < 3; ++c) ExpectColumn(model, c, whole.GetColumnTop(c), whole.GetColumnBottom(c));
  EXPECT_NE(model.GetColumnBottom(2), model.GetColumnBottom(0));
}

// Samples are folded several at a time: an extreme counts wherever it lies
// in its column.
TEST_F(SpectrumModelTest, AnExtremeCountsAtEveryPlaceInTheColumn) {
  Analyse();
  for (int c = 0; c < 100; ++c) {
    std::vector<int16_t> samples(100, 0);
    samples[static_cast<size_t>(c)] = c % 2 ? 32767 : -32768;
    Feed(model, Pcm16(samples));
  }
  ASSERT_EQ(model.GetFilledColumns(), 100);
  for (int c = 0; c < 100; ++c) {
    if (c % 2) {
      ExpectColumn(model, c, 0, 132);
    } else {
      ExpectColumn(model, c, 132, 264);
    }
  }
}

TEST_F(SpectrumModelTest, TooFewSamplesPerColumnFillsEveryColumnWithSilenceAtOnce) {
  // 10 ms at 1000 Hz over 100 columns: 0.1 samples per column, truncated to 0.
  ASSERT_TRUE(model.BeginAnalysis(10, 1000, 16, 1));
  EXPECT_EQ(model.GetSamplesPerColumn(), 0);
  Feed(model, Pcm16({30000}));
  EXPECT_EQ(model.GetFilledColumns(), kWidth);
  for (int c = 0; c < kWidth; ++c) ExpectColumn(model, c, 132, 132);
}

TEST_F(SpectrumModelTest, StreamShorterOrLongerThanPromised) {
  Analyse();
  // Two columns and three quarters of a third: the partial one is not drawn.
  auto bytes = Pcm16(Column(100, 1000, -1000));
  bytes.insert(bytes.end(), bytes.begin(), bytes.end());
  bytes.resize(bytes.size() + 150, 0x7F);
  Feed(model, bytes);
  EXPECT_EQ(model.GetFilledColumns(), 2);
  for (int c = 2; c < kWidth; ++c) ExpectColumn(model, c, 0, 0);
  // Past the last column the surplus is dropped, not kept.
  model.Reset();
  Analyse();
  const auto column = Pcm16(Column(100, 1000, -1000));
  for (int c = 0; c < kWidth; ++c) Feed(model, column);
  ASSERT_EQ(model.GetFilledColumns(), kWidth);
  const int kept = model.GetPendingBytes();
  const std::vector<uint8_t> loud(1 << 20, 0x7F);
  for (int i = 0; i < 8; ++i) Feed(model, loud);
  EXPECT_EQ(model.GetPendingBytes(), kept);
  ExpectColumn(model, kWidth - 1, 128, 136);
}

TEST_F(SpectrumModelTest, HugeColumnsAreReducedInBoundedPieces) {
  // 2 000 000 000 ms at 1000 Hz over 100 columns: 20 million samples
  // (40 MB) per column, far beyond one piece.
  ASSERT_TRUE(model.BeginAnalysis(2000000000, 1000, 16, 1));
  ASSERT_EQ(model.GetSamplesPerColumn(), 20000000);
  const std::vector<uint8_t> block(9216, 0);
  int64_t fed = 0;
  while (fed + static_cast<int64_t>(block.size()) < model.GetBytesPerColumn()) {
    Feed(model, block);
    fed += static_cast<int64_t>(block.size());
    ASSERT_LT(model.GetPendingBytes(), SpectrumModel::kMaxPieceBytes + 9216);
  }
  EXPECT_EQ(model.GetFilledColumns(), 0);
  // The column's last sample carries its only peak.
  std::vector<uint8_t> rest(static_cast<size_t>(model.GetBytesPerColumn() - fed), 0);
  rest[rest.size() - 2] = 0xFF;
  rest[rest.size() - 1] = 0x7F;
  Feed(model, rest);
  ASSERT_EQ(model.GetFilledColumns(), 1);
  ExpectColumn(model, 0, 0, 132);
}

TEST_F(SpectrumModelTest, EightBitIsUnsignedAndOtherWidthsStoreNothing) {
  // Before any analysis there is no format: nothing is stored, no endless
  // loop on zero-byte columns.
  const std::vector<uint8_t> bytes(4096, 0x55);
  Feed(model, bytes);
  EXPECT_EQ(model.GetFilledColumns(), 0);
  for (int bits : {12, 4}) {
    model.Reset();
    ASSERT_TRUE(model.BeginAnalysis(kDuration, 1000, bits, 1));
    Feed(model, bytes);
    EXPECT_EQ(model.GetFilledColumns(), 0) << bits;
    EXPECT_EQ(model.GetPendingBytes(), 0) << bits;
  }
  model.Reset();
  ASSERT_TRUE(model.BeginAnalysis(kDuration, 1000, 8, 1));
  std::vector<uint8_t> full(100, 128);
  full[3] = 255;
  full[4] = 0;
  Feed(model, std::vector<uint8_t>(100, 128));
  Feed(model, full);
  ASSERT_EQ(model.GetFilledColumns(), 2);
  ExpectColumn(model, 0, 132, 132);
  ExpectColumn(model, 1, 1, 264);
}

TEST_F(SpectrumModelTest, BeginAnalysisRefusesBadFormatsAndChangesNothing) {
  const int bad[][4] = {{0, 44100, 16, 2}, {-5, 44100, 16, 2}, {1000, 0, 16, 2}, {1000, 44100, 0, 2},
                        {1000, 44100, 17, 2}, {1000, 44100, 16, 0}, {1000, -1, 16, 2}};
  for (const auto& f : bad) {
    EXPECT_FALSE(model.BeginAnalysis(f[0], f[1], f[2], f[3]));
    EXPECT_EQ(model.GetState(), SpectrumState::Empty);
    EXPECT_EQ(model.GetDuration(), -1);
    EXPECT_EQ(model.GetSelStart(), 0);
  }
  EXPECT_TRUE(model.BeginAnalysis(1, 1, 1, 1));
  EXPECT_TRUE(model.BeginAnalysis(1, 1, 16, 1));
}

TEST_F(SpectrumModelTest, ColumnCountStaysAsAttachedWhileTheAreasFollowTheSize) {
  model.SetClientSize(250, 101);
  EXPECT_EQ(model.GetColumnCount(), kWidth);
  EXPECT_EQ(model.WaveArea().top, 8);
  EXPECT_EQ(model.WaveArea().bottom, 73);
  EXPECT_EQ(model.TrackArea().bottom, 81);
  EXPECT_EQ(model.RulerArea().top, 81);
  EXPECT_EQ(model.RulerArea().bottom, 101);
  // The reduction scale and the column length follow the new size.
  Analyse();
  EXPECT_EQ(model.GetSamplesPerColumn(), 40);
  Feed(model, Pcm16(Column(40, 32767, -32767)));
  ExpectColumn(model, 0, 0, 65);
}

TEST_F(SpectrumModelTest, ResetEmptiesTheViewButKeepsTheHintFlagAndRedraws) {
  MakeReady();
  Feed(model, Pcm16(Column(100, 32767, -32767)));
  model.OnRightDown(50);
  model.OnMouseMove(20, false);
  ASSERT_TRUE(model.TakeSelectionHint());
  host.Clear();
  model.Reset();
  EXPECT_EQ(host.redraws, 1);
  EXPECT_EQ(model.GetState(), SpectrumState::Empty);
  EXPECT_EQ(model.GetDuration(), -1);
  EXPECT_EQ(model.GetSampleRate(), 0);
  EXPECT_EQ(model.GetSamplesPerColumn(), 0);
  EXPECT_EQ(model.GetFilledColumns(), 0);
  ExpectColumn(model, 0, 0, 0);
  EXPECT_EQ(SelectionOf(model), Selection(0, 0));
  EXPECT_EQ(model.GetPlayPosition(), -1);
  EXPECT_EQ(model.GetMouseX(), -1);
  EXPECT_EQ(model.GetAnchorX(), -1);
  EXPECT_EQ(model.GetPendingBytes(), 0);
  EXPECT_TRUE(model.IsHintShown());
  MakeReady();  // the hint is not shown for the next file
  EXPECT_FALSE(model.TakeSelectionHint());
}

// --- time and columns --------------------------------------------------------

TEST_F(SpectrumModelTest, TimeToXRoundsAndClampsToTheColumns) {
  EXPECT_EQ(model.TimeToX(500), 0);  // no file: duration -1
  EXPECT_EQ(model.XToTime(50), 0);
  Analyse();
  EXPECT_EQ(model.TimeToX(0), 0);
  EXPECT_EQ(model.TimeToX(149), 1);
  EXPECT_EQ(model.TimeToX(150), 2);  // halves round up
  EXPECT_EQ(model.TimeToX(-500), 0);
  EXPECT_EQ(model.TimeToX(kDuration), kWidth - 1);  // the end is the last column
  EXPECT_EQ(model.TimeToX(kDuration + 1), kWidth - 1);
  model.SetClientSize(0, kHeight);
  EXPECT_EQ(model.TimeToX(500), 0);
  EXPECT_EQ(model.XToTime(50), 0);
}

TEST_F(SpectrumModelTest, XToTimeOfTheLastColumnIsJustBelowTheDuration) {
  Analyse(1000);
  model.SetClientSize(700, kHeight);
  EXPECT_EQ(model.XToTime(0), 0);
  EXPECT_EQ(model.XToTime(350), 500);
  EXPECT_EQ(model.XToTime(699), 999);
  EXPECT_EQ(model.XToTime(5000), 999);
  EXPECT_EQ(model.XToTime(-7), 0);
}

// --- selection setters -------------------------------------------------------

TEST_F(SpectrumModelTest, SettersRefuseTimesOutsideTheFileOrInTheWrongOrder) {
  MakeReady();
  EXPECT_FALSE(model.SetSelStart(100));  // the end is still -1
  ASSERT_TRUE(model.SetSelEnd(8000));
  host.Clear();
  for (int t : {-1, 8001, kDuration + 1}) EXPECT_FALSE(model.SetSelStart(t)) << t;
  ASSERT_TRUE(model.SetSelStart(3000));
  for (int t : {-1, 2999, kDuration + 1}) EXPECT_FALSE(model.SetSelEnd(t)) << t;
  EXPECT_EQ(host.changes, (std::vector<Selection>{{3000, 8000}}));
  EXPECT_EQ(host.composes, 1);
  EXPECT_TRUE(model.SetSelEnd(kDuration));
  EXPECT_TRUE(model.SetSelStart(kDuration));  // an empty selection is allowed
  EXPECT_EQ(SelectionOf(model), Selection(kDuration, kDuration));
}

TEST_F(SpectrumModelTest, AcceptedSelectionHidesThePlayCursor) {
  MakeReady();
  EXPECT_TRUE(model.SetPlayPosition(4000));
  EXPECT_EQ(host.composes, 1);
  EXPECT_TRUE(model.SetPlayPosition(4000));  // unchanged: nothing to do
  EXPECT_EQ(host.composes, 1);
  EXPECT_TRUE(model.SetSelEnd(6000));
  EXPECT_EQ(model.GetPlayPosition(), -1);
  EXPECT_EQ(host.composes, 2);
  EXPECT_TRUE(model.SetPlayPosition(-1));
  EXPECT_EQ(host.composes, 2);
}

// --- mouse ---------------------------------------------------------------------

TEST_F(SpectrumModelTest, FirstLeftClickSelectsAnEmptyStretchFirstRightClickOnlyTheEnd) {
  MakeReady();
  model.OnRightDown(70);
  EXPECT_EQ(host.changes, (std::vector<Selection>{{-1, 7000}}));
  EXPECT_FALSE(model.IsDragging());
  EXPECT_EQ(host.captures + host.redraws, 0);
  EXPECT_TRUE(model.TakeSelectionHint());  // a right click leaves the hint

  model.Reset();
  MakeReady();
  model.OnLeftDown(40);
  EXPECT_EQ(host.changes, (std::vector<Selection>{{-1, 4000}, {4000, 4000}}));
  EXPECT_EQ(model.GetAnchorX(), 40);
  EXPECT_TRUE(model.IsDragging());
  EXPECT_EQ(host.captures, 1);
  EXPECT_EQ(host.redraws, 1);  // the first left click takes the hint away
}

TEST_F(SpectrumModelTest, ClicksMoveOneEndOrCollapseTheSelection) {
  MakeReady();
  ASSERT_TRUE(model.SetSelEnd(5000));
  ASSERT_TRUE(model.SetSelStart(1000));
  host.Clear();
  model.OnLeftDown(80);  // after the end: collapse, old start posted first
  model.OnLeftUp();
  EXPECT_EQ(host.changes, (std::vector<Selection>{{1000, 8000}, {8000, 8000}}));
  host.Clear();
  model.OnRightDown(95);  // after the start: the end moves
  EXPECT_EQ(host.changes, (std::vector<Selection>{{8000, 9500}}));
  host.Clear();
  model.OnRightDown(30);  // before the start: collapse
  EXPECT_EQ(host.changes, (std::vector<Selection>{{3000, 9500}, {3000, 3000}}));
  host.Clear();
  model.OnLeftDown(10);  // not after the end: the start moves
  EXPECT_EQ(host.changes, (std::vector<Selection>{{1000, 3000}}));
}

TEST_F(SpectrumModelTest, DragKeepsTheAnchorAndStaysPutOnTheAnchorColumn) {
  MakeReady();
  ASSERT_TRUE(model.SetSelEnd(5000));
  ASSERT_TRUE(model.SetSelStart(1000));
  model.OnMouseMove(20, false);
  model.OnLeftDown(20);
  EXPECT_EQ(SelectionOf(model), Selection(2000, 5000));
  model.OnMouseMove(25, true);
  model.OnMouseMove(30, true);
  EXPECT_EQ(SelectionOf(model), Selection(2000, 3000));
  model.OnMouseMove(21, true);
  EXPECT_EQ(SelectionOf(model), Selection(2000, 2100));
  // Back onto the anchor moving left: unchanged; one more column: swapped.
  model.OnMouseMove(20, true);
  EXPECT_EQ(SelectionOf(model), Selection(2000, 2100));
  model.OnMouseMove(19, true);
  EXPECT_EQ(SelectionOf(model), Selection(1900, 2000));
  // The mirror, moving right.
  model.OnMouseMove(20, true);
  EXPECT_EQ(SelectionOf(model), Selection(1900, 2000));
  model.OnMouseMove(21, true);
  EXPECT_EQ(SelectionOf(model), Selection(2000, 2100));
}

TEST_F(SpectrumModelTest, EveryHorizontalDragMovePostsAndHidesTheCursor) {
  MakeReady();
  model.OnMouseMove(40, false);
  model.OnLeftDown(40);
  model.OnMouseMove(41, true);
  model.OnMouseMove(40, true);
  model.SetPlayPosition(100);
  host.Clear();
  model.OnMouseMove(40, true);  // vertical move: same column
  EXPECT_TRUE(host.changes.empty());
  EXPECT_EQ(host.composes, 1);
  EXPECT_EQ(model.GetPlayPosition(), -1);
  model.OnMouseMove(41, true);  // selection stays (4000, 4100) but is posted
  model.OnMouseMove(41, true);
  EXPECT_EQ(host.changes, (std::vector<Selection>{{4000, 4100}}));
  EXPECT_TRUE(host.mouseTimes.empty());
  // While dragging the pointer may leave the control: times clamp.
  model.OnMouseMove(-30, true);
  EXPECT_EQ(SelectionOf(model), Selection(0, 4000));
  EXPECT_EQ(model.GetMouseX(), -30);
}

TEST_F(SpectrumModelTest, PointerMovesPostTheTimeOnlyForANewColumn) {
  MakeReady();
  model.OnMouseMove(25, false);
  model.OnMouseMove(25, false);
  model.OnMouseMove(99, false);
  EXPECT_EQ(host.mouseTimes, (std::vector<int>{2500, 9900}));
  EXPECT_EQ(host.composes, 3);
  // Left button held without a drag (pressed elsewhere): still pointer time.
  model.OnMouseMove(50, true);
  EXPECT_EQ(host.mouseTimes.back(), 5000);
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(SpectrumModelTest, MouseIsIgnoredUntilReadyExceptButtonUp) {
  for (bool analysing : {false, true}) {
    if (analysing) Analyse();
    host.Clear();
    model.OnMouseMove(30, false);
    model.OnLeftDown(30);
    model.OnRightDown(60);
    EXPECT_TRUE(host.changes.empty());
    EXPECT_TRUE(host.mouseTimes.empty());
    EXPECT_EQ(host.composes + host.redraws + host.captures, 0);
    EXPECT_EQ(model.GetMouseX(), -1);
  }
  host.capture = true;
  model.OnLeftUp();
  EXPECT_FALSE(host.capture);
}

TEST_F(SpectrumModelTest, CaptureIsTakenOnceAndReleasedOnlyByButtonUp) {
  MakeReady();
  model.OnLeftDown(30);
  host.Clear();
  model.OnLeftDown(60);  // still holding the capture: the anchor stays
  EXPECT_EQ(model.GetAnchorX(), 30);
  EXPECT_EQ(host.captures + host.redraws, 0);
  model.OnLeftUp();  // ends the drag quietly
  EXPECT_FALSE(model.IsDragging());
  EXPECT_EQ(host.releases, 1);
  EXPECT_EQ(host.changes.size(), 2u);
  EXPECT_EQ(host.composes, 2);
  model.OnMouseMove(90, true);  // no drag any more
  EXPECT_EQ(model.GetSelEnd(), 6000);
  // Reset during a drag ends it but the capture stays until the button is up.
  model.OnLeftDown(30);
  model.Reset();
  EXPECT_FALSE(model.IsDragging());
  EXPECT_TRUE(host.capture);
  model.OnLeftUp();
  EXPECT_FALSE(host.capture);
}

// --- zoom, scroll and resize ----------------------------------------------------

// 10 s at 12800 Hz: a summary entry is 10 ms, a column 100 ms; column 30
// ([3000, 3100) ms) is loud, the rest silent.
void AnalyseOneLoudColumn(SpectrumModel& model) {
  ASSERT_TRUE(model.BeginAnalysis(10000, 12800, 16, 1));
  for (int c = 0; c < 100; ++c) {
    const int16_t level = c == 30 ? 32767 : 0;
    Feed(model, Pcm16(std::vector<int16_t>(1280, level)));
  }
  model.EndAnalysis();
}

TEST_F(SpectrumModelTest, ResizedAndZoomedViewsDrawFromWhatTheAnalysisKept) {
  AnalyseOneLoudColumn(model);
  // Unzoomed at the analysis width: the analysis columns themselves.
  ASSERT_EQ(model.GetVisibleColumnCount(), kWidth);
  for (int c : {0, 30, 99}) {
    EXPECT_EQ(model.GetVisibleTop(c), model.GetColumnTop(c)) << c;
    EXPECT_EQ(model.GetVisibleBottom(c), model.GetColumnBottom(c)) << c;
  }
  model.SetClientSize(2 * kWidth, kHeight);
  ASSERT_EQ(model.GetVisibleColumnCount(), 2 * kWidth);
  EXPECT_EQ(model.GetVisibleTop(60), 0);
  EXPECT_EQ(model.GetVisibleTop(61), 0);
  EXPECT_EQ(model.GetVisibleTop(59), 132) << "silence";
  EXPECT_EQ(model.GetVisibleTop(62), 132);
  // Zoomed onto the loud column's start: the columns from 3000 ms show it.
  host.Clear();
  ASSERT_TRUE(model.ZoomTo(2900, 3100));
  EXPECT_EQ(host.viewChanges, 1);
  EXPECT_EQ(host.redraws, 1);
  EXPECT_EQ(model.GetVisibleTop(model.TimeToX(3050)), 0);
  EXPECT_EQ(model.GetVisibleTop(model.TimeToX(2950)), 132) << "before it";
  // A skipped Info frame of 50 ms: on the cut's axis the sound starts later.
  model.SetFrameTimes({{50, 100, 150}, 640});
  EXPECT_EQ(model.GetVisibleTop(model.TimeToX(3020)), 132);
  EXPECT_EQ(model.GetVisibleTop(model.TimeToX(3080)), 0);
}

TEST_F(SpectrumModelTest, DeepZoomAsksOnceForDetailAndDrawsItWhenItComes) {
  AnalyseOneLoudColumn(model);
  host.Clear();
  // 100 columns of 1 ms: 12.8 frames per column, below a summary entry.
  ASSERT_TRUE(model.ZoomTo(5000, 5090));
  ASSERT_EQ(host.detailRequests.size(), 1u);
  const Selection asked = host.detailRequests[0];
  EXPECT_LE(asked.first, model.GetView().Start());
  EXPECT_GE(asked.second, model.GetView().End());
  model.ScrollBy(1);
  EXPECT_EQ(host.detailRequests.size(), 1u) << "the same stretch is not asked for again";
  WaveDetail detail;
  detail.coverFirst = static_cast<int64_t>(asked.first) * 128 / 10;
  detail.coverEnd = static_cast<int64_t>(asked.second) * 128 / 10;
  detail.firstFrame = 5044 * 128 / 10;
  detail.peaks.push_back({-32767, 32767});
  model.SetDetail(detail);
  EXPECT_EQ(model.GetVisibleTop(model.TimeToX(5044)), 0);
  EXPECT_EQ(model.GetVisibleTop(model.TimeToX(5030)), 132);
}

TEST_F(SpectrumModelTest, DragKeepsItsAnchorTimeWhenTheViewMoves) {
  MakeReady();
  model.OnMouseMove(50, false);
  model.OnLeftDown(50);  // 5000 ms
  model.OnMouseMove(60, true);
  ASSERT_TRUE(model.ZoomAround(5000, 50, 2));  // now 50 ms per column
  model.OnMouseMove(70, true);
  EXPECT_EQ(SelectionOf(model), Selection(5000, 6000));
  model.OnLeftUp();
  host.Clear();
  model.SetFollowing(true);
  EXPECT_TRUE(model.FollowPlayPosition(9000));
  EXPECT_TRUE(model.ScrollBy(-100));
  EXPECT_FALSE(model.IsFollowing()) << "a scroll by hand ends the following";
  EXPECT_FALSE(model.FollowPlayPosition(1000));
}

// --- keyboard editing and undo --------------------------------------------------

TEST_F(SpectrumModelTest, KeysPlaceEdgesByTheMouseRulesAndMoveThemWithinTheSelection) {
  MakeReady();
  EXPECT_TRUE(model.PlaceStart(3000));  // no end yet: both, as a left click
  EXPECT_EQ(SelectionOf(model), Selection(3000, 3000));
  model.PlaceEnd(5000);
  EXPECT_EQ(SelectionOf(model), Selection(3000, 5000));
  EXPECT_FALSE(model.IsActiveEdgeShown()) << "placing is not moving";
  model.MoveActiveEdge(7000);  // the start stops at the end
  EXPECT_EQ(SelectionOf(model), Selection(5000, 5000));
  EXPECT_TRUE(model.IsActiveEdgeShown());
  model.SwitchEdge();
  EXPECT_EQ(model.GetActiveEdge(), SpectrumModel::Edge::End);
  model.MoveActiveEdge(99999);
  EXPECT_EQ(SelectionOf(model), Selection(5000, kDuration)) << "kept inside the file";
  EXPECT_EQ(model.ActiveEdgeTime(), kDuration);
  model.PlaceEnd(1000);  // before the start: both, as a right click
  EXPECT_EQ(SelectionOf(model), Selection(1000, 1000));
  model.OnLeftDown(20);
  model.OnLeftUp();
  EXPECT_FALSE(model.IsActiveEdgeShown()) << "a click hides the highlight";
}

TEST_F(SpectrumModelTest, FrameStepsWalkTheFrameTimesOrTheNominalFrames) {
  MakeReady();
  model.SetFrameTimes({{0, 26, 53, 79, 105}, 0});
  EXPECT_EQ(model.FrameStep(26, 1), 53);
  EXPECT_EQ(model.FrameStep(30, -1), 26);
  EXPECT_EQ(model.FrameStep(26, -1), 0);
  EXPECT_EQ(model.FrameStep(0, -1), 0);
  EXPECT_EQ(model.FrameStep(105, 1), kDuration) << "past the last frame: the end";
  // What a cut writes: the frames holding both ends, or exactly the stretch.
  int from = 0, to = 0;
  EXPECT_FALSE(model.GetCutStretch(&from, &to)) << "no selection";
  model.SetSelectionRange(30, 80);
  ASSERT_TRUE(model.GetCutStretch(&from, &to));
  EXPECT_EQ(std::make_pair(from, to), std::make_pair(26, 79));
  model.SetSelectionRange(53, 105);
  ASSERT_TRUE(model.GetCutStretch(&from, &to));
  EXPECT_EQ(std::make_pair(from, to), std::make_pair(53, 105)) << "ends on the end of the audio";
  model.SetExactCut(true);
  model.SetSelectionRange(30, 80);
  ASSERT_TRUE(model.GetCutStretch(&from, &to));
  EXPECT_EQ(std::make_pair(from, to), std::make_pair(30, 80));
  // 26 ms frames are drawn from 6 pixels apart: at 4 ms per column, not at 5.
  EXPECT_FALSE(model.ShowsFrameGrid());
  model.ZoomTo(0, 380);
  EXPECT_TRUE(model.ShowsFrameGrid());
  model.ZoomAround(0, 0, 0.8);
  EXPECT_FALSE(model.ShowsFrameGrid());
  SpectrumModel cd;
  cd.Attach(kWidth, kHeight);
  ASSERT_TRUE(cd.BeginAnalysis(kDuration, 44100, 16, 2));
  cd.EndAnalysis();
  // 1152 samples at 44.1 kHz: 26.12 ms, boundaries at 27, 53, 79 ms.
  EXPECT_EQ(cd.FrameStep(0, 1), 27);
  EXPECT_EQ(cd.FrameStep(27, 1), 53);
  EXPECT_EQ(cd.FrameStep(53, -1), 27);
  EXPECT_EQ(cd.FrameStep(60, -1), 53);
}

TEST_F(SpectrumModelTest, UndoTakesBackAWholeDragThenEachKeyStep) {
  MakeReady();
  model.OnMouseMove(20, false);
  model.OnLeftDown(20);
  model.OnMouseMove(40, true);
  model.OnMouseMove(60, true);
  model.OnLeftUp();
  ASSERT_EQ(SelectionOf(model), Selection(2000, 6000));
  model.MoveActiveEdge(2500);
  model.SelectAll();
  ASSERT_EQ(SelectionOf(model), Selection(0, kDuration));
  host.Clear();
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(SelectionOf(model), Selection(2500, 6000));
  EXPECT_EQ(host.changes, (std::vector<Selection>{{2500, 6000}})) << "the labels follow";
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(SelectionOf(model), Selection(2000, 6000));
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(SelectionOf(model), Selection(-1, -1)) << "the whole drag was one step";
  EXPECT_FALSE(model.Undo());
  ASSERT_TRUE(model.Redo());
  EXPECT_EQ(SelectionOf(model), Selection(2000, 6000));
  model.Reset();
  MakeReady();
  EXPECT_FALSE(model.Undo()) << "a new file starts a new history";
}

// --- split marks ------------------------------------------------------------------

TEST_F(SpectrumModelTest, MarksAreAddedInsideTheFileInOrderAndDeleteTakesTheNearest) {
  MakeReady();
  EXPECT_TRUE(model.AddMark(6000));
  EXPECT_TRUE(model.AddMark(2000));
  EXPECT_FALSE(model.AddMark(2000)) << "one mark per time";
  EXPECT_FALSE(model.AddMark(0)) << "no track would be empty at the file's ends";
  EXPECT_FALSE(model.AddMark(kDuration));
  EXPECT_EQ(model.AddMarks({4000, 6000, -5, 8000}), 2);
  EXPECT_EQ(model.GetMarks(), (std::vector<int>{2000, 4000, 6000, 8000}));
  EXPECT_TRUE(model.RemoveMarkNearest(5100));
  EXPECT_EQ(model.GetMarks(), (std::vector<int>{2000, 4000, 8000}));
  EXPECT_TRUE(model.RemoveMarkNearest(99999));
  EXPECT_EQ(model.GetMarks(), (std::vector<int>{2000, 4000}));
  model.Reset();
  EXPECT_TRUE(model.GetMarks().empty()) << "closing the file clears them";
  MakeReady();
  EXPECT_FALSE(model.RemoveMarkNearest(1000));
}

TEST_F(SpectrumModelTest, APressNearAMarkDragsItBetweenItsNeighboursAndLeavesTheSelection) {
  MakeReady();
  model.SetSelectionRange(1000, 9000);
  model.AddMarks({3000, 5000});
  model.OnLeftDown(31);  // within the grab distance of the mark at column 30
  EXPECT_EQ(model.GetDraggedMark(), 0);
  EXPECT_TRUE(host.capture);
  model.OnMouseMove(42, true);
  EXPECT_EQ(model.GetMarks(), (std::vector<int>{4200, 5000}));
  model.OnMouseMove(70, true);  // stops before the next mark
  EXPECT_EQ(model.GetMarks(), (std::vector<int>{4999, 5000}));
  model.OnLeftUp();
  EXPECT_EQ(model.GetDraggedMark(), -1);
  EXPECT_FALSE(host.capture);
  EXPECT_EQ(SelectionOf(model), Selection(1000, 9000)) << "the drag moved no edge";
  // Further away the press is the usual one.
  model.OnLeftDown(20);
  model.OnLeftUp();
  EXPECT_EQ(SelectionOf(model), Selection(2000, 9000));
}

TEST_F(SpectrumModelTest, MarksFollowTheZoomWhenGrabbed) {
  MakeReady();
  model.AddMarks({5000, 5400});
  ASSERT_TRUE(model.ZoomAround(5000, 50, 10));  // 10 ms per column, 5000 ms at column 50
  EXPECT_EQ(model.MarkNear(52), 0);
  EXPECT_EQ(model.MarkNear(89), 1);
  EXPECT_EQ(model.MarkNear(70), -1) << "between the lines nothing is grabbed";
  model.OnLeftDown(90);
  model.OnMouseMove(95, true);
  model.OnLeftUp();
  EXPECT_EQ(model.GetMarks(), (std::vector<int>{5000, 5450}));
}

TEST_F(SpectrumModelTest, OneHistoryUndoesMarksAndSelectionInTheOrderTheyChanged) {
  MakeReady();
  model.AddMark(3000);
  model.SetSelectionRange(1000, 2000);
  model.AddMarks({6000, 7000});  // one step
  model.OnLeftDown(60);  // drags the mark at 6000
  model.OnMouseMove(65, true);
  model.OnLeftUp();
  model.RemoveMarkNearest(3000);
  using Marks = std::vector<int>;
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(model.GetMarks(), (Marks{3000, 6500, 7000}));
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(model.GetMarks(), (Marks{3000, 6000, 7000})) << "the whole drag was one step";
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(model.GetMarks(), Marks{3000});
  EXPECT_EQ(SelectionOf(model), Selection(1000, 2000));
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(SelectionOf(model), Selection(-1, -1));
  EXPECT_EQ(model.GetMarks(), Marks{3000});
  ASSERT_TRUE(model.Undo());
  EXPECT_TRUE(model.GetMarks().empty());
  ASSERT_TRUE(model.Redo());
  EXPECT_EQ(model.GetMarks(), Marks{3000});
}

}  // namespace
