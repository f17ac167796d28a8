// ByteReader: the numbers of a byte layout (VBR headers, tag headers, frame
// fields) read in order from a bounded buffer, most significant byte first
// unless the name says little-endian. A read that would pass the end touches
// no memory, returns 0, leaves the position where it was and sets a sticky
// failure flag, so a parser reads a block of fields in a straight run and
// checks Failed() once after it.
//
// PutBe16, PutBe24 and PutBe32 write the same layouts.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  uint8_t U8() { return static_cast<uint8_t>(TakeBigEndian(1)); }
  uint16_t Be16() { return static_cast<uint16_t>(TakeBigEndian(2)); }
  uint32_t Be24() { return static_cast<uint32_t>(TakeBigEndian(3)); }
  uint32_t Be32() { return static_cast<uint32_t>(TakeBigEndian(4)); }
  uint32_t Le32() {
    const uint8_t* b = Bytes(4);
    return b ? uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24 : 0;
  }

  // The next `count` bytes, stepped over; null past the end.
  const uint8_t* Bytes(size_t count) {
    if (m_failed || count > m_size - m_position) {
      m_failed = true;
      return nullptr;
    }
    const uint8_t* at = m_data + m_position;
    m_position += count;
    return at;
  }
  void Skip(size_t count) { Bytes(count); }
  // Moves to `position` (at most the size).
  void Seek(size_t position) {
    if (position > m_size) {
      m_failed = true;
      return;
    }
    m_position = position;
  }

  size_t Position() const { return m_position; }
  size_t Remaining() const { return m_size - m_position; }
  bool Failed() const { return m_failed; }

 private:
  uint64_t TakeBigEndian(size_t count) {
    const uint8_t* b = Bytes(count);
    uint64_t value = 0;
    for (size_t i = 0; b && i < count; ++i) value = value << 8 | b[i];
    return value;
  }

  const uint8_t* m_data;
  size_t m_size;
  size_t m_position = 0;
  bool m_failed = false;
};

inline void PutBe16(uint8_t* out, uint16_t value) {
  out[0] = static_cast<uint8_t>(value >> 8);
  out[1] = static_cast<uint8_t>(value);
}

inline void PutBe24(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 16);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value);
}

inline void PutBe32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}
