// SourceFrames: the audio frames of a cut's source as the frame index finds
// them (the frames a plain cut copies), for the cut options to plan and
// write from. They are numbered from 0 at the first audio frame: a Xing,
// Info or VBRI frame at the start of the stream is not audio and is left out.
//
// They come from the source's own frame index (the reader's, shared by every
// cut made from one opened source), extended kFramesPastRange frames past
// the plain cut's end and no further: more than an exact end reaches beyond
// it (the delay field's 3000 + 529 samples, a few frames), and enough that
// the padding of the source's last frames cannot reach back into the cut.
// Frames past that point, which the index may already hold for an earlier
// cut, are not counted, so a cut plans the same whatever was cut before it.
// Headers and frames are read when asked for, through one positional window
// on the cut's own descriptor.
#pragma once

#include <cstdint>
#include <vector>

#include "mp3/FileWindow.h"
#include "mp3/Mp3FrameIndex.h"
#include "mp3/Mp3StreamInfo.h"

constexpr int kFramesPastRange = 32;

struct FrameRef {
  int64_t offset = 0;
  uint32_t header = 0;
  int length = 0;
};

class SourceFrames {
 public:
  // The frames of `fd`, the stream `info` describes, that `index` (the
  // same stream's index, not owned) finds up to kFramesPastRange frames past
  // the frame that starts at `rangeEnd`.
  SourceFrames(int fd, const Mp3StreamInfo& info, Mp3FrameIndex& index, int64_t rangeEnd);

  // Frames found, the VBR header frame included; 0 when none could be.
  int64_t Indexed() const { return m_indexed; }
  // Audio frames.
  int Count() const { return m_count; }
  // Audio frame k (0 <= k < Count()); its header is 0 when it cannot be
  // read, which also sets ReadFailed().
  FrameRef At(int k);
  // Where audio frame k lies, without reading it (header 0).
  FrameRef Locate(int k) const;
  // The descriptor the frames are read from.
  int Fd() const { return m_window.Fd(); }
  // The first audio frame that starts at or after `offset`; Count() when
  // none does.
  int FirstAtOrAfter(int64_t offset) const;
  // The bytes of a frame; false when they cannot all be read.
  bool Read(const FrameRef& frame, std::vector<uint8_t>& bytes);
  // main_data_begin of a Layer III frame; 0 when it cannot be read.
  int MainDataBeginOf(const FrameRef& frame);
  // Up to `length` source bytes at `offset` of the stream's first frame
  // (the VBR header frame, when there is one); the count read.
  int ReadFromStreamStart(int offset, uint8_t* out, int length);
  bool ReadFailed() const { return m_readFailed; }

 private:
  Mp3FrameIndex& m_index;
  FileWindow m_window;
  int64_t m_indexed = 0;
  int m_first = 0;
  int m_count = 0;
  bool m_readFailed = false;
};
