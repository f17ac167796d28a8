// padocut-cli info FILE...: the stream description of each file as one
// JSON object per line.
#include <memory>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "mp3/Mp3Reader.h"

namespace {

struct InfoArguments {
  std::vector<std::string> files;
  bool json = false;  // accepted: JSON is the only format
};

const char* MpegName(const Mp3StreamInfo& info) {
  if (info.mpeg25) return "2.5";
  return info.lsf ? "2" : "1";
}

Json VbrJson(const VbrHeaderInfo& v) {
  if (v.kind == VbrHeaderKind::None) return nullptr;
  return Json{{"kind", VbrKindName(v.kind)},
              {"frames", v.frames},
              {"bytes", v.bytes},
              {"quality", v.quality},
              {"encoder", v.hasLameExtension ? v.encoder : ""},
              {"delay", v.encoderDelay},
              {"padding", v.encoderPadding}};
}

Json InfoJson(CMp3Reader& reader, const std::string& file) {
  const Mp3StreamInfo& info = reader.GetStreamInfo();
  const Mp3DecoderFields& d = info.data;
  return Json{{"sample_rate", d.samplerate},   {"channels", d.stereo},
              {"layer", info.layer},           {"mpeg", MpegName(info)},
              {"bitrate", d.bitrate},          {"duration_ms", reader.GetDuration()},
              {"total_frames", d.framenum},    {"total_samples", info.TotalSamples()},
              {"audio_start", info.audioStart}, {"audio_size", info.audioSize},
              {"vbr", VbrJson(info.vbr)},      {"file", file}};
}

int RunInfo(const InfoArguments& args) {
  int status = kCliOk;
  for (const std::string& file : args.files) {
    CMp3Reader reader;
    if (auto why = OpenMpegSource(file, reader)) {
      status = FileFailure(file, *why);
      continue;
    }
    if (!PrintLine(JsonLine(InfoJson(reader, file)))) break;
  }
  return status;
}

}  // namespace

void AddInfoCommand(CliApp& app) {
  auto args = std::make_shared<InfoArguments>();
  CLI::App& command = app.AddCommand("info", "stream description of MP3 files as JSON, one line each",
                                     [args] { return RunInfo(*args); });
  command.add_option("FILE", args->files, "MP3 files")->required();
  command.add_flag("--json", args->json, "JSON output (the only format)");
  command.footer(
      "Prints one object per FILE: sample_rate, channels, layer, mpeg, bitrate, duration_ms,\n"
      "total_frames, total_samples, audio_start, audio_size, vbr (null, or kind, frames, bytes,\n"
      "quality, encoder, delay, padding) and file. A FILE that cannot be read gets a line\n"
      "on stderr and exit status 1; the others are still described.");
}
