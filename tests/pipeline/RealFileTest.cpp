// The worker manager over real encodings: analysis into the discarding
// writer, and padocut-cli play into SDL's disk driver.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "mp3/Mp3Reader.h"
#include "pipeline/ArwMan.h"
#include "pipeline/LevelReader.h"
#include "platform/MulDiv.h"
#include "tests/pipeline/PipelineFakes.h"
#include "tests/support/TestFiles.h"

using namespace std::chrono_literals;

namespace {

struct Collected {
  std::mutex lock;
  std::vector<uint8_t> bytes;
  std::vector<int> lengths;
};

int Collect(void* user, const void* data, int length) {
  auto* c = static_cast<Collected*>(user);
  std::lock_guard<std::mutex> guard(c->lock);
  const auto* bytes = static_cast<const uint8_t*>(data);
  c->bytes.insert(c->bytes.end(), bytes, bytes + length);
  c->lengths.push_back(length);
  return length;
}

// The reader's whole PCM, read the way padocut-cli decode reads it.
std::vector<uint8_t> DecodeAll(const std::string& path, int seekMs = -2) {
  CMp3Reader reader;
  std::vector<uint8_t> pcm;
  if (!reader.Open(path.c_str(), nullptr, nullptr, nullptr)) return pcm;
  if (seekMs > -2) reader.Seek(seekMs);
  uint8_t buffer[8192];
  for (int n; (n = reader.Read(buffer, sizeof buffer)) > 0;) pcm.insert(pcm.end(), buffer, buffer + n);
  return pcm;
}

std::string Encoded(const TempDir& dir, EncodeSpec spec, const char* name) {
  const std::string path = dir.File(name);
  EXPECT_TRUE(WriteFileBytes(path, EncodeMp3(spec)));
  return path;
}

std::vector<int16_t> NonZeroSamples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> v;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto s = static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (s != 0) v.push_back(s);
  }
  return v;
}

}  // namespace

TEST(ArwManRealFile, AnalysisDeliversEveryDecodedByteInReadSizedBlocks) {
  TempDir dir;
  struct Case { int rate, channels; };
  for (const Case c : {Case{44100, 2}, Case{22050, 1}}) {
    EncodeSpec spec;
    spec.sampleRate = c.rate;
    spec.channels = c.channels;
    spec.seconds = 4;
    const std::string path = Encoded(dir, spec, "a.mp3");
    const auto expected = DecodeAll(path);
    ASSERT_GT(expected.size(), 0u);

    CMp3Reader reader;
    CNullWriter writer;
    Collected collected;
    writer.SetPcmCallback(Collect, &collected);
    ArwMessageQueue queue;
    CArwMan arw;
    arw.SetNotifyWindow(&queue);
    arw.SetReader(&reader);
    arw.SetWriter(&writer);
    arw.SetTexts({path});
    ASSERT_EQ(arw.Start(), 1);
    int rate = 0, bits = 0, channels = 0;
    arw.GetOutputFormat(&rate, &bits, &channels);
    EXPECT_EQ(rate, c.rate);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(channels, c.channels);
    auto end = NextMessage(queue);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->message, WM_ARWMAN_END);
    arw.Stop();

    EXPECT_EQ(collected.bytes, expected);
    // One decoded frame per read, one block per read.
    const int frameBytes = (c.rate >= 32000 ? 1152 : 576) * 2 * c.channels;
    for (int length : collected.lengths) EXPECT_LE(length, frameBytes);
    EXPECT_EQ(writer.GetBytesWritten(), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(writer.GetPosition(),
              static_cast<int>(MulDiv64(static_cast<int64_t>(expected.size()), 8000, 16LL * c.channels * c.rate)));
  }
}

TEST(ArwManRealFile, AnalysisOfAFileThatIsNotMpegPostsCodeTwo) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("x.mp3"), std::vector<uint8_t>(5000, 0x41)));
  CMp3Reader reader;
  CNullWriter writer;
  ArwMessageQueue queue;
  CArwMan arw;
  arw.SetNotifyWindow(&queue);
  arw.SetReader(&reader);
  arw.SetWriter(&writer);
  arw.SetTexts({dir.File("x.mp3")});
  int code = 0;
  EXPECT_EQ(arw.Start(&code), 0);
  EXPECT_EQ(code, kArwErrorReaderOpen);
}

namespace {

struct CliResult {
  int status = -1;
  std::string out;
};

CliResult RunCli(const std::string& args, const std::string& env) {
  const std::string command = env + " " + BuildDir() + "/padocut-cli " + args + " 2>&1";
  CliResult r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) r.out.append(buffer, n);
  const int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace

TEST(CliPlay, DeviceFileHoldsTheDecodedPcmFromTheStartFrameOn) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 5;
  const std::string path = Encoded(dir, spec, "song.mp3");
  const std::string device = dir.File("device.raw");
  const std::string env = "SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 SDL_DISKAUDIOFILE='" + device + "'";
  const CliResult r = RunCli("play '" + path + "' 2000 3000", env);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("from 00:00:02.000 to 00:00:03.000"), std::string::npos) << r.out;

  // Exactly what a reader started at 2000 ms decodes: nothing from before
  // the start frame, no gap, for the second played (less the end margin).
  const auto reference = NonZeroSamples(DecodeAll(path, 2000));
  const auto heard = NonZeroSamples(ReadFilePrefix(device));
  const size_t played = 44100 * 2 * 900 / 1000;
  ASSERT_GE(reference.size(), played);
  ASSERT_GE(heard.size(), played);
  EXPECT_TRUE(std::equal(reference.begin(), reference.begin() + played, heard.begin()));
}

TEST(CliPlay, FailuresNameTheFileOrTheOutput) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 1;
  const std::string path = Encoded(dir, spec, "s.mp3");
  CliResult r = RunCli("play '" + path + "'", "SDL_AUDIODRIVER=no-such-driver");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.rfind("padocut-cli: audio output: cannot open the output plug-in", 0), 0u) << r.out;
  r = RunCli("play '" + dir.File("missing.mp3") + "'", "SDL_AUDIODRIVER=dummy");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "padocut-cli: " + dir.File("missing.mp3") + ": No such file or directory\n");
  r = RunCli("play '" + path + "' 500 500", "SDL_AUDIODRIVER=dummy");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("END must come after START"), std::string::npos) << r.out;
}

TEST(CliPlay, WholeFileEndsAtTheEndAndInterruptStopsCleanly) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 1;
  const std::string path = Encoded(dir, spec, "s.mp3");
  const std::string env = "SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 SDL_DISKAUDIOFILE='" + dir.File("d.raw") + "'";
  CliResult r = RunCli("play '" + path + "'", env);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(NonZeroSamples(ReadFilePrefix(dir.File("d.raw"))), NonZeroSamples(DecodeAll(path)));
  // START alone plays to the end.
  r = RunCli("play '" + path + "' 500", env);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("from 00:00:00.500 to the end"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("end of file"), std::string::npos) << r.out;

  // Real-time pacing on the dummy driver; SIGINT after half a second.
  EncodeSpec longer;
  longer.seconds = 20;
  const std::string longPath = Encoded(dir, longer, "long.mp3");
  const auto before = std::chrono::steady_clock::now();
  r = RunCli("play '" + longPath + "' 2>&1 & pid=$!; sleep 0.5; kill -INT $pid; wait $pid", "SDL_AUDIODRIVER=dummy");
  EXPECT_EQ(r.status, 130) << r.out;
  EXPECT_NE(r.out.find("stopped at"), std::string::npos) << r.out;
  EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
}

// The prelisten's level reader over a stretch from 1000 ms: nothing
// changes without options, -6 dB halves every sample, and a fade-in rises
// from -60 dB block by block to the samples themselves after 500 ms.
TEST(RealFile, LevelReaderAppliesTheCutsGainAndFades) {
  TempDir dir;
  const std::string path = Encoded(dir, EncodeSpec(), "level.mp3");
  const auto read = [&](double gainDb, int fadeInMs) {
    CMp3Reader inner;
    CLevelReader reader(&inner);
    CutOptions options;
    options.gainDb = gainDb;
    options.fadeInMs = fadeInMs;
    reader.SetLevel(options, 1000, 2500);
    std::vector<int16_t> pcm;
    if (!reader.Open(path.c_str(), nullptr, nullptr, nullptr)) return pcm;
    reader.Seek(1000);
    int16_t buffer[4096];
    for (int n; (n = reader.Read(buffer, sizeof buffer)) > 0;) pcm.insert(pcm.end(), buffer, buffer + n / 2);
    return pcm;
  };
  const auto plain = read(0, 0), halved = read(-6, 0), faded = read(0, 500);
  ASSERT_EQ(halved.size(), plain.size());
  for (size_t i = 0; i < plain.size(); ++i) ASSERT_LE(std::abs(halved[i] - plain[i] / 2.0), 0.5) << i;
  const size_t block = 576 * 2, fadeBlocks = (22050 - 288) / 576;  // blocks whose middle lies in the fade
  double previous = 0;
  for (size_t b = 0; (b + 1) * block <= plain.size(); ++b) {
    double out = 0, in = 0;
    for (size_t i = b * block; i < (b + 1) * block; ++i) out += std::abs(faded[i]), in += std::abs(plain[i]);
    if (in == 0) continue;  // the frames just after a seek may decode to silence
    EXPECT_TRUE(b <= fadeBlocks ? out / in >= previous && out / in < (b < 4 ? 0.002 : 1.0) : out == in) << b;
    previous = out / in;
  }
}
