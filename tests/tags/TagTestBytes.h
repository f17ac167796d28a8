// Byte builders for the tag tests: ID3v2 tags and frames laid out by hand,
// one call per field, and a helper that runs the carry-over's reading on a
// file made of such bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/TestFiles.h"

using Bytes = std::vector<uint8_t>;

Bytes Str(std::string_view text);
Bytes Cat(std::initializer_list<Bytes> parts);
Bytes Be32(uint32_t value);
Bytes SyncSafe32(uint32_t value);
Bytes Utf16Le(std::u16string_view text);
Bytes Utf16Be(std::u16string_view text);

// A frame with the data as given: 2.2 (24-bit size), 2.3 (plain size),
// 2.4 (sync-safe size). `formatFlags` is the second flag byte.
Bytes Frame22(std::string_view id, const Bytes& data);
Bytes Frame23(std::string_view id, const Bytes& data, uint8_t formatFlags = 0);
Bytes Frame24(std::string_view id, const Bytes& data, uint8_t formatFlags = 0);

// Encoding byte followed by the text bytes.
Bytes TextData(uint8_t encoding, const Bytes& text);

// "ID3", version, revision 0, flags, sync-safe size of `body` (or the size
// given), then the body.
Bytes Tag(uint8_t version, const Bytes& body, uint8_t flags = 0);
Bytes TagWithSize(uint8_t version, const Bytes& body, uint32_t declaredSize, uint8_t flags = 0);

// Bytes that look like MPEG audio: frame headers FF FB 90 64 and filler.
Bytes FakeAudio(size_t size);

// An ID3v1.1 record.
Bytes V1Record(std::string_view title, std::string_view artist, std::string_view album,
               std::string_view year, std::string_view comment, uint8_t track, uint8_t genre);

// Writes a file; an empty `bytes` makes an empty file.
void WriteTestFile(const std::string& path, const Bytes& bytes);

// The fields the carry-over takes from a file holding `bytes`, in list
// order, as (key, UTF-8 text).
using FieldTexts = std::vector<std::pair<int, std::string>>;
FieldTexts ReadFieldTexts(const Bytes& bytes);
// The UTF-8 text of one key in `fields`, or "<absent>".
std::string TextOf(const FieldTexts& fields, int key);
