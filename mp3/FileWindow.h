// FileWindow: positional reads from an open file through one cached block,
// for the header scans (first-frame search, resync, frame index). It reads
// with pread, so it never moves the stream position that decoding uses, and
// a scan that steps 4 bytes at a time or skips over frame bodies costs one
// system call per block instead of one per header.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

class FileWindow {
 public:
  explicit FileWindow(int fd = -1, int blockSize = 64 * 1024);

  void Attach(int fd);
  int Fd() const { return m_fd; }
  // Forgets the cached block (the file may have changed).
  void Invalidate() { m_blockStart = -1; m_blockLength = 0; }

  // Copies up to `length` bytes at `offset`; returns the number copied
  // (fewer at the end of the file or on a read error). Bytes inside the
  // cached block are copied inline: the header scans call this once per
  // frame.
  int ReadAt(int64_t offset, uint8_t* out, int length) {
    if (m_blockStart >= 0 && offset >= m_blockStart && length >= 0 &&
        offset - m_blockStart <= m_blockLength - length) {
      std::memcpy(out, m_block.data() + (offset - m_blockStart), static_cast<size_t>(length));
      return length;
    }
    return ReadThroughBlocks(offset, out, length);
  }

  // The bytes from `offset` on as they stand in the cached block, loading
  // the block that starts at `offset` unless the cached one holds at least
  // `minimum` bytes there. *available is how many may be read (at least
  // `minimum`); null at the end of the file or on a read error. The
  // pointer stays valid until the next call on this window.
  const uint8_t* Span(int64_t offset, int minimum, int* available);

  // One byte at `offset`, or -1 past the end / on error.
  int ByteAt(int64_t offset);

 private:
  bool Load(int64_t offset);
  int ReadThroughBlocks(int64_t offset, uint8_t* out, int length);

  int m_fd;
  std::vector<uint8_t> m_block;
  int64_t m_blockStart = -1;
  int m_blockLength = 0;
};

// Size of an open file in bytes, or -1.
int64_t FileSizeOf(int fd);
