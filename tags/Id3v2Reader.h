// CId3v2Reader: loads the ID3v2 tag at the start of a stream into frame
// records (Id3v2TagBody.h holds the frame rules). A reader has a tag when
// the stream begins with an acceptable header: "ID3", version byte 4 or
// below, revision 0 (version 2.2 with its compression flag counts as none).
// Only the bytes of the tag that the file really holds are read, so a
// declared size past the end of the file allocates nothing more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tags/Id3v2Frame.h"

class IFileStream;

class CId3v2Reader {
 public:
  static constexpr size_t kHeaderSize = 10;

  CId3v2Reader() = default;
  ~CId3v2Reader() { Clear(); }
  CId3v2Reader(const CId3v2Reader&) = delete;
  CId3v2Reader& operator=(const CId3v2Reader&) = delete;

  // False only when the stream is not byte data; true whether or not a tag
  // was found. Holds a reference to the stream until Clear and leaves its
  // position where it was.
  bool Read(IFileStream* stream);
  // The first frame with `key` in tag order, or null.
  const Id3v2Frame* Find(Id3FrameKey key) const;
  // Releases the stream and forgets the frames.
  void Clear();

  bool HasTag() const { return m_endPosition != 0; }
  // The version byte of the tag (2, 3 or 4 for tags with frames).
  uint8_t Version() const { return m_version; }
  // Header size + declared size (+ footer); 0 without a tag.
  int64_t EndPosition() const { return m_endPosition; }
  const std::vector<Id3v2Frame>& Frames() const { return m_frames; }

 private:
  void ReadTag();

  IFileStream* m_stream = nullptr;
  uint8_t m_header[kHeaderSize] = {};
  uint8_t m_version = 0;
  std::vector<Id3v2Frame> m_frames;
  int64_t m_endPosition = 0;
};
