// vuout_sdl.so's entry point: one SdlOutput behind the VuOutModule record.
#include "pipeline/OutModule.h"
#include "plugins/vuout_sdl/SdlOutput.h"

namespace {

SdlOutput& Output() {
  static SdlOutput output;
  return output;
}

void Init() { Output().Init(); }
void Quit() { Output().Quit(); }
int Open(int sampleRate, int channels, int bitsPerSample, int bufferMs, int prebufferMs) {
  return Output().Open(sampleRate, channels, bitsPerSample, bufferMs, prebufferMs);
}
void Close() { Output().Close(); }
int Write(const void* buffer, int length) { return Output().Write(buffer, length); }
int CanWrite() { return Output().CanWrite(); }
int IsPlaying() { return Output().IsPlaying(); }
int Pause(int flag) { return Output().Pause(flag); }
void SetVolume(int volume) { Output().SetVolume(volume); }
void Flush(int milliseconds) { Output().Flush(milliseconds); }
int GetOutputTime() { return Output().GetOutputTime(); }
int GetWrittenTime() { return Output().GetWrittenTime(); }

VuOutModule g_module = {
    0, 0, 0,
    nullptr, nullptr,
    nullptr, nullptr,
    Init, Quit, Open, Close, Write, CanWrite, IsPlaying, Pause, SetVolume,
    nullptr,
    Flush, GetOutputTime, GetWrittenTime,
};

}  // namespace

extern "C" __attribute__((visibility("default"))) VuOutModule* VuGetOutModule(void) { return &g_module; }
