// The frames of an ID3v2 tag, parsed from the tag body (the bytes after the
// 10-byte tag header) held in memory.
//
// Versions 2.2, 2.3 and 2.4 are read; other versions have no frames.
//  - Unsynchronisation is undone: over the whole body in 2.2 and 2.3 (tag
//    flag 0x80), per frame in 2.4 (frame flag 0x02, or the tag flag).
//  - An extended header (tag flag 0x40 in 2.3 and 2.4) is skipped.
//  - Frame sizes are 24-bit in 2.2, plain 32-bit in 2.3 and sync-safe in
//    2.4. Files written with the other 32-bit reading exist: when the size as
//    read does not end on the next frame header, padding or the body's end,
//    but the other reading does, the other reading is used.
//  - A frame with an id the frame table does not know, or with no data, is
//    skipped by its size; so are compressed and encrypted frames. Reading
//    ends at padding, at an id that is not four (three in 2.2) capitals or
//    digits, and at a frame that runs past the body.
//  - TDRC is kept as well (ID3_FRAME_TDRC): it supplies the year when a tag
//    has no TYER.
#pragma once

#include <cstdint>
#include <vector>

#include "tags/Id3v2Frame.h"

// Tag header flags.
inline constexpr uint8_t kTagFlagUnsynchronisation = 0x80;
inline constexpr uint8_t kTagFlagExtendedHeader = 0x40;  // compression in version 2.2
inline constexpr uint8_t kTagFlagFooter = 0x10;

// Undoes unsynchronisation: every FF 00 becomes FF.
void RemoveUnsynchronisation(std::vector<uint8_t>& bytes);

// `body` may be modified (unsynchronisation undone in place).
std::vector<Id3v2Frame> ParseId3v2Frames(std::vector<uint8_t>& body, uint8_t version,
                                         uint8_t tagFlags);
