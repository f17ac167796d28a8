// Takes the seven tag fields out of a read ID3v2 tag, on top of what the
// list already holds (the ID3v1 fields, read first): a value found here
// replaces the field's text in place. Steps, each on the first frame with
// the key: TIT2, TPE1, TALB, TYER (TDRC when no TYER gives a year), then TCON,
// COMM and TRCK. Text frames count only with non-empty text. TCON gives the
// text after its genre references ("(17)Rock" gives "Rock", "Rock (Live)"
// stays whole); a text that is only references to the genre table, "(17)"
// or "17", gives the genre's name (Genres.h).
// COMM is the first comment without a description (else the first comment)
// and is stored even when empty.
#pragma once

class CId3v2Reader;
class CTagFieldList;

void TakeId3v2Fields(const CId3v2Reader& reader, CTagFieldList& fields);
