// Fuzz target: the 128-byte ID3v1 record (shorter inputs are padded with
// zeros). Parsing it into fields and building a record from those fields
// must be stable: once a record has been built, building again from what
// it parses into gives the same fields (trailing blanks are padding, so the
// bytes may differ).
#include <cstring>

#include "fuzz/FieldsCheck.h"
#include "fuzz/FuzzScratch.h"
#include "tags/Id3v1Record.h"

namespace {

bool SameFields(const CTagFieldList& a, const CTagFieldList& b) {
  const TagField* x = a.Head();
  const TagField* y = b.Head();
  for (; x && y; x = x->next, y = y->next) {
    if (x->key != y->key || x->narrow != y->narrow || x->wide != y->wide) return false;
  }
  return !x && !y;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Id3v1Record record = Id3v1Record::Blank();
  std::memcpy(record.bytes, data, size < Id3v1Record::kSize ? size : Id3v1Record::kSize);
  const char* genre = GenreName(record);
  if (genre) FUZZ_CHECK(record.HasTag());

  CTagFieldList fields;
  ParseId3v1(record, fields);
  CheckFieldList(fields);
  if (!record.HasTag()) FUZZ_CHECK(fields.Empty());

  const Id3v1Record built = BuildId3v1(fields);
  FUZZ_CHECK(built.HasTag());
  FUZZ_CHECK(built.bytes[Id3v1Record::kTrackMarkerOffset] == 0);
  CTagFieldList again;
  ParseId3v1(built, again);
  CheckFieldList(again);
  CTagFieldList third;
  ParseId3v1(BuildId3v1(again), third);
  FUZZ_CHECK(SameFields(again, third));
  return 0;
}
