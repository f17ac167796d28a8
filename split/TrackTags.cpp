#include "split/TrackTags.h"

#include "mp3/PathParts.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagFieldList.h"
#include "tags/TextConvert.h"

namespace {

void SetUtf8(CTagFieldList* fields, int32_t key, const std::string& text) {
  if (text.empty()) return;
  const std::optional<std::u16string> wide = Utf8ToWide(text);
  if (wide) fields->SetWideText(key, wide->c_str());
}

}  // namespace

std::string SourceTitleOf(const CTagFieldList& sourceFields, const std::string& sourcePath) {
  if (const TagField* title = sourceFields.Find(TAG_TITLE)) {
    const std::optional<std::string> text = FieldUtf8Text(*title);
    if (text && !text->empty()) return *text;
  }
  return GetFileTitlePart(sourcePath);
}

std::string NumberedTitle(const std::string& sourceTitle, int number) {
  return sourceTitle + " (" + std::to_string(number) + ")";
}

void FillTrackFields(const CTagFieldList& sourceFields, const TrackTagText& text, CTagFieldList* out) {
  out->Clear();
  for (const TagField* field = sourceFields.Head(); field; field = field->next) {
    if (field->wide) out->SetWideText(field->key, field->wide->c_str());
    if (field->narrow) out->SetText(field->key, field->narrow->c_str());
  }
  SetUtf8(out, TAG_TITLE, text.title);
  SetUtf8(out, TAG_ARTIST, text.artist);
  SetUtf8(out, TAG_ALBUM, text.album);
  SetUtf8(out, TAG_YEAR, text.year);
  SetUtf8(out, TAG_GENRE, text.genre);
  out->SetText(TAG_TRACK, (std::to_string(text.number) + "/" + std::to_string(text.count)).c_str());
}
