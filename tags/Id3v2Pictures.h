// The attached pictures of an ID3v2 tag (cover art), for a new version 2.3
// tag: each APIC frame (PIC in version 2.2) rewritten into the version 2.3
// form, the front cover first, the others in tag order.
//
// Version 2.3 APIC data:
//   encoding      1 byte (0 ISO-8859-1, 1 UTF-16 with a byte-order mark)
//   MIME type     ISO-8859-1, ended by a NUL
//   picture type  1 byte (3: the front cover)
//   description   in the encoding, ended by its NUL (two bytes in UTF-16)
//   image         the rest
// Version 2.2 PIC has a three-letter image format in place of the MIME type
// ("JPG" becomes image/jpeg, "PNG" image/png, others image/<format in lower
// case>). A description in encoding 2 (UTF-16BE) or 3 (UTF-8), which version
// 2.3 lacks, is written as the tag writer writes text: ASCII in encoding 0,
// else UTF-16 with a byte-order mark. A picture whose data does not hold
// every field (no NUL after the MIME type or the description, no image
// bytes) is left out.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class CId3v2Reader;
struct Id3v2Frame;

inline constexpr uint8_t kFrontCoverType = 3;

// The version 2.3 APIC data of a picture frame read from a tag of
// `version`; none when the frame is no picture or its data is malformed.
std::optional<std::vector<uint8_t>> PictureData23(const Id3v2Frame& frame, uint8_t version);

// Every picture of the tag `reader` read, as PictureData23 gives it, the
// front cover first.
std::vector<std::vector<uint8_t>> PicturesOf(const CId3v2Reader& reader);
