// The 148 genre names of the ID3v1 genre byte (indexes 0 to 147), also used
// for the "(n)" reference written before an ID3v2 genre text.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr int kGenreCount = 148;
inline constexpr uint8_t kNoGenre = 255;

// The name of index 0..147, or null.
const char* GenreNameAt(int index);

// The index of the first name equal to `text` ignoring ASCII case, or 255.
uint8_t GenreIndexOf(std::string_view text);
