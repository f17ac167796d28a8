// A small harness for the benchmarks: medians of repeated runs, ratios to a
// reference measured in the same run, peak memory of child processes, and
// one result line per benchmark with PASS/FAIL against its target.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Median wall-clock seconds of `runs` calls of `fn` (after one warm-up call
// when `warmup`).
double MedianSeconds(const std::function<void()>& fn, int runs, bool warmup = true);

// Medians of `runs` alternating calls of `a` and `b` (after one warm-up
// call of each unless `warmup` is false: runs of seconds need none); which
// of the two goes first alternates too, so a change in
// the machine's other load favours neither. Each call is timed twice: wall
// time, and CPU time of the whole process (all its threads). `between`, when
// given, runs after every call, untimed (to delete outputs, for instance).
struct PairedMedians {
  double a = 0;
  double b = 0;
  double ratio = 0;  // median of the per-pair ratios a/b
};
struct PairedTimes {
  PairedMedians wall;
  PairedMedians cpu;
};
PairedTimes MeasurePaired(const std::function<void()>& a, const std::function<void()>& b, int runs,
                          const std::function<void()>& between = nullptr, bool warmup = true);

struct ChildResult {
  int status = -1;
  double seconds = 0;
  double cpuSeconds = 0;  // user + system time of the child and its children
  long peakRssKb = 0;
};
// Runs argv[0] with its arguments, stdout sent to /dev/null; wall time and
// status. The peak resident set is measured through /usr/bin/time, whose
// own small process starts the command: a child spawned straight from a
// large benchmark process would inherit the parent's high-water mark.
ChildResult RunChild(const std::vector<std::string>& argv, bool measurePeak = false);

// Prints one result line and remembers whether it passed. The ratio judged
// is seconds / referenceSeconds unless `ratio` (>= 0) is given.
void Report(const std::string& name, double seconds, double referenceSeconds,
            const std::string& referenceName, double targetRatio, long peakRssKb = 0, double ratio = -1);
// The same line for a figure that is shown but not judged; with a
// `stretch` ratio (> 0) it says whether that wish was met.
void ReportInfo(const std::string& name, double seconds, double referenceSeconds,
                const std::string& referenceName, double ratio = -1, double stretch = 0);
void ReportValue(const std::string& name, const std::string& value, bool pass,
                 const std::string& target);
// A line that is neither judged nor a ratio.
void ReportNote(const std::string& name, const std::string& value);

// 0 when every reported benchmark passed, else 1.
int BenchExitStatus();

// Peak resident set of this process so far, in KiB.
long SelfPeakRssKb();
// Folder of this executable (ends without '/').
std::string ExecutableDir();
