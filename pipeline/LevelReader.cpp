#include "pipeline/LevelReader.h"

#include <algorithm>
#include <cmath>

#include "mp3/Layer3Frame.h"

namespace {

constexpr int kBytesPerSample = 2;

int64_t SamplesAt(int64_t ms, int sampleRate) { return std::max<int64_t>(ms, 0) * sampleRate / 1000; }

}  // namespace

CLevelReader::CLevelReader(CAudioReader* inner) : CAudioReader(inner->GetName()), m_inner(inner) {}

void CLevelReader::SetLevel(const CutOptions& options, int startMs, int endMs) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_options = options;
  m_startMs = std::max(startMs, 0);
  m_endMs = endMs;
}

int CLevelReader::Open(const char* path, int* sampleRate, int* bitsPerSample, int* channels) {
  int rate = 0, bits = 0, count = 0;
  const int opened = m_inner->Open(path, &rate, &bits, &count);
  if (sampleRate) *sampleRate = rate;
  if (bitsPerSample) *bitsPerSample = bits;
  if (channels) *channels = count;
  std::lock_guard<std::mutex> guard(m_lock);
  m_sampleRate = rate;
  m_channels = count;
  m_position = 0;
  const int endMs = m_endMs >= 0 ? m_endMs : m_inner->GetDuration();
  PlayedSpan span;
  span.sampleRate = rate;
  span.first = SamplesAt(m_startMs, rate);
  span.played = std::max<int64_t>(0, SamplesAt(endMs, rate) - span.first);
  const bool usable = opened > 0 && bits == 8 * kBytesPerSample && count > 0;
  m_level = usable ? CutLevel(m_options, span) : CutLevel();
  return opened;
}

void CLevelReader::Seek(int milliseconds) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_inner->Seek(milliseconds);
  m_position = SamplesAt(milliseconds, m_sampleRate);
}

int CLevelReader::Read(void* buffer, int length) {
  std::lock_guard<std::mutex> guard(m_lock);
  const int got = m_inner->Read(buffer, length);
  if (got > 0 && m_level.Active()) Apply(static_cast<uint8_t*>(buffer), got);
  if (got > 0 && m_channels > 0) m_position += got / (kBytesPerSample * m_channels);
  return got;
}

void CLevelReader::Apply(uint8_t* bytes, int length) {
  const int frameBytes = kBytesPerSample * m_channels;
  const int64_t first = SamplesAt(m_startMs, m_sampleRate);
  int64_t block = INT64_MIN;
  double factor = 1.0;
  for (int at = 0; at + frameBytes <= length; at += frameBytes) {
    const int64_t position = m_position + at / frameBytes;
    // The block of 576 samples, counted from the stretch's start, this one lies in.
    const int64_t intoBlock = ((position - first) % kGranuleSamples + kGranuleSamples) % kGranuleSamples;
    const int64_t blockStart = position - intoBlock;
    if (blockStart != block) {
      block = blockStart;
      factor = std::exp2(m_level.StepsAt(block, -kMaxGlobalGain) / 4.0);
    }
    for (int c = 0; c < m_channels; ++c) {
      uint8_t* s = bytes + at + kBytesPerSample * c;
      const int value = static_cast<int16_t>(s[0] | s[1] << 8);
      const long scaled = std::clamp(std::lround(value * factor), -32768L, 32767L);
      s[0] = static_cast<uint8_t>(scaled & 0xFF);
      s[1] = static_cast<uint8_t>((scaled >> 8) & 0xFF);
    }
  }
}
