// Real encodings shared by the reader tests (made once per process), the
// reference decoder (the mpg123 program) to compare the reader's PCM
// against, and file helpers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mp3/Mp3Reader.h"
#include "tools/SignalEncoder.h"

struct NamedSpec {
  const char* name;
  EncodeSpec spec;
};

// CBR with Info, VBR with Xing + LAME, CBR without any VBR header, MPEG-2
// mono, MPEG-2.5 stereo.
const std::vector<NamedSpec>& ReaderSpecs();
const std::vector<uint8_t>& EncodedBytes(const NamedSpec& s);

// The PCM `mpg123 --no-gapless` decodes from `bytes` (from `start` on):
// signed 16-bit, interleaved, in machine order. `options` go to mpg123 too
// (`--cpu generic` picks a decoder core). Empty when mpg123 cannot run.
std::vector<uint8_t> Mpg123Decode(const std::vector<uint8_t>& bytes, size_t start = 0,
                                  const std::string& options = "");

// All of the reader's PCM through Read(8192) until 0; stops on -1.
std::vector<uint8_t> ReadAll(CMp3Reader& reader);
