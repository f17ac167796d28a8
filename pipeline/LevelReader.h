// CLevelReader: passes another reader's PCM through with a cut's level
// options applied, so that a stretch can be heard as its cut with a gain
// and fades will sound (prelisten). Each block of 576 samples from the
// stretch's start takes the steps the cut gives a granule at that place
// (CutLevel), as a factor on the samples; samples beyond full scale
// saturate, as a decoder's output does.
//
// The stretch's timeline follows the inner reader's seeks: PCM after
// Seek(ms) is taken to start at ms. Everything else is forwarded. Read may
// run on the worker thread while Seek comes from the user-interface thread;
// both go through one lock. The inner reader's PCM is 16-bit little-endian
// interleaved, delivered in whole samples.
#pragma once

#include <cstdint>
#include <mutex>

#include "mp3/CutLevel.h"
#include "pipeline/AudioReader.h"

class CLevelReader : public CAudioReader {
 public:
  // `inner` is not owned.
  explicit CLevelReader(CAudioReader* inner);

  // The level options and the stretch [startMs, endMs) they apply to (a
  // negative start: the beginning; a negative end: the end of the file).
  // Set before the reader is opened.
  void SetLevel(const CutOptions& options, int startMs, int endMs);

  int Open(const char* path, int* sampleRate, int* bitsPerSample, int* channels) override;
  void Close() override { m_inner->Close(); }
  int GetDuration() override { return m_inner->GetDuration(); }
  int Read(void* buffer, int length) override;
  int Pause(int flag) override { return m_inner->Pause(flag); }
  int IsUnseekable() override { return m_inner->IsUnseekable(); }
  void Seek(int milliseconds) override;

 private:
  void Apply(uint8_t* bytes, int length);

  CAudioReader* m_inner;
  std::mutex m_lock;
  CutOptions m_options;
  int m_startMs = 0, m_endMs = -1;
  CutLevel m_level;
  int m_sampleRate = 0;
  int m_channels = 0;
  int64_t m_position = 0;  // the next sample's place, from the start of the file
};
