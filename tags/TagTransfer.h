// CTagTransfer carries the tags of one source file into other files: it
// reads the source's ID3v1 record and ID3v2 tag into the seven-field list
// (ID3v2 values replace ID3v1 values field by field, each field keeping the
// place where it was first stored) and rewrites a target with them
// (RewriteWithTags.h). An object reads one source only.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "tags/Id3v1Record.h"
#include "tags/TagFieldList.h"
#include "tags/Unknown.h"

class CFileStream;
class CId3v2Reader;

class CTagTransfer {
 public:
  CTagTransfer();
  ~CTagTransfer();
  CTagTransfer(const CTagTransfer&) = delete;
  CTagTransfer& operator=(const CTagTransfer&) = delete;

  // True when the source has at least one of the seven fields. False also
  // when it cannot be opened, and on every call after the first.
  bool ReadFrom(const char* utf8Path);
  // Rewrites the target with the fields read; true when it was replaced.
  // False before ReadFrom; the target is unchanged on every failure.
  bool WriteTo(const char* utf8Path, bool withId3v1, bool withId3v2);

  const CTagFieldList& Fields() const { return m_fields; }
  // The source's attached pictures for a new tag (Id3v2Pictures.h), the
  // front cover first; none without an ID3v2 tag.
  std::vector<std::vector<uint8_t>> Pictures() const;
  // ReadFrom opened its source.
  bool SourceOpened() const;
  // The source ended with an ID3v1 record.
  bool HasId3v1() const { return m_record && m_record->HasTag(); }
  // The version byte of the source's ID3v2 tag, or -1 without one.
  int Id3v2Version() const;

 private:
  HRESULT TakeFields();

  CFileStream* m_stream = nullptr;
  CTagFieldList m_fields;
  std::optional<Id3v1Record> m_record;
  std::unique_ptr<CId3v2Reader> m_reader;
};
