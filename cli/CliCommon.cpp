#include "cli/CliCommon.h"

#include <cctype>
#include <cstdio>
#include <cstring>

std::optional<int64_t> ParseTimeMs(const std::string& text) {
  if (text.empty()) return std::nullopt;
  size_t i = 0;
  bool negative = false;
  if (text[0] == '-') {
    negative = true;
    i = 1;
  }
  if (i >= text.size()) return std::nullopt;
  // Plain integer: milliseconds.
  if (text.find_first_of(":.", i) == std::string::npos) {
    int64_t v = 0;
    for (; i < text.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
      v = v * 10 + (text[i] - '0');
      if (v > (int64_t{1} << 40)) return std::nullopt;
    }
    return negative ? -v : v;
  }
  // [[hh:]mm:]ss[.mmm]
  int64_t parts[3] = {0, 0, 0};
  int count = 0;
  int64_t fraction = 0;
  size_t start = i;
  for (;;) {
    size_t j = start;
    int64_t v = 0;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      v = v * 10 + (text[j] - '0');
      if (v > (int64_t{1} << 32)) return std::nullopt;
      ++j;
    }
    if (j == start || count == 3) return std::nullopt;
    parts[count++] = v;
    if (j == text.size()) break;
    if (text[j] == ':') {
      start = j + 1;
      continue;
    }
    if (text[j] != '.') return std::nullopt;
    // Fraction: up to three digits are milliseconds, more must be digits.
    size_t k = j + 1;
    int digits = 0;
    if (k == text.size()) return std::nullopt;
    for (; k < text.size(); ++k) {
      if (!std::isdigit(static_cast<unsigned char>(text[k]))) return std::nullopt;
      if (digits < 3) fraction = fraction * 10 + (text[k] - '0');
      ++digits;
    }
    for (int d = digits; d < 3; ++d) fraction *= 10;
    break;
  }
  int64_t seconds = 0;
  for (int p = 0; p < count; ++p) {
    // Minutes and seconds below an hour or minute field stay below 60.
    if (p > 0 && parts[p] >= 60) return std::nullopt;
    seconds = seconds * 60 + parts[p];
  }
  const int64_t ms = seconds * 1000 + fraction;
  return negative ? -ms : ms;
}

namespace {

// The length of the well-formed UTF-8 sequence at `i`, or 0.
size_t Utf8SequenceAt(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  size_t length = 0;
  unsigned lowest = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2, lowest = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3, lowest = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4, lowest = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  unsigned value = c & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    value = value << 6 | (byte(i + k) & 0x3F);
  }
  if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      // JSON is UTF-8: a byte that is not part of a well-formed sequence
      // (a file name in another charset) becomes U+FFFD.
      const size_t length = Utf8SequenceAt(text, i);
      if (length == 0) {
        out += "\\ufffd";
      } else {
        out.append(text, i, length);
        i += length - 1;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

bool WantsHelp(const CliCommand& command, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("usage: padocut-cli %s %s\n  %s\n", command.name, command.usage, command.summary);
      return true;
    }
  }
  return false;
}

int UsageError(const CliCommand& command, const std::string& why) {
  std::fprintf(stderr, "padocut-cli %s: %s\nusage: padocut-cli %s %s\n", command.name, why.c_str(),
               command.name, command.usage);
  return kCliUsage;
}

int Failure(const std::string& reason) {
  std::fprintf(stderr, "%s\n", reason.c_str());
  return kCliFailed;
}
