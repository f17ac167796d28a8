#include "ui/waveform/PeakSummary.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Room for a stream longer than announced: a sixteenth more, and a few
// entries for rounding.
constexpr int64_t kExtraShare = 16;
constexpr int64_t kExtraEntries = 16;
constexpr int kMaxChannels = 8;

}  // namespace

bool PeakSummary::Begin(int durationMs, int sampleRate, int channels) {
  Clear();
  if (durationMs <= 0 || sampleRate <= 0 || channels < 1 || channels > kMaxChannels) return false;
  const int64_t frames = static_cast<int64_t>(durationMs) * sampleRate / 1000;
  const int64_t entries = frames / kFramesPerEntry + frames / kFramesPerEntry / kExtraShare + kExtraEntries;
  if (entries > INT32_MAX) return false;
  m_columns.reset(new (std::nothrow) PeakColumns(static_cast<int>(entries), kFramesPerEntry * channels));
  if (!m_columns) return false;
  m_sampleRate = sampleRate;
  m_channels = channels;
  m_capacityFrames = entries * kFramesPerEntry;
  return true;
}

void PeakSummary::Clear() {
  m_columns.reset();
  m_sampleRate = 0;
  m_channels = 0;
  m_capacityFrames = 0;
  m_frames = 0;
  m_pendingBytes = 0;
}

void PeakSummary::Add(const uint8_t* bytes, size_t length) {
  if (!m_columns || m_frames >= m_capacityFrames) return;
  m_columns->Add(bytes, length);
  const int64_t frameBytes = 2 * m_channels;
  const int64_t total = m_pendingBytes + static_cast<int64_t>(length);
  m_frames = std::min(m_capacityFrames, m_frames + total / frameBytes);
  m_pendingBytes = total % frameBytes;
}

size_t PeakSummary::Bytes() const {
  return m_columns ? m_columns->Peaks().size() * sizeof(PeakColumns::Peak) : 0;
}

PeakRun PeakSummary::Run() const {
  PeakRun run;
  if (!m_columns) return run;
  run.peaks = m_columns->Peaks().data();
  run.count = static_cast<size_t>((m_frames + kFramesPerEntry - 1) / kFramesPerEntry);
  run.framesPerEntry = kFramesPerEntry;
  return run;
}

bool PeakRun::Fold(double first, double end, PeakColumns::Peak* peak) const {
  if (count == 0 || framesPerEntry <= 0 || end <= first) return false;
  const double from = std::floor((first - static_cast<double>(firstFrame)) / framesPerEntry);
  const double to = std::ceil((end - static_cast<double>(firstFrame)) / framesPerEntry);
  const size_t a = static_cast<size_t>(std::clamp(from, 0.0, static_cast<double>(count)));
  const size_t b = static_cast<size_t>(std::clamp(to, 0.0, static_cast<double>(count)));
  if (a >= b) return false;
  int16_t low = peaks[a].min;
  int16_t high = peaks[a].max;
  for (size_t i = a + 1; i < b; ++i) {
    low = std::min(low, peaks[i].min);
    high = std::max(high, peaks[i].max);
  }
  *peak = {low, high};
  return true;
}
