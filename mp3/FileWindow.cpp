#include "mp3/FileWindow.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/io/ReadWrite.h"

FileWindow::FileWindow(int fd, int blockSize) : m_fd(fd), m_block(static_cast<size_t>(blockSize)) {}

void FileWindow::Attach(int fd) {
  m_fd = fd;
  Invalidate();
}

bool FileWindow::Load(int64_t offset) {
  if (m_fd < 0 || offset < 0) return false;
  // A read error counts as the end of the file.
  const ssize_t got = PReadUpTo(m_fd, m_block.data(), m_block.size(), offset);
  m_blockStart = offset;
  m_blockLength = got > 0 ? static_cast<int>(got) : 0;
  return m_blockLength > 0;
}

int FileWindow::ReadThroughBlocks(int64_t offset, uint8_t* out, int length) {
  int copied = 0;
  while (copied < length) {
    const int64_t pos = offset + copied;
    if (m_blockStart < 0 || pos < m_blockStart || pos >= m_blockStart + m_blockLength) {
      if (!Load(pos)) break;
    }
    const int inBlock = static_cast<int>(pos - m_blockStart);
    const int n = std::min(length - copied, m_blockLength - inBlock);
    std::memcpy(out + copied, m_block.data() + inBlock, static_cast<size_t>(n));
    copied += n;
    if (m_blockLength < static_cast<int>(m_block.size()) && inBlock + n >= m_blockLength) break;
  }
  return copied;
}

const uint8_t* FileWindow::Span(int64_t offset, int minimum, int* available) {
  const auto cachedFrom = [&](int64_t at) {
    return m_blockStart >= 0 && at >= m_blockStart && at - m_blockStart <= m_blockLength - minimum;
  };
  if (minimum < 0 || minimum > static_cast<int>(m_block.size())) return nullptr;
  if (!cachedFrom(offset) && (!Load(offset) || !cachedFrom(offset))) return nullptr;
  const int skip = static_cast<int>(offset - m_blockStart);
  *available = m_blockLength - skip;
  return m_block.data() + skip;
}

int FileWindow::ByteAt(int64_t offset) {
  if (m_blockStart < 0 || offset < m_blockStart || offset >= m_blockStart + m_blockLength) {
    if (!Load(offset)) return -1;
  }
  return m_block[static_cast<size_t>(offset - m_blockStart)];
}

int64_t FileSizeOf(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}
