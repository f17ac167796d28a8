#include "pipeline/Peaks.h"

#include <vector>

#include "pipeline/ParallelMp3Reader.h"

namespace {

constexpr int kReadBytes = 64 * 1024;

PeaksResult Failed(const std::string& why) {
  PeaksResult result;
  result.error = why;
  return result;
}

}  // namespace

PeaksResult ComputePeaks(const std::string& path, const PeaksOptions& options, const std::atomic<bool>* cancel) {
  if (options.columns < 1) return Failed("the column count must be 1 or more");
  CParallelMp3Reader reader(options.threads);
  PeaksResult result;
  int bits = 0;
  if (!reader.Open(path.c_str(), &result.sampleRate, &bits, &result.channels)) {
    return Failed("not a readable MPEG audio file");
  }
  result.durationMs = reader.GetDuration();
  result.columns = options.columns;
  result.samplesPerColumn = SamplesPerColumn(result.durationMs, result.sampleRate, result.channels, result.columns);
  PeakColumns columns(result.columns, result.samplesPerColumn);
  std::vector<uint8_t> buffer(kReadBytes);
  while (columns.FilledColumns() < result.columns) {
    if (cancel && cancel->load()) return Failed("cancelled");
    const int n = reader.Read(buffer.data(), kReadBytes);
    if (n < 0) return Failed("decoding failed");
    if (n == 0) break;
    columns.Add(buffer.data(), static_cast<size_t>(n));
  }
  result.peaks = columns.Peaks();
  result.ok = true;
  return result;
}
