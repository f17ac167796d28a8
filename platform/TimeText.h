// TimeText: a time as people type it, for the command line and the
// window's time fields. No spaces and no sign; one of three forms:
//
//   clock   [[h:]m:]s[.fff]    "90" (seconds), "1:30", "01:02:03.5"; the
//                              fields after the first stay below 60
//   units   [Nh][Nm][N[.fff]s][Nms], at least one, in this order:
//                              "90s", "1500ms", "1m30s", "1h2m3.5s"; a unit
//                              after the first stays below the next larger
//                              one (60 m, 60 s, 1000 ms)
//   "end"                      the end of the audio, whatever its length
//
// A fraction has one to three digits (milliseconds). Times above
// kMaxTimeTextMs (596:31:23.647, the largest int of milliseconds) are out
// of range rather than malformed, so the caller can say the limit. A plain
// number is seconds here: the command line reads a bare integer as
// milliseconds before it asks this parser.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr int64_t kMaxTimeTextMs = 2147483647;

enum class TimeTextStatus {
  Ok,          // `ms` holds the time
  End,         // "end"; `ms` holds kMaxTimeTextMs
  Malformed,   // none of the forms
  OutOfRange,  // well formed, above kMaxTimeTextMs
};

struct TimeTextResult {
  TimeTextStatus status = TimeTextStatus::Malformed;
  int64_t ms = 0;
};

TimeTextResult ParseTimeText(std::string_view text);
