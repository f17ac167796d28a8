#include "mp3/ByteRing.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {
std::vector<uint8_t> Sequence(int n, int start = 0) {
  std::vector<uint8_t> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = static_cast<uint8_t>(start + i);
  return v;
}
}  // namespace

TEST(ByteRing, EqualityGrowsBeforeTheRingWouldBeFull) {
  ByteRing ring(4096);
  auto data = Sequence(4096);
  ASSERT_EQ(ring.Write(data.data(), 4096), 1);
  EXPECT_EQ(ring.Capacity(), 8192);
  EXPECT_EQ(ring.Count(), 4096);
  EXPECT_EQ(ring.ReadPosition(), 0);
}

TEST(ByteRing, LargeWriteGrowsInOneStepByDoubling) {
  ByteRing ring(4096);
  auto data = Sequence(10000);
  ASSERT_EQ(ring.Write(data.data(), 10000), 1);
  EXPECT_EQ(ring.Capacity(), 16384);
  std::vector<uint8_t> out(10000);
  ASSERT_EQ(ring.Read(out.data(), 10000, 1), 1);
  EXPECT_EQ(out, data);
}

TEST(ByteRing, GrowKeepsOrderOfWrappedBytes) {
  ByteRing ring(16);
  auto a = Sequence(12);
  ASSERT_EQ(ring.Write(a.data(), 12), 1);
  std::vector<uint8_t> sink(10);
  ASSERT_EQ(ring.Read(sink.data(), 10, 1), 1);
  auto b = Sequence(10, 100);  // wraps: write position passes the end
  ASSERT_EQ(ring.Write(b.data(), 10), 1);
  EXPECT_EQ(ring.Capacity(), 16);
  EXPECT_LT(ring.WritePosition(), ring.ReadPosition());
  auto c = Sequence(20, 200);  // forces growth of wrapped content
  ASSERT_EQ(ring.Write(c.data(), 20), 1);
  EXPECT_EQ(ring.Capacity(), 64);
  std::vector<uint8_t> out(32);
  ASSERT_EQ(ring.Read(out.data(), 32, 1), 1);
  std::vector<uint8_t> expected = {10, 11};
  expected.insert(expected.end(), b.begin(), b.end());
  expected.insert(expected.end(), c.begin(), c.end());
  EXPECT_EQ(out, expected);
}

TEST(ByteRing, ReadIsAllOrNothingAndPeekKeepsBytes) {
  ByteRing ring(64);
  auto data = Sequence(10);
  ring.Write(data.data(), 10);
  std::vector<uint8_t> out(11, 0xEE);
  EXPECT_EQ(ring.Read(out.data(), 11, 1), 0);
  EXPECT_EQ(out[0], 0xEE);
  EXPECT_EQ(ring.Read(out.data(), 0, 1), 0);
  EXPECT_EQ(ring.Read(out.data(), 5, 0), 1);
  std::vector<uint8_t> again(5);
  EXPECT_EQ(ring.Read(again.data(), 5, 0), 1);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), out.begin()));
  EXPECT_EQ(ring.Count(), 10);
  EXPECT_EQ(ring.Write(nullptr, 0), 1);
  EXPECT_EQ(ring.Write(nullptr, -3), 1);
}

TEST(ByteRing, ResetAfterGrowthKeepsCapacity) {
  ByteRing ring(8);
  auto data = Sequence(30);
  ring.Write(data.data(), 30);
  const int cap = ring.Capacity();
  ring.Reset();
  EXPECT_EQ(ring.Capacity(), cap);
  EXPECT_EQ(ring.Count(), 0);
}
