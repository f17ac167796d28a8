// Fakes for the pipeline tests: a reader that serves bytes from memory (or
// an endless pattern) and counts every call, and a writer whose room,
// results and sounding time the test scripts, recording all it receives.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "pipeline/ArwMessageQueue.h"
#include "pipeline/AudioReader.h"
#include "pipeline/AudioWriter.h"
#include "pipeline/PcmFormatConverter.h"

class FakeReader : public CAudioReader {
 public:
  explicit FakeReader(std::vector<uint8_t> data, PcmFormat format = {44100, 16, 2})
      : CAudioReader("fake reader"), m_data(std::move(data)), m_format(format) {}

  // Knobs, set before Start.
  int openResult = 1;
  int readChunk = 8192;    // at most this many bytes per Read
  int failAtRead = -1;     // this Read (0-based) returns -1
  bool seekable = true;
  bool endless = false;    // the data repeats forever
  bool epochBytes = false; // every byte is the number of seeks so far (mod 256)

  int Open(const char* path, int* rate, int* bits, int* channels) override {
    std::lock_guard<std::mutex> guard(m_lock);
    ++opens;
    lastPath = path ? path : "";
    m_position = 0;
    if (openResult <= 0) return openResult;
    if (rate) *rate = m_format.nSampleRate;
    if (bits) *bits = m_format.nBitsPerSample;
    if (channels) *channels = m_format.nChannels;
    return 1;
  }
  void Close() override { ++closes; }
  int GetDuration() override {
    const int bytesPerSecond = std::max(1, m_format.FrameBytes() * m_format.nSampleRate);
    return static_cast<int>(static_cast<int64_t>(m_data.size()) * 1000 / bytesPerSecond);
  }
  int Read(void* buffer, int length) override {
    std::lock_guard<std::mutex> guard(m_lock);
    const int index = reads++;
    if (paused.load()) ++readsWhilePaused;
    if (index == failAtRead) return -1;
    auto* out = static_cast<uint8_t*>(buffer);
    int n = std::min(readChunk, length);
    if (epochBytes) {
      std::fill(out, out + n, static_cast<uint8_t>(seekCount.load()));
      return n;
    }
    if (!endless) n = static_cast<int>(std::min<size_t>(n, m_data.size() - m_position));
    for (int i = 0; i < n; ++i) {
      if (m_position >= m_data.size()) m_position = 0;
      out[i] = m_data[m_position++];
    }
    return n;
  }
  int Pause(int flag) override {
    paused.store(flag != 0);
    (flag ? pauseOn : pauseOff)++;
    return 1;
  }
  int IsUnseekable() override { return seekable ? 0 : 1; }
  void Seek(int milliseconds) override {
    std::lock_guard<std::mutex> guard(m_lock);
    seeks.push_back(milliseconds);
    ++seekCount;
    const int64_t frame = static_cast<int64_t>(milliseconds) * m_format.nSampleRate / 1000;
    m_position = std::min<size_t>(static_cast<size_t>(frame * m_format.FrameBytes()), m_data.size());
  }

  std::vector<int> Seeks() {
    std::lock_guard<std::mutex> guard(m_lock);
    return seeks;
  }

  std::atomic<int> opens{0}, closes{0}, reads{0}, readsWhilePaused{0}, pauseOn{0}, pauseOff{0};
  std::atomic<int> seekCount{0};
  std::atomic<bool> paused{false};
  std::string lastPath;

 private:
  std::mutex m_lock;
  std::vector<uint8_t> m_data;
  PcmFormat m_format;
  size_t m_position = 0;
  std::vector<int> seeks;
};

class FakeWriter : public CAudioWriter {
 public:
  FakeWriter() : CAudioWriter("fake writer") {}

  // Knobs, set before Start.
  int openResult = 1;
  std::optional<PcmFormat> askFormat;  // the format Open asks for instead
  std::function<int(int call)> room = [](int) { return 9216; };
  int playingPolls = 0;   // IsPlaying answers 1 this many times, then 0
  int failAtWrite = -1;   // this Write (0-based) returns 0
  int canSeek = 0;

  int Open(const char* text1, int* rate, int* bits, int* channels, const WriterInfoTexts& texts) override {
    ++opens;
    openText = text1 ? text1 : "";
    openTexts = texts;
    if (openResult <= 0) return openResult;
    if (askFormat) {
      *rate = askFormat->nSampleRate;
      *bits = askFormat->nBitsPerSample;
      *channels = askFormat->nChannels;
    }
    m_nSampleRate = *rate;
    m_nBitsPerSample = *bits;
    m_nChannels = *channels;
    return 1;
  }
  void Close() override { ++closes; }
  int Write(const void* buffer, int length) override {
    std::lock_guard<std::mutex> guard(m_lock);
    const int index = writes++;
    writeSizes.push_back(length);
    if (index == failAtWrite) return 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    received.insert(received.end(), bytes, bytes + length);
    if (checkEpoch && length > 0) {
      for (int i = 0; i < length; ++i) {
        if (bytes[i] != static_cast<uint8_t>(flushes.size())) ++staleBytes;
      }
    }
    return length;
  }
  int CanWrite() override { return room(canWriteCalls++); }
  int IsPlaying() override {
    const int call = isPlayingCalls++;
    if (call < playingPolls) return 1;
    finishedSounding.store(true);
    return 0;
  }
  int CanSeek() override { return canSeek; }
  int GetPosition() override { return 1234; }
  int Pause(int flag) override {
    (flag ? pauseOn : pauseOff)++;
    return 1;
  }
  void Flush(int milliseconds) override {
    std::lock_guard<std::mutex> guard(m_lock);
    flushes.push_back(milliseconds);
  }

  std::vector<uint8_t> Received() {
    std::lock_guard<std::mutex> guard(m_lock);
    return received;
  }
  std::vector<int> WriteSizes() {
    std::lock_guard<std::mutex> guard(m_lock);
    return writeSizes;
  }
  std::vector<int> Flushes() {
    std::lock_guard<std::mutex> guard(m_lock);
    return flushes;
  }

  std::atomic<int> opens{0}, closes{0}, writes{0}, canWriteCalls{0}, isPlayingCalls{0};
  std::atomic<int> pauseOn{0}, pauseOff{0};
  std::atomic<bool> finishedSounding{false};
  bool checkEpoch = false;  // count bytes not tagged with the current flush count
  int staleBytes = 0;
  std::string openText;
  WriterInfoTexts openTexts;

 private:
  std::mutex m_lock;
  std::vector<uint8_t> received;
  std::vector<int> writeSizes;
  std::vector<int> flushes;
};

// Bytes 0, 1, 2, ... 255, 0, ... : any loss, repeat or reordering shows.
inline std::vector<uint8_t> CountingBytes(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return v;
}

// The next message within `timeout`, or nothing.
inline std::optional<ArwPosted> NextMessage(ArwMessageQueue& queue,
                                            std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  ArwPosted posted;
  if (!queue.Wait(&posted, timeout)) return std::nullopt;
  return posted;
}

// The bytes a file holds at the moment of the call (read in bulk: device
// files can be large, and may still grow).
inline std::vector<uint8_t> ReadFilePrefix(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size > 0 && std::fseek(f, 0, SEEK_SET) == 0) {
      bytes.resize(static_cast<size_t>(size));
      bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    }
  }
  std::fclose(f);
  return bytes;
}

// Polls `condition` until it holds or `timeout` passes.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}
