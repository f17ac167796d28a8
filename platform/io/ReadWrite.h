// Whole reads and writes on a descriptor. Each call retries after EINTR and
// after a short transfer, so a caller sees either every byte moved or a
// failure with errno set (a write that moves nothing, a full disk, counts
// as ENOSPC).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

// Writes all `size` bytes at the file position. `written`, when given,
// receives the count that did arrive, also after a failure.
bool WriteAll(int fd, const void* data, size_t size, size_t* written = nullptr);
// Writes all `size` bytes at `offset`; the file position is not moved.
bool PWriteAll(int fd, const void* data, size_t size, int64_t offset);
// Reads up to `size` bytes from the file position, stopping early only at
// the end of the file; the count read, or -1 (errno set). `got`, when
// given, receives the count that did arrive, also after a failure.
ssize_t ReadUpTo(int fd, void* data, size_t size, size_t* got = nullptr);
// The same at `offset`; the file position is not moved.
ssize_t PReadUpTo(int fd, void* data, size_t size, int64_t offset);
