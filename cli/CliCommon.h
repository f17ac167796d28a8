// Shared pieces of padocut-cli's commands: the command table, time parsing
// and JSON text output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct CliCommand {
  const char* name;
  const char* usage;    // "FILE MS [MS ...]"
  const char* summary;  // one line for the overview
  int (*run)(int argc, char** argv);  // argv[0] is the command name
};

// Exit statuses: 0 done, 1 the work failed (one-line reason on stderr),
// 2 a usage error.
enum CliStatus { kCliOk = 0, kCliFailed = 1, kCliUsage = 2 };

// Integer milliseconds ("1500", "-1") or [[hh:]mm:]ss[.mmm] ("1.5", "0:01.5",
// "01:00:00"). Nothing on malformed text.
std::optional<int64_t> ParseTimeMs(const std::string& text);

// Text as a JSON string literal (UTF-8 passed through, controls escaped,
// bytes outside well-formed UTF-8 replaced by \ufffd).
std::string JsonString(const std::string& text);

// True when argv holds --help or -h; prints the command's usage then.
bool WantsHelp(const CliCommand& command, int argc, char** argv);
int UsageError(const CliCommand& command, const std::string& why);
int Failure(const std::string& reason);

const CliCommand* FindCommand(const std::string& name);
