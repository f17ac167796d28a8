// padocut-cli play FILE [START END]: plays the file through the worker
// manager, the MP3 reader and the output plug-in, the way the window plays a
// selection: start the run at START, stop once the position comes within
// 50 ms of END (or when the file ends). Prints the position about
// once a second; Ctrl-C stops cleanly. When playback cannot start, the
// window's text for the worker's error code goes to stderr (exit 1).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "cli/Commands.h"
#include "cli/Texts.h"
#include "mp3/Mp3Reader.h"
#include "pipeline/ArwMan.h"
#include "pipeline/ArwMessageQueue.h"
#include "pipeline/PluginWriter.h"
#include "pipeline/Texts.h"
#include "platform/FormatTime.h"

namespace {

constexpr int kEndMarginMs = 50;
constexpr int kTickMs = 50;
constexpr int kReportEveryTicks = 20;
constexpr int kInterruptedStatus = 130;

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int ErrorExit(int code) {
  // A thread that could not be created reports no code: an unknown error.
  return Failure(ArwErrorText(code > 0 ? code : kArwErrorUnknown, true));
}

}  // namespace

int RunPlay(int argc, char** argv) {
  const CliCommand& self = *FindCommand("play");
  if (WantsHelp(self, argc, argv)) return kCliOk;
  int volume = 100;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--volume") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long v = std::strtol(argv[++i], &end, 10);
      if (!*argv[i] || *end || v < 0 || v > 100) return UsageError(self, clitext::kVolumeRange);
      volume = static_cast<int>(v);
      continue;
    }
    args.push_back(argv[i]);
  }
  if (args.size() != 1 && args.size() != 3) return UsageError(self, clitext::kExpectedPlayArguments);
  int start = -1, end = -1;
  if (args.size() == 3) {
    const auto s = ParseTimeMs(args[1]);
    const auto e = ParseTimeMs(args[2]);
    if (!s || !e || *s > INT32_MAX || *e > INT32_MAX || *s < INT32_MIN || *e < INT32_MIN) {
      return UsageError(self, clitext::kPlayTimes);
    }
    start = static_cast<int>(*s);
    end = static_cast<int>(*e);
    if (end >= 0 && start >= end) return Failure(pipelinetext::kSelectAgain);
  }

  CatchInterrupts();
  CMp3Reader reader;
  CPluginWriter writer(kOutputPluginFile, nullptr);
  ArwMessageQueue queue;
  CArwMan arw;
  arw.SetNotifyWindow(&queue);
  arw.SetReader(&reader);
  arw.SetWriter(&writer);
  arw.SetTexts({args[0]});
  writer.SetVolume(volume);
  // The seek happens before the worker reads: nothing from before START
  // reaches the output.
  if (start > 0) arw.SetStartTime(start);
  int code = 0;
  if (!arw.Start(&code)) return ErrorExit(code);
  // The reader's duration is not asked for here: the worker owns the reader now.
  std::printf("playing %s from %s to %s\n", args[0].c_str(), FormatTime(start).c_str(),
              end >= 0 ? FormatTime(end).c_str() : "the end");
  std::fflush(stdout);

  int status = kCliOk;
  for (int tick = 1;; ++tick) {
    ArwPosted posted;
    if (queue.Wait(&posted, std::chrono::milliseconds(kTickMs))) {
      if (posted.message == WM_ARWMAN_ERROR) {
        arw.Stop();
        return ErrorExit(posted.code);
      }
      arw.Stop();  // the end of the file has been played
      std::printf("end of file\n");
      return kCliOk;
    }
    if (g_interrupted) {
      std::fprintf(stderr, "%s\n", clitext::kPlayStopped);
      status = kInterruptedStatus;
      break;
    }
    const int position = arw.GetPosition();
    if (end >= 0 && position + kEndMarginMs >= end) break;
    if (tick % kReportEveryTicks == 0) {
      std::printf("%s\n", FormatTime(position).c_str());
      std::fflush(stdout);
    }
  }
  const int position = arw.GetPosition();
  arw.Stop();
  std::printf("stopped at %s\n", FormatTime(position).c_str());
  return status;
}
