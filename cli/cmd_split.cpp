// padocut-cli split FILE OUTDIR (--at | --every | --cue | --silence): writes
// FILE's tracks into OUTDIR, each a cut with FILE's tags and its own title
// and track number (see split/).
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/LevelOptions.h"
#include "cli/TagCharsetOption.h"
#include "cli/Texts.h"
#include "platform/FormatTime.h"
#include "split/TrackSplitter.h"

namespace {

constexpr char kDefaultSilence[] = "default";
constexpr double kLongestMinTrackSeconds = 596523;  // the time limit, in seconds
constexpr size_t kLargestSheet = 1 << 20;  // bytes; far more than any CUE sheet

struct SplitArguments {
  CLI::App* command = nullptr;
  std::string file, folder;
  std::string at, every, cue, silence;
  double minTrackSeconds = 0;
  bool json = false, dryRun = false;
  std::string tagCharset;
  SplitSettings settings;
};

// The points and the settings the options give, read before the file is.
struct SplitRequest {
  std::vector<int64_t> points;
  int64_t everyMs = 0;
  SilenceOptions silence;
};

std::optional<std::string> ReadPoints(const std::string& list, std::vector<int64_t>* points) {
  size_t at = 0;
  while (at <= list.size()) {
    const size_t comma = std::min(list.find(',', at), list.size());
    int64_t ms = 0;
    if (auto problem = TimeArgument(list.substr(at, comma - at), &ms)) return problem;
    if (!points->empty() && ms <= points->back()) return clitext::kPointsRise;
    points->push_back(ms);
    at = comma + 1;
  }
  return std::nullopt;
}

// "THRESHOLD_DB[,MIN_SECONDS]", either part may be left empty.
std::optional<std::string> ReadSilence(const std::string& text, SilenceOptions* silence) {
  if (text == kDefaultSilence) return std::nullopt;
  const size_t comma = text.find(',');
  const std::string parts[2] = {text.substr(0, comma), comma == std::string::npos ? "" : text.substr(comma + 1)};
  double* targets[2] = {&silence->thresholdDb, &silence->minSeconds};
  for (int i = 0; i < 2; ++i) {
    if (parts[i].empty()) continue;
    char* end = nullptr;
    const double value = std::strtod(parts[i].c_str(), &end);
    if (*end != '\0' || !std::isfinite(value)) return clitext::NotASilenceSetting(text);
    *targets[i] = value;
  }
  return std::nullopt;
}

std::optional<std::string> RequestProblem(const SplitArguments& args, SplitRequest* request) {
  const int given = !args.at.empty() + !args.every.empty() + !args.cue.empty() + !args.silence.empty();
  if (given != 1) return clitext::kOneSourceOfPoints;
  const CutOptions& options = args.settings.options;
  if (options.framesOnly && (options.exact || options.ChangesLevel())) return clitext::kSplitFramesOnlyAlone;
  if (args.minTrackSeconds > 0 && args.silence.empty()) return clitext::kMinTrackWithSilence;
  if (!(args.minTrackSeconds >= 0 && args.minTrackSeconds <= kLongestMinTrackSeconds)) return clitext::kMinTrackRange;
  if (auto problem = NamePatternProblem(args.settings.namePattern)) return problem;
  if (auto problem = ApplyTagCharset(args.tagCharset)) return problem;
  if (!args.at.empty()) return ReadPoints(args.at, &request->points);
  if (!args.silence.empty()) return ReadSilence(args.silence, &request->silence);
  if (args.every.empty()) return std::nullopt;
  if (auto problem = TimeArgument(args.every, &request->everyMs)) return problem;
  if (request->everyMs <= 0) return clitext::kEveryPositive;
  return std::nullopt;
}

// The sheet's bytes; none when it cannot be read or is too large to be one.
std::optional<std::string> ReadSheet(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  bytes.resize(kLargestSheet + 1);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad() || in.gcount() > static_cast<std::streamsize>(kLargestSheet)) return std::nullopt;
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

// The plan for FILE; a status other than kCliOk when it cannot be made.
int MakePlan(const SplitArguments& args, const SplitRequest& request, TrackSplitter& splitter, SplitPlan* plan,
             SplitDisc* disc) {
  const int64_t duration = splitter.DurationMs();
  if (!args.at.empty()) {
    if (auto why = PointsProblem(request.points, duration)) return FileFailure(args.file, *why);
    *plan = PlanAtPoints(request.points);
  } else if (!args.every.empty()) {
    *plan = PlanEvery(request.everyMs, duration);
  } else if (!args.cue.empty()) {
    if (auto why = UnreadableReason(args.cue)) return FileFailure(args.cue, *why);
    const std::optional<std::string> bytes = ReadSheet(args.cue);
    if (!bytes) return FileFailure(args.cue, clitext::kNotASheet);
    const CueResult sheet = ParseCueSheet(*bytes);
    if (!sheet.ok) {
      FileFailure(clitext::SheetLine(args.cue, sheet.line), sheet.problem);
      return kCliUsage;
    }
    *plan = PlanFromCue(sheet.sheet);
    *disc = SplitDisc{sheet.sheet.title, sheet.sheet.performer, sheet.sheet.date, sheet.sheet.genre};
  } else {
    const SilenceResult found = FindSilences(args.file, request.silence);
    if (!found.ok) return FileFailure(args.file, found.error);
    *plan = PlanAtSilences(found, args.settings.options.exact, std::llround(args.minTrackSeconds * 1000));
    if (found.silences.empty()) Note(clitext::kNoSilenceFound);
  }
  return kCliOk;
}

int PrepareProblem(const SplitArguments& args, const SplitProblem& problem) {
  switch (problem.kind) {
    case SplitProblemKind::Source:
    case SplitProblemKind::Plan: return FileFailure(args.file, problem.reason);
    case SplitProblemKind::Exists: return FileFailure(problem.file, clitext::kTrackExists);
    case SplitProblemKind::Target: break;
  }
  return FileFailure(problem.file, problem.reason);
}

void PrintTrack(const SplitArguments& args, const TrackJob& job, size_t count, const CutReport* report) {
  if (!args.json) {
    // As wide as the names' numbers: two digits, more for 100 tracks or more.
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", std::max(2, static_cast<int>(std::to_string(count).size())), job.number);
    PrintLine(std::string(number) + "\t" + FormatTime(static_cast<int>(job.fromMs)) + "\t" +
              FormatTime(static_cast<int>(job.toMs)) + "\t" + job.fileName);
    return;
  }
  Json line{{"track", job.number}, {"start_ms", job.fromMs}, {"end_ms", job.toMs},
            {"file", job.path},    {"title", job.tags.title}};
  if (report) {
    line.update(Json{{"bytes", report->bytesCopied}, {"frames", report->frames},
                     {"output_size", report->outputSize}, {"delay", report->delay},
                     {"padding", report->padding},       {"vbr_header", report->delay >= 0},
                     {"gain_db", report->gainDb}});
  }
  PrintLine(JsonLine(line));
}

// Makes OUTDIR when it is missing; whether it is there now. `made` says
// whether this call made it.
bool MakeFolder(const std::string& folder, bool* made) {
  std::error_code error;
  *made = std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

int WriteTracks(const SplitArguments& args, TrackSplitter& splitter, const std::vector<TrackJob>& jobs) {
  bool made = false;
  if (!MakeFolder(args.folder, &made)) {
    return FileFailure(args.folder, UnreadableReason(args.folder).value_or(clitext::kNotAFolder));
  }
  const SplitOutcome outcome = splitter.WriteAll(jobs, args.settings.options, [&](size_t i, const CutReport& r) {
    if (!r.note.empty()) Note(r.note);
    PrintTrack(args, jobs[i], jobs.size(), &r);
    return true;
  });
  if (outcome.failedTrack == 0) {
    if (!args.json) Summary("split " + args.file + " into " + std::to_string(outcome.written) + " tracks in " + args.folder);
    return kCliOk;
  }
  const TrackJob& failed = jobs[static_cast<size_t>(outcome.failedTrack - 1)];
  FileFailure(outcome.failure.errorInSource ? args.file : failed.path, outcome.failure.error);
  if (outcome.written > 0) Note(clitext::TracksWritten(outcome.written, static_cast<int>(jobs.size())));
  // Nothing written: a folder made for the tracks goes again (it is empty).
  if (outcome.written == 0 && made) ::rmdir(args.folder.c_str());
  return kCliFailed;
}

int RunSplit(const SplitArguments& args) {
  SplitRequest request;
  if (auto problem = RequestProblem(args, &request)) return UsageError(*args.command, *problem);
  if (auto why = UnreadableReason(args.file)) return FileFailure(args.file, *why);
  TrackSplitter splitter;
  SplitProblem problem;
  if (!splitter.Open(args.file, &problem)) return FileFailure(args.file, clitext::kNoMpegFrames);
  // The level lives in Layer III's global_gain: other layers cannot take
  // the options at all (a usage problem, as for cut).
  if (args.settings.options.ChangesLevel() && splitter.StreamInfo().layer != 3) {
    FileFailure(args.file, clitext::LevelNeedsLayer3(splitter.StreamInfo().layer));
    return kCliUsage;
  }
  SplitPlan plan;
  SplitDisc disc;
  if (const int status = MakePlan(args, request, splitter, &plan, &disc); status != kCliOk) return status;
  std::vector<TrackJob> jobs;
  if (!splitter.Prepare(plan, disc, args.settings, args.folder, &jobs, &problem)) return PrepareProblem(args, problem);
  if (!args.dryRun) return WriteTracks(args, splitter, jobs);
  for (const TrackJob& job : jobs) PrintTrack(args, job, jobs.size(), nullptr);
  return kCliOk;
}

}  // namespace

void AddSplitCommand(CliApp& app) {
  auto args = std::make_shared<SplitArguments>();
  CLI::App& command = app.AddCommand(
      "split", "write FILE's tracks into OUTDIR, at given times, every so long, by a CUE sheet or at silences",
      [args] { return RunSplit(*args); });
  args->command = &command;
  command.add_option("FILE", args->file, "the source MP3")->required();
  command.add_option("OUTDIR", args->folder, "the folder the tracks go into (made when missing)")->required();
  command.add_option("--at", args->at, "split at these times (N times: N + 1 tracks)")->type_name("T1,T2,...");
  command.add_option("--every", args->every, "tracks of this length, the last one shorter")->type_name("LENGTH");
  command.add_option("--cue", args->cue, "the tracks, titles and performers of a CUE sheet")->type_name("SHEET");
  command.add_flag(std::string("--silence{") + kDefaultSilence + "}", args->silence,
                   "split in the middle of each silence: a level below THRESHOLD_DB\n"
                   "(default -48 dBFS) for MIN_SECONDS or more (default 2.0)")
      ->type_name("[=THRESHOLD_DB[,MIN_SECONDS]]");
  command.add_option("--min-track", args->minTrackSeconds, "with --silence: merge tracks shorter than this into the next")
      ->type_name("SECONDS");
  command.add_flag("--exact", args->settings.options.exact, "sample-exact tracks that join without a gap");
  command.add_flag("--frames-only", args->settings.options.framesOnly, "copy exactly the frames' bytes, no new header");
  command.add_flag("--keep-cover", args->settings.options.keepCover, "carry FILE's pictures (cover art) into each track");
  AddLevelOptions(command, &args->settings.options, "each track");
  command.add_option("--name", args->settings.namePattern, "file names (default \"%n - %t\")")->type_name("PATTERN");
  command.add_flag("--overwrite", args->settings.overwrite, "replace existing files (otherwise one stops the split)");
  command.add_flag("--dry-run", args->dryRun, "print the tracks only; write nothing");
  command.add_flag("--json", args->json, "print each track as JSON");
  AddTagCharsetOption(command, &args->tagCharset);
  command.footer(
      "Exactly one of --at, --every, --cue and --silence gives the tracks. Times as for cut\n"
      "(1500 is 1500 ms; 90s, 1:30, 1:02:03.5). A CUE sheet's TRACK/INDEX 01 times start\n"
      "the tracks (its FILE may name another file); a malformed sheet exits with 2 and names\n"
      "its line. Silences that begin or end the audio are not split.\n"
      "Names: %n track number (01), %t title, %a artist, %A album, %s FILE's title, %%;\n"
      "'/' and control characters become '_', .mp3 is added. Tags: FILE's, with the title\n"
      "(the sheet's, else FILE's title and \" (n)\"), artist, album, year and genre from the\n"
      "sheet when it has them, and track n/N.\n"
      "Prints one line per track: number, start, end, file name (the stretch written:\n"
      "whole frames, or the exact range); --json: track, start_ms, end_ms, file, title,\n"
      "bytes, frames, output_size, delay, padding, vbr_header, gain_db. --gain and the fades\n"
      "apply to each track as to a cut. A failure (a gain that would clip a track too)\n"
      "stops the split: the tracks before it stay, the failing one leaves no file.");
}
