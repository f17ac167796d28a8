#include "mp3/Mp3FrameIndex.h"

#include <algorithm>
#include <limits>

#include "mp3/FrameHeader.h"

namespace {

constexpr int kMaxSyncAttempts = 65536;
constexpr int kConfirmFrames = 4;
// The shortest frame any valid header can describe (MPEG-2 Layer III,
// 8 kbit/s at 24 kHz); bounds the up-front allocation on a lying estimate.
constexpr int64_t kShortestFrame = 24;
// Growth floor, so a tiny estimate (a Xing frame count of 2 on a long file)
// grows at a useful pace from the start; above it the array grows by half.
constexpr size_t kMinGrowth = 64;
// Block size of the scan's window: large enough that the block reads cost
// about what one sequential read of the file does, small enough to stay in
// the processor's second-level cache while the headers in it are read.
constexpr int kScanBlock = 128 * 1024;
// The header bits that decide whether a header is accepted and the length
// and duration of its frame: sync, version, layer, bitrate, sample rate and
// padding. Protection, mode and the flags after them do not.
constexpr uint32_t kShapeBits = 0xFFFEFE00u;

int ShapeSlot(uint32_t h) { return (mpeg::BitrateIndex(h) << 1) | mpeg::Padding(h); }

}  // namespace

Mp3FrameIndex::Mp3FrameIndex() : m_window(-1, kScanBlock) {}

void Mp3FrameIndex::Reset() {
  m_entries = std::vector<Entry>();
  m_gapEntries = std::vector<int64_t>();
  m_fd = -1;
  m_window.Attach(-1);
  m_end = 0;
  m_frames = 0;
  m_lastTime = 0;
  m_scanPos = 0;
  m_scanEnded = false;
}

// Null for a header that is not indexed (invalid or Layer I).
const Mp3FrameIndex::FrameShape* Mp3FrameIndex::ShapeOf(uint32_t h) {
  FrameShape& shape = m_shapes[static_cast<size_t>(ShapeSlot(h))];
  const uint32_t key = h & kShapeBits;
  if (shape.key == key) return &shape;
  if (!IsValidFrameHeader(h) || mpeg::Layer(h) == 1) return nullptr;
  shape.key = key;
  shape.length = FrameLength(h);
  shape.durationMs = FrameDurationMs(h);
  return &shape;
}

Mp3FrameIndex::Attempt Mp3FrameIndex::TryFrame(int64_t& pos, uint32_t& header) {
  uint8_t b[4];
  if (pos + 4 > m_end || m_window.ReadAt(pos, b, 4) < 4) return Attempt::End;
  const uint32_t h = mpeg::HeaderFromBytes(b);
  if (const FrameShape* shape = ShapeOf(h)) {
    const int length = shape->length;
    // The frame must lie within the audio area; the last frame may end
    // exactly at its end (a cut to the end keeps it).
    if (pos + length > m_end) return Attempt::End;
    pos += length;
    header = h;
    return Attempt::Frame;
  }
  // Move to the first of bytes 1..3 that could begin a header.
  int skip = 4;
  for (int i = 1; i < 4; ++i) {
    if (b[i] == 0xFF) {
      skip = i;
      break;
    }
  }
  pos += skip;
  return Attempt::Garbage;
}

bool Mp3FrameIndex::SyncFrame(int64_t& pos, uint32_t& header, bool keepGarbageEntry) {
  switch (TryFrame(pos, header)) {
    case Attempt::Frame: return true;
    case Attempt::End: return false;
    case Attempt::Garbage: break;
  }
  for (int attempts = 1; attempts < kMaxSyncAttempts; ++attempts) {
    const int64_t p = pos;
    uint32_t found = 0;
    const Attempt a = TryFrame(pos, found);
    if (a == Attempt::End) return false;
    if (a == Attempt::Garbage) continue;
    // A frame after garbage counts only when the next frames follow it.
    int64_t q = pos;
    bool confirmed = true;
    for (int i = 0; i < kConfirmFrames; ++i) {
      uint32_t scratch = 0;
      const Attempt c = TryFrame(q, scratch);
      if (c == Attempt::Garbage) {
        confirmed = false;
        break;
      }
      if (c == Attempt::End) break;
    }
    if (confirmed) {
      if (keepGarbageEntry) AppendAfterGarbage(p);
      header = found;
      return true;
    }
    pos = p + 1;
  }
  return false;
}

// The frame found after garbage, at the time so far: the entry before it
// (the end of the last frame) becomes the mark of the garbage.
void Mp3FrameIndex::AppendAfterGarbage(int64_t offset) {
  try {
    m_gapEntries.reserve(m_gapEntries.size() + 1);
  } catch (...) {
    return;
  }
  const int64_t gap = static_cast<int64_t>(m_entries.size()) - 1;
  if (Append(offset, m_lastTime)) m_gapEntries.push_back(gap);
}

bool Mp3FrameIndex::Append(int64_t offset, double timeMs) {
  if (m_entries.size() == m_entries.capacity()) {
    const size_t growth = std::max(m_entries.capacity() / 2, kMinGrowth);
    try {
      m_entries.reserve(m_entries.capacity() + growth);
    } catch (...) {
      return false;
    }
  }
  m_entries.push_back(Entry{offset, timeMs});
  m_lastTime = timeMs;
  return true;
}

void Mp3FrameIndex::Init(int fd, int64_t start, int64_t n, int64_t end) {
  Reset();
  if (fd < 0) return;
  m_fd = fd;
  m_window.Attach(fd);
  const int64_t fileSize = std::max<int64_t>(FileSizeOf(fd), 0);
  m_end = end < 0 ? fileSize : std::min(end, fileSize);

  int64_t pos = start;
  uint32_t header = 0;
  if (!SyncFrame(pos, header, false)) return;
  const int length = FrameLength(header);
  const int64_t frameStart = pos - length;
  if (n == -1) n = (m_end - frameStart) / length;
  n = std::clamp<int64_t>(n, 0, m_end / kShortestFrame + 1);
  try {
    m_entries.reserve(static_cast<size_t>(n + n / 32));
  } catch (...) {
    Reset();
    return;
  }
  m_lastTime = 0;
  Append(frameStart, 0.0);
  m_scanPos = frameStart;
}

bool Mp3FrameIndex::ExtendByOneFrame() {
  int64_t pos = m_scanPos;
  uint32_t header = 0;
  if (!SyncFrame(pos, header, true)) {
    m_scanEnded = true;
    return false;
  }
  m_scanPos = pos;
  if (!Append(pos, m_lastTime + ShapeOf(header)->durationMs)) {
    m_scanEnded = true;  // out of memory: the index ends here
    return false;
  }
  ++m_frames;
  return true;
}

// The common case in a tight loop: frames of kinds seen before, back to
// back inside the window's block, within the file, with room in the array.
// Each gets exactly what TryFrame and Append would give it; anything else
// (garbage, a new kind of frame, the end, growth) goes the long way, one
// frame at a time.
void Mp3FrameIndex::ExtendTo(const Goal& goal) {
  if (m_scanEnded) return;
  while (!goal.ReachedBy(m_entries.back().timeMs, m_entries.back().offset, m_frames)) {
    int available = 0;
    const uint8_t* bytes =
        m_entries.size() < m_entries.capacity() ? m_window.Span(m_scanPos, 4, &available) : nullptr;
    if (bytes && IndexRun(bytes, available, goal) > 0) continue;
    if (!ExtendByOneFrame()) break;
  }
}

// Frames whose headers lie in bytes[0, available), the first at m_scanPos;
// returns how many were indexed.
int Mp3FrameIndex::IndexRun(const uint8_t* bytes, int available, const Goal& goal) {
  const int64_t start = m_scanPos;
  int64_t pos = start;
  double time = m_entries.back().timeMs;
  size_t room = m_entries.capacity() - m_entries.size();
  int indexed = 0;
  while (!goal.ReachedBy(time, pos, m_frames + indexed) && room > 0 && pos - start <= available - 4) {
    const uint32_t h = mpeg::HeaderFromBytes(bytes + (pos - start));
    const FrameShape& shape = m_shapes[static_cast<size_t>(ShapeSlot(h))];
    if (shape.key != (h & kShapeBits) || pos + shape.length > m_end) break;
    pos += shape.length;
    time += shape.durationMs;
    m_entries.push_back(Entry{pos, time});
    --room;
    ++indexed;
  }
  m_scanPos = pos;
  m_lastTime = time;
  m_frames += indexed;
  return indexed;
}

int64_t Mp3FrameIndex::TimeToOffset(double ms) {
  if (m_fd < 0 || ms < 0 || m_entries.empty()) return -1;
  Goal goal;
  goal.timeMs = ms;
  ExtendTo(goal);
  if (m_entries.back().timeMs <= ms) return m_entries.back().offset;
  // The last entry with time <= ms: its successor is later, so an entry
  // sharing its time with the next one is never the answer.
  auto it = std::upper_bound(m_entries.begin(), m_entries.end(), ms,
                             [](double t, const Entry& e) { return t < e.timeMs; });
  return std::prev(it)->offset;
}

void Mp3FrameIndex::ExtendToEnd() {
  if (m_fd < 0 || m_entries.empty()) return;
  Goal goal;
  goal.timeMs = std::numeric_limits<double>::infinity();
  ExtendTo(goal);
}

void Mp3FrameIndex::ExtendPast(int64_t offset, int64_t count) {
  if (m_fd < 0 || m_entries.empty()) return;
  Goal reach;
  reach.offset = offset;
  ExtendTo(reach);
  Goal more;
  more.frames = FramesBefore(offset) + count;
  ExtendTo(more);
}

// Entry k + g starts frame k, where g counts the garbage marks before it:
// the marks j with m_gapEntries[j] - j <= k (that difference is the number
// of frames before mark j, so it never falls).
Mp3FrameIndex::Frame Mp3FrameIndex::FrameAt(int64_t k) const {
  int64_t low = 0, high = static_cast<int64_t>(m_gapEntries.size());
  while (low < high) {
    const int64_t mid = low + (high - low) / 2;
    if (m_gapEntries[static_cast<size_t>(mid)] - mid <= k) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  const size_t e = static_cast<size_t>(k + low);
  return Frame{m_entries[e].offset, static_cast<int>(m_entries[e + 1].offset - m_entries[e].offset)};
}

int64_t Mp3FrameIndex::FramesBefore(int64_t offset) const {
  if (m_entries.empty()) return 0;
  const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), offset,
                                   [](const Entry& e, int64_t o) { return e.offset < o; });
  // Entries before `offset`, the last entry (the end of the audio) aside.
  const int64_t before = std::min<int64_t>(at - m_entries.begin(), Count() - 1);
  const auto gaps = std::lower_bound(m_gapEntries.begin(), m_gapEntries.end(), before);
  return before - (gaps - m_gapEntries.begin());
}

double Mp3FrameIndex::TimeAtOffset(int64_t offset) {
  if (m_entries.empty()) return 0;
  if (offset > m_entries.back().offset) ExtendToEnd();
  const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), offset,
                                   [](const Entry& e, int64_t o) { return e.offset < o; });
  return at == m_entries.end() ? m_entries.back().timeMs : at->timeMs;
}
