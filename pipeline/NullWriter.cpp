#include "pipeline/AudioWriter.h"

#include "platform/MulDiv.h"

int CNullWriter::Open(const char* /*text0*/, int* sampleRate, int* bitsPerSample, int* channels,
                      const WriterInfoTexts& /*texts*/) {
  if (!sampleRate || !bitsPerSample || !channels) return 0;
  m_nSampleRate = *sampleRate;
  m_nBitsPerSample = *bitsPerSample;
  m_nChannels = *channels;
  m_nBytesWritten.store(0, std::memory_order_relaxed);
  return 1;
}

int CNullWriter::Write(const void* buffer, int length) {
  m_nBytesWritten.fetch_add(length, std::memory_order_relaxed);
  if (m_pfnPcmCallback) return m_pfnPcmCallback(m_pPcmCallbackUser, buffer, length);
  return length;
}

int CNullWriter::CanWrite() {
  return MulDiv(2304, m_nChannels * m_nBitsPerSample, 8);
}

int CNullWriter::GetPosition() {
  const int64_t bitsPerSecond =
      static_cast<int64_t>(m_nChannels) * m_nBitsPerSample * m_nSampleRate;
  const int64_t ms = MulDiv64(GetBytesWritten(), 8000, bitsPerSecond);
  return ms > INT32_MAX ? INT32_MAX : static_cast<int>(ms);
}

int CNullWriter::SetPcmCallback(PcmCallback callback, void* user) {
  m_pfnPcmCallback = callback;
  m_pPcmCallbackUser = user;
  return 1;
}
