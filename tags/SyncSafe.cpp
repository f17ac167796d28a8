#include "tags/SyncSafe.h"

uint32_t DecodeSyncSafe(const uint8_t bytes[4]) {
  return (uint32_t{bytes[0]} & 0x7F) << 21 | (uint32_t{bytes[1]} & 0x7F) << 14 |
         (uint32_t{bytes[2]} & 0x7F) << 7 | (uint32_t{bytes[3]} & 0x7F);
}

void EncodeSyncSafe(uint32_t value, uint8_t bytes[4]) {
  bytes[0] = static_cast<uint8_t>((value >> 21) & 0x7F);
  bytes[1] = static_cast<uint8_t>((value >> 14) & 0x7F);
  bytes[2] = static_cast<uint8_t>((value >> 7) & 0x7F);
  bytes[3] = static_cast<uint8_t>(value & 0x7F);
}

bool IsSyncSafe(const uint8_t bytes[4]) {
  return ((bytes[0] | bytes[1] | bytes[2] | bytes[3]) & 0x80) == 0;
}
