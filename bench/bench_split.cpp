// Split benchmarks: the 60-minute file split into 20 tracks against one
// whole-file cut of the same file (plain, and both with --exact), and the
// silence search on it against `mpg123 -q -t`, in alternating runs.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/BenchData.h"
#include "bench/BenchHarness.h"
#include "mp3/CutToFile.h"
#include "split/SilenceFinder.h"
#include "split/TrackSplitter.h"

namespace {

constexpr int kTracks = 20;

// Splits `source` into kTracks tracks of equal length in `folder`; the number written.
int SplitInto(const std::string& source, const std::string& folder, const CutOptions& options) {
  TrackSplitter splitter;
  SplitProblem problem;
  if (!splitter.Open(source, &problem)) return 0;
  SplitSettings settings;
  settings.options = options;
  std::vector<TrackJob> jobs;
  const SplitPlan plan = PlanEvery((splitter.DurationMs() + kTracks - 1) / kTracks, splitter.DurationMs());
  if (!splitter.Prepare(plan, SplitDisc(), settings, folder, &jobs, &problem)) return 0;
  return splitter.WriteAll(jobs, options).written;
}

}  // namespace

int main() {
  const std::string source = Cbr60Min();
  const std::string base = source.substr(0, source.rfind('/') + 1);
  const std::string folder = base + "bench-split-tracks", cutOut = base + "bench-split-whole.mp3";
  std::filesystem::create_directories(folder);
  const auto clean = [&] {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    unlink(cutOut.c_str());
  };

  for (const bool exact : {false, true}) {
    CutOptions options;
    options.exact = exact;
    int written = kTracks;
    const PairedTimes t = MeasurePaired([&] { written = std::min(written, SplitInto(source, folder, options)); },
                                        [&] { CutToFile(source, cutOut, 0, INT_MAX, nullptr, options); }, 9, clean);
    const std::string name = std::string("split 60 min into 20 tracks") + (exact ? ", --exact" : "");
    Report(name, t.wall.a, t.wall.b, exact ? "whole-file cut --exact" : "whole-file cut", 1.5, 0, t.wall.ratio);
    ReportValue(name + ": tracks", std::to_string(written), written == kTracks, "20 every run");
  }
  clean();
  std::filesystem::remove_all(folder);

  bool found = true;
  const PairedTimes silence = MeasurePaired(
      [&] { found = found && FindSilences(source, SilenceOptions{}).ok; },
      [&] { RunChild({"/usr/bin/mpg123", "-q", "-t", source}); }, 3, nullptr, false);
  Report("silence search 60 min, all cores (wall)", silence.wall.a, silence.wall.b, "mpg123 -q -t", 0.6, 0,
         silence.wall.ratio);
  ReportInfo("  CPU of the search against mpg123's wall", silence.cpu.a, silence.wall.b, "mpg123 -q -t (wall)");
  ReportValue("silence search result", found ? "every run decoded the file" : "a run failed", found, "ok");
  return BenchExitStatus();
}
