#include "tags/Id3v1Record.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/io/ReadWrite.h"
#include "platform/io/RegularFile.h"
#include "platform/io/UniqueFd.h"
#include "tags/Genres.h"
#include "tags/TagFieldList.h"
#include "tags/TextConvert.h"

namespace {

constexpr char kTagMagic[3] = {'T', 'A', 'G'};

// Stores a fixed-width field: up to `width` bytes, ending at a NUL, without
// the trailing blanks that pad it. An all-blank field is not stored.
void StoreFixedText(CTagFieldList& fields, int32_t key, const Id3v1Record& record, size_t offset,
                    size_t width) {
  if (record.bytes[offset] == 0) return;
  const char* text = reinterpret_cast<const char*>(record.bytes + offset);
  size_t length = 0;
  while (length < width && text[length] != '\0') ++length;
  while (length > 0 && text[length - 1] == ' ') --length;
  if (length == 0) return;
  fields.SetText(key, text, static_cast<int64_t>(length));
}

// The field's text in the narrow charset, whole.
std::optional<std::string> NarrowText(const TagField& field) {
  if (field.narrow) return *field.narrow;
  if (field.wide) return WideToAnsi(*field.wide);
  return std::nullopt;
}

// The field's text in the narrow charset, cut to `width` bytes without
// splitting a character.
std::optional<std::string> FittedText(const TagField& field, size_t width) {
  if (field.narrow && field.narrow->size() <= width) return *field.narrow;
  if (field.narrow) {
    std::optional<std::u16string> wide = AnsiToWide(*field.narrow);
    if (!wide) return std::nullopt;
    // Text the charset cannot hold was read as ISO-8859-1 (TextConvert.h):
    // one byte a character, so its bytes are cut as they stand.
    if (WideToAnsi(*wide) != *field.narrow) return field.narrow->substr(0, width);
    return WideToAnsiFitting(*wide, width);
  }
  if (field.wide) return WideToAnsiFitting(*field.wide, width);
  return std::nullopt;
}

void PutText(Id3v1Record& record, const CTagFieldList& fields, int32_t key, size_t offset,
             size_t width) {
  const TagField* field = fields.Find(key);
  if (!field) return;
  std::optional<std::string> text = FittedText(*field, width);
  if (!text) return;  // not convertible: the field stays blank
  std::memcpy(record.bytes + offset, text->data(), std::min(width, text->size()));
}

// atoi: leading blanks, a sign and the leading digits; values beyond int
// saturate as strtol does.
int AsciiToInt(const std::string& text) {
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace

Id3v1Record Id3v1Record::Blank() {
  Id3v1Record record;
  std::memset(record.bytes, 0, kSize);
  record.bytes[kGenreOffset] = kNoGenre;
  return record;
}

bool Id3v1Record::HasTag() const { return std::memcmp(bytes, kTagMagic, sizeof kTagMagic) == 0; }

const char* GenreName(const Id3v1Record& record) {
  if (!record.HasTag()) return nullptr;
  return GenreNameAt(record.bytes[Id3v1Record::kGenreOffset]);
}

void ParseId3v1(const Id3v1Record& record, CTagFieldList& fields) {
  if (!record.HasTag()) return;
  using R = Id3v1Record;
  StoreFixedText(fields, TAG_TITLE, record, R::kTitleOffset, R::kTitleWidth);
  StoreFixedText(fields, TAG_ARTIST, record, R::kArtistOffset, R::kArtistWidth);
  StoreFixedText(fields, TAG_ALBUM, record, R::kAlbumOffset, R::kAlbumWidth);
  StoreFixedText(fields, TAG_YEAR, record, R::kYearOffset, R::kYearWidth);
  if (const char* genre = GenreName(record)) fields.SetText(TAG_GENRE, genre);
  const bool hasTrack = record.bytes[R::kTrackMarkerOffset] == 0;
  if (hasTrack && record.bytes[R::kTrackOffset] != 0) {
    fields.SetNumber(TAG_TRACK, record.bytes[R::kTrackOffset]);
  }
  StoreFixedText(fields, TAG_COMMENT, record, R::kCommentOffset,
                 hasTrack ? R::kShortCommentWidth : R::kCommentWidth);
}

Id3v1Record BuildId3v1(const CTagFieldList& fields) {
  using R = Id3v1Record;
  Id3v1Record record = Id3v1Record::Blank();
  std::memcpy(record.bytes, kTagMagic, sizeof kTagMagic);
  PutText(record, fields, TAG_TITLE, R::kTitleOffset, R::kTitleWidth);
  PutText(record, fields, TAG_ARTIST, R::kArtistOffset, R::kArtistWidth);
  PutText(record, fields, TAG_ALBUM, R::kAlbumOffset, R::kAlbumWidth);
  if (const TagField* year = fields.Find(TAG_YEAR)) {
    if (std::optional<std::string> digits = YearOf(*year)) {
      std::memcpy(record.bytes + R::kYearOffset, digits->data(), std::min(digits->size(), R::kYearWidth));
    }
  }
  if (const TagField* genre = fields.Find(TAG_GENRE)) {
    std::optional<std::string> text = NarrowText(*genre);
    if (text) record.bytes[R::kGenreOffset] = GenreIndexOf(*text);
  }
  if (const TagField* track = fields.Find(TAG_TRACK)) {
    std::optional<std::string> text = NarrowText(*track);
    if (text) record.bytes[R::kTrackOffset] = static_cast<uint8_t>(AsciiToInt(*text) & 0xFF);
  }
  PutText(record, fields, TAG_COMMENT, R::kCommentOffset, R::kShortCommentWidth);
  // Byte 125 stays 0: always the ID3v1.1 form.
  return record;
}

bool WriteId3v1AtEnd(int fd, const Id3v1Record& record) {
  struct stat info;
  if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  off_t at = info.st_size;
  // Only a file of at least 128 bytes can already end with a record.
  if (info.st_size >= static_cast<off_t>(Id3v1Record::kSize)) {
    const off_t lastRecord = info.st_size - static_cast<off_t>(Id3v1Record::kSize);
    uint8_t old[Id3v1Record::kSize];
    if (PReadUpTo(fd, old, sizeof old, lastRecord) != static_cast<ssize_t>(sizeof old)) return false;
    if (std::memcmp(old, kTagMagic, sizeof kTagMagic) == 0) at = lastRecord;
  }
  return PWriteAll(fd, record.bytes, Id3v1Record::kSize, at);
}

bool WriteId3v1AtEnd(const char* utf8Name, const Id3v1Record& record) {
  if (!utf8Name) return false;
  const UniqueFd fd(OpenRegularFile(utf8Name, O_RDWR));
  return fd.IsOpen() && WriteId3v1AtEnd(fd.Get(), record);
}

bool WriteId3v1AtEnd(const char16_t* wideName, const Id3v1Record& record) {
  if (!wideName) return false;
  std::optional<std::string> name = WideToUtf8(wideName);
  return name && WriteId3v1AtEnd(name->c_str(), record);
}
