// The options and the outcome of a cut.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

// One step of a Layer III granule's global_gain: 2^(1/4) in amplitude,
// 1.505 dB, counted as 1.5 dB.
constexpr double kGainStepDb = 1.5;
// The most steps a gain can be: global_gain holds 0..255.
constexpr int kLargestGainSteps = 255;

// The nearest whole number of steps to `db`.
inline int GainStepsOf(double db) {
  if (!std::isfinite(db)) return 0;
  return static_cast<int>(std::lround(std::clamp(db / kGainStepDb, -1.0 * kLargestGainSteps, 1.0 * kLargestGainSteps)));
}

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
  // The source's attached pictures (cover art) go into the new ID3v2 tag
  // with its text fields, the front cover first.
  bool keepCover = false;

  // The level of the output, changed through each granule's global_gain
  // without re-encoding (Layer III only: other layers are refused). The
  // whole output changes by `gainDb`, as the nearest whole number of steps;
  // fades ramp per granule from near silence (-60 dB, or as low as the
  // granule's gains go) up to that gain over the first / last milliseconds
  // of what the output plays (with `exact`, of the exact range).
  double gainDb = 0;
  int fadeInMs = 0;
  int fadeOutMs = 0;
  // A positive gain is refused when the decode of the range would clip,
  // unless this is set.
  bool allowClip = false;

  int GainSteps() const { return GainStepsOf(gainDb); }
  bool ChangesLevel() const { return GainSteps() != 0 || fadeInMs > 0 || fadeOutMs > 0; }
  // Whether the output differs from the frames by request (the header a
  // source's own header brings is not counted).
  bool Any() const { return vbrHeader || cleanStart || exact || ChangesLevel(); }
};

// Why a cut was refused before anything was written.
enum class CutRefusal {
  None,
  NotLayer3,   // the level options need Layer III audio
  WouldClip,   // a positive gain would clip the decode (error says how much fits)
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
  double gainDb = 0;         // the gain applied (a whole number of steps)
  double largestGainDb = 0;  // with CutRefusal::WouldClip: the most gain that fits
  CutRefusal refusal = CutRefusal::None;
  std::string note;          // why the options were not applied (plain cut made)
  std::string error;         // why the cut failed (empty on success)
  bool errorInSource = false;  // `error` is about the source or its copy, not the destination
};
