// One frame of an ID3v2 tag as the reader keeps it: its id and header, its
// key in the frame table, and for text frames the decoded text. Encoding 0
// gives narrow text (the tag charset); encodings 1, 2 and 3 give wide text.
// For COMM the text is the comment itself, after the language and the
// content description. An attached picture (APIC, PIC) keeps its data as
// read, flags' extra bytes and unsynchronisation undone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tags/FrameTable.h"

struct Id3v2Frame {
  char id[5] = {};           // 3 or 4 characters, NUL-terminated
  uint8_t sizeBytes[4] = {};  // the size field as read (3 bytes in version 2.2)
  uint8_t flags[2] = {};      // versions 2.3 and 2.4
  uint8_t encoding = 0;       // text frames
  Id3FrameKey key = 0;
  std::optional<std::string> narrow;
  std::optional<std::u16string> wide;
  uint32_t dataSize = 0;      // bytes of frame data, header excluded
  bool emptyDescription = false;  // COMM: the content description is empty
  std::vector<uint8_t> pictureData;  // APIC/PIC: the frame's data
};
