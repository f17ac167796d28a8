#include "tags/Id3v2Writer.h"

#include <gtest/gtest.h>

#include "tags/FileStream.h"
#include "tags/TagFieldList.h"
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

TEST(Id3v2Writer, WritesCommentWithLanguageAndEmptyDescription) {
  CTagFieldList fields;
  fields.SetText(TAG_COMMENT, "hi");
  const Bytes area = FramesArea(WriteWith(fields, kAudio));
  const Bytes expected = Cat({Str("COMM"), {0, 0, 0, 7}, {0, 0}, {3}, Str("eng"), {0}, Str("hi")});
  ASSERT_GE(area.size(), expected.size());
  EXPECT_EQ(Bytes(area.begin(), area.begin() + 17), expected);
  EXPECT_EQ(Bytes(area.begin() + 17, area.end()), Bytes(28 - 17, 0));
}

TEST(Id3v2Writer, WritesGenreWithItsIndexReference) {
  auto genreFrame = [](const char* genre) {
    CTagFieldList fields;
    fields.SetText(TAG_GENRE, genre);
    const Bytes area = FramesArea(WriteWith(fields, kAudio));
    const uint32_t size = (area[4] << 24) | (area[5] << 16) | (area[6] << 8) | area[7];
    return std::string(area.begin() + 11, area.begin() + 10 + size);
  };
  EXPECT_EQ(genreFrame("Rock"), "(17)Rock");
  EXPECT_EQ(genreFrame("rOCK"), "(17)rOCK");
  EXPECT_EQ(genreFrame("Synthpop"), "(147)Synthpop");
  EXPECT_EQ(genreFrame(""), "(255)");
  EXPECT_EQ(genreFrame("Foo"), "(255)Foo");
}

TEST(Id3v2Writer, WritesFieldsInListOrderAsUtf8WithPlainSizes) {
  CTagFieldList fields;
  fields.SetText(TAG_TRACK, "7");
  fields.SetText(TAG_TITLE, "\xB0\xA1");            // CP949 "가"
  fields.SetWideText(TAG_ARTIST, std::u16string(150, u'\uB098').c_str());  // 450 bytes of UTF-8
  const Bytes area = FramesArea(WriteWith(fields, kAudio));
  const Bytes expected = Cat({Frame23("TRCK", TextData(3, Str("7"))),
                              Frame23("TIT2", TextData(3, Str("\xEA\xB0\x80")))});
  ASSERT_EQ(area.size(), 12u + 14u + 461u);
  EXPECT_EQ(Bytes(area.begin(), area.begin() + 26), Bytes(expected.begin(), expected.begin() + 26));
  // TPE1 with 451 = 0x1C3 bytes of data: a plain size, not sync-safe.
  EXPECT_EQ(Bytes(area.begin() + 26, area.begin() + 34), Cat({Str("TPE1"), {0, 0, 0x01, 0xC3}}));
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
