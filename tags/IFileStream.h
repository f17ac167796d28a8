// IFileStream: the byte stream the tag layer reads and rewrites files
// through. Positions and sizes are 64-bit. Read and Write report success as
// bool and the bytes moved through their out-parameter; Seek and Tell return
// the position, or kInvalidPosition on failure. The stream remembers the name
// it was opened with so that a rewrite knows which file to replace.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "tags/Unknown.h"

class CTagFieldList;

// {6A0DAFE7-3B09-4341-837B-26460EC19046}
inline constexpr InterfaceId IID_IFileStream = {0x6A0DAFE7, 0x3B09, 0x4341,
                                                {0x83, 0x7B, 0x26, 0x46, 0x0E, 0xC1, 0x90, 0x46}};

// Origins of Seek.
enum SeekMethod : int { FILE_BEGIN = 0, FILE_CURRENT = 1, FILE_END = 2 };

inline constexpr int64_t kInvalidPosition = -1;

class IFileStream : public IUnknown {
 public:
  // Opens a file by its UTF-8 name. Writable: created, or emptied when it
  // exists; otherwise it must exist. E_FAIL leaves the stream closed.
  virtual HRESULT OpenA(const char* name, bool writable) = 0;
  // The same with a UTF-16 name.
  virtual HRESULT OpenW(const char16_t* name, bool writable) = 0;
  // 1 when the name is an existing file that is not a folder, else 0.
  virtual int ExistsA(const char* name) = 0;
  virtual int ExistsW(const char16_t* name) = 0;
  // Closes the file and forgets the names; the writable flag stays.
  virtual HRESULT Close() = 0;
  virtual int IsOpen() = 0;
  // 1: the stream is a file of bytes (tag readers need one).
  virtual int HasByteData() = 0;
  // Set by a successful Read of 0 bytes, cleared by Seek.
  virtual int IsEof() = 0;
  // A ready-made field list, for streams that are not byte data; null here.
  virtual const CTagFieldList* GetTagFields() = 0;
  virtual bool Read(void* buffer, uint32_t count, uint32_t* bytesRead) = 0;
  // On a stream opened read-only the file is first reopened for writing.
  virtual bool Write(const void* buffer, uint32_t count, uint32_t* bytesWritten) = 0;
  virtual int64_t Seek(int64_t distance, SeekMethod method) = 0;
  virtual int64_t Tell() = 0;
  // The file's size, or kInvalidPosition when closed.
  virtual int64_t Size() = 0;
  // The name the stream was opened with, in the form it was given; null for
  // the other form and when closed.
  virtual const char16_t* GetNameW() = 0;
  virtual const char* GetNameA() = 0;
};

// Reads up to `count` bytes, in pieces one Read can take; the number that
// arrived (fewer only at the end of the file or on a failed read).
inline size_t ReadUpTo(IFileStream* stream, uint8_t* buffer, size_t count) {
  constexpr size_t kLargestRead = 1u << 20;
  size_t total = 0;
  while (total < count) {
    uint32_t got = 0;
    const size_t piece = std::min(count - total, kLargestRead);
    if (!stream->Read(buffer + total, static_cast<uint32_t>(piece), &got) || got == 0) break;
    total += got;
  }
  return total;
}
