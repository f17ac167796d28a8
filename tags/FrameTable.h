// The table of ID3v2 frame definitions: 76 rows and an all-zero terminating
// row. Each row names a frame in version 2.2 (three characters) and in
// versions 2.3/2.4 (four characters); a null id means the frame does not
// exist in that version. Text frames begin with a text-encoding byte.
#pragma once

#include <cstddef>
#include <cstdint>

using Id3FrameKey = int32_t;

struct Id3FrameDef {
  Id3FrameKey key;
  const char* id22;  // version 2.2 id, or null
  const char* id23;  // version 2.3/2.4 id, or null
  bool isText;
  const char* description;
};

// Keys of the frames the tag fields come from, and of the attached picture.
inline constexpr Id3FrameKey ID3_FRAME_APIC = 2;
inline constexpr Id3FrameKey ID3_FRAME_COMM = 4;
inline constexpr Id3FrameKey ID3_FRAME_TALB = 29;
inline constexpr Id3FrameKey ID3_FRAME_TCON = 32;
inline constexpr Id3FrameKey ID3_FRAME_TIT2 = 47;
inline constexpr Id3FrameKey ID3_FRAME_TPE1 = 61;
inline constexpr Id3FrameKey ID3_FRAME_TRCK = 68;
inline constexpr Id3FrameKey ID3_FRAME_TYER = 80;
// The version 2.4 recording time has no row; the reader knows it by id
// because it supplies the year when a tag has no TYER.
inline constexpr Id3FrameKey ID3_FRAME_TDRC = 1000;
inline constexpr const char* kRecordingTimeId = "TDRC";

inline constexpr size_t kFrameTableRows = 76;
// The rows followed by the terminator.
extern const Id3FrameDef kFrameTable[kFrameTableRows + 1];

// Looks up a 3-character (version 2.2) or 4-character (2.3/2.4) id; false
// for any other length or an id without a row. `key` and `isText` may be null.
bool FindFrameDefById(const char* id, int length, Id3FrameKey* key, bool* isText);

// The row of `key`, or null.
const Id3FrameDef* FindFrameDefByKey(Id3FrameKey key);
