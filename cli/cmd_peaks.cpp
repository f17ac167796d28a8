// padocut-cli peaks [--columns N] [--threads K] FILE: the waveform's column
// peaks as JSON (see pipeline/Peaks.h).
#include <memory>
#include <string>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "mp3/Mp3Reader.h"
#include "pipeline/Peaks.h"

namespace {

constexpr int kLargestCount = 1000000;

struct PeaksArguments {
  std::string file;
  PeaksOptions options;
};

int RunPeaks(const PeaksArguments& args) {
  if (auto why = UnreadableReason(args.file)) return FileFailure(args.file, *why);
  const PeaksResult r = ComputePeaks(args.file, args.options);
  if (!r.ok) {
    // The reason in the words every command uses, where it is the file's.
    CMp3Reader probe;
    return FileFailure(args.file, OpenMpegSource(args.file, probe).value_or(r.error));
  }
  Json peaks = Json::array();
  for (const PeakColumns::Peak& peak : r.peaks) peaks.push_back({peak.min, peak.max});
  PrintLine(JsonLine(Json{{"sample_rate", r.sampleRate},
                          {"channels", r.channels},
                          {"duration_ms", r.durationMs},
                          {"columns", r.columns},
                          {"samples_per_column", r.samplesPerColumn},
                          {"peaks", peaks}}));
  return kCliOk;
}

}  // namespace

void AddPeaksCommand(CliApp& app) {
  auto args = std::make_shared<PeaksArguments>();
  CLI::App& command =
      app.AddCommand("peaks", "smallest and largest sample of each waveform column (JSON); 700 columns by default",
                     [args] { return RunPeaks(*args); });
  command.add_option("FILE", args->file, "MP3 file")->required();
  command.add_option("--columns", args->options.columns, "columns (default 700, the window's width)")
      ->type_name("N")
      ->check(CLI::Range(1, kLargestCount));
  command.add_option("--threads", args->options.threads, "decoding threads (default 0: as the window chooses)")
      ->type_name("K")
      ->check(CLI::Range(0, kLargestCount));
  command.footer(
      "Prints {\"sample_rate\", \"channels\", \"duration_ms\", \"columns\", \"samples_per_column\",\n"
      "\"peaks\": [[min, max], ...]}: each column's smallest and largest 16-bit sample, all\n"
      "channels together, over the same column boundaries the window draws.");
}
