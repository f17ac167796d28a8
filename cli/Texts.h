// What padocut-cli writes to stderr, each text defined once: the usage
// problems (UsageError puts "padocut-cli COMMAND: " before them and the usage
// line after), the reasons a command failed (Failure), and the notes. What a
// command prints on stdout when it works (its JSON, its summary, the play
// command's positions) is its output format and stays with the command, as
// does its help. The texts the window shows too (a worker's errors, a stretch
// that cannot be played) come from pipeline/Texts.h.
#pragma once

#include <string>

namespace clitext {

// Usage problems.
inline constexpr char kExpectedOneFile[] = "expected one FILE";
inline constexpr char kExpectedCutArguments[] = "expected FILE START END OUT";
inline constexpr char kFramesOnlyAlone[] = "--frames-only cannot be combined with --vbr-header, --clean-start or --exact";
inline constexpr char kExpectedOffsetArguments[] = "expected FILE and at least one time";
inline constexpr char kExpectedPlayArguments[] = "expected FILE, or FILE START END";
inline constexpr char kExpectedRetagArguments[] = "expected SRC and DST";
inline constexpr char kPlayTimes[] = "START and END are times";
inline constexpr char kTimesOutOfRange[] = "times out of range";
inline constexpr char kEndBeforeStart[] = "END must come after START";
inline constexpr char kVolumeRange[] = "--volume takes a percentage 0..100";
inline std::string UnknownOption(const std::string& option) { return "unknown option " + option; }
inline std::string NotATime(const std::string& text) { return "not a time: " + text; }
inline std::string NeedsCharsetName(const std::string& option) { return option + " needs a charset name"; }
inline std::string UnknownCharset(const std::string& name) { return "unknown charset '" + name + "'"; }
inline std::string UnknownCommand(const std::string& name) { return "padocut-cli: unknown command '" + name + "'"; }

// Failures.
inline std::string NotMpegAudio(const std::string& path) {
  return "cannot open " + path + ": not a readable MPEG audio file";
}
inline std::string CannotOpen(const std::string& path) { return "cannot open " + path; }
inline std::string CannotRead(const std::string& path) { return "cannot read " + path; }
inline std::string DecodingFailed(const std::string& path) { return "decoding failed in " + path; }
inline std::string CannotWritePcm(const std::string& why) { return "cannot write PCM: " + why; }
inline std::string CutFailed(const std::string& why) { return "cut failed: " + why; }
inline std::string NotRewritten(const std::string& path) { return "could not rewrite " + path + " (left unchanged)"; }

// Notes.
inline std::string CutNote(const std::string& note) { return "note: " + note; }
inline constexpr char kPlayStopped[] = "stopped";

}  // namespace clitext
