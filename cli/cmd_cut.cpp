// padocut-cli cut FILE START END OUT: saves [START, END) of FILE as OUT,
// frame by frame without re-encoding, with FILE's tags.
#include <sys/stat.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/LevelOptions.h"
#include "cli/TagCharsetOption.h"
#include "cli/Texts.h"
#include "mp3/CutToFile.h"
#include "mp3/FrameHeader.h"
#include "mp3/Mp3Reader.h"
#include "platform/FormatTime.h"

namespace {

struct CutArguments {
  CLI::App* command = nullptr;
  std::string file, start, end, out;
  bool json = false;
  bool noOverwrite = false;
  std::string tagCharset;
  CutOptions options;
};

// START and END in milliseconds.
struct CutTimes {
  int64_t startMs = 0;
  int64_t endMs = 0;
};

uint32_t FirstHeader(const Mp3StreamInfo& info) {
  const uint8_t* b = info.firstHeader;
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

// Why the range cannot be cut, in the source's words: the same refusal the
// cut would make, with the reason a user can act on.
std::optional<std::string> RangeProblem(CMp3Reader& reader, const CutArguments& args, const CutTimes& times) {
  Mp3FrameIndex& index = *reader.GetFrameIndex();
  const int64_t startOffset = index.TimeToOffset(static_cast<double>(std::max<int64_t>(times.startMs, 0)));
  const int64_t endOffset = index.TimeToOffset(static_cast<double>(times.endMs));
  if (startOffset < 0 || endOffset < 0) return clitext::kNoFramesToCut;
  if (startOffset < endOffset) return std::nullopt;
  if (startOffset >= index.TimeToOffset(static_cast<double>(kMaxTimeTextMs))) {
    return clitext::StartPastEnd(args.start, FormatTime(reader.GetDuration()));
  }
  char frameMs[32];
  std::snprintf(frameMs, sizeof frameMs, "%.1f", FrameDurationMs(FirstHeader(reader.GetStreamInfo())));
  return clitext::InsideOneFrame(frameMs);
}

// The stretch written, in the source's time: the exact range, or the times
// of the first and the last frame copied.
std::pair<int64_t, int64_t> WrittenMs(CMp3Reader& reader, const CutTimes& times, const CutReport& r, bool exact) {
  if (exact) {
    const uint32_t h = FirstHeader(reader.GetStreamInfo());
    const int64_t samples = static_cast<int64_t>(r.frames) * SamplesPerFrameOf(h) - r.delay - r.padding;
    const int64_t start = std::max<int64_t>(times.startMs, 0);
    return {start, start + std::llround(static_cast<double>(samples) * 1000 / SampleRateOf(h))};
  }
  Mp3FrameIndex& index = *reader.GetFrameIndex();
  return {std::llround(index.TimeAtOffset(r.startOffset)), std::llround(index.TimeAtOffset(r.endOffset))};
}

void DescribeDecisions(CMp3Reader& reader, const CutArguments& args, const CutTimes& times, const CutReport& r,
                       bool exact) {
  if (!Verbosity().verbose) return;
  Mp3FrameIndex& index = *reader.GetFrameIndex();
  if (exact) {
    Detail(clitext::kSampleExact);
  } else {
    Detail(clitext::Rounded("START", args.start, "starts with",
                            FormatTime(static_cast<int>(index.TimeAtOffset(r.startOffset))), r.startOffset));
    if (times.endMs >= reader.GetDuration()) {
      Detail(clitext::EndAtAudioEnd(FormatTime(reader.GetDuration())));
    } else {
      Detail(clitext::Rounded("END", args.end, "ends before",
                              FormatTime(static_cast<int>(index.TimeAtOffset(r.endOffset))), r.endOffset));
    }
  }
  if (r.delay >= 0) {
    Detail(clitext::NewHeader(r.delay, r.padding));
  } else {
    Detail(args.options.framesOnly ? clitext::kLiteralFrames : clitext::kPlainCopy);
  }
}

void PrintResult(const CutArguments& args, const CutReport& r, std::pair<int64_t, int64_t> written, bool exact) {
  if (args.json) {
    PrintLine(JsonLine(Json{{"start_offset", r.startOffset}, {"end_offset", r.endOffset},
                            {"bytes", r.bytesCopied},        {"frames", r.frames},
                            {"tags", r.tagsCarried},         {"output", args.out},
                            {"output_size", r.outputSize},   {"delay", r.delay},
                            {"padding", r.padding},          {"file", args.file},
                            {"start_ms", written.first},     {"end_ms", written.second},
                            {"exact", exact},                {"vbr_header", r.delay >= 0},
                            {"gain_db", r.gainDb},           {"phase_aligned", r.phaseAligned}}));
    return;
  }
  char line[160];
  std::snprintf(line, sizeof line, "cut bytes %" PRId64 "..%" PRId64 ": %" PRId64 " bytes, %d frames written to ",
                r.startOffset, r.endOffset, r.bytesCopied, r.frames);
  std::string summary = line + args.out + ", tags " + (r.tagsCarried ? "carried" : "not carried");
  if (r.delay >= 0) summary += ", delay " + std::to_string(r.delay) + ", padding " + std::to_string(r.padding);
  if (args.options.ChangesLevel()) {
    char gain[32];
    std::snprintf(gain, sizeof gain, ", gain %+.1f dB", r.gainDb);
    summary += gain;
  }
  Summary(summary);
}

std::optional<std::string> TimesProblem(const CutArguments& args, CutTimes* times) {
  if (auto problem = TimeArgument(args.start, &times->startMs)) return problem;
  if (auto problem = TimeArgument(args.end, &times->endMs)) return problem;
  if (times->endMs < 0) return clitext::kEndNegative;
  if (times->endMs <= times->startMs) return clitext::kEndBeforeStart;
  return std::nullopt;
}

int RunCut(const CutArguments& args) {
  if (args.options.framesOnly && args.options.Any()) return UsageError(*args.command, clitext::kFramesOnlyAlone);
  if (auto problem = ApplyTagCharset(args.tagCharset)) return UsageError(*args.command, *problem);
  CutTimes times;
  if (auto problem = TimesProblem(args, &times)) return UsageError(*args.command, *problem);
  struct stat existing;
  if (args.noOverwrite && lstat(args.out.c_str(), &existing) == 0) return FileFailure(args.out, clitext::kExists);

  CMp3Reader reader;
  if (auto why = OpenMpegSource(args.file, reader)) return FileFailure(args.file, *why);
  // The level lives in Layer III's global_gain: other layers cannot take
  // the options at all (a usage problem, not a failed cut).
  if (args.options.ChangesLevel() && reader.GetStreamInfo().layer != 3) {
    FileFailure(args.file, clitext::LevelNeedsLayer3(reader.GetStreamInfo().layer));
    return kCliUsage;
  }
  if (auto why = RangeProblem(reader, args, times)) return FileFailure(args.file, *why);
  CutReport report;
  if (!CutToFile(args.file, args.out, static_cast<int>(times.startMs), static_cast<int>(times.endMs), &report,
                 args.options)) {
    return FileFailure(report.errorInSource ? args.file : args.out, report.error);
  }
  if (!report.note.empty()) Note(report.note);
  const bool exact = args.options.exact && report.delay >= 0;
  DescribeDecisions(reader, args, times, report, exact);
  PrintResult(args, report, WrittenMs(reader, times, report, exact), exact);
  return kCliOk;
}

}  // namespace

void AddCutCommand(CliApp& app) {
  auto args = std::make_shared<CutArguments>();
  CLI::App& command =
      app.AddCommand("cut", "save [START, END) of FILE as OUT, whole frames byte for byte, with FILE's tags",
                     [args] { return RunCut(*args); });
  args->command = &command;
  command.add_option("FILE", args->file, "the source MP3")->required();
  command.add_option("START", args->start, "where the cut starts (1500 is 1500 ms; 90s, 1:30...)")->required();
  command.add_option("END", args->end, "where it ends, not included (a time, or end)")->required();
  command.add_option("OUT", args->out, "the new file (may be FILE itself)")->required();
  command.add_flag("--json", args->json, "print the summary as JSON");
  command.add_flag("-n,--no-overwrite", args->noOverwrite, "refuse to replace an existing OUT (exit 1)");
  command.add_flag("--frames-only", args->options.framesOnly,
                   "copy exactly the frames' bytes, FILE's header frame included\n"
                   "when the range starts there, and add no header");
  command.add_flag("--vbr-header", args->options.vbrHeader, "start the output with a new Xing/Info + LAME header");
  command.add_flag("--clean-start", args->options.cleanStart,
                   "carry the bit reservoir the first frames need (Layer III)");
  command.add_flag("--exact", args->options.exact, "sample-exact range for gapless decoders (implies both)");
  command.add_flag("--keep-cover", args->options.keepCover, "carry FILE's pictures (cover art) into OUT's tag");
  AddLevelOptions(command, &args->options, "the output");
  AddTagCharsetOption(command, &args->tagCharset);
  command.footer(
      "START and END: 1500 is 1500 ms (a bare integer is milliseconds); 90s, 1m30s, 1:30,\n"
      "01:02:03.500 and end are the other forms. A negative START cuts from the first frame,\n"
      "an END past the audio (or end) cuts to its end. The cut holds the frames from the one\n"
      "holding START up to the one holding END (-v says where they fall); a range inside one\n"
      "frame is refused. A FILE with a Xing, Info or VBRI header gets a new one for the cut\n"
      "(a cut of the whole stream keeps FILE's).\n"
      "--gain, --fade-in and --fade-out change the level without re-encoding, through each\n"
      "granule's global_gain (Layer III; other layers are refused, exit 2): the gain goes\n"
      "to the nearest whole step of 1.5 dB (the summary says which), the fades ramp per\n"
      "granule from -60 dB at the start / end of what the output plays (with --exact, of\n"
      "the exact range). A positive gain that would clip the range's decode is refused\n"
      "(exit 1, naming the most that fits) unless --allow-clip.\n"
      "--json prints start_offset, end_offset, bytes, frames, tags, output, output_size,\n"
      "delay, padding (-1: no new header), file, start_ms and end_ms (the stretch written:\n"
      "whole frames, or the exact range), exact and vbr_header (what was done: false when\n"
      "an option fell back to a plain cut, with a note on stderr), gain_db (the gain\n"
      "applied), phase_aligned (an exact cut that mpg123 plays bit for bit).");
}
