// The options and the outcome of a cut.
#pragma once

#include <cstdint>
#include <string>

// Without options a cut copies the frames of the range, except that a
// source with a Xing, Info or VBRI header gets a new header for the cut in
// front of them (as `vbrHeader` writes it): the source's own header frame
// holds the whole source's frame count and length. A cut of the whole
// stream keeps the source's header byte for byte.
struct CutOptions {
  // The output starts with a new Xing/Info frame with LAME's extension:
  // frame and byte counts, seek table, encoder delay and padding of the cut.
  bool vbrHeader = false;
  // Layer III: the bytes the first frames need from the bit reservoir
  // before the cut are carried in one extra silent frame in front of them;
  // frames whose back-references still cannot be met are silenced.
  bool cleanStart = false;
  // Sample-exact: a gapless decoder plays exactly the samples of
  // [start, end) that it plays for the source. Implies both of the above.
  bool exact = false;
  // The literal byte range of the frames, the source's header frame
  // included when the range starts there: no header is added unless one of
  // the options above asks for it.
  bool framesOnly = false;

  // Whether the output differs from the frames by request (the header a
  // source's own header brings is not counted).
  bool Any() const { return vbrHeader || cleanStart || exact; }
};

struct CutReport {
  int64_t startOffset = -1;  // first source byte copied
  int64_t endOffset = -1;    // first source byte not copied
  int64_t bytesCopied = 0;   // audio bytes written
  int frames = 0;            // audio frames written
  bool tagsCarried = false;  // the result was rewritten with the source's tags
  int64_t outputSize = 0;    // size of the destination afterwards
  int delay = -1;            // encoder delay written into a new LAME header, or -1
  int padding = -1;          // encoder padding written into a new LAME header, or -1
  // An exact cut whose frames also sit at the source's synthesis phase for
  // a gapless libmpg123 decode, so mpg123 plays the range bit for bit with
  // every decoder core (otherwise a rare sample is one rounding step off).
  bool phaseAligned = false;
  std::string note;          // why the options were not applied (plain cut made)
  std::string error;         // why the cut failed (empty on success)
  bool errorInSource = false;  // `error` is about the source or its copy, not the destination
};
