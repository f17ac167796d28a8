#include "tests/pipeline/FakeOutModule.h"

#include <cstdlib>

#include "pipeline/OutModule.h"

namespace {

FakeOutState g_state;
VuOutModule g_module{};

void Init() {
  ++g_state.inits;
  g_state.mainWindowAtInit = g_module.hMainWindow;
  g_state.instanceAtInit = g_module.hDllInstance;
}
void Quit() { ++g_state.quits; }
int Open(int rate, int channels, int bits, int bufferMs, int prebufferMs) {
  ++g_state.opens;
  const int args[5] = {rate, channels, bits, bufferMs, prebufferMs};
  for (int i = 0; i < 5; ++i) g_state.openArgs[i] = args[i];
  return g_state.openResult;
}
void Close() { ++g_state.closes; }
int Write(const void*, int length) {
  ++g_state.writes;
  g_state.lastWriteLength = length;
  return g_state.writeResult;
}
int CanWrite() { return g_state.canWrite; }
int IsPlaying() { return g_state.isPlaying; }
int Pause(int flag) {
  ++g_state.pauses;
  g_state.lastPause = flag;
  return g_state.pauseResult;
}
void SetVolume(int volume) { g_state.volume = volume; }
void Flush(int ms) {
  ++g_state.flushes;
  g_state.lastFlush = ms;
}
int GetOutputTime() { return g_state.outputTime; }
int GetWrittenTime() { return g_state.writtenTime; }

}  // namespace

extern "C" __attribute__((visibility("default"))) VuOutModule* VuGetOutModule(void) {
  if (std::getenv("PADOCUT_FAKEOUT_NULL")) return nullptr;
  g_module.Init = Init;
  g_module.Quit = Quit;
  g_module.Open = Open;
  g_module.Close = Close;
  g_module.Write = Write;
  g_module.CanWrite = CanWrite;
  g_module.IsPlaying = IsPlaying;
  g_module.Pause = Pause;
  g_module.SetVolume = SetVolume;
  g_module.Flush = Flush;
  g_module.GetOutputTime = GetOutputTime;
  g_module.GetWrittenTime = GetWrittenTime;
  return &g_module;
}

extern "C" __attribute__((visibility("default"))) FakeOutState* FakeOutGetState(void) { return &g_state; }
