#include "platform/TimeText.h"

#include <array>
#include <optional>

namespace {

// Any number above this is out of range whatever its unit; reading stops
// growing there, so a hundred digits cannot overflow.
constexpr int64_t kSaturated = int64_t{1} << 50;
constexpr int kMaxFractionDigits = 3;

// A left-to-right reader over the text.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : m_text(text) {}
  bool AtEnd() const { return m_at == m_text.size(); }
  bool Next(char c) const { return !AtEnd() && m_text[m_at] == c; }
  bool Take(char c) {
    if (!Next(c)) return false;
    ++m_at;
    return true;
  }
  bool TakeWord(std::string_view word) {
    if (m_text.substr(m_at, word.size()) != word) return false;
    m_at += word.size();
    return true;
  }
  // One or more digits, saturated at kSaturated.
  std::optional<int64_t> Number() {
    const size_t start = m_at;
    int64_t value = 0;
    for (; !AtEnd() && m_text[m_at] >= '0' && m_text[m_at] <= '9'; ++m_at) {
      value = value >= kSaturated ? kSaturated : value * 10 + (m_text[m_at] - '0');
    }
    if (m_at == start) return std::nullopt;
    return value;
  }
  // ".f", ".ff" or ".fff" as milliseconds; 0 without a '.'.
  std::optional<int64_t> FractionMs() {
    if (!Take('.')) return 0;
    const size_t start = m_at;
    const auto digits = Number();
    const size_t count = m_at - start;
    if (!digits || count > kMaxFractionDigits) return std::nullopt;
    int64_t ms = *digits;
    for (size_t d = count; d < kMaxFractionDigits; ++d) ms *= 10;
    return ms;
  }

 private:
  std::string_view m_text;
  size_t m_at = 0;
};

TimeTextResult Done(int64_t ms) {
  if (ms > kMaxTimeTextMs) return {TimeTextStatus::OutOfRange, 0};
  return {TimeTextStatus::Ok, ms};
}

constexpr TimeTextResult kMalformed{};

// [[h:]m:]s[.fff]
TimeTextResult ParseClock(std::string_view text) {
  Scanner in(text);
  int64_t seconds = 0;
  bool tooLarge = false;
  for (int field = 0;; ++field) {
    const auto value = in.Number();
    if (!value || field == 3 || (field > 0 && *value >= 60)) return kMalformed;
    tooLarge = tooLarge || *value > kMaxTimeTextMs;
    seconds = tooLarge ? 0 : seconds * 60 + *value;
    if (!in.Take(':')) break;
  }
  const auto fraction = in.FractionMs();
  if (!fraction || !in.AtEnd()) return kMalformed;
  return tooLarge ? TimeTextResult{TimeTextStatus::OutOfRange, 0} : Done(seconds * 1000 + *fraction);
}

// [Nh][Nm][N[.fff]s][Nms]
TimeTextResult ParseUnits(std::string_view text) {
  struct Unit {
    std::string_view name;
    int64_t ms;
    int64_t below;  // the bound when a larger unit came first
  };
  // "ms" before "m" so that "500ms" is not read as minutes followed by "s".
  static constexpr std::array<Unit, 4> kUnits = {
      {{"h", 3600000, kSaturated}, {"ms", 1, 1000}, {"m", 60000, 60}, {"s", 1000, 60}}};
  static constexpr std::array<int, 4> kRank = {0, 3, 1, 2};  // h, ms, m, s in the order they may follow
  Scanner in(text);
  int64_t total = 0;
  int lastRank = -1;
  bool tooLarge = false;
  while (!in.AtEnd()) {
    const auto value = in.Number();
    const bool hasFraction = in.Next('.');
    const auto fraction = in.FractionMs();
    if (!value || !fraction) return kMalformed;
    size_t u = 0;
    while (u < kUnits.size() && !in.TakeWord(kUnits[u].name)) ++u;
    if (u == kUnits.size() || kRank[u] <= lastRank) return kMalformed;
    // Only seconds take a fraction, and nothing follows it ("3.5s200ms").
    const bool seconds = kUnits[u].name == "s";
    if (hasFraction && (!seconds || !in.AtEnd())) return kMalformed;
    if (lastRank >= 0 && *value >= kUnits[u].below) return kMalformed;
    tooLarge = tooLarge || *value > kMaxTimeTextMs;
    if (!tooLarge) total += *value * kUnits[u].ms + *fraction;
    lastRank = kRank[u];
  }
  if (lastRank >= 0 && tooLarge) return {TimeTextStatus::OutOfRange, 0};
  return lastRank < 0 ? kMalformed : Done(total);
}

}  // namespace

TimeTextResult ParseTimeText(std::string_view text) {
  if (text == "end") return {TimeTextStatus::End, kMaxTimeTextMs};
  if (text.find_first_of("hms") != std::string_view::npos) return ParseUnits(text);
  return ParseClock(text);
}
