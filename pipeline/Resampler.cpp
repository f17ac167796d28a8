#include "pipeline/Resampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Blackman-Nuttall window at angle theta (1 at pi, near 0 at 0 and 2 pi).
double BlackmanNuttall(double theta) {
  return 0.3635819 - 0.4891775 * std::cos(theta) + 0.1365995 * std::cos(2 * theta) -
         0.0106411 * std::cos(3 * theta);
}

double Sinc(double x) { return x == 0.0 ? 1.0 : std::sin(x) / x; }

int16_t Saturate16(int64_t v) {
  if (v > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (v < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(v);
}

}  // namespace

Resampler::Resampler(int outRate, int inRate, int filterLength, int phaseBits, int linear,
                     double cutoff, int coefBits) {
  if (outRate <= 0 || inRate <= 0 || filterLength <= 0 || filterLength > 64 || phaseBits < 0 ||
      phaseBits > 16 || coefBits < 8 || coefBits > 30 || !(cutoff > 0.0) || cutoff > 1.0) {
    return;
  }
  if (static_cast<int64_t>(inRate) > static_cast<int64_t>(outRate) * kMaxDownRatio) return;
  m_nOutRate = outRate;
  m_nInRate = inRate;
  m_nPhaseBits = phaseBits;
  m_nPhases = 1 << phaseBits;
  m_bLinear = linear != 0;
  m_nCoefBits = coefBits;
  const double c = std::min(1.0, static_cast<double>(outRate) * cutoff / inRate);
  m_nTaps = static_cast<int>(std::ceil(filterLength / c - 1e-9));
  m_nHalf = (m_nTaps - 1) / 2;
  try {
    BuildTable(c);
  } catch (...) {
    return;
  }
  Reset();
  m_bValid = true;
}

void Resampler::BuildTable(double c) {
  m_taps.assign(static_cast<size_t>(m_nPhases + 1) * m_nTaps, 0);
  const double scale = std::ldexp(1.0, m_nCoefBits);
  const int64_t lowest = m_nCoefBits <= 15 ? std::numeric_limits<int16_t>::min()
                                           : std::numeric_limits<int32_t>::min();
  const int64_t highest = m_nCoefBits <= 15 ? std::numeric_limits<int16_t>::max()
                                            : std::numeric_limits<int32_t>::max();
  std::vector<double> row(static_cast<size_t>(m_nTaps));
  for (int phase = 0; phase <= m_nPhases; ++phase) {
    double sum = 0.0;
    for (int j = 0; j < m_nTaps; ++j) {
      const double d = (j - m_nHalf - static_cast<double>(phase) / m_nPhases) * c;
      const double theta = 2.0 * kPi * d / (c * m_nTaps) + kPi;
      row[static_cast<size_t>(j)] = Sinc(kPi * d) * BlackmanNuttall(theta);
      sum += row[static_cast<size_t>(j)];
    }
    // Round each tap with the error of the previous ones carried along, so
    // the row sums to exactly 2^coefBits (unit gain at DC).
    double carried = 0.0;
    for (int j = 0; j < m_nTaps; ++j) {
      const double want = row[static_cast<size_t>(j)] * scale / sum + carried;
      const int64_t tap = std::clamp<int64_t>(std::llround(want), lowest, highest);
      carried = want - static_cast<double>(tap);
      m_taps[static_cast<size_t>(phase) * m_nTaps + j] = static_cast<int32_t>(tap);
    }
  }
}

void Resampler::Reset() {
  // The filter's first half looks at samples before the first input: zeros.
  m_pending.assign(static_cast<size_t>(m_nHalf), 0);
  m_nIndex = 0;
  m_nFraction = 0;
}

int Resampler::MaxOutput(int count) const {
  if (!m_bValid || count < 0) return 0;
  const int64_t available = static_cast<int64_t>(m_pending.size()) - m_nIndex + count;
  const int64_t outputs = available * m_nOutRate / m_nInRate + 2;
  return static_cast<int>(std::min<int64_t>(outputs, std::numeric_limits<int>::max()));
}

int Resampler::Process(const int16_t* input, int count, int16_t* output, int room) {
  if (!m_bValid) return 0;
  if (count > 0 && input) m_pending.insert(m_pending.end(), input, input + count);
  const int64_t size = static_cast<int64_t>(m_pending.size());
  const int64_t half = int64_t{1} << (m_nCoefBits - 1);
  int produced = 0;
  while (produced < room && m_nIndex + m_nTaps <= size) {
    const int64_t scaledPhase = m_nFraction * m_nPhases;
    const int16_t* x = m_pending.data() + m_nIndex;
    int64_t acc = 0;
    if (m_bLinear) {
      const int64_t phase = scaledPhase / m_nOutRate;
      const int64_t weight = scaledPhase % m_nOutRate;
      const int32_t* a = &m_taps[static_cast<size_t>(phase) * m_nTaps];
      const int32_t* b = a + m_nTaps;
      int64_t accA = 0, accB = 0;
      for (int j = 0; j < m_nTaps; ++j) {
        accA += static_cast<int64_t>(a[j]) * x[j];
        accB += static_cast<int64_t>(b[j]) * x[j];
      }
      acc = accA + (accB - accA) * weight / m_nOutRate;
    } else {
      // Nearest phase row; the extra row m_nPhases stands for the next sample.
      const int64_t phase = (scaledPhase + m_nOutRate / 2) / m_nOutRate;
      const int32_t* a = &m_taps[static_cast<size_t>(phase) * m_nTaps];
      for (int j = 0; j < m_nTaps; ++j) acc += static_cast<int64_t>(a[j]) * x[j];
    }
    output[produced++] = Saturate16((acc + half) >> m_nCoefBits);
    m_nFraction += m_nInRate;
    m_nIndex += m_nFraction / m_nOutRate;
    m_nFraction %= m_nOutRate;
  }
  // Drop what no later output needs.
  const int64_t consumed = std::min(m_nIndex, size);
  m_pending.erase(m_pending.begin(), m_pending.begin() + consumed);
  m_nIndex -= consumed;
  return produced;
}
