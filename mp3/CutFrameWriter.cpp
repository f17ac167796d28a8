#include "mp3/CutFrameWriter.h"

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "mp3/VbrHeader.h"
#include "platform/io/ReadWrite.h"

namespace {

constexpr size_t kBufferSize = 1 << 16;
// Written out once this full: below it, one more frame (at most 1729 bytes)
// still fits.
constexpr size_t kFlushAt = kBufferSize - 2000;

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

}  // namespace

FrameWriteOutcome WriteCutFrames(int out, int tagRoom, SourceFrames& frames, const CutPlan& plan,
                                 uint32_t templateHeader, const CutLevel& level, WrittenFrames* written) {
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
