#include "bench/BenchData.h"

#include <lame/lame.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

std::string DataDir() {
  const char* dir = std::getenv("PADOCUT_BENCH_DATA");
  std::string d = dir && *dir ? dir : "bench-data";
  std::filesystem::create_directories(d);
  return d;
}

// Encodes long signals piecewise so memory stays small: the signal is made
// and fed in one-minute pieces through one encoder.
bool EncodeLong(const EncodeSpec& spec, const std::string& path) {
  lame_global_flags* gf = OpenEncoder(spec);
  if (!gf) return false;
  FILE* out = std::fopen(path.c_str(), "wb+");
  if (!out) {
    lame_close(gf);
    return false;
  }
  std::vector<uint8_t> buf(1 << 22);
  bool ok = true;
  const int minutes = static_cast<int>(spec.seconds / 60.0 + 0.5);
  for (int m = 0; m < minutes && ok; ++m) {
    EncodeSpec piece = spec;
    piece.seconds = 60;
    piece.seed = spec.seed + static_cast<uint32_t>(m);
    const auto pcm = MakeSignal(piece);
    const int frames = static_cast<int>(pcm.size() / static_cast<size_t>(spec.channels));
    std::vector<int16_t> l(static_cast<size_t>(frames)), r(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
      l[static_cast<size_t>(i)] = pcm[static_cast<size_t>(i) * spec.channels];
      r[static_cast<size_t>(i)] = pcm[static_cast<size_t>(i) * spec.channels + (spec.channels - 1)];
    }
    const int n = lame_encode_buffer(gf, l.data(), spec.channels == 2 ? r.data() : nullptr, frames,
                                     buf.data(), static_cast<int>(buf.size()));
    ok = n >= 0 && std::fwrite(buf.data(), 1, static_cast<size_t>(n), out) == static_cast<size_t>(n);
  }
  const int n = lame_encode_flush(gf, buf.data(), static_cast<int>(buf.size()));
  ok = ok && n >= 0 && std::fwrite(buf.data(), 1, static_cast<size_t>(n), out) == static_cast<size_t>(n);
  if (ok && spec.writeVbrTag) {
    // LAME leaves the tag out (0 here) when it does not fit in one frame of
    // the stream's bitrate, as at 32 kbit/s mono.
    std::vector<uint8_t> tag(2880);
    const size_t t = lame_get_lametag_frame(gf, tag.data(), tag.size());
    ok = t == 0 || (fseek(out, 0, SEEK_SET) == 0 && std::fwrite(tag.data(), 1, t, out) == t);
  }
  ok = std::fclose(out) == 0 && ok;
  lame_close(gf);
  return ok;
}

}  // namespace

std::string BenchInput(const std::string& name, const EncodeSpec& spec) {
  const std::string path = DataDir() + "/" + name + ".mp3";
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && st.st_size > 0) return path;
  std::fprintf(stderr, "bench: encoding %s (%.0f s of audio)...\n", path.c_str(), spec.seconds);
  const std::string partial = path + ".part";
  if (!EncodeLong(spec, partial) || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "bench: cannot make %s\n", path.c_str());
    std::exit(1);
  }
  return path;
}

std::string Cbr60Min() {
  EncodeSpec s;
  s.seconds = 3600;
  s.kbps = 128;
  s.quality = 9;
  return BenchInput("cbr128-60min", s);
}

std::string Vbr60Min() {
  EncodeSpec s;
  s.seconds = 3600;
  s.mode = EncodeSpec::Mode::Vbr;
  s.quality = 9;
  return BenchInput("vbr-60min", s);
}

std::string Cbr100MB() {
  EncodeSpec s;
  s.seconds = 2520;  // 42 minutes at 320 kbit/s: about 100.8 MB
  s.kbps = 320;
  s.quality = 9;
  return BenchInput("cbr320-100mb", s);
}

std::string Mono150Min() {
  EncodeSpec s;
  s.seconds = 9000;
  s.channels = 1;
  s.kbps = 32;
  s.quality = 9;
  return BenchInput("mono32-150min", s);
}

std::string Cbr10Min() {
  EncodeSpec s;
  s.seconds = 600;
  s.kbps = 128;
  s.quality = 9;
  return BenchInput("cbr128-10min", s);
}

std::string Joined130Min() {
  const std::string path = DataDir() + "/joined-130min.mp3";
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && st.st_size > 0) return path;
  const std::string partial = path + ".part";
  {
    std::ofstream out(partial, std::ios::binary);
    for (const std::string& part : {Cbr60Min(), Vbr60Min(), Cbr10Min()}) {
      std::ifstream in(part, std::ios::binary);
      out << in.rdbuf();
    }
    if (!out.flush()) {
      std::fprintf(stderr, "bench: cannot make %s\n", path.c_str());
      std::exit(1);
    }
  }
  std::rename(partial.c_str(), path.c_str());
  return path;
}
