#include "tags/RewriteWithTags.h"

#include <optional>
#include <string>

#include "platform/io/FileReplacement.h"
#include "tags/IFileStream.h"
#include "tags/Id3v1Record.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagFieldList.h"
#include "tags/TextConvert.h"

namespace {

// The target's name in the form the stream was opened with.
struct TargetName {
  std::optional<std::string> ansi;
  std::optional<std::u16string> wide;
  std::string path;  // UTF-8, for the file system
};

std::optional<TargetName> TargetOf(IFileStream* stream) {
  TargetName target;
  if (const char* ansi = stream->GetNameA()) {
    target.ansi = ansi;
    target.path = ansi;
    return target;
  }
  if (const char16_t* wide = stream->GetNameW()) {
    std::optional<std::string> path = WideToUtf8(wide);
    if (!path) return std::nullopt;
    target.wide = wide;
    target.path = *path;
    return target;
  }
  return std::nullopt;
}

void Reopen(IFileStream* stream, const TargetName& target) {
  if (target.ansi) {
    stream->OpenA(target.ansi->c_str(), false);
  } else {
    stream->OpenW(target.wide->c_str(), false);
  }
}

}  // namespace

HRESULT RewriteWithTags(IFileStream* stream, const CTagFieldList& fields, bool withId3v1,
                        bool withId3v2) {
  if (!stream) return E_FAIL;
  const int64_t position = stream->Tell();
  if (!withId3v1 && !withId3v2) return E_FAIL;
  const CTagFieldList empty;
  const CTagFieldList& id3v1Fields = withId3v1 ? fields : empty;
  const CTagFieldList& id3v2Fields = withId3v2 ? fields : empty;

  const std::optional<TargetName> target = TargetOf(stream);
  if (!target) return E_FAIL;
  if (ExamineTarget(target->path) != TargetKind::kReplaceable) return E_FAIL;
  // Never a file someone left or planted under the name: another name then.
  std::optional<FileReplacement> temp = FileReplacement::Beside(target->path, kRewriteTempSuffix);
  if (!temp) return E_FAIL;

  HRESULT result = E_FAIL;
  bool streamClosed = false;
  CId3v2Writer writer;
  if (writer.Open(temp->Fd(), stream) && writer.WriteTagAndAudio(id3v2Fields)) {
    stream->Close();
    streamClosed = true;
    writer.Close();
    const Id3v1Record record = BuildId3v1(id3v1Fields);
    if (WriteId3v1AtEnd(temp->Fd(), record)) {
      const bool replaced = temp->Commit() == FileReplacement::CommitResult::kDone;
      Reopen(stream, *target);
      streamClosed = false;
      if (replaced) result = S_OK;
    }
  }

  writer.Close();
  temp.reset();  // removes the new file unless it replaced the target
  if (result != S_OK) {
    if (streamClosed) Reopen(stream, *target);
    if (position >= 0) stream->Seek(position, FILE_BEGIN);
  }
  return result;
}
