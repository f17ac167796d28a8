// Reader benchmarks: decoding through CMp3Reader::Read against a bare loop
// over the same decoder and bytes; building the whole frame index against
// one sequential read of the file; peak memory of `padocut-cli decode`.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "bench/BenchHarness.h"
#include "mp3/HipDecoder.h"
#include "mp3/Mp3Reader.h"

namespace {

volatile int64_t g_sink;

void DecodeWithReader(const std::string& path) {
  CMp3Reader reader;
  reader.Open(path.c_str(), nullptr, nullptr, nullptr);
  static char buf[8192];
  int64_t total = 0;
  int n;
  while ((n = reader.Read(buf, sizeof buf)) > 0) total += n;
  g_sink = total;
}

// The same decoder fed the same bytes in 1024-byte reads, nothing else.
void DecodeBare(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  HipDecoder decoder;
  decoder.Init();
  mp3data_struct info{};
  static short left[1152], right[1152];
  unsigned char in[1024];
  int64_t total = 0;
  size_t got;
  while ((got = std::fread(in, 1, sizeof in, f)) > 0) {
    int n = decoder.Decode1Headers(in, got, left, right, &info);
    while (n > 0) {
      total += n;
      n = decoder.Decode1Headers(nullptr, 0, left, right, &info);
    }
  }
  std::fclose(f);
  g_sink = total;
}

}  // namespace

int main() {
  const std::string cbr60 = Cbr60Min();
  const std::string cbr10 = Cbr10Min();
  const std::string cli = ExecutableDir() + "/padocut-cli";

  const auto decode = MedianCpuSecondsPaired([&] { DecodeWithReader(cbr60); },
                                             [&] { DecodeBare(cbr60); }, 3);
  Report("decode 60 min via CMp3Reader (cpu)", decode.a, decode.b, "bare hip loop", 1.05);

  const double cat = MedianSeconds([&] { RunChild({"/bin/cat", cbr60}); }, 9);
  int64_t end = 0;
  const double index = MedianSeconds(
      [&] {
        CMp3Reader reader;
        reader.Open(cbr60.c_str(), nullptr, nullptr, nullptr);
        end = reader.TimeToOffset(1e12);
      },
      9);
  Report("open + TimeToOffset(end), 60 min", index, cat, "cat FILE >/dev/null", 1.0);
  ReportValue("TimeToOffset(end) absolute", std::to_string(index * 1e3) + " ms", index < 0.050,
              "< 50 ms");

  const ChildResult m60 = RunChild({cli, "decode", cbr60}, true);
  const ChildResult m10 = RunChild({cli, "decode", cbr10}, true);
  char text[160];
  std::snprintf(text, sizeof text, "60 min %.1f MB, 10 min %.1f MB", m60.peakRssKb / 1024.0,
                m10.peakRssKb / 1024.0);
  const bool flat = m60.peakRssKb < 32 * 1024 && m60.peakRssKb < m10.peakRssKb + 2 * 1024;
  ReportValue("padocut-cli decode peak memory", text, flat && m60.status == 0,
              "< 32 MB, flat in length");
  return BenchExitStatus();
}
