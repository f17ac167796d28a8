#include "tags/TextConvert.h"

#include <gtest/gtest.h>

#include "tags/TagCharset.h"

TEST(TextConvert, ConvertsBetweenCp949Utf16AndUtf8) {
  EXPECT_EQ(AnsiToUtf8("\xB0\xA1 A", "CP949"), "\xEA\xB0\x80 A");
  EXPECT_EQ(WideToUtf8(u"\uAC00\U0001F600"), "\xEA\xB0\x80\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToAnsi(u"\uAC00A", "CP949"), "\xB0\xA1" "A");
  EXPECT_EQ(Utf8ToWide("\xEA\xB0\x80"), u"\uAC00");
  EXPECT_EQ(AnsiToWide("\xB0\xA1", "CP949"), u"\uAC00");
  EXPECT_EQ(AnsiToUtf8("\xE9", "ISO-8859-1"), "\xC3\xA9");
}

TEST(TextConvert, ReplacesWhatCannotBeConvertedAndGoesOn) {
  EXPECT_EQ(Utf8ToWide("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide("a\xEA\xB0"), u"a\uFFFD");           // cut sequence at the end
  EXPECT_EQ(WideToUtf8(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b");  // lone surrogate
  EXPECT_EQ(WideToAnsi(u"a\U0001F600b", "CP949"), "a?b");     // one '?' per character
  EXPECT_FALSE(AnsiToUtf8("a", "NO-SUCH-CHARSET"));
}

TEST(TextConvert, ReadsNarrowTextInvalidInItsCharsetAsLatin1) {
  EXPECT_EQ(AnsiToUtf8("Caf\xE9 M\xFCller", "CP949"), "Caf\xC3\xA9 M\xC3\xBCller");
  EXPECT_EQ(AnsiToWide("Caf\xE9 M\xFCller", "CP949"), u"Caf\u00E9 M\u00FCller");
  EXPECT_EQ(AnsiToUtf8("a\xFF", "CP949"), "a\xC3\xBF");
  EXPECT_EQ(AnsiToUtf8("Caf\xE9", "CP949"), "Caf\xC3\xA9");  // cut short after ASCII only
  // Valid CP949 stays CP949, also when a fixed-width field cut its last character.
  EXPECT_EQ(AnsiToUtf8("\xB0\xA1\xC4\xD6", "CP949"), "\xEA\xB0\x80\xEC\xBC\xAF");
  EXPECT_EQ(AnsiToUtf8("\xB0\xA1 \xB0", "CP949"), "\xEA\xB0\x80 \xEF\xBF\xBD");
  EXPECT_EQ(AnsiToUtf8("Caf\xE9!", "UTF-8"), "Caf\xC3\xA9!");
}

TEST(TextConvert, FitsWholeCharactersIntoAWidth) {
  EXPECT_EQ(WideToAnsiFitting(u"\uAC00\uAC00\uAC00", 5, "CP949"), "\xB0\xA1\xB0\xA1");
  EXPECT_EQ(WideToAnsiFitting(u"abc", 5, "CP949"), "abc");
  EXPECT_EQ(WideToAnsiFitting(u"\uAC00", 1, "CP949"), "");
  EXPECT_EQ(WideToAnsiFitting(u"a\U0001F600", 2, "UTF-8"), "a");  // never half a pair
}

TEST(TagCharset, DefaultsToCp949AndRejectsUnknownNames) {
  const std::string before = GetTagCharset();
  if (!getenv(kTagCharsetVariable)) {
    EXPECT_EQ(before, "CP949");
  }
  EXPECT_FALSE(SetTagCharset("NO-SUCH-CHARSET"));
  EXPECT_EQ(GetTagCharset(), before);
  ASSERT_TRUE(SetTagCharset("ISO-8859-1"));
  EXPECT_EQ(AnsiToUtf8("\xE9"), "\xC3\xA9");
  ASSERT_TRUE(SetTagCharset(before.c_str()));
}
