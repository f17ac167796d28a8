// SplitCommandLine: quoting, escaped quotes, malformed lines, white space.
#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace {

std::vector<std::string> Split(const std::string& line, int* count = nullptr) {
  std::vector<std::string> args{"left over from before"};
  const int n = SplitCommandLine(line, args);
  if (count != nullptr) *count = n;
  return args;
}

TEST(SplitCommandLine, QuotedPathKeepsSpacesAndBackslashes) {
  int count = 0;
  const auto args = Split(R"("C:\Program Files\Pado\padocut.exe" "D:\My Music\track 01.mp3")", &count);
  ASSERT_EQ(count, 2);
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[0], R"(C:\Program Files\Pado\padocut.exe)");
  EXPECT_EQ(args[1], R"(D:\My Music\track 01.mp3)");
}

TEST(SplitCommandLine, FolderEndingInBackslashBeforeQuoteIsMalformed) {
  int count = 0;
  const auto args = Split(R"(padocut "C:\Music\")", &count);
  EXPECT_EQ(count, -1);
  EXPECT_TRUE(args.empty());
}

TEST(SplitCommandLine, BackslashQuoteIsALiteralQuoteInsideQuotes) {
  const auto args = Split(R"(padocut "C:\Music\" more" next)");
  ASSERT_EQ(args.size(), 3u);
  EXPECT_EQ(args[1], R"(C:\Music" more)");
  EXPECT_EQ(args[2], "next");
}

TEST(SplitCommandLine, LoneBackslashInsideQuotesIsKept) {
  const auto args = Split(R"("a\b\\c")");
  ASSERT_EQ(args.size(), 1u);
  EXPECT_EQ(args[0], R"(a\b\\c)");
}

TEST(SplitCommandLine, UnquotedArgumentIsCopiedAsIs) {
  const auto args = Split(R"(a\"b c"d)");
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[0], R"(a\"b)");
  EXPECT_EQ(args[1], R"(c"d)");
}

TEST(SplitCommandLine, EmptyOrBlankLineHasNoArguments) {
  int count = -5;
  EXPECT_TRUE(Split("", &count).empty());
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(Split(" \t\r\n  ", &count).empty());
  EXPECT_EQ(count, 0);
}

TEST(SplitCommandLine, EveryWhiteSpaceKindSeparates) {
  const auto args = Split("  a\tb\nc\rd  e  ");
  EXPECT_EQ(args, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(SplitCommandLine, TextRightAfterClosingQuoteStartsNextArgument) {
  const auto args = Split(R"("one"two "three")");
  EXPECT_EQ(args, (std::vector<std::string>{"one", "two", "three"}));
}

TEST(SplitCommandLine, EmptyQuotedArgumentCounts) {
  const auto args = Split(R"(padocut "" x)");
  EXPECT_EQ(args, (std::vector<std::string>{"padocut", "", "x"}));
}

TEST(SplitCommandLine, MultibyteTextIsCopiedByteForByte) {
  const std::string path = "/home/사용자/파도 오디오/노래.mp3";
  const auto args = Split("padocut \"" + path + "\"");
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[1], path);
}

}  // namespace
