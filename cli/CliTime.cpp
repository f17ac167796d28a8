#include "cli/CliTime.h"

#include <algorithm>

#include "cli/Texts.h"
#include "platform/FormatTime.h"

namespace {

bool IsBareInteger(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

TimeTextResult ParseCliTime(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string magnitude = negative ? text.substr(1) : text;
  TimeTextResult result;
  if (IsBareInteger(magnitude)) {
    // Milliseconds, saturated just above the limit so any length of digits reads.
    int64_t ms = 0;
    for (char c : magnitude) ms = std::min<int64_t>(ms * 10 + (c - '0'), kMaxTimeTextMs + 1);
    result = ms > kMaxTimeTextMs ? TimeTextResult{TimeTextStatus::OutOfRange, 0} : TimeTextResult{TimeTextStatus::Ok, ms};
  } else {
    result = ParseTimeText(magnitude);
  }
  if (negative && result.status == TimeTextStatus::End) return {};
  if (negative) result.ms = -result.ms;
  return result;
}

std::optional<int64_t> ParseTimeMs(const std::string& text) {
  const TimeTextResult time = ParseCliTime(text);
  if (time.status == TimeTextStatus::Ok || time.status == TimeTextStatus::End) return time.ms;
  return std::nullopt;
}

std::optional<std::string> TimeArgument(const std::string& text, int64_t* ms) {
  const TimeTextResult time = ParseCliTime(text);
  switch (time.status) {
    case TimeTextStatus::Ok:
    case TimeTextStatus::End:
      *ms = time.ms;
      return std::nullopt;
    case TimeTextStatus::OutOfRange:
      return clitext::TimeOutOfRange(text, FormatTime(static_cast<int>(kMaxTimeTextMs)));
    case TimeTextStatus::Malformed:
      break;
  }
  return clitext::NotATime(text);
}
