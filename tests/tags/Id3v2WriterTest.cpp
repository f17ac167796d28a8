#include "tags/Id3v2Writer.h"

#include <gtest/gtest.h>

#include "tags/FileStream.h"
#include "tags/TagFieldList.h"
#include "tags/TextConvert.h"
#include "tests/tags/TagTestBytes.h"

namespace {

// Writes `fields` and the audio of a source holding `source` into a new
// file; returns its bytes (empty on failure).
Bytes WriteWith(const CTagFieldList& fields, const Bytes& source) {
  TempDir dir;
  WriteTestFile(dir.File("src"), source);
  CFileStream stream;
  if (stream.OpenA(dir.File("src").c_str(), false) != S_OK) return {};
  CId3v2Writer writer;
  if (!writer.Open(dir.File("out").c_str(), &stream)) return {};
  const bool ok = writer.WriteTagAndAudio(fields);
  writer.Close();
  return ok ? ReadFileBytes(dir.File("out")) : Bytes{};
}

const Bytes kAudio = FakeAudio(600);

Bytes FramesArea(const Bytes& file) {
  const uint32_t size = (file[6] << 21) | (file[7] << 14) | (file[8] << 7) | file[9];
  return Bytes(file.begin() + 10, file.begin() + 10 + size);
}

}  // namespace

TEST(Id3v2Writer, EmptyListGivesHeaderAnd28ZeroBytes) {
  const CTagFieldList fields;
  const Bytes file = WriteWith(fields, kAudio);
  ASSERT_EQ(file.size(), 10 + 28 + kAudio.size());
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 10),
            (Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 28}));
  EXPECT_EQ(FramesArea(file), Bytes(28, 0));
  EXPECT_EQ(Bytes(file.begin() + 38, file.end()), kAudio);
}

// Version 2.3 text: ASCII in encoding 0, anything else UTF-16 with a mark.
TEST(Id3v2Writer, WritesEachFieldsFrameData) {
  const Bytes latinCafe = Cat({{1, 0xFF, 0xFE}, Utf16Le(u"Caf\u00E9")});
  const struct {
    int32_t key;
    const char* narrow;     // in the tag charset (CP949)
    const char16_t* wide;   // when `narrow` is null
    Bytes data;             // empty: no frame
  } cases[] = {
      {TAG_COMMENT, "hi", nullptr, Cat({{0}, Str("eng"), {0}, Str("hi")})},
      {TAG_COMMENT, nullptr, u"\u00E9", Cat({{1}, Str("eng"), {0xFF, 0xFE, 0, 0}, {0xFF, 0xFE, 0xE9, 0}})},
      {TAG_TITLE, "\xB0\xA1", nullptr, {1, 0xFF, 0xFE, 0x00, 0xAC}},  // CP949 "가"
      {TAG_TITLE, "Caf\xE9", nullptr, latinCafe},                      // not CP949: Latin-1
      {TAG_ARTIST, nullptr, u"Caf\u00E9", latinCafe},
      {TAG_YEAR, "2004-05-12", nullptr, TextData(0, Str("2004"))},
      {TAG_YEAR, nullptr, u"1999", TextData(0, Str("1999"))},
      {TAG_YEAR, "May 2004", nullptr, {}},
      {TAG_YEAR, "199", nullptr, {}},
      // The genre: a reference for the table's names; its own text otherwise,
      // escaped or behind "(255)" only where it would read back differently.
      {TAG_GENRE, "Rock", nullptr, TextData(0, Str("(17)Rock"))},
      {TAG_GENRE, "rOCK", nullptr, TextData(0, Str("(17)rOCK"))},
      {TAG_GENRE, "Synthpop", nullptr, TextData(0, Str("(147)Synthpop"))},
      {TAG_GENRE, "", nullptr, TextData(0, Str("(255)"))},
      {TAG_GENRE, "Foo", nullptr, TextData(0, Str("Foo"))},
      {TAG_GENRE, "Rock (Live)", nullptr, TextData(0, Str("Rock (Live)"))},
      {TAG_GENRE, "(Live) Rock", nullptr, TextData(0, Str("(Live) Rock"))},
      {TAG_GENRE, "(17) mix", nullptr, TextData(0, Str("((17) mix"))},
      {TAG_GENRE, "17", nullptr, TextData(0, Str("(255)17"))},
      {TAG_GENRE, nullptr, u"\uBC1C\uB77C\uB4DC", Cat({{1, 0xFF, 0xFE}, Utf16Le(u"\uBC1C\uB77C\uB4DC")})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.narrow ? c.narrow : "(wide)");
    CTagFieldList fields;
    if (c.narrow) fields.SetText(c.key, c.narrow);
    if (!c.narrow) fields.SetWideText(c.key, c.wide);
    const Bytes file = WriteWith(fields, kAudio);
    const Bytes area = FramesArea(file);
    if (c.data.empty()) {
      EXPECT_EQ(area, Bytes(28, 0));
      continue;
    }
    const uint32_t size = (area[4] << 24) | (area[5] << 16) | (area[6] << 8) | area[7];
    EXPECT_EQ(Bytes(area.begin() + 10, area.begin() + 10 + size), c.data);
    // Every genre reads back as the text it was written from.
    if (c.key == TAG_GENRE) {
      EXPECT_EQ(TextOf(ReadFieldTexts(file), TAG_GENRE), *FieldUtf8Text(*fields.Head()));
    }
  }
}

TEST(Id3v2Writer, WritesFieldsInListOrderWithPlainSizes) {
  CTagFieldList fields;
  fields.SetText(TAG_TRACK, "7");
  fields.SetText(TAG_TITLE, "\xB0\xA1");            // CP949 "가"
  fields.SetWideText(TAG_ARTIST, std::u16string(150, u'\uB098').c_str());  // 303 bytes of frame data
  const Bytes area = FramesArea(WriteWith(fields, kAudio));
  const Bytes expected = Cat({Frame23("TRCK", TextData(0, Str("7"))),
                              Frame23("TIT2", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(u"\uAC00")})))});
  ASSERT_EQ(area.size(), 12u + 15u + 313u);
  EXPECT_EQ(Bytes(area.begin(), area.begin() + 27), expected);
  // TPE1 with 303 = 0x12F bytes of data: a plain size, not sync-safe.
  EXPECT_EQ(Bytes(area.begin() + 27, area.begin() + 35), Cat({Str("TPE1"), {0, 0, 0x01, 0x2F}}));
}

TEST(Id3v2Writer, CopiesAudioFromTheFirstFrameHeader) {
  const CTagFieldList fields;
  // Junk before the first header is dropped.
  const Bytes junk = Cat({Str("junk junk"), kAudio});
  Bytes file = WriteWith(fields, junk);
  EXPECT_EQ(Bytes(file.begin() + 38, file.end()), kAudio);

  // Without any header in the first 65539 bytes the whole source is copied.
  const Bytes noAudio(70000, 0x11);
  file = WriteWith(fields, noAudio);
  EXPECT_EQ(Bytes(file.begin() + 38, file.end()), noAudio);
}

TEST(Id3v2Writer, DoesNotCopyTheSourcesOwnTag) {
  // A UTF-16 text (FF FE 54 00 ...) looks like a frame header; the old tag
  // is passed over as a whole, also when it is larger than the search window.
  const Bytes oldTag = Tag(3, Cat({Frame23("APIC", Bytes(70000, 0xAA)),
                                   Frame23("TIT2", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(u"Title")})))}));
  const CTagFieldList fields;
  const Bytes file = WriteWith(fields, Cat({oldTag, kAudio}));
  EXPECT_EQ(Bytes(file.begin() + 38, file.end()), kAudio);
  // Two tags in a row are both passed over.
  const Bytes twice = WriteWith(fields, Cat({oldTag, Tag(4, Frame24("TIT2", TextData(0, Str("x")))), kAudio}));
  EXPECT_EQ(Bytes(twice.begin() + 38, twice.end()), kAudio);
}

TEST(Id3v2Writer, FailsWhenTheOutputCannotBeCreated) {
  TempDir dir;
  WriteTestFile(dir.File("src"), kAudio);
  CFileStream stream;
  ASSERT_EQ(stream.OpenA(dir.File("src").c_str(), false), S_OK);
  CId3v2Writer writer;
  EXPECT_FALSE(writer.Open(dir.File("missing/out").c_str(), &stream));
  EXPECT_FALSE(writer.WriteTagAndAudio(CTagFieldList()));
  // The writer's reference was given back: one AddRef/Release pair is left.
  EXPECT_EQ(stream.AddRef(), 2u);
  EXPECT_EQ(stream.Release(), 1u);
}
