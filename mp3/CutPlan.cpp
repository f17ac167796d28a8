#include "mp3/CutPlan.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"

namespace {

// libmpg123's synthesis phase (see PlanExactStart).
constexpr int kSynthesisRingSlots = 16;
constexpr int kSamplesPerSynthesisStep = 32;
// A gapless libmpg123 decode starts decoding this many frames before the
// frame holding its first played sample; the frames before those it skips
// without synthesis.
constexpr int kMpg123Preframes = 4;

// Frames a gapless libmpg123 decode skips unsynthesised at the start of a
// stream whose first played sample is raw sample `begin`.
int SkippedBeforeDecoding(int64_t begin, int spf) {
  return std::max<int>(0, static_cast<int>(begin / spf) - kMpg123Preframes);
}

// Fills `r` for a cut of audio frames [a, b): the bytes before frame a its
// first frames reach back for (no more than one frame's reach can use), and
// the frames whose reach the output still cannot meet.
bool PlanReservoir(SourceFrames& frames, int a, int b, Reservoir* r) {
  r->carried.clear();
  r->silenced.clear();
  const int maxBack = MaxMainDataBegin(frames.At(a).header);
  int need = 0, avail = 0;
  for (int k = a; k < b && avail < maxBack; ++k) {
    const FrameRef f = frames.At(k);
    need = std::max(need, frames.MainDataBeginOf(f) - avail);
    avail += MainDataSlots(f.header, f.length);
  }
  std::vector<uint8_t> buf;
  for (int k = a - 1; k >= 0 && static_cast<int>(r->carried.size()) < need; --k) {
    const FrameRef f = frames.At(k);
    if (!frames.Read(f, buf)) return false;
    r->carried.insert(r->carried.begin(), buf.begin() + MainDataOffset(f.header), buf.end());
  }
  if (static_cast<int>(r->carried.size()) > need) {
    r->carried.erase(r->carried.begin(), r->carried.end() - need);
  }
  // Frames that still reach back past what the output holds are silenced.
  int reach = static_cast<int>(r->carried.size());
  for (int k = a; k < b && reach < maxBack; ++k) {
    const FrameRef f = frames.At(k);
    if (frames.MainDataBeginOf(f) > reach) r->silenced.push_back(k);
    reach += MainDataSlots(f.header, f.length);
  }
  return true;
}

// Where an exact cut starts. The first frame holding the range needs one
// granule pair (MPEG-1) or two frames (MPEG-2/2.5) decoded before it for
// the decoder's overlap and filterbank history to settle. libmpg123's
// synthesis (the reference gapless decoder's) also sums its window in an
// order set by a 16-slot ring that advances every 32 samples, so its output
// equals the source's only when the cut's frames sit at the same phase: the
// frames it synthesises before frame a (silent lead frames included) must
// agree with those it synthesises before frame a of the source, modulo 4
// (MPEG-1) or 8 (MPEG-2/2.5); its vector cores repeat within the same
// period. Among the layouts whose delay stays readable, the one with the
// smallest delay that keeps the phase is taken; when none does, the
// shortest layout (within one rounding step).
bool PlanExactStart(SourceFrames& frames, int64_t raw, int64_t sourceBegin, int spf, int b, CutPlan* plan) {
  const uint32_t h0 = frames.At(0).header;
  const int settle = mpeg::Lsf(h0) ? 2 : 1;
  const int period = kSynthesisRingSlots / std::gcd(spf / kSamplesPerSynthesisStep, kSynthesisRingSlots);
  const int sourcePhase = -SkippedBeforeDecoding(sourceBegin, spf);
  const int fS = static_cast<int>(raw / spf);
  const int a0 = std::max(0, fS - settle);
  bool found = false;
  CutPlan best;
  for (int a = a0; a >= std::max(0, a0 - (period - 1)); --a) {
    Reservoir reservoir;
    if (!PlanReservoir(frames, a, b, &reservoir)) return false;
    const int carrier = reservoir.carried.empty() ? 0 : 1;
    for (int extra = 0; extra < period; ++extra) {
      const int lead = carrier + extra;
      const int64_t delay = raw - static_cast<int64_t>(a) * spf + static_cast<int64_t>(lead) * spf - kDecoderDelay;
      if (delay < 0 || delay > kLargestDelayOrPadding) continue;
      const int cutPhase = lead - SkippedBeforeDecoding(delay + kDecoderDelay, spf);
      if (((a + sourcePhase - cutPhase) % period + period) % period != 0) continue;
      if (!found || delay < best.delay) {
        found = true;
        best.a = a;
        best.reservoir = reservoir;
        best.leadFrame = lead > 0;
        best.silentLead = lead > 0 ? lead - 1 : 0;
        best.delay = static_cast<int>(delay);
        best.phaseAligned = true;
      }
    }
  }
  if (!found) {
    best.a = a0;
    if (!PlanReservoir(frames, a0, b, &best.reservoir)) return false;
    best.leadFrame = !best.reservoir.carried.empty();
    int64_t delay = raw - static_cast<int64_t>(a0) * spf + (best.leadFrame ? spf : 0) - kDecoderDelay;
    if (delay < 0) {  // a silent lead frame makes room for the decoder's delay
      best.leadFrame = true;
      delay += spf;
    }
    best.delay = static_cast<int>(delay);
  }
  best.b = b;
  *plan = best;
  return true;
}

PlanOutcome NotApplicable(const char** note, const char* why) {
  *note = why;
  return PlanOutcome::NotApplicable;
}

}  // namespace

SourceTiming TimingOf(const VbrHeaderInfo& source, SourceFrames& frames) {
  const uint32_t h0 = frames.At(0).header;
  SourceTiming t;
  t.samplesPerFrame = SamplesPerFrameOf(h0);
  t.sampleRate = SampleRateOf(h0);
  t.gapless = DeclaresGapless(source);
  t.encoderDelay = t.gapless ? source.encoderDelay : 0;
  t.rawStart = t.gapless ? source.encoderDelay + kDecoderDelay : 0;
  // Frames indexed, which may stop short of the stream's end past the
  // range: kFramesPastRange keeps everything planned the same.
  int64_t played = static_cast<int64_t>(frames.Count()) * t.samplesPerFrame;
  if (t.gapless) played -= source.encoderDelay + source.encoderPadding;
  t.playedTotal = std::max<int64_t>(played, 0);
  return t;
}

PlanOutcome PlanFrameRange(SourceFrames& frames, const SourceTiming& timing, int64_t startOffset,
                           int64_t endOffset, bool cleanStart, CutPlan* plan, const char** note) {
  const int spf = timing.samplesPerFrame;
  plan->a = frames.FirstAtOrAfter(startOffset);
  plan->b = frames.FirstAtOrAfter(endOffset);
  if (plan->a >= plan->b) return NotApplicable(note, "nothing to cut");
  if (cleanStart && !PlanReservoir(frames, plan->a, plan->b, &plan->reservoir)) return PlanOutcome::ReadFailed;
  plan->leadFrame = !plan->reservoir.carried.empty();
  int64_t delay = timing.gapless
                      ? std::max<int64_t>(0, timing.encoderDelay - static_cast<int64_t>(plan->a) * spf)
                      : 0;
  if (plan->leadFrame) delay += spf;
  plan->delay = static_cast<int>(delay);
  const int64_t beyond = static_cast<int64_t>(plan->b) * spf - timing.rawStart - timing.playedTotal;
  plan->padding = static_cast<int>(kDecoderDelay + (timing.gapless ? std::max<int64_t>(0, beyond) : 0));
  return PlanOutcome::Planned;
}

PlanOutcome PlanExactRange(SourceFrames& frames, const SourceTiming& timing, int startMs, int endMs,
                           CutPlan* plan, const char** note) {
  const int spf = timing.samplesPerFrame;
  const double rate = timing.sampleRate;
  // Played samples [first, last).
  const int64_t first = startMs <= 0 ? 0 : std::llround(static_cast<double>(startMs) * rate / 1000.0);
  const int64_t last = std::min<int64_t>(std::llround(static_cast<double>(endMs) * rate / 1000.0), timing.playedTotal);
  if (first >= last) return NotApplicable(note, "the range holds no samples");
  const int b = static_cast<int>(std::min<int64_t>(frames.Count(), (last + timing.rawStart + spf - 1) / spf));
  if (!PlanExactStart(frames, first + timing.rawStart, timing.rawStart, spf, b, plan)) return PlanOutcome::ReadFailed;
  const int64_t frameCount = plan->b - plan->a + (plan->leadFrame ? 1 : 0) + plan->silentLead;
  plan->padding = static_cast<int>(frameCount * spf - plan->delay - (last - first));
  return PlanOutcome::Planned;
}

bool FitsLameHeader(const CutPlan& plan) {
  return plan.delay >= 0 && plan.delay <= kLargestDelayOrPadding && plan.padding >= 0 &&
         plan.padding <= kLargestDelayOrPadding;
}

PlayedSpan PlayedSpanOf(const CutPlan& plan, const SourceTiming& timing, bool lameHeader) {
  const int64_t frameCount = plan.b - plan.a + (plan.leadFrame ? 1 : 0) + plan.silentLead;
  const int64_t total = frameCount * timing.samplesPerFrame;
  PlayedSpan span;
  span.sampleRate = timing.sampleRate;
  span.first = lameHeader ? plan.delay : -kDecoderDelay;
  span.played = lameHeader ? std::max<int64_t>(0, total - plan.delay - plan.padding) : total;
  return span;
}
