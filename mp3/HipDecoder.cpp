#include "mp3/HipDecoder.h"

#include <cstdarg>
#include <mutex>

namespace {

std::mutex& HipLock() {
  static std::mutex lock;
  return lock;
}

// LAME prints decoder complaints to stderr by default; damaged input is
// ordinary input here, so they are dropped.
void Quiet(const char*, va_list) {}

}  // namespace

bool HipDecoder::Init() {
  Exit();
  std::lock_guard<std::mutex> guard(HipLock());
  m_hip = hip_decode_init();
  if (m_hip) {
    hip_set_errorf(m_hip, Quiet);
    hip_set_debugf(m_hip, Quiet);
    hip_set_msgf(m_hip, Quiet);
  }
  return m_hip != nullptr;
}

void HipDecoder::Exit() {
  if (!m_hip) return;
  std::lock_guard<std::mutex> guard(HipLock());
  hip_decode_exit(m_hip);
  m_hip = nullptr;
}

int HipDecoder::Decode1Headers(unsigned char* input, size_t length, short* left, short* right,
                               mp3data_struct* info) {
  if (!m_hip) return -1;
  std::lock_guard<std::mutex> guard(HipLock());
  return hip_decode1_headers(m_hip, input, length, left, right, info);
}
