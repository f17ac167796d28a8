// Replays every input kept under fuzz/regressions/<target>/ through the
// fuzz target's own checks, in the normal build (gcc, no libFuzzer): each
// finding of a fuzzing campaign stays a test after it is fixed. A failed
// check aborts the test program with the check's text.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

extern "C" int FuzzMp3Reader(const uint8_t* data, size_t size);
extern "C" int FuzzVbrHeader(const uint8_t* data, size_t size);
extern "C" int FuzzId3v2(const uint8_t* data, size_t size);
extern "C" int FuzzId3v1(const uint8_t* data, size_t size);
extern "C" int FuzzTagRoundTrip(const uint8_t* data, size_t size);
extern "C" int FuzzCommandLine(const uint8_t* data, size_t size);
extern "C" int FuzzCut(const uint8_t* data, size_t size);

namespace {

using Target = int (*)(const uint8_t*, size_t);

// The kept inputs of one target, by file name.
std::vector<std::string> KeptInputs(const std::string& target) {
  std::vector<std::string> files;
  std::error_code ec;
  const std::string folder = SourceDir() + "/fuzz/regressions/" + target;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  return files;
}

void Replay(const std::string& target, Target run, const std::vector<std::vector<uint8_t>>& inline_inputs) {
  for (const auto& input : inline_inputs) run(input.data(), input.size());
  for (const std::string& file : KeptInputs(target)) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> bytes = ReadFileBytes(file);
    run(bytes.data(), bytes.size());
  }
}

}  // namespace

TEST(FuzzReplay, Mp3Reader) { Replay("mp3_reader", FuzzMp3Reader, {{}, {0xFF, 0xFB, 0x90, 0x64}}); }
TEST(FuzzReplay, VbrHeader) { Replay("vbr_header", FuzzVbrHeader, {{}, std::vector<uint8_t>(192, 0xFF)}); }
TEST(FuzzReplay, Id3v2) { Replay("id3v2", FuzzId3v2, {{}, {'I', 'D', '3', 4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}}); }
TEST(FuzzReplay, Id3v1) { Replay("id3v1", FuzzId3v1, {{}, {'T', 'A', 'G'}}); }
TEST(FuzzReplay, TagRoundTrip) { Replay("tag_roundtrip", FuzzTagRoundTrip, {{}, {0x7F, 0x00, ')', 0, '(', 0}}); }
TEST(FuzzReplay, CommandLine) { Replay("command_line", FuzzCommandLine, {{}, {'"'}, {'"', '\\', '"'}}); }
TEST(FuzzReplay, Cut) { Replay("cut", FuzzCut, {{}, {0x0F, 0, 0, 0xFF, 0xFF, 0xFF, 0xFB, 0x90, 0x64}}); }
