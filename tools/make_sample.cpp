// Writes the bundled sample: a few seconds of tones, stereo, VBR with a
// Xing/LAME header. Usage: make_sample OUT.mp3
#include <cstdio>

#include "tools/SignalEncoder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample OUT.mp3\n");
    return 2;
  }
  EncodeSpec spec;
  spec.seconds = 8.0;
  spec.mode = EncodeSpec::Mode::Vbr;
  spec.vbrQuality = 4;
  const auto bytes = EncodeMp3(spec);
  if (bytes.empty() || !WriteFileBytes(argv[1], bytes)) {
    std::fprintf(stderr, "make_sample: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
