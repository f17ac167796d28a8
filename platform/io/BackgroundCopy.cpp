#include "platform/io/BackgroundCopy.h"

#include <unistd.h>

#include "platform/io/CopyRange.h"

void BackgroundCopy::Start(int in, int out, int64_t from, int64_t to) {
  Join();
  m_out = out;
  m_from = from;
  m_outStart = ::lseek(out, 0, SEEK_CUR);
  m_copied = 0;
  m_ok = false;
  if (m_outStart < 0) return;
  m_thread = std::thread([this, in, out, from, to] { m_ok = CopyRange(in, out, from, to, &m_copied); });
}

void BackgroundCopy::Join() {
  if (m_thread.joinable()) m_thread.join();
}

bool BackgroundCopy::Keep(int64_t end, int64_t* copied) {
  Join();
  const bool covered = m_out >= 0 && m_ok && end >= m_from && end - m_from <= m_copied;
  const int64_t size = m_outStart + (end - m_from);
  if (!covered || ::ftruncate(m_out, size) != 0 || ::lseek(m_out, size, SEEK_SET) != size) {
    Discard();
    return false;
  }
  *copied = end - m_from;
  m_out = -1;
  return true;
}

bool BackgroundCopy::Discard() {
  Join();
  if (m_out < 0) return true;
  const int out = m_out;
  m_out = -1;
  return m_outStart >= 0 && ::ftruncate(out, m_outStart) == 0 && ::lseek(out, m_outStart, SEEK_SET) == m_outStart;
}
