// FuzzScratch: a private folder (on /dev/shm when there is one, so the
// fuzzers do no disk I/O) where a fuzz target writes each input as a file
// before handing its path to code that reads files. Removed at exit.
//
// Also the check every target uses: FUZZ_CHECK aborts (a libFuzzer finding)
// with the failed condition when a property of the code does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                     \
  do {                                                                            \
    if (!(condition)) {                                                           \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                               \
    }                                                                             \
  } while (0)

class FuzzScratch {
 public:
  // The process's scratch folder, made on first use.
  static FuzzScratch& Get();

  // Writes `bytes` to `name` in the folder (replacing it); its path.
  std::string Write(const std::string& name, const uint8_t* bytes, size_t size);
  std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }
  const std::string& Folder() const { return m_folder; }

 private:
  FuzzScratch();
  std::string m_folder;
};
