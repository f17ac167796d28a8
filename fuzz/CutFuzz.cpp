// Fuzz target: the whole cut on a file made of the input, with and without
// the cut options (new VBR header, clean start, exact range, frames only).
// Byte 0 picks the options, bytes 1-4 the start and end times; the rest is
// the source. A cut either fails or writes a destination; the temporary
// duplicate, the staging file and any ".vuxtemp" never remain, and the
// source is never changed. A frames-only cut of a source without tags is
// exactly its frames.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzScratch.h"
#include "mp3/CutToFile.h"

namespace {

constexpr size_t kHeader = 5;

// Names in a folder (not . and ..).
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(d);
  }
  return names;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  uint8_t block[4096];
  for (ssize_t n; (n = read(fd, block, sizeof block)) > 0;) bytes.insert(bytes.end(), block, block + n);
  close(fd);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  FuzzScratch& scratch = FuzzScratch::Get();
  static const std::string work = [&] {
    const std::string folder = scratch.PathOf("cut");
    mkdir(folder.c_str(), 0755);
    const std::string tmp = scratch.PathOf("tmp");
    mkdir(tmp.c_str(), 0755);
    setenv("TMPDIR", tmp.c_str(), 1);
    return folder;
  }();
  CutOptions options;
  options.vbrHeader = data[0] & 1;
  options.cleanStart = data[0] & 2;
  options.exact = data[0] & 4;
  options.framesOnly = data[0] & 16;
  // Times in steps of 10 ms up to about 10 minutes; byte 0 bit 3 makes the
  // start "never set" (-1).
  const int start = (data[0] & 8) ? -1 : (data[1] << 8 | data[2]) * 10;
  const int end = (data[3] << 8 | data[4]) * 10;
  const uint8_t* file = data + kHeader;
  const size_t fileSize = size - kHeader;

  const std::string source = work + "/source.mp3";
  const std::string destination = work + "/cut.mp3";
  unlink(destination.c_str());
  {
    const int fd = open(source.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(write(fd, file, fileSize) == static_cast<ssize_t>(fileSize));
    close(fd);
  }
  CutReport report;
  const int result = CutToFile(source, destination, start, end, &report, options);
  FUZZ_CHECK(result == 0 || result == 1);
  const std::vector<uint8_t> sourceAfter = ReadAll(source);
  FUZZ_CHECK(sourceAfter.size() == fileSize && std::equal(sourceAfter.begin(), sourceAfter.end(), file));
  FUZZ_CHECK(Names(scratch.PathOf("tmp")).empty());
  const std::vector<std::string> names = Names(work);
  FUZZ_CHECK(names.size() == (result == 1 ? 2u : 1u));
  if (result == 1) {
    FUZZ_CHECK(report.error.empty());
    FUZZ_CHECK(report.startOffset >= 0 && report.startOffset < report.endOffset);
    FUZZ_CHECK(report.endOffset <= static_cast<int64_t>(fileSize));
    const std::vector<uint8_t> cut = ReadAll(destination);
    FUZZ_CHECK(static_cast<int64_t>(cut.size()) == report.outputSize);
    if (!options.Any() && options.framesOnly && !report.tagsCarried) {
      FUZZ_CHECK(cut.size() == static_cast<size_t>(report.endOffset - report.startOffset));
      FUZZ_CHECK(std::equal(cut.begin(), cut.end(), file + report.startOffset));
    }
  } else {
    FUZZ_CHECK(!report.error.empty());
  }
  return 0;
}
