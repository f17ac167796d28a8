// ChunkPlanner: cuts an MPEG audio stream into chunks at frame boundaries,
// so that each chunk can be decoded on its own and the chunks' PCM, joined
// in order, is what one decoder gives for the whole stream.
//
// A chunk's decoder starts some frames before the chunk (its settle frames)
// and their output is dropped. For Layer III they reach back over at least
// the bit reservoir's reach (511 bytes of main data for MPEG-1, 255 for
// MPEG-2/2.5) before the frame just ahead of the chunk, whose second half of
// the overlap and filterbank history the chunk's first frame takes; Layer
// I/II need two frames. The settle start then moves back until the frames
// the whole-stream decoder synthesises before it fill whole periods of the
// synthesis phase: libmpg123's portable synthesis sums its window in an
// order set by a 16-slot ring that advances every 32 samples, so its
// rounding repeats every 4 frames of 1152 samples and every 8 of 576 (its
// vector cores repeat sooner, within the same period).
//
// Boundaries sit where the index shows no garbage from 4 KiB before the
// settle start to the frame after the boundary: the settle frames decode
// from real frames, and the whole-stream decoder, which may have taken a
// false header inside the garbage for a frame, is back on the real frames
// well before them. The first chunk starts at the stream's first frame (a Xing/Info
// frame there yields nothing, as for the whole-stream decoder); the last
// one is fed to the end of the file, as the whole-stream decoder is.
//
// The frame index is extended only as far as the chunks planned so far
// need. Not thread-safe: the owner serialises Next with any other use of
// the index.
#pragma once

#include <cstdint>

class Mp3FrameIndex;
struct Mp3StreamInfo;

struct ChunkPlan {
  int64_t feedFrom = 0;      // first byte fed to the chunk's decoder: its settle frames
  int64_t keepFrom = 0;      // the output of frames that start before this is dropped
  int64_t feedTo = -1;       // first byte not fed; -1: to the end of the file (the last chunk)
  bool streamStart = false;  // feedFrom is the stream's first frame
  int64_t streamOrigin = 0;  // the stream's first byte, where the sequential reader's reads start
};

class ChunkPlanner {
 public:
  // `index` (not owned) is the stream's frame index, started on its first
  // frame; chunks hold about `framesPerChunk` frames.
  ChunkPlanner(Mp3FrameIndex& index, const Mp3StreamInfo& info, int framesPerChunk);

  // The next chunk; false once the last one was given.
  bool Next(ChunkPlan* plan);
  bool Done() const { return m_done; }

  // Frames the synthesis phase repeats after, for frames of `samplesPerFrame`.
  static int SynthesisPeriod(int samplesPerFrame);

 private:
  bool EnsureEntries(int count);
  bool IsGarbageStart(int entry) const;
  int CountGarbage(int from, int to) const;
  int MainDataBytes(int entry) const;
  int SettleStart(int first, int garbageBeforeFirst) const;
  int CleanBoundary(int candidate, int from, int garbageBeforeFrom, bool* last);

  Mp3FrameIndex& m_index;
  uint32_t m_header = 0;    // the stream's first header
  bool m_layer3 = false;
  int m_period = 1;
  int m_infoFrames = 0;     // 1 when the first frame is a Xing/Info frame the decoder skips
  int m_framesPerChunk = 1;
  double m_stepMs = 0;      // how far the index is extended at a time
  int m_next = 0;           // index entry where the next chunk starts
  int m_garbageBefore = 0;  // garbage entries before m_next
  bool m_done = false;
};
