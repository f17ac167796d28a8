#include "pipeline/ArwMan.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/MulDiv.h"

CArwMan::~CArwMan() { Stop(); }

int CArwMan::SetReader(CAudioReader* reader) {
  if (IsRunning()) return 0;
  m_pReader = reader;
  return 1;
}

int CArwMan::SetWriter(CAudioWriter* writer) {
  if (IsRunning()) return 0;
  m_pWriter = writer;
  return 1;
}

void CArwMan::SetTexts(const ArwTexts& texts) {
  if (texts[0].empty()) return;
  m_texts = texts;
}

void CArwMan::Post(ArwMessage message, int code) {
  if (IArwNotify* notify = m_pNotify.load()) notify->PostArwMessage(message, code);
}

void CArwMan::CloseBoth() {
  if (m_pReader) m_pReader->Close();
  if (m_pWriter) m_pWriter->Close();
}

int CArwMan::FailStart(int code, int* errorCode) {
  if (code) {
    Post(WM_ARWMAN_ERROR, code);
    if (errorCode) *errorCode = code;
  }
  CloseBoth();
  m_converter.Release();
  return 0;
}

int CArwMan::Start(int* errorCode) {
  Stop();
  const int startTime = std::exchange(m_nStartTime, -1);
  m_readerFormat = PcmFormat{};
  m_writerFormat = PcmFormat{};
  m_bRun.store(true);
  m_bStopRequested.store(false);
  m_bPaused.store(false);
  if (errorCode) *errorCode = 0;

  PcmFormat& r = m_readerFormat;
  if (!m_pReader || m_pReader->Open(m_texts[0].c_str(), &r.nSampleRate, &r.nBitsPerSample, &r.nChannels) <= 0) {
    return FailStart(kArwErrorReaderOpen, errorCode);
  }
  m_writerFormat = m_readerFormat;
  PcmFormat& w = m_writerFormat;
  WriterInfoTexts infoTexts;
  std::copy(m_texts.begin() + 2, m_texts.end(), infoTexts.begin());
  if (!m_pWriter ||
      m_pWriter->Open(m_texts[1].c_str(), &w.nSampleRate, &w.nBitsPerSample, &w.nChannels, infoTexts) <= 0) {
    return FailStart(kArwErrorWriterOpen, errorCode);
  }

  // Block size in reader bytes: kBlockFrames writer frames' worth of input.
  m_nBlockBytes = 0;
  if (r.nSampleRate > 0 && r.nBitsPerSample > 0 && r.nChannels > 0 && w.nSampleRate > 0) {
    m_nBlockBytes = MulDiv(r.nBitsPerSample / 8 * r.nChannels * kBlockFrames, r.nSampleRate, w.nSampleRate);
  }
  const bool readerUsable = m_nBlockBytes > 0;
  // A writer that asks for a format the adaptation cannot produce cannot be
  // served: that is the writer failing to open.
  if (readerUsable && !m_converter.Prepare(r, w, std::min(m_nBlockBytes, kReadBytes))) {
    return FailStart(kArwErrorWriterOpen, errorCode);
  }
  if (!readerUsable) m_converter.Release();  // the worker ends at its first block

  if (startTime >= 0 && m_pReader->IsUnseekable() == 0 && m_pWriter->CanSeek() != 0) {
    m_pReader->Seek(startTime);
    m_pWriter->Flush(startTime);
  }

  m_bThreadAlive.store(true);
  try {
    m_thread = std::thread(&CArwMan::WorkerRoutine, this);
  } catch (const std::system_error&) {
    m_bThreadAlive.store(false);
    return FailStart(0, errorCode);
  }
  return 1;
}

void CArwMan::WorkerRoutine() {
  uint8_t readBuffer[kReadBytes];
  int result = 0;
  bool endOfStream = false;
  unsigned seenSeekCount = m_nSeekCount.load();
  while (ShouldRun() && m_pWriter) {
    if (endOfStream) {
      if (m_pWriter->IsPlaying() == 0) break;
      std::this_thread::sleep_for(kPollInterval);
      continue;
    }
    if (m_bPaused.load()) {
      std::this_thread::sleep_for(kPollInterval);
      continue;
    }
    int n;
    unsigned seekCount;
    {
      std::lock_guard<std::mutex> guard(m_csSeek);
      seekCount = m_nSeekCount.load();
      n = m_pReader->Read(readBuffer, kReadBytes);
    }
    if (n <= 0 && m_bPaused.load()) {
      // A read interrupted by a pause is not the end.
      std::this_thread::sleep_for(kPollInterval);
      continue;
    }
    if (n < 0) {
      Post(WM_ARWMAN_ERROR, kArwErrorRead);
      result = -1;
      break;
    }
    if (n == 0) {
      endOfStream = true;
      continue;
    }
    n = std::min(n, kReadBytes);
    if (m_readerFormat.nChannels <= 0 || m_readerFormat.nBitsPerSample <= 0 ||
        m_readerFormat.nSampleRate <= 0 || m_nBlockBytes <= 0) {
      break;
    }
    if (seekCount != seenSeekCount) {
      m_converter.Reset();  // the resamplers' history is from before the seek
      seenSeekCount = seekCount;
    }
    bool failed = false;
    for (int offset = 0; offset < n && ShouldRun(); offset += m_nBlockBytes) {
      const uint8_t* block = nullptr;
      const int length = m_converter.Convert(readBuffer + offset, std::min(m_nBlockBytes, n - offset), &block);
      const BlockResult written = WriteBlock(block, length, seekCount);
      if (written == BlockResult::kFailed) {
        failed = true;
        break;
      }
      if (written == BlockResult::kStale) break;  // the rest of this read is stale too
    }
    if (failed) {
      Post(WM_ARWMAN_ERROR, kArwErrorWrite);
      break;
    }
  }
  CloseBoth();
  // From here on the controlling thread may swap the reader and the writer.
  m_bThreadAlive.store(false);
  if (!m_bStopRequested.load() && result == 0) Post(WM_ARWMAN_END, 0);
}

CArwMan::BlockResult CArwMan::WriteBlock(const uint8_t* data, int length, unsigned seekCount) {
  int written = 0;
  while (written < length && ShouldRun()) {
    const int room = m_pWriter->CanWrite();
    if (room == 0) {
      std::this_thread::sleep_for(kPollInterval);
      continue;
    }
    if (room < 0) return BlockResult::kFailed;  // the writer has no output to take it
    const int piece = std::min(room, length - written);
    std::lock_guard<std::mutex> guard(m_csSeek);
    if (m_nSeekCount.load() != seekCount) return BlockResult::kStale;
    if (m_pWriter->Write(data + written, piece) <= 0) return BlockResult::kFailed;
    written += piece;
  }
  return BlockResult::kWritten;
}

void CArwMan::Stop() {
  m_bStopRequested.store(true);
  m_bRun.store(false);
  m_bPaused.store(false);
  if (m_thread.joinable()) {
    // A receiver that stops from the worker itself only asks; the worker
    // leaves its loop and the next Stop from the controlling thread joins.
    if (m_thread.get_id() == std::this_thread::get_id()) return;
    m_thread.join();
  }
  m_converter.Release();
}

void CArwMan::Pause() {
  if (m_bPaused.load()) return;
  if (m_pReader && m_pWriter) {
    m_pReader->Pause(1);
    m_pWriter->Pause(1);
    m_bPaused.store(true);
  } else {
    m_bPaused.store(false);
  }
}

void CArwMan::Resume() {
  if (!m_bPaused.load()) return;
  if (m_pReader && m_pWriter) {
    m_pReader->Pause(0);
    m_pWriter->Pause(0);
  }
  m_bPaused.store(false);
}

void CArwMan::Seek(int milliseconds) {
  if (!m_pReader || m_pReader->IsUnseekable() != 0) return;
  if (!m_pWriter || m_pWriter->CanSeek() == 0) return;
  const int target = std::max(milliseconds, 0);
  std::lock_guard<std::mutex> guard(m_csSeek);
  m_pReader->Seek(target);
  m_pWriter->Flush(target);
  m_nSeekCount.fetch_add(1);
}

int CArwMan::GetPosition() { return m_pWriter ? m_pWriter->GetPosition() : 0; }

int CArwMan::GetDuration() { return m_pReader ? m_pReader->GetDuration() : 0; }

void CArwMan::GetOutputFormat(int* sampleRate, int* bitsPerSample, int* channels) const {
  if (sampleRate) *sampleRate = m_writerFormat.nSampleRate;
  if (bitsPerSample) *bitsPerSample = m_writerFormat.nBitsPerSample;
  if (channels) *channels = m_writerFormat.nChannels;
}
