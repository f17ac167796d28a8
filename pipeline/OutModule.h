// VuOutModule: the record an output plug-in hands to the program through its
// exported entry point VuGetOutModule. The program loads the plug-in from its
// own directory, writes its main window and the library handle into the
// record, calls Init once, drives playback through the entries and calls
// Quit before unloading. Fields are native width (pointers and ints) in a
// fixed order; the reserved ones are not used by the program.
//
// The entries may be called from two threads at once (the worker writes
// while the user-interface thread pauses, flushes and asks for the time);
// the plug-in serialises them itself.
#pragma once

#include <cstdint>

extern "C" {

struct VuOutModule {
  intptr_t reserved0;
  intptr_t reserved1;
  intptr_t reserved2;
  void* hMainWindow;   // set by the program after loading
  void* hDllInstance;  // set by the program after loading: the library handle
  void (*reserved5)(void);
  void (*reserved6)(void);

  void (*Init)(void);  // once after loading
  void (*Quit)(void);  // once before unloading
  // Opens the output; >= 0 when open. The last two are -1: the plug-in's
  // own buffer and pre-buffer lengths.
  int (*Open)(int sampleRate, int channels, int bitsPerSample, int bufferMs, int prebufferMs);
  void (*Close)(void);
  // 0 when the bytes were accepted, anything else is a failure.
  int (*Write)(const void* buffer, int length);
  // Bytes that can be written now.
  int (*CanWrite)(void);
  // Non-zero while written audio is still sounding.
  int (*IsPlaying)(void);
  // 1 pauses, 0 resumes; returns the previous state.
  int (*Pause)(int flag);
  // 0 (silent) .. 255 (unchanged).
  void (*SetVolume)(int volume);
  void (*reserved15)(int);
  // Drops the buffered audio; both clocks restart at `milliseconds`.
  void (*Flush)(int milliseconds);
  // Milliseconds of audio heard so far.
  int (*GetOutputTime)(void);
  // Milliseconds of audio written so far; minus the output time it is the
  // audio still buffered.
  int (*GetWrittenTime)(void);
};

typedef VuOutModule* (*VuGetOutModuleFunc)(void);

}  // extern "C"

// The entry point's exported name.
inline constexpr const char* kVuGetOutModuleName = "VuGetOutModule";
