// Mpg123Decoder: one libmpg123 decoder handle, fed the stream's bytes by
// its owner and decoding one frame per call.
//
// Each handle is independent of every other (libmpg123 keeps no shared
// mutable state), so decoders in different threads need no lock. Output is
// signed 16-bit, interleaved, at the rate and channel count given to Init:
// frames of another channel count are mixed or doubled to it, frames of
// another rate yield nothing (they are decoded and dropped). The decoder returns what each frame decodes
// to, without trimming encoder delay or padding (gapless handling off) and
// without resampling: a Xing/Info frame at the start of the stream yields
// nothing, every other frame its full length, from silence when its bit
// reservoir lies before the first byte fed.
//
// Damaged input is ordinary input: the decoder looks for the next frame
// header however far away it is (the search is linear in the bytes fed),
// and a frame it cannot decode is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct Mp3StreamInfo;
struct mpg123_handle_struct;

class Mpg123Decoder {
 public:
  enum class Result {
    Frame,     // a frame was decoded: Samples()/SampleCount() hold its output
    NeedMore,  // the bytes fed so far hold no further whole frame
    Failed,    // the decoder could not be set up or run out of memory
  };

  Mpg123Decoder() = default;
  ~Mpg123Decoder();
  Mpg123Decoder(const Mpg123Decoder&) = delete;
  Mpg123Decoder& operator=(const Mpg123Decoder&) = delete;

  // Starts a fresh decode (nothing of a previous one is kept) for output at
  // `sampleRate` Hz with `channels` (1 or 2) channels. `skipInfoFrame`
  // false decodes a Xing/Info frame at the start like any other frame (for
  // a decode that starts in the middle of a stream). False on failure.
  bool Init(int sampleRate, int channels, bool skipInfoFrame = true);
  // Frees the handle; idempotent.
  void Exit();
  bool IsOpen() const { return m_handle != nullptr; }

  // Hands bytes of the stream to the decoder (copied). False on failure.
  bool Feed(const uint8_t* data, size_t size);
  // Decodes the next frame from the bytes fed.
  Result DecodeFrame();

  // Output of the last decoded frame: interleaved samples in machine byte
  // order, SampleCount() per channel. Valid until the next call.
  const int16_t* Samples() const { return m_samples; }
  int SampleCount() const { return m_sampleCount; }
  int Channels() const { return m_channels; }
  // Where the last decoded frame starts, in bytes from the first byte fed
  // since Init; -1 before the first frame.
  int64_t FramePosition() const;

  // The synthesis code ("core") of the decoders made from now on, by
  // libmpg123's name (generic, x86-64, AVX...); empty: the fastest this
  // processor runs, libmpg123's own choice. The cores may round a sample
  // differently; tests use this to check what holds for every core.
  static void UseCore(const std::string& name);

  // Refreshes the stream description's decoder fields from the last
  // decoded frame: header_parsed, stereo (the frame's channels), samplerate,
  // bitrate (kbit/s), mode, mode_ext and framesize (samples per frame); and
  // the Xing/Info frame's count (TakeInfoFrameCount).
  void RefreshStreamFields(Mp3StreamInfo& info) const;

 private:
  mpg123_handle_struct* m_handle = nullptr;
  const int16_t* m_samples = nullptr;
  int m_sampleCount = 0;
  int m_channels = 0;
  long m_sampleRate = 0;
  long m_frameRate = 0;  // rate of the frames being decoded
};
