#include "bench/BenchHarness.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>

extern char** environ;

namespace {
bool g_failed = false;

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

double MedianSeconds(const std::function<void()>& fn, int runs, bool warmup) {
  if (warmup) fn();
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const double start = Now();
    fn();
    t.push_back(Now() - start);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

namespace {
double ProcessCpu() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
PairedMedians MediansOf(const std::vector<double>& ta, const std::vector<double>& tb) {
  std::vector<double> ratios;
  for (size_t i = 0; i < ta.size(); ++i) ratios.push_back(tb[i] > 0 ? ta[i] / tb[i] : 0);
  return {Median(ta), Median(tb), Median(ratios)};
}
}  // namespace

PairedTimes MeasurePaired(const std::function<void()>& a, const std::function<void()>& b, int runs,
                          const std::function<void()>& between, bool warmup) {
  const auto once = [&](const std::function<void()>& fn, double* wall, double* cpu) {
    const double startWall = Now();
    const double startCpu = ProcessCpu();
    fn();
    *cpu = ProcessCpu() - startCpu;
    *wall = Now() - startWall;
    if (between) between();
  };
  double wall, cpu;
  if (warmup) {
    once(a, &wall, &cpu);
    once(b, &wall, &cpu);
  }
  std::vector<double> wa(runs), wb(runs), ca(runs), cb(runs);
  for (int i = 0; i < runs; ++i) {
    if (i % 2 == 0) {
      once(a, &wa[i], &ca[i]);
      once(b, &wb[i], &cb[i]);
    } else {
      once(b, &wb[i], &cb[i]);
      once(a, &wa[i], &ca[i]);
    }
  }
  return {MediansOf(wa, wb), MediansOf(ca, cb)};
}

ChildResult RunChild(const std::vector<std::string>& command, bool measurePeak) {
  ChildResult r;
  std::vector<std::string> argv = command;
  char peakFile[] = "/tmp/padocut-bench-peak-XXXXXX";
  if (measurePeak) {
    const int fd = mkstemp(peakFile);
    if (fd >= 0) close(fd);
    argv.insert(argv.begin(), {"/usr/bin/time", "-f", "%M", "-o", peakFile});
  }
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const double start = Now();
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return r;
  }
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  struct rusage before {}, after {};
  getrusage(RUSAGE_CHILDREN, &before);
  waitpid(pid, &status, 0);
  r.seconds = Now() - start;
  getrusage(RUSAGE_CHILDREN, &after);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
  r.cpuSeconds = seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (measurePeak) {
    if (FILE* f = std::fopen(peakFile, "r")) {
      if (std::fscanf(f, "%ld", &r.peakRssKb) != 1) r.peakRssKb = 0;
      std::fclose(f);
    }
    unlink(peakFile);
  }
  return r;
}

namespace {
void PrintLine(const std::string& name, double seconds, double referenceSeconds, const std::string& referenceName,
               double ratio, const char* target, double targetRatio, long peakRssKb, const char* verdict) {
  std::printf("%-38s median %9.3f ms  %-22s %9.3f ms  ratio %6.3f  ", name.c_str(), seconds * 1e3,
              referenceName.c_str(), referenceSeconds * 1e3, ratio);
  if (targetRatio > 0) {
    std::printf("(%-7s <= %.2f)  ", target, targetRatio);
  } else {
    std::printf("%20s", "");
  }
  if (peakRssKb > 0) std::printf("peak %6.1f MB  ", peakRssKb / 1024.0);
  std::printf("%s\n", verdict);
  std::fflush(stdout);
}
}  // namespace

void Report(const std::string& name, double seconds, double referenceSeconds,
            const std::string& referenceName, double targetRatio, long peakRssKb, double ratio) {
  if (ratio < 0) ratio = referenceSeconds > 0 ? seconds / referenceSeconds : 0;
  const bool pass = referenceSeconds > 0 && ratio <= targetRatio;
  g_failed = g_failed || !pass;
  PrintLine(name, seconds, referenceSeconds, referenceName, ratio, "target", targetRatio, peakRssKb,
            pass ? "PASS" : "FAIL");
}

void ReportInfo(const std::string& name, double seconds, double referenceSeconds,
                const std::string& referenceName, double ratio, double stretch) {
  if (ratio < 0) ratio = referenceSeconds > 0 ? seconds / referenceSeconds : 0;
  const char* verdict = stretch <= 0 ? "info" : ratio <= stretch ? "stretch met" : "stretch not met";
  PrintLine(name, seconds, referenceSeconds, referenceName, ratio, "stretch", stretch, 0, verdict);
}

void ReportValue(const std::string& name, const std::string& value, bool pass,
                 const std::string& target) {
  g_failed = g_failed || !pass;
  std::printf("%-38s %-62s (target %s)  %s\n", name.c_str(), value.c_str(), target.c_str(),
              pass ? "PASS" : "FAIL");
  std::fflush(stdout);
}

void ReportNote(const std::string& name, const std::string& value) {
  std::printf("%-38s %s\n", name.c_str(), value.c_str());
  std::fflush(stdout);
}

int BenchExitStatus() { return g_failed ? 1 : 0; }

long SelfPeakRssKb() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string ExecutableDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? "." : exe.parent_path().string();
}
