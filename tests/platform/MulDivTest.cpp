#include "platform/MulDiv.h"

#include <gtest/gtest.h>

#include <climits>

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(50, 255, 100), 128);   // 127.5
  EXPECT_EQ(MulDiv(-50, 255, 100), -128);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(2, 1, 3), 1);
  EXPECT_EQ(MulDiv(9216, 1000, 176400), 52);
  EXPECT_EQ(MulDiv(176400, 8000, 2 * 16 * 44100), 1000);
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 4, 2), -1);
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);  // wide intermediate
  EXPECT_EQ(MulDiv64(5, 5, 0), -1);
}

TEST(MulDiv, SixtyFourBitOperands) {
  const int64_t bytes = int64_t{5} << 32;  // 20 GiB
  EXPECT_EQ(MulDiv64(bytes, 8, 8), bytes);
  EXPECT_EQ(MulDiv64(bytes, 8000, 128000), bytes / 16);
  EXPECT_EQ(MulDiv64(bytes * 8, 1000, 3), 57266230613333);
}
