// Reader benchmarks: `padocut-cli decode` against `mpg123 -q -t` (CPU
// time), and decoding through CMp3Reader::Read against a bare libmpg123
// loop over the same bytes; building the whole frame index against one
// sequential read of the file; peak memory of `padocut-cli decode`.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareDecode.h"
#include "bench/BenchData.h"
#include "bench/BenchHarness.h"
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

// What `cat` does, without starting a process: read(2) in 128 KiB pieces.
void ReadSequentially(const std::string& path) {
  static std::vector<char> buf(128 * 1024);
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  int64_t total = 0;
  ssize_t n;
  while ((n = read(fd, buf.data(), buf.size())) > 0) total += n;
  close(fd);
  g_sink = total;
}

void IndexToEnd(const std::string& path) {
  CMp3Reader reader;
  reader.Open(path.c_str(), nullptr, nullptr, nullptr);
  g_sink = reader.TimeToOffset(1e12);
}

void BenchIndex(const std::string& path, const std::string& label) {
  const PairedTimes t = MeasurePaired([&] { IndexToEnd(path); }, [&] { RunChild({"/bin/cat", path}); }, 21);
  Report("open + TimeToOffset(end), " + label, t.wall.a, t.wall.b, "cat FILE >/dev/null", 1.0, 0, t.wall.ratio);
  const PairedTimes r = MeasurePaired([&] { IndexToEnd(path); }, [&] { ReadSequentially(path); }, 21);
  ReportInfo("  the same against cat", t.wall.a, t.wall.b, "cat FILE >/dev/null", t.wall.ratio, 0.5);
  ReportInfo("  the same against read(2) in-process", r.wall.a, r.wall.b, "read 128 KiB loop", r.wall.ratio);
}

// Joined files: the first Info header does not fit, so Open counts every
// frame (the whole scan happens there); shown, not judged.
void BenchJoinedIndex(const std::string& path) {
  const PairedTimes t = MeasurePaired([&] { IndexToEnd(path); }, [&] { RunChild({"/bin/cat", path}); }, 11);
  ReportInfo("open + TimeToOffset(end), joined x3", t.wall.a, t.wall.b, "cat FILE >/dev/null",
             t.wall.ratio, 1.0);
}

}  // namespace

int main() {
  const std::string cbr60 = Cbr60Min();
  const std::string vbr60 = Vbr60Min();
  const std::string cbr10 = Cbr10Min();
  const std::string cli = ExecutableDir() + "/padocut-cli";

  // The command against mpg123's own test mode, CPU time of each child.
  std::vector<double> ours, theirs, ratios;
  for (int i = 0; i < 3; ++i) {
    const ChildResult a = RunChild({cli, "decode", cbr60});
    const ChildResult b = RunChild({"/usr/bin/mpg123", "-q", "-t", cbr60});
    ours.push_back(a.cpuSeconds);
    theirs.push_back(b.cpuSeconds);
    ratios.push_back(b.cpuSeconds > 0 ? a.cpuSeconds / b.cpuSeconds : 0);
  }
  for (auto* v : {&ours, &theirs, &ratios}) std::sort(v->begin(), v->end());
  Report("padocut-cli decode 60 min (cpu)", ours[1], theirs[1], "mpg123 -q -t", 1.1, 0, ratios[1]);

  const PairedTimes decode =
      MeasurePaired([&] { DecodeWithReader(cbr60); }, [&] { g_sink = DecodeBare(cbr60); }, 3, nullptr, false);
  Report("decode 60 min via CMp3Reader (cpu)", decode.cpu.a, decode.cpu.b, "bare libmpg123 loop", 1.05, 0, decode.cpu.ratio);

  BenchIndex(cbr60, "60 min CBR");
  BenchIndex(vbr60, "60 min VBR");
  BenchJoinedIndex(Joined130Min());

  const ChildResult m60 = RunChild({cli, "decode", cbr60}, true);
  const ChildResult m10 = RunChild({cli, "decode", cbr10}, true);
  char text[160];
  std::snprintf(text, sizeof text, "60 min %.1f MB, 10 min %.1f MB", m60.peakRssKb / 1024.0,
                m10.peakRssKb / 1024.0);
  const bool flat = m60.peakRssKb < 32 * 1024 && m60.peakRssKb < m10.peakRssKb + 2 * 1024;
  ReportValue("padocut-cli decode peak memory", text, flat && m60.status == 0, "< 32 MB, flat in length");
  return BenchExitStatus();
}
