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
double ThreadCpu() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
}  // namespace

PairedMedians MedianCpuSecondsPaired(const std::function<void()>& a, const std::function<void()>& b,
                                     int runs) {
  a();
  b();
  std::vector<double> ta, tb;
  for (int i = 0; i < runs; ++i) {
    double start = ThreadCpu();
    a();
    ta.push_back(ThreadCpu() - start);
    start = ThreadCpu();
    b();
    tb.push_back(ThreadCpu() - start);
  }
  return {Median(ta), Median(tb)};
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
  waitpid(pid, &status, 0);
  r.seconds = Now() - start;
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

void Report(const std::string& name, double seconds, double referenceSeconds,
            const std::string& referenceName, double targetRatio, long peakRssKb) {
  const double ratio = referenceSeconds > 0 ? seconds / referenceSeconds : 0;
  const bool pass = ratio <= targetRatio;
  g_failed = g_failed || !pass;
  std::printf("%-34s median %9.3f ms  %-18s %9.3f ms  ratio %6.3f  (target <= %.2f)  ", name.c_str(),
              seconds * 1e3, referenceName.c_str(), referenceSeconds * 1e3, ratio, targetRatio);
  if (peakRssKb > 0) std::printf("peak %6.1f MB  ", peakRssKb / 1024.0);
  std::printf("%s\n", pass ? "PASS" : "FAIL");
  std::fflush(stdout);
}

void ReportValue(const std::string& name, const std::string& value, bool pass,
                 const std::string& target) {
  g_failed = g_failed || !pass;
  std::printf("%-34s %-60s (target %s)  %s\n", name.c_str(), value.c_str(), target.c_str(),
              pass ? "PASS" : "FAIL");
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
