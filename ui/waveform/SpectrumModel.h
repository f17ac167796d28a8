// SpectrumModel: everything the waveform view knows, without a window.
//
// The view reduces the decoded PCM of a whole file to one vertical peak line
// per pixel column, maps milliseconds to columns and back, keeps the
// selection (start and end in ms) and the play cursor, and applies the mouse
// rules. The window (CSpectrumCtrl) forwards its size, its mouse events and
// the dialog's calls here and does the drawing; everything the model needs
// from the window goes through the small Host interface, so tests drive the
// model with a recording host and no display.
//
// Contract in brief:
// - Attach(w, h) once: fixes columnCount = w for the life of the model;
//   SetClientSize follows later size changes (the rectangles only).
// - Per file: Reset, BeginAnalysis, AddPcm... (worker thread, under the
//   caller's lock), EndAnalysis. Only AddPcm may run off the UI thread; it
//   never calls the host.
// - Times are int32 ms; -1 means "not set" for the selection and "hidden" for
//   the play cursor.
// - Memory is bounded whatever the stream claims: bytes past the last column
//   are dropped, and a column is reduced in pieces of at most
//   kMaxPieceBytes, so a huge column never needs a huge buffer.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "mp3/ByteRing.h"

enum class SpectrumState { Empty = 0, Analysing = 1, Ready = 2 };

// A pixel rectangle, right and bottom excluded (as client rectangles are).
struct SpectrumRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

class SpectrumModel {
 public:
  // What the model asks of its window. Every call happens on the UI thread.
  class Host {
   public:
    virtual ~Host() = default;
    // Queue the two notifications (dropped by the window when nobody listens).
    virtual void PostChangeTime(int selStart, int selEnd) = 0;
    virtual void PostMouseTime(int timeMs) = 0;
    // Rebuild the composite picture and invalidate without erasing.
    virtual void Compose() = 0;
    // Render base and selection pictures, compose, invalidate.
    virtual void Redraw() = 0;
    virtual bool HoldsMouseCapture() const = 0;
    virtual void BeginMouseCapture() = 0;
    // Releases the capture if held.
    virtual void EndMouseCapture() = 0;
  };

  // Margins of the client area: the waveform area leaves kWaveTopMargin rows
  // above and kWaveBottomMargin rows below (the ruler and a gap); the ruler
  // is the bottom kRulerHeight rows.
  static constexpr int kWaveTopMargin = 8;
  static constexpr int kWaveBottomMargin = 28;
  static constexpr int kRulerHeight = 20;
  static constexpr int kPendingInitialBytes = 4096;
  static constexpr int kMaxPieceBytes = 64 * 1024;

  SpectrumModel();
  SpectrumModel(const SpectrumModel&) = delete;
  SpectrumModel& operator=(const SpectrumModel&) = delete;

  void SetHost(Host* host) { m_pHost = host; }

  // Sets the rectangles for a w x h client area, allocates the zero-filled
  // column arrays for w columns and fixes columnCount (0 when w <= 0 or the
  // allocation fails). Meant to be called once, when the window is made.
  void Attach(int width, int height);
  // Follows a size change: rectangles only, the columns stay.
  void SetClientSize(int width, int height);

  // Back to Empty; keeps the hint flag, the host and the capture; redraws.
  void Reset();
  // Validates and stores the stream format; state Analysing, selection
  // (-1, -1). False (nothing changed) unless durationMs > 0, sampleRate > 0,
  // 1 <= bitsPerSample <= 16 and channels > 0.
  bool BeginAnalysis(int durationMs, int sampleRate, int bitsPerSample, int channels);
  // Appends PCM (interleaved, little-endian) and reduces every complete
  // column. Worker thread; the caller serialises it with BeginAnalysis/Reset.
  void AddPcm(const void* bytes, int length);
  void EndAnalysis();

  int GetSelStart() const { return m_nSelStart; }
  int GetSelEnd() const { return m_nSelEnd; }
  // Refuse t < 0, t > duration and a start after the end (or an end before
  // the start); on success the play cursor is hidden, the change is posted
  // and the picture composed.
  bool SetSelStart(int timeMs);
  bool SetSelEnd(int timeMs);
  // Stores a new cursor time and composes when it differs; always true.
  bool SetPlayPosition(int timeMs);

  int TimeToX(int timeMs) const;
  int XToTime(int x) const;

  // Mouse rules; x is the client x of the pointer.
  void OnMouseMove(int x, bool leftButtonDown);
  void OnLeftDown(int x);
  void OnLeftUp();
  void OnRightDown(int x);

  // Called by the renderer: true exactly once, the first time a waveform is
  // rendered before any left click (the selection hint is then drawn).
  bool TakeSelectionHint();

  SpectrumState GetState() const { return m_state; }
  int GetDuration() const { return m_nDuration; }
  int GetSampleRate() const { return m_nSampleRate; }
  int GetBitsPerSample() const { return m_nBitsPerSample; }
  int GetChannels() const { return m_nChannels; }
  int GetColumnCount() const { return m_nColumnCount; }
  int GetFilledColumns() const { return m_nFilledColumns; }
  int GetSamplesPerColumn() const { return m_nSamplesPerColumn; }
  int64_t GetBytesPerColumn() const { return m_nBytesPerColumn; }
  int GetColumnTop(int column) const { return m_pColumnTop[column]; }
  int GetColumnBottom(int column) const { return m_pColumnBottom[column]; }
  int GetPlayPosition() const { return m_nPlayPosition; }
  int GetMouseX() const { return m_nMouseX; }
  int GetAnchorX() const { return m_nAnchorX; }
  bool IsDragging() const { return m_bDragging; }
  bool IsHintShown() const { return m_bHintShown; }
  int GetPendingBytes() const { return m_pending.Count(); }
  const SpectrumRect& WaveArea() const { return m_rcWave; }
  const SpectrumRect& TrackArea() const { return m_rcTrack; }
  const SpectrumRect& RulerArea() const { return m_rcRuler; }
  int GetClientWidth() const { return m_nClientWidth; }
  int GetClientHeight() const { return m_nClientHeight; }

 private:
  bool CanReduce() const;
  void FoldSamples(const uint8_t* bytes, int length);
  void ReduceColumn();
  void SetSelection(int first, int second);
  void PostChangeTime();
  void Compose();

  Host* m_pHost = nullptr;

  int m_nDuration = -1;
  int m_nSampleRate = 0;
  int m_nBitsPerSample = 0;
  int m_nChannels = 0;
  std::unique_ptr<int16_t[]> m_pColumnBottom;
  std::unique_ptr<int16_t[]> m_pColumnTop;
  int m_nColumnCount = 0;
  int m_nFilledColumns = 0;
  int m_nSamplesPerColumn = 0;
  int m_nSelStart = 0;
  int m_nSelEnd = 0;
  int m_nPlayPosition = -1;
  int m_nMouseX = -1;
  int m_nAnchorX = -1;
  bool m_bDragging = false;
  bool m_bHintShown = false;
  ByteRing m_pending{kPendingInitialBytes};
  std::vector<uint8_t> m_columnBytes;  // one piece of a column
  int64_t m_nBytesPerColumn = 0;
  SpectrumState m_state = SpectrumState::Empty;

  // The column being reduced: bytes folded so far and its extremes.
  int64_t m_nColumnBytesDone = 0;
  int m_nColumnPeak = 0;    // largest positive sample, 0 if none
  int m_nColumnTrough = 0;  // smallest negative sample, 0 if none

  SpectrumRect m_rcWave;
  SpectrumRect m_rcTrack;
  SpectrumRect m_rcRuler;
  int m_nClientWidth = 0;
  int m_nClientHeight = 0;
  // Height of the waveform area as the worker thread reads it.
  std::atomic<int> m_nWaveHeight{0};
};
