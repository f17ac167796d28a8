// SdlOutput: the output behind vuout_sdl.so, on SDL2's audio queue.
//
// Open opens the default playback device for 8- or 16-bit PCM (little
// endian) and keeps it paused for a short start-up grace, so that a seek
// issued right after a run starts replaces the head of the stream before any
// of it is heard. The queue is bounded: CanWrite is the room left of
// kBufferMs of audio (rounded down to whole sample frames). Volume scales the
// samples as they are written; 255 passes them unchanged. Flush drops the
// queued audio and restarts both clocks at the given time; the output clock
// is the written clock minus the audio still queued, so it stands still while
// paused. IsPlaying stays non-zero until the queue is empty and the device's
// last buffer has had time to sound.
//
// No usable audio driver or device makes Open return -1. Every operation
// takes one lock, so any two threads may call in at once.
#pragma once

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

class SdlOutput {
 public:
  static constexpr int kBufferMs = 500;
  static constexpr int kStartGraceMs = 100;

  void Init();
  void Quit();
  // bufferMs / startGraceMs below 0 take the defaults above. 0 when open, -1 on failure.
  int Open(int sampleRate, int channels, int bitsPerSample, int bufferMs, int startGraceMs);
  void Close();
  int Write(const void* buffer, int length);
  int CanWrite();
  int IsPlaying();
  int Pause(int flag);
  void SetVolume(int volume);
  void Flush(int milliseconds);
  int GetOutputTime();
  int GetWrittenTime();

 private:
  using Clock = std::chrono::steady_clock;

  bool EnsureAudio();
  void CloseLocked();
  void StartIfDue();
  int64_t QueuedBytes() const;
  int MillisecondsOf(int64_t bytes) const;
  void ScaleVolume(uint8_t* data, int length) const;

  std::mutex m_lock;
  bool m_bAudioReady = false;  // the audio subsystem is initialised by us
  SDL_AudioDeviceID m_device = 0;
  int m_nBitsPerSample = 16;
  int m_nFrameBytes = 0;
  int64_t m_nBytesPerSecond = 0;
  int64_t m_nCapacityBytes = 0;
  int m_nDeviceBufferMs = 0;
  Clock::duration m_startGrace{};
  Clock::time_point m_openedAt;
  bool m_bStarted = false;   // the device has been unpaused once
  bool m_bPaused = false;    // paused by the caller
  bool m_bDrainSeen = false; // the queue was found empty after the last write
  Clock::time_point m_drainedAt;
  int m_nVolume = 255;
  int m_nBaseMs = 0;           // the time of the last Flush
  int64_t m_nWrittenBytes = 0; // bytes given since Open or Flush
  std::vector<uint8_t> m_partial;  // the start of a sample frame still to come
  std::vector<uint8_t> m_scratch;  // whole frames on their way to the queue
};
