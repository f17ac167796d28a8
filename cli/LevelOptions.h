// The level options of the commands that write cuts (cut, split): --gain,
// --fade-in, --fade-out and --allow-clip, stored in a CutOptions (see
// mp3/CutTypes.h for what they do).
#pragma once

#include <CLI/CLI.hpp>

#include "mp3/CutTypes.h"

// Adds the options to `command`; `fadeWhat` names what a fade spans in
// their help ("the output", "each track").
void AddLevelOptions(CLI::App& command, CutOptions* options, const std::string& fadeWhat);
