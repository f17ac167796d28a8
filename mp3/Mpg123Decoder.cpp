#include "mp3/Mpg123Decoder.h"

#include <mpg123.h>

#include <mutex>

#include "mp3/Mp3StreamInfo.h"

namespace {

// Library set-up: a no-op in current libmpg123, required once by older ones.
void InitLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

// Everything a frame decodes to, however long a stretch without frames:
// libmpg123's default gives up after 1 KiB.
constexpr long kUnlimitedResync = -1;

std::mutex g_coreLock;
std::string g_core;

std::string ChosenCore() {
  std::lock_guard<std::mutex> guard(g_coreLock);
  return g_core;
}

}  // namespace

void Mpg123Decoder::UseCore(const std::string& name) {
  std::lock_guard<std::mutex> guard(g_coreLock);
  g_core = name;
}

Mpg123Decoder::~Mpg123Decoder() { Exit(); }

bool Mpg123Decoder::Init(int sampleRate, int channels, bool skipInfoFrame) {
  m_samples = nullptr;
  m_sampleCount = 0;
  m_channels = channels;
  if (channels < 1 || channels > 2 || sampleRate <= 0) return false;
  if (!m_handle) {
    InitLibraryOnce();
    int error = MPG123_OK;
    const std::string core = ChosenCore();
    m_handle = mpg123_new(core.empty() ? nullptr : core.c_str(), &error);
    if (!m_handle) return false;
  }
  m_sampleRate = sampleRate;
  m_frameRate = 0;
  // Quiet (damaged input is ordinary here), no gapless trimming, no
  // resampling. Output is signed 16-bit with the stream's channel count.
  // Every rate is allowed, so that frames of another rate pass through the
  // decoder (their output is dropped in DecodeFrame): a rate it refuses
  // would stop it for good, with a message on stderr.
  long flags = MPG123_QUIET;
  if (!skipInfoFrame) flags |= MPG123_IGNORE_INFOFRAME;
  bool ready = mpg123_param(m_handle, MPG123_FLAGS, flags, 0) == MPG123_OK &&
               mpg123_param(m_handle, MPG123_RESYNC_LIMIT, kUnlimitedResync, 0) == MPG123_OK &&
               mpg123_format_none(m_handle) == MPG123_OK;
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  const int layout = channels == 2 ? MPG123_STEREO : MPG123_MONO;
  for (size_t i = 0; ready && i < rateCount; ++i) {
    ready = mpg123_format(m_handle, rates[i], layout, MPG123_ENC_SIGNED_16) == MPG123_OK;
  }
  ready = ready && mpg123_format_support(m_handle, sampleRate, MPG123_ENC_SIGNED_16) != 0 &&
          mpg123_open_feed(m_handle) == MPG123_OK;
  if (!ready) Exit();
  return ready;
}

void Mpg123Decoder::Exit() {
  if (m_handle) mpg123_delete(m_handle);
  m_handle = nullptr;
  m_samples = nullptr;
  m_sampleCount = 0;
}

int64_t Mpg123Decoder::FramePosition() const {
  return m_handle && m_sampleCount > 0 ? static_cast<int64_t>(mpg123_framepos(m_handle)) : -1;
}

bool Mpg123Decoder::Feed(const uint8_t* data, size_t size) {
  return m_handle && mpg123_feed(m_handle, data, size) == MPG123_OK;
}

Mpg123Decoder::Result Mpg123Decoder::DecodeFrame() {
  m_samples = nullptr;
  m_sampleCount = 0;
  if (!m_handle) return Result::Failed;
  for (;;) {
    off_t frameNumber = 0;
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    const int status = mpg123_decode_frame(m_handle, &frameNumber, &audio, &bytes);
    if (status == MPG123_NEW_FORMAT) {
      long rate = 0;
      int channels = 0, encoding = 0;
      mpg123_getformat(m_handle, &rate, &channels, &encoding);
      m_frameRate = rate;
      continue;
    }
    if (status == MPG123_OK) {
      // A handle opened again may keep its format without announcing it.
      if (m_frameRate == 0) {
        int channels = 0, encoding = 0;
        mpg123_getformat(m_handle, &m_frameRate, &channels, &encoding);
      }
      if (bytes == 0 || m_frameRate != m_sampleRate) continue;
      m_samples = reinterpret_cast<const int16_t*>(audio);
      m_sampleCount = static_cast<int>(bytes / (sizeof(int16_t) * static_cast<size_t>(m_channels)));
      return Result::Frame;
    }
    if (status == MPG123_NEED_MORE) return Result::NeedMore;
    // Only a lack of memory fails the decode. Anything else is about the
    // input, which more input gets past (the owner's feeding ends with the
    // stream, so a decoder that never recovers cannot loop).
    if (mpg123_errcode(m_handle) == MPG123_OUT_OF_MEM) return Result::Failed;
    return Result::NeedMore;
  }
}

void Mpg123Decoder::RefreshStreamFields(Mp3StreamInfo& info) const {
  mpg123_frameinfo2 frame{};
  if (!m_handle || mpg123_info2(m_handle, &frame) != MPG123_OK) return;
  Mp3DecoderFields& d = info.data;
  d.header_parsed = 1;
  d.stereo = frame.mode == MPG123_M_MONO ? 1 : 2;
  d.samplerate = static_cast<int>(frame.rate);
  d.bitrate = frame.bitrate;
  d.mode = frame.mode;
  d.mode_ext = frame.mode_ext;
  const int spf = mpg123_spf(m_handle);
  if (spf > 0) d.framesize = spf;
  TakeInfoFrameCount(info);
}
