#include "bench/BareDecode.h"

#include <mpg123.h>

#include <cstdio>

int64_t DecodeBare(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  mpg123_param(handle, MPG123_FLAGS, MPG123_QUIET, 0);
  mpg123_open_feed(handle);
  unsigned char in[1024];
  int64_t total = 0;
  size_t got;
  while ((got = std::fread(in, 1, sizeof in, f)) > 0) {
    mpg123_feed(handle, in, got);
    for (;;) {
      off_t frame = 0;
      unsigned char* audio = nullptr;
      size_t bytes = 0;
      const int status = mpg123_decode_frame(handle, &frame, &audio, &bytes);
      if (status == MPG123_NEW_FORMAT) continue;
      if (status != MPG123_OK) break;
      total += static_cast<int64_t>(bytes / 4);
    }
  }
  mpg123_delete(handle);
  std::fclose(f);
  return total;
}
