#include "tags/Id3v2Fields.h"

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

void StoreGenre(const Id3v2Frame* frame, CTagFieldList& fields) {
  if (!frame) return;
  if (frame->wide && !frame->wide->empty()) {
    fields.SetWideText(TAG_GENRE, AfterLastParenthesis(*frame->wide).c_str());
  } else if (frame->narrow && !frame->narrow->empty()) {
    fields.SetText(TAG_GENRE, AfterLastParenthesis(*frame->narrow).c_str());
  }
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
  StoreComment(reader.Find(ID3_FRAME_COMM), fields);
  StoreNonEmpty(reader.Find(ID3_FRAME_TRCK), TAG_TRACK, fields);
}
