// CAudioWriter: the sink side of the audio pipeline, and CNullWriter, the
// writer that throws the audio away (used for analysis) but hands every block
// to a PCM callback and counts its position from the bytes it received.
//
// The format pointers of Open are in/out: the worker fills them with the
// reader's format and reads them back, so a writer may ask for another one.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

// Receives each block a writer is given: returns the bytes it accepted;
// 0 or less signals failure. Runs on the worker thread.
using PcmCallback = int (*)(void* user, const void* buffer, int length);

// The seven information texts a writer's Open receives after its first text.
using WriterInfoTexts = std::array<std::string, 7>;

class CAudioWriter {
 public:
  explicit CAudioWriter(std::string name) : m_strName(std::move(name)) {}
  virtual ~CAudioWriter() = default;
  CAudioWriter(const CAudioWriter&) = delete;
  CAudioWriter& operator=(const CAudioWriter&) = delete;

  virtual int Open(const char* text0, int* sampleRate, int* bitsPerSample, int* channels,
                   const WriterInfoTexts& texts) = 0;
  virtual void Close() = 0;
  // > 0 success, <= 0 failure.
  virtual int Write(const void* buffer, int length) = 0;
  // Bytes that can be written now; 0 when none yet.
  virtual int CanWrite() = 0;
  // Non-zero while output is still sounding.
  virtual int IsPlaying() { return 0; }
  // Non-zero when the writer can be flushed to a new time.
  virtual int CanSeek() { return 0; }
  // Milliseconds of audio output so far.
  virtual int GetPosition() = 0;
  virtual int Pause(int flag) = 0;
  // 1 when callbacks are supported (and stored), 0 when not.
  virtual int SetPcmCallback(PcmCallback /*callback*/, void* /*user*/) { return 0; }
  virtual void Flush(int /*milliseconds*/) {}

  const std::string& GetName() const { return m_strName; }
  int GetSampleRate() const { return m_nSampleRate; }
  int GetBitsPerSample() const { return m_nBitsPerSample; }
  int GetChannels() const { return m_nChannels; }
  const WriterInfoTexts& GetInfoTexts() const { return m_texts; }

 protected:
  std::string m_strName;
  int m_nSampleRate = -1;
  int m_nBitsPerSample = -1;
  int m_nChannels = -1;
  PcmCallback m_pfnPcmCallback = nullptr;
  void* m_pPcmCallbackUser = nullptr;
  WriterInfoTexts m_texts;
};

class CNullWriter : public CAudioWriter {
 public:
  CNullWriter() : CAudioWriter("NULL Writer") {}

  int Open(const char* text0, int* sampleRate, int* bitsPerSample, int* channels,
           const WriterInfoTexts& texts) override;
  void Close() override {}
  int Write(const void* buffer, int length) override;
  // The size of 2304 sample frames, so the worker's blocks fit in one piece.
  int CanWrite() override;
  int GetPosition() override;
  int Pause(int /*flag*/) override { return 1; }
  int SetPcmCallback(PcmCallback callback, void* user) override;

  int64_t GetBytesWritten() const { return m_nBytesWritten.load(std::memory_order_relaxed); }

 private:
  // Written by the worker, read by the user-interface thread.
  std::atomic<int64_t> m_nBytesWritten{0};
};
