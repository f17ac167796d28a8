// What padocut-cli writes to stderr, each text defined once: the usage
// problems (UsageError puts "padocut-cli COMMAND: " before them and the usage
// line after), the reasons a command failed (FileFailure puts
// "padocut-cli: FILE: " before them), and the notes. What a command prints on
// stdout when it works (its JSON, its summary, the play command's positions)
// is its output format and stays with the command, as does its help. The
// window's texts (Korean) stay with the window: these are the command
// line's own.
#pragma once

#include <string>

#include "pipeline/ArwNotify.h"

namespace clitext {

// Usage problems.
inline constexpr char kFramesOnlyAlone[] =
    "--frames-only cannot be combined with --vbr-header, --clean-start, --exact, --gain, --fade-in or --fade-out";
inline constexpr char kEndBeforeStart[] = "END must come after START";
inline constexpr char kEndNegative[] = "END cannot be before the audio";
inline constexpr char kVolumeRange[] = "--volume takes a percentage 0..100";
inline std::string GainOutOfRange(const std::string& text, const std::string& limit) {
  return "not a gain: '" + text + "' (dB, at most " + limit + " either way)";
}
inline constexpr char kOneSourceOfPoints[] = "give exactly one of --at, --every, --cue and --silence";
inline constexpr char kSplitFramesOnlyAlone[] =
    "--frames-only cannot be combined with --exact, --gain, --fade-in or --fade-out";
inline constexpr char kMinTrackWithSilence[] = "--min-track goes with --silence";
inline constexpr char kEveryPositive[] = "--every takes a length above 0";
inline constexpr char kPointsRise[] = "the times of --at must rise";
inline constexpr char kMinTrackRange[] = "--min-track takes seconds from 0 to 596523";
inline std::string NotASilenceSetting(const std::string& text) {
  return "not a silence setting: '" + text + "' (THRESHOLD_DB[,MIN_SECONDS], such as -50 or -50,1.5)";
}
inline std::string UnknownOption(const std::string& option) {
  return "unknown option " + option + " (a FILE that starts with '-' goes after --)";
}
inline std::string NotATime(const std::string& text) {
  return "not a time: '" + text + "' (1500 is 1500 ms; also 90s, 1m30s, 1:30, 1:02:03.5, end)";
}
inline std::string TimeOutOfRange(const std::string& text, const std::string& limit) {
  return "time out of range: '" + text + "' (the limit is " + limit + ")";
}
inline std::string UnknownCharset(const std::string& name) { return "unknown charset '" + name + "'"; }
inline std::string UnknownCommand(const std::string& name) { return "padocut-cli: unknown command '" + name + "'"; }
inline std::string MoreHelp(const std::string& command) {
  return "(padocut-cli help" + (command.empty() ? "" : " " + command) + " tells more)";
}

// Failures, after "padocut-cli: FILE: ".
inline constexpr char kStandardOutput[] = "standard output";
inline constexpr char kAudioOutput[] = "audio output";
inline constexpr char kNotARegularFile[] = "not a regular file";
inline constexpr char kNoMpegFrames[] = "no MPEG audio frames found";
inline constexpr char kNoFramesToCut[] = "no frames to cut (Layer I, or an empty stream)";
inline std::string LevelNeedsLayer3(int layer) {
  return "--gain, --fade-in and --fade-out need Layer III audio (this is Layer " + std::string(layer == 1 ? "I" : "II") +
         ")";
}
inline constexpr char kExists[] = "exists (not replaced: --no-overwrite)";
inline constexpr char kDecodingFailed[] = "decoding failed";
inline constexpr char kNotRewritten[] = "could not rewrite the tags (left unchanged)";
inline constexpr char kTrackExists[] = "exists (not replaced: --overwrite replaces it)";
inline constexpr char kNotAFolder[] = "not a folder";
inline constexpr char kNotASheet[] = "cannot be read as a CUE sheet (unreadable, or larger than 1 MiB)";
// Where a CUE sheet the split cannot use goes wrong: "SHEET:LINE" (exit 2).
inline std::string SheetLine(const std::string& sheet, int line) {
  return line > 0 ? sheet + ":" + std::to_string(line) : sheet;
}
inline std::string StartPastEnd(const std::string& start, const std::string& length) {
  return "START " + start + " is past the end of the audio (its length is " + length + ")";
}
inline std::string InsideOneFrame(const std::string& frameMs) {
  return "the range lies inside one frame (" + frameMs + " ms); a cut holds at least one whole frame";
}
// A worker error while playing, by ArwError code (the window shows its own).
inline const char* PlaybackError(int code) {
  switch (code) {
    case kArwErrorReaderOpen: return "cannot open as MPEG audio";
    case kArwErrorWriterOpen: return "cannot open the output plug-in (vuout_sdl.so) or its audio device";
    case kArwErrorRead: return "reading or decoding failed";
    case kArwErrorWrite: return "the audio output failed";
    default: return "playback failed";
  }
}

// Notes (-q silences them) and details (-v asks for them).
inline std::string Note(const std::string& text) { return "note: " + text; }
inline constexpr char kPlayStopped[] = "stopped";
// Where whole frames put the cut: "START 1.5: the cut starts with the frame
// at 00:00:01.488 (byte 13326)".
inline std::string Rounded(const std::string& which, const std::string& asked, const std::string& where,
                           const std::string& frame, long long offset) {
  return which + " " + asked + ": the cut " + where + " the frame at " + frame + " (byte " +
         std::to_string(offset) + ")";
}
inline std::string EndAtAudioEnd(const std::string& end) {
  return "END is at or past the end of the audio: the cut goes to its end (" + end + ")";
}
inline constexpr char kPlainCopy[] = "the frames are copied byte for byte";
inline constexpr char kLiteralFrames[] = "the frames are copied byte for byte, no header added (--frames-only)";
inline std::string NewHeader(int delay, int padding) {
  return "the cut starts with a new Xing/Info + LAME header (delay " + std::to_string(delay) + ", padding " +
         std::to_string(padding) + ")";
}
inline constexpr char kSampleExact[] = "the range is sample-exact for gapless decoders";
inline std::string GaplessTrim(long long front, long long back) {
  return "gapless: " + std::to_string(front) + " samples trimmed at the start, up to " + std::to_string(back) +
         " at the end";
}
inline std::string TracksWritten(int written, int count) {
  return std::to_string(written) + " of " + std::to_string(count) + " tracks written";
}
inline constexpr char kNoSilenceFound[] = "no silence found: one track";
inline constexpr char kNoGaplessInfo[] = "gapless: no LAME tag with delay and padding; the decoder's output is whole";

}  // namespace clitext
