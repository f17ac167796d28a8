// PeakColumns: the waveform's columns, without a window. A stream of
// `durationMs` is shown in `columns` columns of SamplesPerColumn samples
// each (the samples of all channels counted together, interleaved), in
// stream order from the first sample; samples past the last column are not
// shown. The waveform view and the peaks computation share this rule, so a
// column covers the same samples in both.
//
// PeakColumns folds PCM into the smallest and largest sample of each
// column as it arrives, in pieces of any size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Samples of all channels per column: duration * rate * channels / columns,
// truncated (INT32_MAX at most); 0 for a column count below 1.
int SamplesPerColumn(int durationMs, int sampleRate, int channels, int columns);

class PeakColumns {
 public:
  struct Peak {
    int16_t min = 0;
    int16_t max = 0;
  };

  PeakColumns(int columns, int samplesPerColumn);
  // Folds signed 16-bit little-endian samples (an odd trailing byte waits
  // for the next piece).
  void Add(const uint8_t* bytes, size_t length);
  // The peaks so far: a column that got no sample is {0, 0}; the column
  // being filled holds the samples it got.
  const std::vector<Peak>& Peaks() const { return m_peaks; }
  // Columns that got all their samples.
  int FilledColumns() const { return m_filled; }

 private:
  std::vector<Peak> m_peaks;
  int m_samplesPerColumn;
  int m_filled = 0;
  int m_inColumn = 0;  // samples the current column got
  int m_oddByte = -1;  // a sample's first byte from the last piece
};
