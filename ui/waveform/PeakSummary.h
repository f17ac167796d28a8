// PeakSummary: the file's peaks kept from its analysis, fine enough for the
// zoomed waveform, so that zooming, scrolling and resizing never decode the
// whole file again.
//
// One entry holds the smallest and the largest 16-bit sample of
// kFramesPerEntry sample frames, all channels together (the waveform's
// column rule, PeakColumns): 4 bytes per 128 frames, about 5.4 MB for an
// hour at 48 kHz (kMaxBytesPerHour is the promise). Entries are sized from
// the announced duration with some room for a stream that runs longer;
// frames beyond that room are not kept. Only 16-bit PCM is summarised.
//
// Add runs on the analysis worker's thread under the caller's lock; the
// other calls read what it made and belong to the user-interface thread
// once the analysis has ended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "pipeline/PeakColumns.h"

// Peaks of equal runs of sample frames: entry i holds frames
// [firstFrame + i * framesPerEntry, firstFrame + (i + 1) * framesPerEntry).
struct PeakRun {
  const PeakColumns::Peak* peaks = nullptr;
  size_t count = 0;  // entries that hold samples
  double framesPerEntry = 0;
  int64_t firstFrame = 0;

  // The extremes of the entries that overlap [first, end) (an entry is
  // taken whole); false when none does.
  bool Fold(double first, double end, PeakColumns::Peak* peak) const;
};

// The peaks of a stretch decoded on demand, finer than the summary, for
// the deepest zoom levels.
// It covers the frames it was asked for, [coverFirst, coverEnd), even
// where the stream ended before them (those frames have no peaks).
struct WaveDetail {
  static constexpr int kFramesPerEntry = 8;
  int64_t coverFirst = 0;
  int64_t coverEnd = 0;
  int64_t firstFrame = 0;  // where entry 0 starts
  std::vector<PeakColumns::Peak> peaks;

  PeakRun Run() const { return {peaks.data(), peaks.size(), kFramesPerEntry, firstFrame}; }
  bool Covers(double first, double end) const {
    return coverEnd > coverFirst && first >= static_cast<double>(coverFirst) && end <= static_cast<double>(coverEnd);
  }
};

class PeakSummary {
 public:
  static constexpr int kFramesPerEntry = 128;
  static constexpr int64_t kMaxBytesPerHour = 8 * 1024 * 1024;

  // Starts an empty summary for a stream of `durationMs`; false (and no
  // summary) for a format it cannot hold.
  bool Begin(int durationMs, int sampleRate, int channels);
  void Clear();
  // Signed 16-bit little-endian interleaved PCM, in pieces of any size.
  void Add(const uint8_t* bytes, size_t length);

  bool IsEmpty() const { return !m_columns || m_frames == 0; }
  int SampleRate() const { return m_sampleRate; }
  // Sample frames summarised.
  int64_t Frames() const { return m_frames; }
  size_t Bytes() const;

  // The entries filled so far.
  PeakRun Run() const;

 private:
  std::unique_ptr<PeakColumns> m_columns;
  int m_sampleRate = 0;
  int m_channels = 0;
  int64_t m_capacityFrames = 0;
  int64_t m_frames = 0;
  int64_t m_pendingBytes = 0;  // bytes of a frame split between two pieces
};
