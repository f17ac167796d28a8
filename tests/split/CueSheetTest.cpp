// CUE sheets as rippers and people write them: times in CD frames, fields at
// disc and track level, odd encodings, and the refusals that name a line.
#include <gtest/gtest.h>

#include "split/CueSheet.h"
#include "tags/TagCharset.h"

TEST(CueSheet, FramesAreSeventyFifthsOfASecond) {
  const struct {
    const char* text;
    int64_t ms;
  } cases[] = {
      {"00:00:00", 0},   {"00:00:01", 13},   {"00:00:38", 507},       {"00:00:74", 987},   {"01:02:03", 62040},
      {"120:00:00", 7200000}, {"00:60:00", -1}, {"00:00:75", -1}, {"1:2", -1}, {"00:00:00:00", -1},
      {"0a:00:00", -1},  {"00::00", -1},     {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(CueTimeMs(c.text), c.ms) << c.text;
}

TEST(CueSheet, ReadsDiscAndTrackFieldsWhateverFileItNames) {
  const CueResult r = ParseCueSheet(
      "\xEF\xBB\xBFREM GENRE \"Jazz Rock\"\r\nREM DATE 1999\r\nREM COMMENT \"ExactAudioCopy\"\r\n"
      "PERFORMER \"The Band\"\r\nTITLE \"Live \xEC\x95\xA8\xEB\xB2\x94\"\r\nFILE \"other name.wav\" WAVE\r\n"
      "  TRACK 01 AUDIO\r\n    TITLE \"Intro\"\r\n    INDEX 01 00:00:00\r\n"
      "  TRACK 02 AUDIO\r\n    TITLE Second Song\r\n    PERFORMER \"Guest\"\r\n    INDEX 00 03:10:00\r\n"
      "    INDEX 01 03:12:37\r\n  TRACK 03 AUDIO\r\n    PREGAP 00:02:00\r\n    INDEX 01 07:00:00\r\n");
  ASSERT_TRUE(r.ok) << r.line << ": " << r.problem;
  EXPECT_EQ(r.sheet.title, "Live \xEC\x95\xA8\xEB\xB2\x94");
  EXPECT_EQ(r.sheet.performer, "The Band");
  EXPECT_EQ(r.sheet.genre, "Jazz Rock");
  EXPECT_EQ(r.sheet.date, "1999");
  EXPECT_EQ(r.sheet.file, "other name.wav");
  ASSERT_EQ(r.sheet.tracks.size(), 3u);
  EXPECT_EQ(r.sheet.tracks[0].title, "Intro");
  EXPECT_EQ(r.sheet.tracks[1].title, "Second Song");
  EXPECT_EQ(r.sheet.tracks[1].performer, "Guest");
  EXPECT_EQ(r.sheet.tracks[1].startMs, 192493);  // INDEX 01, not INDEX 00
  EXPECT_TRUE(r.sheet.tracks[2].title.empty());
  EXPECT_TRUE(r.sheet.tracks[2].performer.empty());
  EXPECT_EQ(r.sheet.tracks[2].startMs, 420000);
}

// Without a byte-order mark, text that is not UTF-8 is in the tag charset;
// UTF-16 comes with its mark; old Mac line ends (CR) count as line ends.
TEST(CueSheet, ReadsTheTagCharsetAndUtf16) {
  ASSERT_TRUE(SetTagCharset("CP949"));
  const CueResult cp949 = ParseCueSheet("TITLE \"\xC7\xD1\xB1\xB9\"\rTRACK 1 AUDIO\rINDEX 01 00:00:00\r");
  ASSERT_TRUE(cp949.ok) << cp949.problem;
  EXPECT_EQ(cp949.sheet.title, "\xED\x95\x9C\xEA\xB5\xAD");  // 한국
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("TRACK 01 AUDIO\nTITLE \"A\"\nINDEX 01 00:01:00\n")) utf16 += std::string{c, '\0'};
  const CueResult wide = ParseCueSheet(utf16);
  ASSERT_TRUE(wide.ok) << wide.problem;
  EXPECT_EQ(wide.sheet.tracks[0].title, "A");
  EXPECT_EQ(wide.sheet.tracks[0].startMs, 1000);
}

TEST(CueSheet, RefusesMalformedSheetsNamingTheLine) {
  const std::string track1 = "TRACK 01 AUDIO\nINDEX 01 00:00:00\n";
  const struct {
    std::string sheet;
    int line;
  } cases[] = {
      {"INDEX 01 00:00:00\n", 1},
      {track1 + "TRACK 02 AUDIO\nINDEX 01 00:61:00\n", 4},
      {"FILE \"a.wav\" WAVE\n" + track1 + "FILE \"b.wav\" WAVE\n", 4},
      {track1 + "TRACK 02 MODE1/2352\n", 3},
      {track1 + "TRACK 01 AUDIO\n", 3},
      {track1 + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n", 4},
      {track1 + "TRACK 02 AUDIO\nTITLE \"x\"\nTRACK 03 AUDIO\nINDEX 01 00:09:00\n", 3},
      {track1 + "TRACK 02 AUDIO\n", 3},
      {track1 + "TITLE \"never closed\n", 3},
      {"TRACK AUDIO\n", 1},
      {"REM only a comment\n", 0},
      {std::string("TRACK 01 AUDIO\0\n", 16), 0},
  };
  for (const auto& c : cases) {
    const CueResult r = ParseCueSheet(c.sheet);
    EXPECT_FALSE(r.ok) << c.sheet;
    EXPECT_EQ(r.line, c.line) << c.sheet << " -> " << r.problem;
    EXPECT_FALSE(r.problem.empty());
  }
  // Cut short anywhere, a sheet reads or is refused, never more.
  const std::string whole = "\xFF\xFETITLE \"x\"\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n";
  for (size_t n = 0; n <= whole.size(); ++n) {
    const CueResult r = ParseCueSheet(whole.substr(0, n));
    EXPECT_TRUE(r.ok || !r.problem.empty()) << n;
  }
}
