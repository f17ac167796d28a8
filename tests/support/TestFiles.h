// Small helpers the tests share: a temporary folder removed at the end of a
// test, whole-file reads and writes, and cached real encodings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/SignalEncoder.h"

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_path; }
  // Path of `name` inside the folder.
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// `count` silent Layer II frames (MPEG-1, 128 kbit/s, 44.1 kHz: no
// global_gain to change).
std::vector<uint8_t> LayerTwoFrames(int count);

// Appends `bytes` to `out`.
void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes);

// The folder the build wrote to (executables, the plug-in, sample.mp3).
std::string BuildDir();
// The source tree (for scripts and resources the tests use).
std::string SourceDir();
