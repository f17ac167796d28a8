#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/CliCommon.h"
#include "tests/support/TestFiles.h"
#include "tools/SignalEncoder.h"

namespace {

struct CliRun {
  int status;
  std::string out;
};

// Runs padocut-cli with `args` (already shell-quoted), capturing stdout.
CliRun Cli(const std::string& args) {
  const std::string cmd = BuildDir() + "/padocut-cli " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  CliRun r{-1, {}};
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

// The number after "key": in JSON text; -1 when absent.
double JsonNumber(const std::string& json, const std::string& key) {
  const size_t at = json.find("\"" + key + "\": ");
  return at == std::string::npos ? -1 : std::atof(json.c_str() + at + key.size() + 4);
}

// ffprobe's duration of `path` in ms; -1 when ffprobe is not installed.
double FfprobeMs(const std::string& path) {
  FILE* p = popen(("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null").c_str(), "r");
  char text[64] = {};
  const bool read = p && std::fgets(text, sizeof text, p);
  if (p) pclose(p);
  return read ? std::atof(text) * 1000 : -1;
}

}  // namespace

TEST(CliTimes, AcceptsMillisecondsAndClockForms) {
  EXPECT_EQ(ParseTimeMs("1500"), 1500);
  EXPECT_EQ(ParseTimeMs("-1"), -1);
  EXPECT_EQ(ParseTimeMs("1.5"), 1500);
  EXPECT_EQ(ParseTimeMs("1.05"), 1050);
  EXPECT_EQ(ParseTimeMs("0:01.500"), 1500);
  EXPECT_EQ(ParseTimeMs("2:03"), 123000);
  EXPECT_EQ(ParseTimeMs("01:00:00"), 3600000);
  EXPECT_EQ(ParseTimeMs("1:02:03.004"), 3723004);
  EXPECT_EQ(ParseTimeMs("12.3456"), 12345);
}

TEST(CliTimes, RejectsMalformedText) {
  for (const char* bad : {"", "-", "abc", "1:", ":1", "1.", "1:2:3:4", "1:60", "1.2.3", "1e3", "1 2"}) {
    EXPECT_FALSE(ParseTimeMs(bad).has_value()) << bad;
  }
}

TEST(CliJson, EscapesControlsAndQuotes) {
  EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(JsonString("한글"), "\"한글\"");
}

TEST(CliCommands, InfoOffsetAndDecodeOnARealFile) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 2;
  const std::string path = dir.File("a b's.mp3");
  const std::vector<uint8_t> one = EncodeMp3(spec);
  ASSERT_TRUE(WriteFileBytes(path, one));
  const std::string quoted = "'" + dir.File("a b'\\''s.mp3") + "'";
  CliRun info = Cli("info " + quoted);
  EXPECT_EQ(info.status, 0);
  EXPECT_NE(info.out.find("\"sample_rate\": 44100"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"kind\": \"Info\""), std::string::npos) << info.out;
  CliRun off = Cli("offset " + quoted + " 0 0:00.5 -1");
  EXPECT_EQ(off.status, 0);
  EXPECT_EQ(off.out.substr(0, 2), "0\n");
  EXPECT_EQ(off.out.substr(off.out.size() - 3), "-1\n");
  CliRun dec = Cli("decode " + quoted);
  EXPECT_EQ(dec.status, 0);
  EXPECT_GE(dec.out.size(), 2u * 44100 * 4);
  // The file twice, then an ID3v1 record holding a 24-byte frame's sync
  // pattern: every frame counts (the second Info frame too, not the first
  // one's count), and offsets stop before the record.
  std::vector<uint8_t> two = one;
  Append(two, one);
  std::vector<uint8_t> record = {'T', 'A', 'G'};
  record.resize(128, 0);
  const uint8_t sync[] = {0xFF, 0xF3, 0x14, 0xC0};
  std::copy(sync, sync + 4, record.begin() + 104);
  const int64_t audio = static_cast<int64_t>(two.size());
  Append(two, record);
  ASSERT_TRUE(WriteFileBytes(dir.File("two.mp3"), two));
  const double frames = JsonNumber(info.out, "total_frames");
  EXPECT_EQ(JsonNumber(Cli("info " + dir.File("two.mp3")).out, "total_frames"), 2 * (frames + 1));
  EXPECT_EQ(Cli("offset " + dir.File("two.mp3") + " 1:00").out, std::to_string(audio) + "\n");
}

TEST(CliCommands, FailuresAndUsageErrorsHaveTheirStatus) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("junk.mp3"), std::vector<uint8_t>(3000, 0x55)));
  EXPECT_EQ(Cli("info " + dir.File("junk.mp3")).status, 1);
  EXPECT_EQ(Cli("info " + dir.File("missing.mp3")).status, 1);
  EXPECT_EQ(Cli("decode " + dir.Path()).status, 1);
  EXPECT_EQ(Cli("offset " + dir.File("junk.mp3") + " 12").status, 1);
  EXPECT_EQ(Cli("offset " + dir.File("junk.mp3") + " soon").status, 2);
  EXPECT_EQ(Cli("info").status, 2);
  EXPECT_EQ(Cli("nosuch").status, 2);
  EXPECT_EQ(Cli("").status, 2);
  EXPECT_EQ(Cli("info --help").status, 0);
}

// A 5-second cut of a VBR source with a Xing (or VBRI) header and of a CBR
// one with an Info header claims 5 s, from the first frame as from inside;
// --frames-only copies exactly the frames.
TEST(CliCommands, CutsClaimTheirOwnLengthAndFramesOnlyCopiesTheFrames) {
  TempDir dir;
  const bool ffprobe = std::system("ffprobe -version >/dev/null 2>&1") == 0;
  if (!ffprobe) std::printf("ffprobe is not installed: durations checked with info only\n");
  struct Source {
    EncodeSpec::Mode mode;
    bool vbri;         // LAME's Xing frame made a VBRI one
    const char* kind;  // of the cut's header
  };
  for (const Source& s : {Source{EncodeSpec::Mode::Vbr, false, "Xing"}, Source{EncodeSpec::Mode::Cbr, false, "Info"},
                          Source{EncodeSpec::Mode::Vbr, true, "Xing"}}) {
    EncodeSpec spec;
    spec.seconds = 12;
    spec.mode = s.mode;
    std::vector<uint8_t> bytes = EncodeMp3(spec);
    if (s.vbri) {
      // VBRI at byte 36, its byte count at 46 and frame count at 50.
      std::memset(&bytes[4], 0, 200);
      std::memcpy(&bytes[36], "VBRI", 4);
      for (auto [at, value] : {std::pair{46, bytes.size()}, std::pair{50, size_t{460}}}) {
        for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(at + i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
      }
    }
    const std::string source = dir.File("src.mp3");
    ASSERT_TRUE(WriteFileBytes(source, bytes));
    for (int start : {0, 3000}) {
      const std::string range = std::to_string(start) + " " + std::to_string(start + 5000);
      const std::string what = std::string(s.kind) + (s.vbri ? " from VBRI " : " ") + range;
      const CliRun offsets = Cli("offset " + source + " " + range);
      const long from = std::atol(offsets.out.c_str());
      const long to = std::atol(offsets.out.c_str() + offsets.out.find('\n') + 1);
      ASSERT_EQ(Cli("cut --frames-only " + source + " " + range + " " + dir.File("frames.mp3")).status, 0);
      const std::vector<uint8_t> frames(bytes.begin() + from, bytes.begin() + to);
      EXPECT_EQ(ReadFileBytes(dir.File("frames.mp3")), frames) << what;
      ASSERT_EQ(Cli("cut " + source + " " + range + " " + dir.File("cut.mp3")).status, 0) << what;
      const CliRun info = Cli("info " + dir.File("cut.mp3"));
      EXPECT_NE(info.out.find("\"kind\": \"" + std::string(s.kind) + "\""), std::string::npos) << info.out;
      EXPECT_NEAR(JsonNumber(info.out, "duration_ms"), 5000, 80) << what;
      if (ffprobe) {
        EXPECT_NEAR(FfprobeMs(dir.File("cut.mp3")), 5000, 80) << what;
      }
    }
  }
  EXPECT_EQ(Cli("cut --frames-only --vbr-header " + dir.File("src.mp3") + " 0 1 " + dir.File("x.mp3")).status, 2);
}
