// Analysis benchmarks: a whole file through CMp3Reader -> CArwMan ->
// CNullWriter -> SpectrumModel::AddPcm against a bare decoder loop over the
// same bytes (wall time, alternating pairs; the process's CPU time shown
// beside it), and the peak memory of one analysis in a process of its own
// for a 2.5-hour and a 60-minute file.
#include <cstdio>
#include <string>

#include "bench/AnalysisRun.h"
#include "bench/BareDecode.h"
#include "bench/BenchData.h"
#include "bench/BenchHarness.h"

namespace {

volatile int64_t g_sink;

}  // namespace

int main() {
  const std::string cbr60 = Cbr60Min();
  const std::string mono150 = Mono150Min();

  bool complete = true;
  const PairedTimes t = MeasurePaired(
      [&] {
        const AnalysisResult r = RunAnalysis(cbr60);
        complete = complete && r.ended && r.filledColumns == kAnalysisViewWidth;
      },
      [&] { g_sink = DecodeBare(cbr60); }, 5, nullptr, false);
  Report("analysis 60 min (wall)", t.wall.a, t.wall.b, "bare libmpg123 loop", 1.05, 0, t.wall.ratio);
  ReportInfo("  the same in CPU time (all threads)", t.cpu.a, t.cpu.b, "bare libmpg123 loop", t.cpu.ratio);
  ReportValue("analysis fills every column", complete ? "yes" : "no", complete, "all 700 columns, END");

  const std::string child = ExecutableDir() + "/bench_analysis_child";
  const ChildResult longRun = RunChild({child, mono150}, true);
  const ChildResult hourRun = RunChild({child, cbr60}, true);
  char text[200];
  std::snprintf(text, sizeof text, "150 min mono %.1f MB, 60 min stereo %.1f MB", longRun.peakRssKb / 1024.0,
                hourRun.peakRssKb / 1024.0);
  const bool ran = longRun.status == 0 && hourRun.status == 0 && longRun.peakRssKb > 0;
  const bool small = longRun.peakRssKb < 40 * 1024 && hourRun.peakRssKb < 40 * 1024;
  // Flat: 2.5 times the audio may not cost more than 1 MB more.
  const bool flat = longRun.peakRssKb <= hourRun.peakRssKb + 1024;
  ReportValue("analysis peak memory", text, ran && small && flat, "< 40 MB, flat in length");
  return BenchExitStatus();
}
