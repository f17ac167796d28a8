// a * b / c with a wide intermediate product, rounded to the nearest integer
// (halves away from zero). A zero divisor gives -1, as does a 32-bit result
// that does not fit. Every such proportion in the pipeline and the waveform
// view goes through here so that they all round alike.
#pragma once

#include <cstdint>

int MulDiv(int a, int b, int c);

// The same rule over 64-bit operands, for byte counts and sample totals of
// files larger than 2 GiB. A zero divisor gives -1; a result beyond the
// 64-bit range saturates.
int64_t MulDiv64(int64_t a, int64_t b, int64_t c);
