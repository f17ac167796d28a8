#include "tags/TagFieldList.h"

namespace {

template <typename Char>
std::basic_string<Char> CopyBounded(const Char* text, int64_t length) {
  size_t count = 0;
  while ((length < 0 || static_cast<int64_t>(count) < length) && text[count] != Char(0)) ++count;
  return std::basic_string<Char>(text, count);
}

template <typename Char>
std::optional<std::string> LeadingYear(const std::basic_string<Char>& text) {
  constexpr size_t kYearDigits = 4;
  if (text.size() < kYearDigits) return std::nullopt;
  std::string year;
  for (size_t i = 0; i < kYearDigits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    year.push_back(static_cast<char>(text[i]));
  }
  return year;
}

}  // namespace

std::optional<std::string> YearOf(const TagField& field) {
  if (field.narrow) return LeadingYear(*field.narrow);
  if (field.wide) return LeadingYear(*field.wide);
  return std::nullopt;
}

const TagField* CTagFieldList::Find(int32_t key) const {
  for (const TagField* field = m_head; field; field = field->next) {
    if (field->key == key) return field;
  }
  return nullptr;
}

TagField* CTagFieldList::FindOrAppend(int32_t key) {
  for (TagField* field = m_head; field; field = field->next) {
    if (field->key == key) return field;
  }
  auto* field = new TagField;
  field->key = key;
  field->previous = m_tail;
  if (m_tail) {
    m_tail->next = field;
  } else {
    m_head = field;
  }
  m_tail = field;
  return field;
}

void CTagFieldList::SetText(int32_t key, const char* text, int64_t length) {
  if (!text) {
    Remove(key);
    return;
  }
  TagField* field = FindOrAppend(key);
  field->wide.reset();
  field->narrow = CopyBounded(text, length);
}

void CTagFieldList::SetWideText(int32_t key, const char16_t* text, int64_t length) {
  if (!text) {
    Remove(key);
    return;
  }
  TagField* field = FindOrAppend(key);
  field->narrow.reset();
  field->wide = CopyBounded(text, length);
}

void CTagFieldList::SetNumber(int32_t key, int64_t value) {
  TagField* field = FindOrAppend(key);
  field->wide.reset();
  field->narrow = std::to_string(value);
}

bool CTagFieldList::Remove(int32_t key) {
  for (TagField* field = m_head; field; field = field->next) {
    if (field->key != key) continue;
    (field->previous ? field->previous->next : m_head) = field->next;
    (field->next ? field->next->previous : m_tail) = field->previous;
    delete field;
    return true;
  }
  return false;
}

void CTagFieldList::Clear() {
  while (m_head) {
    TagField* next = m_head->next;
    delete m_head;
    m_head = next;
  }
  m_tail = nullptr;
}
