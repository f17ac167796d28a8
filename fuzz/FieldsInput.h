// The input format of the tag round-trip fuzz target, shared with the seed
// maker: byte 0 says which of the seven fields are present (bit k for key
// k), byte 1 which of them hold narrow text (in the tag charset) rather than
// wide text; then the texts of the present fields in key order, separated
// by NUL bytes. Wide texts come from their bytes read as UTF-8 (leniently).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tags/TagFieldList.h"

// Fills `fields` (cleared first) from an input.
void FieldsFromInput(const uint8_t* data, size_t size, CTagFieldList& fields);

struct InputField {
  int key;
  bool narrow;
  std::string bytes;  // UTF-8 for wide fields, tag-charset bytes for narrow ones
};
// The input that FieldsFromInput turns into these fields.
std::vector<uint8_t> InputFromFields(const std::vector<InputField>& fields);
