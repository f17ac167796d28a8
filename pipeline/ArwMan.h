// CArwMan: runs one reader into one writer on a worker thread.
//
// Start opens the reader and the writer on the caller's thread, then a
// worker reads PCM in reads of up to kReadBytes, cuts it into blocks of
// kBlockFrames sample frames (scaled by the rate ratio when the writer asked
// for another rate), adapts each block to the writer's format and hands it
// over as fast as the writer's CanWrite allows, polling every kPollInterval
// while the writer is full, while paused and while the output drains at the
// end of the stream.
//
// Outcome, posted to the notify receiver (never called synchronously):
// - END when the run ended by itself, after the writer stopped sounding;
// - ERROR 2 / 3 from Start when the reader / writer did not open (both are
//   closed again and Start returns 0);
// - ERROR 4 when a read fails (no END follows);
// - ERROR 5 when a write fails, followed by END;
// - nothing for a run ended by Stop.
//
// All public operations belong to one controlling thread. Pause, Resume,
// Seek and GetPosition reach into the reader and the writer while the worker
// uses them; readers and writers must accept that. A Seek is atomic with
// respect to the worker: a block read before it never reaches the writer
// after the writer was flushed to the new time.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "pipeline/ArwNotify.h"
#include "pipeline/AudioReader.h"
#include "pipeline/AudioWriter.h"
#include "pipeline/PcmFormatConverter.h"

// Text 0: the path for the reader's Open; text 1: the first text of the
// writer's Open; texts 2..8: the writer's seven information texts.
using ArwTexts = std::array<std::string, 9>;

class CArwMan {
 public:
  static constexpr int kReadBytes = 8192;
  static constexpr int kBlockFrames = 2304;
  static constexpr std::chrono::milliseconds kPollInterval{50};

  CArwMan() = default;
  ~CArwMan();
  CArwMan(const CArwMan&) = delete;
  CArwMan& operator=(const CArwMan&) = delete;

  // The receiver of END and ERROR; null posts nothing.
  void SetNotifyWindow(IArwNotify* notify) { m_pNotify.store(notify); }
  // 0 while a worker runs (nothing changes), else stores it and returns 1.
  int SetReader(CAudioReader* reader);
  int SetWriter(CAudioWriter* writer);
  // Stores all nine texts unless text 0 is empty.
  void SetTexts(const ArwTexts& texts);

  // Where the next Start begins: once both ends are open and before the
  // worker reads anything, the reader is moved there and the writer flushed
  // to it, as Seek does. A seek issued after Start races the worker's first
  // reads, and audio the reader decoded before it can still follow it; this
  // one cannot. -1 (the default) starts at the beginning. Each Start uses it
  // up.
  void SetStartTime(int milliseconds) { m_nStartTime = milliseconds; }
  // Stops any run, opens both ends and starts the worker: 1 on success. On
  // failure 0, with *errorCode 2 or 3 (posted as ERROR too), or 0 when the
  // thread could not be created (nothing posted).
  int Start(int* errorCode = nullptr);
  // Ends the run and waits for the worker; posts nothing for it.
  void Stop();
  void Pause();
  void Resume();
  int IsPaused() const { return m_bPaused.load() ? 1 : 0; }
  // 1 from Start until the worker has ended (by itself or by Stop).
  int IsRunning() const { return m_bThreadAlive.load() ? 1 : 0; }
  // Moves the reader to `milliseconds` (a negative time means 0) and flushes
  // the writer to it; nothing when the reader cannot seek or the writer
  // cannot be flushed.
  void Seek(int milliseconds);
  int GetPosition();
  int GetDuration();
  // The writer's format of the last Start (-1 before); null pointers skipped.
  void GetOutputFormat(int* sampleRate, int* bitsPerSample, int* channels) const;

 private:
  enum class BlockResult { kWritten, kStale, kFailed };

  void WorkerRoutine();
  BlockResult WriteBlock(const uint8_t* data, int length, unsigned seekCount);
  int FailStart(int code, int* errorCode);
  void CloseBoth();
  void Post(ArwMessage message, int code);
  bool ShouldRun() const { return m_bRun.load(); }

  PcmFormatConverter m_converter;
  int m_nBlockBytes = 0;
  int m_nStartTime = -1;
  PcmFormat m_readerFormat;
  PcmFormat m_writerFormat;
  ArwTexts m_texts;
  std::atomic<IArwNotify*> m_pNotify{nullptr};
  CAudioReader* m_pReader = nullptr;
  CAudioWriter* m_pWriter = nullptr;
  std::thread m_thread;
  std::atomic<bool> m_bThreadAlive{false};
  std::atomic<bool> m_bRun{true};
  std::atomic<bool> m_bStopRequested{false};
  std::atomic<bool> m_bPaused{false};
  // Orders the worker's reads and writes against Seek; m_nSeekCount tells
  // the worker that the block in hand was read before a seek.
  std::mutex m_csSeek;
  std::atomic<unsigned> m_nSeekCount{0};
};
