// padocut-cli cut FILE START END OUT: saves [START, END) of FILE as OUT,
// frame by frame without re-encoding, with FILE's tags.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/TagCharsetOption.h"
#include "cli/Texts.h"
#include "mp3/CutToFile.h"

namespace {

void PrintSummary(const CutReport& r, const std::string& out, bool json) {
  if (json) {
    std::printf("{\"start_offset\": %" PRId64 ", \"end_offset\": %" PRId64 ", \"bytes\": %" PRId64
                ", \"frames\": %d, \"tags\": %s, \"output\": %s, \"output_size\": %" PRId64
                ", \"delay\": %d, \"padding\": %d, \"phase_aligned\": %s}\n",
                r.startOffset, r.endOffset, r.bytesCopied, r.frames, r.tagsCarried ? "true" : "false",
                JsonString(out).c_str(), r.outputSize, r.delay, r.padding, r.phaseAligned ? "true" : "false");
    return;
  }
  std::printf("cut bytes %" PRId64 "..%" PRId64 ": %" PRId64 " bytes, %d frames written to %s, tags %s",
              r.startOffset, r.endOffset, r.bytesCopied, r.frames, out.c_str(),
              r.tagsCarried ? "carried" : "not carried");
  if (r.delay >= 0) std::printf(", delay %d, padding %d", r.delay, r.padding);
  std::printf("\n");
}

}  // namespace

int RunCut(int argc, char** argv) {
  const CliCommand& self = *FindCommand("cut");
  if (WantsHelp(self, argc, argv)) {
    std::printf(
        "  START and END: integer milliseconds or [[hh:]mm:]ss[.mmm]; a negative START cuts\n"
        "  from the first frame, an END past the audio cuts to its end.\n"
        "  A FILE with a Xing, Info or VBRI header gets a new one for the cut (a cut of\n"
        "  the whole stream keeps FILE's).\n"
        "  --json              print the summary as JSON\n"
        "  --frames-only       copy exactly the frames' bytes, FILE's header frame included\n"
        "                      when the range starts there, and add no header\n"
        "  --vbr-header        start the output with a new Xing/Info + LAME header\n"
        "  --clean-start       carry the bit reservoir the first frames need (Layer III)\n"
        "  --exact             sample-exact range for gapless decoders (implies both)\n%s",
        kTagCharsetHelp);
    return kCliOk;
  }
  std::vector<std::string> args(argv + 1, argv + argc);
  if (auto problem = ApplyTagCharsetOption(args)) return UsageError(self, *problem);
  bool json = false;
  CutOptions options;
  std::vector<std::string> positional;
  for (const auto& a : args) {
    if (a == "--json") {
      json = true;
    } else if (a == "--vbr-header") {
      options.vbrHeader = true;
    } else if (a == "--clean-start") {
      options.cleanStart = true;
    } else if (a == "--exact") {
      options.exact = true;
    } else if (a == "--frames-only") {
      options.framesOnly = true;
    } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      return UsageError(self, clitext::UnknownOption(a));
    } else {
      positional.push_back(a);
    }
  }
  if (options.framesOnly && options.Any()) return UsageError(self, clitext::kFramesOnlyAlone);
  if (positional.size() != 4) return UsageError(self, clitext::kExpectedCutArguments);
  const auto start = ParseTimeMs(positional[1]);
  const auto end = ParseTimeMs(positional[2]);
  if (!start) return UsageError(self, clitext::NotATime(positional[1]));
  if (!end) return UsageError(self, clitext::NotATime(positional[2]));
  if (*start > INT32_MAX || *end > INT32_MAX || *start < INT32_MIN || *end < 0) {
    return UsageError(self, clitext::kTimesOutOfRange);
  }
  if (*end <= *start) return UsageError(self, clitext::kEndBeforeStart);

  CutReport report;
  if (!CutToFile(positional[0], positional[3], static_cast<int>(*start), static_cast<int>(*end), &report,
                 options)) {
    return Failure(clitext::CutFailed(report.error));
  }
  if (!report.note.empty()) std::fprintf(stderr, "%s\n", clitext::CutNote(report.note).c_str());
  PrintSummary(report, positional[3], json);
  return kCliOk;
}
