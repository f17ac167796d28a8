// The time text of the window's labels and of padocut-cli's play command.
#include <gtest/gtest.h>

#include <climits>

#include "platform/FormatTime.h"

TEST(FormatTime, ZeroAndNegativeReadZero) {
  EXPECT_EQ(FormatTime(0), "00:00:00.000");
  EXPECT_EQ(FormatTime(-5), "00:00:00.000");
  EXPECT_EQ(FormatTime(INT_MIN), "00:00:00.000");
}

TEST(FormatTime, FieldsCarryAtTheirLimits) {
  EXPECT_EQ(FormatTime(999), "00:00:00.999");
  EXPECT_EQ(FormatTime(59999), "00:00:59.999");
  EXPECT_EQ(FormatTime(3599999), "00:59:59.999");
  EXPECT_EQ(FormatTime(3600000), "01:00:00.000");
  EXPECT_EQ(FormatTime(3723456), "01:02:03.456");
}

TEST(FormatTime, HoursAreNotBounded) {
  EXPECT_EQ(FormatTime(100 * 3600000), "100:00:00.000");
  EXPECT_EQ(FormatTime(INT_MAX), "596:31:23.647");
}
