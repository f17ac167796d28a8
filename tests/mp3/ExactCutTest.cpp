// Cuts with a fresh VBR header, a reservoir-safe start and a sample-exact
// range, checked by decoding: the output, trimmed by the delay and padding
// it declares, must equal the source's decode over the range, bit for bit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "mp3/CutToFile.h"
#include "mp3/ExactCut.h"
#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "mp3/Mp3Reader.h"
#include "mp3/VbrHeader.h"
#include "platform/ByteReader.h"
#include "tests/mp3/FrameBuilder.h"
#include "tests/mp3/ReaderFixtures.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr int kDecoderDelay = 529;

struct Source {
  const char* name;
  EncodeSpec spec;
};

std::vector<Source> Sources() {
  std::vector<Source> v;
  EncodeSpec cbr;
  cbr.seconds = 4;
  v.push_back({"cbr_lame", cbr});
  EncodeSpec vbr = cbr;
  vbr.mode = EncodeSpec::Mode::Vbr;
  vbr.vbrQuality = 2;
  vbr.sampleRate = 48000;
  v.push_back({"vbr_lame_48k", vbr});
  EncodeSpec plain = cbr;
  plain.writeVbrTag = false;
  v.push_back({"cbr_no_header", plain});
  EncodeSpec mono = cbr;
  mono.sampleRate = 22050;
  mono.channels = 1;
  mono.kbps = 64;
  v.push_back({"mpeg2_mono_lame", mono});
  EncodeSpec mono2 = mono;
  mono2.writeVbrTag = false;
  mono2.mode = EncodeSpec::Mode::Vbr;
  v.push_back({"mpeg2_mono_vbr_no_header", mono2});
  EncodeSpec crc = vbr;
  crc.crc = true;
  crc.sampleRate = 44100;
  v.push_back({"vbr_crc", crc});
  EncodeSpec low = cbr;  // a low bitrate leans on the reservoir
  low.kbps = 48;
  low.sampleRate = 32000;
  v.push_back({"cbr_48k_reservoir", low});
  EncodeSpec alike = cbr;  // mostly mid/side frames
  alike.alikeChannels = true;
  v.push_back({"cbr_mid_side", alike});
  return v;
}

// What a gapless decoder plays: the raw decode without the declared delay
// (plus the decoder's own) and padding; everything without a LAME header.
std::vector<int16_t> Played(const std::vector<uint8_t>& file) {
  const auto raw = Mpg123Decode(file);
  std::vector<int16_t> pcm(raw.size() / 2);
  std::memcpy(pcm.data(), raw.data(), pcm.size() * 2);
  VbrHeaderInfo v;
  if (file.size() < kVbrProbeSize || !ParseVbrHeader(file.data(), &v) || v.kind == VbrHeaderKind::Vbri ||
      v.encoderDelay < 0 || v.frames < 0) {
    return pcm;
  }
  const uint32_t h = mpeg::HeaderFromBytes(file.data());
  const int channels = mpeg::Channels(h);
  const int64_t total = int64_t{v.frames} * SamplesPerFrameOf(h) - v.encoderDelay - v.encoderPadding;
  const size_t from = static_cast<size_t>(v.encoderDelay + kDecoderDelay) * channels;
  const size_t count = static_cast<size_t>(std::max<int64_t>(total, 0)) * channels;
  if (from >= pcm.size()) return {};
  return std::vector<int16_t>(pcm.begin() + static_cast<long>(from),
                              pcm.begin() + static_cast<long>(std::min(pcm.size(), from + count)));
}

class ExactCut : public ::testing::TestWithParam<Source> {
 protected:
  void SetUp() override {
    m_bytes = EncodeMp3(GetParam().spec);
    ASSERT_FALSE(m_bytes.empty());
    m_path = m_dir.File("src.mp3");
    ASSERT_TRUE(WriteFileBytes(m_path, m_bytes));
    m_played = Played(m_bytes);
    m_channels = GetParam().spec.channels;
    m_rate = GetParam().spec.sampleRate;
  }
  std::vector<uint8_t> Cut(int start, int end, const CutOptions& options, CutReport* report = nullptr) {
    CutReport local;
    const std::string out = m_dir.File("out.mp3");
    EXPECT_EQ(CutToFile(m_path, out, start, end, report ? report : &local, options), 1);
    return ReadFileBytes(out);
  }
  std::vector<int16_t> Range(int start, int end) const {
    const size_t s = static_cast<size_t>(std::llround(start * m_rate / 1000.0)) * m_channels;
    size_t e = static_cast<size_t>(std::llround(end * m_rate / 1000.0)) * m_channels;
    e = std::min(e, m_played.size());
    return std::vector<int16_t>(m_played.begin() + static_cast<long>(s), m_played.begin() + static_cast<long>(e));
  }
  TempDir m_dir;
  std::string m_path;
  std::vector<uint8_t> m_bytes;
  std::vector<int16_t> m_played;
  int m_channels = 2;
  int m_rate = 44100;
};

CutOptions Exact() {
  CutOptions o;
  o.exact = true;
  return o;
}

}  // namespace

// Bit for bit when the cut keeps the decoder's synthesis phase; otherwise
// a rare sample may be rounded one step differently.
void ExpectSamePcm(const std::vector<int16_t>& got, const std::vector<int16_t>& want, bool aligned,
                   const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  size_t differing = 0;
  for (size_t i = 0; i < got.size(); ++i) {
    if (got[i] == want[i]) continue;
    ++differing;
    ASSERT_LE(std::abs(got[i] - want[i]), 1) << what << " sample " << i;
  }
  if (aligned) {
    EXPECT_EQ(differing, 0u) << what;
  } else {
    EXPECT_LE(differing, got.size() / 500) << what;
  }
}

TEST_P(ExactCut, PlaysExactlyTheRange) {
  for (auto [start, end] : {std::pair{1000, 2500}, std::pair{0, 700}, std::pair{13, 1013}, std::pair{1026, 2000},
                            std::pair{1060, 2000}, std::pair{2999, 3999}, std::pair{3000, 9000}}) {
    CutReport r;
    const auto out = Cut(start, end, Exact(), &r);
    ExpectSamePcm(Played(out), Range(start, end), r.phaseAligned,
                  std::to_string(start) + ".." + std::to_string(end));
  }
}

// Over many start points, the layouts that keep the synthesis phase are
// found where the delay allows them, and those play bit for bit.
TEST_P(ExactCut, KeepsTheDecoderPhaseWhereTheDelayAllows) {
  int aligned = 0;
  for (int start = 400; start < 1400; start += 25) {
    CutReport r;
    const auto out = Cut(start, start + 300, Exact(), &r);
    if (!r.phaseAligned) continue;
    ++aligned;
    ExpectSamePcm(Played(out), Range(start, start + 300), true, std::to_string(start));
  }
  EXPECT_GE(aligned, 8) << "of 40";
}

TEST_P(ExactCut, ConsecutiveCutsJoinWithoutAGap) {
  std::vector<int16_t> joined;
  bool aligned = true;
  for (auto [start, end] : {std::pair{500, 1700}, std::pair{1700, 1701 + 999}, std::pair{2700, 3300}}) {
    CutReport r;
    const auto part = Played(Cut(start, end, Exact(), &r));
    aligned = aligned && r.phaseAligned;
    joined.insert(joined.end(), part.begin(), part.end());
  }
  ExpectSamePcm(joined, Range(500, 3300), aligned, "joined");
}

// Also with a gain and a fade: the music CRC covers the frames as edited.
TEST_P(ExactCut, NewHeaderDescribesTheCut) {
  CutOptions o;
  o.vbrHeader = true;
  if (GetParam().spec.crc) o.gainDb = -3, o.fadeInMs = 500;
  CutReport r;
  const auto out = Cut(1000, 3000, o, &r);
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(out.data(), &v), 1);
  EXPECT_EQ(v.hasLameExtension, 1);  // the tag CRC matched
  const uint32_t h = mpeg::HeaderFromBytes(out.data());
  const int tagLength = FrameLength(h);
  EXPECT_EQ(v.bytes, static_cast<int32_t>(out.size()));
  EXPECT_EQ(v.frames, r.frames);
  EXPECT_EQ(v.encoderDelay, r.delay);
  EXPECT_EQ(v.encoderPadding, r.padding);
  // Frames and music CRC cover exactly what follows the tag frame.
  int frames = 0;
  for (size_t pos = static_cast<size_t>(tagLength); pos + 4 <= out.size(); ++frames) {
    const int len = FrameLength(mpeg::HeaderFromBytes(&out[pos]));
    ASSERT_GT(len, 0);
    pos += static_cast<size_t>(len);
  }
  EXPECT_EQ(frames, v.frames);
  const size_t lame = static_cast<size_t>(XingOffsetOf(h) + 120);
  const uint16_t musicCrc = static_cast<uint16_t>((out[lame + 32] << 8) | out[lame + 33]);
  EXPECT_EQ(musicCrc, Crc16Arc(out.data() + tagLength, out.size() - static_cast<size_t>(tagLength)));
  // The smallest bitrate that holds the header, the source's mode and rate.
  EXPECT_FALSE(FrameLength(WithBitrateIndex(h, mpeg::BitrateIndex(h) - 1)) >= static_cast<int>(lame + 36));
  EXPECT_EQ(SampleRateOf(h), m_rate);
  EXPECT_EQ(mpeg::Channels(h), m_channels);
  EXPECT_EQ(v.kind, GetParam().spec.mode == EncodeSpec::Mode::Vbr ? VbrHeaderKind::Xing : VbrHeaderKind::Info);
  // The seek table rises with the position.
  for (int i = 1; i < 100; ++i) EXPECT_GE(v.toc[i], v.toc[i - 1]);
}

TEST_P(ExactCut, CleanStartLeavesNoReferenceBeforeTheCut) {
  CutOptions o;
  o.cleanStart = true;
  for (int start : {700, 1300, 2100}) {
    CutReport r;
    const auto out = Cut(start, start + 1000, o, &r);
    // Walk the frames: every frame's reservoir reference must lie within
    // the main data slots of the frames before it in the file.
    int64_t slots = 0;
    for (size_t pos = 0; pos + 4 <= out.size();) {
      const uint32_t h = mpeg::HeaderFromBytes(&out[pos]);
      const int len = FrameLength(h);
      ASSERT_GT(len, 0);
      const int mdb = MainDataBegin(h, &out[pos + static_cast<size_t>(MainDataOffset(h) - SideInfoLength(h))]);
      EXPECT_LE(mdb, slots) << "frame at " << pos << " (start " << start << ")";
      if (mpeg::HasCrc(h)) {
        EXPECT_EQ(Layer3Crc(&out[pos]), static_cast<uint16_t>((out[pos + 4] << 8) | out[pos + 5]));
      }
      slots += MainDataSlots(h, len);
      pos += static_cast<size_t>(len);
    }
  }
}

// Without options a source with a Xing/Info header gets one for the cut,
// then the range's frames without the source's header frame; one without a
// header, `framesOnly` and a cut of the whole stream give the source's bytes.
TEST_P(ExactCut, WithoutOptionsAHeaderOfTheCutLeadsWhereTheSourceHadOne) {
  auto bytes = [&](int64_t from, int64_t to) {
    return std::vector<uint8_t>(m_bytes.begin() + from, m_bytes.begin() + to);
  };
  VbrHeaderInfo source;
  const bool hasHeader = ParseVbrHeader(m_bytes.data(), &source) == 1;
  const int sourceHeaderLength = FrameLength(mpeg::HeaderFromBytes(m_bytes.data()));
  CutOptions framesOnly;
  framesOnly.framesOnly = true;
  for (auto [start, end] : {std::pair{0, 1000}, std::pair{1000, 2000}}) {
    const std::string what = std::to_string(start) + ".." + std::to_string(end);
    CutReport literal;
    const auto frames = Cut(start, end, framesOnly, &literal);
    EXPECT_EQ(frames, bytes(literal.startOffset, literal.endOffset)) << what;
    CutReport r;
    const auto out = Cut(start, end, CutOptions(), &r);
    if (!hasHeader) {
      EXPECT_EQ(out, frames) << what;
      continue;
    }
    VbrHeaderInfo v;
    ASSERT_EQ(ParseVbrHeader(out.data(), &v), 1) << what;
    EXPECT_EQ(v.kind, source.kind) << what;
    EXPECT_EQ(v.frames, r.frames) << what;
    EXPECT_EQ(r.startOffset, literal.startOffset + (start == 0 ? sourceHeaderLength : 0)) << what;
    EXPECT_EQ(r.endOffset, literal.endOffset) << what;
    const auto tagLength = static_cast<long>(FrameLength(mpeg::HeaderFromBytes(out.data())));
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + tagLength, out.end()), bytes(r.startOffset, r.endOffset)) << what;
  }
  EXPECT_EQ(Cut(0, 1 << 30, CutOptions()), m_bytes);
}

namespace {

// Every protected frame's CRC matches, by our reckoning and by ffmpeg's
// CRC check (an independent reader) when it is installed.
void ExpectValidCrcs(const std::vector<uint8_t>& file, const std::string& path) {
  for (size_t pos = 0; pos + 4 <= file.size(); pos += static_cast<size_t>(FrameLength(mpeg::HeaderFromBytes(&file[pos])))) {
    const bool crc = mpeg::HasCrc(mpeg::HeaderFromBytes(&file[pos]));
    ASSERT_TRUE(!crc || Layer3Crc(&file[pos]) == ((file[pos + 4] << 8) | file[pos + 5])) << pos;
  }
  if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) return;
  FILE* p = popen(("ffmpeg -v error -err_detect crccheck -i '" + path + "' -f null - 2>&1").c_str(), "r");
  char text[256] = {};
  const size_t n = p ? std::fread(text, 1, sizeof text - 1, p) : 0;
  if (p) pclose(p);
  EXPECT_EQ(n, 0u) << text;
}

int MidSideFrames(const std::vector<uint8_t>& file) {
  int count = 0;
  for (size_t pos = 0; pos + 4 <= file.size(); pos += static_cast<size_t>(FrameLength(mpeg::HeaderFromBytes(&file[pos])))) {
    count += mpeg::ChannelMode(mpeg::HeaderFromBytes(&file[pos])) == 1 && mpeg::ModeExtension(mpeg::HeaderFromBytes(&file[pos])) == 2;
  }
  return count;
}

}  // namespace

// Four steps down halve the spectrum, so the decode is half the same cut's
// without the gain within the rounding step (and half the source's range
// where the phase is kept), the plain cut's frames edited too. Mid/side
// frames halve only when both channels take the change.
TEST_P(ExactCut, MinusSixDbHalvesEverySample) {
  for (bool exact : {true, false}) {
    CutOptions o;
    o.exact = exact;
    const auto reference = Played(Cut(1000, 2500, o)), range = Range(1000, 2500);
    o.gainDb = -6;
    CutReport r;
    const auto out = Cut(1000, 2500, o, &r);
    EXPECT_EQ(r.gainDb, -6.0);
    const auto halved = Played(out);
    ASSERT_EQ(halved.size(), reference.size()) << exact;
    for (size_t i = 0; i < halved.size(); ++i) {
      ASSERT_LE(std::abs(halved[i] - reference[i] / 2.0), 1.0) << exact << " sample " << i;
      ASSERT_TRUE(!exact || !r.phaseAligned || std::abs(halved[i] - range[i] / 2.0) <= 1.0) << i;
    }
    if (GetParam().spec.crc) ExpectValidCrcs(out, m_dir.File("out.mp3"));
    EXPECT_TRUE(!GetParam().spec.alikeChannels || MidSideFrames(out) > 40);
  }
}

// Granule by granule of what is played, the level follows the ramp (linear
// in steps from -60 dB, within about a step: a granule's overlap reaches
// into its neighbours), never falling while it rises nor rising while it
// falls.
TEST_P(ExactCut, FadesRiseAndFallGranuleByGranule) {
  CutOptions o = Exact();
  o.fadeInMs = o.fadeOutMs = 600;
  const auto reference = Played(Cut(1000, 3000, Exact())), faded = Played(Cut(1000, 3000, o));
  const size_t step = 576 * static_cast<size_t>(m_channels);
  const double fade = 0.6 * m_rate, played = static_cast<double>(reference.size() / m_channels);
  double previous = 0;
  for (size_t at = 0; at + step <= reference.size(); at += step) {
    double out = 0, in = 0;
    for (size_t i = at; i < at + step; ++i) out += std::abs(faded[i]), in += std::abs(reference[i]);
    const double middle = static_cast<double>(at / step * 576 + 288), level = out / in;
    EXPECT_NEAR(20 * std::log10(level), -60 * (1 - std::min({1.0, middle / fade, (played - middle) / fade})), 1.6) << at;
    EXPECT_TRUE(at == 0 || middle >= fade || level >= previous * 0.9) << at;
    EXPECT_TRUE(middle <= played - fade || level <= previous * 1.1) << at;
    previous = level;
  }
}

// The largest gain the refusal names fits; one step more does not, unless
// clipping is allowed.
TEST_P(ExactCut, RefusesAGainThatWouldClip) {
  CutOptions o;
  o.gainDb = 30;
  CutReport r;
  const std::string out = m_dir.File("loud.mp3");
  ASSERT_EQ(CutToFile(m_path, out, 500, 2500, &r, o), 0);
  EXPECT_EQ(r.refusal, CutRefusal::WouldClip);
  EXPECT_FALSE(FileExists(out));
  ASSERT_EQ(std::sscanf(r.error.c_str(), "the gain would clip: at most +%lf dB", &o.gainDb), 1) << r.error;
  ASSERT_EQ(CutToFile(m_path, out, 500, 2500, &r, o), 1) << r.error;
  int peak = 0;
  for (int16_t v : Played(ReadFileBytes(out))) peak = std::max(peak, std::abs(static_cast<int>(v)));
  EXPECT_LT(peak, 32767);
  EXPECT_GT(peak, 32767 * 0.84);  // one step more would not fit
  o.gainDb += 1.5;
  EXPECT_EQ(CutToFile(m_path, out, 500, 2500, &r, o), 0);
  o.allowClip = true;
  EXPECT_EQ(CutToFile(m_path, out, 500, 2500, &r, o), 1);
}

INSTANTIATE_TEST_SUITE_P(Encodings, ExactCut, ::testing::ValuesIn(Sources()),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// Byte-built Layer II frames (silent bodies), MPEG-1 128k 44.1k; the first
// one carries a Xing header when asked.
std::vector<uint8_t> LayerTwoFile(bool xingHeader) {
  const uint32_t h = 0xFFFD9000u | (1u << 16);
  std::vector<uint8_t> file;
  for (int i = 0; i < 200; ++i) {
    for (int b = 0; b < 4; ++b) file.push_back(static_cast<uint8_t>(h >> (24 - 8 * b)));
    file.resize(file.size() + static_cast<size_t>(FrameLength(h) - 4), 0);
  }
  if (xingHeader) {
    const uint8_t fields[] = {'X', 'i', 'n', 'g', 0, 0, 0, kXingFlagFrames, 0, 0, 0, 200};
    std::memcpy(&file[static_cast<size_t>(XingOffsetOf(h))], fields, sizeof fields);
  }
  return file;
}

}  // namespace

TEST(ExactCutFallback, LayerTwoGetsThePlainCutWithANote) {
  const std::vector<uint8_t> file = LayerTwoFile(false);
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("l2.mp2"), file));
  CutOptions o;
  o.exact = true;
  CutReport r;
  ASSERT_EQ(CutToFile(dir.File("l2.mp2"), dir.File("o.mp2"), 1000, 2000, &r, o), 1);
  EXPECT_FALSE(r.note.empty());
  EXPECT_EQ(ReadFileBytes(dir.File("o.mp2")),
            std::vector<uint8_t>(file.begin() + r.startOffset, file.begin() + r.endOffset));
  // A fade is refused: Layer II has no global_gain.
  o.fadeOutMs = 300;
  EXPECT_EQ(CutToFile(dir.File("l2.mp2"), dir.File("g.mp2"), 1000, 2000, &r, o), 0);
  EXPECT_EQ(r.refusal, CutRefusal::NotLayer3);
  EXPECT_FALSE(FileExists(dir.File("g.mp2")));
}

// Layer II has no silent frame to hold a new header, and its own header's
// bytes decode as sound: a part of the stream leaves it out and adds none.
TEST(ExactCutFallback, LayerTwoLeavesItsHeaderFrameOutOfAPart) {
  const std::vector<uint8_t> file = LayerTwoFile(true);
  const int64_t frameLength = FrameLength(mpeg::HeaderFromBytes(file.data()));
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("l2.mp2"), file));
  CutOptions framesOnly;
  framesOnly.framesOnly = true;
  struct Case {
    int start, end;
    CutOptions options;
    int64_t from;  // the first source byte expected in the result
  };
  for (const Case& c : {Case{0, 1000, CutOptions(), frameLength}, Case{0, 1000, framesOnly, 0},
                        Case{0, 1 << 30, CutOptions(), 0}}) {
    CutReport r;
    ASSERT_EQ(CutToFile(dir.File("l2.mp2"), dir.File("o.mp2"), c.start, c.end, &r, c.options), 1) << r.error;
    EXPECT_EQ(r.startOffset, c.from);
    EXPECT_TRUE(r.note.empty()) << r.note;
    EXPECT_EQ(ReadFileBytes(dir.File("o.mp2")), std::vector<uint8_t>(file.begin() + c.from, file.begin() + r.endOffset));
  }
  // A range holding only the header frame holds no audio.
  CutReport r;
  EXPECT_EQ(CutToFile(dir.File("l2.mp2"), dir.File("p.mp2"), 0, 10, &r), 0);
  EXPECT_FALSE(FileExists(dir.File("p.mp2")));
}

// The options walk the frames the plain cut copies: a frame of another
// sample rate inside the range (a stray frame the index takes) stays in,
// byte for byte, behind the new header.
TEST(ExactCutFrames, OptionsTakeThePlainCutsFrames) {
  const uint32_t h = MakeHeader(1, 3, 9, 0);  // silent frames: no reservoir
  std::vector<uint8_t> file = Frames(h, 100);
  Append(file, MakeFrame(MakeHeader(1, 3, 9, 2)));
  Append(file, Frames(h, 100));
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("s.mp3"), file));
  CutOptions framesOnly;
  framesOnly.framesOnly = true;
  CutReport plain;
  ASSERT_EQ(CutToFile(dir.File("s.mp3"), dir.File("p.mp3"), 1000, 4000, &plain, framesOnly), 1);
  CutOptions o;
  o.vbrHeader = o.cleanStart = true;
  CutReport r;
  ASSERT_EQ(CutToFile(dir.File("s.mp3"), dir.File("o.mp3"), 1000, 4000, &r, o), 1);
  const auto out = ReadFileBytes(dir.File("o.mp3"));
  const auto tagLength = static_cast<long>(FrameLength(mpeg::HeaderFromBytes(out.data())));
  EXPECT_EQ(std::vector<uint8_t>(out.begin() + tagLength, out.end()), ReadFileBytes(dir.File("p.mp3")));
  EXPECT_EQ(r.frames, plain.frames);
}

// The LAME extension's peak and ReplayGain follow the gain: 4 steps down
// halve the peak and raise the gains by 6.0 dB, name and originator kept.
TEST(ExactCutFrames, PeakAndReplayGainFollowTheGain) {
  std::vector<uint8_t> source = EncodeMp3(EncodeSpec());
  VbrHeaderInfo v;
  ASSERT_EQ(ParseVbrHeader(source.data(), &v), 1);
  uint8_t* lame = source.data() + v.lameOffset;
  PutBe32(lame + kLamePeakOffset, 1u << 22);                           // 0.5
  PutBe16(lame + kLameRadioGainOffset, 0x2000 | 0x0400 | 0x200 | 31);  // radio, by a user, -3.1 dB
  PutBe16(lame + kLameAudiophileGainOffset, 0x4000 | 0x0C00 | 12);     // audiophile, automatic, +1.2 dB
  PutBe16(lame + kLameTagCrcOffset, Crc16Arc(source.data(), static_cast<size_t>(v.lameOffset + kLameTagCrcOffset)));
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("s.mp3"), source));
  CutOptions o;
  o.gainDb = -6;
  ASSERT_EQ(CutToFile(dir.File("s.mp3"), dir.File("o.mp3"), 500, 2500, nullptr, o), 1);
  const auto out = ReadFileBytes(dir.File("o.mp3"));
  ASSERT_EQ(ParseVbrHeader(out.data(), &v), 1);
  EXPECT_DOUBLE_EQ(v.peakAmplitude, 0.25);
  EXPECT_NEAR(v.radioGainDb, 2.9, 1e-9);
  EXPECT_NEAR(v.audiophileGainDb, 7.2, 1e-9);
  EXPECT_EQ(out[static_cast<size_t>(v.lameOffset + kLameRadioGainOffset)] & 0xFC, 0x24);
}

// The cut goes from where the output stands (a tag may come first), and so
// does its VBR tag.
TEST(ExactCutFrames, WritesFromTheOutputsPosition) {
  TempDir dir;
  EncodeSpec spec;
  spec.mode = EncodeSpec::Mode::Vbr;
  spec.seconds = 3;
  ASSERT_TRUE(WriteFileBytes(dir.File("s.mp3"), EncodeMp3(spec)));
  CutOptions o;
  o.exact = true;
  ASSERT_EQ(CutToFile(dir.File("s.mp3"), dir.File("whole.mp3"), 500, 2000, nullptr, o), 1);
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(dir.File("s.mp3").c_str(), nullptr, nullptr, nullptr), 1);
  const int in = open(dir.File("s.mp3").c_str(), O_RDONLY | O_CLOEXEC);
  const int out = open(dir.File("o.mp3").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  const std::vector<uint8_t> prefix(1000, 'x');
  ASSERT_EQ(write(out, prefix.data(), prefix.size()), 1000);
  CutReport r;
  EXPECT_EQ(WriteEnhancedCut(in, out, reader.GetStreamInfo(), *reader.GetFrameIndex(), 500, 2000, reader.TimeToOffset(500),
                             reader.TimeToOffset(2000), o, &r),
            EnhancedCutResult::Written);
  close(in);
  close(out);
  std::vector<uint8_t> expected = prefix;
  Append(expected, ReadFileBytes(dir.File("whole.mp3")));
  EXPECT_EQ(ReadFileBytes(dir.File("o.mp3")), expected);
}

// The same property through the mpg123 program, which decodes gaplessly,
// with libmpg123's fastest core and with its portable one (which rounds by
// the synthesis phase): bit for bit when the cut keeps the phase, within
// one step otherwise; consecutive cuts join without a gap.
TEST(ExactCutMpg123, Mpg123PlaysTheExactRange) {
  if (std::system("mpg123 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "mpg123 is not installed";
  TempDir dir;
  EncodeSpec spec;
  spec.mode = EncodeSpec::Mode::Vbr;
  spec.seconds = 4;
  EncodeSpec mono = spec;
  mono.sampleRate = 22050;
  mono.channels = 1;
  mono.mode = EncodeSpec::Mode::Cbr;
  mono.kbps = 48;
  for (const EncodeSpec& s : {spec, mono}) {
    ASSERT_TRUE(WriteFileBytes(dir.File("src.mp3"), EncodeMp3(s)));
    for (const char* core : {"", "--cpu generic"}) {
      auto decode = [&](const std::string& path) {
        const std::string cmd = std::string("mpg123 -q -s ") + core + " '" + path + "' 2>/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        std::vector<int16_t> out;
        int16_t buf[32768];
        size_t n;
        while (p && (n = fread(buf, 2, 32768, p)) > 0) out.insert(out.end(), buf, buf + n);
        if (p) pclose(p);
        return out;
      };
      const auto source = decode(dir.File("src.mp3"));
      const double perMs = s.sampleRate / 1000.0;
      std::vector<int16_t> joined;
      int aligned = 0;
      CutOptions o;
      o.exact = true;
      for (int start = 300; start < 3300; start += 217) {
        const int end = start + 217;
        CutReport r;
        ASSERT_EQ(CutToFile(dir.File("src.mp3"), dir.File("c.mp3"), start, end, &r, o), 1);
        const auto part = decode(dir.File("c.mp3"));
        const size_t from = static_cast<size_t>(std::llround(start * perMs)) * s.channels;
        const size_t to = static_cast<size_t>(std::llround(end * perMs)) * s.channels;
        ExpectSamePcm(part, std::vector<int16_t>(source.begin() + static_cast<long>(from), source.begin() + static_cast<long>(to)),
                      r.phaseAligned, std::to_string(s.sampleRate) + " " + core + " " + std::to_string(start));
        aligned += r.phaseAligned ? 1 : 0;
        joined.insert(joined.end(), part.begin(), part.end());
        if (*core || start != 300) continue;
        // padocut-cli cut --json reports the same.
        const std::string cli = BuildDir() + "/padocut-cli cut --json --exact '" + dir.File("src.mp3") + "' " +
                                std::to_string(start) + " " + std::to_string(end) + " '" + dir.File("j.mp3") + "'";
        FILE* p = popen(cli.c_str(), "r");
        char text[1024] = {};
        const size_t n = p ? std::fread(text, 1, sizeof text - 1, p) : 0;
        if (p) pclose(p);
        EXPECT_NE(std::string(text, n).find(r.phaseAligned ? "\"phase_aligned\": true}" : "\"phase_aligned\": false}"),
                  std::string::npos) << text;
      }
      EXPECT_GE(aligned, 3) << "of 14";
      EXPECT_EQ(joined.size(), static_cast<size_t>(std::llround(3338 * perMs) - std::llround(300 * perMs)) * s.channels);
    }
  }
}
