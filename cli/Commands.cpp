#include "cli/Commands.h"

namespace {

const CliCommand kCommands[] = {
    {"info", "FILE", "stream description of an MP3 file as JSON", RunInfo},
    {"offset", "FILE MS [MS ...]", "byte offset of the frame holding each time (-1 for none)",
     RunOffset},
    {"decode", "FILE", "decoded PCM (s16le, interleaved) to stdout", RunDecode},
    {"peaks", "[--columns N] [--threads K] FILE",
     "smallest and largest sample of each waveform column (JSON); 700 columns by default", RunPeaks},
    {"play", "[--volume PERCENT] FILE [START END]",
     "play through the output plug-in from START until END (or the end)", RunPlay},
    {"cut",
     "[--json] [--frames-only] [--vbr-header] [--clean-start] [--exact] [--tag-charset NAME] FILE START END OUT",
     "save [START, END) of FILE as OUT, whole frames byte for byte, with FILE's tags", RunCut},
    {"version", "", "print the program's version", RunVersion},
    {"tags", "[--tag-charset NAME] FILE", "the tags a cut carries over from FILE (JSON)", RunTags},
    {"retag", "[--tag-charset NAME] SRC DST", "rewrite DST with the tags of SRC", RunRetag},
};

}  // namespace

std::span<const CliCommand> AllCommands() { return kCommands; }

const CliCommand* FindCommand(const std::string& name) {
  for (const CliCommand& c : AllCommands()) {
    if (name == c.name) return &c;
  }
  return nullptr;
}
