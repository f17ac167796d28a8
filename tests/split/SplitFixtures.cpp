#include "tests/split/SplitFixtures.h"

#include <cmath>

std::vector<int16_t> PiecesPcm(const std::vector<Piece>& pieces, int sampleRate, int channels) {
  std::vector<int16_t> pcm;
  for (const Piece& piece : pieces) {
    const int64_t frames = std::llround(piece.seconds * sampleRate);
    for (int64_t i = 0; i < frames; ++i) {
      const double v = piece.hz > 0 ? 8000.0 * std::sin(2 * M_PI * piece.hz * static_cast<double>(i) / sampleRate) : 0;
      for (int c = 0; c < channels; ++c) pcm.push_back(static_cast<int16_t>(std::lround(v)));
    }
  }
  return pcm;
}

std::vector<uint8_t> EncodePieces(const std::vector<Piece>& pieces, const EncodeSpec& spec) {
  return EncodePcm(spec, PiecesPcm(pieces, spec.sampleRate, spec.channels));
}

const std::vector<Piece>& ThreeGaps() {
  static const std::vector<Piece> pieces = {{3, 440}, {2.5, 0}, {2, 660}, {1, 0}, {2, 330}, {3, 0}, {1.5, 550}};
  return pieces;
}
