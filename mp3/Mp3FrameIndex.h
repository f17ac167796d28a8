// Mp3FrameIndex: the lazily built table from time to frame offset.
//
// Entry 0 is (first frame, 0 ms); every later entry is (offset just after an
// indexed frame, time at that point), so entry k is where the k-th indexed
// frame starts and the last entry is the end of the indexed audio with its
// total time. Where garbage had to be skipped before a frame, one extra entry
// (the frame found after the garbage, time so far) is inserted, so two
// neighbouring entries may carry the same time; the index remembers which
// entries mark garbage, so frames can also be looked up by number. What
// counts as a frame: see FrameHeader.h.
//
// Frames are indexed only when a time beyond the indexed part is asked for,
// by reading each 4-byte header and stepping over the body (no decoding).
// Only frames that lie wholly inside the audio area are indexed: a sync
// pattern in a trailing tag is never taken for a frame. The entry array is
// sized up front from the frame estimate (n + n/32) and then grows by half
// its size each time it is full, so a lying estimate (a header claiming 2
// frames, the first of several joined files) costs a few reallocations, not
// one per fixed step. Layer I frames are never indexed.
//
// Reads go through their own positional window (pread in 128 KiB blocks), so
// the stream position the decoder reads from is never disturbed. A frame's
// length and duration depend only on a few header bits; they are worked out
// once per kind of frame and remembered, so a scan costs little more than
// the block reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "mp3/FileWindow.h"

class Mp3FrameIndex {
 public:
  struct Entry {
    int64_t offset;
    double timeMs;
  };

  Mp3FrameIndex();

  // Starts the index on `fd` at the first frame found from `start`; `n` is
  // the frame estimate (-1: audio area / first frame's length) and `end`
  // the first byte after the audio area (-1, or beyond the file: the file's
  // size at this call). The index stays empty when no frame can be
  // synchronised.
  void Init(int fd, int64_t start, int64_t n, int64_t end = -1);
  // Frees the entries and forgets the file.
  void Reset();

  // Offset of the first byte of the frame containing `ms`, extending the
  // index as far as needed; the end of the indexed audio for a time at or
  // beyond it; -1 for a negative time, no file or an empty index.
  int64_t TimeToOffset(double ms);

  bool HasFile() const { return m_fd >= 0; }
  int Count() const { return static_cast<int>(m_entries.size()); }
  const Entry& At(int i) const { return m_entries[static_cast<size_t>(i)]; }
  size_t Capacity() const { return m_entries.capacity(); }
  double LastTime() const { return m_lastTime; }
  int64_t ScanPosition() const { return m_scanPos; }
  // Frames indexed so far (the entries less the first and the extra
  // entries after garbage).
  int64_t FrameCount() const { return m_frames; }
  // Indexes every remaining frame: the frame count of the whole stream.
  // After it, extending reads and changes nothing, so threads may share the
  // index for FrameAt, FramesBefore and ExtendPast.
  void ExtendToEnd();
  // The time at `offset`, a frame's start or the end of the audio: that of
  // the first entry at or after it, indexing every frame when it lies past
  // the indexed part.
  double TimeAtOffset(int64_t offset);

  // The indexed frames one by one, numbered from 0 in file order: what a
  // cut copies, for the cut options to walk. A frame's length is the
  // distance to the next entry.
  struct Frame {
    int64_t offset;
    int length;
  };
  // Frame k, 0 <= k < FrameCount().
  Frame FrameAt(int64_t k) const;
  // Indexed frames that start before `offset`.
  int64_t FramesBefore(int64_t offset) const;
  // Indexes every frame that starts before `offset` and `count` more (fewer
  // at the end of the audio), and no further than that.
  void ExtendPast(int64_t offset, int64_t count);

 private:
  enum class Attempt { Frame, End, Garbage };
  // How far an extension goes: until the indexed audio lasts `timeMs`, ends
  // at or after `offset` and holds `frames` frames.
  struct Goal {
    double timeMs = 0;
    int64_t offset = 0;
    int64_t frames = 0;
    bool ReachedBy(double time, int64_t end, int64_t count) const {
      return time >= timeMs && end >= offset && count >= frames;
    }
  };
  // What a header says about its frame, for the header bits that decide it.
  struct FrameShape {
    // The header's deciding bits. An unused slot has bits set that no key
    // has, so no header, not even one of zero bytes, matches it.
    uint32_t key = ~0u;
    int length = 0;
    double durationMs = 0;
  };
  const FrameShape* ShapeOf(uint32_t header);
  Attempt TryFrame(int64_t& pos, uint32_t& header);
  bool SyncFrame(int64_t& pos, uint32_t& header, bool keepGarbageEntry);
  bool ExtendByOneFrame();
  void ExtendTo(const Goal& goal);
  int IndexRun(const uint8_t* bytes, int available, const Goal& goal);
  bool Append(int64_t offset, double timeMs);
  void AppendAfterGarbage(int64_t offset);

  int m_fd = -1;
  FileWindow m_window;
  std::vector<Entry> m_entries;
  // First byte after the audio area; no indexed frame reaches past it.
  int64_t m_end = 0;
  int64_t m_frames = 0;
  // The entries that mark where skipped garbage began (the end of the frame
  // before it), in order: every other entry but the last starts a frame.
  std::vector<int64_t> m_gapEntries;
  double m_lastTime = 0;
  int64_t m_scanPos = 0;
  // The scan found no further frame: extending reads nothing any more.
  bool m_scanEnded = false;
  // By bitrate index and padding bit. A pure function of the header, so it
  // outlives Reset.
  std::array<FrameShape, 32> m_shapes{};
};
