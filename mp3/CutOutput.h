// CutOutput: the steps that make one cut's output file, shared by the single
// cut (CutToFile) and the split into tracks (split/SplitToFiles), which
// makes many outputs from one opened source.
//
// The content is built in a staging file created exclusively beside the
// target (BeginCutOutput): a fresh ID3v2 tag (WriteCutHead), the frames of
// the range (WriteCutFrames), an ID3v1 record (WriteCutTail), and only then
// renamed over the target (CommitCutOutput). Until then the target stays as
// it was; a staging file that is never committed is removed by the
// FileReplacement that holds it. Every step that fails sets report->error
// and returns false.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mp3/CutRange.h"
#include "mp3/CutTypes.h"
#include "platform/io/FileReplacement.h"

class BackgroundCopy;
class CTagFieldList;

// The tags around a cut's frames: the text fields (in the ID3v2 tag and the
// ID3v1 record) and the attached pictures (ID3v2 only, Id3v2Pictures.h).
struct CutTags {
  const CTagFieldList* fields = nullptr;
  const std::vector<std::vector<uint8_t>>* pictures = nullptr;

  bool HasFields() const;
  bool HasPictures() const { return pictures && !pictures->empty(); }
  // Whether the output carries tags at all.
  bool Any() const { return HasFields() || HasPictures(); }
};

// Why a destination of `kind` cannot take a cut, or null.
const char* TargetRefusal(TargetKind kind);

// A new staging file for `target` (errno set when none could be created).
std::optional<FileReplacement> BeginCutOutput(const std::string& target);

// The ID3v2 tag, when `tags` has any.
bool WriteCutHead(int out, const CutTags& tags, CutReport* report);

// The frames of `range` from `in` at `out`'s position: the cut with options
// when they ask for more than the frames and the source allows it, else the
// plain byte copy, or the part of the copy `ahead` made that it needs
// (`ahead` not started: none). report->startOffset and endOffset hold the
// plain cut's frame offsets and become those of the frames written.
bool WriteCutFrames(int in, int out, const CutRange& range, int startMs, int endMs, BackgroundCopy& ahead,
                    CutReport* report);

// The ID3v1 record, when `tags` has text fields.
bool WriteCutTail(int out, const CutTags& tags, CutReport* report);

// Moves the finished content over the target; its size in
// report->outputSize.
bool CommitCutOutput(FileReplacement& staging, CutReport* report);
