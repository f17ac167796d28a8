// One analysis of a file the way the main window runs it, without a window:
// CArwMan drives the analysis reader (CParallelMp3Reader, or the sequential
// CMp3Reader) into CNullWriter on its worker thread, and the
// writer's PCM callback reduces every block into a SpectrumModel of the
// waveform view's size under a lock, until END arrives through an
// ArwMessageQueue.
#pragma once

#include <cstdint>
#include <string>

struct AnalysisResult {
  bool ended = false;      // END arrived (no ERROR)
  int durationMs = 0;
  int filledColumns = 0;   // columns of the model reduced
  int64_t pcmBytes = 0;    // bytes the callback received
};

// The waveform view's client size in the main window.
constexpr int kAnalysisViewWidth = 700;
constexpr int kAnalysisViewHeight = 300;

// `threads`: the analysis reader's thread count (0: its own choice); -1:
// the sequential reader.
AnalysisResult RunAnalysis(const std::string& path, int threads = 0);
