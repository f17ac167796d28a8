// Resampler: converts one channel of 16-bit samples from an input rate to an
// output rate with a polyphase windowed-sinc filter.
//
// The low-pass cut-off is c = min(1, cutoff * out / in) of the input's
// Nyquist frequency; each phase row has L = ceil(filterLength / c) taps, and
// there are 2^phaseBits phase rows plus one more for a whole sample ahead
// (phase 0 one tap later), so that rounding to the nearest phase never has
// to look past the taps of the current position. Taps are sinc(pi d) times a
// Blackman-Nuttall window, each row scaled to sum to 2^coefBits and rounded
// with the rounding error carried from tap to tap; coefBits 15 keeps them in
// the 16-bit range, more gives 32-bit taps. Outputs are rounded, scaled back
// by 2^coefBits and saturated to 16 bits.
//
// The input position advances by exactly in/out per output sample (an
// integer plus a fraction counted in 1/out steps). Input not yet consumed is
// kept and put before the next block, so a stream cut into blocks gives the
// same output as one long block. Output sample 0 sits at input sample 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Used by PcmFormatConverter when the output module asks for another sample rate.
class Resampler {
 public:
  // `linear` non-zero interpolates between neighbouring phase rows; 0 uses
  // the nearest row. Check IsValid: rates must be positive and the filter
  // small enough (in / out at most kMaxDownRatio).
  Resampler(int outRate, int inRate, int filterLength = 16, int phaseBits = 10, int linear = 0,
            double cutoff = 1.0, int coefBits = 15);

  static constexpr int kMaxDownRatio = 16;

  bool IsValid() const { return m_bValid; }
  int TapsPerPhase() const { return m_nTaps; }

  // Feeds `count` input samples and writes at most `room` output samples;
  // returns how many were written. Input beyond what `room` allows stays
  // pending for the next call.
  int Process(const int16_t* input, int count, int16_t* output, int room);

  // Output samples a call with `count` inputs can produce at most.
  int MaxOutput(int count) const;

  // Forgets pending input, as after a jump in the stream.
  void Reset();

  // One tap of the table (tests look at the rows).
  int32_t Tap(int phase, int tap) const { return m_taps[static_cast<size_t>(phase) * m_nTaps + tap]; }
  int PhaseCount() const { return m_nPhases; }

 private:
  void BuildTable(double cutoff);

  bool m_bValid = false;
  int m_nOutRate = 0;
  int m_nInRate = 0;
  int m_nPhaseBits = 10;
  int m_nPhases = 0;
  int m_nTaps = 0;
  int m_nHalf = 0;  // taps before the centre: (taps - 1) / 2
  bool m_bLinear = false;
  int m_nCoefBits = 15;
  std::vector<int32_t> m_taps;  // (phases + 1) rows of m_nTaps

  std::vector<int16_t> m_pending;  // input not yet consumed
  int64_t m_nIndex = 0;            // first tap of the next output in m_pending
  int64_t m_nFraction = 0;         // position between samples, in 1/outRate steps
};
