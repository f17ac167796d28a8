#include "cli/Commands.h"

namespace {

const CliCommand kCommands[] = {
    {"version", "", "print the program's version", RunVersion},
};

}  // namespace

std::span<const CliCommand> AllCommands() { return kCommands; }
