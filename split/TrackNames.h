// TrackNames: the file name of each track of a split, from a pattern.
//
// Pattern fields: %n the track number (two digits, more when there are 100
// tracks or more), %t the title, %a the artist, %A the album, %s the
// source's file title, %% a percent sign. ".mp3" is added unless the name
// already ends in it.
//
// A name never leaves the output folder and is always one usable file
// name: '/', NUL and other control characters (a line break in a title)
// become '_'; a name with nothing before its extension takes the track
// number; a name longer than the file system takes (255 bytes) is cut at a
// character boundary before its extension.
#pragma once

#include <optional>
#include <string>

inline constexpr char kDefaultNamePattern[] = "%n - %t";

struct TrackNameFields {
  int number = 0;
  int count = 0;  // tracks in the split (sets the width of %n)
  std::string title, artist, album, sourceTitle;  // UTF-8
};

// Why `pattern` cannot name tracks (empty, an unknown field, a lone % at
// its end), or none.
std::optional<std::string> NamePatternProblem(const std::string& pattern);

// The track's file name (no folder), for a pattern NamePatternProblem accepts.
std::string TrackFileName(const std::string& pattern, const TrackNameFields& fields);
