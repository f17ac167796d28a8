// The peaks of a file: the analysis the window runs, without a window. The
// file is decoded by the analysis reader (CParallelMp3Reader, on `threads`
// threads; 0 chooses as the window does) and folded into the waveform's
// columns (PeakColumns): the smallest and largest 16-bit sample of each
// column, all channels together. People who draw waveforms for web players
// want exactly this; `padocut-cli peaks` prints it as JSON.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "pipeline/PeakColumns.h"

struct PeaksOptions {
  int columns = 700;  // the waveform view's width
  int threads = 0;
};

struct PeaksResult {
  bool ok = false;
  std::string error;  // why not, when !ok
  int sampleRate = 0;
  int channels = 0;
  int durationMs = 0;
  int columns = 0;
  int samplesPerColumn = 0;
  std::vector<PeakColumns::Peak> peaks;  // one per column
};

// Fails on a file that does not open as MPEG audio, a column count below 1,
// a decoding failure, or `cancel` becoming true.
PeaksResult ComputePeaks(const std::string& path, const PeaksOptions& options,
                         const std::atomic<bool>* cancel = nullptr);
