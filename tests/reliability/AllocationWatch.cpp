#include "tests/reliability/AllocationWatch.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define PADOCUT_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define PADOCUT_SANITIZED 1
#endif
#endif

namespace {

std::atomic<int> g_watching{0};
std::atomic<size_t> g_largest{0};

}  // namespace

#ifndef PADOCUT_SANITIZED

void* operator new(std::size_t size) {
  if (g_watching.load(std::memory_order_relaxed) > 0) {
    size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

bool AllocationWatch::Available() { return true; }

#else

bool AllocationWatch::Available() { return false; }

#endif

AllocationWatch::AllocationWatch() {
  g_largest = 0;
  ++g_watching;
}

AllocationWatch::~AllocationWatch() { --g_watching; }

size_t AllocationWatch::Largest() const { return g_largest.load(); }
