// CueSheet: the track list of a CUE sheet, for splitting one recording.
//
// Read: `TRACK nn AUDIO`, `INDEX 01 mm:ss:ff` (75 frames a second) as the
// track's start, `TITLE` and `PERFORMER` before the first TRACK (the
// disc's) and after it (the track's), `REM DATE` and `REM GENRE`, `FILE`.
// Everything else (other REM comments, INDEX 00 and other index points,
// PREGAP, POSTGAP, FLAGS, ISRC, CATALOG, SONGWRITER, commands this reader
// does not know) is passed over. A value is a quoted string (up to the next
// quote) or the rest of the line.
//
// The text is UTF-8 with or without a byte-order mark, UTF-16 with one, or
// else in the narrow tag charset (TagCharset.h); it is read as UTF-8 when it
// is valid UTF-8. Line ends may be LF, CR LF or CR.
//
// The sheet describes one recording: its FILE may name any file (the sheet
// is used for the file it is given with), but a second FILE is refused, as
// are a TRACK that is not AUDIO, track numbers or INDEX 01 times that do
// not rise, a track without INDEX 01, malformed times (seconds 60 or more,
// frames 75 or more), an INDEX outside a TRACK, an unterminated quote, NUL
// bytes and a sheet without tracks. A refusal names the line it concerns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kCueFramesPerSecond = 75;

struct CueTrack {
  int number = 0;
  int64_t startMs = 0;    // INDEX 01, rounded to the nearest millisecond
  std::string title;      // UTF-8; empty when the sheet gives none
  std::string performer;
};

struct CueSheet {
  std::string title;      // the disc's (the album)
  std::string performer;
  std::string date;       // REM DATE
  std::string genre;      // REM GENRE
  std::string file;       // what FILE names
  std::vector<CueTrack> tracks;
};

struct CueResult {
  bool ok = false;
  CueSheet sheet;
  int line = 0;           // the line a refusal concerns (1-based; 0 for the whole sheet)
  std::string problem;    // why the sheet is refused
};

CueResult ParseCueSheet(std::string_view bytes);

// mm:ss:ff in milliseconds, rounded; -1 when it is not such a time.
int64_t CueTimeMs(std::string_view text);
