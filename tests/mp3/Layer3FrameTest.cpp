// The global_gain editor on side info built field by field for each layout:
// which bits it reads and writes, clamping, a 0 kept, channels coded
// together, the CRC.
#include <gtest/gtest.h>

#include "mp3/Layer3Frame.h"
#include "tests/mp3/FrameBuilder.h"

namespace {

// A frame whose side info holds gains[granule][channel] and all ones in
// every other field, so a write that strays off the gain shows.
std::vector<uint8_t> FrameWithGains(uint32_t h, const int gains[2][2]) {
  std::vector<uint8_t> f = MakeFrame(h);
  const bool lsf = mpeg::Lsf(h) != 0;
  const int channels = mpeg::Channels(h);
  size_t bit = mpeg::HasCrc(h) ? 48 : 32;
  auto put = [&](int bits, uint32_t value) {
    for (int i = bits - 1; i >= 0; --i, ++bit) f[bit / 8] |= static_cast<uint8_t>(((value >> i) & 1) << (7 - bit % 8));
  };
  put(lsf ? 8 : 9, 0x1FF);                                  // main_data_begin
  put(lsf ? channels : (channels == 1 ? 5 : 3), 0x1F);      // private bits
  if (!lsf) put(4 * channels, 0xFF);                        // scfsi
  for (int gr = 0; gr < (lsf ? 1 : 2); ++gr) {
    for (int ch = 0; ch < channels; ++ch) {
      put(12 + 9, 0x1FFFFF);                                // part2_3_length, big_values
      put(8, static_cast<uint32_t>(gains[gr][ch]));         // global_gain
      put(lsf ? 9 : 4, 0x1FF);                              // scalefac_compress
      put(1 + 22 + (lsf ? 2 : 3), 0xFFFFFFF);               // block and table fields, flags
    }
  }
  UpdateLayer3Crc(f.data());
  return f;
}

uint32_t Protected(uint32_t h) { return h & ~(1u << mpeg::kProtectionShift); }
uint32_t JointStereo(int modeExtension) {
  return Protected(MakeHeader(1, 3, 9, 0, 0, 1)) | static_cast<uint32_t>(modeExtension) << mpeg::kModeExtShift;
}

}  // namespace

// Slots a layout lacks are neither read nor written; channel 1 of a frame
// coded as mid/side or intensity stereo takes channel 0's change.
TEST(Layer3GlobalGain, ChangesOnlyTheGainBitsOfEachLayout) {
  const struct {
    const char* name;
    uint32_t header;
    bool together;
  } kLayouts[] = {
      {"mpeg1_stereo", MakeHeader(1, 3, 9, 0, 0, 0), false},
      {"mpeg1_mono", MakeHeader(1, 3, 9, 0, 0, 3), false},
      {"mpeg2_stereo", MakeHeader(2, 3, 9, 0, 0, 0), false},
      {"mpeg2_mono_crc", Protected(MakeHeader(2, 3, 9, 0, 0, 3)), false},
      {"mpeg25_dual_crc", Protected(MakeHeader(25, 3, 9, 0, 0, 2)), false},
      {"joint_plain_crc", JointStereo(0), false},
      {"joint_intensity_crc", JointStereo(1), true},
      {"joint_mid_side_crc", JointStereo(2), true},
  };
  const int before[2][2] = {{0x5A, 0xA5}, {0, 0x7E}};
  GainChange change;
  change.steps[0][0] = 3;
  change.steps[0][1] = -200;  // clamps at 0
  change.steps[1][0] = 4;     // a 0 stays 0
  change.steps[1][1] = 200;   // clamps at 255
  for (const auto& l : kLayouts) {
    std::vector<uint8_t> f = FrameWithGains(l.header, before);
    for (int gr = 0; gr < GranulesOf(l.header); ++gr) {
      for (int ch = 0; ch < mpeg::Channels(l.header); ++ch) {
        EXPECT_EQ(GlobalGain(f.data(), gr, ch), before[gr][ch]) << l.name;
      }
    }
    // The lowest change leaves the gains at 0 out.
    const int last = GranulesOf(l.header) - 1;
    EXPECT_EQ(LowestGainChange(f.data(), last), last == 0 ? -0x5A : mpeg::Channels(l.header) == 2 ? -0x7E : 0);
    ChangeGlobalGain(f.data(), change);
    const int separate[2][2] = {{0x5D, 0}, {0, 255}}, together[2][2] = {{0x5D, 0xA8}, {0, 0x82}};
    EXPECT_EQ(f, FrameWithGains(l.header, l.together ? together : separate)) << l.name;  // CRC included
  }
}
