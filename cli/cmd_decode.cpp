// padocut-cli decode FILE: the PCM of the reader's Read loop to stdout
// (signed 16-bit little-endian, interleaved).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/Commands.h"
#include "mp3/Mp3Reader.h"

int RunDecode(int argc, char** argv) {
  const CliCommand& self = *FindCommand("decode");
  if (WantsHelp(self, argc, argv)) return kCliOk;
  if (argc != 2) return UsageError(self, "expected one FILE");
  CMp3Reader reader;
  if (!reader.Open(argv[1], nullptr, nullptr, nullptr)) {
    return Failure(std::string("cannot open ") + argv[1] + ": not a readable MPEG audio file");
  }
  static char buffer[8192];
  for (;;) {
    const int n = reader.Read(buffer, sizeof buffer);
    if (n < 0) return Failure(std::string("decoding failed in ") + argv[1]);
    if (n == 0) break;
    if (std::fwrite(buffer, 1, static_cast<size_t>(n), stdout) != static_cast<size_t>(n)) {
      return Failure(std::string("cannot write PCM: ") + std::strerror(errno));
    }
  }
  if (std::fflush(stdout) != 0) return Failure(std::string("cannot write PCM: ") + std::strerror(errno));
  return kCliOk;
}
