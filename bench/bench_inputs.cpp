// Makes the benchmarks' inputs in the cache folder: the ones named on the
// command line (cbr60 vbr60 cbr100 mono150 cbr10), or all of them.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/BenchData.h"

namespace {

struct Input {
  const char* name;
  std::string (*make)();
};

constexpr Input kInputs[] = {
    {"cbr60", Cbr60Min}, {"vbr60", Vbr60Min}, {"cbr100", Cbr100MB}, {"mono150", Mono150Min}, {"cbr10", Cbr10Min},
};

void Make(const Input& input) {
  const auto start = std::chrono::steady_clock::now();
  const std::string path = input.make();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-8s %s (%.1f s)\n", input.name, path.c_str(), seconds);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) {
    for (const Input& input : kInputs) Make(input);
    return 0;
  }
  for (int i = 1; i < argc; ++i) {
    bool known = false;
    for (const Input& input : kInputs) {
      if (std::strcmp(argv[i], input.name) == 0) {
        Make(input);
        known = true;
      }
    }
    if (!known) {
      std::fprintf(stderr, "bench_inputs: unknown input %s\n", argv[i]);
      return 2;
    }
  }
  return 0;
}
