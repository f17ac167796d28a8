#include <cstdio>

#include "cli/Commands.h"

int RunVersion(int argc, char** argv) {
  if (WantsHelp(*FindCommand("version"), argc, argv)) return kCliOk;
  std::printf("padocut-cli 0.1\n");
  return kCliOk;
}
