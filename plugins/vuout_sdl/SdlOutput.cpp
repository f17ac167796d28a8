#include "plugins/vuout_sdl/SdlOutput.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMaxChannels = 8;

// Device buffer: the power of two of sample frames nearest above 20 ms.
Uint16 DeviceSamples(int sampleRate) {
  int samples = 256;
  while (samples < sampleRate / 50 && samples < 8192) samples *= 2;
  return static_cast<Uint16>(samples);
}

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

void SdlOutput::Init() {
  std::lock_guard<std::mutex> guard(m_lock);
  EnsureAudio();
}

bool SdlOutput::EnsureAudio() {
  if (m_bAudioReady) return true;
  // The program handles its own signals (Ctrl-C in the command line).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  m_bAudioReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  return m_bAudioReady;
}

void SdlOutput::Quit() {
  std::lock_guard<std::mutex> guard(m_lock);
  CloseLocked();
  if (m_bAudioReady) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_bAudioReady = false;
  }
}

int SdlOutput::Open(int sampleRate, int channels, int bitsPerSample, int bufferMs, int startGraceMs) {
  std::lock_guard<std::mutex> guard(m_lock);
  CloseLocked();
  if (sampleRate < kMinRate || sampleRate > kMaxRate || channels < 1 || channels > kMaxChannels) return -1;
  if (bitsPerSample != 8 && bitsPerSample != 16) return -1;
  if (!EnsureAudio()) return -1;
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = sampleRate;
  want.format = bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;  // the pipeline's PCM is little endian
  want.channels = static_cast<Uint8>(channels);
  want.samples = DeviceSamples(sampleRate);
  SDL_AudioSpec have;
  // No allowed changes: SDL converts to whatever the device needs.
  m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (m_device == 0) return -1;
  m_nBitsPerSample = bitsPerSample;
  m_nFrameBytes = bitsPerSample / 8 * channels;
  m_nBytesPerSecond = static_cast<int64_t>(m_nFrameBytes) * sampleRate;
  const int64_t capacityMs = bufferMs > 0 ? std::min(bufferMs, 10000) : kBufferMs;
  m_nCapacityBytes = std::max<int64_t>(m_nBytesPerSecond * capacityMs / 1000 / m_nFrameBytes, 1) * m_nFrameBytes;
  m_nDeviceBufferMs = static_cast<int>(int64_t{have.samples} * 1000 / have.freq) + 1;
  m_startGrace = std::chrono::milliseconds(startGraceMs >= 0 ? std::min(startGraceMs, 10000) : kStartGraceMs);
  m_openedAt = Clock::now();
  m_bStarted = false;
  m_bPaused = false;
  m_bDrainSeen = false;
  m_nBaseMs = 0;
  m_nWrittenBytes = 0;
  m_partial.clear();
  StartIfDue();
  return 0;
}

void SdlOutput::Close() {
  std::lock_guard<std::mutex> guard(m_lock);
  CloseLocked();
}

void SdlOutput::CloseLocked() {
  if (m_device != 0) {
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
  }
  m_bStarted = false;
  m_bPaused = false;
  m_nBaseMs = 0;
  m_nWrittenBytes = 0;
  m_partial.clear();
  m_scratch.clear();
  m_scratch.shrink_to_fit();
}

void SdlOutput::StartIfDue() {
  if (m_device == 0 || m_bStarted || m_bPaused) return;
  if (Clock::now() - m_openedAt < m_startGrace) return;
  SDL_PauseAudioDevice(m_device, 0);
  m_bStarted = true;
}

int64_t SdlOutput::QueuedBytes() const { return m_device ? SDL_GetQueuedAudioSize(m_device) : 0; }

int SdlOutput::MillisecondsOf(int64_t bytes) const {
  return m_nBytesPerSecond > 0 ? ClampToInt(bytes * 1000 / m_nBytesPerSecond) : 0;
}

void SdlOutput::ScaleVolume(uint8_t* data, int length) const {
  if (m_nVolume >= 255) return;
  const auto scale = [this](int v) {
    const int p = v * m_nVolume;
    return (p >= 0 ? p + 127 : p - 127) / 255;  // rounded, halves away from zero
  };
  if (m_nBitsPerSample == 8) {
    for (int i = 0; i < length; ++i) data[i] = static_cast<uint8_t>(scale(data[i] - 128) + 128);
    return;
  }
  for (int i = 0; i + 1 < length; i += 2) {
    const int s = static_cast<int16_t>(data[i] | (data[i + 1] << 8));
    const int v = scale(s);
    data[i] = static_cast<uint8_t>(v & 0xFF);
    data[i + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
  }
}

int SdlOutput::Write(const void* buffer, int length) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_device == 0 || length < 0 || (length > 0 && !buffer)) return -1;
  try {
    // Whole frames go to the queue; a trailing part waits for its rest.
    m_scratch.assign(m_partial.begin(), m_partial.end());
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    m_scratch.insert(m_scratch.end(), bytes, bytes + length);
  } catch (...) {
    return -1;
  }
  const size_t whole = m_scratch.size() / static_cast<size_t>(m_nFrameBytes) * m_nFrameBytes;
  m_partial.assign(m_scratch.begin() + static_cast<ptrdiff_t>(whole), m_scratch.end());
  ScaleVolume(m_scratch.data(), static_cast<int>(whole));
  if (whole > 0 && SDL_QueueAudio(m_device, m_scratch.data(), static_cast<Uint32>(whole)) != 0) return -1;
  m_nWrittenBytes += length;
  m_bDrainSeen = false;
  StartIfDue();
  return 0;
}

int SdlOutput::CanWrite() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_device == 0) return 0;
  StartIfDue();
  const int64_t room = m_nCapacityBytes - QueuedBytes() - static_cast<int64_t>(m_partial.size());
  if (room <= 0) return 0;
  return ClampToInt(room / m_nFrameBytes * m_nFrameBytes);
}

int SdlOutput::IsPlaying() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_device == 0) return 0;
  StartIfDue();
  if (QueuedBytes() > 0) {
    m_bDrainSeen = false;
    return 1;
  }
  if (!m_bStarted) return 0;  // nothing was ever let out
  // The queue is empty; the device's last buffer is still sounding for a while.
  if (!m_bDrainSeen) {
    m_bDrainSeen = true;
    m_drainedAt = Clock::now();
  }
  return Clock::now() - m_drainedAt < std::chrono::milliseconds(m_nDeviceBufferMs) ? 1 : 0;
}

int SdlOutput::Pause(int flag) {
  std::lock_guard<std::mutex> guard(m_lock);
  const int previous = m_bPaused ? 1 : 0;
  m_bPaused = flag != 0;
  if (m_device == 0) return previous;
  if (m_bStarted) {
    SDL_PauseAudioDevice(m_device, m_bPaused ? 1 : 0);
  } else {
    StartIfDue();
  }
  return previous;
}

void SdlOutput::SetVolume(int volume) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_nVolume = std::clamp(volume, 0, 255);
}

void SdlOutput::Flush(int milliseconds) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_device != 0) SDL_ClearQueuedAudio(m_device);
  m_partial.clear();
  m_nWrittenBytes = 0;
  m_nBaseMs = std::max(milliseconds, 0);
  m_bDrainSeen = false;
}

int SdlOutput::GetOutputTime() {
  std::lock_guard<std::mutex> guard(m_lock);
  StartIfDue();
  const int64_t heard = m_nWrittenBytes - QueuedBytes() - static_cast<int64_t>(m_partial.size());
  return ClampToInt(int64_t{m_nBaseMs} + MillisecondsOf(std::max<int64_t>(heard, 0)));
}

int SdlOutput::GetWrittenTime() {
  std::lock_guard<std::mutex> guard(m_lock);
  return ClampToInt(int64_t{m_nBaseMs} + MillisecondsOf(m_nWrittenBytes));
}
