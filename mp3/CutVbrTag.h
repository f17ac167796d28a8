// The fields of the new VBR header that leads a cut with options: frame and
// byte counts, seek table and music CRC of the frames written, the plan's
// delay and padding, and what the source's own header said (VBR or CBR, its
// quality, its LAME extension, whose peak and ReplayGain fields follow the
// cut's gain).
#pragma once

#include <cstdint>

#include "mp3/CutFrameWriter.h"
#include "mp3/CutPlan.h"
#include "mp3/VbrHeader.h"
#include "mp3/VbrTagWriter.h"

// `source`: the source's header (kind None without one); `sourceLame`: its
// LAME extension's bytes, or null. `written`: the frames after the tag,
// which is `tagLength` bytes of `templateHeader`'s kind. `gainSteps`: the
// gain applied to the frames (see kGainStepDb).
VbrTagFields CutTagFields(const VbrHeaderInfo& source, const uint8_t* sourceLame, const CutPlan& plan,
                          const WrittenFrames& written, uint32_t templateHeader, int tagLength, int gainSteps);
