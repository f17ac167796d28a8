// padocut-cli offset FILE MS [MS ...]: the byte offset of the frame holding
// each time, one per line (-1 for none).
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Texts.h"
#include "mp3/Mp3Reader.h"

int RunOffset(int argc, char** argv) {
  const CliCommand& self = *FindCommand("offset");
  if (WantsHelp(self, argc, argv)) return kCliOk;
  if (argc < 3) return UsageError(self, clitext::kExpectedOffsetArguments);
  std::vector<int64_t> times;
  for (int i = 2; i < argc; ++i) {
    const auto t = ParseTimeMs(argv[i]);
    if (!t) return UsageError(self, clitext::NotATime(argv[i]));
    times.push_back(*t);
  }
  CMp3Reader reader;
  if (!reader.Open(argv[1], nullptr, nullptr, nullptr)) {
    return Failure(clitext::NotMpegAudio(argv[1]));
  }
  for (int64_t t : times) {
    std::printf("%" PRId64 "\n", reader.TimeToOffset(static_cast<double>(t)));
  }
  return kCliOk;
}
