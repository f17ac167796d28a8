#include "pipeline/PluginWriter.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "pipeline/ArwMan.h"
#include "platform/ResourceFiles.h"
#include "pipeline/Texts.h"
#include "tests/pipeline/FakeOutModule.h"
#include "tests/pipeline/PipelineFakes.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr const char* kFakeModule = "fakeout_test.so";

// The fake module's state, reset; the library stays loaded for the process.
FakeOutState& FreshState() {
  static void* library = dlopen((BuildDir() + "/" + kFakeModule).c_str(), RTLD_NOW);
  EXPECT_NE(library, nullptr) << dlerror();
  auto get = reinterpret_cast<FakeOutGetStateFunc>(dlsym(library, "FakeOutGetState"));
  FakeOutState* state = get();
  state->~FakeOutState();
  new (state) FakeOutState();
  return *state;
}

int g_window;  // any address stands for the main window

struct OpenWriter {
  OpenWriter() : state(FreshState()), writer(kFakeModule, &g_window, BuildDir()) {
    int rate = 44100, bits = 16, channels = 2;
    EXPECT_EQ(writer.Open("", &rate, &bits, &channels, {}), 1);
  }
  FakeOutState& state;
  CPluginWriter writer;
};

}  // namespace

TEST(PluginWriter, WithoutThePlugInOpenFailsAndTheWorkerPostsCodeThree) {
  TempDir empty;
  CPluginWriter writer(kOutputPluginFile, &g_window, empty.Path());
  EXPECT_FALSE(writer.HasModule());
  EXPECT_EQ(writer.GetName(), "Vu Plugin Writer");
  int rate = 44100, bits = 16, channels = 2;
  EXPECT_EQ(writer.Open("", &rate, &bits, &channels, {}), 0);
  EXPECT_EQ(writer.CanWrite(), -1);
  EXPECT_EQ(writer.Write("abcd", 4), -1);
  EXPECT_EQ(writer.IsPlaying(), 0);
  EXPECT_EQ(writer.GetPosition(), 0);
  EXPECT_EQ(writer.Pause(1), 0);
  writer.SetVolume(50);
  writer.Flush(100);
  writer.Close();

  FakeReader reader(CountingBytes(1000));
  ArwMessageQueue queue;
  CArwMan arw;
  arw.SetNotifyWindow(&queue);
  arw.SetReader(&reader);
  arw.SetWriter(&writer);
  arw.SetTexts({"x.mp3"});
  int code = 0;
  EXPECT_EQ(arw.Start(&code), 0);
  EXPECT_EQ(code, kArwErrorWriterOpen);
  auto error = NextMessage(queue, std::chrono::seconds(1));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->code, 3);
  EXPECT_STREQ(ArwErrorText(error->code, true), pipelinetext::kOutputModule);
}

TEST(PluginWriter, LoadsFromTheProgramDirectoryAndFillsInTheRecord) {
  FakeOutState& state = FreshState();
  const std::string dir = FindPluginFolder(kFakeModule);
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(std::filesystem::canonical(dir), std::filesystem::canonical(BuildDir()));
  {
    CPluginWriter writer(kFakeModule, &g_window);
    EXPECT_TRUE(writer.HasModule());
    EXPECT_EQ(state.inits.load(), 1);
    EXPECT_EQ(state.mainWindowAtInit, &g_window);
    EXPECT_NE(state.instanceAtInit, nullptr);
    EXPECT_EQ(state.quits.load(), 0);
  }
  EXPECT_EQ(state.quits.load(), 1);
}

TEST(PluginWriter, ANullRecordLeavesTheWriterWithoutModule) {
  FakeOutState& state = FreshState();
  setenv("PADOCUT_FAKEOUT_NULL", "1", 1);
  CPluginWriter writer(kFakeModule, &g_window, BuildDir());
  unsetenv("PADOCUT_FAKEOUT_NULL");
  EXPECT_FALSE(writer.HasModule());
  EXPECT_EQ(state.inits.load(), 0);
}

TEST(PluginWriter, OpenPassesTheFormatInTheModulesOrder) {
  FakeOutState& state = FreshState();
  CPluginWriter writer(kFakeModule, &g_window, BuildDir());
  int rate = 22050, bits = 16, channels = 1;
  WriterInfoTexts texts{"a", "b", "c", "d", "e", "f", "g"};
  ASSERT_EQ(writer.Open("ignored", &rate, &bits, &channels, texts), 1);
  EXPECT_EQ(state.openArgs[0], 22050);
  EXPECT_EQ(state.openArgs[1], 1);
  EXPECT_EQ(state.openArgs[2], 16);
  EXPECT_EQ(state.openArgs[3], -1);
  EXPECT_EQ(state.openArgs[4], -1);
  EXPECT_EQ(writer.GetSampleRate(), 22050);
  EXPECT_EQ(writer.GetInfoTexts()[6], "g");
  // The writer keeps the format it was given.
  EXPECT_EQ(rate, 22050);
  EXPECT_EQ(channels, 1);

  state.openResult = -1;
  EXPECT_EQ(writer.Open("", &rate, &bits, &channels, {}), 0);
  state.openResult = 0;
  const int opens = state.opens.load();
  int zero = 0;
  EXPECT_EQ(writer.Open("", &zero, &bits, &channels, {}), 0);
  EXPECT_EQ(writer.Open("", &rate, nullptr, &channels, {}), 0);
  EXPECT_EQ(state.opens.load(), opens);  // the module is not asked
}

TEST(PluginWriter, PositionIsWrittenMsLessTheModulesBufferedAudio) {
  OpenWriter w;
  std::vector<uint8_t> block(9216);
  EXPECT_EQ(w.writer.Write(block.data(), 9216), 1);  // MulDiv(9216, 1000, 176400) = 52 ms
  EXPECT_EQ(w.state.lastWriteLength, 9216);
  w.state.writtenTime = 52;
  w.state.outputTime = 30;
  EXPECT_EQ(w.writer.GetPosition(), 30);
  EXPECT_EQ(w.writer.Write(block.data(), 9216), 1);
  EXPECT_EQ(w.writer.GetPosition(), 82);  // 104 - 52 + 30

  // Flush: the writer's count restarts at the new time.
  w.state.writtenTime = 5000;
  w.state.outputTime = 4990;
  w.writer.Flush(5000);
  EXPECT_EQ(w.state.lastFlush, 5000);
  EXPECT_EQ(w.writer.GetPosition(), 4990);  // the module still reports 10 ms buffered

  w.writer.Close();
  EXPECT_EQ(w.state.closes.load(), 1);
  w.state.writtenTime = 0;
  w.state.outputTime = 0;
  EXPECT_EQ(w.writer.GetPosition(), 0);
}

TEST(PluginWriter, ARefusedModuleWriteFailsAtOnceButCounts) {
  OpenWriter w;
  w.state.writeResult = 1;
  std::vector<uint8_t> block(176400);
  EXPECT_EQ(w.writer.Write(block.data(), 176400), 0);
  EXPECT_EQ(w.state.writes.load(), 1);
  EXPECT_EQ(w.writer.GetPosition(), 1000);
}

TEST(PluginWriter, PassesTheRestThrough) {
  OpenWriter w;
  w.state.canWrite = 777;
  w.state.isPlaying = 1;
  EXPECT_EQ(w.writer.CanWrite(), 777);
  EXPECT_EQ(w.writer.IsPlaying(), 1);
  EXPECT_EQ(w.writer.CanSeek(), 1);
  EXPECT_EQ(w.writer.Pause(1), 7);
  EXPECT_EQ(w.state.lastPause, 1);
  EXPECT_EQ(w.writer.SetPcmCallback(nullptr, nullptr), 0);
}
