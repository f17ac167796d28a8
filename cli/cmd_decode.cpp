// padocut-cli decode FILE: the PCM of the reader's Read loop to stdout
// (signed 16-bit little-endian, interleaved).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/Commands.h"
#include "cli/Texts.h"
#include "mp3/Mp3Reader.h"

int RunDecode(int argc, char** argv) {
  const CliCommand& self = *FindCommand("decode");
  if (WantsHelp(self, argc, argv)) return kCliOk;
  if (argc != 2) return UsageError(self, clitext::kExpectedOneFile);
  CMp3Reader reader;
  if (!reader.Open(argv[1], nullptr, nullptr, nullptr)) {
    return Failure(clitext::NotMpegAudio(argv[1]));
  }
  static char buffer[8192];
  for (;;) {
    const int n = reader.Read(buffer, sizeof buffer);
    if (n < 0) return Failure(clitext::DecodingFailed(argv[1]));
    if (n == 0) break;
    if (std::fwrite(buffer, 1, static_cast<size_t>(n), stdout) != static_cast<size_t>(n)) {
      return Failure(clitext::CannotWritePcm(std::strerror(errno)));
    }
  }
  if (std::fflush(stdout) != 0) return Failure(clitext::CannotWritePcm(std::strerror(errno)));
  return kCliOk;
}
