#include "tags/Id3v1Record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tags/Genres.h"
#include "tags/TagFieldList.h"
#include "tags/TextConvert.h"
#include "tests/tags/TagTestBytes.h"

namespace {

Id3v1Record RecordOf(const Bytes& bytes) {
  Id3v1Record record;
  std::memcpy(record.bytes, bytes.data(), 128);
  return record;
}

std::string Narrow(const CTagFieldList& fields, int key) {
  const TagField* field = fields.Find(key);
  return field && field->narrow ? *field->narrow : "<absent>";
}

std::string FieldAt(const Id3v1Record& record, size_t offset, size_t width) {
  const char* text = reinterpret_cast<const char*>(record.bytes + offset);
  return std::string(text, strnlen(text, width));
}

}  // namespace

TEST(Genres, NamesAndIndexes) {
  EXPECT_STREQ(GenreNameAt(0), "Blues");
  EXPECT_STREQ(GenreNameAt(17), "Rock");
  EXPECT_STREQ(GenreNameAt(147), "Synthpop");
  EXPECT_EQ(GenreNameAt(148), nullptr);
  EXPECT_EQ(GenreIndexOf("Rock"), 17);
  EXPECT_EQ(GenreIndexOf("rOcK"), 17);
  EXPECT_EQ(GenreIndexOf("Rock "), 255);
  EXPECT_EQ(GenreIndexOf("Christian Gangsta Rap"), 136);
  EXPECT_EQ(GenreIndexOf(""), 255);

  Id3v1Record record = RecordOf(V1Record("", "", "", "", "", 0, 147));
  EXPECT_STREQ(GenreName(record), "Synthpop");
  record.bytes[127] = 148;
  EXPECT_EQ(GenreName(record), nullptr);
  record.bytes[127] = 255;
  EXPECT_EQ(GenreName(record), nullptr);
  EXPECT_EQ(GenreName(Id3v1Record::Blank()), nullptr);
}

TEST(Id3v1Record, ParsesFieldsInRecordOrder) {
  const Bytes bytes = V1Record("Title", "Artist", "Album", "1999", "Comment", 7, 17);
  CTagFieldList fields;
  ParseId3v1(RecordOf(bytes), fields);
  std::vector<int> order;
  for (const TagField* f = fields.Head(); f; f = f->next) order.push_back(f->key);
  EXPECT_EQ(order, (std::vector<int>{TAG_TITLE, TAG_ARTIST, TAG_ALBUM, TAG_YEAR, TAG_GENRE,
                                     TAG_TRACK, TAG_COMMENT}));
  EXPECT_EQ(Narrow(fields, TAG_GENRE), "Rock");
  EXPECT_EQ(Narrow(fields, TAG_TRACK), "7");
  EXPECT_EQ(Narrow(fields, TAG_YEAR), "1999");

  // Not "TAG": nothing.
  CTagFieldList none;
  ParseId3v1(Id3v1Record::Blank(), none);
  EXPECT_TRUE(none.Empty());
}

TEST(Id3v1Record, TrackByteDecidesTheCommentWidth) {
  Bytes bytes = V1Record("t", "", "", "", "", 7, 255);
  std::memcpy(bytes.data() + 97, "123456789012345678901234567890", 30);
  bytes[125] = 0;
  bytes[126] = 7;
  CTagFieldList v11;
  ParseId3v1(RecordOf(bytes), v11);
  EXPECT_EQ(Narrow(v11, TAG_TRACK), "7");
  EXPECT_EQ(Narrow(v11, TAG_COMMENT), "1234567890123456789012345678");

  std::memcpy(bytes.data() + 97, "123456789012345678901234567890", 30);
  CTagFieldList v10;
  ParseId3v1(RecordOf(bytes), v10);
  EXPECT_EQ(Narrow(v10, TAG_TRACK), "<absent>");
  EXPECT_EQ(Narrow(v10, TAG_COMMENT), "123456789012345678901234567890");
}

TEST(Id3v1Record, FullWidthFieldsAreCutAndPaddingBlanksDropped) {
  Bytes bytes = V1Record("", "Artist      ", "", "", "", 0, 255);
  std::memcpy(bytes.data() + 3, "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234", 30);  // no NUL
  std::memset(bytes.data() + 63, ' ', 30);                              // only blanks
  CTagFieldList fields;
  ParseId3v1(RecordOf(bytes), fields);
  EXPECT_EQ(Narrow(fields, TAG_TITLE), "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234");
  EXPECT_EQ(Narrow(fields, TAG_ARTIST), "Artist");
  EXPECT_EQ(Narrow(fields, TAG_ALBUM), "<absent>");
}

TEST(Id3v1Record, BuildsAnId3v11Record) {
  CTagFieldList fields;
  fields.SetText(TAG_TITLE, "Title");
  fields.SetWideText(TAG_ARTIST, u"\uAC00\uB098");  // CP949 B0 A1 B3 AA
  fields.SetText(TAG_YEAR, "2004-05-12");
  fields.SetText(TAG_GENRE, "rock");
  fields.SetText(TAG_TRACK, "3/12");
  fields.SetText(TAG_COMMENT, "123456789012345678901234567890");
  const Id3v1Record record = BuildId3v1(fields);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.bytes), 3), "TAG");
  EXPECT_EQ(FieldAt(record, 3, 30), "Title");
  EXPECT_EQ(FieldAt(record, 33, 30), "\xB0\xA1\xB3\xAA");
  EXPECT_EQ(FieldAt(record, 63, 30), "");
  EXPECT_EQ(FieldAt(record, 93, 4), "2004");
  EXPECT_EQ(FieldAt(record, 97, 28), "1234567890123456789012345678");
  EXPECT_EQ(record.bytes[125], 0);
  EXPECT_EQ(record.bytes[126], 3);
  EXPECT_EQ(record.bytes[127], 17);

  auto trackByte = [](const char* text) {
    CTagFieldList f;
    f.SetText(TAG_TRACK, text);
    return BuildId3v1(f).bytes[126];
  };
  EXPECT_EQ(trackByte("300"), 44);
  EXPECT_EQ(trackByte("x"), 0);
  EXPECT_EQ(trackByte(" 12"), 12);

  const Id3v1Record empty = BuildId3v1(CTagFieldList());
  EXPECT_EQ(FieldAt(empty, 0, 3), "TAG");
  EXPECT_EQ(empty.bytes[127], 255);
  EXPECT_EQ(Bytes(empty.bytes + 3, empty.bytes + 127), Bytes(124, 0));
}

TEST(Id3v1Record, NeverCutsAKoreanCharacterInHalf) {
  CTagFieldList fields;
  // "a" + 15 syllables = 31 bytes of CP949: 14 syllables fit after the "a".
  fields.SetWideText(TAG_TITLE, (u"a" + std::u16string(15, u'\uAC00')).c_str());
  // Narrow text longer than its width is cut the same way.
  std::string narrow = "a";
  for (int i = 0; i < 15; ++i) narrow += "\xB0\xA1";
  fields.SetText(TAG_COMMENT, narrow.c_str());
  const Id3v1Record record = BuildId3v1(fields);
  std::string expected = "a";
  for (int i = 0; i < 14; ++i) expected += "\xB0\xA1";
  EXPECT_EQ(FieldAt(record, 3, 30), expected);
  EXPECT_EQ(record.bytes[32], 0);
  std::string comment = "a";
  for (int i = 0; i < 13; ++i) comment += "\xB0\xA1";
  EXPECT_EQ(FieldAt(record, 97, 28), comment);
}

TEST(Id3v1Record, WriteAtEndOverwritesOrAppends) {
  TempDir dir;
  const Id3v1Record record = BuildId3v1(CTagFieldList());
  const Bytes withTag = Cat({FakeAudio(500), V1Record("old", "", "", "", "", 0, 1)});
  WriteTestFile(dir.File("a"), withTag);
  ASSERT_TRUE(WriteId3v1AtEnd(dir.File("a").c_str(), record));
  Bytes after = ReadFileBytes(dir.File("a"));
  ASSERT_EQ(after.size(), withTag.size());
  EXPECT_EQ(Bytes(after.end() - 128, after.end()), Bytes(record.bytes, record.bytes + 128));

  WriteTestFile(dir.File("b"), FakeAudio(500));
  const std::optional<std::u16string> wideName = Utf8ToWide(dir.File("b"));
  ASSERT_TRUE(wideName);
  ASSERT_TRUE(WriteId3v1AtEnd(wideName->c_str(), record));
  EXPECT_EQ(ReadFileBytes(dir.File("b")).size(), 628u);

  // Too short to end with a record, even one that begins with "TAG".
  for (const Bytes& small : {Bytes{}, Cat({Str("TAG"), Bytes(124, 7)})}) {
    WriteTestFile(dir.File("c"), small);
    EXPECT_TRUE(WriteId3v1AtEnd(dir.File("c").c_str(), record));
    EXPECT_EQ(ReadFileBytes(dir.File("c")), Cat({small, Bytes(record.bytes, record.bytes + 128)}));
  }
  EXPECT_FALSE(WriteId3v1AtEnd(dir.File("missing").c_str(), record));
  EXPECT_FALSE(FileExists(dir.File("missing")));
}
