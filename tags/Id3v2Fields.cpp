#include "tags/Id3v2Fields.h"

#include "tags/Genres.h"
#include "tags/Id3v2Reader.h"
#include "tags/TagFieldList.h"

namespace {

// Stores the frame's text when it is not empty; false when nothing was stored.
bool StoreNonEmpty(const Id3v2Frame* frame, int32_t key, CTagFieldList& fields) {
  if (!frame) return false;
  if (frame->wide && !frame->wide->empty()) {
    fields.SetWideText(key, frame->wide->c_str());
    return true;
  }
  if (frame->narrow && !frame->narrow->empty()) {
    fields.SetText(key, frame->narrow->c_str());
    return true;
  }
  return false;
}

// The genre of the TCON text (Genres.h), as a referenced name or as text.
template <typename Text>
void StoreGenreOf(const Text& text, CTagFieldList& fields) {
  const FrameGenre genre = ParseGenreFrameText(text);
  if (genre.name) {
    fields.SetText(TAG_GENRE, genre.name);
  } else if constexpr (sizeof(typename Text::value_type) == 1) {
    fields.SetText(TAG_GENRE, text.c_str() + genre.textBegin);
  } else {
    fields.SetWideText(TAG_GENRE, text.c_str() + genre.textBegin);
  }
}

void StoreGenre(const Id3v2Frame* frame, CTagFieldList& fields) {
  if (!frame) return;
  if (frame->wide && !frame->wide->empty()) {
    StoreGenreOf(*frame->wide, fields);
  } else if (frame->narrow && !frame->narrow->empty()) {
    StoreGenreOf(*frame->narrow, fields);
  }
}

// The first COMM without a content description (the comment proper, not
// data such as "iTunNORM" that players keep in described comments); the
// first COMM when every one has a description.
const Id3v2Frame* CommentFrame(const CId3v2Reader& reader) {
  for (const Id3v2Frame& frame : reader.Frames()) {
    if (frame.key == ID3_FRAME_COMM && frame.emptyDescription) return &frame;
  }
  return reader.Find(ID3_FRAME_COMM);
}

void StoreComment(const Id3v2Frame* frame, CTagFieldList& fields) {
  if (!frame) return;
  if (frame->wide) {
    fields.SetWideText(TAG_COMMENT, frame->wide->c_str());
  } else if (frame->narrow) {
    fields.SetText(TAG_COMMENT, frame->narrow->c_str());
  }
}

}  // namespace

void TakeId3v2Fields(const CId3v2Reader& reader, CTagFieldList& fields) {
  if (!reader.HasTag()) return;
  StoreNonEmpty(reader.Find(ID3_FRAME_TIT2), TAG_TITLE, fields);
  StoreNonEmpty(reader.Find(ID3_FRAME_TPE1), TAG_ARTIST, fields);
  StoreNonEmpty(reader.Find(ID3_FRAME_TALB), TAG_ALBUM, fields);
  if (!StoreNonEmpty(reader.Find(ID3_FRAME_TYER), TAG_YEAR, fields)) {
    StoreNonEmpty(reader.Find(ID3_FRAME_TDRC), TAG_YEAR, fields);
  }
  StoreGenre(reader.Find(ID3_FRAME_TCON), fields);
  StoreComment(CommentFrame(reader), fields);
  StoreNonEmpty(reader.Find(ID3_FRAME_TRCK), TAG_TRACK, fields);
}
