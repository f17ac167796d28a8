// Checks what the tag layer reads and writes against independent readers:
// python3-mutagen (skipped when it is not installed), and TagLib, id3lib and
// ffprobe where they are installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "mp3/CutToFile.h"
#include "tags/TagFieldList.h"
#include "tags/TagTransfer.h"
#include "tags/TextConvert.h"
#include "tests/tags/TagTestBytes.h"

namespace {

const char* const kKeyNames[kTagFieldKeyCount] = {"title", "artist", "album", "track",
                                                  "year",  "genre",  "comment"};

std::string Python() {
  static const std::string found = [] {
    for (const char* candidate : {"/usr/bin/python3", "python3"}) {
      const std::string command =
          std::string(candidate) + " -c 'import mutagen' >/dev/null 2>&1";
      if (std::system(command.c_str()) == 0) return std::string(candidate);
    }
    return std::string();
  }();
  return found;
}

std::string Script() { return TAGS_TEST_SOURCE_DIR "/mutagen_tags.py"; }

std::string RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  pclose(pipe);
  return output;
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

using View = std::map<std::string, std::string>;

// "v2 title" -> bytes, "v2version" -> "3"; for READER "mutagen", "taglib",
// "id3lib" or "ffprobe".
View ReaderView(const std::string& path, const std::string& reader) {
  View view;
  const std::string output =
      RunCommand(Python() + " '" + Script() + "' read '" + path + "' " + reader);
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(start, end - start);
    start = end + 1;
    const size_t first = line.find(' ');
    if (first == std::string::npos) continue;
    const size_t second = line.find(' ', first + 1);
    if (second == std::string::npos) {
      view[line.substr(0, first)] = line.substr(first + 1);
    } else {
      view[line.substr(0, second)] = FromHex(line.substr(second + 1));
    }
  }
  return view;
}

View MutagenView(const std::string& path) { return ReaderView(path, "mutagen"); }

// The ID3v2 part of a view.
View V2Part(const View& view) {
  View part;
  for (const auto& [key, text] : view) {
    if (key.rfind("v2 ", 0) == 0) part[key] = text;
  }
  return part;
}

std::vector<std::string> InstalledReaders() {
  std::vector<std::string> readers;
  std::istringstream lines(RunCommand(Python() + " '" + Script() + "' readers"));
  for (std::string line; std::getline(lines, line);) readers.push_back(line);
  return readers;
}

std::string Cp949(std::u16string_view text) { return *WideToAnsi(text, "CP949"); }

const Bytes& Mp3() {
  static const Bytes mp3 = [] {
    EncodeSpec settings;
    settings.seconds = 1.0;
    return EncodeMp3(settings);
  }();
  return mp3;
}

#define REQUIRE_MUTAGEN() \
  if (Python().empty()) GTEST_SKIP() << "python3-mutagen is not installed"

}  // namespace

// Sources with the texts users meet: UTF-16 Korean and CP949 in version 2.3;
// a version 2.4 date, a genre of its own, Latin-1 in encoding 0 and in
// ID3v1. Every installed reader shows the rewritten tag's fields alike; the
// expected texts are mutagen's, with its ID3v1 bytes.
TEST(Mutagen, EveryReaderSeesTheFieldsOfARewrittenFile) {
  REQUIRE_MUTAGEN();
  ASSERT_FALSE(Mp3().empty());
  const std::u16string title = u"\uD55C\uAD6D\uC5B4 \uB178\uB798 \uC81C\uBAA9\uC774 \uC544\uC8FC \uAE34 \uACBD\uC6B0";
  const std::u16string artist = u"\uAC00\uC218";
  const std::u16string album = u"\uC568\uBC94";
  const std::u16string comment = u"\uC8FC\uC11D \uB0B4\uC6A9";
  // Cover art first, then text in all the encodings version 2.3 files carry.
  Bytes cover(70000, 0);
  for (size_t i = 0; i < cover.size(); ++i) cover[i] = static_cast<uint8_t>(i * 7);
  const Bytes korean = Cat({
      Tag(3, Cat({
          Frame23("APIC", Cat({{0}, Str("image/jpeg"), {0, 3, 0}, cover})),
          Frame23("TIT2", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(title)}))),
          Frame23("TPE1", TextData(1, Cat({{0xFE, 0xFF}, Utf16Be(artist), {0, 0}}))),
          Frame23("TALB", TextData(0, Str(Cp949(album)))),
          Frame23("TRCK", TextData(0, Str("3/12"))),
          Frame23("TYER", TextData(0, Str("2004"))),
          Frame23("TCON", TextData(0, Str("(17)Rock"))),
          Frame23("COMM", Cat({{1}, Str("kor"), {0xFF, 0xFE}, Utf16Le(u"\uC124\uBA85"), {0, 0},
                               {0xFF, 0xFE}, Utf16Le(comment)})),
      })),
      Mp3(), V1Record("old", "old", "old", "1000", "old", 9, 1)});
  const Bytes western = Cat({
      Tag(4, Cat({
          Frame24("TIT2", TextData(0, Str("Plain title"))),
          Frame24("TPE1", TextData(0, Str("Caf\xE9 M\xFCller"))),  // Latin-1, not CP949
          Frame24("TDRC", TextData(3, Str("2004-05-12"))),
          Frame24("TCON", TextData(0, Str("Rock (Live)"))),
          Frame24("COMM", Cat({{0}, Str("eng"), {0}, Str("Latin-1 \xE0 la carte")})),
      })),
      Mp3(), V1Record("old", "old", "Bj\xF6rk", "1999", "old", 2, 17)});  // album: Latin-1
  const struct {
    const char* name;
    Bytes source;
    View expected;  // every "v2 " field, and the "v1 " fields listed
  } cases[] = {
      {"korean", korean,
       {{"v2 title", *WideToUtf8(title)},
        {"v2 artist", *WideToUtf8(artist)},
        {"v2 album", *WideToUtf8(album)},
        {"v2 track", "3/12"},
        {"v2 year", "2004"},
        {"v2 genre", "Rock"},
        {"v2 comment", *WideToUtf8(comment)},
        // 30 bytes hold the first 17 characters of the title (18 would need 31).
        {"v1 title", Cp949(title.substr(0, 17))},
        {"v1 artist", Cp949(artist)},
        {"v1 album", Cp949(album)},
        {"v1 year", "2004"},
        {"v1 comment", Cp949(comment)},
        {"v1 track", "3"},
        {"v1 genre", "17"}}},
      {"western", western,
       {{"v2 title", "Plain title"},
        {"v2 artist", "Caf\xC3\xA9 M\xC3\xBCller"},
        {"v2 album", "Bj\xC3\xB6rk"},
        {"v2 track", "2"},
        {"v2 year", "2004"},
        {"v2 genre", "Rock (Live)"},
        {"v2 comment", "Latin-1 \xC3\xA0 la carte"},
        {"v1 artist", "Caf\xE9 M\xFCller"},  // the source's bytes
        {"v1 year", "2004"}}},
  };
  const std::vector<std::string> readers = InstalledReaders();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string source = dir.File("source.mp3"), target = dir.File("target.mp3");
    WriteTestFile(source, c.source);
    WriteTestFile(target, Mp3());
    CTagTransfer transfer;
    ASSERT_TRUE(transfer.ReadFrom(source.c_str()));
    ASSERT_TRUE(transfer.WriteTo(target.c_str(), true, true));

    const View view = MutagenView(target);
    EXPECT_EQ(view.count("v2version") ? view.at("v2version") : "", "3");
    for (const auto& [key, text] : c.expected) {
      if (key.rfind("v1 ", 0) != 0) continue;
      EXPECT_EQ(view.count(key) ? view.at(key) : "<absent>", text) << key;
    }
    for (const std::string& reader : readers) {
      EXPECT_EQ(V2Part(ReaderView(target, reader)), V2Part(c.expected)) << reader;
    }
    // The audio follows the new tag untouched; the record is appended.
    const Bytes out = ReadFileBytes(target);
    const size_t tag = 10 + ((out[6] << 21) | (out[7] << 14) | (out[8] << 7) | out[9]);
    ASSERT_EQ(out.size(), tag + Mp3().size() + 128);
    EXPECT_EQ(Bytes(out.begin() + tag, out.end() - 128), Mp3());
  }
}

TEST(Mutagen, ReadsWhatMutagenWrites) {
  REQUIRE_MUTAGEN();
  for (int version : {3, 4}) {
    SCOPED_TRACE(version);
    TempDir dir;
    const std::string source = dir.File("source.mp3"), target = dir.File("target.mp3");
    WriteTestFile(source, Mp3());
    RunCommand(Python() + " '" + Script() + "' write '" + source + "' " + std::to_string(version));
    const auto view = MutagenView(source);
    ASSERT_EQ(view.count("v2version"), 1u);

    const FieldTexts ours = ReadFieldTexts(ReadFileBytes(source));
    for (int key = 0; key < kTagFieldKeyCount; ++key) {
      SCOPED_TRACE(kKeyNames[key]);
      auto it = view.find(std::string("v2 ") + kKeyNames[key]);
      ASSERT_NE(it, view.end());
      EXPECT_EQ(TextOf(ours, key), it->second);
    }

    // Carried over into a bare copy, mutagen sees the same texts again.
    WriteTestFile(target, Mp3());
    CTagTransfer transfer;
    ASSERT_TRUE(transfer.ReadFrom(source.c_str()));
    ASSERT_TRUE(transfer.WriteTo(target.c_str(), true, true));
    const auto rewritten = MutagenView(target);
    for (int key = 0; key < kTagFieldKeyCount; ++key) {
      SCOPED_TRACE(kKeyNames[key]);
      const std::string name = std::string("v2 ") + kKeyNames[key];
      ASSERT_EQ(rewritten.count(name), 1u);
      // A version 2.4 date is written back as its year.
      EXPECT_EQ(rewritten.at(name), key == TAG_YEAR ? view.at(name).substr(0, 4) : view.at(name));
    }
    // Its pictures go into a cut that keeps the cover, the front cover first.
    CutOptions keep;
    keep.keepCover = true;
    ASSERT_EQ(CutToFile(source, target, 0, 500, nullptr, keep), 1);
    const auto pictures = [](const std::string& path) {
      std::istringstream lines(RunCommand(Python() + " '" + Script() + "' pictures '" + path + "'"));
      std::vector<std::string> front, others;
      for (std::string line; std::getline(lines, line);) (line.rfind("picture 3 ", 0) == 0 ? front : others).push_back(line);
      return std::make_pair(front, others);
    };
    const auto before = pictures(source);
    ASSERT_EQ(before.first.size() + before.second.size(), 2u);
    std::vector<std::string> expected = before.first;
    expected.insert(expected.end(), before.second.begin(), before.second.end());
    const std::string listed = RunCommand(Python() + " '" + Script() + "' pictures '" + target + "'");
    EXPECT_EQ(listed, expected[0] + "\n" + expected[1] + "\n");
  }
}
