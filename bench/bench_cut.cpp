// Cut benchmark: CutToFile of the whole 100 MB file against `cp` of the same
// file into the same folder, in alternating runs; each output is deleted
// before the next run.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "bench/BenchData.h"
#include "bench/BenchHarness.h"
#include "mp3/CutToFile.h"

int main() {
  const std::string source = Cbr100MB();
  const std::string folder = source.substr(0, source.rfind('/') + 1);
  const std::string cutOut = folder + "bench-cut-output.mp3";
  const std::string cpOut = folder + "bench-cp-output.mp3";

  bool ok = true;
  int64_t copied = 0;
  const PairedTimes t = MeasurePaired(
      [&] {
        CutReport report;
        ok = ok && CutToFile(source, cutOut, 0, INT_MAX, &report) == 1;
        copied = report.bytesCopied;
      },
      [&] { ok = ok && RunChild({"/bin/cp", source, cpOut}).status == 0; }, 9,
      [&] {
        unlink(cutOut.c_str());
        unlink(cpOut.c_str());
      });
  Report("whole-file cut, 100 MB", t.wall.a, t.wall.b, "cp FILE COPY", 1.2, 0, t.wall.ratio);
  char text[120];
  std::snprintf(text, sizeof text, "%s, %.1f MB of audio copied", ok ? "every run succeeded" : "a run failed",
                copied / 1e6);
  ReportValue("whole-file cut result", text, ok && copied > 100000000, "every cut and cp succeeds");
  return BenchExitStatus();
}
