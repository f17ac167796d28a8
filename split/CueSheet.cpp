#include "split/CueSheet.h"

#include <cctype>
#include <cmath>
#include <optional>

#include "tags/TextConvert.h"

namespace {

constexpr int kSecondsPerMinute = 60;
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    uint32_t code = length == 1 ? c : c & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return false;
    i += static_cast<size_t>(length);
  }
  return true;
}

// UTF-16 after its byte-order mark (`bigEndian` per the mark) in UTF-8.
std::string Utf16Text(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? a << 8 | b : b << 8 | a));
  }
  return WideToUtf8(units).value_or("");
}

// The sheet's text in UTF-8 (see CueSheet.h for the encodings).
std::string SheetText(std::string_view bytes) {
  if (bytes.substr(0, 3) == kUtf8Mark) return std::string(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return Utf16Text(bytes, false);
  if (bytes.substr(0, 2) == "\xFE\xFF") return Utf16Text(bytes, true);
  if (IsUtf8(bytes)) return std::string(bytes);
  return AnsiToUtf8(bytes).value_or(std::string(bytes));
}

// One line taken apart: its command (upper case) and what follows.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : m_line(line) {}

  // The next word (up to a blank), or a quoted string without its quotes.
  // False at the end of the line or for an unterminated quote.
  bool Word(std::string* word) {
    SkipBlanks();
    if (m_at >= m_line.size()) return false;
    if (m_line[m_at] == '"') {
      const size_t end = m_line.find('"', m_at + 1);
      if (end == std::string_view::npos) {
        m_unterminated = true;
        return false;
      }
      *word = std::string(m_line.substr(m_at + 1, end - m_at - 1));
      m_at = end + 1;
      return true;
    }
    const size_t start = m_at;
    while (m_at < m_line.size() && !IsBlank(m_line[m_at])) ++m_at;
    *word = std::string(m_line.substr(start, m_at - start));
    return true;
  }
  // A value: a quoted string, or the rest of the line without its blanks.
  bool Value(std::string* value) {
    SkipBlanks();
    if (m_at < m_line.size() && m_line[m_at] == '"') return Word(value);
    std::string_view rest = m_line.substr(std::min(m_at, m_line.size()));
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
    *value = std::string(rest);
    m_at = m_line.size();
    return true;
  }
  bool Unterminated() const { return m_unterminated; }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
  void SkipBlanks() {
    while (m_at < m_line.size() && IsBlank(m_line[m_at])) ++m_at;
  }

  std::string_view m_line;
  size_t m_at = 0;
  bool m_unterminated = false;
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::optional<int> Number(const std::string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

class SheetParser {
 public:
  CueResult Run(std::string_view text);

 private:
  bool Line(std::string_view line);
  bool Track(LineReader& reader);
  bool Index(LineReader& reader);
  bool Refuse(const std::string& why) {
    m_result.problem = why;
    return false;
  }
  bool InTrack() const { return !m_result.sheet.tracks.empty(); }

  CueResult m_result;
  bool m_hasFile = false;
  bool m_trackHasStart = true;
  int m_trackLine = 0;
};

CueResult SheetParser::Run(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) {
    m_result.problem = "a CUE sheet holds no NUL bytes (is this a binary file?)";
    return m_result;
  }
  size_t at = 0;
  while (at <= text.size()) {
    ++m_result.line;
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    if (!Line(text.substr(at, end - at))) return m_result;
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    at = end + 1;
  }
  if (!m_trackHasStart) {
    m_result.line = m_trackLine;
    Refuse("the track has no INDEX 01");
    return m_result;
  }
  m_result.line = 0;
  if (!InTrack()) {
    Refuse("no TRACK in the sheet");
    return m_result;
  }
  m_result.ok = true;
  return m_result;
}

bool SheetParser::Line(std::string_view line) {
  LineReader reader(line);
  std::string command;
  if (!reader.Word(&command)) return !reader.Unterminated() || Refuse("a quote is not closed");
  command = Upper(command);
  CueSheet& sheet = m_result.sheet;
  std::string value;
  if (command == "TRACK") return Track(reader);
  if (command == "INDEX") return Index(reader);
  if (command == "FILE") {
    if (m_hasFile) return Refuse("a second FILE: the sheet must describe one recording");
    m_hasFile = true;
    if (!reader.Word(&sheet.file)) return Refuse(reader.Unterminated() ? "a quote is not closed" : "FILE names no file");
    return true;
  }
  if (command == "TITLE" || command == "PERFORMER") {
    if (!reader.Value(&value) || reader.Unterminated()) return Refuse("a quote is not closed");
    const bool title = command == "TITLE";
    if (InTrack()) {
      (title ? sheet.tracks.back().title : sheet.tracks.back().performer) = value;
    } else {
      (title ? sheet.title : sheet.performer) = value;
    }
    return true;
  }
  if (command == "REM") {
    std::string what;
    if (!reader.Word(&what)) return true;
    what = Upper(what);
    if ((what == "DATE" || what == "GENRE") && !InTrack()) {
      if (!reader.Value(&value) || reader.Unterminated()) return Refuse("a quote is not closed");
      (what == "DATE" ? sheet.date : sheet.genre) = value;
    }
    return true;
  }
  return true;  // other commands say nothing about where tracks start
}

bool SheetParser::Track(LineReader& reader) {
  std::string number, type;
  if (!reader.Word(&number) || !reader.Word(&type)) return Refuse("TRACK needs a number and a type (TRACK 01 AUDIO)");
  const std::optional<int> n = Number(number);
  if (!n || *n < 1) return Refuse("not a track number: '" + number + "'");
  if (Upper(type) != "AUDIO") return Refuse("track " + number + " is " + type + ", not AUDIO");
  std::vector<CueTrack>& tracks = m_result.sheet.tracks;
  if (!tracks.empty() && *n <= tracks.back().number) return Refuse("track numbers must rise");
  if (!m_trackHasStart) {
    m_result.line = m_trackLine;
    return Refuse("the track has no INDEX 01");
  }
  tracks.push_back(CueTrack{*n, 0, "", ""});
  m_trackHasStart = false;
  m_trackLine = m_result.line;
  return true;
}

bool SheetParser::Index(LineReader& reader) {
  std::string number, time;
  if (!reader.Word(&number) || !reader.Word(&time)) return Refuse("INDEX needs a number and a time (INDEX 01 00:00:00)");
  const std::optional<int> n = Number(number);
  if (!n) return Refuse("not an index number: '" + number + "'");
  const int64_t ms = CueTimeMs(time);
  if (ms < 0) return Refuse("not a time of minutes, seconds and frames (75 a second): '" + time + "'");
  if (!InTrack()) return Refuse("INDEX before the first TRACK");
  if (*n != 1) return true;
  std::vector<CueTrack>& tracks = m_result.sheet.tracks;
  if (m_trackHasStart) return Refuse("a second INDEX 01 in one track");
  if (tracks.size() > 1 && ms <= tracks[tracks.size() - 2].startMs) {
    return Refuse("INDEX 01 must come after the previous track's");
  }
  tracks.back().startMs = ms;
  m_trackHasStart = true;
  return true;
}

}  // namespace

int64_t CueTimeMs(std::string_view text) {
  int fields[3] = {0, 0, 0};
  int field = 0, digits = 0;
  for (char c : text) {
    if (c == ':') {
      if (digits == 0 || ++field > 2) return -1;
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < 6) {
      fields[field] = fields[field] * 10 + (c - '0');
      ++digits;
    } else {
      return -1;
    }
  }
  if (field != 2 || digits == 0) return -1;
  const int minutes = fields[0], seconds = fields[1], frames = fields[2];
  if (seconds >= kSecondsPerMinute || frames >= kCueFramesPerSecond) return -1;
  const int64_t totalFrames =
      (int64_t{minutes} * kSecondsPerMinute + seconds) * kCueFramesPerSecond + frames;
  return std::llround(static_cast<double>(totalFrames) * 1000.0 / kCueFramesPerSecond);
}

CueResult ParseCueSheet(std::string_view bytes) {
  const std::string text = SheetText(bytes);
  return SheetParser().Run(text);
}
