#include "mp3/CutToFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "mp3/CutOutput.h"
#include "mp3/CutRange.h"
#include "platform/io/BackgroundCopy.h"
#include "platform/io/FileReplacement.h"
#include "platform/io/RegularFile.h"
#include "platform/io/UniqueFd.h"
#include "tags/TagTransfer.h"

namespace {

int Fail(CutReport* report, const std::string& why) {
  report->error = why;
  return 0;
}

// A failure of the source, not of the destination (`error` already set,
// or set here).
int SourceFailed(CutReport* report) {
  report->errorInSource = true;
  return 0;
}
int FailInSource(CutReport* report, const std::string& why) {
  Fail(report, why);
  return SourceFailed(report);
}

// The reason after a failed call, for the report.
std::string Reason() { return std::strerror(errno ? errno : EIO); }

}  // namespace

int CutToFile(const std::string& source, const std::string& destination, int startMs, int endMs,
              CutReport* reportOut, const CutOptions& options) {
  CutReport local;
  CutReport* report = reportOut ? reportOut : &local;
  *report = CutReport{};

  CutSource cutSource;
  CutRange range;
  if (!cutSource.Open(source, startMs, report)) return SourceFailed(report);
  // A link as the destination: the file it leads to is replaced.
  const std::string target = FollowLinks(destination);
  if (const char* refusal = TargetRefusal(ExamineTarget(target))) {
    return cutSource.MapEnd(endMs, options, &range, report) ? Fail(report, refusal) : SourceFailed(report);
  }

  // The frames and the tags come straight from the source: the new content
  // replaces the destination only at the end, so the source may be it.
  // Only a regular file: a FIFO put in the source's place since its
  // analysis must not hold the cut.
  const UniqueFd in(OpenRegularFile(source.c_str(), O_RDONLY));
  const int openError = errno;
  CTagTransfer transfer;
  const bool hasFields = in.IsOpen() && transfer.ReadFrom(source.c_str());
  const std::vector<std::vector<uint8_t>> pictures =
      options.keepCover ? transfer.Pictures() : std::vector<std::vector<uint8_t>>();
  const CutTags tags{hasFields ? &transfer.Fields() : nullptr, &pictures};
  std::optional<FileReplacement> staging;
  if (in.IsOpen()) staging = BeginCutOutput(target);
  const int stagingError = errno;
  if (staging && !WriteCutHead(staging->Fd(), tags, report)) return 0;

  // A cut to the end of the audio starts copying while the index finds
  // where the last frame ends.
  BackgroundCopy ahead;
  if (staging && cutSource.LikelyPlainToTheEnd(endMs, options)) {
    ahead.Start(in.Get(), staging->Fd(), report->startOffset, cutSource.AudioEnd());
  }
  const bool mapped = cutSource.MapEnd(endMs, options, &range, report);
  if (!mapped || !in.IsOpen() || !staging) {
    ahead.Discard();
    if (!mapped) return SourceFailed(report);
    errno = in.IsOpen() ? stagingError : openError;
    if (!in.IsOpen() && errno == EINVAL) return FailInSource(report, "the source is not a regular file");
    if (!in.IsOpen()) return FailInSource(report, "cannot read the source: " + Reason());
    return Fail(report, "cannot write in the destination folder: " + Reason());
  }
  if (!WriteCutFrames(in.Get(), staging->Fd(), range, startMs, endMs, ahead, report)) return 0;
  if (!WriteCutTail(staging->Fd(), tags, report)) return 0;
  report->tagsCarried = tags.Any();
  return CommitCutOutput(*staging, report) ? 1 : 0;
}
