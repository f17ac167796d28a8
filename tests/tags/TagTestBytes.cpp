#include "tests/tags/TagTestBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "tags/Id3v2Writer.h"
#include "tags/TagTransfer.h"

Bytes Str(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Be32(uint32_t v) {
  return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

Bytes SyncSafe32(uint32_t v) {
  return {uint8_t((v >> 21) & 0x7F), uint8_t((v >> 14) & 0x7F), uint8_t((v >> 7) & 0x7F),
          uint8_t(v & 0x7F)};
}

Bytes Utf16Le(std::u16string_view text) {
  Bytes out;
  for (char16_t unit : text) {
    out.push_back(uint8_t(unit & 0xFF));
    out.push_back(uint8_t(unit >> 8));
  }
  return out;
}

Bytes Utf16Be(std::u16string_view text) {
  Bytes out;
  for (char16_t unit : text) {
    out.push_back(uint8_t(unit >> 8));
    out.push_back(uint8_t(unit & 0xFF));
  }
  return out;
}

Bytes Frame22(std::string_view id, const Bytes& data) {
  const size_t n = data.size();
  return Cat({Str(id), {uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)}, data});
}

Bytes Frame23(std::string_view id, const Bytes& data, uint8_t formatFlags) {
  return Cat({Str(id), Be32(uint32_t(data.size())), {0, formatFlags}, data});
}

Bytes Frame24(std::string_view id, const Bytes& data, uint8_t formatFlags) {
  return Cat({Str(id), SyncSafe32(uint32_t(data.size())), {0, formatFlags}, data});
}

Bytes TextData(uint8_t encoding, const Bytes& text) { return Cat({{encoding}, text}); }

Bytes TagWithSize(uint8_t version, const Bytes& body, uint32_t declaredSize, uint8_t flags) {
  return Cat({Str("ID3"), {version, 0, flags}, SyncSafe32(declaredSize), body});
}

Bytes Tag(uint8_t version, const Bytes& body, uint8_t flags) {
  return TagWithSize(version, body, uint32_t(body.size()), flags);
}

Bytes FakeAudio(size_t size) {
  Bytes out(size, 0x55);
  for (size_t i = 0; i + 4 <= size; i += 417) {
    out[i] = 0xFF;
    out[i + 1] = 0xFB;
    out[i + 2] = 0x90;
    out[i + 3] = 0x64;
  }
  return out;
}

Bytes V1Record(std::string_view title, std::string_view artist, std::string_view album,
               std::string_view year, std::string_view comment, uint8_t track, uint8_t genre) {
  Bytes record(128, 0);
  std::memcpy(record.data(), "TAG", 3);
  auto put = [&](std::string_view text, size_t offset, size_t width) {
    std::memcpy(record.data() + offset, text.data(), std::min(width, text.size()));
  };
  put(title, 3, 30);
  put(artist, 33, 30);
  put(album, 63, 30);
  put(year, 93, 4);
  put(comment, 97, 28);
  record[126] = track;
  record[127] = genre;
  return record;
}

void WriteTestFile(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  if (!bytes.empty()) {
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
  }
  EXPECT_EQ(std::fclose(file), 0);
}

FieldTexts ReadFieldTexts(const Bytes& bytes) {
  TempDir dir;
  const std::string path = dir.File("in.mp3");
  WriteTestFile(path, bytes);
  CTagTransfer transfer;
  transfer.ReadFrom(path.c_str());
  FieldTexts out;
  for (const TagField* field = transfer.Fields().Head(); field; field = field->next) {
    out.emplace_back(field->key, FieldUtf8Text(*field).value_or("<unconvertible>"));
  }
  return out;
}

std::string TextOf(const FieldTexts& fields, int key) {
  for (const auto& [k, text] : fields) {
    if (k == key) return text;
  }
  return "<absent>";
}
