// CId3v2Writer: writes a new file made of a fresh ID3v2 tag (version byte
// 3, text frames of the seven fields in list order, zero padding up to a
// frames area of at least 28 bytes) followed by the audio of a source
// stream, from its first MPEG frame header to its end.
//
// Frame sizes are written as plain 32-bit big-endian numbers, as version 2.3
// wants (the same bytes as sync-safe below 128); the tag size is sync-safe.
// Text that is all ASCII is written in encoding 0, any other text as UTF-16
// with a byte-order mark (encoding 1): the two that version 2.3 defines.
// COMM carries the language "eng" and an empty description; TCON the genre
// as GenreFrameText writes it ("(17)Rock", "Rock (Live)"); TYER the year's
// four digits (YearOf), and no frame for a year without them. Attached
// pictures (APIC data in the version 2.3 form, Id3v2Pictures.h) may follow
// the text frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/io/UniqueFd.h"

class CTagFieldList;
class IFileStream;
struct TagField;

class CId3v2Writer {
 public:
  static constexpr size_t kHeaderSize = 10;
  static constexpr uint32_t kMinimumFramesLength = 28;

  CId3v2Writer() = default;
  ~CId3v2Writer() { Close(); }
  CId3v2Writer(const CId3v2Writer&) = delete;
  CId3v2Writer& operator=(const CId3v2Writer&) = delete;

  // Creates (or empties) the output file and writes a provisional header;
  // holds a reference to `source`. False when the file cannot be created.
  bool Open(const char* utf8Name, IFileStream* source);
  bool Open(const char16_t* wideName, IFileStream* source);
  // The same into a new, empty file the caller holds open read-write; the
  // descriptor stays the caller's (Close leaves it open).
  bool Open(int fd, IFileStream* source);
  // The frames (a frame that cannot be written ends the list silently),
  // the padding, the final header, then the source's audio. True when all
  // of the audio was copied.
  bool WriteTagAndAudio(const CTagFieldList& fields);
  // Flushes the output to the disk; false when that fails.
  bool Flush();
  // Closes the output and releases the source; safe to call again.
  void Close();
  bool IsOpen() const { return m_fd >= 0; }

 private:
  bool CopyAudio();
  bool WriteAt(const void* bytes, size_t count, int64_t offset);

  int m_fd = -1;
  UniqueFd m_ownFile;  // the file the writer created itself
  uint8_t m_header[kHeaderSize] = {};
  uint32_t m_framesLength = 0;
  IFileStream* m_source = nullptr;
};

// The tag WriteTagAndAudio writes for `fields`: the header, the frames and
// the padding, ready to stand in front of the audio. Each of `pictures`
// becomes an APIC frame after the text frames; one that would take the tag
// past its largest size is left out.
std::vector<uint8_t> BuildId3v2Tag(const CTagFieldList& fields,
                                   const std::vector<std::vector<uint8_t>>& pictures = {});

// A field's text in UTF-8: from the wide text, or from the narrow text in
// the tag charset. None when there is nothing to convert.
std::optional<std::string> FieldUtf8Text(const TagField& field);

// The offset of the source's first MPEG audio frame header: the first of
// 65536 positions after any ID3v2 tags at its start whose four bytes have
// the frame sync, a layer, a bitrate index other than free or bad and a
// sample-rate index other than reserved. When no position qualifies, the
// end of the leading tags (0 without one). -1 when the stream cannot be read.
int64_t FindAudioStart(IFileStream* source);
