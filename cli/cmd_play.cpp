// padocut-cli play FILE [START [END]]: plays the file through the worker
// manager, the MP3 reader and the output plug-in, the way the window plays a
// selection: start the run at START, stop once the position comes within
// 50 ms of END (or when the file ends). Prints the position about
// once a second; Ctrl-C stops cleanly.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/Texts.h"
#include "mp3/Mp3Reader.h"
#include "pipeline/ArwMan.h"
#include "pipeline/ArwMessageQueue.h"
#include "pipeline/PluginWriter.h"
#include "platform/FormatTime.h"

namespace {

constexpr int kEndMarginMs = 50;
constexpr int kTickMs = 50;
constexpr int kReportEveryTicks = 20;
constexpr int kInterruptedStatus = 130;

struct PlayArguments {
  CLI::App* command = nullptr;
  std::string file, start, end;
  int volume = 100;
};

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int PlaybackFailure(const std::string& file, int code) {
  // A thread that could not be created reports no code: an unknown error.
  if (code == kArwErrorWriterOpen || code == kArwErrorWrite) {
    return FileFailure(clitext::kAudioOutput, clitext::PlaybackError(code));
  }
  return FileFailure(file, clitext::PlaybackError(code > 0 ? code : kArwErrorUnknown));
}

// START and END in milliseconds; END -1 plays to the end.
std::optional<std::string> TimesProblem(const PlayArguments& args, int64_t* start, int64_t* end) {
  *start = -1;
  *end = -1;
  if (!args.start.empty()) {
    if (auto problem = TimeArgument(args.start, start)) return problem;
  }
  if (!args.end.empty()) {
    if (auto problem = TimeArgument(args.end, end)) return problem;
    if (*end >= kMaxTimeTextMs) *end = -1;  // "end"
    if (*end >= 0 && *start >= *end) return clitext::kEndBeforeStart;
  }
  return std::nullopt;
}

// Plays until the end, END, an error or Ctrl-C; the exit status.
int Follow(CArwMan& arw, ArwMessageQueue& queue, const std::string& file, int64_t end) {
  int status = kCliOk;
  for (int tick = 1;; ++tick) {
    ArwPosted posted;
    if (queue.Wait(&posted, std::chrono::milliseconds(kTickMs))) {
      arw.Stop();
      if (posted.message == WM_ARWMAN_ERROR) return PlaybackFailure(file, posted.code);
      Summary("end of file");  // the end of the file has been played
      return kCliOk;
    }
    if (g_interrupted) {
      Note(clitext::kPlayStopped);
      status = kInterruptedStatus;
      break;
    }
    const int position = arw.GetPosition();
    if (end >= 0 && position + kEndMarginMs >= end) break;
    if (tick % kReportEveryTicks == 0) {
      Summary(FormatTime(position));
      FlushOutput();
    }
  }
  const int position = arw.GetPosition();
  arw.Stop();
  Summary("stopped at " + FormatTime(position));
  return status;
}

int RunPlay(const PlayArguments& args) {
  if (args.volume < 0 || args.volume > 100) return UsageError(*args.command, clitext::kVolumeRange);
  int64_t start = -1, end = -1;
  if (auto problem = TimesProblem(args, &start, &end)) return UsageError(*args.command, *problem);
  {
    CMp3Reader probe;
    if (auto why = OpenMpegSource(args.file, probe)) return FileFailure(args.file, *why);
    if (start > 0 && start >= probe.GetDuration()) {
      return FileFailure(args.file, clitext::StartPastEnd(args.start, FormatTime(probe.GetDuration())));
    }
  }

  CatchInterrupts();
  CMp3Reader reader;
  CPluginWriter writer(kOutputPluginFile, nullptr);
  ArwMessageQueue queue;
  CArwMan arw;
  arw.SetNotifyWindow(&queue);
  arw.SetReader(&reader);
  arw.SetWriter(&writer);
  arw.SetTexts({args.file});
  writer.SetVolume(args.volume);
  // The seek happens before the worker reads: nothing from before START
  // reaches the output.
  if (start > 0) arw.SetStartTime(static_cast<int>(start));
  int code = 0;
  if (!arw.Start(&code)) return PlaybackFailure(args.file, code);
  // The reader's duration is not asked for here: the worker owns the reader now.
  Summary("playing " + args.file + " from " + FormatTime(static_cast<int>(start)) + " to " +
          (end >= 0 ? FormatTime(static_cast<int>(end)) : "the end"));
  FlushOutput();
  return Follow(arw, queue, args.file, end);
}

}  // namespace

void AddPlayCommand(CliApp& app) {
  auto args = std::make_shared<PlayArguments>();
  CLI::App& command = app.AddCommand("play", "play through the output plug-in from START until END (or the end)",
                                     [args] { return RunPlay(*args); });
  args->command = &command;
  command.add_option("FILE", args->file, "MP3 file")->required();
  command.add_option("START", args->start, "where to start (1500 is 1500 ms; 90s, 1:30...)");
  command.add_option("END", args->end, "where to stop (a time, or end)");
  command.add_option("--volume", args->volume, "volume in percent, 0..100 (default 100)")->type_name("PERCENT");
  command.footer(
      "Prints where it plays about once a second (-q: nothing); Ctrl-C stops it (exit 130).\n"
      "The output plug-in vuout_sdl.so is looked for beside the program.");
}
