#include "tags/FrameTable.h"

#include <cstring>

const Id3FrameDef kFrameTable[kFrameTableRows + 1] = {
    {1, "CRA", "AENC", false, "Audio encryption"},
    {2, "PIC", "APIC", true, "Attached picture"},
    {4, "COM", "COMM", true, "Comments"},
    {5, nullptr, "COMR", false, "Commercial"},
    {6, nullptr, "ENCR", false, "Encryption method registration"},
    {8, "EQU", "EQUA", false, "Equalization"},
    {9, "ETC", "ETCO", false, "Event timing codes"},
    {10, "GEO", "GEOB", true, "General encapsulated object"},
    {11, nullptr, "GRID", false, "Group identification registration"},
    {12, "IPL", "IPLS", true, "Involved people list"},
    {13, "LNK", "LINK", false, "Linked information"},
    {14, "MCI", "MCDI", false, "Music CD identifier"},
    {15, "MLL", "MLLT", false, "MPEG location lookup table"},
    {16, nullptr, "OWNE", false, "Ownership frame"},
    {17, nullptr, "PRIV", false, "Private frame"},
    {18, "CNT", "PCNT", false, "Play counter"},
    {19, "POP", "POPM", false, "Popularimeter"},
    {20, nullptr, "POSS", false, "Position synchronisation frame"},
    {21, "BUF", "RBUF", false, "Recommended buffer size"},
    {23, "RVA", "RVAD", false, "Relative volume adjustment"},
    {24, "REV", "RVRB", false, "Reverb"},
    {27, "SLT", "SYLT", true, "Synchronized lyric/text"},
    {28, "STC", "SYTC", false, "Synchronized tempo codes"},
    {29, "TAL", "TALB", true, "Album/Movie/Show title"},
    {30, "TBP", "TBPM", true, "BPM (beats per minute)"},
    {31, "TCM", "TCOM", true, "Composer"},
    {32, "TCO", "TCON", true, "Content type"},
    {33, "TCR", "TCOP", true, "Copyright message"},
    {34, "TDA", "TDAT", true, "Date"},
    {36, "TDY", "TDLY", true, "Playlist delay"},
    {42, "TEN", "TENC", true, "Encoded by"},
    {43, "TXT", "TEXT", true, "Lyricist/Text writer"},
    {44, "TFT", "TFLT", true, "File type"},
    {45, "TIM", "TIME", true, "Time"},
    {46, "TT1", "TIT1", true, "Content group description"},
    {47, "TT2", "TIT2", true, "Title/songname/content description"},
    {48, "TT3", "TIT3", true, "Subtitle/Description refinement"},
    {49, "TKE", "TKEY", true, "Initial key"},
    {50, "TLA", "TLAN", true, "Language(s)"},
    {51, "TLE", "TLEN", true, "Length"},
    {53, "TMT", "TMED", true, "Media type"},
    {55, "TOT", "TOAL", true, "Original album/movie/show title"},
    {56, "TOF", "TOFN", true, "Original filename"},
    {57, "TOL", "TOLY", true, "Original lyricist(s)/text writer(s)"},
    {58, "TOA", "TOPE", true, "Original artist(s)/performer(s)"},
    {59, "TOR", "TORY", true, "Original release year"},
    {60, nullptr, "TOWN", true, "File owner/licensee"},
    {61, "TP1", "TPE1", true, "Lead performer(s)/Soloist(s)"},
    {62, "TP2", "TPE2", true, "Band/orchestra/accompaniment"},
    {63, "TP3", "TPE3", true, "Conductor/performer refinement"},
    {64, "TP4", "TPE4", true, "Interpreted, remixed, or otherwise modified by"},
    {65, "TPA", "TPOS", true, "Part of a set"},
    {67, "TPB", "TPUB", true, "Publisher"},
    {68, "TRK", "TRCK", true, "Track number/Position in set"},
    {69, "TRD", "TRDA", true, "Recording dates"},
    {70, "TRN", "TRSN", true, "Internet radio station name"},
    {71, "TRO", "TRSO", true, "Internet radio station owner"},
    {72, "TSI", "TSIZ", true, "Size"},
    {76, "TRC", "TSRC", true, "ISRC (international standard recording code)"},
    {77, "TSS", "TSSE", true, "Software/Hardware and settings used for encoding"},
    {79, "TXX", "TXXX", true, "User defined text information"},
    {80, "TYE", "TYER", true, "Year"},
    {81, "UFI", "UFID", false, "Unique file identifier"},
    {82, nullptr, "USER", true, "Terms of use"},
    {83, "ULT", "USLT", true, "Unsynchronized lyric/text transcription"},
    {84, "WCM", "WCOM", false, "Commercial information"},
    {85, "WCP", "WCOP", false, "Copyright/Legal infromation"},
    {86, "WAF", "WOAF", false, "Official audio file webpage"},
    {87, "WAR", "WOAR", false, "Official artist/performer webpage"},
    {88, "WAS", "WOAS", false, "Official audio source webpage"},
    {89, "WRA", "WORS", false, "Official internet radio station homepage"},
    {90, "WPY", "WPAY", false, "Payment"},
    {91, "WPB", "WPUB", false, "Official publisher webpage"},
    {92, "WXX", "WXXX", true, "User defined URL link"},
    {93, "CRM", nullptr, false, "Encrypted meta frame"},
    {94, "CDM", nullptr, false, "Compressed data meta frame"},
    {0, nullptr, nullptr, false, nullptr},
};

bool FindFrameDefById(const char* id, int length, Id3FrameKey* key, bool* isText) {
  if (!id || (length != 3 && length != 4)) return false;
  for (const Id3FrameDef& row : kFrameTable) {
    const char* rowId = length == 3 ? row.id22 : row.id23;
    if (!rowId || std::memcmp(rowId, id, static_cast<size_t>(length)) != 0) continue;
    if (key) *key = row.key;
    if (isText) *isText = row.isText;
    return true;
  }
  return false;
}

const Id3FrameDef* FindFrameDefByKey(Id3FrameKey key) {
  for (const Id3FrameDef& row : kFrameTable) {
    if (row.key == key && (row.id22 || row.id23)) return &row;
  }
  return nullptr;
}
