// Fuzz target: command-line splitting. A malformed line yields nothing; a
// split line's arguments, quoted again, split into the same arguments.
#include <string>
#include <vector>

#include "fuzz/FuzzScratch.h"
#include "platform/CommandLine.h"

namespace {

// Quotes an argument so that splitting gives it back: every double quote
// becomes backslash-quote.
std::string Quote(const std::string& arg) {
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args = {"left over"};
  const int count = SplitCommandLine(line, args);
  if (count < 0) {
    FUZZ_CHECK(args.empty());
    return 0;
  }
  FUZZ_CHECK(static_cast<size_t>(count) == args.size());
  FUZZ_CHECK(static_cast<size_t>(count) <= size / 2 + 1);

  // Arguments that end in a backslash cannot be quoted this way (the
  // backslash would escape the closing quote); the others must come back.
  std::string again;
  std::vector<std::string> expected;
  for (const std::string& arg : args) {
    if (!arg.empty() && arg.back() == '\\') continue;
    again += Quote(arg) + " ";
    expected.push_back(arg);
  }
  std::vector<std::string> split;
  FUZZ_CHECK(SplitCommandLine(again, split) == static_cast<int>(expected.size()));
  FUZZ_CHECK(split == expected);
  return 0;
}
