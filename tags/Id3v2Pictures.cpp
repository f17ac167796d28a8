#include "tags/Id3v2Pictures.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "tags/Id3v2Reader.h"
#include "tags/TextConvert.h"

namespace {

constexpr uint8_t kLatin1 = 0;
constexpr uint8_t kUtf16WithMark = 1;
constexpr uint8_t kUtf16Be = 2;
constexpr uint8_t kUtf8 = 3;
constexpr size_t kImageFormatLength = 3;  // version 2.2

struct Picture {
  uint8_t encoding = 0;
  std::string mime;
  uint8_t type = 0;
  std::vector<uint8_t> description;  // in `encoding`, without its NUL
  std::vector<uint8_t> image;
};

bool IsWide(uint8_t encoding) { return encoding == kUtf16WithMark || encoding == kUtf16Be; }

// The end of the NUL-ended text at `from` (where its NUL starts), or none.
std::optional<size_t> TextEnd(const std::vector<uint8_t>& data, size_t from, bool wide) {
  const size_t step = wide ? 2 : 1;
  for (size_t i = from; i + step <= data.size(); i += step) {
    if (data[i] == 0 && (!wide || data[i + 1] == 0)) return i;
  }
  return std::nullopt;
}

std::string MimeOfImageFormat(const uint8_t* format) {
  std::string lower;
  for (size_t i = 0; i < kImageFormatLength; ++i) lower.push_back(static_cast<char>(std::tolower(format[i])));
  if (lower == "jpg") return "image/jpeg";
  return "image/" + lower;
}

// The fields of APIC (or PIC, `version` 2) data.
std::optional<Picture> ParsePicture(const std::vector<uint8_t>& data, uint8_t version) {
  if (data.empty() || data[0] > kUtf8) return std::nullopt;
  Picture p;
  p.encoding = data[0];
  size_t at = 1;
  if (version == 2) {
    if (data.size() < at + kImageFormatLength) return std::nullopt;
    p.mime = MimeOfImageFormat(&data[at]);
    at += kImageFormatLength;
  } else {
    const std::optional<size_t> end = TextEnd(data, at, false);
    if (!end) return std::nullopt;
    p.mime.assign(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(*end));
    at = *end + 1;
  }
  if (at >= data.size()) return std::nullopt;
  p.type = data[at++];
  const std::optional<size_t> end = TextEnd(data, at, IsWide(p.encoding));
  if (!end) return std::nullopt;
  p.description.assign(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(*end));
  at = *end + (IsWide(p.encoding) ? 2 : 1);
  if (at >= data.size()) return std::nullopt;
  p.image.assign(data.begin() + static_cast<long>(at), data.end());
  return p;
}

// A description in encoding 2 or 3 as UTF-16 units.
std::optional<std::u16string> WideDescription(const Picture& p) {
  if (p.encoding == kUtf8) {
    return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(p.description.data()), p.description.size()));
  }
  std::u16string units;
  for (size_t i = 0; i + 1 < p.description.size(); i += 2) {
    units.push_back(static_cast<char16_t>(p.description[i] << 8 | p.description[i + 1]));
  }
  return units;
}

// Moves a description in encoding 2 or 3 into one version 2.3 has.
bool ToVersion23Encoding(Picture& p) {
  if (p.encoding == kLatin1 || p.encoding == kUtf16WithMark) return true;
  const std::optional<std::u16string> units = WideDescription(p);
  if (!units) return false;
  p.description.clear();
  if (std::all_of(units->begin(), units->end(), [](char16_t u) { return u < 0x80; })) {
    p.encoding = kLatin1;
    for (const char16_t u : *units) p.description.push_back(static_cast<uint8_t>(u));
    return true;
  }
  p.encoding = kUtf16WithMark;
  p.description = {0xFF, 0xFE};  // little-endian
  for (const char16_t u : *units) {
    p.description.push_back(static_cast<uint8_t>(u & 0xFF));
    p.description.push_back(static_cast<uint8_t>(u >> 8));
  }
  return true;
}

std::vector<uint8_t> Version23Data(const Picture& p) {
  std::vector<uint8_t> data{p.encoding};
  data.insert(data.end(), p.mime.begin(), p.mime.end());
  data.push_back(0);
  data.push_back(p.type);
  data.insert(data.end(), p.description.begin(), p.description.end());
  data.push_back(0);
  if (IsWide(p.encoding)) data.push_back(0);
  data.insert(data.end(), p.image.begin(), p.image.end());
  return data;
}

}  // namespace

std::optional<std::vector<uint8_t>> PictureData23(const Id3v2Frame& frame, uint8_t version) {
  if (frame.key != ID3_FRAME_APIC) return std::nullopt;
  std::optional<Picture> picture = ParsePicture(frame.pictureData, version);
  if (!picture || !ToVersion23Encoding(*picture)) return std::nullopt;
  return Version23Data(*picture);
}

std::vector<std::vector<uint8_t>> PicturesOf(const CId3v2Reader& reader) {
  std::vector<std::vector<uint8_t>> front, others;
  for (const Id3v2Frame& frame : reader.Frames()) {
    std::optional<std::vector<uint8_t>> data = PictureData23(frame, reader.Version());
    if (!data) continue;
    const uint8_t type = ParsePicture(*data, 3)->type;
    (type == kFrontCoverType ? front : others).push_back(std::move(*data));
  }
  front.insert(front.end(), std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()));
  return front;
}
