// padocut-cli info FILE: the stream description as one JSON object.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "cli/Texts.h"
#include "mp3/Mp3Reader.h"

namespace {

const char* MpegName(const Mp3StreamInfo& info) {
  if (info.mpeg25) return "2.5";
  return info.lsf ? "2" : "1";
}

}  // namespace

int RunInfo(int argc, char** argv) {
  const CliCommand& self = *FindCommand("info");
  if (WantsHelp(self, argc, argv)) return kCliOk;
  if (argc != 2) return UsageError(self, clitext::kExpectedOneFile);
  CMp3Reader reader;
  if (!reader.Open(argv[1], nullptr, nullptr, nullptr)) {
    return Failure(clitext::NotMpegAudio(argv[1]));
  }
  const Mp3StreamInfo& info = reader.GetStreamInfo();
  const Mp3DecoderFields& d = info.data;
  std::printf("{\"sample_rate\": %d, \"channels\": %d, \"layer\": %d, \"mpeg\": \"%s\", ",
              d.samplerate, d.stereo, info.layer, MpegName(info));
  std::printf("\"bitrate\": %d, \"duration_ms\": %d, \"total_frames\": %d, ", d.bitrate,
              reader.GetDuration(), d.framenum);
  std::printf("\"total_samples\": %" PRId64 ", \"audio_start\": %" PRId64 ", \"audio_size\": %" PRId64
              ", ",
              info.TotalSamples(), info.audioStart, info.audioSize);
  const VbrHeaderInfo& v = info.vbr;
  if (v.kind == VbrHeaderKind::None) {
    std::printf("\"vbr\": null}\n");
  } else {
    std::printf("\"vbr\": {\"kind\": \"%s\", \"frames\": %d, \"bytes\": %d, \"quality\": %d, ",
                VbrKindName(v.kind), v.frames, v.bytes, v.quality);
    std::printf("\"encoder\": %s, \"delay\": %d, \"padding\": %d}}\n",
                JsonString(v.hasLameExtension ? v.encoder : "").c_str(), v.encoderDelay,
                v.encoderPadding);
  }
  return kCliOk;
}
