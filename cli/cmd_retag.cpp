// padocut-cli retag SRC DST: carries the tags of SRC into DST the way a cut
// does (a fresh ID3v2 tag and an ID3v1 record, DST replaced in one rename).
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/TagCharsetOption.h"
#include "cli/Texts.h"
#include "tags/TagTransfer.h"

int RunRetag(int argc, char** argv) {
  const CliCommand& command = *FindCommand("retag");
  if (WantsHelp(command, argc, argv)) {
    std::printf(
        "  Prints {\"tags\": true|false, \"rewritten\": true|false}. DST is rewritten only\n"
        "  when SRC has tags; when the rewrite fails DST is left exactly as it was.\n%s",
        kTagCharsetHelp);
    return kCliOk;
  }
  std::vector<std::string> args(argv + 1, argv + argc);
  if (auto problem = ApplyTagCharsetOption(args)) return UsageError(command, *problem);
  if (args.size() != 2) return UsageError(command, clitext::kExpectedRetagArguments);

  CTagTransfer transfer;
  const bool found = transfer.ReadFrom(args[0].c_str());
  if (!transfer.SourceOpened()) return Failure(clitext::CannotRead(args[0]));
  const bool rewritten = found && transfer.WriteTo(args[1].c_str(), true, true);
  std::printf("{\"tags\": %s, \"rewritten\": %s}\n", found ? "true" : "false",
              rewritten ? "true" : "false");
  if (found && !rewritten) return Failure(clitext::NotRewritten(args[1]));
  return kCliOk;
}
