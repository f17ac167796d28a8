// Inputs for the benchmarks, encoded once with LAME's encoder API from the
// synthetic signal and cached under the build folder (bench-data/).
#pragma once

#include <string>

#include "tools/SignalEncoder.h"

// Path of the cached encoding for `spec`, made when missing. `name` keys
// the cache file.
std::string BenchInput(const std::string& name, const EncodeSpec& spec);

// The standard inputs.
std::string Cbr60Min();      // 60 minutes, 128 kbit/s stereo
std::string Vbr60Min();      // 60 minutes, VBR stereo
std::string Cbr100MB();      // about 100 MB, 320 kbit/s stereo
std::string Mono150Min();    // 2.5 hours, 32 kbit/s mono
std::string Cbr10Min();      // 10 minutes, 128 kbit/s stereo (for flatness checks)
std::string Joined130Min();  // Cbr60Min + Vbr60Min + Cbr10Min joined byte for byte (`cat a b c`)
