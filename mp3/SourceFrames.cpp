#include "mp3/SourceFrames.h"

#include <algorithm>

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"

namespace {

constexpr int kLongestSideInfo = 40;  // header, CRC and 32 bytes of side info fit

}  // namespace

SourceFrames::SourceFrames(int fd, const Mp3StreamInfo& info, Mp3FrameIndex& index, int64_t rangeEnd)
    : m_index(index), m_window(fd) {
  m_index.ExtendPast(rangeEnd, kFramesPastRange);
  m_indexed = std::min(m_index.FrameCount(), m_index.FramesBefore(rangeEnd) + kFramesPastRange);
  m_first = info.vbr.kind != VbrHeaderKind::None ? 1 : 0;
  m_count = static_cast<int>(std::max<int64_t>(m_indexed - m_first, 0));
}

FrameRef SourceFrames::At(int k) {
  FrameRef ref = Locate(k);
  uint8_t b[4];
  if (m_window.ReadAt(ref.offset, b, 4) == 4) {
    ref.header = mpeg::HeaderFromBytes(b);
  } else {
    m_readFailed = true;
  }
  return ref;
}

FrameRef SourceFrames::Locate(int k) const {
  const Mp3FrameIndex::Frame frame = m_index.FrameAt(k + m_first);
  return FrameRef{frame.offset, 0, frame.length};
}

int SourceFrames::FirstAtOrAfter(int64_t offset) const {
  return static_cast<int>(std::clamp<int64_t>(m_index.FramesBefore(offset) - m_first, 0, m_count));
}

bool SourceFrames::Read(const FrameRef& frame, std::vector<uint8_t>& bytes) {
  bytes.resize(static_cast<size_t>(frame.length));
  return m_window.ReadAt(frame.offset, bytes.data(), frame.length) == frame.length;
}

int SourceFrames::MainDataBeginOf(const FrameRef& frame) {
  uint8_t side[kLongestSideInfo];
  const int n = MainDataOffset(frame.header);
  if (m_window.ReadAt(frame.offset, side, n) != n) return 0;
  return MainDataBegin(frame.header, side + n - SideInfoLength(frame.header));
}

int SourceFrames::ReadFromStreamStart(int offset, uint8_t* out, int length) {
  if (m_indexed == 0) return 0;
  return m_window.ReadAt(m_index.FrameAt(0).offset + offset, out, length);
}
