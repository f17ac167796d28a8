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
// call of each), in CPU seconds of the calling thread: alternating and
// counting CPU time keep other load on the machine from favouring either.
struct PairedMedians {
  double a;
  double b;
};
PairedMedians MedianCpuSecondsPaired(const std::function<void()>& a, const std::function<void()>& b,
                                     int runs);

struct ChildResult {
  int status = -1;
  double seconds = 0;
  long peakRssKb = 0;
};
// Runs argv[0] with its arguments, stdout sent to /dev/null; wall time and
// status. The peak resident set is measured through /usr/bin/time, whose
// own small process starts the command: a child spawned straight from a
// large benchmark process would inherit the parent's high-water mark.
ChildResult RunChild(const std::vector<std::string>& argv, bool measurePeak = false);

// Prints one result line and remembers whether it passed.
void Report(const std::string& name, double seconds, double referenceSeconds,
            const std::string& referenceName, double targetRatio, long peakRssKb = 0);
void ReportValue(const std::string& name, const std::string& value, bool pass,
                 const std::string& target);

// 0 when every reported benchmark passed, else 1.
int BenchExitStatus();

// Peak resident set of this process so far, in KiB.
long SelfPeakRssKb();
// Folder of this executable (ends without '/').
std::string ExecutableDir();
