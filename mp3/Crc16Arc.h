// CRC-16/ARC (reflected polynomial 0xA001, initial value 0, no final xor),
// as LAME's tag and music CRCs use it. The music CRC covers every byte of a
// cut's frames, so it is computed fast: eight bytes a step through tables,
// and on processors with carry-less multiplication (PCLMULQDQ) 64 bytes a
// step by folding.
//
// Folding: a register of 0xA001 run 32 bits wide never sets its high half,
// so CRC-16/ARC is the reflected 32-bit CRC of G(x) = x^16 (x^16 + x^15 +
// x^2 + 1). The message is folded 128 bits at a time into a remainder that
// is congruent to it modulo G (multiplying each half by x^n mod G for the
// distance n it moves), and the CRC of those 16 bytes and the message's
// last ones (fewer than 16) by the tables is the message's CRC.
#pragma once

#include <cstddef>
#include <cstdint>

// `crc` continues a running value.
uint16_t Crc16Arc(const uint8_t* data, size_t length, uint16_t crc = 0);

// The same through the tables only (what the folding is checked against).
uint16_t Crc16ArcByTables(const uint8_t* data, size_t length, uint16_t crc = 0);
