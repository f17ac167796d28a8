#include "fuzz/FieldsInput.h"

#include <algorithm>

#include "tags/TextConvert.h"

void FieldsFromInput(const uint8_t* data, size_t size, CTagFieldList& fields) {
  fields.Clear();
  if (size < 2) return;
  const uint8_t present = data[0];
  const uint8_t narrow = data[1];
  size_t pos = 2;
  for (int key = 0; key < kTagFieldKeyCount; ++key) {
    if (!(present & (1u << key))) continue;
    const uint8_t* begin = data + std::min(pos, size);
    const uint8_t* end = std::find(begin, data + size, uint8_t{0});
    const std::string text(reinterpret_cast<const char*>(begin), static_cast<size_t>(end - begin));
    pos += text.size() + 1;
    if (narrow & (1u << key)) {
      fields.SetText(key, text.c_str());
    } else if (std::optional<std::u16string> wide = Utf8ToWide(text)) {
      fields.SetWideText(key, wide->c_str());
    }
  }
}

std::vector<uint8_t> InputFromFields(const std::vector<InputField>& fields) {
  std::vector<uint8_t> input(2, 0);
  std::vector<const InputField*> byKey(kTagFieldKeyCount, nullptr);
  for (const InputField& f : fields) {
    if (f.key < 0 || f.key >= kTagFieldKeyCount) continue;
    byKey[static_cast<size_t>(f.key)] = &f;
    input[0] |= static_cast<uint8_t>(1u << f.key);
    if (f.narrow) input[1] |= static_cast<uint8_t>(1u << f.key);
  }
  for (const InputField* f : byKey) {
    if (!f) continue;
    input.insert(input.end(), f->bytes.begin(), f->bytes.end());
    input.push_back(0);
  }
  return input;
}
