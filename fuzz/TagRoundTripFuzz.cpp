// Fuzz target: the tag rewrite round trip. The input gives up to seven
// fields (FieldsInput.h); a file of MPEG frames is rewritten with them and
// read back. The rewrite must succeed, leave no temporary file, keep the
// audio byte for byte between the new tag and the new record, and every
// field must come back as the tag layer's rules say: titles, artists,
// albums and tracks when not empty; the year as its four leading digits
// when it has them; the genre and the comment always, as they were.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "fuzz/FieldsCheck.h"
#include "fuzz/FieldsInput.h"
#include "fuzz/FuzzScratch.h"
#include "tags/FileStream.h"
#include "tags/Id3v2Writer.h"
#include "tags/RewriteWithTags.h"
#include "tags/TagTransfer.h"
#include "tags/TextConvert.h"

namespace {

// Three MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz: 417 bytes each).
std::vector<uint8_t> Audio() {
  std::vector<uint8_t> audio;
  for (int i = 0; i < 3; ++i) {
    const size_t start = audio.size();
    audio.resize(start + 417, static_cast<uint8_t>(0x11 * (i + 1)));
    const uint8_t header[4] = {0xFF, 0xFB, 0x90, 0x64};
    std::memcpy(&audio[start], header, 4);
  }
  return audio;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  uint8_t block[4096];
  for (ssize_t n; (n = read(fd, block, sizeof block)) > 0;) bytes.insert(bytes.end(), block, block + n);
  close(fd);
  return bytes;
}

// What the rewritten file should give back for each key, as UTF-16.
std::map<int, std::u16string> Expected(const CTagFieldList& fields) {
  std::map<int, std::u16string> expected;
  for (const TagField* f = fields.Head(); f; f = f->next) {
    const std::optional<std::string> utf8 = FieldUtf8Text(*f);
    FUZZ_CHECK(utf8.has_value());
    std::optional<std::u16string> wide = Utf8ToWide(*utf8);
    FUZZ_CHECK(wide.has_value());
    // The reader stops a text at its first NUL.
    wide->resize(std::min(wide->size(), wide->find(u'\0')));
    if (f->key == TAG_YEAR) {
      if (const std::optional<std::string> year = YearOf(*f)) expected[f->key] = *Utf8ToWide(*year);
    } else if (f->key == TAG_GENRE || f->key == TAG_COMMENT) {
      expected[f->key] = *wide;
    } else if (!wide->empty()) {
      expected[f->key] = *wide;
    }
  }
  return expected;
}

std::map<int, std::u16string> Actual(const CTagFieldList& fields) {
  std::map<int, std::u16string> actual;
  for (const TagField* f = fields.Head(); f; f = f->next) {
    if (f->wide) {
      actual[f->key] = *f->wide;
    } else {
      std::optional<std::u16string> wide = AnsiToWide(*f->narrow);
      FUZZ_CHECK(wide.has_value());
      actual[f->key] = *wide;
    }
  }
  return actual;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> audio = Audio();
  CTagFieldList fields;
  FieldsFromInput(data, size, fields);
  CheckFieldList(fields);

  FuzzScratch& scratch = FuzzScratch::Get();
  const std::string target = scratch.Write("target.mp3", audio.data(), audio.size());
  {
    CFileStream stream;
    FUZZ_CHECK(stream.OpenA(target.c_str(), false) == S_OK);
    FUZZ_CHECK(RewriteWithTags(&stream, fields, true, true) == S_OK);
  }
  FUZZ_CHECK(access((target + kRewriteTempSuffix).c_str(), F_OK) != 0);

  // Tag, the audio unchanged, a 128-byte record.
  const std::vector<uint8_t> result = ReadAll(target);
  FUZZ_CHECK(result.size() >= 10 + 28 + audio.size() + 128);
  const size_t audioStart = result.size() - 128 - audio.size();
  FUZZ_CHECK(std::equal(audio.begin(), audio.end(), result.begin() + static_cast<std::ptrdiff_t>(audioStart)));
  FUZZ_CHECK(std::memcmp(&result[result.size() - 128], "TAG", 3) == 0);

  CTagTransfer transfer;
  transfer.ReadFrom(target.c_str());
  CheckFieldList(transfer.Fields());
  FUZZ_CHECK(transfer.Id3v2Version() == 3);
  FUZZ_CHECK(transfer.HasId3v1());
  FUZZ_CHECK(Actual(transfer.Fields()) == Expected(fields));
  return 0;
}
