#include "pipeline/ArwMan.h"

#include <gtest/gtest.h>

#include "pipeline/Texts.h"
#include "tests/pipeline/PipelineFakes.h"

using namespace std::chrono_literals;

namespace {

// Records, at the moment END is posted, whether the writer had stopped sounding.
class EndWitness : public ArwMessageQueue {
 public:
  explicit EndWitness(FakeWriter& writer) : m_writer(writer) {}
  void PostArwMessage(ArwMessage message, int code) override {
    if (message == WM_ARWMAN_END) writerSilentAtEnd = m_writer.finishedSounding.load();
    ArwMessageQueue::PostArwMessage(message, code);
  }
  std::atomic<bool> writerSilentAtEnd{false};

 private:
  FakeWriter& m_writer;
};

struct Rig {
  explicit Rig(std::vector<uint8_t> data = CountingBytes(50000), PcmFormat format = {44100, 16, 2})
      : reader(std::move(data), format) {
    arw.SetNotifyWindow(&queue);
    arw.SetReader(&reader);
    arw.SetWriter(&writer);
    arw.SetTexts({"/music/a.mp3"});
  }
  FakeReader reader;
  FakeWriter writer;
  ArwMessageQueue queue;
  CArwMan arw;
};

}  // namespace

TEST(ArwMan, EndFollowsTheLastBlockOnlyOnceTheWriterIsSilent) {
  Rig rig;
  rig.writer.playingPolls = 3;
  EndWitness witness(rig.writer);
  rig.arw.SetNotifyWindow(&witness);
  ASSERT_EQ(rig.arw.Start(), 1);
  auto end = NextMessage(witness);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->message, WM_ARWMAN_END);
  EXPECT_TRUE(witness.writerSilentAtEnd.load());
  EXPECT_EQ(rig.writer.isPlayingCalls.load(), 4);
  EXPECT_EQ(rig.writer.Received(), CountingBytes(50000));
  EXPECT_TRUE(WaitUntil([&] { return rig.arw.IsRunning() == 0; }));
  EXPECT_EQ(rig.reader.closes.load(), 1);
  EXPECT_EQ(rig.writer.closes.load(), 1);
  rig.arw.Stop();
  EXPECT_EQ(witness.Count(), 0);
}

TEST(ArwMan, ReadsOf8192BytesAreWrittenAsBlocksOf2304Frames) {
  Rig rig(CountingBytes(100000));
  ASSERT_EQ(rig.arw.Start(), 1);
  ASSERT_TRUE(NextMessage(rig.queue));
  rig.arw.Stop();
  // 16-bit stereo: blocks of 9216 bytes; every read of 8192 fits in one.
  const auto sizes = rig.writer.WriteSizes();
  EXPECT_EQ(static_cast<int>(sizes.size()), rig.reader.reads.load() - 1);  // the last read is the end
  for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 8192);
  EXPECT_EQ(sizes.back(), 100000 % 8192);

  // Mono 8-bit: 2304-byte blocks, so a read of 8192 goes out in four pieces.
  Rig mono(CountingBytes(8192), {8000, 8, 1});
  ASSERT_EQ(mono.arw.Start(), 1);
  ASSERT_TRUE(NextMessage(mono.queue));
  mono.arw.Stop();
  EXPECT_EQ(mono.writer.WriteSizes(), (std::vector<int>{2304, 2304, 2304, 1280}));
  EXPECT_EQ(mono.writer.Received(), CountingBytes(8192));
}

TEST(ArwMan, WriterTakingBlocksInPiecesGetsEveryByteOnceInOrder) {
  Rig rig(CountingBytes(60001));
  rig.reader.readChunk = 4607;
  // Room varies, including none at all for a while and odd sizes.
  rig.writer.room = [](int call) {
    static const int pattern[] = {1000, 0, 333, 1, 9216, 0, 0, 4095, 17};
    return pattern[call % 9];
  };
  ASSERT_EQ(rig.arw.Start(), 1);
  auto end = NextMessage(rig.queue, 30s);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->message, WM_ARWMAN_END);
  rig.arw.Stop();
  EXPECT_EQ(rig.writer.Received(), CountingBytes(60001));
  for (int size : rig.writer.WriteSizes()) EXPECT_LE(size, 9216);
}

TEST(ArwMan, StartFailuresPostTheirCodeAndCloseBothEnds) {
  {
    Rig rig;
    rig.reader.openResult = 0;
    int code = -7;
    EXPECT_EQ(rig.arw.Start(&code), 0);
    EXPECT_EQ(code, kArwErrorReaderOpen);
    auto error = NextMessage(rig.queue, 1s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, WM_ARWMAN_ERROR);
    EXPECT_EQ(error->code, 2);
    EXPECT_EQ(rig.writer.opens.load(), 0);
    EXPECT_EQ(rig.reader.closes.load(), 1);
    EXPECT_EQ(rig.writer.closes.load(), 1);
    EXPECT_EQ(rig.arw.IsRunning(), 0);
  }
  {
    Rig rig;
    rig.writer.openResult = 0;
    int code = 0;
    EXPECT_EQ(rig.arw.Start(&code), 0);
    EXPECT_EQ(code, kArwErrorWriterOpen);
    auto error = NextMessage(rig.queue, 1s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 3);
    EXPECT_EQ(rig.reader.closes.load(), 1);
    EXPECT_EQ(rig.writer.closes.load(), 1);
  }
  {
    Rig rig;
    rig.arw.SetWriter(nullptr);
    int code = 0;
    EXPECT_EQ(rig.arw.Start(&code), 0);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(rig.reader.closes.load(), 1);
  }
  {
    // A writer asking for a format the adaptation cannot make is not served.
    Rig rig;
    rig.writer.askFormat = PcmFormat{44100, 24, 2};
    int code = 0;
    EXPECT_EQ(rig.arw.Start(&code), 0);
    EXPECT_EQ(code, 3);
  }
  {
    // Without a reader there is nothing to open.
    Rig rig;
    rig.arw.SetReader(nullptr);
    int code = 0;
    EXPECT_EQ(rig.arw.Start(&code), 0);
    EXPECT_EQ(code, 2);
  }
}

TEST(ArwMan, ReadFailurePostsErrorFourAndNoEnd) {
  Rig rig;
  rig.reader.failAtRead = 2;
  ASSERT_EQ(rig.arw.Start(), 1);
  auto error = NextMessage(rig.queue);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->message, WM_ARWMAN_ERROR);
  EXPECT_EQ(error->code, kArwErrorRead);
  EXPECT_FALSE(NextMessage(rig.queue, 300ms));
  EXPECT_EQ(rig.arw.IsRunning(), 0);
  EXPECT_EQ(rig.reader.closes.load(), 1);
  EXPECT_EQ(rig.writer.closes.load(), 1);
  EXPECT_EQ(rig.writer.Received().size(), 2u * 8192);
}

TEST(ArwMan, WriteFailurePostsErrorFiveThenEnd) {
  Rig rig;
  rig.writer.failAtWrite = 1;
  ASSERT_EQ(rig.arw.Start(), 1);
  auto error = NextMessage(rig.queue);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->message, WM_ARWMAN_ERROR);
  EXPECT_EQ(error->code, kArwErrorWrite);
  auto end = NextMessage(rig.queue);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->message, WM_ARWMAN_END);
  EXPECT_EQ(rig.writer.writes.load(), 2);  // no retry after the failure
  EXPECT_EQ(rig.reader.reads.load(), 2);
}

TEST(ArwMan, StopPostsNothingAndClosesBothEnds) {
  Rig rig;
  rig.writer.room = [](int) { return 0; };  // the output never takes anything
  ASSERT_EQ(rig.arw.Start(), 1);
  ASSERT_TRUE(WaitUntil([&] { return rig.writer.canWriteCalls.load() >= 2; }));
  const auto before = std::chrono::steady_clock::now();
  rig.arw.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);  // the 50 ms poll notices the stop
  EXPECT_EQ(rig.arw.IsRunning(), 0);
  EXPECT_EQ(rig.reader.closes.load(), 1);
  EXPECT_EQ(rig.writer.closes.load(), 1);
  EXPECT_FALSE(NextMessage(rig.queue, 200ms));
  rig.arw.Stop();  // harmless when idle
  EXPECT_EQ(rig.reader.closes.load(), 1);

  // A Stop while the end drains posts no END either.
  Rig draining;
  draining.writer.playingPolls = 1000000;
  ASSERT_EQ(draining.arw.Start(), 1);
  ASSERT_TRUE(WaitUntil([&] { return draining.writer.isPlayingCalls.load() >= 1; }));
  draining.arw.Stop();
  EXPECT_FALSE(NextMessage(draining.queue, 200ms));
}

TEST(ArwMan, StartDuringARunEndsTheOldRunSilently) {
  Rig rig;
  rig.writer.room = [](int call) { return call < 3 ? 0 : 9216; };  // the first run stalls a while
  ASSERT_EQ(rig.arw.Start(), 1);
  ASSERT_TRUE(WaitUntil([&] { return rig.writer.canWriteCalls.load() >= 1; }));
  ASSERT_EQ(rig.arw.Start(), 1);
  EXPECT_EQ(rig.reader.opens.load(), 2);
  EXPECT_GE(rig.reader.closes.load(), 1);
  auto end = NextMessage(rig.queue);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->message, WM_ARWMAN_END);
  EXPECT_FALSE(NextMessage(rig.queue, 200ms));  // one END, for the second run
  EXPECT_EQ(rig.reader.closes.load(), 2);
}

TEST(ArwMan, ReaderAndWriterCannotBeSwappedWhileRunning) {
  Rig rig;
  rig.writer.room = [](int) { return 0; };
  FakeReader other(CountingBytes(10));
  FakeWriter otherWriter;
  ASSERT_EQ(rig.arw.Start(), 1);
  EXPECT_EQ(rig.arw.IsRunning(), 1);
  EXPECT_EQ(rig.arw.SetReader(&other), 0);
  EXPECT_EQ(rig.arw.SetWriter(&otherWriter), 0);
  rig.arw.Stop();
  EXPECT_EQ(rig.arw.SetReader(&other), 1);
  EXPECT_EQ(rig.arw.SetWriter(&otherWriter), 1);
}

TEST(ArwMan, PauseStopsReadsUntilResume) {
  Rig rig;
  rig.reader.endless = true;
  rig.writer.room = [](int) { return 4096; };
  ASSERT_EQ(rig.arw.Start(), 1);
  ASSERT_TRUE(WaitUntil([&] { return rig.reader.reads.load() > 5; }));
  rig.arw.Pause();
  EXPECT_EQ(rig.arw.IsPaused(), 1);
  EXPECT_EQ(rig.reader.pauseOn.load(), 1);
  EXPECT_EQ(rig.writer.pauseOn.load(), 1);
  rig.arw.Pause();  // already paused: nothing more
  EXPECT_EQ(rig.reader.pauseOn.load(), 1);
  std::this_thread::sleep_for(120ms);
  const int reads = rig.reader.reads.load();
  std::this_thread::sleep_for(250ms);
  EXPECT_EQ(rig.reader.reads.load(), reads);
  EXPECT_LE(rig.reader.readsWhilePaused.load(), 1);  // at most one read already under way
  rig.arw.Resume();
  EXPECT_EQ(rig.arw.IsPaused(), 0);
  EXPECT_EQ(rig.reader.pauseOff.load(), 1);
  EXPECT_EQ(rig.writer.pauseOff.load(), 1);
  EXPECT_TRUE(WaitUntil([&] { return rig.reader.reads.load() > reads + 5; }));
  rig.arw.Stop();
  EXPECT_EQ(rig.arw.IsPaused(), 0);
  EXPECT_FALSE(NextMessage(rig.queue, 100ms));
}

TEST(ArwMan, PauseNeedsBothEnds) {
  CArwMan arw;
  FakeReader reader(CountingBytes(10));
  arw.SetReader(&reader);
  arw.Pause();
  EXPECT_EQ(arw.IsPaused(), 0);
  EXPECT_EQ(reader.pauseOn.load(), 0);
}

TEST(ArwMan, SeekMovesTheReaderThenFlushesAFlushableWriter) {
  Rig rig;
  rig.writer.room = [](int) { return 0; };
  ASSERT_EQ(rig.arw.Start(), 1);
  rig.arw.Seek(1500);
  EXPECT_TRUE(rig.reader.Seeks().empty());  // CanSeek 0: nothing at all
  rig.arw.Stop();

  rig.writer.canSeek = 1;
  ASSERT_EQ(rig.arw.Start(), 1);
  rig.arw.Seek(1500);
  rig.arw.Seek(-40);  // a time never set means the beginning
  EXPECT_EQ(rig.reader.Seeks(), (std::vector<int>{1500, 0}));
  EXPECT_EQ(rig.writer.Flushes(), (std::vector<int>{1500, 0}));
  rig.arw.Stop();

  rig.reader.seekable = false;
  ASSERT_EQ(rig.arw.Start(), 1);
  rig.arw.Seek(700);
  rig.arw.Stop();
  EXPECT_EQ(rig.reader.Seeks().size(), 2u);
}

TEST(ArwMan, SeekDeliversTheNewPositionFromTheSeekOn) {
  // 1 s of 8000 Hz mono 16-bit: seek to 250 ms once the worker holds a
  // block read from the start; the writer then gets exactly the bytes from
  // 250 ms on, and nothing of the block read before the seek.
  const auto data = CountingBytes(16000);
  Rig rig(data, {8000, 16, 1});
  rig.writer.canSeek = 1;
  rig.writer.room = [](int call) { return call < 2 ? 0 : 1000; };
  ASSERT_EQ(rig.arw.Start(), 1);
  ASSERT_TRUE(WaitUntil([&] { return rig.reader.reads.load() >= 1; }));
  rig.arw.Seek(250);
  ASSERT_TRUE(NextMessage(rig.queue));
  rig.arw.Stop();
  const auto received = rig.writer.Received();
  EXPECT_EQ(received, std::vector<uint8_t>(data.begin() + 4000, data.end()));
}

TEST(ArwMan, StartTimeSeeksBeforeTheFirstReadAndIsUsedOnce) {
  const auto data = CountingBytes(16000);
  Rig rig(data, {8000, 16, 1});
  rig.writer.canSeek = 1;
  rig.arw.SetStartTime(250);
  ASSERT_EQ(rig.arw.Start(), 1);
  EXPECT_EQ(rig.reader.Seeks(), (std::vector<int>{250}));
  EXPECT_EQ(rig.writer.Flushes(), (std::vector<int>{250}));
  ASSERT_TRUE(NextMessage(rig.queue));
  rig.arw.Stop();
  EXPECT_EQ(rig.writer.Received(), std::vector<uint8_t>(data.begin() + 4000, data.end()));
  // The next run starts at the beginning again.
  ASSERT_EQ(rig.arw.Start(), 1);
  ASSERT_TRUE(NextMessage(rig.queue));
  rig.arw.Stop();
  EXPECT_EQ(rig.reader.Seeks().size(), 1u);
}

TEST(ArwMan, NoBlockReadBeforeASeekReachesTheWriterAfterIt) {
  Rig rig;
  rig.reader.epochBytes = true;
  rig.reader.readChunk = 1152;
  rig.writer.canSeek = 1;
  rig.writer.checkEpoch = true;
  rig.writer.room = [](int call) { return call % 3 == 0 ? 0 : 700; };
  ASSERT_EQ(rig.arw.Start(), 1);
  std::thread seeker([&] {
    for (int i = 0; i < 40; ++i) {
      rig.arw.Seek(i * 10);
      std::this_thread::sleep_for(std::chrono::milliseconds(i % 7));
    }
  });
  seeker.join();
  ASSERT_TRUE(WaitUntil([&] { return rig.writer.writes.load() > 50; }));
  rig.arw.Stop();
  EXPECT_EQ(rig.writer.Flushes().size(), 40u);
  EXPECT_EQ(rig.writer.staleBytes, 0);
}

TEST(ArwMan, TextsGoToReaderAndWriterAndAnEmptyPathKeepsThePrevious) {
  Rig rig;
  ArwTexts texts{"/music/b.mp3", "one", "i1", "i2", "i3", "i4", "i5", "i6", "i7"};
  rig.arw.SetTexts(texts);
  rig.arw.SetTexts({"", "ignored"});
  ASSERT_EQ(rig.arw.Start(), 1);
  ASSERT_TRUE(NextMessage(rig.queue));
  rig.arw.Stop();
  EXPECT_EQ(rig.reader.lastPath, "/music/b.mp3");
  EXPECT_EQ(rig.writer.openText, "one");
  EXPECT_EQ(rig.writer.openTexts[0], "i1");
  EXPECT_EQ(rig.writer.openTexts[6], "i7");
}

TEST(ArwMan, PositionDurationAndFormatComeFromTheEnds) {
  CArwMan arw;
  EXPECT_EQ(arw.GetPosition(), 0);
  EXPECT_EQ(arw.GetDuration(), 0);
  int rate = 0, bits = 0, channels = 0;
  arw.GetOutputFormat(&rate, &bits, &channels);
  EXPECT_EQ(rate, -1);
  EXPECT_EQ(channels, -1);
  arw.GetOutputFormat(nullptr, nullptr, nullptr);

  Rig rig(CountingBytes(176400 * 3));
  rig.writer.askFormat = PcmFormat{22050, 16, 1};
  ASSERT_EQ(rig.arw.Start(), 1);
  EXPECT_EQ(rig.arw.GetPosition(), 1234);
  EXPECT_EQ(rig.arw.GetDuration(), 3000);
  rig.arw.GetOutputFormat(&rate, &bits, &channels);
  EXPECT_EQ(rate, 22050);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(channels, 1);
  ASSERT_TRUE(NextMessage(rig.queue));
  rig.arw.Stop();
  // 3 s at 22050 Hz mono 16-bit, give or take the filter's edge.
  EXPECT_NEAR(static_cast<double>(rig.writer.Received().size()), 3 * 44100.0, 200.0);
}

TEST(ArwMan, PausingAndSeekingFromAnotherThreadWhileRunning) {
  Rig rig;
  rig.reader.endless = true;
  rig.writer.canSeek = 1;
  rig.writer.room = [](int call) { return call % 5 == 0 ? 0 : 2048; };
  ASSERT_EQ(rig.arw.Start(), 1);
  std::atomic<bool> done{false};
  std::thread poller([&] {
    while (!done.load()) {
      rig.arw.GetPosition();
      rig.arw.IsRunning();
      rig.arw.IsPaused();
      std::this_thread::sleep_for(1ms);
    }
  });
  for (int i = 0; i < 20; ++i) {
    rig.arw.Pause();
    rig.arw.Seek(i * 100);
    std::this_thread::sleep_for(3ms);
    rig.arw.Resume();
    std::this_thread::sleep_for(3ms);
  }
  rig.arw.Stop();
  done.store(true);
  poller.join();
  EXPECT_EQ(rig.arw.IsRunning(), 0);
  EXPECT_FALSE(NextMessage(rig.queue, 100ms));
}

TEST(ArwErrorText, DialogTextsForEachCode) {
  EXPECT_STREQ(ArwErrorText(3, true), pipelinetext::kOutputModule);
  EXPECT_STREQ(ArwErrorText(2, false), pipelinetext::kOpenFailed);
  EXPECT_STREQ(ArwErrorText(5, true), pipelinetext::kOutputFailed);
  EXPECT_STREQ(ArwErrorText(5, false), pipelinetext::kTempSaveFailed);
  EXPECT_STREQ(ArwErrorText(0, true), "");
  EXPECT_STREQ(ArwErrorText(6, false), "");
}
