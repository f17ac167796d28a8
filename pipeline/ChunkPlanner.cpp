#include "pipeline/ChunkPlanner.h"

#include <algorithm>
#include <numeric>

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "mp3/Mp3FrameIndex.h"
#include "mp3/Mp3StreamInfo.h"

namespace {

constexpr int kSettleFramesWithoutReservoir = 2;
// Bytes of whole frames a chunk's decoder start keeps from the last
// garbage before it. Inside garbage the whole-stream decoder may take a
// false header for a frame and swallow up to a frame length (1729 bytes at
// most) of real frames after the garbage with it, or restart on a new
// format: its state settles only some real frames later.
constexpr int64_t kClearOfGarbage = 4096;
constexpr int kSynthesisRingSlots = 16;
constexpr int kSamplesPerSynthesisStep = 32;

}  // namespace

int ChunkPlanner::SynthesisPeriod(int samplesPerFrame) {
  const int steps = samplesPerFrame / kSamplesPerSynthesisStep;
  return steps > 0 ? kSynthesisRingSlots / std::gcd(steps, kSynthesisRingSlots) : 1;
}

ChunkPlanner::ChunkPlanner(Mp3FrameIndex& index, const Mp3StreamInfo& info, int framesPerChunk)
    : m_index(index), m_framesPerChunk(std::max(framesPerChunk, 1)) {
  m_header = mpeg::HeaderFromBytes(info.firstHeader);
  m_layer3 = info.layer == 3;
  m_period = SynthesisPeriod(SamplesPerFrameOf(m_header));
  const bool infoFrame = info.vbr.kind == VbrHeaderKind::Xing || info.vbr.kind == VbrHeaderKind::Info;
  m_infoFrames = infoFrame ? 1 : 0;
  m_stepMs = FrameDurationMs(m_header) * m_framesPerChunk;
  m_done = m_index.Count() == 0 || m_stepMs <= 0;
}

bool ChunkPlanner::EnsureEntries(int count) {
  while (m_index.Count() < count) {
    const int before = m_index.Count();
    m_index.TimeToOffset(m_index.LastTime() + m_stepMs);
    if (m_index.Count() == before) return false;
  }
  return true;
}

// An entry followed by one of the same time marks garbage: the next entry
// is the frame found after it.
bool ChunkPlanner::IsGarbageStart(int entry) const {
  return entry + 1 < m_index.Count() && m_index.At(entry + 1).timeMs == m_index.At(entry).timeMs;
}

int ChunkPlanner::CountGarbage(int from, int to) const {
  int count = 0;
  for (int e = std::max(from, 0); e < to; ++e) count += IsGarbageStart(e) ? 1 : 0;
  return count;
}

int ChunkPlanner::MainDataBytes(int entry) const {
  if (entry + 1 >= m_index.Count() || IsGarbageStart(entry)) return 0;
  const int64_t length = m_index.At(entry + 1).offset - m_index.At(entry).offset;
  return std::max(0, MainDataSlots(m_header, static_cast<int>(std::min<int64_t>(length, 1 << 16))));
}

// Where the decoder of a chunk starting at entry `first` (>= 1) starts;
// `garbageBeforeFirst` counts the garbage entries before `first`.
int ChunkPlanner::SettleStart(int first, int garbageBeforeFirst) const {
  int start = std::max(0, first - kSettleFramesWithoutReservoir);
  if (m_layer3) {
    // Frame first - 1 gives the chunk its overlap; the frames before it
    // hold the reservoir it may reach back into. One frame more: the frames
    // the decoder mutes for want of reservoir are not always silent (it
    // keeps a side-info byte of MPEG-2/2.5 mono frames), and their output
    // can reach one frame further.
    const int reach = MaxMainDataBegin(m_header);
    start = first - 1;
    for (int bytes = 0; start > 0 && bytes < reach;) bytes += MainDataBytes(--start);
    start = std::max(0, start - 1);
  }
  const int synthesised = start - m_infoFrames - (garbageBeforeFirst - CountGarbage(start, first));
  if (synthesised > 0) start -= synthesised % m_period;
  // A decoder started on the Xing/Info frame would skip it.
  return std::max(start, m_infoFrames);
}

// The first boundary from `candidate` on whose settle frames and next frame
// are free of garbage; *last when the index ends before one is found.
int ChunkPlanner::CleanBoundary(int candidate, int from, int garbageBeforeFrom, bool* last) {
  int boundary = candidate;
  for (;;) {
    if (!EnsureEntries(boundary + 2)) {
      *last = true;
      return -1;
    }
    const int start = SettleStart(boundary, garbageBeforeFrom + CountGarbage(from, boundary));
    int clear = start;
    while (clear > 0 && m_index.At(start).offset - m_index.At(clear).offset < kClearOfGarbage) --clear;
    int garbage = -1;
    for (int e = clear; e <= boundary; ++e) {
      if (IsGarbageStart(e)) garbage = e;
    }
    if (garbage < 0) return boundary;
    // Past the garbage by as many frames as the settle frames and the
    // clearance took.
    boundary = garbage + 2 + (boundary - clear);
  }
}

bool ChunkPlanner::Next(ChunkPlan* plan) {
  if (m_done) return false;
  const int first = m_next;
  const int settle = first == 0 ? 0 : SettleStart(first, m_garbageBefore);
  plan->streamStart = settle == 0;
  plan->streamOrigin = m_index.At(0).offset;
  plan->feedFrom = m_index.At(settle).offset;
  plan->keepFrom = m_index.At(first).offset;
  bool last = false;
  const int end = CleanBoundary(first + m_framesPerChunk, first, m_garbageBefore, &last);
  if (last) {
    plan->feedTo = -1;
    m_done = true;
    return true;
  }
  plan->feedTo = m_index.At(end).offset;
  m_garbageBefore += CountGarbage(first, end);
  m_next = end;
  return true;
}
