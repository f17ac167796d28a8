#include "pipeline/PcmFormatConverter.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsSimpleFormat(const PcmFormat& f) {
  return (f.nBitsPerSample == 8 || f.nBitsPerSample == 16) && (f.nChannels == 1 || f.nChannels == 2) &&
         f.nSampleRate > 0;
}

int16_t Widen(uint8_t b) { return static_cast<int16_t>((b - 128) * 256); }
uint8_t Narrow(int16_t s) { return static_cast<uint8_t>((s + 32768) >> 8); }

int16_t LoadLe16(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }
void StoreLe16(uint8_t* p, int16_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}

}  // namespace

int PcmFormat::FrameBytes() const {
  if (nBitsPerSample <= 0 || nBitsPerSample % 8 != 0 || nChannels <= 0) return 0;
  return nBitsPerSample / 8 * nChannels;
}

bool PcmFormatConverter::CanConvert(const PcmFormat& from, const PcmFormat& to) {
  if (from == to) return true;
  if (!IsSimpleFormat(from) || !IsSimpleFormat(to)) return false;
  if (from.nSampleRate == to.nSampleRate) return true;
  return Resampler(to.nSampleRate, from.nSampleRate, 16, 0).IsValid();
}

bool PcmFormatConverter::Prepare(const PcmFormat& from, const PcmFormat& to, int maxInputBytes) {
  Release();
  if (!CanConvert(from, to) || maxInputBytes < 0) return false;
  m_from = from;
  m_to = to;
  m_nMaxInputBytes = maxInputBytes;
  m_bPassThrough = from == to;
  if (m_bPassThrough) return true;
  try {
    const int frames = maxInputBytes / from.FrameBytes();
    const int channels = std::max(from.nChannels, to.nChannels);
    m_work.resize(static_cast<size_t>(frames) * channels);
    int outFrames = frames;
    if (from.nSampleRate != to.nSampleRate) {
      for (int c = 0; c < to.nChannels; ++c) {
        auto resampler = std::make_unique<Resampler>(to.nSampleRate, from.nSampleRate);
        if (!resampler->IsValid()) {
          Release();
          return false;
        }
        m_resamplers.push_back(std::move(resampler));
      }
      // Room for the block, the input a resampler may still hold, and rounding.
      const int64_t held = 2 * static_cast<int64_t>(m_resamplers[0]->TapsPerPhase()) + 2;
      outFrames = static_cast<int>((frames + held) * to.nSampleRate / from.nSampleRate + 16);
      m_scratchA.resize(static_cast<size_t>(frames));
      m_scratchB.resize(static_cast<size_t>(outFrames));
      m_resampled.resize(static_cast<size_t>(outFrames) * to.nChannels);
    }
    m_output.resize(static_cast<size_t>(std::max(outFrames, frames)) * channels * 2);
  } catch (...) {
    Release();
    return false;
  }
  return true;
}

void PcmFormatConverter::Release() {
  m_resamplers.clear();
  for (auto* v : {&m_work, &m_scratchA, &m_scratchB, &m_resampled}) {
    v->clear();
    v->shrink_to_fit();
  }
  m_output.clear();
  m_output.shrink_to_fit();
  m_bPassThrough = true;
  m_nMaxInputBytes = 0;
  m_from = m_to = PcmFormat{};
}

void PcmFormatConverter::Reset() {
  for (auto& resampler : m_resamplers) resampler->Reset();
}

int PcmFormatConverter::Convert(const uint8_t* input, int length, const uint8_t** output) {
  if (m_bPassThrough) {
    *output = input;
    return length;
  }
  length = std::clamp(length, 0, m_nMaxInputBytes);
  const int frames = length / m_from.FrameBytes();
  const int inChannels = m_from.nChannels;
  const int outChannels = m_to.nChannels;
  const bool rateChanges = m_from.nSampleRate != m_to.nSampleRate;
  // Step 1: samples as 16-bit values when the writer wants 16 bits or the
  // rate changes; else 8-bit samples stay unsigned bytes held in int16.
  const bool wide = m_from.nBitsPerSample == 16 || m_to.nBitsPerSample == 16 || rateChanges;
  const int samples = frames * inChannels;
  for (int i = 0; i < samples; ++i) {
    if (m_from.nBitsPerSample == 16) {
      m_work[static_cast<size_t>(i)] = LoadLe16(input + 2 * i);
    } else {
      m_work[static_cast<size_t>(i)] = wide ? Widen(input[i]) : input[i];
    }
  }
  // Step 2: channels, in place (duplicating runs backwards).
  if (inChannels == 1 && outChannels == 2) {
    for (int i = frames - 1; i >= 0; --i) {
      m_work[2 * static_cast<size_t>(i) + 1] = m_work[static_cast<size_t>(i)];
      m_work[2 * static_cast<size_t>(i)] = m_work[static_cast<size_t>(i)];
    }
  } else if (inChannels == 2 && outChannels == 1) {
    for (int i = 0; i < frames; ++i) {
      const int sum = m_work[2 * static_cast<size_t>(i)] + m_work[2 * static_cast<size_t>(i) + 1];
      m_work[static_cast<size_t>(i)] = static_cast<int16_t>(sum / 2);
    }
  }
  // Step 3: each channel through its resampler.
  const int16_t* result = m_work.data();
  int outFrames = frames;
  if (rateChanges) {
    outFrames = static_cast<int>(m_scratchB.size());
    for (int c = 0; c < outChannels; ++c) {
      for (int i = 0; i < frames; ++i) {
        m_scratchA[static_cast<size_t>(i)] = m_work[static_cast<size_t>(i) * outChannels + c];
      }
      const int made = m_resamplers[static_cast<size_t>(c)]->Process(
          m_scratchA.data(), frames, m_scratchB.data(), static_cast<int>(m_scratchB.size()));
      outFrames = std::min(outFrames, made);
      for (int i = 0; i < made; ++i) {
        m_resampled[static_cast<size_t>(i) * outChannels + c] = m_scratchB[static_cast<size_t>(i)];
      }
    }
    result = m_resampled.data();
  }
  // Step 4: bytes in the writer's sample size.
  const int outSamples = outFrames * outChannels;
  if (m_to.nBitsPerSample == 8) {
    for (int i = 0; i < outSamples; ++i) {
      const int16_t s = result[i];
      m_output[static_cast<size_t>(i)] = wide ? Narrow(s) : static_cast<uint8_t>(s);
    }
    *output = m_output.data();
    return outSamples;
  }
  for (int i = 0; i < outSamples; ++i) StoreLe16(&m_output[2 * static_cast<size_t>(i)], result[i]);
  *output = m_output.data();
  return outSamples * 2;
}
