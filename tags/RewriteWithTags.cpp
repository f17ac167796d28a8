#include "tags/RewriteWithTags.h"

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/io/CreatedFile.h"
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

// The permission bits of a writable regular file, or none.
std::optional<mode_t> WritableMode(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  // A file without any write bit is read-only, also for a privileged user.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return std::nullopt;
  if (::access(path.c_str(), W_OK) != 0) return std::nullopt;
  return info.st_mode & 0777;
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
  const std::optional<mode_t> mode = WritableMode(target->path);
  if (!mode) return E_FAIL;
  // Never a file someone left or planted under the name: another name then.
  std::optional<CreatedFile> temp = CreateBeside(target->path, kRewriteTempSuffix);
  if (!temp) return E_FAIL;

  HRESULT result = E_FAIL;
  bool streamClosed = false;
  CId3v2Writer writer;
  if (writer.Open(temp->Fd(), stream) && writer.WriteTagAndAudio(id3v2Fields)) {
    stream->Close();
    streamClosed = true;
    writer.Close();
    const Id3v1Record record = BuildId3v1(id3v1Fields);
    if (WriteId3v1AtEnd(temp->Fd(), record) && ::fchmod(temp->Fd(), *mode) == 0 &&
        ::fsync(temp->Fd()) == 0 && temp->CloseFd()) {
      const bool moved = temp->MoveOnto(target->path);
      Reopen(stream, *target);
      streamClosed = false;
      if (moved) result = S_OK;
    }
  }

  writer.Close();
  temp->Remove();  // nothing once it has replaced the target
  if (result != S_OK) {
    if (streamClosed) Reopen(stream, *target);
    if (position >= 0) stream->Seek(position, FILE_BEGIN);
  }
  return result;
}
