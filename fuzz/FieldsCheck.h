// The invariants of a tag field list that every tag fuzz target checks:
// keys are the seven fields, each at most once, linked both ways, each with
// exactly one text form, and no text holds a NUL.
#pragma once

#include "fuzz/FuzzScratch.h"
#include "tags/TagFieldList.h"

inline void CheckFieldList(const CTagFieldList& fields) {
  bool seen[kTagFieldKeyCount] = {};
  const TagField* previous = nullptr;
  int count = 0;
  for (const TagField* f = fields.Head(); f; f = f->next) {
    FUZZ_CHECK(++count <= kTagFieldKeyCount);
    FUZZ_CHECK(f->key >= 0 && f->key < kTagFieldKeyCount);
    FUZZ_CHECK(!seen[f->key]);
    seen[f->key] = true;
    FUZZ_CHECK(f->previous == previous);
    FUZZ_CHECK(f->narrow.has_value() != f->wide.has_value());
    if (f->narrow) FUZZ_CHECK(f->narrow->find('\0') == std::string::npos);
    if (f->wide) FUZZ_CHECK(f->wide->find(u'\0') == std::u16string::npos);
    previous = f;
  }
  FUZZ_CHECK(fields.Tail() == previous);
}
