// CPluginWriter: the writer used for playback. It loads an output plug-in
// (a shared library exporting VuGetOutModule) from the program's own
// directory (or, in an installed program, from its plug-in directory
// ../lib/padocut/ beside it), or from a directory the caller names, and
// turns each writer operation into a call through the plug-in's VuOutModule
// record.
//
// Position: the writer counts the milliseconds of audio it handed over since
// Open or the last Flush (each block rounded on its own); the plug-in's
// written time minus its output time is the audio still buffered, so
// written ms - GetWrittenTime + GetOutputTime is the time heard.
//
// A plug-in that cannot be loaded leaves a writer without a module whose
// Open fails: the worker reports that as its code 3.
#pragma once

#include <atomic>
#include <string>

#include "pipeline/AudioWriter.h"
#include "pipeline/OutModule.h"

// The file name of the program's output plug-in (plugins/vuout_sdl).
inline constexpr char kOutputPluginFile[] = "vuout_sdl.so";

class CPluginWriter : public CAudioWriter {
 public:
  // Loads `dllFileName` from the directory FindPluginFolder names
  // (ResourceFiles.h).
  CPluginWriter(std::string dllFileName, void* mainWindow);
  // Loads `dllFileName` from `directory` (with or without a trailing '/').
  CPluginWriter(std::string dllFileName, void* mainWindow, const std::string& directory);
  ~CPluginWriter() override;

  int Open(const char* text1, int* sampleRate, int* bitsPerSample, int* channels,
           const WriterInfoTexts& texts) override;
  void Close() override;
  int Write(const void* buffer, int length) override;
  int CanWrite() override;
  int IsPlaying() override;
  int CanSeek() override { return 1; }
  int GetPosition() override;
  int Pause(int flag) override;
  void Flush(int milliseconds) override;

  // Percent 0..100 (clamped) as module volume 0..255.
  void SetVolume(int percent);

  bool HasModule() const { return m_pModule != nullptr; }

 private:
  void LoadModule(const std::string& directory);
  void UnloadModule();

  void* m_hLibrary = nullptr;
  VuOutModule* m_pModule = nullptr;
  void* m_hMainWindow = nullptr;
  // Added to by the worker's Write, set by the controlling thread's Flush.
  std::atomic<int> m_nWrittenMs{0};
  std::string m_strDllFileName;
};
