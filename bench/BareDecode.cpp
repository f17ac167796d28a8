#include "bench/BareDecode.h"

#include <cstdio>

#include "mp3/HipDecoder.h"

int64_t DecodeBare(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  HipDecoder decoder;
  decoder.Init();
  mp3data_struct info{};
  static short left[1152], right[1152];
  unsigned char in[1024];
  int64_t total = 0;
  size_t got;
  while ((got = std::fread(in, 1, sizeof in, f)) > 0) {
    int n = decoder.Decode1Headers(in, got, left, right, &info);
    while (n > 0) {
      total += n;
      n = decoder.Decode1Headers(nullptr, 0, left, right, &info);
    }
  }
  std::fclose(f);
  return total;
}
