// Mp3StreamInfo: the reader's description of one MPEG audio stream, and the
// stream totals (frames, samples, bitrate, duration) worked out from the
// first frame header and its VBR header.
//
// The first ten fields are LAME's mp3data_struct, because the reader hands
// this record to the decoder on every decode call and the decoder refreshes
// some of them (channels, rate, kbit/s, mode, frame size; and once it has met
// a Xing/Info frame, totalframes and nsamp without delay/padding removed).
// The reader keeps its own frame total in `framenum`, which the decoder
// never writes.
#pragma once

#include <lame/lame.h>

#include <cstdint>

#include "mp3/VbrHeader.h"

struct Mp3StreamInfo {
  mp3data_struct data{};  // header_parsed, stereo, samplerate, bitrate (bits/s), mode,
                          // mode_ext, framesize, nsamp, totalframes, framenum
  int layer = 0;
  int mpeg25 = 0;
  int lsf = 0;
  uint8_t firstHeader[4] = {};
  int headerFound = 0;
  VbrHeaderInfo vbr;
  int64_t audioStart = 0;  // byte offset of the first frame
  int64_t audioSize = 0;   // bytes of audio data

  // Clears the ten decoder-shared fields.
  void ClearDecoderFields() { data = mp3data_struct{}; }

  int Channels() const { return data.stereo; }
  int SampleRate() const { return data.samplerate; }
  int SamplesPerFrame() const { return data.framesize; }
  int64_t TotalSamples() const { return static_cast<int64_t>(data.nsamp); }
  int TotalFrames() const { return data.framenum; }
};

// Fills total frames, total samples and bitrate (bits/s), and possibly the
// audio size, from the first header's values already in `info` and the VBR
// header parse result (1 when `info.vbr` holds a parsed header).
void ComputeStreamTotals(Mp3StreamInfo& info, int parsed);

// Milliseconds of the stream as the reader reports it: total samples * 1000 /
// sample rate, rounded; 0 without samples.
int StreamDurationMs(const Mp3StreamInfo& info);
