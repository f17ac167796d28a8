#include "mp3/Mp3Reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cstring>

#include "mp3/FileWindow.h"
#include "mp3/FrameHeader.h"
#include "platform/ByteReader.h"
#include "platform/MulDiv.h"
#include "platform/io/RegularFile.h"

namespace {

constexpr int64_t kMaxSearchPositions = 0xFFFF0;
constexpr int kId3HeaderSize = 10;
constexpr int kId3FooterFlag = 0x10;
constexpr int kId3v1Size = 128;
// APE tag footer: "APETAGEX", version, size of the items and footer, item
// count, flags, 8 reserved bytes; all numbers little-endian.
constexpr int kApeFooterSize = 32;
constexpr int kApeSizeOffset = 12;
constexpr int kApeFlagsOffset = 20;
constexpr uint32_t kApeFlagHasHeader = 0x80000000u;
constexpr int kDecodeInputChunk = 1024;
constexpr int kMostSamplesPerFrame = 1152;

// The ID3v2 header/footer size: four bytes, each taken whole.
int64_t Id3Size(const uint8_t* b) {
  return (int64_t{b[0]} << 21) + (int64_t{b[1]} << 14) + (int64_t{b[2]} << 7) + b[3];
}

// Where the search for the first frame starts: after an ID3v2 tag at the
// front; -1 when the file cannot be read.
int64_t AudioSearchStart(FileWindow& window, int64_t fileSize) {
  if (fileSize < 4) return 0;
  uint8_t head[kId3HeaderSize];
  if (window.ReadAt(0, head, 4) < 4) return -1;
  // Files that begin with "RIFF" are searched from 0 too: the search
  // tolerates the wrapper's header as leading non-audio data.
  if (std::memcmp(head, "ID3", 3) != 0) return 0;
  if (fileSize < kId3HeaderSize || window.ReadAt(4, head + 4, 6) < 6) return -1;
  int64_t start = Id3Size(head + 6) + kId3HeaderSize;
  if (head[5] & kId3FooterFlag) start += kId3HeaderSize;
  return start;
}

// Slides a 4-byte window from `from`: a valid header counts once the next
// frame, one frame length later, belongs to the same stream.
bool FindConfirmedHeader(FileWindow& window, int64_t from, int64_t* at, uint32_t* header) {
  uint8_t b[4];
  if (window.ReadAt(from, b, 4) < 4) return false;
  uint32_t h = mpeg::HeaderFromBytes(b);
  for (int64_t pos = from; pos < from + kMaxSearchPositions; ++pos) {
    if (IsValidFrameHeader(h)) {
      uint8_t next[4];
      if (window.ReadAt(pos + FrameLength(h), next, 4) < 4) return false;
      if (SameStream(h, mpeg::HeaderFromBytes(next))) {
        *at = pos;
        *header = h;
        return true;
      }
    }
    const int c = window.ByteAt(pos + 4);
    if (c < 0) return false;
    h = (h << 8) | static_cast<uint32_t>(c);
  }
  return false;
}

// The stream's format, from its first header.
void DescribeStream(Mp3StreamInfo& info, uint32_t h) {
  Mp3DecoderFields& d = info.data;
  d.stereo = mpeg::Channels(h);
  d.samplerate = SampleRateOf(h);
  d.bitrate = BitrateKbpsOf(h) * 1000;
  d.mode = mpeg::ChannelMode(h);
  info.layer = mpeg::Layer(h);
  info.mpeg25 = mpeg::Mpeg25(h);
  info.lsf = mpeg::Lsf(h);
  d.framesize = SamplesPerFrame(info.layer, info.lsf);
  PutBe32(info.firstHeader, h);
  info.headerFound = 1;
}

}  // namespace

CMp3Reader::CMp3Reader() : CAudioReader("Mp3 Reader") {}

CMp3Reader::~CMp3Reader() { Close(); }

int CMp3Reader::Open(const char* path, int* sampleRate, int* bitsPerSample, int* channels) {
  Close();
  if (!path || !m_ring.IsValid()) return 0;
  // Only regular files: a FIFO would block the open, a device never end.
  const int fd = OpenRegularFile(path, O_RDONLY);
  if (fd < 0) return 0;
  m_file = fdopen(fd, "rb");
  if (!m_file) {
    close(fd);
    return 0;
  }
  // A file that is not MPEG audio is let go at once, so nothing can be
  // decoded from it until the next successful Open.
  if (!FindFirstFrame()) {
    Close();
    return 0;
  }
  if (sampleRate) *sampleRate = m_info.data.samplerate;
  if (bitsPerSample) *bitsPerSample = 16;
  if (channels) *channels = m_info.data.stereo;
  return 1;
}

bool CMp3Reader::FindFirstFrame() {
  m_info = Mp3StreamInfo{};
  const int fd = fileno(m_file);
  FileWindow window(fd);
  const int64_t fileSize = FileSizeOf(fd);
  if (fileSize < 0) return false;
  const int64_t searchStart = AudioSearchStart(window, fileSize);
  int64_t pos = 0;
  uint32_t h = 0;
  if (searchStart < 0 || !FindConfirmedHeader(window, searchStart, &pos, &h)) return false;

  DescribeStream(m_info, h);
  m_info.audioStart = pos;
  m_info.audioSize = fileSize - pos;
  if (!m_decoder.Init(m_info.data.samplerate, m_info.data.stereo)) return false;
  if (!FindTrailingTags(fileSize)) return false;
  m_info.audioEnd = m_info.audioStart + m_info.audioSize;

  uint8_t probe[kVbrProbeSize];
  int parsed = 0;
  if (window.ReadAt(m_info.audioStart, probe, kVbrProbeSize) == kVbrProbeSize) {
    parsed = ParseVbrHeader(probe, &m_info.vbr);
  }
  const bool headerTotals = ComputeStreamTotals(m_info, parsed);

  m_index.Init(fd, m_info.audioStart, m_info.data.framenum, m_info.audioEnd);
  if (!headerTotals) CountFrames();
  // Decoding starts at the confirmed first frame, never at stray sync
  // patterns inside a tag or wrapper before it.
  ResyncToStream(m_info.audioStart);
  return true;
}

// The totals from the frames themselves: the index scans to the end (about
// one sequential read of the file: every block holds headers) and keeps
// what it found for the cut and for seeking. The same unchanged file opened
// again (the dialog reopens its reader for every playback) takes the last
// count instead. A stream the index cannot walk (Layer I) keeps the
// estimate.
void CMp3Reader::CountFrames() {
  FrameCount now;
  struct stat st;
  if (fstat(fileno(m_file), &st) == 0) {
    now.known = true;
    now.device = st.st_dev;
    now.inode = st.st_ino;
    now.size = st.st_size;
    now.modified = st.st_mtim.tv_sec * int64_t{1000000000} + st.st_mtim.tv_nsec;
    now.audioStart = m_info.audioStart;
    now.audioEnd = m_info.audioEnd;
  }
  if (!now.SameFileAs(m_lastCount)) {
    // Read-ahead as for one sequential read of the file.
    posix_fadvise(fileno(m_file), 0, 0, POSIX_FADV_SEQUENTIAL);
    m_index.ExtendToEnd();
    if (m_index.FrameCount() <= 0) return;
    now.frames = m_index.FrameCount();
    now.ms = m_index.LastTime();
    now.bytes = m_index.At(m_index.Count() - 1).offset - m_index.At(0).offset;
    m_lastCount = now;
  }
  SetCountedTotals(m_info, m_lastCount.frames, m_lastCount.ms, m_lastCount.bytes);
}

bool CMp3Reader::FrameCount::SameFileAs(const FrameCount& o) const {
  return known && o.known && device == o.device && inode == o.inode && size == o.size &&
         modified == o.modified && audioStart == o.audioStart && audioEnd == o.audioEnd;
}

bool CMp3Reader::FindTrailingTags(int64_t fileSize) {
  FileWindow window(fileno(m_file), 256);
  uint8_t footer[kId3HeaderSize];
  if (m_info.audioSize >= kId3HeaderSize) {
    if (window.ReadAt(fileSize - kId3HeaderSize, footer, kId3HeaderSize) < kId3HeaderSize) return false;
    if (std::memcmp(footer, "3DI", 3) == 0 && footer[3] >= 4) {
      // An appended ID3v2 tag with footer: header + body + footer.
      const int64_t tagSize = Id3Size(footer + 6) + 2 * kId3HeaderSize;
      if (m_info.audioSize < tagSize) return false;
      m_info.audioSize -= tagSize;
      return true;
    }
  }
  if (m_info.audioSize >= kId3v1Size) {
    uint8_t tag[3];
    if (window.ReadAt(fileSize - kId3v1Size, tag, 3) < 3) return false;
    if (std::memcmp(tag, "TAG", 3) == 0) m_info.audioSize -= kId3v1Size;
  }
  return SkipApeTag(window);
}

// An APE tag at the end of the audio area (before an ID3v1 record, or last
// in the file): its footer gives the size of the items and footer, plus a
// header of the footer's size when the flags say there is one. A footer
// declaring more than the audio area is not taken for a tag.
bool CMp3Reader::SkipApeTag(FileWindow& window) {
  if (m_info.audioSize < kApeFooterSize) return true;
  uint8_t footer[kApeFooterSize];
  const int64_t at = m_info.audioStart + m_info.audioSize - kApeFooterSize;
  if (window.ReadAt(at, footer, kApeFooterSize) < kApeFooterSize) return false;
  if (std::memcmp(footer, "APETAGEX", 8) != 0) return true;
  ByteReader fields(footer, sizeof footer);
  fields.Seek(kApeSizeOffset);
  int64_t tagSize = fields.Le32();
  fields.Seek(kApeFlagsOffset);
  if (fields.Le32() & kApeFlagHasHeader) tagSize += kApeFooterSize;
  if (tagSize >= kApeFooterSize && tagSize <= m_info.audioSize) m_info.audioSize -= tagSize;
  return true;
}

void CMp3Reader::ResyncToStream(int64_t offset) {
  if (!m_file || offset < 0) return;
  int64_t limit = m_info.audioEnd - offset - 3;
  if (limit > kMaxSearchPositions) limit = kMaxSearchPositions;
  int64_t pos = offset;
  if (limit > 0) {
    const StreamSignature reference = m_info.Signature();
    FileWindow window(fileno(m_file), 16 * 1024);
    uint8_t b[4];
    if (window.ReadAt(pos, b, 4) == 4) {
      uint32_t h = mpeg::HeaderFromBytes(b);
      for (int64_t n = 0; n < limit; ++n) {
        if (SameStream(reference, h)) break;
        const int c = window.ByteAt(pos + 4);
        if (c < 0) break;
        h = (h << 8) | static_cast<uint32_t>(c);
        ++pos;
      }
    }
  }
  fseeko(m_file, pos, SEEK_SET);
}

int64_t CMp3Reader::TimeToOffset(double milliseconds) {
  return m_file ? m_index.TimeToOffset(milliseconds) : -1;
}

void CMp3Reader::AppendSamples() {
  // The decoder's samples are interleaved in machine order; PCM from Read is
  // little-endian.
  const int values = m_decoder.SampleCount() * m_decoder.Channels();
  const int16_t* samples = m_decoder.Samples();
  if constexpr (std::endian::native == std::endian::little) {
    m_ring.Write(samples, 2 * values);
  } else {
    uint8_t block[kMostSamplesPerFrame * 2 * 2];
    for (int i = 0; i < values; ++i) {
      const uint16_t v = static_cast<uint16_t>(samples[i]);
      block[2 * i] = static_cast<uint8_t>(v & 0xFF);
      block[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    m_ring.Write(block, 2 * values);
  }
}

int CMp3Reader::DecodeOnce() {
  // First what the decoder can make of the bytes it holds, then more input
  // until a frame comes out or the file ends.
  Mpg123Decoder::Result result = m_decoder.DecodeFrame();
  unsigned char input[kDecodeInputChunk];
  while (result == Mpg123Decoder::Result::NeedMore) {
    const size_t got = m_file ? std::fread(input, 1, sizeof input, m_file) : 0;
    if (got == 0) return 0;
    if (!m_decoder.Feed(input, got)) return -1;
    result = m_decoder.DecodeFrame();
  }
  if (result == Mpg123Decoder::Result::Failed) return -1;
  m_decoder.RefreshStreamFields(m_info);
  AppendSamples();
  return m_decoder.SampleCount();
}

int CMp3Reader::Read(void* buffer, int length) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_ring.IsValid() || length < 0) return -1;
  if (m_ring.Count() < length) {
    if (DecodeOnce() < 0) return -1;
  }
  const int n = std::min(m_ring.Count(), length);
  if (n > 0) m_ring.Read(buffer, n, 1);
  return n;
}

void CMp3Reader::Seek(int milliseconds) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_file) return;
  if (milliseconds < 0) {
    ResyncToStream(m_info.audioStart);
    return;
  }
  ResyncToStream(m_index.TimeToOffset(milliseconds));
}

int CMp3Reader::GetDuration() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_file) return 0;
  return StreamDurationMs(m_info);
}

void CMp3Reader::Close() {
  // The worker closes the reader at the end of its run while the user
  // interface may still ask for the duration: both go through the lock.
  std::lock_guard<std::mutex> guard(m_lock);
  m_index.Reset();
  if (m_file) {
    std::fclose(m_file);
    m_file = nullptr;
    m_decoder.Exit();
  }
  m_ring.Reset();
  m_info.ClearDecoderFields();
}
