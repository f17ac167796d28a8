// padocut-cli retag SRC DST: carries the tags of SRC into DST the way a cut
// does (a fresh ID3v2 tag and an ID3v1 record, DST replaced in one rename).
#include <memory>
#include <string>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/TagCharsetOption.h"
#include "cli/Texts.h"
#include "tags/TagTransfer.h"

namespace {

struct RetagArguments {
  CLI::App* command = nullptr;
  std::string source, destination;
  std::string tagCharset;
};

int RunRetag(const RetagArguments& args) {
  if (auto problem = ApplyTagCharset(args.tagCharset)) return UsageError(*args.command, *problem);
  if (auto why = UnreadableReason(args.source)) return FileFailure(args.source, *why);
  CTagTransfer transfer;
  const bool found = transfer.ReadFrom(args.source.c_str());
  if (!transfer.SourceOpened()) return FileFailure(args.source, clitext::kNotARegularFile);
  const bool rewritten = found && transfer.WriteTo(args.destination.c_str(), true, true);
  PrintLine(JsonLine(Json{{"tags", found}, {"rewritten", rewritten}}));
  if (found && !rewritten) {
    return FileFailure(args.destination, UnreadableReason(args.destination).value_or(clitext::kNotRewritten));
  }
  return kCliOk;
}

}  // namespace

void AddRetagCommand(CliApp& app) {
  auto args = std::make_shared<RetagArguments>();
  CLI::App& command =
      app.AddCommand("retag", "rewrite DST with the tags of SRC", [args] { return RunRetag(*args); });
  args->command = &command;
  command.add_option("SRC", args->source, "the file whose tags are taken")->required();
  command.add_option("DST", args->destination, "the file rewritten with them")->required();
  AddTagCharsetOption(command, &args->tagCharset);
  command.footer(
      "Prints {\"tags\": true|false, \"rewritten\": true|false}. DST is rewritten only\n"
      "when SRC has tags; when the rewrite fails DST is left exactly as it was.");
}
