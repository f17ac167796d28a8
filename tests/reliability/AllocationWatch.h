// AllocationWatch: the largest single operator-new allocation made while a
// watch is active, to prove that no input makes the code allocate more than
// the input holds. The test program replaces the global operator new for
// this; under AddressSanitizer (which brings its own) nothing is watched and
// Available() is false.
#pragma once

#include <cstddef>

class AllocationWatch {
 public:
  AllocationWatch();
  ~AllocationWatch();
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;

  static bool Available();
  // The largest request, in bytes, since the watch began.
  size_t Largest() const;
};
