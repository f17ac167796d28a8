#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

#include "cli/CliCommon.h"
#include "tests/support/TestFiles.h"
#include "tools/SignalEncoder.h"

namespace {

struct CliRun {
  int status;
  std::string out;
};

// Runs a shell command, capturing its stdout.
CliRun Shell(const std::string& command) {
  FILE* p = popen(command.c_str(), "r");
  CliRun r{-1, {}};
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

// Runs padocut-cli with `args` (already shell-quoted), capturing stdout.
CliRun Cli(const std::string& args) { return Shell(BuildDir() + "/padocut-cli " + args + " 2>/dev/null"); }

// Runs padocut-cli with `args`, capturing stderr (stdout goes to `stdoutTo`).
CliRun CliErr(const std::string& args, const std::string& stdoutTo = "/dev/null") {
  return Shell(BuildDir() + "/padocut-cli " + args + " 2>&1 >" + stdoutTo);
}

// Every line of `text` parsed as one JSON value.
std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
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
}

// The command line's own rules over TimeText: a bare integer is
// milliseconds (of any length of digits), and a sign makes any form negative.
TEST(CliTimes, BareIntegersAreMillisecondsAndASignNegates) {
  const struct {
    const char* text;
    TimeTextStatus status;
    int64_t ms;
  } kCases[] = {
      {"90", TimeTextStatus::Ok, 90},
      {"0000000000000001500", TimeTextStatus::Ok, 1500},
      {"2147483647", TimeTextStatus::Ok, kMaxTimeTextMs},
      {"2147483648", TimeTextStatus::OutOfRange, 0},
      {"-1:30", TimeTextStatus::Ok, -90000},
      {"-1m30s", TimeTextStatus::Ok, -90000},
      {"end", TimeTextStatus::End, kMaxTimeTextMs},
      {"-end", TimeTextStatus::Malformed, 0},
      {"-", TimeTextStatus::Malformed, 0},
  };
  for (const auto& c : kCases) {
    const TimeTextResult r = ParseCliTime(c.text);
    EXPECT_EQ(r.status, c.status) << c.text;
    if (c.status == TimeTextStatus::Ok) {
      EXPECT_EQ(r.ms, c.ms) << c.text;
    }
  }
}

TEST(CliTimes, RejectsMalformedText) {
  for (const char* bad : {"", "-", "abc", "1:", ":1", "1.", "1:2:3:4", "1:60", "1.2.3", "1e3", "1 2", "12.3456"}) {
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

// Options before or after the operands, -- before a name that starts with
// '-', unknown options and bad times named (exit 2), help for every command
// from its one definition.
TEST(CliParser, ReadsOperandsAndOptionsAndNamesWhatItRefuses) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 2;
  ASSERT_TRUE(WriteFileBytes(dir.File("-dash.mp3"), EncodeMp3(spec)));
  const std::string in = "cd '" + dir.Path() + "' && ";
  const struct {
    std::string args;
    int status;
    const char* says;  // in stderr
  } kRows[] = {
      {"info -- -dash.mp3", 0, ""},
      {"offset -q -- -dash.mp3 1s end", 0, ""},
      {"info -dash.mp3", 2, "padocut-cli info: unknown option -dash.mp3"},
      {"cut --bogus -- -dash.mp3 0 1s out.mp3", 2, "unknown option --bogus"},
      {"offset -- -dash.mp3 1:75", 2, "not a time: '1:75'"},
      {"offset -- -dash.mp3 5x", 2, "not a time: '5x'"},
      {"play -- -dash.mp3 0 1:30.1234", 2, "not a time: '1:30.1234'"},
      {"offset -- -dash.mp3 600:00:00", 2, "the limit is 596:31:23.647"},
      {"cut -- -dash.mp3 2s 1s out.mp3", 2, "END must come after START"},
      {"cut -- -dash.mp3 0 1s", 2, "OUT is required"},
      {"cut --frames-only --exact -- -dash.mp3 0 1s out.mp3", 2, "--frames-only cannot"},
      {"cut --frames-only --gain -6 -- -dash.mp3 0 1s out.mp3", 2, "--frames-only cannot"},
      {"cut --gain nan -- -dash.mp3 0 1s out.mp3", 2, "not a gain: 'nan'"},
      {"cut --gain 400 -- -dash.mp3 0 1s out.mp3", 2, "not a gain: '400'"},
      {"cut --fade-out -3 -- -dash.mp3 0 1s out.mp3", 2, "--fade-out"},
      {"tags --tag-charset NO-SUCH -- -dash.mp3", 2, "unknown charset 'NO-SUCH'"},
      {"peaks --columns 0 -- -dash.mp3", 2, "--columns"},
      {"split -- -dash.mp3 out", 2, "give exactly one of --at, --every, --cue and --silence"},
      {"split --at 1s --every 1s -- -dash.mp3 out", 2, "give exactly one of"},
      {"split --at 1s,1s -- -dash.mp3 out", 2, "the times of --at must rise"},
      {"split --at 1s, -- -dash.mp3 out", 2, "not a time: ''"},
      {"split --every 0 -- -dash.mp3 out", 2, "--every takes a length above 0"},
      {"split --silence=-40,x -- -dash.mp3 out", 2, "not a silence setting: '-40,x'"},
      {"split --every 1s --min-track 3 -- -dash.mp3 out", 2, "--min-track goes with --silence"},
      {"split --every 1s --name '%q' -- -dash.mp3 out", 2, "unknown field %q"},
      {"split --exact --frames-only --every 1s -- -dash.mp3 out", 2, "--frames-only cannot be combined with --exact"},
      {"split --gain -3 --frames-only --every 1s -- -dash.mp3 out", 2, "--frames-only cannot be combined"},
      {"split --gain 400 --every 1s -- -dash.mp3 out", 2, "not a gain: '400'"},
      {"nosuch", 2, "unknown command 'nosuch'"},
      {"help nosuch", 2, "unknown command 'nosuch'"},
  };
  for (const auto& row : kRows) {
    const CliRun r = Shell(in + BuildDir() + "/padocut-cli " + row.args + " 2>&1 >/dev/null");
    EXPECT_EQ(r.status, row.status) << row.args << "\n" << r.out;
    EXPECT_NE(r.out.find(row.says), std::string::npos) << row.args << "\n" << r.out;
  }
  EXPECT_FALSE(FileExists(dir.File("out.mp3")));
  EXPECT_FALSE(FileExists(dir.File("out")));

  for (const std::string command :
       {"info", "offset", "decode", "peaks", "play", "cut", "split", "tags", "retag", "help", "version"}) {
    const CliRun help = Cli(command + " --help");
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find("usage: padocut-cli " + command), std::string::npos) << help.out;
    EXPECT_EQ(Cli("help " + command).out, help.out) << command;
  }
  for (const std::string command : {"--help", "offset --help", "play --help", "cut --help"}) {
    EXPECT_NE(Cli(command).out.find("1500 is 1500 ms"), std::string::npos) << command;
  }
  const CliRun version = Cli("-V");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("padocut-cli 0.", 0), 0u) << version.out;
  EXPECT_EQ(Cli("--version").out, version.out);
  EXPECT_EQ(Cli("version").out, version.out);
}

// Every failure is one line `padocut-cli: FILE: reason` and exit 1.
TEST(CliErrors, OneLineNamesTheFileAndTheReason) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 2;
  const std::string mp3 = dir.File("a.mp3"), junk = dir.File("junk.mp3"), missing = dir.File("missing.mp3");
  const std::string folder = dir.Path(), out = dir.File("out.mp3");
  ASSERT_TRUE(WriteFileBytes(mp3, EncodeMp3(spec)));
  ASSERT_TRUE(WriteFileBytes(junk, std::vector<uint8_t>(3000, 0x55)));
  const std::string kMissing = "No such file or directory", kFolder = "Is a directory";
  const std::string kNotMp3 = "no MPEG audio frames found";
  const struct {
    std::string args, file, reason;
  } kRows[] = {
      {"info " + missing, missing, kMissing},
      {"decode " + folder, folder, kFolder},
      {"offset " + junk + " 1s", junk, kNotMp3},
      {"cut " + missing + " 0 1s " + out, missing, kMissing},
      {"cut " + mp3 + " 0 1s " + dir.File("no/such/folder.mp3"), dir.File("no/such/folder.mp3"),
       "cannot write in the destination folder: " + kMissing},
      {"tags " + folder, folder, kFolder},
      {"retag " + missing + " " + mp3, missing, kMissing},
      {"play " + junk, junk, kNotMp3},
      {"play " + mp3 + " 3s", mp3, "START 3s is past the end of the audio (its length is 00:00:02."},
      {"cut " + mp3 + " 5s end " + out, mp3, "START 5s is past the end of the audio (its length is 00:00:02."},
      {"cut " + mp3 + " 1000 1010 " + out, mp3, "the range lies inside one frame (26.1 ms)"},
      {"cut -n " + mp3 + " 0 1s " + mp3, mp3, "exists (not replaced: --no-overwrite)"},
      {"cut --gain 30 " + mp3 + " 0 1s " + out, mp3, "the gain would clip: at most +"},
      {"split --every 1s " + missing + " " + out, missing, kMissing},
      {"split --at 5s " + mp3 + " " + out, mp3, "split point 00:00:05.000 does not lie inside the audio"},
      {"split --at 1000,1010 " + mp3 + " " + out, mp3, "track 2 (00:00:01.000 to 00:00:01.010) holds no whole frame"},
      {"split --cue " + missing + " " + mp3 + " " + out, missing, kMissing},
      {"split --gain 30 --every 1s " + mp3 + " " + out, mp3, "the gain would clip: at most +"},
  };
  for (const auto& row : kRows) {
    const CliRun r = CliErr(row.args);
    EXPECT_EQ(r.status, 1) << row.args;
    EXPECT_EQ(r.out.rfind("padocut-cli: " + row.file + ": " + row.reason, 0), 0u) << row.args << "\n" << r.out;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << r.out;
  }
  // A Layer II source cannot take a gain or fades: a usage problem (exit 2).
  const std::string layerTwo = dir.File("two.mp2");
  ASSERT_TRUE(WriteFileBytes(layerTwo, LayerTwoFrames(100)));
  const CliRun two = CliErr("cut --fade-in 100 " + layerTwo + " 0 1s " + out);
  EXPECT_EQ(two.status, 2);
  EXPECT_EQ(two.out, "padocut-cli: " + layerTwo + ": --gain, --fade-in and --fade-out need Layer III audio (this is Layer II)\n");
  EXPECT_FALSE(FileExists(out));
  if (geteuid() == 0) {
    std::printf("running as root: the permission case is skipped\n");
  } else {
    ASSERT_EQ(chmod(junk.c_str(), 0), 0);
    EXPECT_EQ(CliErr("info " + junk).out, "padocut-cli: " + junk + ": Permission denied\n");
  }
  // Several files: the others are still described, the status says one failed.
  const CliRun several = Cli("info " + mp3 + " " + missing + " " + mp3);
  EXPECT_EQ(several.status, 1);
  EXPECT_EQ(JsonLines(several.out).size(), 2u);
}

// The new keys parse back with nlohmann-json; the old ones keep their types.
TEST(CliJson, NewKeysSayWhatWasWrittenAndOldKeysKeepTheirTypes) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 3;
  const std::string mp3 = dir.File("s.mp3");
  ASSERT_TRUE(WriteFileBytes(mp3, EncodeMp3(spec)));
  const auto infos = JsonLines(Cli("info --json " + mp3 + " " + mp3).out);
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_EQ(infos[1]["file"], mp3);
  for (const char* key : {"sample_rate", "channels", "layer", "bitrate", "duration_ms", "total_frames",
                          "total_samples", "audio_start", "audio_size"}) {
    EXPECT_TRUE(infos[0][key].is_number_integer()) << key;
  }
  EXPECT_EQ(infos[0]["mpeg"], "1");
  EXPECT_TRUE(infos[0]["vbr"]["encoder"].is_string());
  EXPECT_EQ(JsonLines(Cli("tags " + mp3).out).at(0)["file"], mp3);

  // Options after the operands; the plain cut is rounded to whole frames.
  const auto plain = JsonLines(Cli("cut " + mp3 + " 1s 1500ms " + dir.File("p.mp3") + " --json").out).at(0);
  EXPECT_EQ(plain["file"], mp3);
  EXPECT_EQ(plain["output"], dir.File("p.mp3"));
  EXPECT_GT(plain["start_ms"].get<int>(), 1000 - 27);
  EXPECT_LE(plain["start_ms"].get<int>(), 1000);
  EXPECT_GT(plain["end_ms"].get<int>(), 1500 - 27);
  EXPECT_LE(plain["end_ms"].get<int>(), 1500);
  EXPECT_EQ(plain["exact"], false);
  EXPECT_EQ(plain["vbr_header"], true);  // the source's Info header is replaced
  for (const char* key : {"start_offset", "end_offset", "bytes", "frames", "output_size", "delay", "padding"}) {
    EXPECT_TRUE(plain[key].is_number_integer()) << key;
  }
  EXPECT_TRUE(plain["tags"].is_boolean());
  const auto exact = JsonLines(Cli("cut --exact --json " + mp3 + " 1s end " + dir.File("e.mp3")).out).at(0);
  EXPECT_EQ(exact["exact"], true);
  EXPECT_EQ(exact["start_ms"], 1000);
  EXPECT_EQ(exact["end_ms"], 3000);
  EXPECT_EQ(exact["gain_db"], 0.0);
  // A gain goes to its nearest step of 1.5 dB, and says so.
  EXPECT_EQ(JsonLines(Cli("cut --gain -5 --json " + mp3 + " 1s 2s " + dir.File("g.mp3")).out).at(0)["gain_db"], -4.5);
  EXPECT_NE(Cli("cut --gain -5 " + mp3 + " 1s 2s " + dir.File("g.mp3")).out.find(", gain -4.5 dB"), std::string::npos);
  const auto frames = JsonLines(Cli("cut --frames-only --json " + mp3 + " 0 1s " + dir.File("f.mp3")).out).at(0);
  EXPECT_EQ(frames["vbr_header"], false);
  EXPECT_EQ(frames["delay"], -1);

  // -q: no summary; -v: where the times fell.
  EXPECT_EQ(Cli("cut -q " + mp3 + " 1s 2s " + dir.File("q.mp3")).out, "");
  EXPECT_NE(CliErr("cut -v " + mp3 + " 1s 2s " + dir.File("v.mp3")).out.find("START 1s: the cut starts with the frame at"),
            std::string::npos);
}

// A full disk is a failure; a reader that goes away ends the output quietly.
TEST(CliOutput, FullDiskFailsAndClosedPipeEndsQuietly) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 2;
  const std::string mp3 = dir.File("s.mp3");
  ASSERT_TRUE(WriteFileBytes(mp3, EncodeMp3(spec)));
  for (const std::string& args : {"info " + mp3, "decode " + mp3, "tags " + mp3, std::string("help cut"), "offset " + mp3 + " 1s",
                                 "cut --json " + mp3 + " 0 1s " + dir.File("c.mp3")}) {
    const CliRun r = CliErr(args, "/dev/full");
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_EQ(r.out, "padocut-cli: standard output: No space left on device\n") << args;
  }
  const std::string status = dir.File("status"), err = dir.File("err");
  Shell("(" + BuildDir() + "/padocut-cli decode " + mp3 + " 2>" + err + "; echo $? >" + status +
        ") | head -c 10 >/dev/null");
  EXPECT_EQ(ReadFileBytes(status), std::vector<uint8_t>({'0', '\n'}));
  EXPECT_TRUE(ReadFileBytes(err).empty());
}

// --gapless leaves exactly the encoded samples, aligned as mpg123 plays them.
TEST(CliDecode, GaplessDropsTheDelayAndPaddingTheLameTagAnnounces) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 2;
  const std::string mp3 = dir.File("s.mp3");
  ASSERT_TRUE(WriteFileBytes(mp3, EncodeMp3(spec)));
  const std::string gapless = Cli("decode --gapless " + mp3).out;
  EXPECT_EQ(gapless.size(), MakeSignal(spec).size() * sizeof(int16_t));
  const std::string reference = Shell("mpg123 -q -s '" + mp3 + "' 2>/dev/null").out;
  ASSERT_EQ(reference.size(), gapless.size()) << "mpg123's gapless decode";
  int worst = 0;
  for (size_t i = 0; i + 1 < gapless.size(); i += 2) {
    int16_t a, b;
    std::memcpy(&a, &gapless[i], 2);
    std::memcpy(&b, &reference[i], 2);
    worst = std::max(worst, std::abs(a - b));
  }
  EXPECT_LE(worst, 1);
  spec.writeVbrTag = false;  // no LAME tag: nothing to trim
  ASSERT_TRUE(WriteFileBytes(mp3, EncodeMp3(spec)));
  EXPECT_EQ(Cli("decode --gapless " + mp3).out, Cli("decode " + mp3).out);
}

// split: one line per track (JSON with --json), nothing written by a dry
// run or when a file is in the way, a malformed sheet named by its line.
TEST(CliSplit, WritesTracksAndPrintsOneLineEach) {
  TempDir dir;
  EncodeSpec spec;
  spec.seconds = 3;
  const std::string mp3 = dir.File("live.mp3"), out = dir.File("tracks");
  ASSERT_TRUE(WriteFileBytes(mp3, EncodeMp3(spec)));
  const CliRun dry = Cli("split --dry-run --every 1s " + mp3 + " " + out);
  EXPECT_EQ(dry.status, 0);
  EXPECT_EQ(dry.out.rfind("01\t00:00:00.026\t00:00:00.993\t01 - live (1).mp3\n02\t", 0), 0u) << dry.out;
  EXPECT_FALSE(FileExists(out));
  const CliRun json = Cli("split --json --at 1.5 -- " + mp3 + " " + out);
  EXPECT_EQ(json.status, 0);
  const std::vector<nlohmann::json> lines = JsonLines(json.out);
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& line : lines) {
    EXPECT_TRUE(FileExists(line["file"].get<std::string>())) << line;
    EXPECT_GT(line["bytes"].get<int64_t>(), 0);
  }
  EXPECT_EQ(lines[1]["track"], 2);
  EXPECT_EQ(lines[0]["end_ms"], lines[1]["start_ms"]);
  EXPECT_EQ(lines[1]["title"], "live (2)");
  const CliRun again = CliErr("split --at 1.5 " + mp3 + " " + out);
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.out, "padocut-cli: " + out + "/01 - live (1).mp3: exists (not replaced: --overwrite replaces it)\n");
  const CliRun quieter = Cli("split -q --overwrite --json --gain -6 --fade-out 500 --at 1.5 " + mp3 + " " + out);
  EXPECT_EQ(quieter.status, 0);
  for (const auto& line : JsonLines(quieter.out)) EXPECT_EQ(line["gain_db"], -6.0) << line;

  const auto text = [](const std::string& t) { return std::vector<uint8_t>(t.begin(), t.end()); };
  const std::string cue = dir.File("live.cue");
  const std::string sheet = "FILE \"x.flac\" WAVE\nTRACK 01 AUDIO\nTITLE \"One\"\nINDEX 01 00:00:00\n"
                            "TRACK 02 AUDIO\nTITLE \"Two/Three\"\nINDEX 01 00:02:00\n";
  ASSERT_TRUE(WriteFileBytes(cue, text(sheet)));
  const CliRun named = Cli("split --cue " + cue + " " + mp3 + " " + out);
  EXPECT_EQ(named.status, 0);
  EXPECT_TRUE(FileExists(out + "/02 - Two_Three.mp3")) << named.out;
  ASSERT_TRUE(WriteFileBytes(cue, text(sheet + "TRACK 03 AUDIO\nINDEX 01 00:01:00\n")));
  const CliRun malformed = CliErr("split --cue " + cue + " " + mp3 + " " + out);
  EXPECT_EQ(malformed.status, 2);
  EXPECT_EQ(malformed.out, "padocut-cli: " + cue + ":9: INDEX 01 must come after the previous track's\n");
}
