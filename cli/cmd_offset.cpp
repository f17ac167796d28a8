// padocut-cli offset FILE TIME...: the byte offset of the frame holding
// each time, one per line (-1 for none).
#include <cinttypes>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "mp3/Mp3Reader.h"

namespace {

struct OffsetArguments {
  CLI::App* command = nullptr;
  std::string file;
  std::vector<std::string> times;
};

int RunOffset(const OffsetArguments& args) {
  std::vector<int64_t> times;
  for (const std::string& text : args.times) {
    int64_t ms = 0;
    if (auto problem = TimeArgument(text, &ms)) return UsageError(*args.command, *problem);
    times.push_back(ms);
  }
  CMp3Reader reader;
  if (auto why = OpenMpegSource(args.file, reader)) return FileFailure(args.file, *why);
  for (int64_t t : times) {
    if (!PrintLine(std::to_string(reader.TimeToOffset(static_cast<double>(t))))) break;
  }
  return kCliOk;
}

}  // namespace

void AddOffsetCommand(CliApp& app) {
  auto args = std::make_shared<OffsetArguments>();
  CLI::App& command = app.AddCommand("offset", "byte offset of the frame holding each time (-1 for none)",
                                     [args] { return RunOffset(*args); });
  args->command = &command;
  command.add_option("FILE", args->file, "MP3 file")->required();
  command.add_option("TIME", args->times, "times (1500 is 1500 ms; 90s, 1:30, end...)")->required();
  command.footer(
      "Prints one offset per TIME, in the order given. A time at or past the end of the\n"
      "audio (and end) gives the end of the audio: the offset just after its last frame,\n"
      "before any trailing tags. A negative time gives -1.");
}
