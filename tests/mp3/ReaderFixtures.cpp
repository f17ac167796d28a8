#include "tests/mp3/ReaderFixtures.h"

#include <map>
#include <mutex>

#include "mp3/HipDecoder.h"

const std::vector<NamedSpec>& ReaderSpecs() {
  static const std::vector<NamedSpec> specs = [] {
    std::vector<NamedSpec> v;
    EncodeSpec cbr;
    cbr.seconds = 3;
    v.push_back({"cbr_info", cbr});
    EncodeSpec vbr = cbr;
    vbr.mode = EncodeSpec::Mode::Vbr;
    v.push_back({"vbr_xing", vbr});
    EncodeSpec bare = cbr;
    bare.writeVbrTag = false;
    bare.kbps = 160;
    v.push_back({"cbr_plain", bare});
    EncodeSpec m2 = cbr;
    m2.sampleRate = 22050;
    m2.channels = 1;
    m2.kbps = 64;  // the smallest that leaves room for the Info frame at 22.05 kHz
    v.push_back({"mpeg2_mono", m2});
    EncodeSpec m25 = cbr;
    m25.sampleRate = 11025;
    m25.kbps = 32;
    v.push_back({"mpeg25_stereo", m25});
    return v;
  }();
  return specs;
}

const std::vector<uint8_t>& EncodedBytes(const NamedSpec& s) {
  static std::mutex lock;
  static std::map<std::string, std::vector<uint8_t>> cache;
  std::lock_guard<std::mutex> guard(lock);
  auto& slot = cache[s.name];
  if (slot.empty()) slot = EncodeMp3(s.spec);
  return slot;
}

std::vector<uint8_t> BareDecode(const std::vector<uint8_t>& bytes, size_t start) {
  HipDecoder decoder;
  decoder.Init();
  mp3data_struct info{};
  short left[1152], right[1152];
  std::vector<uint8_t> pcm;
  auto collect = [&](int n) {
    for (int i = 0; i < n; ++i) {
      pcm.push_back(static_cast<uint8_t>(left[i] & 0xFF));
      pcm.push_back(static_cast<uint8_t>((left[i] >> 8) & 0xFF));
      if (info.stereo == 2) {
        pcm.push_back(static_cast<uint8_t>(right[i] & 0xFF));
        pcm.push_back(static_cast<uint8_t>((right[i] >> 8) & 0xFF));
      }
    }
  };
  std::vector<unsigned char> in(bytes.begin() + static_cast<long>(start), bytes.end());
  for (size_t pos = 0; pos < in.size(); pos += 1024) {
    const size_t n = std::min<size_t>(1024, in.size() - pos);
    int got = decoder.Decode1Headers(in.data() + pos, n, left, right, &info);
    while (got > 0) {
      collect(got);
      got = decoder.Decode1Headers(nullptr, 0, left, right, &info);
    }
  }
  int got;
  while ((got = decoder.Decode1Headers(nullptr, 0, left, right, &info)) > 0) collect(got);
  return pcm;
}

std::vector<uint8_t> ReadAll(CMp3Reader& reader) {
  std::vector<uint8_t> out;
  std::vector<uint8_t> buf(8192);
  for (;;) {
    const int n = reader.Read(buf.data(), static_cast<int>(buf.size()));
    if (n <= 0) break;
    out.insert(out.end(), buf.begin(), buf.begin() + n);
  }
  return out;
}
