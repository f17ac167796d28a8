#include "mp3/Crc16Arc.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PADOCUT_CRC_FOLDING 1
#endif

namespace {

constexpr uint16_t kReflectedPolynomial = 0xA001;

// t[k][b]: what byte b followed by k zero bytes does to the register, so
// one step takes eight bytes.
constexpr int kSlices = 8;
struct CrcTables {
  uint16_t t[kSlices][256];
  CrcTables() {
    for (int i = 0; i < 256; ++i) {
      uint16_t c = static_cast<uint16_t>(i);
      for (int k = 0; k < 8; ++k) c = (c & 1) ? static_cast<uint16_t>((c >> 1) ^ kReflectedPolynomial) : c >> 1;
      t[0][i] = c;
    }
    for (int k = 1; k < kSlices; ++k) {
      for (int i = 0; i < 256; ++i) t[k][i] = static_cast<uint16_t>((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
    }
  }
};

const CrcTables& Tables() {
  static const CrcTables tables;
  return tables;
}

#ifdef PADOCUT_CRC_FOLDING

// G(x) = x^32 + x^31 + x^18 + x^16, without its x^32 term.
constexpr uint32_t kGenerator = 0x80050000u;
constexpr size_t kBlock = 16;            // bytes of one 128-bit lane
constexpr size_t kFourBlocks = 4 * kBlock;

// x^n mod G.
uint32_t XPowerMod(int n) {
  uint32_t r = 1;  // x^0
  for (int i = 0; i < n; ++i) r = (r & 0x80000000u) ? (r << 1) ^ kGenerator : r << 1;
  return r;
}

// The 64-bit reflected form of a polynomial of degree below 64: bit i holds
// the coefficient of x^(63 - i).
uint64_t Reflect64(uint64_t p) {
  uint64_t r = 0;
  for (int i = 0; i < 64; ++i) r |= ((p >> i) & 1) << (63 - i);
  return r;
}

// A 16-byte block read as a reflected 128-bit polynomial has its high half
// (the first eight bytes) in lane 0 and its low half in lane 1. Moving it n
// bits on multiplies the halves by x^(n + 64) and x^n; with both factors in
// reflected form the carry-less product comes out one place short, so the
// constants are x^(n + 63) and x^(n - 1) mod G.
struct FoldKeys {
  __m128i by512, by128;
  FoldKeys()
      : by512(_mm_set_epi64x(static_cast<long long>(Reflect64(XPowerMod(511))),
                             static_cast<long long>(Reflect64(XPowerMod(575))))),
        by128(_mm_set_epi64x(static_cast<long long>(Reflect64(XPowerMod(127))),
                             static_cast<long long>(Reflect64(XPowerMod(191))))) {}
};

__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i block, __m128i keys) {
  return _mm_xor_si128(_mm_clmulepi64_si128(block, keys, 0x00), _mm_clmulepi64_si128(block, keys, 0x11));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Load(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// At least 64 bytes: folded into 16, then those and the rest by the tables.
__attribute__((target("pclmul,sse2"))) uint16_t FoldedCrc(const uint8_t* data, size_t length, uint16_t crc) {
  static const FoldKeys keys;
  // The running value enters as the first bytes of the message.
  __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(crc));
  __m128i x1 = Load(data + 16), x2 = Load(data + 32), x3 = Load(data + 48);
  size_t at = kFourBlocks;
  for (; at + kFourBlocks <= length; at += kFourBlocks) {
    x0 = _mm_xor_si128(Fold(x0, keys.by512), Load(data + at));
    x1 = _mm_xor_si128(Fold(x1, keys.by512), Load(data + at + 16));
    x2 = _mm_xor_si128(Fold(x2, keys.by512), Load(data + at + 32));
    x3 = _mm_xor_si128(Fold(x3, keys.by512), Load(data + at + 48));
  }
  x1 = _mm_xor_si128(Fold(x0, keys.by128), x1);
  x2 = _mm_xor_si128(Fold(x1, keys.by128), x2);
  x3 = _mm_xor_si128(Fold(x2, keys.by128), x3);
  for (; at + kBlock <= length; at += kBlock) x3 = _mm_xor_si128(Fold(x3, keys.by128), Load(data + at));
  alignas(16) uint8_t folded[kBlock];
  _mm_store_si128(reinterpret_cast<__m128i*>(folded), x3);
  return Crc16ArcByTables(data + at, length - at, Crc16ArcByTables(folded, kBlock, 0));
}

bool CanFold() {
  static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
  return can;
}

#endif

}  // namespace

uint16_t Crc16ArcByTables(const uint8_t* data, size_t length, uint16_t crc) {
  const auto& t = Tables().t;
  size_t i = 0;
  for (; i + kSlices <= length; i += kSlices) {
    const uint8_t* d = data + i;
    const uint16_t r = static_cast<uint16_t>(crc ^ (d[0] | d[1] << 8));
    crc = static_cast<uint16_t>(t[7][r & 0xFF] ^ t[6][r >> 8] ^ t[5][d[2]] ^ t[4][d[3]] ^ t[3][d[4]] ^ t[2][d[5]] ^
                                t[1][d[6]] ^ t[0][d[7]]);
  }
  for (; i < length; ++i) crc = static_cast<uint16_t>((crc >> 8) ^ t[0][(crc ^ data[i]) & 0xFF]);
  return crc;
}

uint16_t Crc16Arc(const uint8_t* data, size_t length, uint16_t crc) {
#ifdef PADOCUT_CRC_FOLDING
  if (length >= kFourBlocks && CanFold()) return FoldedCrc(data, length, crc);
#endif
  return Crc16ArcByTables(data, length, crc);
}
