// CutPeak: whether a positive gain leaves the decode of a cut's frames
// within full scale. The frames are decoded as the source plays them (the
// decoder primed by the frames before them, for the bit reservoir and the
// overlap), and their largest sample magnitude tells how many steps of
// gain fit.
#pragma once

#include "mp3/SourceFrames.h"

// The largest magnitude of a 16-bit sample the decode of audio frames
// [a, b) gives; -1 when a frame cannot be read or the decoder fails.
int DecodedPeak(SourceFrames& frames, int a, int b);

// The most steps of gain (see kGainStepDb) that keep a decode whose peak
// is `peak` within full scale; 0 for a decode at or beyond it.
int LargestGainWithoutClipping(int peak);
