#include "mp3/CutOutput.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "mp3/ExactCut.h"
#include "mp3/PathParts.h"
#include "platform/io/BackgroundCopy.h"
#include "platform/io/CopyRange.h"
#include "platform/io/ReadWrite.h"
#include "tags/Id3v1Record.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagFieldList.h"

namespace {

constexpr int kStagingAttempts = 100;

bool Fail(CutReport* report, const std::string& why) {
  report->error = why;
  return false;
}

// The reason after a failed call, for the report.
std::string Reason() { return std::strerror(errno ? errno : EIO); }

bool FailWriting(CutReport* report) { return Fail(report, "cannot write the destination: " + Reason()); }

}  // namespace

const char* TargetRefusal(TargetKind kind) {
  switch (kind) {
    case TargetKind::kFolder: return "the destination is a folder";
    case TargetKind::kNotRegular: return "the destination is not a regular file";
    case TargetKind::kReadOnly: return "the destination is read-only";
    case TargetKind::kAbsent:
    case TargetKind::kReplaceable: break;
  }
  return nullptr;
}

bool CutTags::HasFields() const { return fields && !fields->Empty(); }

// The file's name is short whatever the target's, so a target name of the
// longest length still has room for it.
std::optional<FileReplacement> BeginCutOutput(const std::string& target) {
  const std::string folder = GetFolderPart(target);
  return FileReplacement::Begin(
      target, [&](int) { return folder + ".padocut-" + RandomHex(8) + ".part"; }, kStagingAttempts);
}

bool WriteCutHead(int out, const CutTags& tags, CutReport* report) {
  if (!tags.Any()) return true;
  static const CTagFieldList kNoFields;
  static const std::vector<std::vector<uint8_t>> kNoPictures;
  const std::vector<uint8_t> tag =
      BuildId3v2Tag(tags.fields ? *tags.fields : kNoFields, tags.pictures ? *tags.pictures : kNoPictures);
  return WriteAll(out, tag.data(), tag.size()) || Fail(report, "cannot write the tags into the destination");
}

bool WriteCutFrames(int in, int out, const CutRange& range, int startMs, int endMs, BackgroundCopy& ahead,
                    CutReport* report) {
  const bool plain = !range.options.Any() && range.plainStart < 0;
  if (ahead.Started() && plain && ahead.Keep(report->endOffset, &report->bytesCopied)) return true;
  if (!ahead.Discard()) return FailWriting(report);
  if (range.options.Any()) {
    errno = 0;
    switch (WriteEnhancedCut(in, out, range.info, *range.index, startMs, endMs, report->startOffset,
                             report->endOffset, range.options, report)) {
      case EnhancedCutResult::Written: return true;
      case EnhancedCutResult::NotApplicable: break;
      case EnhancedCutResult::IoError: return FailWriting(report);
      case EnhancedCutResult::Refused:  // the range cannot take the options
        report->errorInSource = true;
        return false;
    }
    // The plain copy would drop the level changes without a word.
    if (range.options.ChangesLevel()) {
      const std::string why = report->note;
      report->note.clear();
      report->errorInSource = true;
      return Fail(report, "cannot change the level: " + why);
    }
    report->note += "; made a plain cut";
  }
  if (range.plainStart >= 0) {
    // Without a new header the source's stays out too: it is not audio.
    if (range.plainStart >= report->endOffset) {
      report->errorInSource = true;
      return Fail(report, "no audio in the range");
    }
    report->startOffset = range.plainStart;
    report->frames -= 1;
  }
  errno = 0;
  return CopyRange(in, out, report->startOffset, report->endOffset, &report->bytesCopied) || FailWriting(report);
}

bool WriteCutTail(int out, const CutTags& tags, CutReport* report) {
  if (!tags.HasFields()) return true;
  const Id3v1Record record = BuildId3v1(*tags.fields);
  return WriteAll(out, record.bytes, Id3v1Record::kSize) ||
         Fail(report, "cannot write the tags into the destination");
}

bool CommitCutOutput(FileReplacement& staging, CutReport* report) {
  struct stat info;
  if (::fstat(staging.Fd(), &info) != 0) return FailWriting(report);
  switch (staging.Commit()) {
    case FileReplacement::CommitResult::kDone: break;
    case FileReplacement::CommitResult::kWriteFailed: return FailWriting(report);
    case FileReplacement::CommitResult::kReplaceFailed:
      return Fail(report, "cannot replace the destination: " + Reason());
  }
  report->outputSize = info.st_size;
  return true;
}
