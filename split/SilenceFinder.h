// SilenceFinder: the silences between the pieces of a recording, where a
// split into tracks goes.
//
// Rule: the file is decoded (on every core, by the analysis reader
// CParallelMp3Reader) and its level measured per window of kLevelWindowMs:
// the RMS of every sample in the window, all channels together, relative
// to full scale (dBFS: a full-scale square wave is 0 dBFS). A silence is a
// run of windows whose level stays below the threshold that lasts at least
// the minimum length. A run that begins with the audio or reaches its end
// is no silence between two pieces and is not reported. A split goes in the
// middle of each silence.
//
// Times: the windows are counted in the decoder's output, which leaves out
// a leading Xing/Info frame and includes the encoder's and the decoder's
// delay. A split point is given in the timeline of the cut it is used with:
// the frame index's (frames counted from the stream's first frame, a
// Xing/Info frame included) for a frame-by-frame cut, or the samples a
// gapless decoder plays for an exact one (see mp3/CutPlan.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

inline constexpr int kLevelWindowMs = 10;
inline constexpr double kDefaultSilenceDb = -48.0;
inline constexpr double kDefaultSilenceSeconds = 2.0;

struct SilenceOptions {
  double thresholdDb = kDefaultSilenceDb;
  double minSeconds = kDefaultSilenceSeconds;
  int threads = 0;  // decoding threads; 0 chooses as the window's analysis does
};

// A stretch of the decoder's output, in milliseconds from its first sample.
struct Silence {
  int64_t startMs = 0;
  int64_t endMs = 0;
};

struct SilenceResult {
  bool ok = false;
  std::string error;         // why not, when !ok
  std::vector<Silence> silences;
  int durationMs = 0;        // the reader's duration of the file
  double infoFrameMs = 0;    // a leading Xing/Info frame's length, which the output leaves out
  double playedLeadMs = 0;   // what a gapless decoder drops at the start (encoder and decoder delay)

  // Where the split in `silence` goes, for a frame-by-frame cut (`exact`
  // false) or an exact one.
  int64_t SplitPointMs(const Silence& silence, bool exact) const;
};

// Decodes `path` and finds its silences. `progress`, when given, is called
// with the milliseconds decoded so far from time to time; when it returns
// false the search stops and fails ("cancelled"). Fails on a file that does
// not open as MPEG audio, a decoding failure, or options out of range.
SilenceResult FindSilences(const std::string& path, const SilenceOptions& options,
                           const std::function<bool(int64_t decodedMs)>& progress = nullptr);

// Finds silences in PCM (16-bit, interleaved), window by window: feed it
// the decoder's output in order, then Finish.
class SilenceDetector {
 public:
  SilenceDetector(int sampleRate, int channels, const SilenceOptions& options);

  void Add(const int16_t* samples, size_t count);
  // Ends the search at the end of the output; the silences found.
  std::vector<Silence> Finish();
  int64_t DecodedMs() const;

 private:
  void EndWindow();

  int m_rate;
  int m_channels;
  size_t m_windowSamples;       // per window, all channels
  double m_quietLimit;          // a window's sum of squares below this is quiet
  int64_t m_minWindows;
  size_t m_inWindow = 0;
  int64_t m_sum = 0;
  int64_t m_windows = 0;        // windows finished
  int64_t m_quietSince = -1;    // first window of the current quiet run, or -1
  std::vector<Silence> m_found;
};
