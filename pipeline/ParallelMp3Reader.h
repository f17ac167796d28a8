// CParallelMp3Reader: the reader for analysis. It decodes a file ahead on
// several threads and hands out the PCM in stream order, so the worker
// manager, the discarding writer and the waveform model run as they do with
// the sequential CMp3Reader.
//
// Open opens the file through a CMp3Reader (stream description, totals,
// duration, frame index) and picks the thread count: the one asked for, or
// one per core (at most kMaxThreads) for files of kShortestParallelMs or
// more and one below that. With one thread (also for Layer I, which the
// frame index does not walk) Read is that CMp3Reader's Read. With more, a
// ChunkPlanner cuts the stream at frame boundaries and each thread decodes
// a chunk at a time into a slot of its own (kExtraSlots more slots than
// threads; a thread waits while all are taken, so memory stays bounded
// whatever the file's length). Read hands the slots out in order. The last
// chunk, which runs to the end of the file, and any chunk whose PCM grows
// past twice its expected size (garbage decoding to many short frames) are
// decoded by Read itself, a frame at a time. The PCM equals the sequential
// reader's, frame for frame (see ChunkPlanner for why).
//
// Threads: Read and Close belong to one thread at a time (the worker
// manager's worker, or the owner while no worker runs); GetDuration may be
// called from any thread. Close stops and joins every decoding thread: a
// thread notices within one frame's decoding or one read of 16 KiB.
// The reader cannot seek: playback and the cut use the sequential reader.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "mp3/Mp3Reader.h"
#include "pipeline/AudioReader.h"
#include "pipeline/ChunkDecoder.h"
#include "pipeline/ChunkPlanner.h"

class CParallelMp3Reader : public CAudioReader {
 public:
  static constexpr int kMaxThreads = 8;
  static constexpr int kShortestParallelMs = 60 * 1000;
  static constexpr int kExtraSlots = 2;
  static constexpr int kChunkPcmBytes = 1 << 20;

  // `threads` 0: chosen per file as above; otherwise that many (at most
  // kMaxThreads) for every file.
  explicit CParallelMp3Reader(int threads = 0);
  ~CParallelMp3Reader() override;

  int Open(const char* path, int* sampleRate, int* bitsPerSample, int* channels) override;
  void Close() override;
  // The duration of what Read hands out, the same from Open on: what the
  // sequential reader reports once it has decoded its first frame (the
  // Xing/Info frame's count, see TakeInfoFrameCount), whatever the thread
  // count.
  int GetDuration() override { return m_durationMs.load(); }
  // Bytes copied (at most `length`), 0 at the end, -1 on a read or decoder
  // failure.
  int Read(void* buffer, int length) override;
  int IsUnseekable() override { return 1; }

  // Decoding threads for the open file (1: the sequential reader reads).
  int ThreadCount() const { return m_threadCount; }
  const Mp3StreamInfo& GetStreamInfo() const { return m_stream.GetStreamInfo(); }
  // The thread count chosen for a file of `durationMs` when none is asked.
  static int DefaultThreads(int durationMs);

 private:
  enum class SlotState { Free, Decoding, Ready, ReadByConsumer, Failed };
  struct Slot {
    ChunkPlan plan;
    std::vector<uint8_t> pcm;
    SlotState state = SlotState::Free;
  };

  bool StartThreads(const std::string& path, int threads);
  void StopThreads();
  void DecodingThread();
  SlotState DecodeChunk(ChunkDecoder& decoder, Slot& slot);
  int ReadParallel(uint8_t* out, int length);
  int ReadStreamed(uint8_t* out, int length);
  SlotState WaitForChunk();
  void ReleaseChunk();

  int m_requestedThreads = 0;
  int m_threadCount = 0;
  std::atomic<int> m_durationMs{0};
  CMp3Reader m_stream;
  int m_fd = -1;
  int m_sampleRate = 0;
  int m_channels = 0;
  size_t m_chunkLimit = 0;  // PCM bytes beyond which a chunk is left to Read

  // Shared with the decoding threads, under m_lock.
  std::mutex m_lock;
  std::condition_variable m_slotFreed;   // decoding threads wait for it
  std::condition_variable m_chunkDone;   // Read waits for it
  std::unique_ptr<ChunkPlanner> m_planner;
  std::vector<Slot> m_slots;
  int64_t m_planned = 0;     // chunks handed to threads (or to Read)
  int64_t m_consumed = 0;    // chunks Read has finished
  int64_t m_chunkCount = -1; // known once the last chunk is planned
  std::atomic<bool> m_stop{false};
  std::vector<std::thread> m_threads;

  // Read's own state.
  Slot* m_current = nullptr;
  size_t m_currentRead = 0;
  bool m_streaming = false;
  ChunkDecoder m_streamed;
  std::vector<uint8_t> m_streamPcm;
  size_t m_streamRead = 0;
};
