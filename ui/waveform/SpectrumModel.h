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
// The window may be resized and the waveform zoomed and scrolled: the view
// (WaveView) says which stretch of the file the columns show, and the
// visible columns (VisibleColumns) are rebuilt from the analysis columns,
// the peak summary the analysis keeps (PeakSummary) or detail decoded on
// demand, never by decoding the whole file again. Unzoomed, at the width
// the analysis ran for, the picture and the mapping are exactly the
// analysis's own.
//
// Contract in brief:
// - Attach(w, h) once: fixes columnCount = w (the analysis columns) for the
//   life of the model; SetClientSize follows later size changes (the
//   rectangles, the view's width and the visible columns).
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
#include "pipeline/PeakColumns.h"
#include "ui/waveform/FrameTimes.h"
#include "ui/waveform/PeakSummary.h"
#include "ui/waveform/SelectionHistory.h"
#include "ui/waveform/VisibleColumns.h"
#include "ui/waveform/WaveView.h"

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
    // The view was zoomed or scrolled (a scroll bar follows it).
    virtual void ViewChanged() {}
    // The view wants the peaks of [startMs, endMs) decoded (SetDetail).
    virtual void RequestDetail(int /*startMs*/, int /*endMs*/) {}
  };

  // Margins of the client area: the waveform area leaves kWaveTopMargin rows
  // above and kWaveBottomMargin rows below (the ruler and a gap); the ruler
  // is the bottom kRulerHeight rows.
  static constexpr int kWaveTopMargin = 8;
  static constexpr int kWaveBottomMargin = 28;
  static constexpr int kRulerHeight = 20;
  static constexpr int kPendingInitialBytes = 4096;
  static constexpr int kMaxPieceBytes = 64 * 1024;
  static constexpr int kFrameGridPixels = 6;

  SpectrumModel();
  SpectrumModel(const SpectrumModel&) = delete;
  SpectrumModel& operator=(const SpectrumModel&) = delete;

  void SetHost(Host* host) { m_pHost = host; }

  // Sets the rectangles for a w x h client area, allocates the zero-filled
  // column arrays for w columns and fixes columnCount (0 when w <= 0 or the
  // allocation fails). Meant to be called once, when the window is made.
  void Attach(int width, int height);
  // Follows a size change: rectangles, the view's width and the visible
  // columns; the analysis columns stay.
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

  // Keyboard editing. One edge of the selection is active (Tab switches);
  // once a key has moved an edge, the active one is drawn highlighted until
  // the next click. Each returns whether the selection changed, and commits
  // it to the history.
  enum class Edge { Start, End };
  Edge GetActiveEdge() const { return m_activeEdge; }
  bool IsActiveEdgeShown() const { return m_bActiveEdgeShown; }
  void SwitchEdge();
  // The start (end) at `timeMs` by the rule of a left (right) click there.
  bool PlaceStart(int timeMs);
  bool PlaceEnd(int timeMs);
  // The active edge to `timeMs`, kept inside the file and from passing the
  // other edge.
  bool MoveActiveEdge(int timeMs);
  // Where the active edge is (an unset start counts as 0, an unset end as
  // the duration).
  int ActiveEdgeTime() const;
  // The first frame boundary after `timeMs` (direction > 0) or the last
  // one before it (direction < 0), by the frame times when known, else by
  // the nominal frame length.
  int FrameStep(int timeMs, int direction) const;
  // Where the stream's frames start (FrameTimes.h); the zoomed picture
  // moves by their lead onto the cut's axis.
  void SetFrameTimes(FrameTimes times);
  // The frames' starts in ms, rising (the last one is the end of the audio);
  // empty while unknown.
  const std::vector<int>& GetFrameTimes() const { return m_frameTimes; }
  // Whether the frames are wide enough in the view (kFrameGridPixels) for
  // their boundaries to be drawn.
  bool ShowsFrameGrid() const;
  // What a cut of the selection writes: whole frames (the plain cut) or the
  // exact stretch (SetExactCut). False without a selection or frame times.
  void SetExactCut(bool exact);
  bool GetCutStretch(int* fromMs, int* toMs) const;
  bool SelectAll();
  // Sets both ends (start <= end, inside the file), commits, posts.
  bool SetSelectionRange(int startMs, int endMs);
  // Records the selection shown as a step (after a change is complete).
  void CommitSelection();
  bool Undo();
  bool Redo();

  // Split marks: the times (ms, rising, strictly inside the file) where a
  // split into tracks goes, drawn numbered over the waveform. A left press
  // within kMarkGrabPixels of a mark's line drags that mark (between its
  // neighbours) instead of moving the selection. Every change is a step of
  // the history the selection's changes go into; Reset and a new analysis
  // clear them.
  static constexpr int kMarkGrabPixels = 3;
  const std::vector<int>& GetMarks() const { return m_marks; }
  // False at or outside the file's ends and where a mark is already.
  bool AddMark(int timeMs);
  // Each time that AddMark would take, all as one step; how many were added.
  int AddMarks(const std::vector<int>& times);
  // Removes the mark nearest `timeMs`; false when there is none.
  bool RemoveMarkNearest(int timeMs);
  // The index of the mark whose line is nearest client x within
  // kMarkGrabPixels, or -1.
  int MarkNear(int x) const;
  // The mark being dragged, or -1.
  int GetDraggedMark() const { return m_nDraggedMark; }

  int TimeToX(int timeMs) const;
  int XToTime(int x) const;

  // Zoom and scroll (no effect before the analysis has ended). Each
  // rebuilds the visible columns, tells the host and redraws when the view
  // moved, and returns whether it did.
  const WaveView& GetView() const { return m_view; }
  bool ZoomAround(int timeMs, int x, double factor);
  bool ZoomAtPointer(int x, double factor) { return ZoomAround(XToTime(x), x, factor); }
  bool ShowAll();
  bool ZoomTo(int fromMs, int toMs);
  // A scroll by the user ends the following of the play cursor.
  bool ScrollTo(int startMs);
  bool ScrollBy(int deltaMs) { return ScrollTo(m_view.Start() + deltaMs); }
  // While playing: the view pages along with `timeMs` while following.
  void SetFollowing(bool following) { m_bFollowing = following; }
  bool IsFollowing() const { return m_bFollowing; }
  bool FollowPlayPosition(int timeMs);
  // Decoded peaks for the deepest zoom (the host's RequestDetail answer).
  void SetDetail(WaveDetail detail);
  const PeakSummary& GetSummary() const { return m_summary; }

  // The line of each visible column, as offsets from the top of the
  // waveform area.
  int GetVisibleColumnCount() const { return m_visible.Count(); }
  int GetVisibleTop(int column) const { return m_visible.Top(column); }
  int GetVisibleBottom(int column) const { return m_visible.Bottom(column); }

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
  // Rebuilds the visible columns and asks for detail they lack.
  void RefreshColumns();
  // After the view moved: columns, host, mouse time, picture.
  bool ViewMoved(bool moved);
  // Shows a selection that a key or the history set.
  bool ShowSelection(int start, int end);
  void SetSelection(int first, int second);
  void PostChangeTime();
  void Compose();
  // Mark dragging (SpectrumModelMarks.cpp).
  void BeginMarkDrag(int index);
  void DragMarkTo(int x);
  // Shows the marks of a step the history gave back; whether they changed.
  bool ShowMarks(const std::vector<int>& marks);

  Host* m_pHost = nullptr;

  int m_nDuration = -1;
  int m_nSampleRate = 0;
  int m_nBitsPerSample = 0;
  int m_nChannels = 0;
  std::unique_ptr<int16_t[]> m_pColumnBottom;
  std::unique_ptr<int16_t[]> m_pColumnTop;
  std::vector<PeakColumns::Peak> m_columnPeaks;  // the columns' raw extremes
  int m_nColumnCount = 0;
  int m_nAnalysisWidth = 0;  // the client width the columns were sized for
  int m_nFilledColumns = 0;
  int m_nSamplesPerColumn = 0;
  int m_nSelStart = 0;
  int m_nSelEnd = 0;
  int m_nPlayPosition = -1;
  int m_nMouseX = -1;
  int m_nAnchorX = -1;
  int m_nAnchorTime = -1;  // the time under the anchor when it was set
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

  WaveView m_view;
  PeakSummary m_summary;
  WaveDetail m_detail;
  VisibleColumns m_visible;
  bool m_bFollowing = false;
  SelectionHistory m_history;
  Edge m_activeEdge = Edge::Start;
  bool m_bActiveEdgeShown = false;
  std::vector<int> m_frameTimes;
  int64_t m_nLeadFrames = 0;
  bool m_bExactCut = false;
  std::vector<int> m_marks;
  int m_nDraggedMark = -1;
  // The stretch last asked for, so it is asked for once.
  int m_nDetailAskedStart = -1;
  int m_nDetailAskedEnd = -1;
};
