// padocut-cli peaks [--columns N] [--threads K] FILE: the waveform's column
// peaks as JSON (see pipeline/Peaks.h).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/Commands.h"
#include "pipeline/Peaks.h"

namespace {

bool ParseCount(const char* text, int lowest, int* out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < lowest || value > 1000000) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace

int RunPeaks(int argc, char** argv) {
  const CliCommand& self = *FindCommand("peaks");
  if (WantsHelp(self, argc, argv)) return kCliOk;
  PeaksOptions options;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--columns" || arg == "--threads") && i + 1 < argc) {
      if (!ParseCount(argv[++i], arg == "--columns" ? 1 : 0, arg == "--columns" ? &options.columns : &options.threads)) {
        return UsageError(self, arg + " takes a whole number");
      }
    } else if (file.empty() && (arg.empty() || arg[0] != '-')) {
      file = arg;
    } else {
      return UsageError(self, "unexpected " + arg);
    }
  }
  if (file.empty()) return UsageError(self, "expected one FILE");
  const PeaksResult r = ComputePeaks(file, options);
  if (!r.ok) return Failure("cannot read peaks of " + file + ": " + r.error);
  std::printf("{\"sample_rate\": %d, \"channels\": %d, \"duration_ms\": %d, \"columns\": %d, "
              "\"samples_per_column\": %d, \"peaks\": [",
              r.sampleRate, r.channels, r.durationMs, r.columns, r.samplesPerColumn);
  for (size_t i = 0; i < r.peaks.size(); ++i) {
    std::printf("%s[%d, %d]", i ? ", " : "", r.peaks[i].min, r.peaks[i].max);
  }
  std::printf("]}\n");
  return kCliOk;
}
