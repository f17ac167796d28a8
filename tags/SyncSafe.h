// Sync-safe integers of ID3v2: 28 bits spread over four bytes of 7 bits,
// most significant first, the top bit of each byte clear.
#pragma once

#include <cstdint>

// The top bit of each byte is ignored.
uint32_t DecodeSyncSafe(const uint8_t bytes[4]);
// Bits above the 28th are dropped.
void EncodeSyncSafe(uint32_t value, uint8_t bytes[4]);
// True when no byte has its top bit set.
bool IsSyncSafe(const uint8_t bytes[4]);
