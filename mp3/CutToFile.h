// CutToFile: saves the stretch [start, end) of an MP3 file as a new file by
// copying whole frames byte for byte, with the source's tags around them.
//
// The result is the source's bytes from the first byte of the frame holding
// the start time up to, not including, the first byte of the frame holding
// the end time (the end of the audio for a time at or beyond it); a negative
// start cuts from the first frame. A source with a Xing, Info or VBRI header
// (which claims the whole source's length) gets a new header for the cut in
// front of the frames instead of its own, unless the cut is the whole stream
// or `framesOnly` asks for the literal byte range (see CutOptions). When the
// source had tags, the result then begins with a fresh ID3v2 tag and ends
// with an ID3v1 record.
//
// Safety: the new content (tag, frames, record) is built in one file beside
// the destination and renamed over it only once it is complete, so the
// destination may be the source itself, which the cut reads directly. A
// failed cut leaves an existing destination byte for byte as it was and no
// partial new file. Every read and write is checked: a short write, a full
// disk or a source that shrinks during the cut is a failed cut. Runs
// synchronously on the calling thread; the caller stops any playback
// first.
#pragma once

#include <string>

#include "mp3/CutTypes.h"

// 1 when the cut completed, 0 otherwise (see `report->error`). Without
// options the result is the byte range described above (with the new header
// where the source has one); the options (Layer III sources only; others get
// the plain cut and a note) add a fresh VBR header, a reservoir-safe start and
// a sample-exact range. A gain or fades are refused for other layers, and a
// positive gain that would clip the decode of the range is refused unless
// allowed (report->refusal says which); a refused cut writes nothing.
int CutToFile(const std::string& source, const std::string& destination, int startMs, int endMs,
              CutReport* report = nullptr, const CutOptions& options = CutOptions());
