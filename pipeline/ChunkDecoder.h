// ChunkDecoder: decodes one planned chunk of a file (see ChunkPlanner) with
// a decoder of its own: feeds the chunk's bytes, settle frames first, and
// gives the PCM of the frames from the chunk's start on, one frame at a
// time, as signed 16-bit little-endian interleaved samples.
//
// The decoder is fed in pieces that end where the sequential reader's reads
// of kFeedPiece bytes from the stream's start end: how libmpg123 gets past
// garbage depends on how much of it has arrived, so the same pieces make
// the same decisions. Bytes are read with pread in larger blocks, so
// decoders in several threads can share one descriptor. Not thread-safe
// itself: one thread per ChunkDecoder.
#pragma once

#include <cstdint>
#include <vector>

#include "mp3/Mpg123Decoder.h"
#include "pipeline/ChunkPlanner.h"

class ChunkDecoder {
 public:
  // CMp3Reader's read size.
  static constexpr int kFeedPiece = 1024;

  enum class Step {
    Frame,   // a frame's PCM was appended
    End,     // the chunk is done
    Failed,  // a read or the decoder failed
  };

  // Starts on `plan` of the file open as `fd`, for output at `sampleRate`
  // Hz with `channels` channels. False when the decoder cannot be made.
  bool Start(int fd, const ChunkPlan& plan, int sampleRate, int channels);
  // Decodes up to and including the next frame of the chunk and appends its
  // PCM to `out`.
  Step Next(std::vector<uint8_t>& out);

 private:
  enum class Fed { More, End, Failed };
  Fed FeedMore();
  bool ReadBlock();
  void AppendFrame(std::vector<uint8_t>& out) const;

  Mpg123Decoder m_decoder;
  ChunkPlan m_plan;
  int m_fd = -1;
  int64_t m_position = 0;  // next byte to feed
  bool m_atEnd = false;
  std::vector<uint8_t> m_block;  // bytes read ahead, from m_blockStart
  int64_t m_blockStart = 0;
  size_t m_blockLength = 0;
};
