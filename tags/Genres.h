// The 148 genre names of the ID3v1 genre byte (indexes 0 to 147), and the
// genre text of an ID3v2 TCON frame.
//
// A TCON text starts with references to the table, "(17)", or "(RX)" and
// "(CR)" (remix, cover), optionally followed by the genre's own text; a text
// that itself starts with "(" is written "((". Version 2.4 writes a bare
// number "17" instead. Readers show a text of its own as it stands, so a
// genre outside the table is written without a reference: mutagen and
// TagLib read "(255)Rock (Live)" as two genres, "Unknown" (or "") and
// "Rock (Live)", and id3lib shows the "(255)".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int kGenreCount = 148;
inline constexpr uint8_t kNoGenre = 255;

// The name of index 0..147, or null.
const char* GenreNameAt(int index);

// The index of the first name equal to `text` ignoring ASCII case, or 255.
uint8_t GenreIndexOf(std::string_view text);

// The genre of a TCON text: the name of the last reference when no text
// follows the references ("(17)", "(4)(17)" and "17" give "Rock"), else the
// text after them ("(17)Rock (Live)" gives "Rock (Live)", "((a)" gives "(a)",
// "Rock (Live)" itself). A text that starts with "(" without being a
// reference is a text of its own.
struct FrameGenre {
  const char* name = nullptr;  // a referenced genre's name
  size_t textBegin = 0;        // without a name: the genre is the text from here
};
FrameGenre ParseGenreFrameText(std::string_view text);
FrameGenre ParseGenreFrameText(std::u16string_view text);

// The TCON text of a genre (UTF-8): "(17)Rock" for a name of the table (in
// any case), the genre as it stands when it reads back as itself, "(" in
// front of one that starts with "(" and would not, "(255)" in front of the
// rest (an empty genre and a bare number). The text always reads back as
// the genre.
std::string GenreFrameText(std::string_view genre);
