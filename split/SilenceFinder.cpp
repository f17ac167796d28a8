#include "split/SilenceFinder.h"

#include <algorithm>
#include <cmath>

#include "mp3/VbrHeader.h"
#include "pipeline/ParallelMp3Reader.h"

namespace {

constexpr int kReadBytes = 64 * 1024;
constexpr double kFullScale = 32768.0;
// Thresholds and lengths that make sense for a recording.
constexpr double kLowestThresholdDb = -120.0;
constexpr double kLongestSilenceSeconds = 3600.0;

SilenceResult Failed(const std::string& why) {
  SilenceResult result;
  result.error = why;
  return result;
}

}  // namespace

int64_t SilenceResult::SplitPointMs(const Silence& silence, bool exact) const {
  const double middle = (silence.startMs + silence.endMs) / 2.0;
  return std::max<int64_t>(0, std::llround(exact ? middle - playedLeadMs : middle + infoFrameMs));
}

SilenceDetector::SilenceDetector(int sampleRate, int channels, const SilenceOptions& options)
    : m_rate(sampleRate), m_channels(channels) {
  const size_t frames = std::max<size_t>(1, static_cast<size_t>(sampleRate) * kLevelWindowMs / 1000);
  m_windowSamples = frames * static_cast<size_t>(channels);
  // RMS below the threshold: sum of squares < n * (full scale * 10^(dB/20))^2.
  m_quietLimit = static_cast<double>(m_windowSamples) * kFullScale * kFullScale * std::pow(10.0, options.thresholdDb / 10.0);
  const double windowSeconds = static_cast<double>(frames) / sampleRate;
  m_minWindows = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(options.minSeconds / windowSeconds - 1e-9)));
}

void SilenceDetector::Add(const int16_t* samples, size_t count) {
  while (count > 0) {
    const size_t n = std::min(count, m_windowSamples - m_inWindow);
    int64_t sum = 0;
    for (size_t i = 0; i < n; ++i) sum += int32_t{samples[i]} * samples[i];
    m_sum += sum;
    m_inWindow += n;
    samples += n;
    count -= n;
    if (m_inWindow == m_windowSamples) EndWindow();
  }
}

void SilenceDetector::EndWindow() {
  const bool quiet = static_cast<double>(m_sum) < m_quietLimit;
  const auto msAt = [&](int64_t window) {
    return static_cast<int64_t>(std::llround(static_cast<double>(window) * static_cast<double>(m_windowSamples) /
                                             m_channels * 1000.0 / m_rate));
  };
  if (quiet && m_quietSince < 0) m_quietSince = m_windows;
  if (!quiet && m_quietSince >= 0) {
    // A run from the first window is the audio's start, not a gap between pieces.
    if (m_quietSince > 0 && m_windows - m_quietSince >= m_minWindows) {
      m_found.push_back(Silence{msAt(m_quietSince), msAt(m_windows)});
    }
    m_quietSince = -1;
  }
  ++m_windows;
  m_sum = 0;
  m_inWindow = 0;
}

std::vector<Silence> SilenceDetector::Finish() {
  // A quiet run still open reaches the end of the audio.
  m_quietSince = -1;
  return m_found;
}

int64_t SilenceDetector::DecodedMs() const {
  return static_cast<int64_t>(static_cast<double>(m_windows) * static_cast<double>(m_windowSamples) / m_channels *
                              1000.0 / m_rate);
}

SilenceResult FindSilences(const std::string& path, const SilenceOptions& options,
                           const std::function<bool(int64_t decodedMs)>& progress) {
  if (!(options.thresholdDb < 0 && options.thresholdDb >= kLowestThresholdDb)) {
    return Failed("the threshold must lie below 0 dBFS and at or above -120 dBFS");
  }
  if (!(options.minSeconds > 0 && options.minSeconds <= kLongestSilenceSeconds)) {
    return Failed("the shortest silence must last more than 0 and at most 3600 seconds");
  }
  CParallelMp3Reader reader(options.threads);
  int rate = 0, bits = 0, channels = 0;
  if (!reader.Open(path.c_str(), &rate, &bits, &channels) || rate <= 0 || channels <= 0) {
    return Failed("not a readable MPEG audio file");
  }
  SilenceResult result;
  result.durationMs = reader.GetDuration();
  const Mp3StreamInfo& info = reader.GetStreamInfo();
  if (info.vbr.kind != VbrHeaderKind::None) result.infoFrameMs = 1000.0 * info.SamplesPerFrame() / rate;
  if (DeclaresGapless(info.vbr)) result.playedLeadMs = 1000.0 * (info.vbr.encoderDelay + kDecoderDelay) / rate;

  SilenceDetector detector(rate, channels, options);
  std::vector<int16_t> buffer(kReadBytes / sizeof(int16_t));
  for (;;) {
    const int n = reader.Read(buffer.data(), kReadBytes);
    if (n < 0) return Failed("decoding failed");
    if (n == 0) break;
    detector.Add(buffer.data(), static_cast<size_t>(n) / sizeof(int16_t));
    if (progress && !progress(detector.DecodedMs())) return Failed("cancelled");
  }
  result.silences = detector.Finish();
  result.ok = true;
  return result;
}
