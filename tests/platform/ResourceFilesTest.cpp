// The pictures the window loads: present for every resource number, with
// the sizes the buttons are laid out for, 24-bit, greyed disabled forms.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ResourceFiles.h"
#include "tests/support/TestFiles.h"

namespace {

struct Bmp {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, top row first
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Reads an uncompressed 24-bit BMP; width 0 when it is not one.
Bmp ReadBmp(const std::string& path) {
  Bmp bmp;
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return bmp;
  const uint32_t dataOffset = Le32(bytes, 10);
  const int width = static_cast<int>(Le32(bytes, 18));
  const int height = static_cast<int>(Le32(bytes, 22));
  bmp.bitsPerPixel = bytes[28] | (bytes[29] << 8);
  if (bmp.bitsPerPixel != 24 || width <= 0 || height <= 0) return bmp;
  const size_t rowSize = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  if (dataOffset + rowSize * height > bytes.size()) return bmp;
  bmp.width = width;
  bmp.height = height;
  for (int y = height - 1; y >= 0; --y) {  // bottom-up rows
    const size_t row = dataOffset + rowSize * y;
    for (int x = 0; x < width; ++x) {
      const size_t at = row + 3 * static_cast<size_t>(x);
      bmp.pixels.push_back((bytes[at + 2] << 16) | (bytes[at + 1] << 8) | bytes[at]);
    }
  }
  return bmp;
}

constexpr uint32_t kMagenta = 0xFF00FF;

struct GlyphPair {
  int normalId;
  int disabledId;
  int width;
  int height;
};

// The window's picture buttons and their glyph sizes.
const GlyphPair kGlyphs[] = {
    {129, 136, 29, 18},  // cut
    {131, 137, 12, 12},  // play
    {133, 138, 12, 11},  // pause
    {132, 135, 11, 11},  // stop
    {130, 130, 10, 10},  // cancel: one picture for both looks
    {143, 144, 9, 11},   // About
};

TEST(ResourceFiles, EveryResourceNumberHasItsFile) {
  for (int id : {128, 129, 130, 131, 132, 133, 135, 136, 137, 138, 142, 143, 144}) {
    EXPECT_FALSE(FindResourceFileById(id).empty()) << "resource " << id;
  }
  EXPECT_EQ(ResourceFileName(134), "");
  EXPECT_EQ(ReadBmp(FindResourceFileById(142)).bitsPerPixel, 24);  // the About picture
  EXPECT_EQ(FindResourceFileById(-1), "");
  EXPECT_EQ(FindResourceFile("no-such-picture.bmp"), "");
}

TEST(ResourceFiles, GlyphsHaveTheirSizesAt24Bits) {
  for (const GlyphPair& pair : kGlyphs) {
    for (int id : {pair.normalId, pair.disabledId}) {
      const Bmp bmp = ReadBmp(FindResourceFileById(id));
      EXPECT_EQ(bmp.bitsPerPixel, 24) << "resource " << id;
      EXPECT_EQ(bmp.width, pair.width) << "resource " << id;
      EXPECT_EQ(bmp.height, pair.height) << "resource " << id;
    }
  }
}

TEST(ResourceFiles, DisabledGlyphsAreGreyWhereTheNormalOnesAreOpaque) {
  for (const GlyphPair& pair : kGlyphs) {
    if (pair.normalId == pair.disabledId) continue;
    const Bmp normal = ReadBmp(FindResourceFileById(pair.normalId));
    const Bmp disabled = ReadBmp(FindResourceFileById(pair.disabledId));
    ASSERT_EQ(normal.pixels.size(), disabled.pixels.size()) << "resource " << pair.disabledId;
    for (size_t i = 0; i < normal.pixels.size(); ++i) {
      const uint32_t p = disabled.pixels[i];
      EXPECT_EQ(normal.pixels[i] == kMagenta, p == kMagenta) << "resource " << pair.disabledId << " pixel " << i;
      if (p == kMagenta) continue;
      const uint32_t r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
      EXPECT_TRUE(r == g && g == b) << "resource " << pair.disabledId << " pixel " << i;
    }
  }
}

}  // namespace
