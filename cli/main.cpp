// padocut-cli: the command-line front end over the core library.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/Texts.h"

namespace {

void PrintOverview(FILE* out) {
  std::fprintf(out, "usage: padocut-cli COMMAND [ARGS]  (padocut-cli COMMAND --help)\n\ncommands:\n");
  for (const CliCommand& c : AllCommands()) {
    std::fprintf(out, "  %-7s %s\n", c.name, c.summary);
  }
  std::fprintf(out, "\nTimes are integer milliseconds or [[hh:]mm:]ss[.mmm].\n");
}

}  // namespace

int main(int argc, char** argv) {
  // A full disk or a file-size limit must come back as a write error, not
  // end the process.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  if (argc < 2) {
    PrintOverview(stderr);
    return kCliUsage;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    PrintOverview(stdout);
    return kCliOk;
  }
  const CliCommand* command = FindCommand(argv[1]);
  if (!command) {
    std::fprintf(stderr, "%s\n", clitext::UnknownCommand(argv[1]).c_str());
    PrintOverview(stderr);
    return kCliUsage;
  }
  return command->run(argc - 1, argv + 1);
}
