// ByteRing: a first-in first-out byte queue over one circular block that
// grows on demand (always at least doubling). The MP3 reader stages decoded
// PCM in one; the waveform view keeps its not yet reduced PCM in another.
// No locking of its own: each owner serialises access.
//
// Invariant after every successful Write: 0 <= count < capacity (the ring
// grows before it would become full), write = (read + count) mod capacity.
#pragma once

#include <cstdint>

class ByteRing {
 public:
  // Allocates `size` bytes (size > 0). Check IsValid(): a failed allocation
  // leaves a ring the owner must treat as not constructed.
  explicit ByteRing(int size);
  ~ByteRing();
  ByteRing(const ByteRing&) = delete;
  ByteRing& operator=(const ByteRing&) = delete;

  bool IsValid() const { return m_pBlock != nullptr; }

  // Empties the ring; the block and its capacity stay.
  void Reset();

  // Appends `length` bytes. 1 on success, 0 when growing failed (nothing
  // stored then). A length <= 0 stores nothing and returns 1.
  int Write(const void* source, int length);

  // Copies exactly `length` bytes, or nothing: 1 when copied, 0 when fewer
  // are stored or length <= 0. With consume == 0 the bytes stay (a peek).
  int Read(void* destination, int length, int consume);

  int Count() const { return m_nCount; }
  int Capacity() const { return m_nCapacity; }
  int ReadPosition() const { return m_nReadPos; }
  int WritePosition() const { return m_nWritePos; }

 private:
  int Grow(int extra);

  uint8_t* m_pBlock = nullptr;
  int m_nCapacity = 0;
  int m_nReadPos = 0;
  int m_nWritePos = 0;
  int m_nCount = 0;
};
