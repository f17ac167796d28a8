// Command-line splitting: one pass that scans each argument and copies it.
#include "platform/CommandLine.h"

namespace {

bool IsCommandLineSpace(char c) {
  return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

enum class ScanResult { Argument, End, Malformed };

// Reads the argument that starts at `pos` (white space already skipped) into
// `arg` and leaves `pos` just past it.
ScanResult ScanArgument(const std::string& line, size_t& pos, std::string& arg) {
  arg.clear();
  if (pos >= line.size()) return ScanResult::End;
  if (line[pos] != '"') {
    const size_t start = pos;
    while (pos < line.size() && !IsCommandLineSpace(line[pos])) ++pos;
    arg.assign(line, start, pos - start);
    return ScanResult::Argument;
  }
  ++pos;  // the opening quote
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == '\\' && pos + 1 < line.size() && line[pos + 1] == '"') {
      arg.push_back('"');
      pos += 2;
    } else if (c == '"') {
      ++pos;  // the closing quote; what follows starts the next argument
      return ScanResult::Argument;
    } else {
      arg.push_back(c);
      ++pos;
    }
  }
  return ScanResult::Malformed;
}

}  // namespace

int SplitCommandLine(const std::string& commandLine, std::vector<std::string>& args) {
  args.clear();
  size_t pos = 0;
  std::string arg;
  for (;;) {
    while (pos < commandLine.size() && IsCommandLineSpace(commandLine[pos])) ++pos;
    switch (ScanArgument(commandLine, pos, arg)) {
      case ScanResult::End:
        return static_cast<int>(args.size());
      case ScanResult::Malformed:
        args.clear();
        return -1;
      case ScanResult::Argument:
        args.push_back(arg);
        break;
    }
  }
}
