// CMp3Reader: opens an MP3 file, finds its first audio frame and format and
// the audio area (before trailing ID3v2-with-footer, ID3v1 and APE tags),
// works out the stream totals, decodes frames to 16-bit PCM through its own
// libmpg123 decoder and maps times to frame offsets through a lazily built frame index
// that never reaches past the audio area. How the first frame, the index's
// frames and the decoder's resync points are found: see FrameHeader.h.
//
// Open counts the frames (the index scans to the end, about one sequential
// read of the file) when the VBR header does not give totals that fit the
// audio area, or there is none: see Mp3StreamInfo. Counted totals take
// every frame (Xing/Info frames of joined files too), so the duration is
// the index's end time and a time maps to the frame a cut takes for it. The
// same unchanged file opened again takes the last count.
//
// PCM from Read is signed 16-bit little-endian, interleaved left/right for
// two channels, at the stream's sample rate. One Read decodes at most one
// frame's output, however much was asked for; callers loop.
//
// Threads: Read and Seek hold the reader's lock for their whole duration, so
// a worker's reads and the user-interface thread's seeks never interleave.
// GetDuration and Close take the lock too (the worker closes the reader at
// the end of its run while the user-interface thread may ask for the
// duration). Open and TimeToOffset take none: the owner calls them only
// while no worker is running this reader.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "mp3/ByteRing.h"
#include "mp3/FileWindow.h"
#include "mp3/Mp3FrameIndex.h"
#include "mp3/Mpg123Decoder.h"
#include "mp3/Mp3StreamInfo.h"
#include "pipeline/AudioReader.h"

class CMp3Reader : public CAudioReader {
 public:
  CMp3Reader();
  ~CMp3Reader() override;

  // 1 on success, 0 on failure (missing file, not a regular file, no pair
  // of consistent frame headers, a short read in the scan...). A read-only
  // file opens. Bits per sample is always 16.
  int Open(const char* path, int* sampleRate, int* bitsPerSample, int* channels) override;
  void Close() override;
  // MulDiv(total samples, 1000, sample rate); 0 without a file or samples.
  int GetDuration() override;
  // Bytes copied, 0 at the end of the stream, -1 on a decoding failure.
  int Read(void* buffer, int length) override;
  int IsUnseekable() override { return 0; }
  // Moves decoding to the frame holding `milliseconds` (the start of the
  // audio for a negative time). The decoder is not reset and staged PCM is
  // not dropped: up to one frame from before the seek still comes first.
  void Seek(int milliseconds) override;

  Mp3FrameIndex* GetFrameIndex() { return m_file ? &m_index : nullptr; }
  // Convenience over the frame index: -1 without one.
  int64_t TimeToOffset(double milliseconds);
  const Mp3StreamInfo& GetStreamInfo() const { return m_info; }
  bool IsOpen() const { return m_file != nullptr; }

 private:
  bool FindFirstFrame();
  bool FindTrailingTags(int64_t fileSize);
  bool SkipApeTag(FileWindow& window);
  void CountFrames();

  // A frame count and the file it was made for.
  struct FrameCount {
    bool known = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modified = 0;  // ns
    int64_t audioStart = 0;
    int64_t audioEnd = 0;
    int64_t frames = 0;
    double ms = 0;
    int64_t bytes = 0;
    bool SameFileAs(const FrameCount& other) const;
  };
  void ResyncToStream(int64_t offset);
  int DecodeOnce();
  void AppendSamples();

  FILE* m_file = nullptr;
  ByteRing m_ring{4096};
  Mp3FrameIndex m_index;
  Mp3StreamInfo m_info;
  // Kept across Close and Open.
  FrameCount m_lastCount;
  std::mutex m_lock;
  Mpg123Decoder m_decoder;
};
