// CAudioReader: the source side of the audio pipeline. The worker manager
// opens a reader, pulls interleaved little-endian PCM from it with Read and
// forwards pause and seek requests from the user-interface thread.
// Results are integers: 1/0 for success, byte counts, -1 for failure.
#pragma once

#include <string>

class CAudioReader {
 public:
  explicit CAudioReader(std::string name) : m_strName(std::move(name)) {}
  virtual ~CAudioReader() = default;
  CAudioReader(const CAudioReader&) = delete;
  CAudioReader& operator=(const CAudioReader&) = delete;

  // Opens `path` (UTF-8). Each out-pointer is written only when non-null.
  // 1 on success, 0 on failure.
  virtual int Open(const char* path, int* sampleRate, int* bitsPerSample, int* channels) = 0;
  virtual void Close() = 0;
  // Milliseconds of audio, 0 without an open file.
  virtual int GetDuration() = 0;
  // Bytes delivered (at most `length`), 0 at the end, -1 on failure.
  virtual int Read(void* buffer, int length) = 0;
  virtual int Pause(int /*flag*/) { return 1; }
  // Non-zero when Seek is impossible.
  virtual int IsUnseekable() { return 1; }
  virtual void Seek(int /*milliseconds*/) {}

  const std::string& GetName() const { return m_strName; }

 private:
  std::string m_strName;
};
