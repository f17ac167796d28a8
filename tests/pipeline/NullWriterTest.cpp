#include "pipeline/AudioReader.h"
#include "pipeline/AudioWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct Sink {
  int calls = 0;
  int bytes = 0;
  int answer = -1;  // -1: accept everything
};
int Collect(void* user, const void*, int length) {
  auto* sink = static_cast<Sink*>(user);
  ++sink->calls;
  sink->bytes += length;
  return sink->answer < 0 ? length : sink->answer;
}
class BareReader : public CAudioReader {
 public:
  BareReader() : CAudioReader("bare") {}
  int Open(const char*, int*, int*, int*) override { return 1; }
  void Close() override {}
  int GetDuration() override { return 0; }
  int Read(void*, int) override { return 0; }
};
}  // namespace

TEST(NullWriter, PositionFollowsBytesWritten) {
  CNullWriter writer;
  EXPECT_EQ(writer.GetName(), "NULL Writer");
  int rate = 44100, bits = 16, channels = 2;
  ASSERT_EQ(writer.Open("", &rate, &bits, &channels, {}), 1);
  std::vector<uint8_t> block(176400);
  EXPECT_EQ(writer.Write(block.data(), 176400), 176400);
  EXPECT_EQ(writer.GetPosition(), 1000);
  EXPECT_EQ(writer.CanWrite(), 9216);
  // The count restarts at every Open.
  ASSERT_EQ(writer.Open("", &rate, &bits, &channels, {}), 1);
  EXPECT_EQ(writer.GetPosition(), 0);
}

TEST(NullWriter, OpenNeedsAllThreeFormatPointers) {
  CNullWriter writer;
  int v = 1;
  EXPECT_EQ(writer.Open("", nullptr, &v, &v, {}), 0);
  EXPECT_EQ(writer.Open("", &v, nullptr, &v, {}), 0);
  EXPECT_EQ(writer.Open("", &v, &v, nullptr, {}), 0);
  EXPECT_EQ(writer.CanWrite(), 288);  // format still -1: MulDiv(2304, 1, 8)
}

TEST(NullWriter, CallbackSeesEveryBlockAndItsRefusalStillCounts) {
  CNullWriter writer;
  int rate = 8000, bits = 16, channels = 1;
  writer.Open("", &rate, &bits, &channels, {});
  Sink sink;
  EXPECT_EQ(writer.SetPcmCallback(Collect, &sink), 1);
  std::vector<uint8_t> block(16000);
  EXPECT_EQ(writer.Write(block.data(), 16000), 16000);
  sink.answer = 0;
  EXPECT_EQ(writer.Write(block.data(), 16000), 0);
  EXPECT_EQ(sink.calls, 2);
  EXPECT_EQ(writer.GetPosition(), 2000);
}

TEST(AudioReaderDefaults, BaseReaderCannotSeek) {
  BareReader reader;
  EXPECT_EQ(reader.IsUnseekable(), 1);
  EXPECT_EQ(reader.Pause(1), 1);
}
