#include "pipeline/ParallelMp3Reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <system_error>

#include "platform/io/RegularFile.h"

namespace {

// Chunks shorter than this would spend too much of their decoding on
// settle frames (up to about 30 for the smallest frames).
constexpr int kFewestChunkFrames = 128;

}  // namespace

CParallelMp3Reader::CParallelMp3Reader(int threads) : CAudioReader("Mp3 Reader"), m_requestedThreads(threads) {}

CParallelMp3Reader::~CParallelMp3Reader() { Close(); }

int CParallelMp3Reader::DefaultThreads(int durationMs) {
  if (durationMs < kShortestParallelMs) return 1;
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, kMaxThreads);
}

int CParallelMp3Reader::Open(const char* path, int* sampleRate, int* bitsPerSample, int* channels) {
  Close();
  int bits = 0;
  if (!path || !m_stream.Open(path, &m_sampleRate, &bits, &m_channels)) return 0;
  Mp3StreamInfo decoded = m_stream.GetStreamInfo();
  TakeInfoFrameCount(decoded);
  m_durationMs.store(StreamDurationMs(decoded));
  const int threads =
      m_requestedThreads > 0 ? std::min(m_requestedThreads, kMaxThreads) : DefaultThreads(m_durationMs.load());
  m_threadCount = 1;
  if (threads > 1 && StartThreads(path, threads)) m_threadCount = threads;
  if (sampleRate) *sampleRate = m_sampleRate;
  if (bitsPerSample) *bitsPerSample = bits;
  if (channels) *channels = m_channels;
  return 1;
}

bool CParallelMp3Reader::StartThreads(const std::string& path, int threads) {
  const Mp3StreamInfo& info = m_stream.GetStreamInfo();
  Mp3FrameIndex* index = m_stream.GetFrameIndex();
  const int frameBytes = info.SamplesPerFrame() * m_channels * 2;
  if (!index || index->Count() == 0 || info.layer == 1 || frameBytes <= 0) return false;
  m_fd = OpenRegularFile(path.c_str(), O_RDONLY);
  if (m_fd < 0) return false;
  posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  const int frames = std::max(kFewestChunkFrames, kChunkPcmBytes / frameBytes);
  m_chunkLimit = 2 * static_cast<size_t>(frames) * static_cast<size_t>(frameBytes);
  m_planner = std::make_unique<ChunkPlanner>(*index, info, frames);
  if (m_planner->Done()) {
    StopThreads();
    return false;
  }
  m_slots = std::vector<Slot>(static_cast<size_t>(threads + kExtraSlots));
  m_planned = 0;
  m_consumed = 0;
  m_chunkCount = -1;
  m_stop.store(false);
  try {
    for (int i = 0; i < threads; ++i) m_threads.emplace_back(&CParallelMp3Reader::DecodingThread, this);
  } catch (const std::system_error&) {
    StopThreads();
    return false;
  }
  return true;
}

void CParallelMp3Reader::StopThreads() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_stop.store(true);
  }
  m_slotFreed.notify_all();
  m_chunkDone.notify_all();
  for (std::thread& t : m_threads) t.join();
  m_threads.clear();
  m_current = nullptr;
  m_streaming = false;
  m_streamPcm = std::vector<uint8_t>();
  m_slots = std::vector<Slot>();
  m_planner.reset();
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
}

void CParallelMp3Reader::Close() {
  StopThreads();
  m_threadCount = 0;
  m_durationMs.store(0);
  m_stream.Close();
}

void CParallelMp3Reader::DecodingThread() {
  ChunkDecoder decoder;
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    m_slotFreed.wait(lock, [this] {
      return m_stop.load() || m_planner->Done() || m_planned < m_consumed + static_cast<int64_t>(m_slots.size());
    });
    if (m_stop.load() || m_planner->Done()) return;
    Slot& slot = m_slots[static_cast<size_t>(m_planned % static_cast<int64_t>(m_slots.size()))];
    if (!m_planner->Next(&slot.plan)) return;
    const int64_t chunk = m_planned++;
    if (slot.plan.feedTo < 0) {
      // The last chunk runs to the end of the file: Read decodes it.
      slot.state = SlotState::ReadByConsumer;
      m_chunkCount = chunk + 1;
      m_chunkDone.notify_all();
      m_slotFreed.notify_all();
      continue;
    }
    slot.state = SlotState::Decoding;
    lock.unlock();
    const SlotState state = DecodeChunk(decoder, slot);
    lock.lock();
    slot.state = state;
    m_chunkDone.notify_all();
  }
}

CParallelMp3Reader::SlotState CParallelMp3Reader::DecodeChunk(ChunkDecoder& decoder, Slot& slot) {
  slot.pcm.clear();
  slot.pcm.reserve(m_chunkLimit / 2);
  if (!decoder.Start(m_fd, slot.plan, m_sampleRate, m_channels)) return SlotState::Failed;
  while (!m_stop.load()) {
    switch (decoder.Next(slot.pcm)) {
      case ChunkDecoder::Step::Frame:
        if (slot.pcm.size() <= m_chunkLimit) continue;
        // Far more PCM than the chunk's frames give: Read decodes it
        // piece by piece instead of holding it all.
        slot.pcm = std::vector<uint8_t>();
        return SlotState::ReadByConsumer;
      case ChunkDecoder::Step::End: return SlotState::Ready;
      case ChunkDecoder::Step::Failed: return SlotState::Failed;
    }
  }
  return SlotState::Failed;
}

int CParallelMp3Reader::Read(void* buffer, int length) {
  if (length < 0) return -1;
  if (m_threadCount <= 1) return m_stream.Read(buffer, length);
  return ReadParallel(static_cast<uint8_t*>(buffer), length);
}

int CParallelMp3Reader::ReadParallel(uint8_t* out, int length) {
  for (;;) {
    if (m_streaming) {
      const int n = ReadStreamed(out, length);
      if (n != 0) return n;
      m_streaming = false;
      ReleaseChunk();
      continue;
    }
    if (m_current) {
      const size_t left = m_current->pcm.size() - m_currentRead;
      if (left > 0) {
        const size_t n = std::min(left, static_cast<size_t>(length));
        std::memcpy(out, m_current->pcm.data() + m_currentRead, n);
        m_currentRead += n;
        return static_cast<int>(n);
      }
      ReleaseChunk();
    }
    const SlotState state = WaitForChunk();
    if (state == SlotState::Free) return 0;
    if (state == SlotState::Failed) return -1;
    m_current = &m_slots[static_cast<size_t>(m_consumed % static_cast<int64_t>(m_slots.size()))];
    m_currentRead = 0;
    if (state == SlotState::ReadByConsumer) {
      if (!m_streamed.Start(m_fd, m_current->plan, m_sampleRate, m_channels)) return -1;
      m_streaming = true;
      m_streamPcm.clear();
      m_streamRead = 0;
    }
  }
}

int CParallelMp3Reader::ReadStreamed(uint8_t* out, int length) {
  while (m_streamRead >= m_streamPcm.size()) {
    m_streamPcm.clear();
    m_streamRead = 0;
    switch (m_streamed.Next(m_streamPcm)) {
      case ChunkDecoder::Step::Frame: break;
      case ChunkDecoder::Step::End: return 0;
      case ChunkDecoder::Step::Failed: return -1;
    }
  }
  const size_t n = std::min(m_streamPcm.size() - m_streamRead, static_cast<size_t>(length));
  std::memcpy(out, m_streamPcm.data() + m_streamRead, n);
  m_streamRead += n;
  return static_cast<int>(n);
}

// The state of the next chunk once it is no longer being decoded; Free when
// there is none (the end, or a stop).
CParallelMp3Reader::SlotState CParallelMp3Reader::WaitForChunk() {
  std::unique_lock<std::mutex> lock(m_lock);
  const size_t slots = m_slots.size();
  auto finished = [this] { return m_stop.load() || (m_chunkCount >= 0 && m_consumed >= m_chunkCount); };
  m_chunkDone.wait(lock, [&] {
    return finished() ||
           (m_consumed < m_planned && m_slots[static_cast<size_t>(m_consumed) % slots].state != SlotState::Decoding);
  });
  if (finished()) return SlotState::Free;
  return m_slots[static_cast<size_t>(m_consumed) % slots].state;
}

void CParallelMp3Reader::ReleaseChunk() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_current->state = SlotState::Free;
    m_current->pcm.clear();
    ++m_consumed;
  }
  m_current = nullptr;
  m_slotFreed.notify_all();
}
