#include "pipeline/PeakColumns.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>

int SamplesPerColumn(int durationMs, int sampleRate, int channels, int columns) {
  if (columns < 1) return 0;
  const double samples = static_cast<double>(durationMs) * sampleRate * channels * 0.001 / columns;
  return samples >= INT_MAX ? INT_MAX : static_cast<int>(std::trunc(samples));
}

PeakColumns::PeakColumns(int columns, int samplesPerColumn)
    : m_peaks(static_cast<size_t>(std::max(columns, 0))), m_samplesPerColumn(samplesPerColumn) {}

namespace {

constexpr int kFoldLanes = 8;

// Smallest and largest of `count` (> 0) little-endian samples. Eight
// independent lanes let the compiler use vector minimum and maximum.
PeakColumns::Peak FoldRun(const uint8_t* bytes, size_t count) {
  int16_t low[kFoldLanes], high[kFoldLanes];
  std::fill_n(low, kFoldLanes, INT16_MAX);
  std::fill_n(high, kFoldLanes, INT16_MIN);
  size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + kFoldLanes <= count; i += kFoldLanes) {
      int16_t samples[kFoldLanes];
      std::memcpy(samples, bytes + 2 * i, sizeof samples);
      for (int k = 0; k < kFoldLanes; ++k) {
        low[k] = std::min(low[k], samples[k]);
        high[k] = std::max(high[k], samples[k]);
      }
    }
  }
  for (; i < count; ++i) {
    const auto sample = static_cast<int16_t>(static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    low[0] = std::min(low[0], sample);
    high[0] = std::max(high[0], sample);
  }
  return {*std::min_element(low, low + kFoldLanes), *std::max_element(high, high + kFoldLanes)};
}

}  // namespace

void PeakColumns::Add(const uint8_t* bytes, size_t length) {
  const int columns = static_cast<int>(m_peaks.size());
  if (m_samplesPerColumn <= 0) {
    m_filled = columns;
    return;
  }
  size_t i = 0;
  if (m_oddByte >= 0 && length > 0) {
    const uint8_t pair[2] = {static_cast<uint8_t>(m_oddByte), bytes[0]};
    m_oddByte = -1;
    Add(pair, 2);
    i = 1;
  }
  while (i + 1 < length && m_filled < columns) {
    const size_t count = std::min((length - i) / 2, static_cast<size_t>(m_samplesPerColumn - m_inColumn));
    const Peak run = FoldRun(bytes + i, count);
    Peak& peak = m_peaks[static_cast<size_t>(m_filled)];
    peak = m_inColumn == 0 ? run : Peak{std::min(peak.min, run.min), std::max(peak.max, run.max)};
    i += 2 * count;
    m_inColumn += static_cast<int>(count);
    if (m_inColumn == m_samplesPerColumn) {
      ++m_filled;
      m_inColumn = 0;
    }
  }
  if (i < length && m_filled < columns) m_oddByte = bytes[i];
}
