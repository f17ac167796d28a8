#include "platform/MulDiv.h"

#include <climits>

namespace {

// Rounded quotient of n / d, halves away from zero. d != 0.
__int128 RoundedQuotient(__int128 n, __int128 d) {
  const bool negative = (n < 0) != (d < 0);
  const __int128 an = n < 0 ? -n : n;
  const __int128 ad = d < 0 ? -d : d;
  const __int128 q = (an + ad / 2) / ad;
  return negative ? -q : q;
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const __int128 q = RoundedQuotient(static_cast<__int128>(a) * b, c);
  if (q > INT_MAX || q < INT_MIN) return -1;
  return static_cast<int>(q);
}

int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return -1;
  const __int128 q = RoundedQuotient(static_cast<__int128>(a) * b, c);
  if (q > INT64_MAX) return INT64_MAX;
  if (q < INT64_MIN) return INT64_MIN;
  return static_cast<int64_t>(q);
}
