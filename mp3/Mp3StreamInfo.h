// Mp3StreamInfo: the reader's description of one MPEG audio stream, and the
// stream totals (frames, samples, bitrate, duration).
//
// The totals come from the VBR header (Xing, Info, VBRI) when its counts fit
// the audio area. Otherwise (no header, no or zero frame count, counts that
// belong to a shorter or longer stream: joined files, a cut or truncated
// file, a lying header) they come from counting the frames, which the reader
// does with its frame index; the first header's bitrate over the audio area
// is only the estimate that sizes that index.
//
// The ten decoder fields keep the names and meaning of LAME's mp3data_struct:
// the decoder refreshes some of them with every frame it decodes (channels,
// rate, kbit/s, mode, frame size; and when the stream opens with a Xing/Info
// frame, totalframes and nsamp without delay/padding removed), see
// Mpg123Decoder::RefreshStreamFields. The reader keeps its own frame total
// in `framenum`, which the decoder never writes. Counted totals are also
// kept in `countedSamples`, so that the Xing/Info frame's count cannot
// replace them.
#pragma once

#include <cstdint>

#include "mp3/FrameHeader.h"
#include "mp3/VbrHeader.h"

struct Mp3DecoderFields {
  int header_parsed = 0;
  int stereo = 0;      // channels
  int samplerate = 0;  // Hz
  int bitrate = 0;     // bits/s from the reader; kbit/s of the last frame once decoded
  int mode = 0;        // channel mode of the header
  int mode_ext = 0;
  int framesize = 0;   // samples per channel in one frame
  unsigned long nsamp = 0;
  int totalframes = 0;
  int framenum = 0;    // the reader's frame total
};

struct Mp3StreamInfo {
  Mp3DecoderFields data{};
  int layer = 0;
  int mpeg25 = 0;
  int lsf = 0;
  uint8_t firstHeader[4] = {};
  int headerFound = 0;
  VbrHeaderInfo vbr;
  int64_t audioStart = 0;  // byte offset of the first frame
  int64_t audioSize = 0;   // bytes of audio data (the VBR header's count when it fits)
  int64_t audioEnd = 0;    // first byte after the audio area: trailing tags are not audio
  int64_t countedSamples = -1;  // total samples when counted, else -1

  // Clears the ten decoder-shared fields and the counted totals.
  void ClearDecoderFields() {
    data = Mp3DecoderFields{};
    countedSamples = -1;
  }

  int Channels() const { return data.stereo; }
  int SampleRate() const { return data.samplerate; }
  int SamplesPerFrame() const { return data.framesize; }
  int64_t TotalSamples() const {
    return countedSamples >= 0 ? countedSamples : static_cast<int64_t>(data.nsamp);
  }
  int TotalFrames() const { return data.framenum; }
  // What a header must share to belong to the stream: the first frame's
  // version and layer, the sample rate and channel count as the decoder
  // last saw them.
  StreamSignature Signature() const;
};

// True when the parsed VBR header in `info.vbr` has a frame count above 0
// that fits the audio area `info.audioSize` for frames of the first header's
// kind (no more frames than the bytes hold at the lowest bitrate, no fewer
// than they need at the highest, give or take a few) and, when it has one, a
// byte count within a few of the longest frames of the audio area.
bool VbrTotalsFit(const Mp3StreamInfo& info);

// Fills total frames, total samples and bitrate (bits/s) from the first
// header's values already in `info` and the VBR header parse result (1 when
// `info.vbr` holds a parsed header). True when the header's totals fit and
// were taken (the audio size becomes its byte count, when it has one); false
// when the totals are only the first header's bitrate over the audio area,
// an estimate for the frame count to replace.
bool ComputeStreamTotals(Mp3StreamInfo& info, int parsed);

// Replaces the totals with counted ones: `frames` frames lasting
// `durationMs` in all (the frame index's own times, so the totals and the
// index agree), held in `bytes` bytes.
void SetCountedTotals(Mp3StreamInfo& info, int64_t frames, double durationMs, int64_t bytes);

// What a decoder brings that meets a Xing/Info frame at the start of the
// stream (LAME's did, and the reader keeps it): when that frame counts its
// frames, totalframes and nsamp become the count and count * framesize,
// delay and padding not removed. Counted totals (countedSamples) stay.
void TakeInfoFrameCount(Mp3StreamInfo& info);

// Milliseconds of the stream as the reader reports it: total samples * 1000 /
// sample rate, rounded; 0 without samples.
int StreamDurationMs(const Mp3StreamInfo& info);
