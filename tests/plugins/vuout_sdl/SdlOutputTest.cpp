// vuout_sdl.so on SDL's disk driver (what reaches the device file) and on
// its dummy driver (real-time pacing), plus the failures without a device.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "pipeline/ArwMan.h"
#include "pipeline/PluginWriter.h"
#include "tests/pipeline/PipelineFakes.h"
#include "tests/support/TestFiles.h"

using namespace std::chrono_literals;

namespace {

constexpr const char* kPlugin = kOutputPluginFile;

// 16-bit stereo PCM in which no sample is 0, so the device's silence can be
// told apart from it.
std::vector<uint8_t> NonZeroPcm(int frames, int seed) {
  std::vector<uint8_t> bytes(static_cast<size_t>(frames) * 4);
  for (size_t i = 0; i < bytes.size() / 2; ++i) {
    int v = static_cast<int>((i * 7919 + static_cast<size_t>(seed) * 104729) % 60001) - 30000;
    if (v == 0) v = 1;
    bytes[2 * i] = static_cast<uint8_t>(v & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
  }
  return bytes;
}

std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> v(bytes.size() / 2);
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return v;
}

// The device file without the silence SDL adds while the queue is empty or
// the device paused. Only what the file holds now is read: a paused device
// keeps writing silence.
std::vector<int16_t> Heard(const std::string& path) {
  std::vector<int16_t> heard;
  for (int16_t s : Samples(ReadFilePrefix(path))) {
    if (s != 0) heard.push_back(s);
  }
  return heard;
}

class DiskDevice {
 public:
  DiskDevice() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", File().c_str(), 1);
    // 1 ms per device buffer: about 20 times real time, and the silence
    // written while paused stays a few megabytes a second.
    setenv("SDL_DISKAUDIODELAY", "1", 1);
  }
  ~DiskDevice() {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
  }
  std::string File() const { return m_dir.File("device.raw"); }

 private:
  TempDir m_dir;
};

// Writes all of `pcm` as the worker does: pieces no larger than CanWrite.
void WriteAll(CPluginWriter& writer, const std::vector<uint8_t>& pcm) {
  size_t at = 0;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (at < pcm.size() && std::chrono::steady_clock::now() < deadline) {
    const int room = writer.CanWrite();
    if (room <= 0) {
      std::this_thread::sleep_for(5ms);
      continue;
    }
    const int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(room), pcm.size() - at));
    ASSERT_EQ(writer.Write(pcm.data() + at, n), 1);
    at += static_cast<size_t>(n);
  }
  ASSERT_EQ(at, pcm.size());
}

bool Drains(CPluginWriter& writer, std::chrono::milliseconds timeout = 10s) {
  return WaitUntil([&] { return writer.IsPlaying() == 0; }, timeout);
}

int OpenStereo(CPluginWriter& writer, int rate = 44100) {
  int bits = 16, channels = 2;
  return writer.Open("", &rate, &bits, &channels, {});
}

// The plug-in's own record, for calls the writer does not make.
VuOutModule* Record() {
  void* library = dlopen((BuildDir() + "/" + kPlugin).c_str(), RTLD_NOW);
  if (!library) return nullptr;
  auto entry = reinterpret_cast<VuGetOutModuleFunc>(dlsym(library, kVuGetOutModuleName));
  return entry ? entry() : nullptr;
}

}  // namespace

TEST(SdlOutput, DeviceReceivesExactlyThePcmWrittenAfterTheFlush) {
  DiskDevice device;
  {
    CPluginWriter writer(kPlugin, nullptr);
    ASSERT_TRUE(writer.HasModule());
    writer.SetVolume(100);
    ASSERT_EQ(OpenStereo(writer), 1);
    // Audio written right after Open is still held back when the flush
    // comes, as when the window seeks right after starting playback.
    WriteAll(writer, NonZeroPcm(8820, 1));
    writer.Flush(1000);
    const auto after = NonZeroPcm(44100, 2);
    WriteAll(writer, after);
    ASSERT_TRUE(Drains(writer));
    EXPECT_NEAR(writer.GetPosition(), 2000, 30);
    writer.Close();
    EXPECT_EQ(Heard(device.File()), Samples(after));
  }
}

TEST(SdlOutput, VolumeScalesTheSamples) {
  DiskDevice device;
  CPluginWriter writer(kPlugin, nullptr);
  const auto pcm = NonZeroPcm(4410, 3);
  struct Case { int percent; int module; };
  for (const Case c : {Case{0, 0}, Case{50, 128}, Case{100, 255}}) {
    writer.SetVolume(c.percent);
    ASSERT_EQ(OpenStereo(writer), 1);
    WriteAll(writer, pcm);
    ASSERT_TRUE(Drains(writer));
    writer.Close();
    std::vector<int16_t> expected;
    for (int16_t s : Samples(pcm)) {
      const int p = s * c.module;
      const int scaled = (p >= 0 ? p + 127 : p - 127) / 255;
      if (scaled != 0) expected.push_back(static_cast<int16_t>(scaled));
    }
    EXPECT_EQ(Heard(device.File()), expected) << c.percent;
  }
}

TEST(SdlOutput, PauseHoldsTheAudioAndTheClock) {
  DiskDevice device;
  CPluginWriter writer(kPlugin, nullptr);
  ASSERT_EQ(OpenStereo(writer), 1);
  writer.Pause(1);
  const int room = writer.CanWrite();
  EXPECT_EQ(room, 88200);  // 500 ms of 16-bit stereo
  const auto pcm = NonZeroPcm(17640, 4);  // 400 ms
  WriteAll(writer, pcm);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(writer.GetPosition(), 0);
  EXPECT_EQ(writer.IsPlaying(), 1);
  EXPECT_EQ(writer.CanWrite(), room - static_cast<int>(pcm.size()));
  EXPECT_TRUE(Heard(device.File()).empty());
  writer.Pause(0);
  ASSERT_TRUE(Drains(writer));
  EXPECT_EQ(writer.GetPosition(), 400);
  writer.Close();
  EXPECT_EQ(Heard(device.File()), Samples(pcm));
}

TEST(SdlOutput, ClocksRestartAtTheFlushTime) {
  DiskDevice device;
  CPluginWriter writer(kPlugin, nullptr);  // loads, initialises SDL
  VuOutModule* module = Record();
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(module->Open(8000, 1, 16, -1, -1), 0);
  module->Pause(1);
  std::vector<uint8_t> second(16000, 1);
  ASSERT_EQ(module->Write(second.data(), 16000), 0);
  EXPECT_EQ(module->GetWrittenTime(), 1000);
  EXPECT_EQ(module->GetOutputTime(), 0);
  module->Flush(5000);
  EXPECT_EQ(module->GetWrittenTime(), 5000);
  EXPECT_EQ(module->GetOutputTime(), 5000);
  EXPECT_EQ(module->IsPlaying(), 0);
  // A write that ends inside a sample frame: the byte waits for its partner.
  ASSERT_EQ(module->Write(second.data(), 8001), 0);
  EXPECT_EQ(module->GetWrittenTime(), 5500);
  EXPECT_EQ(module->CanWrite(), 8000 - 8000 - 0);  // 500 ms room, all taken
  module->Close();
  EXPECT_EQ(module->Write(second.data(), 2), -1);  // closed
  EXPECT_EQ(module->Open(44100, 2, 24, -1, -1), -1);
  EXPECT_EQ(module->Open(0, 2, 16, -1, -1), -1);
}

TEST(SdlOutput, DummyDriverPlaysInRealTimeAndPauses) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  CPluginWriter writer(kPlugin, nullptr);
  unsetenv("SDL_AUDIODRIVER");
  ASSERT_EQ(OpenStereo(writer), 1);
  const auto start = std::chrono::steady_clock::now();
  WriteAll(writer, NonZeroPcm(22050, 5));  // 500 ms
  ASSERT_TRUE(WaitUntil([&] { return writer.GetPosition() > 100; }, 2s));
  writer.Pause(1);
  std::this_thread::sleep_for(60ms);
  const int held = writer.GetPosition();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(writer.GetPosition(), held);
  writer.Pause(0);
  ASSERT_TRUE(Drains(writer, 5s));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 650ms);  // 500 ms of sound + the pause
  EXPECT_EQ(writer.GetPosition(), 500);
  writer.Close();
}

TEST(SdlOutput, NoUsableDriverOrDeviceFailsOpenCleanly) {
  {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    CPluginWriter writer(kPlugin, nullptr);
    unsetenv("SDL_AUDIODRIVER");
    ASSERT_TRUE(writer.HasModule());
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(OpenStereo(writer), 0);
    EXPECT_EQ(writer.CanWrite(), 0);
    EXPECT_EQ(writer.IsPlaying(), 0);
    EXPECT_EQ(writer.Write("abcd", 4), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);

    FakeReader reader(CountingBytes(4000));
    ArwMessageQueue queue;
    CArwMan arw;
    arw.SetNotifyWindow(&queue);
    arw.SetReader(&reader);
    arw.SetWriter(&writer);
    arw.SetTexts({"x.mp3"});
    int code = 0;
    EXPECT_EQ(arw.Start(&code), 0);
    EXPECT_EQ(code, kArwErrorWriterOpen);
  }
  {
    // The disk driver cannot create its file: the device does not open.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/nonexistent-dir/padocut/device.raw", 1);
    CPluginWriter writer(kPlugin, nullptr);
    EXPECT_EQ(OpenStereo(writer), 0);
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
}

TEST(SdlOutput, PlaybackThroughTheWorkerFromTheSeekPoint) {
  // 2 s of PCM played as the window plays a selection: Start, then Seek.
  DiskDevice device;
  const auto pcm = NonZeroPcm(88200, 6);
  FakeReader reader(pcm);
  CPluginWriter writer(kPlugin, nullptr);
  writer.SetVolume(100);
  ArwMessageQueue queue;
  CArwMan arw;
  arw.SetNotifyWindow(&queue);
  arw.SetReader(&reader);
  arw.SetWriter(&writer);
  arw.SetTexts({"x.mp3"});
  ASSERT_EQ(arw.Start(), 1);
  arw.Seek(500);
  auto end = NextMessage(queue, 20s);
  ASSERT_TRUE(end);
  EXPECT_EQ(end->message, WM_ARWMAN_END);
  arw.Stop();
  EXPECT_EQ(Heard(device.File()), Samples(std::vector<uint8_t>(pcm.begin() + 500 * 176400 / 1000, pcm.end())));
}

TEST(SdlOutput, StopPauseAndSeekFromAnotherThread) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  FakeReader reader(NonZeroPcm(44100, 7));
  reader.endless = true;
  CPluginWriter writer(kPlugin, nullptr);
  unsetenv("SDL_AUDIODRIVER");
  ArwMessageQueue queue;
  CArwMan arw;
  arw.SetNotifyWindow(&queue);
  arw.SetReader(&reader);
  arw.SetWriter(&writer);
  arw.SetTexts({"x.mp3"});
  ASSERT_EQ(arw.Start(), 1);
  std::thread controller([&] {
    for (int i = 0; i < 15; ++i) {
      arw.Pause();
      arw.GetPosition();
      std::this_thread::sleep_for(5ms);
      arw.Seek(i * 50);
      arw.Resume();
      writer.SetVolume(i * 7);
      std::this_thread::sleep_for(10ms);
    }
    arw.Stop();
  });
  while (arw.IsRunning()) {
    arw.GetPosition();
    std::this_thread::sleep_for(1ms);
  }
  controller.join();
  EXPECT_FALSE(NextMessage(queue, 100ms));
  EXPECT_EQ(writer.IsPlaying(), 0);  // Stop closed the output
}
