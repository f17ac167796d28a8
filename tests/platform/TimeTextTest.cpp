// Times as people type them, for the command line and the window's fields.
#include <gtest/gtest.h>

#include "platform/TimeText.h"

TEST(TimeText, ReadsClockUnitAndEndForms) {
  const struct {
    const char* text;
    TimeTextStatus status;
    int64_t ms;
  } kCases[] = {
      {"90", TimeTextStatus::Ok, 90000},  // seconds here: only the command line reads milliseconds
      {"1.5", TimeTextStatus::Ok, 1500},
      {"1.05", TimeTextStatus::Ok, 1050},
      {"1:30", TimeTextStatus::Ok, 90000},
      {"90:00", TimeTextStatus::Ok, 5400000},
      {"01:02:03.004", TimeTextStatus::Ok, 3723004},
      {"90s", TimeTextStatus::Ok, 90000},
      {"1500ms", TimeTextStatus::Ok, 1500},
      {"1m30s", TimeTextStatus::Ok, 90000},
      {"1h2m3.5s", TimeTextStatus::Ok, 3723500},
      {"2h", TimeTextStatus::Ok, 7200000},
      {"1m500ms", TimeTextStatus::Ok, 60500},
      {"end", TimeTextStatus::End, kMaxTimeTextMs},
      {"596:31:23.647", TimeTextStatus::Ok, kMaxTimeTextMs},
      {"596:31:23.648", TimeTextStatus::OutOfRange, 0},
      {"597h", TimeTextStatus::OutOfRange, 0},
      {"99999999999999999999s", TimeTextStatus::OutOfRange, 0},
      {"99999999999999999999:00", TimeTextStatus::OutOfRange, 0},
  };
  for (const auto& c : kCases) {
    const TimeTextResult r = ParseTimeText(c.text);
    EXPECT_EQ(r.status, c.status) << c.text;
    if (c.status != TimeTextStatus::OutOfRange) {
      EXPECT_EQ(r.ms, c.ms) << c.text;
    }
  }
}

TEST(TimeText, RejectsMalformedText) {
  for (const char* bad : {"", "1:30.1234", "1:75", "1:2:3:4", "5x", "1m75s", "1s1m", "1.5m", "3.5s200ms", "s",
                          "1h1h", "End", "1h 2m", "+5", "1,5", "-1", ":1", "1.", "1e3"}) {
    EXPECT_EQ(ParseTimeText(bad).status, TimeTextStatus::Malformed) << bad;
  }
}
