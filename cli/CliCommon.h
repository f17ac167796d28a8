// What every padocut-cli command shares: its exit statuses, the times on its
// command line, its JSON, its output and error lines, its source files.
#pragma once

#include "cli/CliOutput.h"
#include "cli/CliTime.h"
#include "cli/JsonLine.h"
#include "cli/SourceFile.h"

// Exit statuses: 0 done, 1 the work failed (one line `padocut-cli: FILE:
// reason` on stderr), 2 a usage error.
enum CliStatus { kCliOk = 0, kCliFailed = 1, kCliUsage = 2 };
