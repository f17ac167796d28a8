// Analysis benchmarks: a whole file through the analysis reader -> CArwMan
// -> CNullWriter -> SpectrumModel::AddPcm with 1, 2 and all threads, and
// `padocut-cli peaks`, against `mpg123 -q -t` on the same file (wall time,
// alternating pairs), and the peak memory of one analysis in a process of
// its own for a 2.5-hour and a 60-minute file.
#include <cstdio>
#include <functional>
#include <string>

#include "bench/AnalysisRun.h"
#include "bench/BareDecode.h"
#include "bench/BenchData.h"
#include "bench/BenchHarness.h"

namespace {

// Wall time of `run` against `mpg123 -q -t` on the same file, in pairs.
PairedTimes AgainstMpg123(const std::function<void()>& run, const std::string& path) {
  return MeasurePaired(run, [&] { RunChild({"/usr/bin/mpg123", "-q", "-t", path}); }, 3, nullptr, false);
}

}  // namespace

int main() {
  const std::string cbr60 = Cbr60Min();
  const std::string mono150 = Mono150Min();
  const std::string cli = ExecutableDir() + "/padocut-cli";

  // The window's analysis (reader -> worker manager -> waveform model) with
  // 1 thread, 2 threads and one per core.
  bool complete = true;
  double oneThread = 0;
  for (int threads : {1, 2, 0}) {
    const PairedTimes t = AgainstMpg123(
        [&] {
          const AnalysisResult r = RunAnalysis(cbr60, threads);
          complete = complete && r.ended && r.filledColumns == kAnalysisViewWidth;
        },
        cbr60);
    const std::string name = "analysis 60 min, " + (threads ? std::to_string(threads) + " thread(s)" : std::string("all cores"));
    if (threads == 1) {
      oneThread = t.wall.a;
      Report(name + " (wall)", t.wall.a, t.wall.b, "mpg123 -q -t", 1.1, 0, t.wall.ratio);
    } else if (threads == 0) {
      Report(name + " (wall)", t.wall.a, t.wall.b, "mpg123 -q -t", 0.6, 0, t.wall.ratio);
    } else {
      ReportInfo(name + " (wall)", t.wall.a, t.wall.b, "mpg123 -q -t", t.wall.ratio);
    }
    if (threads != 1) ReportInfo("  scaling against 1 thread", t.wall.a, oneThread, "1 thread", t.wall.a / oneThread);
  }
  ReportValue("analysis fills every column", complete ? "yes" : "no", complete, "all 700 columns, END");
  const PairedTimes sequential = AgainstMpg123([&] { RunAnalysis(cbr60, -1); }, cbr60);
  ReportInfo("analysis 60 min, sequential reader", sequential.wall.a, sequential.wall.b, "mpg123 -q -t",
             sequential.wall.ratio);

  const PairedTimes peaks = AgainstMpg123([&] { RunChild({cli, "peaks", cbr60}); }, cbr60);
  Report("padocut-cli peaks 60 min, all cores (wall)", peaks.wall.a, peaks.wall.b, "mpg123 -q -t", 0.6, 0,
         peaks.wall.ratio);

  const std::string child = ExecutableDir() + "/bench_analysis_child";
  const ChildResult longRun = RunChild({child, mono150}, true);
  const ChildResult hourRun = RunChild({child, cbr60}, true);
  char text[200];
  std::snprintf(text, sizeof text, "150 min mono %.1f MB, 60 min stereo %.1f MB", longRun.peakRssKb / 1024.0,
                hourRun.peakRssKb / 1024.0);
  const bool ran = longRun.status == 0 && hourRun.status == 0 && longRun.peakRssKb > 0;
  const bool small = longRun.peakRssKb < 40 * 1024 && hourRun.peakRssKb < 40 * 1024;
  ReportValue("analysis peak memory (all cores)", text, ran && small, "< 40 MB whatever the length");
  return BenchExitStatus();
}
