// A scripted output module (fakeout_test.so) for the plug-in writer tests:
// it records every call and answers with what the test put into its state.
#pragma once

#include <atomic>

struct FakeOutState {
  std::atomic<int> inits{0}, quits{0}, opens{0}, closes{0}, writes{0}, flushes{0}, pauses{0};
  int openArgs[5] = {0, 0, 0, 0, 0};
  int openResult = 0;
  int writeResult = 0;
  int canWrite = 4096;
  int isPlaying = 0;
  int pauseResult = 7;
  int lastPause = -1;
  int volume = -1;
  int lastFlush = -1;
  int writtenTime = 0;
  int outputTime = 0;
  int lastWriteLength = 0;
  void* mainWindowAtInit = nullptr;
  void* instanceAtInit = nullptr;
};

extern "C" {
typedef FakeOutState* (*FakeOutGetStateFunc)(void);
}
