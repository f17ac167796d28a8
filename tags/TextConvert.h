// Conversions between the narrow tag charset (TagCharset.h), UTF-16 (the
// "wide" form, host byte order in char16_t) and UTF-8, through iconv.
//
// Conversions are lenient, as the desktop's own converters are: a sequence
// that is not valid UTF-8 or UTF-16, or a character the target charset
// cannot hold, becomes one replacement character (U+FFFD in UTF-8 and
// UTF-16, '?' in a narrow charset) and the conversion goes on.
// None is returned only when iconv cannot convert between the two charsets
// at all. A null `charset` means the process-wide tag charset.
//
// Narrow text that is not valid in its charset is read as ISO-8859-1
// instead (no byte is lost that way); only a character cut short at the
// very end of a text that is otherwise valid multi-byte text is replaced.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

std::optional<std::string> AnsiToUtf8(std::string_view text, const char* charset = nullptr);
std::optional<std::string> WideToUtf8(std::u16string_view text);
std::optional<std::string> WideToAnsi(std::u16string_view text, const char* charset = nullptr);
std::optional<std::u16string> Utf8ToWide(std::string_view bytes);
std::optional<std::u16string> AnsiToWide(std::string_view text, const char* charset = nullptr);

// The longest run of whole leading characters of `text` whose narrow form
// fits in `width` bytes, converted: a fixed-width field never ends in half a
// multi-byte character.
std::optional<std::string> WideToAnsiFitting(std::u16string_view text, size_t width,
                                             const char* charset = nullptr);
