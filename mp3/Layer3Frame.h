// Layer III frame anatomy needed to cut at any frame without damage:
//
//   header (4) | CRC (2, when protected) | side info | main data slots
//
// Side info is 32 bytes (MPEG-1 stereo), 17 (MPEG-1 mono, MPEG-2/2.5
// stereo) or 9 (MPEG-2/2.5 mono). Its first field, main_data_begin (9 bits
// for MPEG-1, 8 for MPEG-2/2.5), points that many bytes back into the main
// data slots of earlier frames (the bit reservoir): the frame's audio data
// begins there. Side info of all zeros describes a granule with no bits at
// all, which decodes to silence.
//
// Each granule (two per MPEG-1 frame, one per MPEG-2/2.5 frame, 576
// samples each) carries an 8-bit global_gain per channel in the side info;
// the decoder scales the granule's spectrum by 2^((global_gain - 210) / 4),
// so one step is about 1.5 dB and four steps halve the amplitude exactly.
// Changing it moves no main data byte.
#pragma once

#include <cstdint>
#include <vector>

// Bytes of side info for a header.
int SideInfoLength(uint32_t header);
// Bytes before the main data slots: header, CRC, side info.
int MainDataOffset(uint32_t header);
// Main data bytes the frame itself holds; negative for a malformed length.
int MainDataSlots(uint32_t header, int frameLength);
// main_data_begin from the side info (which starts at `sideInfo`).
int MainDataBegin(uint32_t header, const uint8_t* sideInfo);
// The largest main_data_begin the format allows (511 or 255).
int MaxMainDataBegin(uint32_t header);

// The 16-bit CRC of a protected Layer III frame: polynomial 0x8005, initial
// value 0xFFFF, over header bytes 2 and 3 and the side info.
uint16_t Layer3Crc(const uint8_t* frame);
// Recomputes and stores the CRC of `frame` when its header says protected.
void UpdateLayer3Crc(uint8_t* frame);

// Makes a frame silent in place: all side info zero (main_data_begin 0, no
// bits in any granule), CRC updated.
void SilenceLayer3Frame(uint8_t* frame);

constexpr int kGranuleSamples = 576;
constexpr int kMaxGlobalGain = 255;

// Granules in a frame: 2 (MPEG-1) or 1 (MPEG-2/2.5).
int GranulesOf(uint32_t header);
// global_gain of a granule and channel (channel 1 only in two-channel frames).
int GlobalGain(const uint8_t* frame, int granule, int channel);
// The most a granule's level can go down evenly: minus the smallest
// global_gain of its channels, not counting those at 0; 0 when all are 0.
int LowestGainChange(const uint8_t* frame, int granule);

// Steps added to global_gain, by granule and channel.
struct GainChange {
  int steps[2][2] = {};
};
// Adds the change to the frame's global_gain values in place: each stays
// within 0..255 and one at 0 stays 0 (no bits: silence). In a joint-stereo
// frame coded as mid/side or intensity stereo the two channels are coded
// together, so both take channel 0's change. A protected frame gets its CRC
// recomputed.
void ChangeGlobalGain(uint8_t* frame, const GainChange& change);

// The header with another bitrate index and no padding.
uint32_t WithBitrateIndex(uint32_t header, int index);

// A silent frame of the template header's kind at the smallest bitrate
// whose main data slots hold `mainData`, which fills their end (for the
// frames after it to reach back into). Empty when no bitrate holds it.
std::vector<uint8_t> SilentFrameHolding(uint32_t templateHeader, const std::vector<uint8_t>& mainData);
