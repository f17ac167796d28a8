#include "tags/TextConvert.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "tags/TagCharset.h"

namespace {

constexpr const char* kWideCharset =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Narrow text that its own charset cannot read is taken as this instead.
constexpr const char* kFallbackCharset = "ISO-8859-1";

// What a failed character becomes, per target.
constexpr char kNarrowReplacement[] = "?";
constexpr char kUtf8Replacement[] = "\xEF\xBF\xBD";
constexpr char16_t kWideReplacement[] = u"\uFFFD";

// What a lenient conversion replaced.
struct Problems {
  bool invalid = false;      // a sequence the source charset does not have
  bool cutAtTheEnd = false;  // a character cut short by the end of the text
};

class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts `size` bytes. `unit` is the input's code unit size (1 or 2):
  // an invalid unit is skipped and replaced by `replacement`. `problems`,
  // when given, receives what had to be replaced.
  std::string Run(const char* input, size_t size, size_t unit, std::string_view replacement,
                  Problems* problems = nullptr) {
    std::string out;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[1024];
    char* in = const_cast<char*>(input);
    size_t inLeft = size;
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t result = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (result != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      out.append(replacement);
      if (errno == EINVAL) {  // incomplete sequence at the end
        if (problems) problems->cutAtTheEnd = true;
        break;
      }
      if (problems) problems->invalid = true;
      // EILSEQ (or anything else): skip one unit, two for a surrogate pair.
      size_t skip = unit <= inLeft ? unit : inLeft;
      if (unit == 2 && inLeft >= 4) {
        char16_t first, second;
        std::memcpy(&first, in, 2);
        std::memcpy(&second, in + 2, 2);
        if (first >= 0xD800 && first < 0xDC00 && second >= 0xDC00 && second < 0xE000) skip = 4;
      }
      in += skip;
      inLeft -= skip;
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft);  // closing shift sequence
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return out;
  }

 private:
  iconv_t m_cd;
};

std::string CharsetOrDefault(const char* charset) {
  return charset ? std::string(charset) : GetTagCharset();
}

std::optional<std::string> ToBytes(const char* to, const char* from, const char* input,
                                   size_t size, size_t unit, std::string_view replacement) {
  Converter converter(to, from);
  if (!converter.Ok()) return std::nullopt;
  return converter.Run(input, size, unit, replacement);
}

// Narrow tag text that is not valid in its charset was almost always written
// in ISO-8859-1 by a Western tagger: read as that instead, every byte is a
// character and none is lost. A multi-byte text cut short by a fixed-width
// field (the ID3v1 way of storing a long title) stays in its charset when
// all before the cut is valid and holds a multi-byte character; a last byte
// after plain ASCII, such as the "\xE9" of "Caf\xE9", is Latin-1 too.
std::optional<std::string> NarrowToBytes(const char* to, const std::string& from,
                                         std::string_view text, std::string_view replacement) {
  Converter converter(to, from.c_str());
  if (!converter.Ok()) return std::nullopt;
  Problems problems;
  std::string out = converter.Run(text.data(), text.size(), 1, replacement, &problems);
  if (problems.invalid) return ToBytes(to, kFallbackCharset, text.data(), text.size(), 1, replacement);
  if (!problems.cutAtTheEnd) return out;
  const bool multiByteBeforeTheCut =
      std::any_of(text.begin(), text.end() - 1, [](char c) { return (c & 0x80) != 0; });
  if (multiByteBeforeTheCut) return out;
  return ToBytes(to, kFallbackCharset, text.data(), text.size(), 1, replacement);
}

std::optional<std::u16string> BytesToWide(std::optional<std::string> bytes) {
  if (!bytes) return std::nullopt;
  std::u16string wide(bytes->size() / 2, u'\0');
  std::memcpy(wide.data(), bytes->data(), wide.size() * 2);
  return wide;
}

std::string_view WideReplacement() {
  return std::string_view(reinterpret_cast<const char*>(kWideReplacement), 2);
}

}  // namespace

std::optional<std::string> AnsiToUtf8(std::string_view text, const char* charset) {
  return NarrowToBytes("UTF-8", CharsetOrDefault(charset), text, kUtf8Replacement);
}

std::optional<std::string> WideToUtf8(std::u16string_view text) {
  return ToBytes("UTF-8", kWideCharset, reinterpret_cast<const char*>(text.data()),
                 text.size() * 2, 2, kUtf8Replacement);
}

std::optional<std::string> WideToAnsi(std::u16string_view text, const char* charset) {
  const std::string to = CharsetOrDefault(charset);
  return ToBytes(to.c_str(), kWideCharset, reinterpret_cast<const char*>(text.data()),
                 text.size() * 2, 2, kNarrowReplacement);
}

std::optional<std::u16string> Utf8ToWide(std::string_view bytes) {
  return BytesToWide(ToBytes(kWideCharset, "UTF-8", bytes.data(), bytes.size(), 1,
                             WideReplacement()));
}

std::optional<std::u16string> AnsiToWide(std::string_view text, const char* charset) {
  return BytesToWide(NarrowToBytes(kWideCharset, CharsetOrDefault(charset), text, WideReplacement()));
}

std::optional<std::string> WideToAnsiFitting(std::u16string_view text, size_t width,
                                             const char* charset) {
  const std::string to = CharsetOrDefault(charset);
  Converter converter(to.c_str(), kWideCharset);
  if (!converter.Ok()) return std::nullopt;
  auto convertPrefix = [&](size_t units) {
    return converter.Run(reinterpret_cast<const char*>(text.data()), units * 2, 2,
                         kNarrowReplacement);
  };
  std::string whole = convertPrefix(text.size());
  if (whole.size() <= width) return whole;
  // Boundaries between characters (never inside a surrogate pair).
  auto isBoundary = [&](size_t i) {
    return i == 0 || i >= text.size() || !(text[i] >= 0xDC00 && text[i] < 0xE000);
  };
  // The narrow length grows with the prefix: find the longest prefix that fits.
  size_t low = 0, high = text.size();  // prefix `low` fits, `high` does not
  std::string best;
  while (high - low > 1) {
    size_t middle = low + (high - low) / 2;
    if (!isBoundary(middle)) ++middle;
    if (middle >= high) {
      // Only the pair's second half lies between: `low` is the answer.
      break;
    }
    std::string candidate = convertPrefix(middle);
    if (candidate.size() <= width) {
      low = middle;
      best = std::move(candidate);
    } else {
      high = middle;
    }
  }
  return best;
}
