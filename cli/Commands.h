// The command table of padocut-cli. Each command lives in its own file.
#pragma once

#include <span>

#include "cli/CliCommon.h"

std::span<const CliCommand> AllCommands();

int RunInfo(int argc, char** argv);
int RunOffset(int argc, char** argv);
int RunDecode(int argc, char** argv);
int RunPeaks(int argc, char** argv);
int RunPlay(int argc, char** argv);
int RunCut(int argc, char** argv);
int RunVersion(int argc, char** argv);
int RunTags(int argc, char** argv);
int RunRetag(int argc, char** argv);
