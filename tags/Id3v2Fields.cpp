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

template <typename Text>
Text AfterLastParenthesis(const Text& text) {
  const size_t close = text.rfind(typename Text::value_type(')'));
  return close == Text::npos ? text : text.substr(close + 1);
}

// The genre a bare reference stands for: "(17)" (the last of several) or,
// as version 2.4 writes it, "17". Null when the text is no such reference.
template <typename Text>
const char* ReferencedGenre(const Text& text) {
  size_t end = text.size();
  size_t begin = 0;
  if (end >= 2 && text[end - 1] == ')') {
    begin = text.rfind(typename Text::value_type('('));
    if (begin == Text::npos) return nullptr;
    ++begin;
    --end;
  }
  if (begin >= end || end - begin > 3) return nullptr;
  int index = 0;
  for (size_t i = begin; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return nullptr;
    index = index * 10 + static_cast<int>(text[i] - '0');
  }
  return GenreNameAt(index);
}

// The part after the last ')'; a text that is only a genre reference gives
// the referenced name instead of nothing.
void StoreGenre(const Id3v2Frame* frame, CTagFieldList& fields) {
  if (!frame) return;
  if (frame->wide && !frame->wide->empty()) {
    if (const char* name = ReferencedGenre(*frame->wide)) {
      fields.SetText(TAG_GENRE, name);
    } else {
      fields.SetWideText(TAG_GENRE, AfterLastParenthesis(*frame->wide).c_str());
    }
  } else if (frame->narrow && !frame->narrow->empty()) {
    const char* name = ReferencedGenre(*frame->narrow);
    fields.SetText(TAG_GENRE, name ? name : AfterLastParenthesis(*frame->narrow).c_str());
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
