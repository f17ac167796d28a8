// Decoding the text of an ID3v2 text frame from its data (the bytes after
// the frame header, encoding byte first):
//   0  ISO-8859-1, taken as the narrow tag charset       -> narrow text
//   1  UTF-16 with a byte-order mark (FF FE or FE FF);
//      without a mark the units are little-endian      -> wide text
//   2  UTF-16 big-endian                                -> wide text
//   3  UTF-8                                            -> wide text
// The text ends at the first NUL of its encoding (a two-byte NUL on a unit
// boundary in UTF-16) or at the end of the data; a trailing odd byte of
// UTF-16 is dropped. Any other encoding gives no text.
#pragma once

#include <cstddef>
#include <cstdint>

struct Id3v2Frame;

// Fills frame.encoding and the frame's narrow or wide text.
void DecodeTextFrame(Id3v2Frame& frame, const uint8_t* data, size_t size);

// COMM: encoding, three bytes of language, a content description ended by
// the encoding's NUL, then the comment. The comment becomes the frame's
// text; it is empty when the data ends before the description's NUL.
void DecodeCommentFrame(Id3v2Frame& frame, const uint8_t* data, size_t size);
