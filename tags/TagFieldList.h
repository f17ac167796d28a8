// The tag model: an ordered list of up to seven text fields. A key occurs at
// most once; a field keeps the position at which its key was first stored,
// and storing a key again replaces its text in place. Each field holds
// either narrow text (the tag charset, TagCharset.h) or wide text (UTF-16),
// never both; texts never contain a NUL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum TagFieldKey : int32_t {
  TAG_TITLE = 0,
  TAG_ARTIST = 1,
  TAG_ALBUM = 2,
  TAG_TRACK = 3,
  TAG_YEAR = 4,
  TAG_GENRE = 5,
  TAG_COMMENT = 6,
};
inline constexpr int kTagFieldKeyCount = 7;

struct TagField {
  int32_t key = 0;
  std::optional<std::string> narrow;
  std::optional<std::u16string> wide;
  TagField* next = nullptr;
  TagField* previous = nullptr;
};

// The year a field's text gives a tag's four-digit year field: its first
// four characters when they are digits ("2004" of the date "2004-05-12"),
// none otherwise. (A digit byte is a digit in the narrow charsets too: the
// second byte of a CP949 character is never one.)
std::optional<std::string> YearOf(const TagField& field);

class CTagFieldList {
 public:
  CTagFieldList() = default;
  ~CTagFieldList() { Clear(); }
  CTagFieldList(const CTagFieldList&) = delete;
  CTagFieldList& operator=(const CTagFieldList&) = delete;

  const TagField* Find(int32_t key) const;
  // Null text removes the key. A negative length stores the whole text;
  // otherwise at most `length` bytes, ending early at a NUL.
  void SetText(int32_t key, const char* text, int64_t length = -1);
  // The same in UTF-16 units.
  void SetWideText(int32_t key, const char16_t* text, int64_t length = -1);
  // Stores the decimal text of `value`.
  void SetNumber(int32_t key, int64_t value);
  // True when the key was present.
  bool Remove(int32_t key);
  void Clear();

  bool Empty() const { return m_head == nullptr; }
  const TagField* Head() const { return m_head; }
  const TagField* Tail() const { return m_tail; }

 private:
  TagField* FindOrAppend(int32_t key);

  TagField* m_head = nullptr;
  TagField* m_tail = nullptr;
};
