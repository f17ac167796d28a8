#include "mp3/FrameHeader.h"

#include <gtest/gtest.h>

#include "tests/mp3/FrameBuilder.h"

TEST(FrameHeader, RejectsReservedFields) {
  const uint32_t good = MakeHeader(1, 3, 9, 0);
  EXPECT_TRUE(IsValidFrameHeader(good));
  EXPECT_FALSE(IsValidFrameHeader(good & ~0x00200000u));          // sync bit missing
  EXPECT_FALSE(IsValidFrameHeader(good & ~(3u << 17)));           // layer code 0
  EXPECT_FALSE(IsValidFrameHeader(MakeHeader(1, 3, 0, 0)));       // free format
  EXPECT_FALSE(IsValidFrameHeader(MakeHeader(1, 3, 15, 0)));      // bad bitrate
  EXPECT_FALSE(IsValidFrameHeader(MakeHeader(1, 3, 9, 3)));       // bad sample rate
}

TEST(FrameHeader, LengthsFollowTheLayerFormulas) {
  EXPECT_EQ(FrameLength(MakeHeader(1, 3, 9, 0)), 417);       // 128k @ 44.1k
  EXPECT_EQ(FrameLength(MakeHeader(1, 3, 9, 0, 1)), 418);    // padded
  EXPECT_EQ(FrameLength(MakeHeader(1, 3, 14, 2)), 1440);     // 320k @ 32k
  EXPECT_EQ(FrameLength(MakeHeader(2, 3, 8, 0)), 208);       // 64k @ 22.05k, half slots
  EXPECT_EQ(FrameLength(MakeHeader(25, 3, 1, 2)), 72);       // 8k @ 8k
  EXPECT_EQ(FrameLength(MakeHeader(1, 2, 14, 2)), 1728);     // Layer II 384k @ 32k
  EXPECT_EQ(FrameLength(MakeHeader(1, 1, 12, 0, 1)), 420);   // Layer I 384k @ 44.1k, one slot = 4 bytes
}

TEST(FrameHeader, DerivedValuesPerVersion) {
  const uint32_t m1 = MakeHeader(1, 3, 9, 1);
  EXPECT_EQ(SampleRateOf(m1), 48000);
  EXPECT_EQ(SamplesPerFrameOf(m1), 1152);
  EXPECT_DOUBLE_EQ(FrameDurationMs(MakeHeader(1, 3, 9, 0)), 1152000.0 / 44100);
  const uint32_t m2 = MakeHeader(2, 3, 8, 2, 0, 3);
  EXPECT_EQ(SampleRateOf(m2), 16000);
  EXPECT_EQ(SamplesPerFrameOf(m2), 576);
  EXPECT_EQ(mpeg::Channels(m2), 1);
  EXPECT_EQ(BitrateKbpsOf(m2), 64);
  const uint32_t m25 = MakeHeader(25, 3, 8, 1);
  EXPECT_EQ(mpeg::Mpeg25(m25), 1);
  EXPECT_EQ(mpeg::Lsf(m25), 1);
  EXPECT_EQ(SampleRateOf(m25), 12000);
  EXPECT_EQ(SamplesPerFrameOf(MakeHeader(1, 2, 9, 0)), 1152);
  EXPECT_EQ(SamplesPerFrameOf(MakeHeader(1, 1, 9, 0)), 384);
}

TEST(FrameHeader, SameStreamIgnoresBitrateAndPadding) {
  const uint32_t ref = MakeHeader(1, 3, 9, 0, 0, 1);
  EXPECT_TRUE(SameStream(ref, MakeHeader(1, 3, 14, 0, 1, 0)));     // stereo modes both 2 channels
  EXPECT_FALSE(SameStream(ref, MakeHeader(1, 3, 9, 0, 0, 3)));     // mono
  EXPECT_FALSE(SameStream(ref, MakeHeader(1, 3, 9, 1)));           // other rate
  EXPECT_FALSE(SameStream(ref, MakeHeader(1, 2, 9, 0)));           // other layer
  EXPECT_FALSE(SameStream(ref, MakeHeader(2, 3, 9, 0)));           // other version
  EXPECT_FALSE(SameStream(ref, MakeHeader(1, 3, 0, 0)));           // not valid
}
