// HipDecoder: one instance of LAME's MPEG audio decoder (the hip_* API).
//
// Each reader owns its own decoder, so opening a second reader never resets
// a decode in progress. LAME 3.100 nevertheless shares some static state
// between instances, so every hip_* call in the process goes through one
// mutex: two decoders may be used from two threads, one call at a time.
#pragma once

#include <lame/lame.h>

class HipDecoder {
 public:
  HipDecoder() = default;
  ~HipDecoder() { Exit(); }
  HipDecoder(const HipDecoder&) = delete;
  HipDecoder& operator=(const HipDecoder&) = delete;

  // Starts a fresh decoder (ending any previous one). False on failure.
  bool Init();
  // Ends the decoder; idempotent.
  void Exit();
  bool IsOpen() const { return m_hip != nullptr; }

  // Decodes at most one frame: -1 on error, 0 when more input is needed,
  // else samples per channel written to left/right (1152 at most). With
  // length 0 the decoder drains what it holds. Refreshes `info`.
  int Decode1Headers(unsigned char* input, size_t length, short* left, short* right,
                     mp3data_struct* info);

 private:
  hip_t m_hip = nullptr;
};
