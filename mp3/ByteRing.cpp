#include "mp3/ByteRing.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

ByteRing::ByteRing(int size) {
  if (size > 0) {
    m_pBlock = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
  }
  m_nCapacity = m_pBlock ? size : 0;
  m_nCount = 0;
  Reset();
}

ByteRing::~ByteRing() {
  std::free(m_pBlock);
  m_pBlock = nullptr;
}

void ByteRing::Reset() {
  m_nReadPos = 0;
  m_nWritePos = 0;
  m_nCount = 0;
}

int ByteRing::Grow(int extra) {
  if (m_nCapacity <= 0) return 0;
  // Always at least double, and leave room for one more byte than the
  // pending write needs so the ring is never completely full.
  const int64_t wanted = static_cast<int64_t>(m_nCapacity) + extra;
  int64_t size = m_nCapacity;
  do {
    size *= 2;
  } while (size <= wanted);
  if (size > INT_MAX) return 0;
  auto* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
  if (!block) return 0;
  if (m_nCount > 0) Read(block, m_nCount, 0);
  std::free(m_pBlock);
  m_pBlock = block;
  m_nCapacity = static_cast<int>(size);
  m_nReadPos = 0;
  m_nWritePos = m_nCount;
  return 1;
}

int ByteRing::Write(const void* source, int length) {
  if (length <= 0) return 1;
  if (!m_pBlock) return 0;
  // Equality grows too: the ring never becomes completely full.
  if (length >= m_nCapacity - m_nCount) {
    if (static_cast<int64_t>(m_nCount) + length >= INT_MAX / 2) return 0;
    if (!Grow(m_nCount + length - m_nCapacity)) return 0;
  }
  const auto* src = static_cast<const uint8_t*>(source);
  if (m_nWritePos < m_nReadPos) {
    std::memcpy(m_pBlock + m_nWritePos, src, static_cast<size_t>(length));
    m_nWritePos += length;
    m_nCount += length;
    return 1;
  }
  const int first = std::min(m_nCapacity - m_nWritePos, length);
  std::memcpy(m_pBlock + m_nWritePos, src, static_cast<size_t>(first));
  if (length > first) std::memcpy(m_pBlock, src + first, static_cast<size_t>(length - first));
  m_nCount += length;
  m_nWritePos = (m_nWritePos + length) % m_nCapacity;
  return 1;
}

int ByteRing::Read(void* destination, int length, int consume) {
  if (m_nCount < length || length <= 0) return 0;
  auto* dst = static_cast<uint8_t*>(destination);
  if (m_nWritePos <= m_nReadPos) {
    // Stored bytes may wrap (when count > 0 and write <= read).
    const int first = std::min(m_nCapacity - m_nReadPos, length);
    std::memcpy(dst, m_pBlock + m_nReadPos, static_cast<size_t>(first));
    if (length > first) std::memcpy(dst + first, m_pBlock, static_cast<size_t>(length - first));
  } else {
    std::memcpy(dst, m_pBlock + m_nReadPos, static_cast<size_t>(length));
  }
  if (consume) {
    m_nCount -= length;
    m_nReadPos = (m_nReadPos + length) % m_nCapacity;
  }
  return 1;
}
