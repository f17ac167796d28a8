// TrackTags: the tag fields of each track of a split. A track carries the
// source's fields with these in their place: the title (the CUE sheet's,
// else the source's title followed by " (n)"), the artist (the track's
// performer, else the disc's, else the source's), the album (the sheet's
// disc title, else the source's), the year and genre (the sheet's REM DATE
// and REM GENRE, else the source's) and the track "n/N".
#pragma once

#include <string>

class CTagFieldList;

// What a split puts in place of the source's fields; UTF-8, empty keeps the
// source's (the title is always set).
struct TrackTagText {
  int number = 0;
  int count = 0;
  std::string title, artist, album, year, genre;
};

// The source's title for the tracks' titles and for %s: its title field,
// else the file's title (its name without folder and extension).
std::string SourceTitleOf(const CTagFieldList& sourceFields, const std::string& sourcePath);

// The title of track `number` when the plan gives none.
std::string NumberedTitle(const std::string& sourceTitle, int number);

// `out` (emptied first) gets the source's fields with `text` in place.
void FillTrackFields(const CTagFieldList& sourceFields, const TrackTagText& text, CTagFieldList* out);
