#include "tags/Id3v2TagBody.h"

#include <cstring>

#include "platform/ByteReader.h"
#include "tags/Id3v2FrameText.h"
#include "tags/SyncSafe.h"

namespace {

// Frame format flags, second flag byte.
constexpr uint8_t kV23Compression = 0x80;  // + 4 bytes of decompressed size
constexpr uint8_t kV23Encryption = 0x40;   // + 1 byte of method
constexpr uint8_t kV23Grouping = 0x20;     // + 1 byte of group id
constexpr uint8_t kV24Grouping = 0x40;     // + 1 byte of group id
constexpr uint8_t kV24Compression = 0x08;
constexpr uint8_t kV24Encryption = 0x04;   // + 1 byte of method
constexpr uint8_t kV24Unsynchronisation = 0x02;
constexpr uint8_t kV24DataLength = 0x01;   // + 4 bytes of data length

struct FrameLayout {
  size_t idLength;
  size_t headerLength;
};

FrameLayout LayoutOf(uint8_t version) {
  return version == 2 ? FrameLayout{3, 6} : FrameLayout{4, 10};
}

bool IsIdCharacter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool IsValidId(const uint8_t* id, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (!IsIdCharacter(id[i])) return false;
  }
  return true;
}

class FrameWalker {
 public:
  FrameWalker(const std::vector<uint8_t>& body, size_t start, uint8_t version, bool unsyncAll)
      : m_body(body), m_position(start), m_version(version), m_unsyncAll(unsyncAll),
        m_layout(LayoutOf(version)) {}

  std::vector<Id3v2Frame> Run();

 private:
  // Where a frame of `size` data bytes starting at `position` would end,
  // when that is a plausible place for the next frame.
  bool EndsWell(size_t position, uint64_t size) const;
  // The data size of the frame at m_position (header fully present).
  uint64_t ChooseSize() const;
  // Removes the extra header bytes the frame flags announce; false for a
  // frame whose data cannot be read (compressed, encrypted, too short).
  bool Unwrap(const uint8_t flags[2], std::vector<uint8_t>& data) const;
  void Decode(Id3v2Frame& frame, bool isText, std::vector<uint8_t>& data) const;

  const std::vector<uint8_t>& m_body;
  size_t m_position;
  uint8_t m_version;
  bool m_unsyncAll;
  FrameLayout m_layout;
};

bool FrameWalker::EndsWell(size_t position, uint64_t size) const {
  const uint64_t end = uint64_t{position} + m_layout.headerLength + size;
  if (end == m_body.size()) return true;
  if (end > m_body.size()) return false;
  if (m_body[end] == 0) return true;  // padding
  return end + m_layout.headerLength <= m_body.size() &&
         IsValidId(&m_body[end], m_layout.idLength);
}

uint64_t FrameWalker::ChooseSize() const {
  const uint8_t* sizeBytes = &m_body[m_position + m_layout.idLength];
  ByteReader size(sizeBytes, m_body.size() - m_position - m_layout.idLength);
  if (m_version == 2) return size.Be24();
  const uint64_t plain = size.Be32();
  if (!IsSyncSafe(sizeBytes)) return plain;
  const uint64_t syncSafe = DecodeSyncSafe(sizeBytes);
  const uint64_t primary = m_version == 3 ? plain : syncSafe;
  const uint64_t other = m_version == 3 ? syncSafe : plain;
  if (EndsWell(m_position, primary) || !EndsWell(m_position, other)) return primary;
  return other;
}

bool FrameWalker::Unwrap(const uint8_t flags[2], std::vector<uint8_t>& data) const {
  size_t extra = 0;
  bool unsync = false;
  if (m_version == 3) {
    if (flags[1] & (kV23Compression | kV23Encryption)) return false;
    if (flags[1] & kV23Grouping) extra += 1;
  } else if (m_version == 4) {
    if (flags[1] & (kV24Compression | kV24Encryption)) return false;
    if (flags[1] & kV24Grouping) extra += 1;
    if (flags[1] & kV24DataLength) extra += 4;
    unsync = m_unsyncAll || (flags[1] & kV24Unsynchronisation);
  }
  if (extra > data.size()) return false;
  data.erase(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(extra));
  if (unsync) RemoveUnsynchronisation(data);
  return true;
}

void FrameWalker::Decode(Id3v2Frame& frame, bool isText, std::vector<uint8_t>& data) const {
  if (frame.key == ID3_FRAME_APIC) {
    frame.pictureData = data;
    return;
  }
  if (!isText) return;
  if (frame.key == ID3_FRAME_COMM) {
    DecodeCommentFrame(frame, data.data(), data.size());
  } else {
    DecodeTextFrame(frame, data.data(), data.size());
  }
}

std::vector<Id3v2Frame> FrameWalker::Run() {
  std::vector<Id3v2Frame> frames;
  if (m_version < 2 || m_version > 4) return frames;
  while (m_position + m_layout.headerLength <= m_body.size()) {
    const uint8_t* header = &m_body[m_position];
    if (header[0] == 0) break;  // padding
    if (!IsValidId(header, m_layout.idLength)) break;
    const uint64_t size = ChooseSize();
    if (uint64_t{m_position} + m_layout.headerLength + size > m_body.size()) break;

    Id3v2Frame frame;
    std::memcpy(frame.id, header, m_layout.idLength);
    std::memcpy(frame.sizeBytes, header + m_layout.idLength, m_layout.headerLength == 6 ? 3 : 4);
    if (m_version != 2) std::memcpy(frame.flags, header + 8, 2);
    frame.dataSize = static_cast<uint32_t>(size);
    const size_t dataStart = m_position + m_layout.headerLength;
    m_position = dataStart + static_cast<size_t>(size);

    bool isText = false;
    if (FindFrameDefById(frame.id, static_cast<int>(m_layout.idLength), &frame.key, &isText)) {
      // known frame
    } else if (m_version != 2 && std::memcmp(frame.id, kRecordingTimeId, 4) == 0) {
      frame.key = ID3_FRAME_TDRC;
      isText = true;
    } else {
      continue;  // unknown id: skipped
    }
    if (size == 0) continue;
    std::vector<uint8_t> data(m_body.begin() + static_cast<std::ptrdiff_t>(dataStart),
                              m_body.begin() + static_cast<std::ptrdiff_t>(dataStart + size));
    if (!Unwrap(frame.flags, data)) continue;
    Decode(frame, isText, data);
    frames.push_back(std::move(frame));
  }
  return frames;
}

// The offset of the first frame: past an extended header when there is one.
// The body's size when the extended header does not fit.
size_t FirstFrameOffset(const std::vector<uint8_t>& body, uint8_t version, uint8_t tagFlags) {
  if (version < 3 || !(tagFlags & kTagFlagExtendedHeader)) return 0;
  if (body.size() < 4) return body.size();
  // 2.3: plain size not counting its own four bytes; 2.4: sync-safe, counting them.
  const uint64_t skip = version == 3 ? uint64_t{ByteReader(body.data(), body.size()).Be32()} + 4
                                     : uint64_t{DecodeSyncSafe(body.data())};
  if (skip < 4 || skip > body.size()) return body.size();
  return static_cast<size_t>(skip);
}

}  // namespace

void RemoveUnsynchronisation(std::vector<uint8_t>& bytes) {
  size_t out = 0;
  for (size_t in = 0; in < bytes.size(); ++in) {
    bytes[out++] = bytes[in];
    if (bytes[in] == 0xFF && in + 1 < bytes.size() && bytes[in + 1] == 0x00) ++in;
  }
  bytes.resize(out);
}

std::vector<Id3v2Frame> ParseId3v2Frames(std::vector<uint8_t>& body, uint8_t version,
                                         uint8_t tagFlags) {
  const bool unsync = (tagFlags & kTagFlagUnsynchronisation) != 0;
  if (unsync && version < 4) RemoveUnsynchronisation(body);
  const size_t start = FirstFrameOffset(body, version, tagFlags);
  return FrameWalker(body, start, version, unsync && version == 4).Run();
}
