// Recordings with known silences for the split tests: tones and digital
// silence, encoded at test time.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/SignalEncoder.h"

// A stretch of the recording: a tone of `hz` (0: silence) for `seconds`.
struct Piece {
  double seconds;
  double hz;
};

// Interleaved PCM of the pieces, tones at about -12 dBFS.
std::vector<int16_t> PiecesPcm(const std::vector<Piece>& pieces, int sampleRate, int channels);

// The pieces encoded per `spec` (its length is the pieces').
std::vector<uint8_t> EncodePieces(const std::vector<Piece>& pieces, const EncodeSpec& spec);

// Tone 3 s, silence 2.5 s, tone 2 s, silence 1 s, tone 2 s, silence 3 s,
// tone 1.5 s (15 s): silences around 4.25 s, 8 s (when 1 s counts) and 12 s.
const std::vector<Piece>& ThreeGaps();
