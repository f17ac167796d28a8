// Fuzz target: the MP3 reader on arbitrary bytes. Open, map several times to
// frame offsets, decode to the end, seek and decode again. Checks that what
// the reader reports stays inside the file and that no loop runs unbounded.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzScratch.h"
#include "mp3/Mp3Reader.h"

namespace {

// The shortest frame any valid header describes is 24 bytes, and one Read
// returns at most one frame's PCM plus what was staged before it.
size_t MostReads(size_t size) { return 2 * (size / 24 + 16); }

void ReadToEnd(CMp3Reader& reader, size_t size) {
  std::vector<uint8_t> buffer(8192);
  size_t reads = 0;
  for (;;) {
    const int n = reader.Read(buffer.data(), static_cast<int>(buffer.size()));
    FUZZ_CHECK(n >= -1 && n <= static_cast<int>(buffer.size()));
    if (n <= 0) break;
    FUZZ_CHECK(++reads <= MostReads(size));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzScratch::Get().Write("input.mp3", data, size);
  CMp3Reader reader;
  int rate = 0, bits = 0, channels = 0;
  if (!reader.Open(path.c_str(), &rate, &bits, &channels)) {
    FUZZ_CHECK(!reader.IsOpen());
    return 0;
  }
  FUZZ_CHECK(bits == 16);
  FUZZ_CHECK(channels == 1 || channels == 2);
  FUZZ_CHECK(rate >= 8000 && rate <= 48000);
  const Mp3StreamInfo& info = reader.GetStreamInfo();
  const auto fileSize = static_cast<int64_t>(size);
  FUZZ_CHECK(info.audioStart >= 0 && info.audioStart < fileSize);
  FUZZ_CHECK(info.audioSize >= 0);
  FUZZ_CHECK(info.audioEnd >= info.audioStart && info.audioEnd <= fileSize);
  const int duration = reader.GetDuration();
  FUZZ_CHECK(duration >= 0);

  // Offsets lie in the file and never go back as the time grows.
  FUZZ_CHECK(reader.TimeToOffset(-1) == -1);
  int64_t previous = -1;
  std::vector<double> times = {0.0, 1.0, 26.1, 500.0, duration / 2.0, static_cast<double>(duration), 1e7, 1e12};
  std::sort(times.begin(), times.end());
  for (double t : times) {
    const int64_t offset = reader.TimeToOffset(t);
    if (offset == -1) {
      FUZZ_CHECK(previous == -1);  // an empty index (Layer I) answers -1 throughout
      continue;
    }
    FUZZ_CHECK(offset >= info.audioStart && offset <= info.audioEnd);
    FUZZ_CHECK(offset >= previous);
    previous = offset;
  }

  ReadToEnd(reader, size);
  reader.Seek(duration / 3);
  std::vector<uint8_t> buffer(4608);
  for (int i = 0; i < 4 && reader.Read(buffer.data(), static_cast<int>(buffer.size())) > 0; ++i) {
  }
  reader.Seek(-1);
  ReadToEnd(reader, size);
  reader.Close();
  FUZZ_CHECK(reader.GetDuration() == 0);
  FUZZ_CHECK(reader.TimeToOffset(0) == -1);
  return 0;
}
