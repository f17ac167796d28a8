// One analysis of FILE in a process of its own, so that its peak resident
// memory can be measured: exit status 0 when END arrived and every column
// of the waveform was reduced.
#include <cstdio>

#include "bench/AnalysisRun.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_analysis_child FILE\n");
    return 2;
  }
  const AnalysisResult r = RunAnalysis(argv[1]);
  std::printf("duration %d ms, %d columns, %lld PCM bytes\n", r.durationMs, r.filledColumns,
              static_cast<long long>(r.pcmBytes));
  return r.ended && r.filledColumns == kAnalysisViewWidth ? 0 : 1;
}
