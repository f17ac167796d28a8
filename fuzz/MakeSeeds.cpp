// make_fuzz_seeds OUT: writes the seed corpora of the fuzz targets into
// OUT/<target>/: small real encodings made with LAME's encoder (CBR with an
// Info header, VBR with Xing, MPEG-2 and 2.5, mono, CRC frames), tagged
// files laid out by hand in every ID3v2 version and text encoding, ID3v1
// records, field sets for the rewrite round trip and command lines. Nothing
// is downloaded: every seed is made here.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FieldsInput.h"
#include "tags/TagFieldList.h"
#include "tools/SignalEncoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string g_out;
int g_count = 0;

void Seed(const std::string& target, const std::string& name, const Bytes& bytes) {
  const std::string folder = g_out + "/" + target;
  mkdir(folder.c_str(), 0755);
  if (!WriteFileBytes(folder + "/" + name, bytes)) {
    std::fprintf(stderr, "make_fuzz_seeds: cannot write %s/%s\n", folder.c_str(), name.c_str());
    std::exit(1);
  }
  ++g_count;
}

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Be(uint32_t v, int n) {
  Bytes b;
  for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return b;
}

Bytes SyncSafe(uint32_t v) {
  return {static_cast<uint8_t>((v >> 21) & 0x7F), static_cast<uint8_t>((v >> 14) & 0x7F),
          static_cast<uint8_t>((v >> 7) & 0x7F), static_cast<uint8_t>(v & 0x7F)};
}

Bytes Utf16(const std::u16string& s, bool bigEndian) {
  Bytes b;
  for (char16_t c : s) {
    const uint8_t hi = static_cast<uint8_t>(c >> 8), lo = static_cast<uint8_t>(c);
    if (bigEndian) {
      b.push_back(hi);
      b.push_back(lo);
    } else {
      b.push_back(lo);
      b.push_back(hi);
    }
  }
  return b;
}

Bytes Frame(int version, const std::string& id, const Bytes& data, uint8_t formatFlags = 0) {
  const auto size = static_cast<uint32_t>(data.size());
  if (version == 2) return Cat({Str(id), Be(size, 3), data});
  return Cat({Str(id), version == 4 ? SyncSafe(size) : Be(size, 4), Bytes{0, formatFlags}, data});
}

Bytes Tag(int version, const Bytes& body, uint8_t flags = 0) {
  return Cat({Str("ID3"), Bytes{static_cast<uint8_t>(version), 0, flags},
              SyncSafe(static_cast<uint32_t>(body.size())), body});
}

// The seven fields in one text encoding, as the frames of one version.
Bytes SevenFields(int version, uint8_t encoding) {
  auto text = [&](const std::string& ascii, const std::u16string& wide) -> Bytes {
    switch (encoding) {
      case 1: return Cat({Bytes{1, 0xFF, 0xFE}, Utf16(wide, false)});
      case 2: return Cat({Bytes{2}, Utf16(wide, true)});
      case 3: return Cat({Bytes{3}, Str(ascii)});
      default: return Cat({Bytes{0}, Str(ascii)});
    }
  };
  const bool v22 = version == 2;
  Bytes comment = Cat({Bytes{encoding}, Str("eng"),
                       encoding == 1 || encoding == 2 ? Bytes{0, 0} : Bytes{0},
                       encoding == 1 ? Utf16(u"note", false) : encoding == 2 ? Utf16(u"note", true) : Str("note")});
  return Cat({Frame(version, v22 ? "TT2" : "TIT2", text("Wave", u"\uD30C\uB3C4")),
              Frame(version, v22 ? "TP1" : "TPE1", text("Artist", u"Artist")),
              Frame(version, v22 ? "TAL" : "TALB", text("Album", u"Album")),
              Frame(version, v22 ? "TRK" : "TRCK", text("3/12", u"3/12")),
              Frame(version, v22 ? "TYE" : (version == 4 ? "TDRC" : "TYER"), text("2024", u"2024")),
              Frame(version, v22 ? "TCO" : "TCON", text("(17)Rock", u"(17)Rock")),
              Frame(version, v22 ? "COM" : "COMM", comment)});
}

Bytes Id3v1(const std::string& title, uint8_t track, uint8_t genre) {
  Bytes r(128, 0);
  std::memcpy(r.data(), "TAG", 3);
  std::memcpy(&r[3], title.data(), std::min<size_t>(title.size(), 30));
  std::memcpy(&r[33], "Artist", 6);
  std::memcpy(&r[63], "Album", 5);
  std::memcpy(&r[93], "1999", 4);
  std::memcpy(&r[97], "comment", 7);
  r[126] = track;
  r[127] = genre;
  return r;
}

Bytes Encode(int rate, int channels, EncodeSpec::Mode mode, bool vbrTag, bool crc, double seconds = 0.25) {
  EncodeSpec s;
  s.sampleRate = rate;
  s.channels = channels;
  s.seconds = seconds;
  s.mode = mode;
  s.kbps = rate >= 32000 ? 128 : 32;
  s.writeVbrTag = vbrTag;
  s.crc = crc;
  return EncodeMp3(s);
}

void Mp3Seeds(const Bytes& cbr, const Bytes& vbr) {
  const std::string t = "mp3_reader";
  Seed(t, "cbr-info", cbr);
  Seed(t, "vbr-xing", vbr);
  Seed(t, "cbr-plain", Encode(44100, 2, EncodeSpec::Mode::Cbr, false, false));
  Seed(t, "mpeg2-mono", Encode(22050, 1, EncodeSpec::Mode::Vbr, true, false, 0.5));
  Seed(t, "mpeg25-stereo", Encode(11025, 2, EncodeSpec::Mode::Cbr, true, false, 0.5));
  Seed(t, "crc-frames", Encode(48000, 2, EncodeSpec::Mode::Cbr, false, true));
  Seed(t, "tagged", Cat({Tag(3, SevenFields(3, 0)), cbr, Id3v1("Title", 1, 17)}));
  Seed(t, "footer-tag", Cat({cbr, Str("ID3"), Bytes{4, 0, 0x10, 0, 0, 0, 12}, Frame(4, "TIT2", Bytes{3, 'x'}),
                             Str("3DI"), Bytes{4, 0, 0x10, 0, 0, 0, 12}}));
  Bytes garbage = cbr;
  garbage.insert(garbage.begin() + static_cast<std::ptrdiff_t>(cbr.size() / 2), {0xFF, 0x00, 0x12, 0xFF, 0xE0});
  Seed(t, "garbage-between", garbage);
  Seed(t, "riff", Cat({Str("RIFF"), Be(0, 4), Str("WAVEfmt "), Bytes(20, 0), Str("data"), Be(0, 4), cbr}));
  Seed(t, "truncated", Bytes(cbr.begin(), cbr.begin() + static_cast<std::ptrdiff_t>(cbr.size() * 2 / 3)));
}

void VbrSeeds(const Bytes& cbr, const Bytes& vbr) {
  const std::string t = "vbr_header";
  auto first = [](const Bytes& b) { return Bytes(b.begin(), b.begin() + std::min<size_t>(b.size(), 192)); };
  Seed(t, "info", first(cbr));
  Seed(t, "xing", first(vbr));
  Seed(t, "xing-mpeg2-mono", first(Encode(22050, 1, EncodeSpec::Mode::Vbr, true, false)));
  Bytes vbri(192, 0);
  const uint8_t header[4] = {0xFF, 0xFB, 0x90, 0x64};
  std::memcpy(vbri.data(), header, 4);
  std::memcpy(&vbri[36], "VBRI", 4);
  const Bytes bytes = Be(123456, 4), frames = Be(321, 4);
  std::copy(bytes.begin(), bytes.end(), vbri.begin() + 46);
  std::copy(frames.begin(), frames.end(), vbri.begin() + 50);
  Seed(t, "vbri", vbri);
}

void Id3v2Seeds(const Bytes& cbr) {
  const std::string t = "id3v2";
  const Bytes audio(cbr.begin(), cbr.begin() + std::min<size_t>(cbr.size(), 1200));
  for (int version : {2, 3, 4}) {
    for (uint8_t encoding : {0, 1, 2, 3}) {
      Seed(t, "v2" + std::to_string(version) + "-enc" + std::to_string(encoding),
           Cat({Tag(version, SevenFields(version, encoding)), audio}));
    }
  }
  // Extended header, unsynchronisation, footer, padding, an unknown frame,
  // frame flags, and an ID3v1 record behind the audio.
  Seed(t, "v23-extended", Cat({Tag(3, Cat({Be(6, 4), Bytes(6, 0), SevenFields(3, 0)}), 0x40), audio}));
  Seed(t, "v24-extended", Cat({Tag(4, Cat({SyncSafe(6), Bytes{1, 0}, SevenFields(4, 3)}), 0x40), audio}));
  Bytes unsync = Frame(3, "TIT2", Bytes{0, 0xFF, 0x00, 0xFE, 'a'});
  Seed(t, "v23-unsync", Cat({Tag(3, unsync, 0x80), audio}));
  Seed(t, "v24-frame-flags", Cat({Tag(4, Cat({Frame(4, "TIT2", Bytes{0x40, 0, 0, 0, 5, 3, 'a', 'b'}, 0x41),
                                             Frame(4, "TPE1", Bytes{0, 'x', 0xFF, 0x00}, 0x02)})),
                                  audio}));
  Seed(t, "v24-footer", Cat({Tag(4, SevenFields(4, 3), 0x10), Str("3DI"), Bytes{4, 0, 0x10}, SyncSafe(0), audio}));
  Seed(t, "unknown-and-padding",
       Cat({Tag(3, Cat({Frame(3, "XXXX", Str("skip")), SevenFields(3, 0), Bytes(64, 0)})), audio}));
  Seed(t, "both-tags", Cat({Tag(3, SevenFields(3, 1)), audio, Id3v1("Old", 7, 13)}));
  Seed(t, "v1-only", Cat({audio, Id3v1("Only", 0, 255)}));
  Seed(t, "huge-size", Cat({Str("ID3"), Bytes{3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}, SevenFields(3, 0)}));
}

void Id3v1Seeds() {
  const std::string t = "id3v1";
  Seed(t, "v11", Id3v1("Title", 5, 17));
  Bytes v10 = Id3v1("Title", 0, 147);
  std::memset(&v10[97], 'c', 30);
  Seed(t, "v10-long-comment", v10);
  Bytes korean = Id3v1("", 1, 255);
  const uint8_t cp949[] = {0xC6, 0xC4, 0xB5, 0xB5};  // "파도" in CP949
  std::memcpy(&korean[3], cp949, sizeof cp949);
  Seed(t, "cp949", korean);
  Bytes full(128, 'x');
  std::memcpy(full.data(), "TAG", 3);
  Seed(t, "full-width", full);
}

void RoundTripSeeds() {
  const std::string t = "tag_roundtrip";
  Seed(t, "seven-wide", InputFromFields({{TAG_TITLE, false, "Wave \xED\x8C\x8C\xEB\x8F\x84"},
                                         {TAG_ARTIST, false, "Artist"},
                                         {TAG_ALBUM, false, "Album"},
                                         {TAG_TRACK, false, "3/12"},
                                         {TAG_YEAR, false, "2024"},
                                         {TAG_GENRE, false, "Rock"},
                                         {TAG_COMMENT, false, "hello"}}));
  Seed(t, "seven-narrow", InputFromFields({{TAG_TITLE, true, "\xC6\xC4\xB5\xB5"},
                                           {TAG_ARTIST, true, "A"},
                                           {TAG_ALBUM, true, "B"},
                                           {TAG_TRACK, true, "300"},
                                           {TAG_YEAR, true, "1999"},
                                           {TAG_GENRE, true, "(17)"},
                                           {TAG_COMMENT, true, ""}}));
  Seed(t, "empty-fields", InputFromFields({{TAG_TITLE, false, ""}, {TAG_GENRE, false, ""}, {TAG_COMMENT, false, ""}}));
  Seed(t, "long-title", InputFromFields({{TAG_TITLE, false, std::string(300, 'x')}}));
}

// Byte 0: option bits (1 VBR header, 2 clean start, 4 exact, 8 no start, 16 frames only);
// bytes 1-4: start and end in 10 ms steps; then the source.
void CutSeeds(const Bytes& cbr, const Bytes& vbr) {
  const std::string t = "cut";
  auto cut = [](uint8_t options, int startMs, int endMs, const Bytes& file) {
    const int a = startMs / 10, b = endMs / 10;
    return Cat({Bytes{options, static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a), static_cast<uint8_t>(b >> 8),
                      static_cast<uint8_t>(b)},
                file});
  };
  Seed(t, "plain", cut(0, 50, 200, cbr));
  Seed(t, "frames-only", cut(16, 0, 200, vbr));
  Seed(t, "vbr-header", cut(1, 50, 200, vbr));
  Seed(t, "clean-start", cut(2, 100, 250, vbr));
  Seed(t, "exact", cut(4, 30, 170, vbr));
  Seed(t, "no-start", cut(8 | 4, 0, 100, cbr));
  Seed(t, "tagged", cut(0, 0, 150, Cat({Tag(3, SevenFields(3, 0)), cbr, Id3v1("Title", 1, 17)})));
  Seed(t, "mpeg2-exact", cut(7, 50, 300, Encode(22050, 1, EncodeSpec::Mode::Vbr, true, false, 0.5)));
}

void CommandLineSeeds() {
  const std::string t = "command_line";
  Seed(t, "plain", Str("padocut /music/song.mp3"));
  Seed(t, "quoted", Str("\"/usr/bin/padocut\" \"/music/my song.mp3\""));
  Seed(t, "escaped-quote", Str("padocut \"say \\\"hi\\\".mp3\""));
  Seed(t, "unclosed", Str("padocut \"/music/folder\\\""));
  Seed(t, "white-space", Str("\t padocut\r\n  a  b\t"));
  Seed(t, "adjacent", Str("\"a\"\"b\"c d"));
  Seed(t, "utf8", Str("padocut \"/\xEC\x9D\x8C\xEC\x95\x85/\xED\x8C\x8C\xEB\x8F\x84.mp3\""));
  Seed(t, "empty", Bytes{});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds OUT\n");
    return 2;
  }
  g_out = argv[1];
  mkdir(g_out.c_str(), 0755);
  const Bytes cbr = Encode(44100, 2, EncodeSpec::Mode::Cbr, true, false);
  const Bytes vbr = Encode(44100, 2, EncodeSpec::Mode::Vbr, true, false);
  if (cbr.empty() || vbr.empty()) {
    std::fprintf(stderr, "make_fuzz_seeds: encoding failed\n");
    return 1;
  }
  Mp3Seeds(cbr, vbr);
  VbrSeeds(cbr, vbr);
  Id3v2Seeds(cbr);
  Id3v1Seeds();
  RoundTripSeeds();
  CutSeeds(cbr, vbr);
  CommandLineSeeds();
  std::printf("make_fuzz_seeds: %d seeds in %s\n", g_count, g_out.c_str());
  return 0;
}
