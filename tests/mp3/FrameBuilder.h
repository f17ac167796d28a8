// Byte-built MPEG frames and tags for reader tests: headers with chosen
// fields, frames of the header's length, ID3 blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mp3/FrameHeader.h"

// version: 1 (MPEG-1), 2 (MPEG-2) or 25 (MPEG-2.5); layer 1..3.
inline uint32_t MakeHeader(int version, int layer, int bitrateIndex, int rateIndex, int padding = 0,
                           int mode = 0) {
  uint32_t h = 0xFFE00000u;
  if (version == 1) h |= 3u << 19;
  if (version == 2) h |= 2u << 19;
  h |= static_cast<uint32_t>(4 - layer) << 17;
  h |= 1u << 16;  // no CRC
  h |= static_cast<uint32_t>(bitrateIndex) << 12;
  h |= static_cast<uint32_t>(rateIndex) << 10;
  h |= static_cast<uint32_t>(padding) << 9;
  h |= static_cast<uint32_t>(mode) << 6;
  return h;
}

inline void PutHeader(std::vector<uint8_t>& out, uint32_t h) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(h >> (24 - 8 * i)));
}

// One frame: the header and a body of `fill` bytes, FrameLength(h) in all.
inline std::vector<uint8_t> MakeFrame(uint32_t h, uint8_t fill = 0) {
  std::vector<uint8_t> f;
  PutHeader(f, h);
  f.resize(static_cast<size_t>(FrameLength(h)), fill);
  return f;
}

inline std::vector<uint8_t> Frames(uint32_t h, int count) {
  std::vector<uint8_t> out;
  for (int i = 0; i < count; ++i) {
    auto f = MakeFrame(h);
    out.insert(out.end(), f.begin(), f.end());
  }
  return out;
}

// An ID3v2 header (10 bytes) declaring `size` body bytes (sync-safe), then
// the body as zeros, then a footer when asked.
inline std::vector<uint8_t> MakeId3v2(int size, bool footer, uint8_t version = 4) {
  std::vector<uint8_t> t = {'I', 'D', '3', version, 0, static_cast<uint8_t>(footer ? 0x10 : 0),
                            static_cast<uint8_t>((size >> 21) & 0x7F), static_cast<uint8_t>((size >> 14) & 0x7F),
                            static_cast<uint8_t>((size >> 7) & 0x7F), static_cast<uint8_t>(size & 0x7F)};
  t.resize(t.size() + static_cast<size_t>(size), 0);
  if (footer) {
    std::vector<uint8_t> f(t.begin(), t.begin() + 10);
    f[0] = '3';
    f[1] = 'D';
    f[2] = 'I';
    t.insert(t.end(), f.begin(), f.end());
  }
  return t;
}

inline std::vector<uint8_t> MakeId3v1(const std::string& title) {
  std::vector<uint8_t> t(128, 0);
  t[0] = 'T';
  t[1] = 'A';
  t[2] = 'G';
  for (size_t i = 0; i < title.size() && i < 30; ++i) t[3 + i] = static_cast<uint8_t>(title[i]);
  t[127] = 255;
  return t;
}
