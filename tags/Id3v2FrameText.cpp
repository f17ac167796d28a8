#include "tags/Id3v2FrameText.h"

#include <string>

#include "tags/Id3v2Frame.h"
#include "tags/TextConvert.h"

namespace {

enum TextEncoding : uint8_t {
  kLatin1 = 0,
  kUtf16WithBom = 1,
  kUtf16BigEndian = 2,
  kUtf8 = 3,
};

constexpr size_t kLanguageLength = 3;

bool IsWide(uint8_t encoding) { return encoding == kUtf16WithBom || encoding == kUtf16BigEndian; }

// Bytes up to (not including) the first NUL of the encoding, from `begin`.
size_t StringLength(const uint8_t* data, size_t size, uint8_t encoding) {
  if (IsWide(encoding)) {
    size_t i = 0;
    while (i + 1 < size && (data[i] != 0 || data[i + 1] != 0)) i += 2;
    return i + 1 < size ? i : size;
  }
  size_t i = 0;
  while (i < size && data[i] != 0) ++i;
  return i;
}

size_t TerminatorLength(uint8_t encoding) { return IsWide(encoding) ? 2 : 1; }

std::u16string Utf16Units(const uint8_t* data, size_t size, bool bigEndian) {
  std::u16string text;
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = bigEndian ? static_cast<char16_t>(data[i] << 8 | data[i + 1])
                                    : static_cast<char16_t>(data[i + 1] << 8 | data[i]);
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

// Stores one string of the given encoding (not including its NUL) as the
// frame's text.
void StoreString(Id3v2Frame& frame, uint8_t encoding, const uint8_t* data, size_t size) {
  switch (encoding) {
    case kLatin1:
      frame.narrow = std::string(reinterpret_cast<const char*>(data), size);
      break;
    case kUtf16WithBom:
      if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        frame.wide = Utf16Units(data + 2, size - 2, true);
      } else if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        frame.wide = Utf16Units(data + 2, size - 2, false);
      } else {
        frame.wide = Utf16Units(data, size, false);  // no mark: little-endian
      }
      break;
    case kUtf16BigEndian:
      frame.wide = Utf16Units(data, size, true);
      break;
    case kUtf8:
      frame.wide = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
      break;
    default:
      break;
  }
}

void StoreEmpty(Id3v2Frame& frame, uint8_t encoding) {
  if (encoding == kLatin1) {
    frame.narrow = std::string();
  } else if (encoding <= kUtf8) {
    frame.wide = std::u16string();
  }
}

}  // namespace

void DecodeTextFrame(Id3v2Frame& frame, const uint8_t* data, size_t size) {
  if (size == 0) return;
  frame.encoding = data[0];
  const uint8_t* text = data + 1;
  const size_t textSize = size - 1;
  StoreString(frame, frame.encoding, text, StringLength(text, textSize, frame.encoding));
}

void DecodeCommentFrame(Id3v2Frame& frame, const uint8_t* data, size_t size) {
  if (size == 0) return;
  frame.encoding = data[0];
  if (frame.encoding > kUtf8) return;
  if (size - 1 < kLanguageLength) {
    StoreEmpty(frame, frame.encoding);
    return;
  }
  const uint8_t* description = data + 1 + kLanguageLength;
  const size_t rest = size - 1 - kLanguageLength;
  const size_t descriptionLength = StringLength(description, rest, frame.encoding);
  const size_t terminator = TerminatorLength(frame.encoding);
  if (descriptionLength + terminator > rest) {
    StoreEmpty(frame, frame.encoding);
    return;
  }
  // A UTF-16 description may consist of its byte-order mark alone.
  const bool onlyMark = frame.encoding == kUtf16WithBom && descriptionLength == 2 &&
                        ((description[0] == 0xFF && description[1] == 0xFE) ||
                         (description[0] == 0xFE && description[1] == 0xFF));
  frame.emptyDescription = descriptionLength == 0 || onlyMark;
  const uint8_t* comment = description + descriptionLength + terminator;
  const size_t commentSize = rest - descriptionLength - terminator;
  StoreString(frame, frame.encoding, comment, StringLength(comment, commentSize, frame.encoding));
}
