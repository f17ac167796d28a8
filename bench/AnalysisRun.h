// One analysis of a file the way the main window runs it, without a window:
// CArwMan drives CMp3Reader into CNullWriter on its worker thread, and the
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

AnalysisResult RunAnalysis(const std::string& path);
