#include "cli/Commands.h"

namespace {

const CliCommand kCommands[] = {
    {"version", "", "print the program's version", RunVersion},
    {"tags", "[--tag-charset NAME] FILE", "the tags a cut carries over from FILE (JSON)", RunTags},
    {"retag", "[--tag-charset NAME] SRC DST", "rewrite DST with the tags of SRC", RunRetag},
};

}  // namespace

std::span<const CliCommand> AllCommands() { return kCommands; }
