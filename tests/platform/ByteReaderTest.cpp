#include "platform/ByteReader.h"

#include <gtest/gtest.h>

// Fields in order, big-endian unless little-endian is named; a read past
// the end returns 0, moves nothing and fails every later read too, so a
// parser of hostile bytes checks once per block.
TEST(ByteReader, ReadsInOrderAndFailsStickilyAtTheEnd) {
  const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x01, 0x02};
  ByteReader r(bytes, sizeof bytes);
  EXPECT_EQ(r.Be16(), 0x1234);
  EXPECT_EQ(r.Be24(), 0x56789Au);
  EXPECT_EQ(r.Le32(), 0x01F0DEBCu);
  EXPECT_FALSE(r.Failed());
  EXPECT_EQ(r.Remaining(), 1u);
  EXPECT_EQ(r.Be16(), 0);
  EXPECT_TRUE(r.Failed());
  EXPECT_EQ(r.Position(), 9u);
  r.Seek(0);
  EXPECT_EQ(r.U8(), 0);  // still failed
  ByteReader seek(bytes, sizeof bytes);
  seek.Seek(sizeof bytes + 1);
  EXPECT_TRUE(seek.Failed());
  EXPECT_EQ(ByteReader(bytes, 0).Bytes(1), nullptr);

  uint8_t out[4];
  PutBe32(out, 0xA1B2C3D4u);
  EXPECT_EQ(ByteReader(out, 4).Be32(), 0xA1B2C3D4u);
  PutBe24(out, 0x0ABCDEu);
  EXPECT_EQ(ByteReader(out, 3).Be24(), 0x0ABCDEu);
  PutBe16(out, 0xBEEF);
  EXPECT_EQ(ByteReader(out, 2).Be16(), 0xBEEF);
}
