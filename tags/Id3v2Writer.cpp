#include "tags/Id3v2Writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mp3/FrameHeader.h"
#include "platform/ByteReader.h"
#include "platform/io/ReadWrite.h"
#include "platform/io/RegularFile.h"
#include "tags/FrameTable.h"
#include "tags/Genres.h"
#include "tags/IFileStream.h"
#include "tags/SyncSafe.h"
#include "tags/TagFieldList.h"
#include "tags/TextConvert.h"

namespace {

constexpr uint8_t kWrittenVersion = 3;
// The two text encodings version 2.3 has: ISO-8859-1, written only for ASCII
// (which no reader takes for anything else), and UTF-16 with a byte-order
// mark for all other text.
constexpr uint8_t kAsciiEncoding = 0;
constexpr uint8_t kUtf16Encoding = 1;
constexpr uint8_t kLittleEndianMark[2] = {0xFF, 0xFE};
constexpr char kCommentLanguage[] = "eng";
constexpr char kPictureId[] = "APIC";
constexpr size_t kFrameHeaderSize = 10;
constexpr uint32_t kLargestTagSize = 0x0FFFFFFF;  // what 28 sync-safe bits hold
constexpr size_t kCopyBlock = 4096;
constexpr int64_t kAudioSearchPositions = 65536;
constexpr int kMostLeadingTags = 16;

// The 2.3/2.4 frame id a tag field is written as.
const char* FrameIdOf(int32_t key) {
  Id3FrameKey frameKey;
  switch (key) {
    case TAG_TITLE: frameKey = ID3_FRAME_TIT2; break;
    case TAG_ARTIST: frameKey = ID3_FRAME_TPE1; break;
    case TAG_ALBUM: frameKey = ID3_FRAME_TALB; break;
    case TAG_TRACK: frameKey = ID3_FRAME_TRCK; break;
    case TAG_YEAR: frameKey = ID3_FRAME_TYER; break;
    case TAG_GENRE: frameKey = ID3_FRAME_TCON; break;
    case TAG_COMMENT: frameKey = ID3_FRAME_COMM; break;
    default: return nullptr;
  }
  const Id3FrameDef* row = FindFrameDefByKey(frameKey);
  return row ? row->id23 : nullptr;
}

// A regular file only: a FIFO left under the output's name would take the
// audio and block the writer for good.
int CreateOutput(const char* path) { return OpenRegularFile(path, O_RDWR | O_CREAT | O_TRUNC); }

// The size of an ID3v2 tag (header, body, footer) whose header is `h`, or 0
// when `h` is no tag header.
int64_t Id3v2TagLength(const uint8_t* h) {
  if (std::memcmp(h, "ID3", 3) != 0 || h[3] == 0xFF || h[4] == 0xFF) return 0;
  if (!IsSyncSafe(h + 6)) return 0;
  return int64_t{DecodeSyncSafe(h + 6)} + 10 + ((h[5] & 0x10) ? 10 : 0);
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// Appends one string in the encoding, with its NUL when `terminated`. False
// when the text cannot be converted.
bool AppendString(std::vector<uint8_t>& data, std::string_view utf8, uint8_t encoding, bool terminated) {
  if (encoding == kAsciiEncoding) {
    data.insert(data.end(), utf8.begin(), utf8.end());
    if (terminated) data.push_back(0);
    return true;
  }
  const std::optional<std::u16string> units = Utf8ToWide(utf8);
  if (!units) return false;
  data.insert(data.end(), std::begin(kLittleEndianMark), std::end(kLittleEndianMark));
  for (const char16_t unit : *units) {
    data.push_back(static_cast<uint8_t>(unit & 0xFF));
    data.push_back(static_cast<uint8_t>(unit >> 8));
  }
  if (terminated) data.insert(data.end(), {0, 0});
  return true;
}

// The data of the frame a field is written as (encoding byte first). Empty
// when the field writes no frame, none when its text cannot be converted.
std::optional<std::vector<uint8_t>> FrameDataOf(const TagField& field) {
  std::optional<std::string> text = FieldUtf8Text(field);
  if (!text) return std::nullopt;
  if (field.key == TAG_YEAR) {
    const std::optional<std::string> year = YearOf(field);
    if (!year) return std::vector<uint8_t>();
    text = *year;
  } else if (field.key == TAG_GENRE) {
    text = GenreFrameText(*text);
  }
  const uint8_t encoding = IsAscii(*text) ? kAsciiEncoding : kUtf16Encoding;
  std::vector<uint8_t> data{encoding};
  if (field.key == TAG_COMMENT) {
    data.insert(data.end(), kCommentLanguage, kCommentLanguage + sizeof kCommentLanguage - 1);
    if (!AppendString(data, "", encoding, true)) return std::nullopt;  // empty description
  }
  if (!AppendString(data, *text, encoding, false)) return std::nullopt;
  return data;
}

// Appends a frame (header first) to the tag being built; false when it
// would take the tag past its largest size.
bool AppendFrameData(std::vector<uint8_t>& tag, const char* id, const std::vector<uint8_t>& data) {
  const size_t framesLength = tag.size() - CId3v2Writer::kHeaderSize;
  if (framesLength + kFrameHeaderSize + data.size() > kLargestTagSize) return false;
  const size_t at = tag.size();
  tag.resize(at + kFrameHeaderSize, 0);  // bytes 8 and 9: no frame flags
  std::memcpy(tag.data() + at, id, 4);
  PutBe32(tag.data() + at + 4, static_cast<uint32_t>(data.size()));
  tag.insert(tag.end(), data.begin(), data.end());
  return true;
}

// Appends the frame a field is written as. False when the field cannot be
// written: no frame id, text that does not convert, or no room left in the tag.
bool AppendFrame(std::vector<uint8_t>& tag, const TagField& field) {
  const char* id = FrameIdOf(field.key);
  if (!id) return false;
  const std::optional<std::vector<uint8_t>> data = FrameDataOf(field);
  if (!data) return false;
  return data->empty() || AppendFrameData(tag, id, *data);
}

}  // namespace

std::vector<uint8_t> BuildId3v2Tag(const CTagFieldList& fields, const std::vector<std::vector<uint8_t>>& pictures) {
  std::vector<uint8_t> tag(CId3v2Writer::kHeaderSize, 0);
  std::memcpy(tag.data(), "ID3", 3);
  tag[3] = kWrittenVersion;  // revision and flags stay 0
  for (const TagField* field = fields.Head(); field; field = field->next) {
    if (!AppendFrame(tag, *field)) break;  // a frame that cannot be written ends the list
  }
  for (const std::vector<uint8_t>& picture : pictures) AppendFrameData(tag, kPictureId, picture);
  const size_t minimumLength = CId3v2Writer::kHeaderSize + CId3v2Writer::kMinimumFramesLength;
  if (tag.size() < minimumLength) tag.resize(minimumLength, 0);
  EncodeSyncSafe(static_cast<uint32_t>(tag.size() - CId3v2Writer::kHeaderSize), tag.data() + 6);
  return tag;
}

std::optional<std::string> FieldUtf8Text(const TagField& field) {
  if (field.wide) return WideToUtf8(*field.wide);
  if (field.narrow) return AnsiToUtf8(*field.narrow);
  return std::nullopt;
}

bool CId3v2Writer::Open(const char* utf8Name, IFileStream* source) {
  Close();
  if (!utf8Name || !source) return false;
  UniqueFd output(CreateOutput(utf8Name));
  if (!output.IsOpen()) return false;
  const bool opened = Open(output.Get(), source);
  m_ownFile = std::move(output);
  return opened;
}

bool CId3v2Writer::Open(int fd, IFileStream* source) {
  Close();
  if (fd < 0 || !source) return false;
  m_fd = fd;
  source->AddRef();
  m_source = source;
  std::memset(m_header, 0, sizeof m_header);
  std::memcpy(m_header, "ID3", 3);
  m_header[3] = kWrittenVersion;  // revision, flags and size stay 0
  m_framesLength = 0;
  return WriteAt(m_header, kHeaderSize, 0);
}

bool CId3v2Writer::Open(const char16_t* wideName, IFileStream* source) {
  std::optional<std::string> name = wideName ? WideToUtf8(wideName) : std::nullopt;
  if (!name) {
    Close();
    return false;
  }
  return Open(name->c_str(), source);
}

void CId3v2Writer::Close() {
  m_fd = -1;
  m_ownFile.Close();
  if (m_source) {
    m_source->Release();
    m_source = nullptr;
  }
}

bool CId3v2Writer::Flush() { return m_fd >= 0 && ::fsync(m_fd) == 0; }

bool CId3v2Writer::WriteAt(const void* bytes, size_t count, int64_t offset) {
  return PWriteAll(m_fd, bytes, count, offset);
}

bool CId3v2Writer::WriteTagAndAudio(const CTagFieldList& fields) {
  if (m_fd < 0 || !m_source) return false;
  const std::vector<uint8_t> tag = BuildId3v2Tag(fields);
  if (!WriteAt(tag.data(), tag.size(), 0)) return false;
  std::memcpy(m_header, tag.data(), kHeaderSize);
  m_framesLength = static_cast<uint32_t>(tag.size() - kHeaderSize);
  return CopyAudio();
}

bool CId3v2Writer::CopyAudio() {
  if (!m_source->HasByteData()) return false;
  const int64_t start = FindAudioStart(m_source);
  const int64_t size = m_source->Size();
  if (start < 0 || size < start || m_source->Seek(start, FILE_BEGIN) != start) return false;
  uint8_t block[kCopyBlock];
  int64_t total = 0;
  int64_t offset = int64_t{kHeaderSize} + m_framesLength;
  for (;;) {
    uint32_t got = 0;
    if (!m_source->Read(block, sizeof block, &got) || got == 0) break;
    if (!WriteAt(block, got, offset)) return false;
    offset += got;
    total += got;
  }
  return total == size - start;
}

int64_t FindAudioStart(IFileStream* source) {
  if (!source || !source->HasByteData()) return -1;
  const int64_t size = source->Size();
  if (size < 0) return -1;
  // Past the ID3v2 tags at the start: the old tag is replaced, not copied.
  int64_t start = 0;
  for (int i = 0; i < kMostLeadingTags && start < size; ++i) {
    uint8_t header[CId3v2Writer::kHeaderSize];
    if (source->Seek(start, FILE_BEGIN) != start ||
        ReadUpTo(source, header, sizeof header) != sizeof header) {
      break;
    }
    const int64_t length = Id3v2TagLength(header);
    if (length == 0) break;
    start = std::min(size, start + length);
  }
  if (source->Seek(start, FILE_BEGIN) != start) return -1;
  std::vector<uint8_t> window(static_cast<size_t>(std::min<int64_t>(kAudioSearchPositions + 3, size - start)));
  const size_t got = ReadUpTo(source, window.data(), window.size());
  for (size_t i = 0; i + 4 <= got; ++i) {
    if (IsValidFrameHeader(mpeg::HeaderFromBytes(&window[i]))) return start + static_cast<int64_t>(i);
  }
  return start;
}
