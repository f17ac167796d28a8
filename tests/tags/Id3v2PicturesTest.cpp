// Attached pictures carried into a version 2.3 tag: each version's form
// rewritten, the front cover first, malformed ones left out.
#include "tags/Id3v2Pictures.h"

#include <gtest/gtest.h>

#include "tags/FileStream.h"
#include "tags/Id3v2Reader.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagFieldList.h"
#include "tests/tags/TagTestBytes.h"

namespace {

std::vector<Bytes> PicturesIn(const Bytes& file) {
  TempDir dir;
  WriteTestFile(dir.File("p.mp3"), file);
  CFileStream stream;
  stream.OpenA(dir.File("p.mp3").c_str(), false);
  CId3v2Reader reader;
  reader.Read(&stream);
  std::vector<Bytes> pictures = PicturesOf(reader);
  reader.Clear();
  stream.Close();
  return pictures;
}

const Bytes kImage = {0x89, 'P', 'N', 'G', 0, 0, 7};

}  // namespace

TEST(Id3v2Pictures, EveryVersionsFormBecomesVersion23WithTheFrontCoverFirst) {
  // 2.4: a back cover described in UTF-8, a UTF-16BE front cover, one without its MIME type's NUL.
  const Bytes v24 = Tag(4, Cat({Frame24("APIC", Cat({{3}, Str("image/png"), {0, 4}, Str("\xEB\x92\xB7"), {0}, kImage})),
                                Frame24("APIC", Cat({{2}, Str("image/png"), {0, 3, 0, 'F', 0, 0}, kImage})),
                                Frame24("APIC", Cat({{0}, Str("image/png")}))}));
  const std::vector<Bytes> pictures = PicturesIn(Cat({v24, FakeAudio(400)}));
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0], Cat({{0}, Str("image/png"), {0, 3, 'F', 0}, kImage}));  // ASCII: encoding 0
  EXPECT_EQ(pictures[1], Cat({{1}, Str("image/png"), {0, 4, 0xFF, 0xFE, 0xB7, 0xB4, 0, 0}, kImage}));
  // 2.2: PIC with a three-letter image format.
  const Bytes v22 = Tag(2, Frame22("PIC", Cat({{0}, Str("JPG"), {3}, Str("d"), {0}, kImage})));
  EXPECT_EQ(PicturesIn(Cat({v22, FakeAudio(400)})),
            (std::vector<Bytes>{Cat({{0}, Str("image/jpeg"), {0, 3}, Str("d"), {0}, kImage})}));
  // Into a new tag after the text frames; read back the same.
  CTagFieldList fields;
  fields.SetText(TAG_TITLE, "t");
  EXPECT_EQ(PicturesIn(Cat({BuildId3v2Tag(fields, pictures), FakeAudio(400)})), pictures);
}
