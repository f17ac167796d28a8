#include "mp3/ExactCut.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

#include "mp3/FileWindow.h"
#include "mp3/FrameHeader.h"
#include "mp3/Layer3Frame.h"
#include "mp3/VbrHeader.h"
#include "mp3/VbrTagWriter.h"

namespace {

constexpr int kDecoderDelay = 529;   // samples a decoder's output lags its input
// libmpg123's synthesis phase (see PlanExactStart).
constexpr int kSynthesisRingSlots = 16;
constexpr int kSamplesPerSynthesisStep = 32;
// A gapless libmpg123 decode starts decoding this many frames before the
// frame holding its first played sample; the frames before those it skips
// without synthesis.
constexpr int kMpg123Preframes = 4;
// The delay and padding fields hold 12 bits, but readers (ours included)
// ignore values above 3000 as implausible.
constexpr int kMaxTagValue = 3000;
constexpr int64_t kResyncWindow = 65536;
// Frames walked past the plain cut's end: more than an exact end reaches
// beyond it (the delay field's 3000 + 529 samples, a few frames), and enough
// that the padding of a source's last frames cannot reach back into the cut.
constexpr int kFramesPastRange = 32;

// Frames a gapless libmpg123 decode skips unsynthesised at the start of a
// stream whose first played sample is raw sample `begin`.
int SkippedBeforeDecoding(int64_t begin, int spf) {
  return std::max<int>(0, static_cast<int>(begin / spf) - kMpg123Preframes);
}

struct FrameRef {
  int64_t offset;
  uint32_t header;
  int length;
};

uint32_t HeaderAt(FileWindow& w, int64_t pos, bool* ok) {
  uint8_t b[4];
  *ok = w.ReadAt(pos, b, 4) == 4;
  return *ok ? mpeg::HeaderFromBytes(b) : 0;
}

// The frames of the stream from the audio start, skipping garbage between
// frames (a header counts after garbage when the next one follows it), up
// to kFramesPastRange frames past `rangeEnd` or the end of the stream.
std::vector<FrameRef> WalkFrames(FileWindow& w, const Mp3StreamInfo& info, int64_t fileSize, int64_t rangeEnd) {
  std::vector<FrameRef> frames;
  StreamSignature sig;
  sig.mpeg25 = info.mpeg25;
  sig.lsf = info.lsf;
  sig.layer = info.layer;
  sig.sampleRate = info.data.samplerate;
  sig.channels = mpeg::Channels(mpeg::HeaderFromBytes(info.firstHeader));
  int64_t pos = info.audioStart;
  bool ok = false;
  int pastRange = 0;
  while (pos + 4 <= fileSize && pastRange < kFramesPastRange) {
    uint32_t h = HeaderAt(w, pos, &ok);
    int len = FrameLength(h);
    if (ok && SameStream(sig, h) && pos + len <= fileSize) {
      frames.push_back({pos, h, len});
      if (pos >= rangeEnd) ++pastRange;
      pos += len;
      continue;
    }
    bool found = false;
    const int64_t limit = std::min(fileSize - 4, pos + kResyncWindow);
    for (int64_t q = pos + 1; q <= limit && !found; ++q) {
      h = HeaderAt(w, q, &ok);
      if (!ok || !SameStream(sig, h)) continue;
      len = FrameLength(h);
      if (q + len == fileSize) {
        found = true;
      } else if (q + len + 4 <= fileSize) {
        const uint32_t next = HeaderAt(w, q + len, &ok);
        found = ok && SameStream(sig, next);
      }
      if (found) pos = q;
    }
    if (!found) break;
  }
  return frames;
}

// The bytes the first frames of a cut reach back for, and the frames whose
// reach still cannot be met.
struct Reservoir {
  std::vector<uint8_t> carried;  // the last bytes of the main data before frame a
  std::vector<int> silenced;     // audio frame indices to silence
};

struct Plan {
  int a = 0, b = 0;      // audio frames [a, b) of the source
  Reservoir reservoir;
  bool leadFrame = false;  // a silent frame carrying the reservoir (or making room)
  int silentLead = 0;      // further silent frames before it
  int delay = 0, padding = 0;
  bool phaseAligned = false;  // LAME's own decoder plays the range bit for bit too
};

bool ReadFrame(FileWindow& w, const FrameRef& f, std::vector<uint8_t>& out) {
  out.resize(static_cast<size_t>(f.length));
  return w.ReadAt(f.offset, out.data(), f.length) == f.length;
}

int MainDataBeginOf(FileWindow& w, const FrameRef& f) {
  uint8_t side[40];
  const int n = MainDataOffset(f.header);
  if (w.ReadAt(f.offset, side, n) != n) return 0;
  return MainDataBegin(f.header, side + n - SideInfoLength(f.header));
}

// The silent lead frame: the smallest bitrate whose slots hold `carry`
// bytes, which sit at the end of its main data.
std::vector<uint8_t> LeadFrame(uint32_t templateHeader, const std::vector<uint8_t>& carried) {
  for (int index = 1; index <= 14; ++index) {
    const uint32_t h = WithBitrateIndex(templateHeader, index);
    const int len = FrameLength(h);
    if (MainDataSlots(h, len) < static_cast<int>(carried.size())) continue;
    std::vector<uint8_t> frame(static_cast<size_t>(len), 0);
    for (int i = 0; i < 4; ++i) frame[static_cast<size_t>(i)] = static_cast<uint8_t>(h >> (24 - 8 * i));
    std::copy(carried.begin(), carried.end(), frame.end() - static_cast<long>(carried.size()));
    UpdateLayer3Crc(frame.data());
    return frame;
  }
  return {};
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool PWriteAll(int fd, const uint8_t* data, size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = pwrite(fd, data, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool PlanReservoir(FileWindow& w, const std::vector<FrameRef>& frames, int a, int b, Reservoir* r) {
  r->carried.clear();
  r->silenced.clear();
  const int maxBack = MaxMainDataBegin(frames[static_cast<size_t>(a)].header);
  int need = 0, avail = 0;
  for (int k = a; k < b && avail < maxBack; ++k) {
    const FrameRef& f = frames[static_cast<size_t>(k)];
    need = std::max(need, MainDataBeginOf(w, f) - avail);
    avail += MainDataSlots(f.header, f.length);
  }
  std::vector<uint8_t> buf;
  for (int k = a - 1; k >= 0 && static_cast<int>(r->carried.size()) < need; --k) {
    const FrameRef& f = frames[static_cast<size_t>(k)];
    if (!ReadFrame(w, f, buf)) return false;
    r->carried.insert(r->carried.begin(), buf.begin() + MainDataOffset(f.header), buf.end());
  }
  if (static_cast<int>(r->carried.size()) > need) {
    r->carried.erase(r->carried.begin(), r->carried.end() - need);
  }
  // Frames that still reach back past what the output holds are silenced.
  int reach = static_cast<int>(r->carried.size());
  for (int k = a; k < b && reach < maxBack; ++k) {
    const FrameRef& f = frames[static_cast<size_t>(k)];
    if (MainDataBeginOf(w, f) > reach) r->silenced.push_back(k);
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
bool PlanExactStart(FileWindow& w, const std::vector<FrameRef>& frames, int64_t raw, int64_t sourceBegin, int spf,
                    int b, Plan* plan) {
  const uint32_t h0 = frames[0].header;
  const int settle = mpeg::Lsf(h0) ? 2 : 1;
  const int period = kSynthesisRingSlots / std::gcd(spf / kSamplesPerSynthesisStep, kSynthesisRingSlots);
  const int sourcePhase = -SkippedBeforeDecoding(sourceBegin, spf);
  const int fS = static_cast<int>(raw / spf);
  const int a0 = std::max(0, fS - settle);
  bool found = false;
  Plan best;
  for (int a = a0; a >= std::max(0, a0 - (period - 1)); --a) {
    Reservoir reservoir;
    if (!PlanReservoir(w, frames, a, b, &reservoir)) return false;
    const int carrier = reservoir.carried.empty() ? 0 : 1;
    for (int extra = 0; extra < period; ++extra) {
      const int lead = carrier + extra;
      const int64_t delay = raw - static_cast<int64_t>(a) * spf + static_cast<int64_t>(lead) * spf - kDecoderDelay;
      if (delay < 0 || delay > kMaxTagValue) continue;
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
    if (!PlanReservoir(w, frames, a0, b, &best.reservoir)) return false;
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

EnhancedCutResult NotApplicable(CutReport* report, const char* why) {
  report->note = why;
  return EnhancedCutResult::NotApplicable;
}

}  // namespace

EnhancedCutResult WriteEnhancedCut(int in, int out, const Mp3StreamInfo& info, int startMs, int endMs,
                                   int64_t startOffset, int64_t endOffset, const CutOptions& requested,
                                   CutReport* report) {
  CutOptions options = requested;
  if (options.exact) options.vbrHeader = options.cleanStart = true;
  if (info.layer != 3) return NotApplicable(report, "the options need Layer III audio; made a plain cut");

  FileWindow window(in);
  const int64_t fileSize = FileSizeOf(in);
  std::vector<FrameRef> all = WalkFrames(window, info, fileSize, endOffset);
  if (all.empty()) return NotApplicable(report, "no usable frame headers; made a plain cut");

  // A VBR information frame at the start is not audio: decoders skip it.
  size_t first = 0;
  std::vector<uint8_t> probe(kVbrProbeSize, 0);
  window.ReadAt(all[0].offset, probe.data(), kVbrProbeSize);
  VbrHeaderInfo sourceTag;
  const bool hasSourceTag = ParseVbrHeader(probe.data(), &sourceTag) == 1;
  if (hasSourceTag) first = 1;
  const std::vector<FrameRef> frames(all.begin() + static_cast<long>(first), all.end());
  const int n = static_cast<int>(frames.size());
  if (n == 0) return NotApplicable(report, "no audio frames; made a plain cut");

  const uint32_t h0 = frames[0].header;
  const int spf = SamplesPerFrameOf(h0);
  const int rate = SampleRateOf(h0);
  const bool gapless = hasSourceTag && sourceTag.kind != VbrHeaderKind::Vbri &&
                       sourceTag.encoderDelay >= 0 && sourceTag.encoderPadding >= 0;
  const int64_t offset = gapless ? sourceTag.encoderDelay + kDecoderDelay : 0;
  // `n` counts the frames walked, which may stop short of the stream's end
  // past the range: kFramesPastRange keeps everything below the same.
  int64_t playedTotal = static_cast<int64_t>(n) * spf;
  if (gapless) playedTotal -= sourceTag.encoderDelay + sourceTag.encoderPadding;
  playedTotal = std::max<int64_t>(playedTotal, 0);

  Plan plan;
  int64_t firstSample = 0, lastSample = 0;  // played samples [firstSample, lastSample) for exact
  if (options.exact) {
    firstSample = startMs <= 0 ? 0 : std::llround(static_cast<double>(startMs) * rate / 1000.0);
    lastSample = std::min<int64_t>(std::llround(static_cast<double>(endMs) * rate / 1000.0), playedTotal);
    if (firstSample >= lastSample) return NotApplicable(report, "the range holds no samples; made a plain cut");
    plan.b = static_cast<int>(std::min<int64_t>(n, (lastSample + offset + spf - 1) / spf));
    if (!PlanExactStart(window, frames, firstSample + offset, offset, spf, plan.b, &plan)) return EnhancedCutResult::IoError;
    const int64_t frameCount = plan.b - plan.a + (plan.leadFrame ? 1 : 0) + plan.silentLead;
    plan.padding = static_cast<int>(frameCount * spf - plan.delay - (lastSample - firstSample));
  } else {
    plan.a = n;
    plan.b = n;
    for (int k = 0; k < n; ++k) {
      if (plan.a == n && frames[static_cast<size_t>(k)].offset >= startOffset) plan.a = k;
      if (frames[static_cast<size_t>(k)].offset >= endOffset) {
        plan.b = k;
        break;
      }
    }
    if (plan.a >= plan.b) return NotApplicable(report, "nothing to cut; made a plain cut");
    if (options.cleanStart && !PlanReservoir(window, frames, plan.a, plan.b, &plan.reservoir)) {
      return EnhancedCutResult::IoError;
    }
    plan.leadFrame = !plan.reservoir.carried.empty();
    int64_t delay = gapless ? std::max<int64_t>(0, sourceTag.encoderDelay - static_cast<int64_t>(plan.a) * spf) : 0;
    if (plan.leadFrame) delay += spf;
    plan.delay = static_cast<int>(delay);
    const int64_t beyond = static_cast<int64_t>(plan.b) * spf - offset - playedTotal;
    plan.padding = static_cast<int>(kDecoderDelay + (gapless ? std::max<int64_t>(0, beyond) : 0));
  }
  if (options.vbrHeader && (plan.delay < 0 || plan.delay > kMaxTagValue || plan.padding < 0 ||
                            plan.padding > kMaxTagValue)) {
    return NotApplicable(report, "delay or padding out of range; made a plain cut");
  }

  // Write: tag placeholder, lead frame, frames (patched where silenced).
  const uint32_t templateHeader = frames[static_cast<size_t>(plan.a)].header;
  const int tagLength = options.vbrHeader ? VbrTagFrameLength(templateHeader) : 0;
  if (options.vbrHeader && tagLength == 0) return NotApplicable(report, "no bitrate holds the header; made a plain cut");
  std::vector<uint8_t> placeholder(static_cast<size_t>(tagLength), 0);
  if (!WriteAll(out, placeholder.data(), placeholder.size())) return EnhancedCutResult::IoError;

  std::vector<int64_t> frameOffsets;  // output offsets of the audio frames, after the tag
  int64_t written = 0;
  uint16_t musicCrc = 0;
  std::vector<uint8_t> outBuf;
  outBuf.reserve(1 << 16);
  auto emit = [&](const std::vector<uint8_t>& frame) -> bool {
    frameOffsets.push_back(written);
    musicCrc = Crc16Arc(frame.data(), frame.size(), musicCrc);
    outBuf.insert(outBuf.end(), frame.begin(), frame.end());
    written += static_cast<int64_t>(frame.size());
    if (outBuf.size() >= (1 << 16) - 2000) {
      if (!WriteAll(out, outBuf.data(), outBuf.size())) return false;
      outBuf.clear();
    }
    return true;
  };
  for (int i = 0; i < plan.silentLead; ++i) {
    if (!emit(LeadFrame(templateHeader, {}))) return EnhancedCutResult::IoError;
  }
  if (plan.leadFrame) {
    const auto lead = LeadFrame(templateHeader, plan.reservoir.carried);
    if (lead.empty()) return NotApplicable(report, "no bitrate holds the reservoir; made a plain cut");
    if (!emit(lead)) return EnhancedCutResult::IoError;
  }
  std::vector<uint8_t> frame;
  size_t nextSilenced = 0;
  for (int k = plan.a; k < plan.b; ++k) {
    if (!ReadFrame(window, frames[static_cast<size_t>(k)], frame)) return EnhancedCutResult::IoError;
    if (nextSilenced < plan.reservoir.silenced.size() && plan.reservoir.silenced[nextSilenced] == k) {
      SilenceLayer3Frame(frame.data());
      ++nextSilenced;
    }
    if (!emit(frame)) return EnhancedCutResult::IoError;
  }
  if (!outBuf.empty() && !WriteAll(out, outBuf.data(), outBuf.size())) return EnhancedCutResult::IoError;

  if (options.vbrHeader) {
    VbrTagFields fields;
    fields.firstHeader = templateHeader;
    bool vbr = hasSourceTag ? sourceTag.isVbr != 0 : false;
    // Without the source's word on it: VBR when the cut's own bitrates vary.
    for (int k = plan.a; k < plan.b && !hasSourceTag; ++k) {
      vbr = vbr || mpeg::BitrateIndex(frames[static_cast<size_t>(k)].header) != mpeg::BitrateIndex(templateHeader);
    }
    fields.vbr = vbr;
    fields.frames = static_cast<uint32_t>(frameOffsets.size());
    const int64_t bytes = tagLength + written;
    fields.bytes = static_cast<uint32_t>(std::min<int64_t>(bytes, UINT32_MAX));
    for (int i = 0; i < 100; ++i) {
      const size_t at = frameOffsets.size() * static_cast<size_t>(i) / 100;
      const int64_t pos = tagLength + frameOffsets[std::min(at, frameOffsets.size() - 1)];
      fields.toc[i] = static_cast<uint8_t>(std::min<int64_t>(255, pos * 256 / bytes));
    }
    fields.quality = hasSourceTag && sourceTag.quality >= 0 ? static_cast<uint32_t>(sourceTag.quality) : 0;
    if (hasSourceTag && sourceTag.hasLameExtension) {
      // The source's extension sits right after its Xing fields.
      int p = XingOffsetOf(all[0].header) + 8;
      if (sourceTag.flags & kXingFlagFrames) p += 4;
      if (sourceTag.flags & kXingFlagBytes) p += 4;
      if (sourceTag.flags & kXingFlagToc) p += 100;
      if (sourceTag.flags & kXingFlagQuality) p += 4;
      if (p + kLameExtensionSize <= kVbrProbeSize) std::memcpy(fields.lame, probe.data() + p, kLameExtensionSize);
    }
    fields.delay = plan.delay;
    fields.padding = plan.padding;
    fields.musicCrc = musicCrc;
    const auto tag = BuildVbrTagFrame(fields);
    if (!PWriteAll(out, tag.data(), tag.size(), 0)) return EnhancedCutResult::IoError;
    report->delay = plan.delay;
    report->padding = plan.padding;
    report->phaseAligned = options.exact && plan.phaseAligned;
  }

  report->startOffset = frames[static_cast<size_t>(plan.a)].offset;
  const FrameRef& last = frames[static_cast<size_t>(plan.b - 1)];
  report->endOffset = last.offset + last.length;
  report->frames = static_cast<int>(frameOffsets.size());
  report->bytesCopied = tagLength + written;
  return EnhancedCutResult::Written;
}
