// Writes the frames of a planned cut at the output's file position, through
// one buffer: first room for the VBR tag (zeros, patched once the frames are
// known), then the plan's silent lead frames, the frame carrying the bit
// reservoir, and the source's frames [a, b), silenced where the plan says
// and with the level changes of `level` (frames of other layers pass
// unchanged). The music CRC covers the frames as written. When the plan and
// the level add and change nothing and the frames lie back to back, they
// are one byte range of the source, copied in large blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "mp3/CutLevel.h"
#include "mp3/CutPlan.h"
#include "mp3/SourceFrames.h"

// What the frames after the tag's room came to.
struct WrittenFrames {
  std::vector<int64_t> offsets;  // of each frame, from the end of the room
  int64_t bytes = 0;
  uint16_t musicCrc = 0;         // CRC-16/ARC of every byte of them
  bool bitrateVaries = false;    // a source frame's bitrate differs from frame a's
};

enum class FrameWriteOutcome {
  Written,
  NoRoomForReservoir,  // no bitrate holds the carried bytes; nothing written
  ReadFailed,
  WriteFailed,
};

// `templateHeader` (frame a's) gives the lead frames their kind.
FrameWriteOutcome WriteCutFrames(int out, int tagRoom, SourceFrames& frames, const CutPlan& plan,
                                 uint32_t templateHeader, const CutLevel& level, WrittenFrames* written);
