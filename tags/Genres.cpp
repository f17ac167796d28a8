#include "tags/Genres.h"

#include <optional>

namespace {

const char* const kGenreNames[kGenreCount] = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta Rap",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychedelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk/Rock",
    "National Folk",
    "Swing",
    "Fast-Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A Cappella",
    "Euro-House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club-House",
    "Hardcore",
    "Terror",
    "Indie",
    "BritPop",
    "Negerpunk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta Rap",
    "Heavy Metal",
    "Black Metal",
    "Crossover",
    "Contemporary Christian",
    "Christian Rock",
    "Merengue",
    "Salsa",
    "Thrash Metal",
    "Anime",
    "JPop",
    "Synthpop",
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// The index a reference "(inside)" stands for: 0 to 999 for digits, -1 for
// RX and CR, none when `inside` is no reference.
template <typename Char>
std::optional<int> ReferenceIndex(std::basic_string_view<Char> inside) {
  const bool remixOrCover = inside.size() == 2 && ((inside[0] == 'R' && inside[1] == 'X') ||
                                                   (inside[0] == 'C' && inside[1] == 'R'));
  if (remixOrCover) return -1;
  constexpr size_t kMostDigits = 3;
  if (inside.empty() || inside.size() > kMostDigits) return std::nullopt;
  int index = 0;
  for (Char c : inside) {
    if (c < '0' || c > '9') return std::nullopt;
    index = index * 10 + static_cast<int>(c - '0');
  }
  return index;
}

template <typename Char>
FrameGenre ParseFrameText(std::basic_string_view<Char> text) {
  const size_t end = text.size();
  // Version 2.4's bare number.
  if (std::optional<int> bare = ReferenceIndex(text); bare && *bare >= 0) {
    return {GenreNameAt(*bare), end};
  }
  std::optional<int> last;
  size_t at = 0;
  while (at < end && text[at] == '(') {
    const size_t close = text.find(Char(')'), at + 1);
    if (close == std::basic_string_view<Char>::npos) break;
    const std::optional<int> index = ReferenceIndex(text.substr(at + 1, close - at - 1));
    if (!index) break;
    last = index;
    at = close + 1;
  }
  if (at == end) return {last ? GenreNameAt(*last) : nullptr, end};
  if (at + 1 < end && text[at] == '(' && text[at + 1] == '(') ++at;  // "((" is the text's "("
  return {nullptr, at};
}

}  // namespace

FrameGenre ParseGenreFrameText(std::string_view text) { return ParseFrameText(text); }
FrameGenre ParseGenreFrameText(std::u16string_view text) { return ParseFrameText(text); }

std::string GenreFrameText(std::string_view genre) {
  auto reference = [](int index) { return "(" + std::to_string(index) + ")"; };
  const uint8_t index = GenreIndexOf(genre);
  if (index != kNoGenre) return reference(index) + std::string(genre);
  const FrameGenre asWritten = ParseGenreFrameText(genre);
  if (!genre.empty() && !asWritten.name && asWritten.textBegin == 0) return std::string(genre);
  if (!genre.empty() && genre.front() == '(') return "(" + std::string(genre);
  return reference(kNoGenre) + std::string(genre);
}

const char* GenreNameAt(int index) {
  return (index >= 0 && index < kGenreCount) ? kGenreNames[index] : nullptr;
}

uint8_t GenreIndexOf(std::string_view text) {
  for (int i = 0; i < kGenreCount; ++i) {
    if (EqualIgnoringCase(text, kGenreNames[i])) return static_cast<uint8_t>(i);
  }
  return kNoGenre;
}
