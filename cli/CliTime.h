// Times on padocut-cli's command line: the forms of platform/TimeText, with
// two additions that belong to the command line only. A bare integer is
// milliseconds ("1500"; scripts have always written times so), and a
// leading '-' makes a time negative (a START before the audio cuts from its
// first frame; `offset` answers -1). "end" reads as kMaxTimeTextMs, which is
// at or past the end of any audio.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/TimeText.h"

TimeTextResult ParseCliTime(const std::string& text);

// The time, or nothing when the text is malformed or out of range.
std::optional<int64_t> ParseTimeMs(const std::string& text);

// Parses `text` into `*ms`; otherwise the usage problem to report, naming
// the text (and the limit, when it is out of range).
std::optional<std::string> TimeArgument(const std::string& text, int64_t* ms);
