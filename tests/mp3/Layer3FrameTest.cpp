// The global_gain editor on side info built field by field for each layout:
// which bits it reads and writes, clamping, channels coded together, CRC.
#include <gtest/gtest.h>

#include "mp3/Layer3Frame.h"
#include "tests/mp3/FrameBuilder.h"

namespace {

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out, size_t at) : m_out(out), m_bit(at * 8) {}
  void Put(int bits, uint32_t value) {
    for (int i = bits - 1; i >= 0; --i, ++m_bit) {
      if ((value >> i) & 1) m_out[m_bit / 8] |= static_cast<uint8_t>(0x80 >> (m_bit % 8));
    }
  }

 private:
  std::vector<uint8_t>& m_out;
  size_t m_bit;
};

// A frame whose side info holds `gains[granule][channel]`; every other
// field is all ones, so a write that strays off the gain shows.
std::vector<uint8_t> FrameWithGains(uint32_t h, const int gains[2][2]) {
  std::vector<uint8_t> f = MakeFrame(h);
  const bool lsf = mpeg::Lsf(h) != 0;
  const int channels = mpeg::Channels(h);
  BitWriter w(f, mpeg::HasCrc(h) ? 6 : 4);
  w.Put(lsf ? 8 : 9, 0x1FF);                      // main_data_begin
  w.Put(lsf ? channels : (channels == 1 ? 5 : 3), 0x1F);  // private bits
  if (!lsf) w.Put(4 * channels, 0xFF);            // scfsi
  for (int gr = 0; gr < (lsf ? 1 : 2); ++gr) {
    for (int ch = 0; ch < channels; ++ch) {
      w.Put(12, 0xFFF);               // part2_3_length
      w.Put(9, 0x1FF);                // big_values
      w.Put(8, static_cast<uint32_t>(gains[gr][ch]));
      w.Put(lsf ? 9 : 4, 0x1FF);      // scalefac_compress
      w.Put(1 + 22, 0x7FFFFF);        // window switching, tables, regions
      w.Put(lsf ? 2 : 3, 0x7);        // preflag (MPEG-1), scalefac_scale, count1table_select
    }
  }
  UpdateLayer3Crc(f.data());
  return f;
}

struct Layout {
  const char* name;
  uint32_t header;
};

uint32_t Protected(uint32_t h) { return h & ~(1u << mpeg::kProtectionShift); }

const Layout kLayouts[] = {
    {"mpeg1_stereo", MakeHeader(1, 3, 9, 0, 0, 0)},
    {"mpeg1_mono", MakeHeader(1, 3, 9, 0, 0, 3)},
    {"mpeg2_stereo", MakeHeader(2, 3, 9, 0, 0, 0)},
    {"mpeg2_mono_crc", Protected(MakeHeader(2, 3, 9, 0, 0, 3))},
    {"mpeg25_stereo_crc", Protected(MakeHeader(25, 3, 9, 0, 0, 2))},
    {"mpeg1_stereo_crc", Protected(MakeHeader(1, 3, 9, 0, 0, 0))},
};

}  // namespace

TEST(Layer3GlobalGain, ReadsAndChangesOnlyTheGainBitsOfEachLayout) {
  for (const Layout& l : kLayouts) {
    const int before[2][2] = {{0x5A, 0xA5}, {0x81, 0x7E}};
    std::vector<uint8_t> f = FrameWithGains(l.header, before);
    const int channels = mpeg::Channels(l.header);
    for (int gr = 0; gr < GranulesOf(l.header); ++gr) {
      for (int ch = 0; ch < channels; ++ch) EXPECT_EQ(GlobalGain(f.data(), gr, ch), before[gr][ch]) << l.name;
    }
    GainChange change;
    change.steps[0][0] = 3;
    change.steps[0][1] = -5;
    change.steps[1][0] = 200;   // clamps at 255
    change.steps[1][1] = -200;  // clamps at 0
    ChangeGlobalGain(f.data(), change);
    // Slots a layout lacks are neither read nor written.
    const int after[2][2] = {{0x5D, 0xA0}, {255, 0}};
    EXPECT_EQ(f, FrameWithGains(l.header, after)) << l.name;  // CRC included
  }
}

TEST(Layer3GlobalGain, KeepsZeroAndChangesChannelsCodedTogetherAlike) {
  const int gains[2][2] = {{0, 150}, {140, 0}};
  for (int modeExtension : {0, 1, 2, 3}) {
    const uint32_t h = Protected(MakeHeader(1, 3, 9, 0, 0, 1)) | static_cast<uint32_t>(modeExtension) << 4;
    std::vector<uint8_t> f = FrameWithGains(h, gains);
    EXPECT_EQ(LowestGainChange(f.data(), 0), -150);
    GainChange change;
    change.steps[0][0] = change.steps[1][0] = -4;
    change.steps[0][1] = change.steps[1][1] = 2;
    ChangeGlobalGain(f.data(), change);
    const int right = modeExtension ? -4 : 2;
    const int expected[2][2] = {{0, 150 + right}, {136, 0}};
    EXPECT_EQ(f, FrameWithGains(h, expected)) << modeExtension;
    EXPECT_EQ(Layer3Crc(f.data()), (f[4] << 8) | f[5]);
  }
  const int silent[2][2] = {};
  EXPECT_EQ(LowestGainChange(FrameWithGains(MakeHeader(1, 3, 9, 0), silent).data(), 1), 0);
}
