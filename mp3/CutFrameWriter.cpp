#include "mp3/CutFrameWriter.h"

#include <algorithm>

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "mp3/VbrHeader.h"
#include "platform/io/ReadWrite.h"

namespace {

constexpr size_t kBufferSize = 1 << 16;
// Written out once this full: below it, one more frame (at most 1729 bytes)
// still fits.
constexpr size_t kFlushAt = kBufferSize - 2000;
// The blocks a range of frames is copied in: they stay in the processor's
// second-level cache between their read, their CRC and their write.
constexpr int64_t kRangeBlock = 128 * 1024;

class FrameOutput {
 public:
  FrameOutput(int out, WrittenFrames* written) : m_out(out), m_written(written) { m_buffer.reserve(kBufferSize); }

  void PutRoom(int bytes) { m_buffer.assign(static_cast<size_t>(bytes), 0); }
  bool PutFrame(const std::vector<uint8_t>& frame) {
    m_written->offsets.push_back(m_written->bytes);
    m_written->musicCrc = Crc16Arc(frame.data(), frame.size(), m_written->musicCrc);
    m_written->bytes += static_cast<int64_t>(frame.size());
    m_buffer.insert(m_buffer.end(), frame.begin(), frame.end());
    return m_buffer.size() < kFlushAt || Flush();
  }
  bool Flush() {
    if (!m_buffer.empty() && !WriteAll(m_out, m_buffer.data(), m_buffer.size())) return false;
    m_buffer.clear();
    return true;
  }

 private:
  int m_out;
  WrittenFrames* m_written;
  std::vector<uint8_t> m_buffer;
};

// Whether frames [a, b) are the source's bytes as they lie, one range.
bool IsOneRange(const SourceFrames& frames, const CutPlan& plan) {
  if (plan.leadFrame || plan.silentLead > 0 || !plan.reservoir.silenced.empty()) return false;
  FrameRef previous = frames.Locate(plan.a);
  for (int k = plan.a + 1; k < plan.b; ++k) {
    const FrameRef next = frames.Locate(k);
    if (previous.offset + previous.length != next.offset) return false;  // garbage between them
    previous = next;
  }
  return true;
}

// The plan's frames as one range of the source, after the tag's room: read
// and written a block at a time, each block's music CRC, frame offsets and
// bitrates taken while it is in the cache.
FrameWriteOutcome WriteFrameRange(int out, int tagRoom, SourceFrames& frames, const CutPlan& plan,
                                  uint32_t templateHeader, WrittenFrames* written) {
  *written = WrittenFrames{};
  const std::vector<uint8_t> room(static_cast<size_t>(tagRoom), 0);
  if (!WriteAll(out, room.data(), room.size())) return FrameWriteOutcome::WriteFailed;
  const FrameRef last = frames.Locate(plan.b - 1);
  const int64_t from = frames.Locate(plan.a).offset, to = last.offset + last.length;
  const int bitrate = mpeg::BitrateIndex(templateHeader);
  std::vector<uint8_t> block(kRangeBlock);
  int k = plan.a;
  for (int64_t at = from; at < to;) {
    const int64_t end = std::min(to, at + kRangeBlock);
    const size_t length = static_cast<size_t>(end - at);
    if (PReadUpTo(frames.Fd(), block.data(), length, at) != static_cast<ssize_t>(length)) {
      return FrameWriteOutcome::ReadFailed;
    }
    written->musicCrc = Crc16Arc(block.data(), length, written->musicCrc);
    for (FrameRef f; k < plan.b && (f = frames.Locate(k)).offset < end; ++k) {
      written->offsets.push_back(f.offset - from);
      uint8_t straddling[4];  // a header across the block's end is read on its own
      const bool inBlock = f.offset + 4 <= end;
      if (!inBlock && PReadUpTo(frames.Fd(), straddling, 4, f.offset) != 4) return FrameWriteOutcome::ReadFailed;
      const uint8_t* header = inBlock ? &block[static_cast<size_t>(f.offset - at)] : straddling;
      if (mpeg::BitrateIndex(mpeg::HeaderFromBytes(header)) != bitrate) written->bitrateVaries = true;
    }
    if (!WriteAll(out, block.data(), length)) return FrameWriteOutcome::WriteFailed;
    at = end;
  }
  written->bytes = to - from;
  return FrameWriteOutcome::Written;
}

}  // namespace

FrameWriteOutcome WriteCutFrames(int out, int tagRoom, SourceFrames& frames, const CutPlan& plan,
                                 uint32_t templateHeader, const CutLevel& level, WrittenFrames* written) {
  if (!level.Active() && IsOneRange(frames, plan)) {
    return WriteFrameRange(out, tagRoom, frames, plan, templateHeader, written);
  }
  std::vector<uint8_t> carrier;
  if (plan.leadFrame) {
    carrier = SilentFrameHolding(templateHeader, plan.reservoir.carried);
    if (carrier.empty()) return FrameWriteOutcome::NoRoomForReservoir;
  }
  *written = WrittenFrames{};
  FrameOutput output(out, written);
  output.PutRoom(tagRoom);
  const std::vector<uint8_t> silent = SilentFrameHolding(templateHeader, {});
  for (int i = 0; i < plan.silentLead; ++i) {
    if (!output.PutFrame(silent)) return FrameWriteOutcome::WriteFailed;
  }
  if (plan.leadFrame && !output.PutFrame(carrier)) return FrameWriteOutcome::WriteFailed;

  std::vector<uint8_t> frame;
  size_t nextSilenced = 0;
  const int bitrate = mpeg::BitrateIndex(templateHeader);
  // Where the frame's first sample lies on the output's timeline.
  int64_t position = static_cast<int64_t>(written->offsets.size()) * SamplesPerFrameOf(templateHeader);
  for (int k = plan.a; k < plan.b; ++k) {
    if (!frames.Read(frames.At(k), frame)) return FrameWriteOutcome::ReadFailed;
    const uint32_t h = mpeg::HeaderFromBytes(frame.data());
    const std::vector<int>& silenced = plan.reservoir.silenced;
    if (nextSilenced < silenced.size() && silenced[nextSilenced] == k) {
      SilenceLayer3Frame(frame.data());
      ++nextSilenced;
    }
    if (level.Active() && mpeg::Layer(h) == 3) ChangeGlobalGain(frame.data(), level.ChangeFor(frame.data(), position));
    position += SamplesPerFrameOf(h);
    if (mpeg::BitrateIndex(h) != bitrate) written->bitrateVaries = true;
    if (!output.PutFrame(frame)) return FrameWriteOutcome::WriteFailed;
  }
  return output.Flush() ? FrameWriteOutcome::Written : FrameWriteOutcome::WriteFailed;
}
