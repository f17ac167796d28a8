#include "mp3/CutToFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "mp3/CutRange.h"
#include "mp3/ExactCut.h"
#include "mp3/PathParts.h"
#include "platform/io/BackgroundCopy.h"
#include "platform/io/CopyRange.h"
#include "platform/io/FileReplacement.h"
#include "platform/io/ReadWrite.h"
#include "platform/io/RegularFile.h"
#include "platform/io/UniqueFd.h"
#include "tags/Id3v1Record.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagTransfer.h"

namespace {

constexpr int kStagingAttempts = 100;

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

// Why a destination cannot take the cut, or null.
const char* RefusalOf(TargetKind kind) {
  switch (kind) {
    case TargetKind::kFolder: return "the destination is a folder";
    case TargetKind::kNotRegular: return "the destination is not a regular file";
    case TargetKind::kReadOnly: return "the destination is read-only";
    case TargetKind::kAbsent:
    case TargetKind::kReplaceable: break;
  }
  return nullptr;
}

// The file the new content is built in, beside `target`. Its name is short
// whatever the target's, so a target name of the longest length still has
// room for it.
std::optional<FileReplacement> BeginStaging(const std::string& target) {
  const std::string folder = GetFolderPart(target);
  return FileReplacement::Begin(
      target, [&](int) { return folder + ".padocut-" + RandomHex(8) + ".part"; }, kStagingAttempts);
}

// The frames of the range from `in` into `out` at its position: the cut
// with options when they ask for more than the frames and the source allows
// it, else the plain byte copy, or the part of the copy made ahead that it
// needs. False with report->error set.
bool WriteFrames(int in, int out, const CutRange& range, int startMs, int endMs, BackgroundCopy& ahead,
                 CutReport* report) {
  const bool plain = !range.options.Any() && range.plainStart < 0;
  if (ahead.Started() && plain && ahead.Keep(report->endOffset, &report->bytesCopied)) return true;
  if (!ahead.Discard()) return Fail(report, "cannot write the destination: " + Reason());
  if (range.options.Any()) {
    errno = 0;
    switch (WriteEnhancedCut(in, out, range.info, startMs, endMs, report->startOffset, report->endOffset,
                             range.options, report)) {
      case EnhancedCutResult::Written: return true;
      case EnhancedCutResult::NotApplicable: break;
      case EnhancedCutResult::IoError: return Fail(report, "cannot write the destination: " + Reason());
      case EnhancedCutResult::Refused: return SourceFailed(report);  // the range cannot take the options
    }
    // The plain copy would drop the level changes without a word.
    if (range.options.ChangesLevel()) {
      const std::string why = report->note;
      report->note.clear();
      return FailInSource(report, "cannot change the level: " + why);
    }
    report->note += "; made a plain cut";
  }
  if (range.plainStart >= 0) {
    // Without a new header the source's stays out too: it is not audio.
    if (range.plainStart >= report->endOffset) return FailInSource(report, "no audio in the range");
    report->startOffset = range.plainStart;
    report->frames -= 1;
  }
  errno = 0;
  if (!CopyRange(in, out, report->startOffset, report->endOffset, &report->bytesCopied)) {
    return Fail(report, "cannot write the destination: " + Reason());
  }
  return true;
}

// The source's tags go around the frames: a fresh ID3v2 tag in front of
// them and an ID3v1 record after them, both from the same fields.
bool WriteId3v2Tag(int out, const CTagFieldList& fields) {
  const std::vector<uint8_t> tag = BuildId3v2Tag(fields);
  return WriteAll(out, tag.data(), tag.size());
}

bool WriteId3v1Record(int out, const CTagFieldList& fields) {
  const Id3v1Record record = BuildId3v1(fields);
  return WriteAll(out, record.bytes, Id3v1Record::kSize);
}

// Moves the finished content over the destination; its size in
// report->outputSize.
bool CommitStaging(FileReplacement& staging, CutReport* report) {
  struct stat info;
  if (::fstat(staging.Fd(), &info) != 0) return Fail(report, "cannot write the destination: " + Reason());
  switch (staging.Commit()) {
    case FileReplacement::CommitResult::kDone: break;
    case FileReplacement::CommitResult::kWriteFailed:
      return Fail(report, "cannot write the destination: " + Reason());
    case FileReplacement::CommitResult::kReplaceFailed:
      return Fail(report, "cannot replace the destination: " + Reason());
  }
  report->outputSize = info.st_size;
  return true;
}

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
  if (const char* refusal = RefusalOf(ExamineTarget(target))) {
    return cutSource.MapEnd(endMs, options, &range, report) ? Fail(report, refusal) : SourceFailed(report);
  }

  // The frames and the tags come straight from the source: the new content
  // replaces the destination only at the end, so the source may be it.
  // Only a regular file: a FIFO put in the source's place since its
  // analysis must not hold the cut.
  const UniqueFd in(OpenRegularFile(source.c_str(), O_RDONLY));
  const int openError = errno;
  CTagTransfer tags;
  const bool tagged = in.IsOpen() && tags.ReadFrom(source.c_str());
  std::optional<FileReplacement> staging;
  if (in.IsOpen()) staging = BeginStaging(target);
  const int stagingError = errno;
  if (tagged && staging && !WriteId3v2Tag(staging->Fd(), tags.Fields())) {
    return Fail(report, "cannot write the tags into the destination");
  }

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
  if (!WriteFrames(in.Get(), staging->Fd(), range, startMs, endMs, ahead, report)) return 0;
  if (tagged && !WriteId3v1Record(staging->Fd(), tags.Fields())) {
    return Fail(report, "cannot write the tags into the destination");
  }
  report->tagsCarried = tagged;
  return CommitStaging(*staging, report) ? 1 : 0;
}
