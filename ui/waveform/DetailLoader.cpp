#include "ui/waveform/DetailLoader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "mp3/Mp3Reader.h"
#include "pipeline/ChunkDecoder.h"
#include "platform/io/RegularFile.h"

namespace {

// Frames decoded before the stretch and dropped: enough for the bit
// reservoir and the overlap of the smallest frames. The picture needs no
// more (it is not sample-exact, only drawn).
constexpr int kSettleFrames = 8;

// The decoded stream's time axis over the file's frames: the Xing/Info
// frame the decoder skips has no samples.
struct FrameAxis {
  int samplesPerFrame = 0;
  int infoFrames = 0;
};

// Sample frames on the index's axis before the first decoded one: the
// Xing/Info frame that the decoder skips (FrameTimes.h).
int64_t LeadFrames(const Mp3StreamInfo& info) {
  const bool skipped = info.vbr.kind == VbrHeaderKind::Xing || info.vbr.kind == VbrHeaderKind::Info;
  return skipped ? info.SamplesPerFrame() : 0;
}

// Folds interleaved 16-bit PCM into entries of WaveDetail::kFramesPerEntry frames.
void FoldInto(const std::vector<uint8_t>& pcm, int channels, WaveDetail* detail) {
  const size_t frameBytes = 2 * static_cast<size_t>(channels);
  const size_t entryBytes = frameBytes * WaveDetail::kFramesPerEntry;
  for (size_t at = 0; at < pcm.size(); at += entryBytes) {
    const size_t end = std::min(pcm.size(), at + entryBytes);
    PeakColumns::Peak peak{INT16_MAX, INT16_MIN};
    for (size_t i = at; i + 1 < end; i += 2) {
      const auto sample = static_cast<int16_t>(static_cast<uint16_t>(pcm[i] | (pcm[i + 1] << 8)));
      peak.min = std::min(peak.min, sample);
      peak.max = std::max(peak.max, sample);
    }
    detail->peaks.push_back(peak);
  }
}

}  // namespace

DetailLoader::DetailLoader() : m_reader(std::make_unique<CMp3Reader>()) {}

DetailLoader::~DetailLoader() { Stop(); }

void DetailLoader::SetSource(const std::string& path, Answer answer, FramesAnswer frames) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_path = path;
  m_answer = std::move(answer);
  m_framesAnswer = std::move(frames);
  m_pending = false;
  m_framesPending = false;
  ++m_generation;
}

void DetailLoader::RequestFrameTimes() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_path.empty()) return;
    m_framesPending = true;
    m_stop = false;
  }
  if (EnsureThread()) m_wake.notify_one();
}

bool DetailLoader::EnsureThread() {
  if (m_thread.joinable()) return true;
  try {
    m_thread = std::thread(&DetailLoader::Run, this);
  } catch (const std::system_error&) {
    return false;  // no detail: the summary's picture stays
  }
  return true;
}

void DetailLoader::Request(int startMs, int endMs) {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_path.empty()) return;
    m_job = {m_path, m_generation, startMs, endMs};
    m_pending = true;
    m_stop = false;
  }
  if (EnsureThread()) m_wake.notify_one();
}

void DetailLoader::Stop() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stop = true;
    m_pending = false;
    m_framesPending = false;
  }
  m_wake.notify_one();
  if (m_thread.joinable()) m_thread.join();
}

void DetailLoader::Run() {
  for (;;) {
    Job job;
    bool frames = false;
    {
      std::unique_lock<std::mutex> hold(m_lock);
      m_wake.wait(hold, [this] { return m_stop || m_pending || m_framesPending; });
      if (m_stop) {
        hold.unlock();
        CloseFile();
        return;
      }
      frames = m_framesPending;
      if (frames) {
        job = {m_path, m_generation, 0, 0};
        m_framesPending = false;
      } else {
        job = m_job;
        m_pending = false;
      }
    }
    if (frames) {
      FrameTimes times = FindFrameTimes(job);
      std::lock_guard<std::mutex> guard(m_lock);
      if (!m_stop && job.generation == m_generation && m_framesAnswer) m_framesAnswer(std::move(times));
      continue;
    }
    WaveDetail detail = Decode(job);
    std::lock_guard<std::mutex> guard(m_lock);
    // A newer file or a stop makes this answer worthless.
    if (!m_stop && job.generation == m_generation && m_answer) m_answer(std::move(detail));
  }
}

bool DetailLoader::OpenFile(const std::string& path, int generation) {
  if (generation == m_openGeneration && m_fd >= 0) return true;
  CloseFile();
  if (!m_reader->Open(path.c_str(), &m_rate, nullptr, &m_channels) || m_rate <= 0) return false;
  m_fd = OpenRegularFile(path.c_str(), O_RDONLY);
  if (m_fd < 0) {
    m_reader->Close();
    return false;
  }
  m_openGeneration = generation;
  return true;
}

void DetailLoader::CloseFile() {
  m_reader->Close();
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
  m_openGeneration = -1;
}

WaveDetail DetailLoader::Decode(const Job& job) {
  WaveDetail detail;
  if (!OpenFile(job.path, job.generation)) return detail;
  const int rate = m_rate;
  const int channels = m_channels;
  const Mp3StreamInfo& info = m_reader->GetStreamInfo();
  const int64_t lead = LeadFrames(info);
  detail.coverFirst = std::max<int64_t>(static_cast<int64_t>(job.startMs) * rate / 1000 - lead, 0);
  detail.coverEnd = std::max((static_cast<int64_t>(job.endMs) * rate + 999) / 1000 - lead, detail.coverFirst);
  Mp3FrameIndex* index = m_reader->GetFrameIndex();
  FrameAxis axis;
  axis.samplesPerFrame = info.SamplesPerFrame();
  axis.infoFrames = info.vbr.kind == VbrHeaderKind::Xing || info.vbr.kind == VbrHeaderKind::Info ? 1 : 0;
  if (!index || info.layer == 1 || axis.samplesPerFrame <= 0) return detail;

  const int64_t first = detail.coverFirst / axis.samplesPerFrame + axis.infoFrames;
  const int64_t last = detail.coverEnd / axis.samplesPerFrame + axis.infoFrames;
  index->ExtendPast(0, last + 2);
  const int64_t frames = index->FrameCount();
  if (first >= frames) return detail;
  const int64_t settle = std::max<int64_t>(first - kSettleFrames, 0);
  ChunkPlan plan;
  plan.feedFrom = index->FrameAt(settle).offset;
  plan.keepFrom = index->FrameAt(first).offset;
  plan.feedTo = last + 1 < frames ? index->FrameAt(last + 1).offset : -1;
  plan.streamStart = settle == 0;
  plan.streamOrigin = info.audioStart;

  ChunkDecoder decoder;
  std::vector<uint8_t> pcm;
  if (decoder.Start(m_fd, plan, rate, channels)) {
    for (int64_t k = first; k <= last; ++k) {
      if (decoder.Next(pcm) != ChunkDecoder::Step::Frame) break;
    }
  }
  detail.firstFrame = (first - axis.infoFrames) * axis.samplesPerFrame;
  FoldInto(pcm, channels, &detail);
  return detail;
}

FrameTimes DetailLoader::FindFrameTimes(const Job& job) {
  FrameTimes frames;
  if (!OpenFile(job.path, job.generation)) return frames;
  Mp3FrameIndex* index = m_reader->GetFrameIndex();
  if (!index) return frames;
  index->ExtendToEnd();
  const int entries = index->Count();
  std::vector<int>& times = frames.starts;
  times.reserve(static_cast<size_t>(std::max(entries, 0)));
  for (int i = 0; i < entries; ++i) {
    // An entry that shares its time with the next marks skipped garbage.
    if (i + 1 < entries && index->At(i + 1).timeMs <= index->At(i).timeMs) continue;
    // Rounded up exactly as the cut compares: ms >= the frame's time.
    const int ms = static_cast<int>(std::ceil(index->At(i).timeMs));
    if (times.empty() || ms > times.back()) times.push_back(ms);
  }
  // The VBR header frame is no audio: a cut from it starts after it.
  if (m_reader->GetStreamInfo().vbr.kind != VbrHeaderKind::None && times.size() > 1) times.erase(times.begin());
  frames.leadFrames = LeadFrames(m_reader->GetStreamInfo());
  return frames;
}
