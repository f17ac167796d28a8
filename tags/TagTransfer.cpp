#include "tags/TagTransfer.h"

#include "tags/FileStream.h"
#include "tags/Id3v2Fields.h"
#include "tags/Id3v2Pictures.h"
#include "tags/Id3v2Reader.h"
#include "tags/RewriteWithTags.h"

CTagTransfer::CTagTransfer() = default;

CTagTransfer::~CTagTransfer() {
  if (m_stream) {
    m_stream->Release();
    m_stream = nullptr;
  }
  m_record.reset();
  if (m_reader) {
    m_reader->Clear();
    m_reader.reset();
  }
  m_fields.Clear();
}

bool CTagTransfer::SourceOpened() const { return m_stream && m_stream->IsOpen(); }

int CTagTransfer::Id3v2Version() const {
  return (m_reader && m_reader->HasTag()) ? m_reader->Version() : -1;
}

std::vector<std::vector<uint8_t>> CTagTransfer::Pictures() const {
  return m_reader ? PicturesOf(*m_reader) : std::vector<std::vector<uint8_t>>();
}

bool CTagTransfer::ReadFrom(const char* utf8Path) {
  if (m_stream) return false;
  m_stream = new CFileStream;
  if (m_stream->OpenA(utf8Path, false) != S_OK) return false;

  m_record = Id3v1Record::Blank();
  if (m_stream->Seek(-static_cast<int64_t>(Id3v1Record::kSize), FILE_END) != kInvalidPosition) {
    uint32_t got = 0;
    Id3v1Record read;
    if (m_stream->Read(read.bytes, Id3v1Record::kSize, &got) && got == Id3v1Record::kSize) {
      m_record = read;
    }
  }
  if (TakeFields() != S_OK) return false;
  return !m_fields.Empty();
}

HRESULT CTagTransfer::TakeFields() {
  if (!m_stream || !m_stream->IsOpen()) return E_FAIL;
  m_fields.Clear();
  if (!m_stream->HasByteData()) {
    // A stream that is not a file of bytes supplies its own fields.
    if (const CTagFieldList* ready = m_stream->GetTagFields()) {
      for (const TagField* field = ready->Head(); field; field = field->next) {
        if (field->wide) {
          m_fields.SetWideText(field->key, field->wide->c_str());
        } else if (field->narrow) {
          m_fields.SetText(field->key, field->narrow->c_str());
        }
      }
    }
    return S_OK;
  }
  if (!m_reader) m_reader = std::make_unique<CId3v2Reader>();
  m_reader->Read(m_stream);
  const bool hasId3v1 = m_record && m_record->HasTag();
  if (hasId3v1 || m_reader->HasTag()) {
    if (hasId3v1) ParseId3v1(*m_record, m_fields);
    TakeId3v2Fields(*m_reader, m_fields);
  }
  return S_OK;
}

bool CTagTransfer::WriteTo(const char* utf8Path, bool withId3v1, bool withId3v2) {
  if (!m_stream) return false;
  CFileStream target;
  if (target.OpenA(utf8Path, false) != S_OK) return false;
  const HRESULT result = RewriteWithTags(&target, m_fields, withId3v1, withId3v2);
  target.Close();
  return result == S_OK;
}
