#include "tags/Id3v2Reader.h"

#include <gtest/gtest.h>

#include "tags/FileStream.h"
#include "tags/SyncSafe.h"
#include "tags/TagFieldList.h"
#include "tests/tags/TagTestBytes.h"

namespace {

const Bytes kAudio = FakeAudio(2000);

Bytes Latin1Text(std::string_view text) { return TextData(0, Str(text)); }

// Reads the tag of a file holding `bytes` with a fresh reader.
struct ReadTag {
  explicit ReadTag(const Bytes& bytes) {
    path = dir.File("tag.mp3");
    WriteTestFile(path, bytes);
    stream.OpenA(path.c_str(), false);
    reader.Read(&stream);
  }
  TempDir dir;
  std::string path;
  CFileStream stream;
  CId3v2Reader reader;
};

}  // namespace

TEST(SyncSafe, DecodesSevenBitsPerByteIgnoringTopBits) {
  const uint8_t bytes[4] = {0x00, 0x00, 0x02, 0x01};
  EXPECT_EQ(DecodeSyncSafe(bytes), 257u);
  const uint8_t high[4] = {0x80, 0x80, 0x81, 0xFF};
  EXPECT_EQ(DecodeSyncSafe(high), 0xFFu);
  uint8_t out[4];
  EncodeSyncSafe(0x0FFFFFFF, out);
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x7F, 0x7F, 0x7F, 0x7F}));
  EncodeSyncSafe(0x10000080, out);  // bit 28 dropped
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x00, 0x00, 0x01, 0x00}));
  EXPECT_EQ(DecodeSyncSafe(out), 128u);
}

TEST(Id3v2Reader, ReadsV23SizeAsPlainInteger) {
  // 256 bytes of frame data: size bytes 00 00 01 00.
  const std::string title(255, 't');
  const Bytes file = Cat({Tag(3, Cat({Frame23("TIT2", Latin1Text(title)),
                                      Frame23("TPE1", Latin1Text("artist"))})),
                          kAudio});
  EXPECT_EQ(Bytes(file.begin() + 14, file.begin() + 18), (Bytes{0, 0, 1, 0}));
  const FieldTexts fields = ReadFieldTexts(file);
  EXPECT_EQ(TextOf(fields, TAG_TITLE), title);
  EXPECT_EQ(TextOf(fields, TAG_ARTIST), "artist");
}

TEST(Id3v2Reader, FallsBackToTheOtherSizeReadingWhenTheFirstMissesTheNextFrame) {
  const std::string title(127, 'x');  // 128 bytes of data
  // Version 2.3 tag whose writer used sync-safe sizes: 00 00 01 00 means 128.
  const Bytes syncSafeInV23 =
      Cat({Str("TIT2"), SyncSafe32(128), {0, 0}, Latin1Text(title), Frame23("TALB", Latin1Text("al"))});
  FieldTexts fields = ReadFieldTexts(Cat({Tag(3, syncSafeInV23), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), title);
  EXPECT_EQ(TextOf(fields, TAG_ALBUM), "al");

  // Version 2.4 tag whose writer used plain sizes: 00 00 00 80 is 128 plain.
  const Bytes plainInV24 =
      Cat({Str("TIT2"), Be32(128), {0, 0}, Latin1Text(title), Frame24("TALB", Latin1Text("al"))});
  fields = ReadFieldTexts(Cat({Tag(4, plainInV24), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), title);
  EXPECT_EQ(TextOf(fields, TAG_ALBUM), "al");

  // A proper 2.4 size (00 00 01 00 = 128) is kept when it lands on the next frame.
  const Bytes proper = Cat({Frame24("TIT2", Latin1Text(title)), Frame24("TALB", Latin1Text("al"))});
  fields = ReadFieldTexts(Cat({Tag(4, proper), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), title);
  EXPECT_EQ(TextOf(fields, TAG_ALBUM), "al");
}

TEST(Id3v2Reader, ReadsVersion22Frames) {
  const Bytes body = Cat({Frame22("TT2", Latin1Text("t")), Frame22("TP1", Latin1Text("a")),
                          Frame22("TAL", Latin1Text("b")), Frame22("TYE", Latin1Text("2001")),
                          Frame22("TCO", Latin1Text("(8)Jazz")), Frame22("TRK", Latin1Text("4")),
                          Frame22("COM", Latin1Text(std::string("eng\0c", 5)))});
  const FieldTexts fields = ReadFieldTexts(Cat({Tag(2, body), kAudio}));
  const FieldTexts expected = {{TAG_TITLE, "t"},    {TAG_ARTIST, "a"}, {TAG_ALBUM, "b"},
                               {TAG_YEAR, "2001"}, {TAG_GENRE, "Jazz"}, {TAG_COMMENT, "c"},
                               {TAG_TRACK, "4"}};
  EXPECT_EQ(fields, expected);
}

TEST(Id3v2Reader, DecodesTheFourTextEncodings) {
  const std::u16string korean = u"\uAC00\uB098 song";  // "가나 song"
  const std::string koreanUtf8 = "\xEA\xB0\x80\xEB\x82\x98 song";
  struct Case {
    const char* name;
    Bytes data;
    std::string expected;
  } cases[] = {
      // Encoding 0 is the narrow tag charset, CP949 by default.
      {"latin1-cp949", TextData(0, Str("\xB0\xA1\xB3\xAA song")), koreanUtf8},
      {"utf16-ff-fe", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(korean)})), koreanUtf8},
      {"utf16-fe-ff", TextData(1, Cat({{0xFE, 0xFF}, Utf16Be(korean)})), koreanUtf8},
      {"utf16-no-bom", TextData(1, Utf16Le(korean)), koreanUtf8},
      {"utf16be", TextData(2, Utf16Be(korean)), koreanUtf8},
      {"utf8", TextData(3, Str(koreanUtf8)), koreanUtf8},
      {"utf16-nul-ends", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(u"ab"), {0, 0}, Utf16Le(u"cd")})), "ab"},
      {"utf16-odd-length", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(u"ab"), {0x63}})), "ab"},
      {"utf8-nul-ends", TextData(3, Str(std::string("ab\0cd", 5))), "ab"},
      {"unknown-encoding", TextData(7, Str("abc")), "<absent>"},
      {"only-bom", TextData(1, {0xFF, 0xFE}), "<absent>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FieldTexts fields = ReadFieldTexts(Cat({Tag(3, Frame23("TIT2", c.data)), kAudio}));
    EXPECT_EQ(TextOf(fields, TAG_TITLE), c.expected);
  }
}

TEST(Id3v2Reader, TakesTheCommentAfterLanguageAndDescription) {
  struct Case {
    const char* name;
    Bytes data;
    std::string expected;
  } cases[] = {
      {"latin1", Cat({{0}, Str("eng"), {0}, Str("hello")}), "hello"},
      {"latin1-description", Cat({{0}, Str("eng"), Str("desc"), {0}, Str("hello")}), "hello"},
      {"utf16-both-with-bom",
       Cat({{1}, Str("kor"), {0xFF, 0xFE}, Utf16Le(u"d"), {0, 0}, {0xFF, 0xFE}, Utf16Le(u"\uD55C\uAE00")}),
       "\xED\x95\x9C\xEA\xB8\x80"},
      {"utf16-empty-description", Cat({{1}, Str("eng"), {0xFF, 0xFE, 0, 0}, {0xFE, 0xFF}, Utf16Be(u"hi")}),
       "hi"},
      {"utf16be", Cat({{2}, Str("eng"), Utf16Be(u"x"), {0, 0}, Utf16Be(u"hey")}), "hey"},
      {"utf8", Cat({{3}, Str("eng"), {0}, Str("\xEA\xB0\x80")}), "\xEA\xB0\x80"},
      {"description-never-ends", Cat({{0}, Str("eng"), Str("desc")}), ""},
      {"shorter-than-language", Cat({{0}, Str("en")}), ""},
      {"empty-comment", Cat({{0}, Str("eng"), {0}}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FieldTexts fields = ReadFieldTexts(Cat({Tag(3, Frame23("COMM", c.data)), kAudio}));
    EXPECT_EQ(TextOf(fields, TAG_COMMENT), c.expected);
  }
  // The comment proper is the first without a description ...
  const Bytes described = Frame23("COMM", Cat({{0}, Str("eng"), Str("iTunNORM"), {0}, Str("1 2")}));
  const Bytes two = Cat({described, Frame23("COMM", Cat({{1}, Str("eng"), {0xFF, 0xFE, 0, 0},
                                                         {0xFF, 0xFE}, Utf16Le(u"second")}))});
  EXPECT_EQ(TextOf(ReadFieldTexts(Cat({Tag(3, two), kAudio})), TAG_COMMENT), "second");
  // ... else the first one.
  const Bytes both = Cat({described, Frame23("COMM", Cat({{0}, Str("eng"), Str("x"), {0}, Str("2")}))});
  EXPECT_EQ(TextOf(ReadFieldTexts(Cat({Tag(3, both), kAudio})), TAG_COMMENT), "1 2");
}

TEST(Id3v2Reader, GenreIsTheTextAfterTheReferences) {
  auto genreOf = [](std::string_view text) {
    return TextOf(ReadFieldTexts(Cat({Tag(3, Frame23("TCON", Latin1Text(text))), kAudio})),
                  TAG_GENRE);
  };
  EXPECT_EQ(genreOf("(17)Rock"), "Rock");
  EXPECT_EQ(genreOf("(17)Hard Rock"), "Hard Rock");
  // A bare reference names its genre instead of giving nothing.
  EXPECT_EQ(genreOf("(17)"), "Rock");
  EXPECT_EQ(genreOf("(4)(147)"), "Synthpop");
  EXPECT_EQ(genreOf("17"), "Rock");
  EXPECT_EQ(genreOf("(255)"), "");
  EXPECT_EQ(genreOf("(148)"), "");
  EXPECT_EQ(genreOf("(RX)"), "");
  EXPECT_EQ(genreOf("2000"), "2000");
  EXPECT_EQ(genreOf("Rock"), "Rock");
  EXPECT_EQ(genreOf("(4)(17)Disco Rock"), "Disco Rock");
  EXPECT_EQ(genreOf(""), "<absent>");
  // Parentheses that are no reference are the genre's own text.
  EXPECT_EQ(genreOf("Rock (Live)"), "Rock (Live)");
  EXPECT_EQ(genreOf("(17)Rock (Live)"), "Rock (Live)");
  EXPECT_EQ(genreOf("(Live) Rock"), "(Live) Rock");
  EXPECT_EQ(genreOf("((17) mix"), "(17) mix");
  EXPECT_EQ(genreOf("(17"), "(17");
  // Narrow text that is not CP949 is Latin-1.
  EXPECT_EQ(genreOf("Chanson fran\xE7" "aise"), "Chanson fran\xC3\xA7" "aise");
}

TEST(Id3v2Reader, SkipsUnknownFramesAndTakesTheYearFromTdrc) {
  // Version 2.4: TDRC (no table row) before TRCK, an unknown frame before the title.
  const Bytes body = Cat({Frame24("XYZW", Str("junk data")), Frame24("TIT2", Latin1Text("t")),
                          Frame24("TDRC", TextData(3, Str("2004-05-12"))),
                          Frame24("TRCK", Latin1Text("3/12"))});
  FieldTexts fields = ReadFieldTexts(Cat({Tag(4, body), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), "t");
  EXPECT_EQ(TextOf(fields, TAG_YEAR), "2004-05-12");
  EXPECT_EQ(TextOf(fields, TAG_TRACK), "3/12");

  // TYER wins over TDRC; an empty TYER does not.
  fields = ReadFieldTexts(Cat({Tag(3, Cat({Frame23("TDRC", Latin1Text("2004")),
                                           Frame23("TYER", Latin1Text("1999"))})), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_YEAR), "1999");
  fields = ReadFieldTexts(Cat({Tag(3, Cat({Frame23("TYER", Latin1Text("")),
                                           Frame23("TDRC", Latin1Text("2004"))})), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_YEAR), "2004");
}

TEST(Id3v2Reader, SkipsAnExtendedHeader) {
  // 2.3: size 6 not counting itself, 2 flag bytes, 4 bytes of padding size.
  const Bytes ext23 = Cat({Be32(6), {0, 0}, Be32(0)});
  FieldTexts fields = ReadFieldTexts(Cat({Tag(3, Cat({ext23, Frame23("TIT2", Latin1Text("t3"))}), 0x40), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), "t3");
  // 2.4: sync-safe size 6 counting itself, 1 flag-byte count, 1 flag byte.
  const Bytes ext24 = Cat({SyncSafe32(6), {1, 0}});
  fields = ReadFieldTexts(Cat({Tag(4, Cat({ext24, Frame24("TIT2", Latin1Text("t4"))}), 0x40), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), "t4");
  // An extended header larger than the tag leaves a tag without frames.
  ReadTag broken(Cat({Tag(3, Cat({Be32(1000), Frame23("TIT2", Latin1Text("t"))}), 0x40), kAudio}));
  EXPECT_TRUE(broken.reader.HasTag());
  EXPECT_TRUE(broken.reader.Frames().empty());
}

TEST(Id3v2Reader, UndoesUnsynchronisation) {
  // 2.3: the whole tag; FF E0 inside the text was stored as FF 00 E0.
  const Bytes text = TextData(0, Str("a\xFF\xE0z"));
  Bytes stored = Frame23("TIT2", text);
  stored.insert(stored.begin() + 10 + 3, 0x00);  // after the FF
  ReadTag tag(Cat({Tag(3, Cat({stored, Frame23("TPE1", Latin1Text("b"))}), 0x80), kAudio}));
  ASSERT_NE(tag.reader.Find(ID3_FRAME_TIT2), nullptr);
  EXPECT_EQ(tag.reader.Find(ID3_FRAME_TIT2)->narrow, std::string("a\xFF\xE0z"));
  EXPECT_NE(tag.reader.Find(ID3_FRAME_TPE1), nullptr);

  // 2.4: per frame (flag 0x02), here a UTF-16 BOM FF FE stored as FF 00 FE.
  const Bytes unsyncData = Cat({{1, 0xFF, 0x00, 0xFE}, Utf16Le(u"ok")});
  FieldTexts fields = ReadFieldTexts(Cat({Tag(4, Frame24("TIT2", unsyncData, 0x02)), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), "ok");
}

TEST(Id3v2Reader, StripsGroupAndLengthBytesAndSkipsCompressedFrames) {
  // 2.4 grouping (1 byte) and data length indicator (4 bytes).
  const Bytes grouped = Cat({{0x05}, SyncSafe32(4), Latin1Text("abc")});
  FieldTexts fields = ReadFieldTexts(Cat({Tag(4, Frame24("TIT2", grouped, 0x41)), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), "abc");
  // A compressed first TIT2 is passed over; the next one supplies the title.
  const Bytes body = Cat({Frame23("TIT2", Cat({Be32(10), Str("zlibdata")}), 0x80),
                          Frame23("TIT2", Latin1Text("plain"))});
  fields = ReadFieldTexts(Cat({Tag(3, body), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), "plain");
}

TEST(Id3v2Reader, AcceptsOnlyKnownHeaders) {
  const Bytes frame = Frame23("TIT2", Latin1Text("t"));
  for (uint8_t version : {0, 1}) {
    ReadTag tag(Cat({Tag(version, frame), kAudio}));
    EXPECT_TRUE(tag.reader.HasTag());
    EXPECT_TRUE(tag.reader.Frames().empty());
  }
  EXPECT_FALSE(ReadTag(Cat({Tag(5, frame), kAudio})).reader.HasTag());
  Bytes revised = Cat({Tag(3, frame), kAudio});
  revised[4] = 1;
  EXPECT_FALSE(ReadTag(revised).reader.HasTag());
  EXPECT_FALSE(ReadTag(Cat({Tag(2, Frame22("TT2", Latin1Text("t")), 0x40), kAudio})).reader.HasTag());
  EXPECT_FALSE(ReadTag(Cat({Str("ID2"), Tag(3, frame)})).reader.HasTag());
  ReadTag good(Cat({Tag(3, frame, 0x10), kAudio}));  // footer flag adds 10 to the end
  EXPECT_EQ(good.reader.EndPosition(), int64_t(10 + frame.size() + 10));
}

TEST(Id3v2Reader, LeavesTheStreamWhereItWas) {
  ReadTag tag(Cat({Tag(3, Frame23("TIT2", Latin1Text("t"))), kAudio}));
  tag.stream.Seek(1234, FILE_BEGIN);
  tag.reader.Read(&tag.stream);
  EXPECT_EQ(tag.stream.Tell(), 1234);
  ASSERT_NE(tag.reader.Find(ID3_FRAME_TIT2), nullptr);
  EXPECT_EQ(tag.reader.Version(), 3);
}

TEST(Id3v2Reader, SkipsZeroSizeFrames) {
  const Bytes body = Cat({Frame23("TIT2", {}), Frame23("TPE1", Latin1Text("a"))});
  const FieldTexts fields = ReadFieldTexts(Cat({Tag(3, body), kAudio}));
  EXPECT_EQ(TextOf(fields, TAG_TITLE), "<absent>");
  EXPECT_EQ(TextOf(fields, TAG_ARTIST), "a");
}
