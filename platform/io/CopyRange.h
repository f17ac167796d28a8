// Copying a byte range from one file into another, by the kernel where it
// can (splice through a pipe, else copy_file_range), else through a small
// buffer. Every read and write is checked: a source that ends before the
// range does, a full disk or a size limit make the copy fail.
#pragma once

#include <cstdint>

// Copies [from, to) of `in` (read at those offsets; its file position is not
// used) to `out` at its file position. True when every byte arrived;
// `*copied` counts the bytes copied either way. After a failure errno holds
// the reason, or 0 when the source ended early.
bool CopyRange(int in, int out, int64_t from, int64_t to, int64_t* copied);
