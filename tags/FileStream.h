// CFileStream: IFileStream over a POSIX file descriptor (64-bit offsets).
// Heap objects are reference counted (created with a count of 1, deleted by
// the Release that reaches 0); a local object may also be used without
// counting and closes its file when destroyed. Files are opened with
// O_CLOEXEC; a file held open can be unlinked or replaced by others. Only
// regular files open: a folder, a device or a FIFO is refused (without
// waiting on the FIFO).
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "tags/IFileStream.h"

class CFileStream : public IFileStream {
 public:
  CFileStream() = default;
  ~CFileStream() override;
  CFileStream(const CFileStream&) = delete;
  CFileStream& operator=(const CFileStream&) = delete;

  HRESULT QueryInterface(const InterfaceId& iid, void** object) override;
  uint32_t AddRef() override;
  uint32_t Release() override;

  HRESULT OpenA(const char* name, bool writable) override;
  HRESULT OpenW(const char16_t* name, bool writable) override;
  int ExistsA(const char* name) override;
  int ExistsW(const char16_t* name) override;
  HRESULT Close() override;
  int IsOpen() override { return m_fd >= 0 ? 1 : 0; }
  int HasByteData() override { return 1; }
  int IsEof() override { return m_eof ? 1 : 0; }
  const CTagFieldList* GetTagFields() override { return nullptr; }
  bool Read(void* buffer, uint32_t count, uint32_t* bytesRead) override;
  bool Write(const void* buffer, uint32_t count, uint32_t* bytesWritten) override;
  int64_t Seek(int64_t distance, SeekMethod method) override;
  int64_t Tell() override;
  int64_t Size() override;
  const char16_t* GetNameW() override { return m_wideName ? m_wideName->c_str() : nullptr; }
  const char* GetNameA() override { return m_ansiName ? m_ansiName->c_str() : nullptr; }

 private:
  // Opens the UTF-8 path; the caller records the name.
  HRESULT OpenPath(const std::string& path, bool writable);
  // First write on a read-only stream: reopen read-write at the same position.
  bool ReopenForWriting();
  // The path the kept name stands for.
  std::optional<std::string> KeptPath() const;

  std::atomic<uint32_t> m_refCount{1};
  int m_fd = -1;
  bool m_eof = false;
  std::optional<std::u16string> m_wideName;
  std::optional<std::string> m_ansiName;
  bool m_writable = false;
};
