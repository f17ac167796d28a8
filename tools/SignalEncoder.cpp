#include "tools/SignalEncoder.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>

std::vector<int16_t> MakeSignal(const EncodeSpec& spec) {
  const size_t frames = static_cast<size_t>(spec.seconds * spec.sampleRate);
  std::vector<int16_t> pcm(frames * static_cast<size_t>(spec.channels));
  static const double kTones[] = {220.0, 330.0, 440.0, 523.25, 659.25, 880.0, 987.77, 1318.5};
  uint32_t noise = spec.seed * 2654435761u + 1;
  const double rate = spec.sampleRate;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    const size_t step = static_cast<size_t>(t * 2.0);
    for (int c = 0; c < spec.channels; ++c) {
      const double f = kTones[(step + static_cast<size_t>(c) * 3 + spec.seed) % 8];
      const double sweep = 200.0 + 1800.0 * std::fmod(t / 7.0, 1.0);
      noise = noise * 1664525u + 1013904223u;
      const double n = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.05;
      double v = 0.35 * std::sin(2 * M_PI * f * t) + 0.15 * std::sin(2 * M_PI * sweep * t) + n;
      if (spec.alikeChannels && c > 0) v = 0.8 * pcm[i * spec.channels] / 32767.0 + 0.2 * v;
      // A short fade in and out keeps the ends click-free.
      const double edge = std::min(t, spec.seconds - t);
      if (edge < 0.01) v *= std::max(0.0, edge / 0.01);
      pcm[i * spec.channels + c] = static_cast<int16_t>(std::lrint(v * 32767.0));
    }
  }
  return pcm;
}

lame_global_struct* OpenEncoder(const EncodeSpec& spec) {
  lame_global_flags* gf = lame_init();
  if (!gf) return nullptr;
  lame_set_num_channels(gf, spec.channels);
  lame_set_in_samplerate(gf, spec.sampleRate);
  lame_set_out_samplerate(gf, spec.sampleRate);
  lame_set_mode(gf, spec.channels == 1 ? MONO : JOINT_STEREO);
  lame_set_quality(gf, spec.quality);
  lame_set_bWriteVbrTag(gf, spec.writeVbrTag ? 1 : 0);
  lame_set_write_id3tag_automatic(gf, 0);
  lame_set_error_protection(gf, spec.crc ? 1 : 0);
  lame_set_disable_reservoir(gf, spec.reservoir ? 0 : 1);
  switch (spec.mode) {
    case EncodeSpec::Mode::Cbr:
      lame_set_VBR(gf, vbr_off);
      lame_set_brate(gf, spec.kbps);
      break;
    case EncodeSpec::Mode::Vbr:
      lame_set_VBR(gf, vbr_default);
      lame_set_VBR_quality(gf, static_cast<float>(spec.vbrQuality));
      break;
    case EncodeSpec::Mode::Abr:
      lame_set_VBR(gf, vbr_abr);
      lame_set_VBR_mean_bitrate_kbps(gf, spec.kbps);
      break;
  }
  if (lame_init_params(gf) < 0) {
    lame_close(gf);
    return nullptr;
  }
  return gf;
}

std::vector<uint8_t> EncodePcm(const EncodeSpec& spec, const std::vector<int16_t>& pcm) {
  std::vector<uint8_t> out;
  lame_global_flags* gf = OpenEncoder(spec);
  if (!gf) return out;
  const int frames = static_cast<int>(pcm.size() / static_cast<size_t>(spec.channels));
  const int chunk = 8192;
  std::vector<uint8_t> buf(static_cast<size_t>(1.25 * chunk + 7200));
  std::vector<int16_t> left(chunk), right(chunk);
  for (int pos = 0; pos < frames; pos += chunk) {
    const int n = std::min(chunk, frames - pos);
    for (int i = 0; i < n; ++i) {
      left[i] = pcm[static_cast<size_t>(pos + i) * spec.channels];
      right[i] = spec.channels == 2 ? pcm[static_cast<size_t>(pos + i) * 2 + 1] : left[i];
    }
    const int got = lame_encode_buffer(gf, left.data(), spec.channels == 2 ? right.data() : nullptr,
                                       n, buf.data(), static_cast<int>(buf.size()));
    if (got < 0) {
      lame_close(gf);
      return {};
    }
    out.insert(out.end(), buf.begin(), buf.begin() + got);
  }
  const int tail = lame_encode_flush(gf, buf.data(), static_cast<int>(buf.size()));
  if (tail > 0) out.insert(out.end(), buf.begin(), buf.begin() + tail);
  if (spec.writeVbrTag) {
    // The first frame was a placeholder; LAME fills in the finished header now.
    std::vector<uint8_t> tag(2880);
    const size_t n = lame_get_lametag_frame(gf, tag.data(), tag.size());
    if (n > 0 && n <= out.size()) std::copy(tag.begin(), tag.begin() + static_cast<long>(n), out.begin());
  }
  lame_close(gf);
  return out;
}

std::vector<uint8_t> EncodeMp3(const EncodeSpec& spec) { return EncodePcm(spec, MakeSignal(spec)); }

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
