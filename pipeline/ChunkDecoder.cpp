#include "pipeline/ChunkDecoder.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace {

constexpr size_t kReadBlock = 16 * 1024;

}  // namespace

bool ChunkDecoder::Start(int fd, const ChunkPlan& plan, int sampleRate, int channels) {
  m_plan = plan;
  m_fd = fd;
  m_position = plan.feedFrom;
  m_atEnd = false;
  m_block.resize(kReadBlock);
  m_blockStart = plan.feedFrom;
  m_blockLength = 0;
  return m_decoder.Init(sampleRate, channels, plan.streamStart);
}

// Reads the block from m_position on, up to the chunk's end; false on a
// read error. An empty block is the end of the file.
bool ChunkDecoder::ReadBlock() {
  size_t want = kReadBlock;
  if (m_plan.feedTo >= 0) want = static_cast<size_t>(std::clamp<int64_t>(m_plan.feedTo - m_position, 0, kReadBlock));
  ssize_t got = 0;
  if (want > 0) {
    do {
      got = pread(m_fd, m_block.data(), want, m_position);
    } while (got < 0 && errno == EINTR);
  }
  if (got < 0) return false;
  m_blockStart = m_position;
  m_blockLength = static_cast<size_t>(got);
  return true;
}

ChunkDecoder::Fed ChunkDecoder::FeedMore() {
  if (m_atEnd) return Fed::End;
  if (m_position >= m_blockStart + static_cast<int64_t>(m_blockLength)) {
    if (!ReadBlock()) return Fed::Failed;
    if (m_blockLength == 0) {
      m_atEnd = true;
      return Fed::End;
    }
  }
  // Up to the next multiple of kFeedPiece from the stream's start.
  const int64_t intoPiece = (m_position - m_plan.streamOrigin) % kFeedPiece;
  const int64_t blockEnd = m_blockStart + static_cast<int64_t>(m_blockLength);
  const int64_t pieceEnd = std::min(m_position + kFeedPiece - (intoPiece < 0 ? 0 : intoPiece), blockEnd);
  const uint8_t* piece = m_block.data() + (m_position - m_blockStart);
  if (!m_decoder.Feed(piece, static_cast<size_t>(pieceEnd - m_position))) return Fed::Failed;
  m_position = pieceEnd;
  return Fed::More;
}

void ChunkDecoder::AppendFrame(std::vector<uint8_t>& out) const {
  const size_t values = static_cast<size_t>(m_decoder.SampleCount()) * static_cast<size_t>(m_decoder.Channels());
  const size_t at = out.size();
  out.resize(at + 2 * values);
  const int16_t* samples = m_decoder.Samples();
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out.data() + at, samples, 2 * values);
  } else {
    for (size_t i = 0; i < values; ++i) {
      const uint16_t v = static_cast<uint16_t>(samples[i]);
      out[at + 2 * i] = static_cast<uint8_t>(v & 0xFF);
      out[at + 2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
  }
}

ChunkDecoder::Step ChunkDecoder::Next(std::vector<uint8_t>& out) {
  for (;;) {
    switch (m_decoder.DecodeFrame()) {
      case Mpg123Decoder::Result::Frame:
        // The settle frames only bring the decoder to its state at the chunk.
        if (m_plan.feedFrom + m_decoder.FramePosition() < m_plan.keepFrom) continue;
        AppendFrame(out);
        return Step::Frame;
      case Mpg123Decoder::Result::NeedMore:
        switch (FeedMore()) {
          case Fed::More: continue;
          case Fed::End: return Step::End;
          case Fed::Failed: return Step::Failed;
        }
        break;
      case Mpg123Decoder::Result::Failed: return Step::Failed;
    }
  }
}
