#include "split/TrackNames.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t kLongestName = 255;  // bytes, NAME_MAX
constexpr char kExtension[] = ".mp3";
constexpr size_t kExtensionLength = sizeof kExtension - 1;
constexpr int kNumberDigits = 2;
constexpr char kReplacement = '_';
constexpr char kFields[] = "ntaAs%";

std::string Number(int number, int count) {
  const int width = std::max(kNumberDigits, static_cast<int>(std::to_string(count).size()));
  std::string text = std::to_string(number);
  return std::string(static_cast<size_t>(std::max(0, width - static_cast<int>(text.size()))), '0') + text;
}

std::string Expand(const std::string& pattern, const TrackNameFields& f) {
  std::string name;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      name.push_back(pattern[i]);
      continue;
    }
    switch (pattern[++i]) {
      case 'n': name += Number(f.number, f.count); break;
      case 't': name += f.title; break;
      case 'a': name += f.artist; break;
      case 'A': name += f.album; break;
      case 's': name += f.sourceTitle; break;
      default: name.push_back(pattern[i]); break;  // "%%"
    }
  }
  return name;
}

bool EndsWithExtension(const std::string& name) {
  if (name.size() < kExtensionLength) return false;
  return std::equal(name.end() - kExtensionLength, name.end(), kExtension,
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// Cuts `text` to at most `bytes` bytes without splitting a UTF-8 character.
std::string CutAtCharacter(const std::string& text, size_t bytes) {
  if (text.size() <= bytes) return text;
  size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

std::optional<std::string> NamePatternProblem(const std::string& pattern) {
  if (pattern.empty()) return "the name pattern is empty";
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    if (i + 1 >= pattern.size()) return "the name pattern ends in a lone %";
    if (std::string(kFields).find(pattern[i + 1]) == std::string::npos) {
      return std::string("unknown field %") + pattern[i + 1] + " in the name pattern (%n %t %a %A %s %%)";
    }
    ++i;
  }
  return std::nullopt;
}

std::string TrackFileName(const std::string& pattern, const TrackNameFields& fields) {
  std::string name = Expand(pattern, fields);
  for (char& c : name) {
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = kReplacement;
  }
  std::string base = EndsWithExtension(name) ? name.substr(0, name.size() - kExtensionLength) : name;
  std::string extension = EndsWithExtension(name) ? name.substr(name.size() - kExtensionLength) : kExtension;
  if (base.empty()) base = Number(fields.number, fields.count);
  return CutAtCharacter(base, kLongestName - kExtensionLength) + extension;
}
