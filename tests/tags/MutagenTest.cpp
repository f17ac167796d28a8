// Checks what the tag layer reads and writes against an independent reader,
// python3-mutagen (skipped when it is not installed).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

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

// "v2 title" -> bytes, "v2version" -> "3".
std::map<std::string, std::string> MutagenView(const std::string& path) {
  std::map<std::string, std::string> view;
  const std::string output = RunCommand(Python() + " '" + Script() + "' read '" + path + "'");
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

std::string Cp949(std::u16string_view text) { return *WideToAnsi(text, "CP949"); }

std::string AfterLastParenthesis(const std::string& text) {
  const size_t close = text.rfind(')');
  return close == std::string::npos ? text : text.substr(close + 1);
}

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

TEST(Mutagen, ReadsBothTagsOfARewrittenFile) {
  REQUIRE_MUTAGEN();
  ASSERT_FALSE(Mp3().empty());
  const std::u16string title = u"\uD55C\uAD6D\uC5B4 \uB178\uB798 \uC81C\uBAA9\uC774 \uC544\uC8FC \uAE34 \uACBD\uC6B0";
  const std::u16string artist = u"\uAC00\uC218";
  const std::u16string album = u"\uC568\uBC94";
  const std::u16string comment = u"\uC8FC\uC11D \uB0B4\uC6A9";
  // Cover art first, then text in all the encodings version 2.3 files carry.
  Bytes cover(70000, 0);
  for (size_t i = 0; i < cover.size(); ++i) cover[i] = static_cast<uint8_t>(i * 7);
  const Bytes body = Cat({
      Frame23("APIC", Cat({{0}, Str("image/jpeg"), {0, 3, 0}, cover})),
      Frame23("TIT2", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(title)}))),
      Frame23("TPE1", TextData(1, Cat({{0xFE, 0xFF}, Utf16Be(artist), {0, 0}}))),
      Frame23("TALB", TextData(0, Str(Cp949(album)))),
      Frame23("TRCK", TextData(0, Str("3/12"))),
      Frame23("TYER", TextData(0, Str("2004"))),
      Frame23("TCON", TextData(0, Str("(17)Rock"))),
      Frame23("COMM", Cat({{1}, Str("kor"), {0xFF, 0xFE}, Utf16Le(u"\uC124\uBA85"), {0, 0},
                           {0xFF, 0xFE}, Utf16Le(comment)})),
  });
  TempDir dir;
  const std::string source = dir.File("source.mp3"), target = dir.File("target.mp3");
  WriteTestFile(source, Cat({Tag(3, body), Mp3(), V1Record("old", "old", "old", "1000", "old", 9, 1)}));
  WriteTestFile(target, Mp3());

  CTagTransfer transfer;
  ASSERT_TRUE(transfer.ReadFrom(source.c_str()));
  ASSERT_TRUE(transfer.WriteTo(target.c_str(), true, true));
  const auto view = MutagenView(target);

  const std::map<std::string, std::string> expected = {
      {"v2version", "3"},
      {"v2 title", *WideToUtf8(title)},
      {"v2 artist", *WideToUtf8(artist)},
      {"v2 album", *WideToUtf8(album)},
      {"v2 track", "3/12"},
      {"v2 year", "2004"},
      {"v2 genre", "(17)Rock"},
      {"v2 comment", *WideToUtf8(comment)},
      // 30 bytes hold the first 17 characters of the title (18 would need 31).
      {"v1 title", Cp949(title.substr(0, 17))},
      {"v1 artist", Cp949(artist)},
      {"v1 album", Cp949(album)},
      {"v1 year", "2004"},
      {"v1 comment", Cp949(comment)},
      {"v1 track", "3"},
      {"v1 genre", "17"},
  };
  EXPECT_EQ(view, expected);

  // The audio follows the new tag untouched; the record is appended.
  const Bytes out = ReadFileBytes(target);
  const size_t tag = 10 + ((out[6] << 21) | (out[7] << 14) | (out[8] << 7) | out[9]);
  ASSERT_EQ(out.size(), tag + Mp3().size() + 128);
  EXPECT_EQ(Bytes(out.begin() + tag, out.end() - 128), Mp3());
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
      const std::string theirs = key == TAG_GENRE ? AfterLastParenthesis(it->second) : it->second;
      EXPECT_EQ(TextOf(ours, key), theirs);
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
      if (key == TAG_GENRE) {
        EXPECT_EQ(rewritten.at(name), "(17)Rock");
      } else {
        EXPECT_EQ(rewritten.at(name), view.at(name));
      }
    }
  }
}
