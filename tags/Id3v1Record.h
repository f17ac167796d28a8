// The 128-byte ID3v1 record at the end of an MP3 file, in the ID3v1.1 form
// when byte 125 is 0 (byte 126 then holds the track). Text fields are in
// the narrow tag charset, NUL-padded. A blank record (128 zero bytes with
// genre 255) does not begin with "TAG" and so counts as absent.
//
//   offset size field
//   0      3    "TAG"
//   3      30   title
//   33     30   artist
//   63     30   album
//   93     4    year
//   97     30   comment (28 bytes when byte 125 is 0)
//   125    1    0 when byte 126 holds a track number
//   126    1    track number
//   127    1    genre index, 255 for none
#pragma once

#include <cstddef>
#include <cstdint>

class CTagFieldList;

struct Id3v1Record {
  static constexpr size_t kSize = 128;
  static constexpr size_t kTitleOffset = 3, kTitleWidth = 30;
  static constexpr size_t kArtistOffset = 33, kArtistWidth = 30;
  static constexpr size_t kAlbumOffset = 63, kAlbumWidth = 30;
  static constexpr size_t kYearOffset = 93, kYearWidth = 4;
  static constexpr size_t kCommentOffset = 97, kCommentWidth = 30, kShortCommentWidth = 28;
  static constexpr size_t kTrackMarkerOffset = 125;
  static constexpr size_t kTrackOffset = 126;
  static constexpr size_t kGenreOffset = 127;

  uint8_t bytes[kSize];

  // 128 zero bytes with genre 255.
  static Id3v1Record Blank();
  // True when the record begins with "TAG".
  bool HasTag() const;
};

// The genre name of byte 127 of a record that begins with "TAG", or null
// (byte 255, or 148 and above).
const char* GenreName(const Id3v1Record& record);

// Stores the record's fields into `fields` (nothing unless it begins with
// "TAG"): title, artist, album, year, genre, track, comment, in that order.
// Trailing blanks that pad a text field are not part of its text.
void ParseId3v1(const Id3v1Record& record, CTagFieldList& fields);

// A new ID3v1.1 record from `fields`. Texts are converted to the narrow tag
// charset and cut to their width at a character boundary.
Id3v1Record BuildId3v1(const CTagFieldList& fields);

// Overwrites the file's last 128 bytes when they begin with "TAG", else
// appends the record (a file shorter than 128 bytes always gets it
// appended). False, with the file untouched, when it cannot be opened for
// writing or is not a regular file; false also when the write itself fails.
bool WriteId3v1AtEnd(const char* utf8Name, const Id3v1Record& record);
bool WriteId3v1AtEnd(const char16_t* wideName, const Id3v1Record& record);
// The same through a descriptor open for reading and writing.
bool WriteId3v1AtEnd(int fd, const Id3v1Record& record);
