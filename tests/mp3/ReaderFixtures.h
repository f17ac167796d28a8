// Real encodings shared by the reader tests (made once per process), a bare
// decoder loop to compare the reader's PCM against, and file helpers.
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

// Every PCM byte a plain hip_decode1_headers loop yields for `bytes` fed
// from `start` in 1024-byte pieces (drained after each).
std::vector<uint8_t> BareDecode(const std::vector<uint8_t>& bytes, size_t start);

// All of the reader's PCM through Read(8192) until 0; stops on -1.
std::vector<uint8_t> ReadAll(CMp3Reader& reader);
