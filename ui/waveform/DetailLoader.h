// DetailLoader: decodes stretches of the loaded file on a thread of its own
// for the waveform's deepest zoom, below the peak summary's resolution.
//
// It also finds where the file's frames start (RequestFrameTimes), as the
// cut maps times to frames (FrameTimes.h).
//
// A request names a stretch in milliseconds on the cut's axis; the loader
// maps it to sample frames of the decoded stream (ms * rate / 1000, outward,
// less the lead of FrameTimes.h), decodes the
// MPEG frames that hold them with a few settle frames before (ChunkDecoder,
// a decoder of its own) and folds the PCM into WaveDetail entries, whose
// cover is always the stretch asked for, even when decoding failed or the
// stream ended first (the owner then keeps the coarser picture). Only the
// newest request is served: one that was not started yet is replaced.
//
// Threads: SetSource, Request and Stop belong to the owner's thread. The
// answer comes on the loader's thread through the callback given to
// SetSource; Stop (and the destructor) waits for the thread, after which no
// answer comes.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/waveform/FrameTimes.h"
#include "ui/waveform/PeakSummary.h"

class CMp3Reader;

class DetailLoader {
 public:
  using Answer = std::function<void(WaveDetail)>;
  using FramesAnswer = std::function<void(FrameTimes)>;

  DetailLoader();
  DetailLoader(const DetailLoader&) = delete;
  DetailLoader& operator=(const DetailLoader&) = delete;
  ~DetailLoader();

  // The file later requests are for; `answer` receives their peaks,
  // `frames` the frame times.
  void SetSource(const std::string& path, Answer answer, FramesAnswer frames = nullptr);
  void Request(int startMs, int endMs);
  void RequestFrameTimes();
  // Ends the thread; the next request starts it again.
  void Stop();

 private:
  struct Job {
    std::string path;
    int generation = 0;  // SetSource calls so far: a newer file, or the same one again
    int startMs = 0;
    int endMs = 0;
  };
  void Run();
  // Starts the thread if it is not running; false when it cannot be.
  bool EnsureThread();
  WaveDetail Decode(const Job& job);
  FrameTimes FindFrameTimes(const Job& job);
  // The loader thread's open file, kept from one request to the next.
  bool OpenFile(const std::string& path, int generation);
  void CloseFile();

  std::mutex m_lock;
  std::condition_variable m_wake;
  std::thread m_thread;
  bool m_stop = false;
  bool m_pending = false;
  bool m_framesPending = false;
  Job m_job;
  std::string m_path;
  int m_generation = 0;
  Answer m_answer;
  FramesAnswer m_framesAnswer;

  // The loader thread's own.
  std::unique_ptr<CMp3Reader> m_reader;
  int m_openGeneration = -1;
  int m_fd = -1;
  int m_rate = 0;
  int m_channels = 0;
};
