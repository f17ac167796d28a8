// The in-process reference for the decoding benchmarks: libmpg123 in a bare
// feed loop over a file's bytes, read 1024 at a time as the reader reads
// them, with nothing done to the PCM.
#pragma once

#include <cstdint>
#include <string>

// Samples per channel decoded from the file (-1 when it cannot be read).
int64_t DecodeBare(const std::string& path);
