#include "tags/Id3v2Reader.h"

#include <algorithm>
#include <cstring>

#include "tags/IFileStream.h"
#include "tags/Id3v2TagBody.h"
#include "tags/SyncSafe.h"

namespace {

constexpr uint8_t kHighestVersion = 4;
constexpr size_t kFooterSize = 10;

// Header bytes.
constexpr size_t kVersionByte = 3;
constexpr size_t kRevisionByte = 4;
constexpr size_t kFlagsByte = 5;
constexpr size_t kSizeBytes = 6;

}  // namespace

void CId3v2Reader::Clear() {
  if (m_stream) {
    m_stream->Release();
    m_stream = nullptr;
  }
  std::memset(m_header, 0, sizeof m_header);
  m_version = 0;
  m_frames.clear();
  m_endPosition = 0;
}

const Id3v2Frame* CId3v2Reader::Find(Id3FrameKey key) const {
  for (const Id3v2Frame& frame : m_frames) {
    if (frame.key == key) return &frame;
  }
  return nullptr;
}

bool CId3v2Reader::Read(IFileStream* stream) {
  Clear();
  if (!stream) return false;
  stream->AddRef();
  m_stream = stream;
  if (!stream->HasByteData()) {
    Clear();
    return false;
  }
  const int64_t position = stream->Tell();
  ReadTag();
  if (position >= 0) stream->Seek(position, FILE_BEGIN);
  return true;
}

void CId3v2Reader::ReadTag() {
  if (m_stream->Seek(0, FILE_BEGIN) != 0) return;
  if (ReadUpTo(m_stream, m_header, kHeaderSize) != kHeaderSize) return;
  if (std::memcmp(m_header, "ID3", 3) != 0) return;
  const uint8_t version = m_header[kVersionByte];
  const uint8_t flags = m_header[kFlagsByte];
  if (version > kHighestVersion || m_header[kRevisionByte] != 0) return;
  // In version 2.2 this flag means a compressed tag, which cannot be read.
  if (version == 2 && (flags & kTagFlagExtendedHeader)) return;

  m_version = version;
  const uint32_t declared = DecodeSyncSafe(m_header + kSizeBytes);
  m_endPosition = int64_t{declared} + kHeaderSize + ((flags & kTagFlagFooter) ? kFooterSize : 0);

  // Never more than the file holds after the header.
  const int64_t fileSize = m_stream->Size();
  const int64_t available = fileSize > int64_t{kHeaderSize} ? fileSize - int64_t{kHeaderSize} : 0;
  const size_t bodySize = static_cast<size_t>(std::min<int64_t>(declared, available));
  std::vector<uint8_t> body(bodySize);
  body.resize(ReadUpTo(m_stream, body.data(), body.size()));
  m_frames = ParseId3v2Frames(body, version, flags);
}
