#include "tags/TagFieldList.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tags/FrameTable.h"

namespace {
std::vector<int> KeysOf(const CTagFieldList& list) {
  std::vector<int> keys;
  for (const TagField* f = list.Head(); f; f = f->next) keys.push_back(f->key);
  return keys;
}
}  // namespace

TEST(TagFieldList, KeepsFirstPositionAndReplacesInPlace) {
  CTagFieldList list;
  list.SetText(TAG_YEAR, "1999");
  list.SetText(TAG_TITLE, "a");
  list.SetWideText(TAG_YEAR, u"2000");
  EXPECT_EQ(KeysOf(list), (std::vector<int>{TAG_YEAR, TAG_TITLE}));
  const TagField* year = list.Find(TAG_YEAR);
  ASSERT_NE(year, nullptr);
  EXPECT_FALSE(year->narrow);  // storing one form drops the other
  EXPECT_EQ(*year->wide, u"2000");
  list.SetText(TAG_YEAR, "2001");
  EXPECT_FALSE(list.Find(TAG_YEAR)->wide);
}

TEST(TagFieldList, CopiesAtMostTheLengthAndStopsAtNul) {
  CTagFieldList list;
  list.SetText(TAG_TITLE, "abcdef", 3);
  EXPECT_EQ(*list.Find(TAG_TITLE)->narrow, "abc");
  list.SetText(TAG_TITLE, "ab\0cd", 5);
  EXPECT_EQ(*list.Find(TAG_TITLE)->narrow, "ab");
  list.SetWideText(TAG_ARTIST, u"xyz", 2);
  EXPECT_EQ(*list.Find(TAG_ARTIST)->wide, u"xy");
  list.SetNumber(TAG_TRACK, -12);
  EXPECT_EQ(*list.Find(TAG_TRACK)->narrow, "-12");
}

TEST(TagFieldList, RemovesByNullTextAndClears) {
  CTagFieldList list;
  list.SetText(TAG_TITLE, "a");
  list.SetText(TAG_ARTIST, "b");
  list.SetText(TAG_ALBUM, "c");
  list.SetText(TAG_ARTIST, nullptr);
  EXPECT_EQ(KeysOf(list), (std::vector<int>{TAG_TITLE, TAG_ALBUM}));
  EXPECT_EQ(list.Tail()->previous, list.Head());
  EXPECT_FALSE(list.Remove(TAG_ARTIST));
  EXPECT_TRUE(list.Remove(TAG_ALBUM));
  EXPECT_EQ(list.Tail(), list.Head());
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Tail(), nullptr);
}

TEST(FrameTable, HasItsRowsAndFindsByIdAndKey) {
  EXPECT_EQ(kFrameTable[kFrameTableRows].key, 0);
  EXPECT_EQ(kFrameTable[kFrameTableRows].id23, nullptr);
  EXPECT_STREQ(kFrameTable[0].id23, "AENC");
  EXPECT_STREQ(kFrameTable[kFrameTableRows - 1].id22, "CDM");

  Id3FrameKey key = 0;
  bool isText = false;
  EXPECT_TRUE(FindFrameDefById("TIT2", 4, &key, &isText));
  EXPECT_EQ(key, ID3_FRAME_TIT2);
  EXPECT_TRUE(isText);
  EXPECT_TRUE(FindFrameDefById("TT2", 3, &key, nullptr));
  EXPECT_EQ(key, ID3_FRAME_TIT2);
  EXPECT_TRUE(FindFrameDefById("UFID", 4, &key, &isText));
  EXPECT_FALSE(isText);
  EXPECT_FALSE(FindFrameDefById("TDRC", 4, &key, nullptr));  // a 2.4 frame: no row
  EXPECT_FALSE(FindFrameDefById("TOW", 3, &key, nullptr));  // TOWN has no 2.2 id
  EXPECT_FALSE(FindFrameDefById("TIT2", 5, &key, nullptr));
  EXPECT_FALSE(FindFrameDefById("CRM", 4, &key, nullptr));
  EXPECT_TRUE(FindFrameDefById("CRM", 3, &key, nullptr));
  EXPECT_EQ(key, 93);

  const struct {
    Id3FrameKey key;
    const char* id;
  } written[] = {{ID3_FRAME_TIT2, "TIT2"}, {ID3_FRAME_TPE1, "TPE1"}, {ID3_FRAME_TALB, "TALB"},
                 {ID3_FRAME_TRCK, "TRCK"}, {ID3_FRAME_TYER, "TYER"}, {ID3_FRAME_TCON, "TCON"},
                 {ID3_FRAME_COMM, "COMM"}};
  for (const auto& w : written) EXPECT_STREQ(FindFrameDefByKey(w.key)->id23, w.id);
  EXPECT_EQ(FindFrameDefByKey(3), nullptr);
  EXPECT_EQ(FindFrameDefByKey(0), nullptr);
}
