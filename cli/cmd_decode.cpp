// padocut-cli decode FILE: the PCM of the reader's Read loop to stdout
// (signed 16-bit little-endian, interleaved); with --gapless, without the
// encoder delay and padding the LAME tag announces.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/Texts.h"
#include "mp3/Mp3Reader.h"

namespace {

constexpr int kBytesPerSample = 2;

struct DecodeArguments {
  std::string file;
  bool gapless = false;
};

// Bytes of the raw output to drop at the start and to hold back at the end
// (dropped when the stream ends).
struct Trim {
  size_t front = 0;
  size_t back = 0;
};

// A gapless decoder plays the encoder's samples from raw position delay +
// kDecoderDelay on, and stops kDecoderDelay short of the padding's end.
Trim GaplessTrimOf(const Mp3StreamInfo& info) {
  const VbrHeaderInfo& v = info.vbr;
  if (!v.hasLameExtension || v.kind == VbrHeaderKind::Vbri || v.encoderDelay < 0 || v.encoderPadding < 0) {
    Detail(clitext::kNoGaplessInfo);
    return {};
  }
  const size_t frameBytes = static_cast<size_t>(kBytesPerSample * std::max(info.Channels(), 1));
  const int front = v.encoderDelay + kDecoderDelay;
  const int back = std::max(v.encoderPadding - kDecoderDelay, 0);
  Detail(clitext::GaplessTrim(front, back));
  return {front * frameBytes, back * frameBytes};
}

// Writes the decoded bytes less the trim; false once stdout fails.
class TrimmedOutput {
 public:
  explicit TrimmedOutput(Trim trim) : m_trim(trim) {}
  bool Write(const char* data, size_t size) {
    const size_t skipped = std::min(m_trim.front, size);
    m_trim.front -= skipped;
    data += skipped;
    size -= skipped;
    if (m_trim.back == 0) return WriteOutput(data, size);
    m_held.insert(m_held.end(), data, data + size);
    if (m_held.size() <= m_trim.back) return true;
    const size_t ready = m_held.size() - m_trim.back;
    const bool written = WriteOutput(m_held.data(), ready);
    m_held.erase(m_held.begin(), m_held.begin() + static_cast<std::ptrdiff_t>(ready));
    return written;
  }

 private:
  Trim m_trim;
  std::vector<char> m_held;
};

int RunDecode(const DecodeArguments& args) {
  CMp3Reader reader;
  if (auto why = OpenMpegSource(args.file, reader)) return FileFailure(args.file, *why);
  TrimmedOutput output(args.gapless ? GaplessTrimOf(reader.GetStreamInfo()) : Trim{});
  static char buffer[8192];
  for (;;) {
    const int n = reader.Read(buffer, sizeof buffer);
    if (n < 0) return FileFailure(args.file, clitext::kDecodingFailed);
    if (n == 0 || !output.Write(buffer, static_cast<size_t>(n))) break;
  }
  return kCliOk;
}

}  // namespace

void AddDecodeCommand(CliApp& app) {
  auto args = std::make_shared<DecodeArguments>();
  CLI::App& command = app.AddCommand("decode", "decoded PCM (s16le, interleaved) to stdout",
                                     [args] { return RunDecode(*args); });
  command.add_option("FILE", args->file, "MP3 file")->required();
  command.add_flag("--gapless", args->gapless,
                   "drop the encoder delay and padding that FILE's LAME tag announces");
  command.footer(
      "Without --gapless the output is the decoder's raw output: every frame's samples,\n"
      "including the encoder delay and the decoder's own 529 samples at the start and the\n"
      "padding at the end. --gapless plays what a gapless player plays (a FILE without a\n"
      "LAME tag is left whole). A closed pipe (decode FILE | head -c 1000) ends quietly.");
}
