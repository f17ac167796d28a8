#include "mp3/VbrHeader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "mp3/Mp3StreamInfo.h"
#include "tests/mp3/FrameBuilder.h"
#include "tools/SignalEncoder.h"

namespace {

void PutBe32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// A Xing frame built by hand: `flags` selects the fields; with `lame` a LAME
// extension follows with the given delay/padding and a correct tag CRC.
std::vector<uint8_t> XingFrame(uint32_t header, const char* id, uint32_t flags, bool lame,
                               int delay = 576, int padding = 1000) {
  std::vector<uint8_t> f = MakeFrame(header);
  f.resize(std::max<size_t>(f.size(), kVbrProbeSize), 0);
  size_t p = static_cast<size_t>(XingOffsetOf(header));
  std::memcpy(&f[p], id, 4);
  PutBe32(f, p + 4, flags);
  p += 8;
  if (flags & kXingFlagFrames) { PutBe32(f, p, 1000); p += 4; }
  if (flags & kXingFlagBytes) { PutBe32(f, p, 418000); p += 4; }
  if (flags & kXingFlagToc) { for (int i = 0; i < 100; ++i) f[p + i] = static_cast<uint8_t>(i * 2); p += 100; }
  if (flags & kXingFlagQuality) { PutBe32(f, p, 57); p += 4; }
  if (lame) {
    std::memcpy(&f[p], "LAME3.99r", 9);
    f[p + 9] = 0x03;   // revision 0, VBR method 3
    f[p + 10] = 190;   // lowpass
    f[p + 19] = 0x04;  // ATH type 4
    f[p + 21] = static_cast<uint8_t>(delay >> 4);
    f[p + 22] = static_cast<uint8_t>(((delay & 0xF) << 4) | (padding >> 8));
    f[p + 23] = static_cast<uint8_t>(padding & 0xFF);
    const uint16_t crc = Crc16Arc(f.data(), p + 34);
    f[p + 34] = static_cast<uint8_t>(crc >> 8);
    f[p + 35] = static_cast<uint8_t>(crc & 0xFF);
  }
  return f;
}

}  // namespace

// The check value of CRC-16/ARC, and every length around the table's
// eight-byte steps and the folding's 16- and 64-byte ones, from a running
// value, against the bit-by-bit definition (reflected 0xA001).
TEST(VbrHeader, Crc16ArcMatchesItsDefinitionAtEveryLength) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc16Arc(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xBB3D);
  std::vector<uint8_t> bytes(400);
  uint32_t noise = 12345;
  for (uint8_t& b : bytes) b = static_cast<uint8_t>((noise = noise * 1103515245u + 12345u) >> 16);
  uint16_t bitwise = 0x1234;
  for (size_t length = 0; length <= bytes.size(); ++length) {
    EXPECT_EQ(Crc16Arc(bytes.data(), length, 0x1234), bitwise) << length;
    EXPECT_EQ(Crc16ArcByTables(bytes.data(), length, 0x1234), bitwise) << length;
    if (length == bytes.size()) break;
    bitwise ^= bytes[length];
    for (int k = 0; k < 8; ++k) bitwise = (bitwise & 1) ? static_cast<uint16_t>((bitwise >> 1) ^ 0xA001) : bitwise >> 1;
  }
}

TEST(VbrHeader, IdentifierOffsetsByVersionAndChannels) {
  EXPECT_EQ(XingOffsetOf(MakeHeader(1, 3, 9, 0, 0, 0)), 36);
  EXPECT_EQ(XingOffsetOf(MakeHeader(1, 3, 9, 0, 0, 3)), 21);
  EXPECT_EQ(XingOffsetOf(MakeHeader(2, 3, 9, 0, 0, 0)), 21);
  EXPECT_EQ(XingOffsetOf(MakeHeader(2, 3, 9, 0, 0, 3)), 13);
}

TEST(VbrHeader, ParsesFullXingWithLameExtension) {
  auto f = XingFrame(MakeHeader(1, 3, 9, 0), "Xing", 0xF, true, 576, 1234);
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(f.data(), &v), 1);
  EXPECT_EQ(v.kind, VbrHeaderKind::Xing);
  EXPECT_EQ(v.isVbr, 1);
  EXPECT_EQ(v.mpeg1, 1);
  EXPECT_EQ(v.sampleRate, 44100);
  EXPECT_EQ(v.frames, 1000);
  EXPECT_EQ(v.bytes, 418000);
  EXPECT_EQ(v.quality, 57);
  EXPECT_EQ(v.toc[50], 100);
  EXPECT_EQ(v.hasLameExtension, 1);
  EXPECT_STREQ(v.encoder, "LAME3.99r");
  EXPECT_EQ(v.presetCode, 3);
  EXPECT_EQ(v.encoderDelay, 576);
  EXPECT_EQ(v.encoderPadding, 1234);
  EXPECT_EQ(v.tagFrameSize, 417);  // 2 * 72000 * 128 / 44100
}

TEST(VbrHeader, InfoIsCbrAndMonoMpeg2SitsAt13) {
  auto f = XingFrame(MakeHeader(2, 3, 8, 0, 0, 3), "Info", kXingFlagFrames | kXingFlagBytes, true);
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(f.data(), &v), 1);
  EXPECT_EQ(v.kind, VbrHeaderKind::Info);
  EXPECT_EQ(v.isVbr, 0);
  EXPECT_EQ(v.sampleRate, 22050);
  EXPECT_EQ(v.quality, -1);
  EXPECT_EQ(v.encoderDelay, 576);
}

TEST(VbrHeader, BadTagCrcKeepsXingFieldsButDropsDelay) {
  auto f = XingFrame(MakeHeader(1, 3, 9, 0), "Xing", 0xF, true);
  f[40] ^= 0x01;  // inside the frames field: covered by the tag CRC
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(f.data(), &v), 1);
  EXPECT_NE(v.frames, -1);
  EXPECT_EQ(v.hasLameExtension, 0);
  EXPECT_EQ(v.encoderDelay, -1);
  EXPECT_EQ(v.encoderPadding, -1);
}

TEST(VbrHeader, DelayOrPaddingAbove3000IsIgnored) {
  auto f = XingFrame(MakeHeader(1, 3, 9, 0), "Xing", 0xF, true, 3001, 3000);
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(f.data(), &v), 1);
  EXPECT_EQ(v.encoderDelay, -1);
  EXPECT_EQ(v.encoderPadding, 3000);
}

TEST(VbrHeader, VbriAndNothing) {
  std::vector<uint8_t> f = MakeFrame(MakeHeader(1, 3, 9, 0));
  std::memcpy(&f[36], "VBRI", 4);
  PutBe32(f, 46, 123456);
  PutBe32(f, 50, 321);
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(f.data(), &v), 1);
  EXPECT_EQ(v.kind, VbrHeaderKind::Vbri);
  EXPECT_EQ(v.bytes, 123456);
  EXPECT_EQ(v.frames, 321);
  EXPECT_EQ(v.encoderDelay, -1);
  std::vector<uint8_t> plain = MakeFrame(MakeHeader(1, 3, 9, 0));
  VbrHeaderInfo none;
  EXPECT_EQ(ParseVbrHeader(plain.data(), &none), 0);
}

namespace {

// The stream description of a 128 kbit/s MPEG-1 stream at 44.1 kHz, whose
// frames take 104 (32 kbit/s) to 1045 bytes (320 kbit/s, padded).
Mp3StreamInfo StreamOf(int64_t audioSize) {
  Mp3StreamInfo info;
  info.data.samplerate = 44100;
  info.data.framesize = 1152;
  info.data.bitrate = 128000;
  info.audioSize = audioSize;
  const uint32_t h = MakeHeader(1, 3, 9, 0);
  for (int i = 0; i < 4; ++i) info.firstHeader[i] = static_cast<uint8_t>(h >> (24 - 8 * i));
  return info;
}

}  // namespace

TEST(StreamTotals, XingCountsMinusDelayAndPadding) {
  Mp3StreamInfo info = StreamOf(418000 + 417);  // the counted frames and the Xing frame
  auto f = XingFrame(MakeHeader(1, 3, 9, 0), "Xing", 0xF, true, 576, 1000);
  ASSERT_EQ(ParseVbrHeader(f.data(), &info.vbr), 1);
  EXPECT_TRUE(ComputeStreamTotals(info, 1));
  EXPECT_EQ(info.data.framenum, 1000);
  EXPECT_EQ(info.audioSize, 418000);
  EXPECT_EQ(info.TotalSamples(), 1152 * 1000 - 576 - 1000);
  EXPECT_EQ(info.data.bitrate, 128013);  // 418000 * 8 * 44100 / 1152000 = 128012.5, rounded up
}

// Counts that belong to another stream (joined files, a cut or truncated
// file, a lying header) leave the totals to counting.
TEST(StreamTotals, HeaderCountsAreTakenOnlyWhenTheyFitTheAudioArea) {
  struct Case {
    int32_t frames, bytes;
    int64_t area;
    bool fits;
  } cases[] = {
      {1000, 418000, 418000, true},
      {1000, 418000, 418000 + 4 * 1045, true},       // a few frames apart
      {1000, 418000, 418000 + 4 * 1045 + 1, false},  // more: joined files
      {1000, 418000, 300000, false},                 // truncated
      {1000, -1, 418000, true},
      {0, 418000, 418000, false},
      {-5, 418000, 418000, false},
      {4100, -1, 418000, false},  // more frames than 104-byte frames fill
      {395, -1, 418000, false},   // fewer than 1045-byte frames fill, give or take four
      {396, -1, 418000, true},
  };
  for (const Case& c : cases) {
    Mp3StreamInfo info = StreamOf(c.area);
    info.vbr.frames = c.frames;
    info.vbr.bytes = c.bytes;
    EXPECT_EQ(VbrTotalsFit(info), c.fits) << c.frames << " " << c.bytes << " " << c.area;
    EXPECT_EQ(ComputeStreamTotals(info, 1), c.fits);
    EXPECT_EQ(info.data.framenum == c.frames, c.fits);
  }
  // 4.5 GiB of frames: totals past 2^32 samples.
  Mp3StreamInfo big = StreamOf(int64_t{9} << 29);
  big.vbr.frames = static_cast<int32_t>(big.audioSize / 418);
  ASSERT_TRUE(ComputeStreamTotals(big, 1));
  EXPECT_EQ(big.TotalSamples(), int64_t{big.vbr.frames} * 1152);
  EXPECT_EQ(StreamDurationMs(big), std::llround(big.TotalSamples() * 1000.0 / 44100));
}

TEST(StreamTotals, XingWithoutFrameCountUsesTheFirstHeader) {
  Mp3StreamInfo info = StreamOf(160000);  // 10 s at 128 kbit/s
  auto f = XingFrame(MakeHeader(1, 3, 9, 0), "Xing", kXingFlagBytes | kXingFlagToc, true);
  ASSERT_EQ(ParseVbrHeader(f.data(), &info.vbr), 1);
  EXPECT_FALSE(ComputeStreamTotals(info, 1));
  EXPECT_EQ(info.data.bitrate, 128000);
  EXPECT_EQ(info.TotalSamples(), 441000);
  EXPECT_EQ(info.data.framenum, 441000 / 1152);
  EXPECT_EQ(StreamDurationMs(info), 10000);
}

TEST(VbrHeader, RealLameEncodingsCarryTheirHeaders) {
  EncodeSpec vbr;
  vbr.mode = EncodeSpec::Mode::Vbr;
  vbr.seconds = 2;
  auto bytes = EncodeMp3(vbr);
  ASSERT_GT(bytes.size(), 1000u);
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(bytes.data(), &v), 1);
  EXPECT_EQ(v.kind, VbrHeaderKind::Xing);
  EXPECT_EQ(v.hasLameExtension, 1);
  EXPECT_STREQ(v.encoder, "LAME3.100");
  EXPECT_EQ(v.encoderDelay, 576);
  EXPECT_GT(v.encoderPadding, 0);

  EncodeSpec mono;
  mono.sampleRate = 22050;
  mono.channels = 1;
  mono.kbps = 64;
  mono.seconds = 2;
  bytes = EncodeMp3(mono);
  VbrHeaderInfo m;
  ASSERT_EQ(ParseVbrHeader(bytes.data(), &m), 1);
  EXPECT_EQ(m.kind, VbrHeaderKind::Info);
  EXPECT_EQ(m.sampleRate, 22050);
  EXPECT_EQ(m.hasLameExtension, 1);
}
