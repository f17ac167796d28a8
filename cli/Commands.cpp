#include "cli/Commands.h"

namespace {

const CliCommand kCommands[] = {
    {"info", "FILE", "stream description of an MP3 file as JSON", RunInfo},
    {"offset", "FILE MS [MS ...]", "byte offset of the frame holding each time (-1 for none)",
     RunOffset},
    {"decode", "FILE", "decoded PCM (s16le, interleaved) to stdout", RunDecode},
    {"play", "[--volume PERCENT] FILE [START END]",
     "play through the output plug-in from START until END (or the end)", RunPlay},
    {"version", "", "print the program's version", RunVersion},
};

}  // namespace

std::span<const CliCommand> AllCommands() { return kCommands; }

const CliCommand* FindCommand(const std::string& name) {
  for (const CliCommand& c : AllCommands()) {
    if (name == c.name) return &c;
  }
  return nullptr;
}
