#include "tests/mp3/ReaderFixtures.h"

#include <cstdio>
#include <map>
#include <mutex>

#include "tests/support/TestFiles.h"

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

std::vector<uint8_t> Mpg123Decode(const std::vector<uint8_t>& bytes, size_t start, const std::string& options) {
  TempDir dir;
  const std::string path = dir.File("in.mp3");
  if (!WriteFileBytes(path, std::vector<uint8_t>(bytes.begin() + static_cast<long>(start), bytes.end()))) return {};
  const std::string command = "mpg123 -q --no-gapless -s " + options + " '" + path + "' 2>/dev/null";
  std::vector<uint8_t> pcm;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return pcm;
  uint8_t buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) pcm.insert(pcm.end(), buffer, buffer + n);
  pclose(pipe);
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
