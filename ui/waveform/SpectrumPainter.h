// SpectrumPainter: turns a SpectrumModel into pixels through three
// off-screen layers of the control's size (wxBitmap + wxMemoryDC each).
//
//   base        background, grid, ruler, waveform, state texts
//   selection   the same grid and waveform in the selection colours
//   composite   what the screen shows
//
// RenderLayers draws what depends on the file and the state into base and
// selection, then composes. Compose copies base onto composite and adds what
// depends on the selection and the pointer (the selection copied from the
// selection layer, its two markers, the fades over it, the dotted play
// cursor, the mouse line);
// it never re-renders the waveform, so a pointer move costs one full copy, at
// most one partial copy and a few short lines. Paint only copies composite.
//
// Split marks are lines across the track area, numbered from 1 in time order
// near the top of the waveform area (the one being dragged in the active
// marker's colour); Compose adds them too (SpectrumPainterMarks.cpp).
//
// Deep in a zoom, the frames' boundaries are drawn faintly into base and
// selection, and Compose adds a bar along the top of the waveform area over
// what a cut of the selection writes (whole frames, or the exact stretch).
//
// Lines follow one rule everywhere: a line from a to b covers a and stops
// before b, in whichever direction it runs. Antialiasing is off, so every
// pixel is exactly one of the palette colours (tests read layers back).
//
// CreateLayers, RenderLayers and Paint hold the painter's lock so the screen
// is never copied from a layer being rebuilt; Compose does not take it. All
// calls are for the UI thread.
#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/dcmemory.h>
#include <wx/font.h>
#include <wx/image.h>
#include <wx/pen.h>

#include <memory>
#include <mutex>

#include "ui/waveform/SpectrumModel.h"

class SpectrumRuler;
class wxDC;

class SpectrumPainter {
 public:
  enum class Layer { Base = 0, Selection = 1, Composite = 2 };

  static const wxColour kBaseBackground;
  static const wxColour kBaseGrid;
  static const wxColour kBaseWave;
  static const wxColour kRulerBackground;
  static const wxColour kRulerInk;
  static const wxColour kSelectionBackground;
  static const wxColour kSelectionGrid;
  static const wxColour kSelectionWave;
  static const wxColour kBaseFrameGrid;       // faint frame boundaries at deep zoom
  static const wxColour kSelectionFrameGrid;
  static const wxColour kCutStretch;          // the bar over what the cut writes
  static const wxColour kMarker;
  static const wxColour kActiveMarker;  // the edge the keys move, once they have
  static const wxColour kSplitMark;
  static const wxColour kPlayCursor;
  static const wxColour kMouseLine;
  static const wxColour kFadeLine;
  static const wxColour kTextInk;
  static const wxColour kTextShadow;

  // Character height of the ruler labels in pixels.
  static constexpr int kRulerFontPixels = 10;
  // Added to the control font's height field for the state texts (a
  // positive result is a cell height, as font heights go).
  static constexpr int kMessageHeightIncrease = 50;
  static constexpr int kMessageWeight = 800;
  // Rows of each marker flag above and below the waveform area.
  static constexpr int kMarkerFlagRows = 8;

  SpectrumPainter();
  SpectrumPainter(const SpectrumPainter&) = delete;
  SpectrumPainter& operator=(const SpectrumPainter&) = delete;

  // (Re)creates base, selection and composite at width x height (at least
  // 1 x 1) and selects rulerFont into the first two. Stops at the first layer
  // that cannot be made and returns false; that layer and the later ones are
  // left without a surface.
  bool CreateLayers(int width, int height, const wxFont& rulerFont);

  // Renders base and selection for the model's state, then composes. May set
  // the model's hint flag. controlFont is the font the state texts grow from.
  void RenderLayers(SpectrumModel& model, const wxFont& controlFont);
  void Compose(const SpectrumModel& model);
  // The fades drawn over the selection: the level rising from the bottom of
  // the waveform area at the selection's start to its top `fadeInMs` later,
  // and falling back to the bottom at its end over `fadeOutMs` (linear in
  // dB, as the cut's fades are); 0 draws none. Takes effect at the next
  // Compose.
  void SetFades(int fadeInMs, int fadeOutMs);
  // Copies the composite layer to (0, 0) of dc.
  void Paint(wxDC& dc);

  bool HasLayer(Layer layer) const { return static_cast<bool>(m_layers[Index(layer)].dc); }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  // An exact copy of a layer's pixels (an empty image when it has no surface).
  wxImage LayerImage(Layer layer) const;

  // The face for the state texts: "돋움" where installed, else NanumGothic,
  // else the control font's own face (empty string).
  static wxString MessageFaceName();

 private:
  struct Surface {
    wxBitmap bitmap;
    std::unique_ptr<wxMemoryDC> dc;
  };
  static int Index(Layer layer) { return static_cast<int>(layer); }

  void RenderBase(SpectrumModel& model, const wxFont& controlFont);
  void RenderSelection(const SpectrumModel& model);
  void DrawGrid(wxDC& dc, const SpectrumRect& wave) const;
  void DrawRuler(wxDC& dc, const SpectrumModel& model, bool marksAndLabels, const wxPen& gridPen) const;
  void DrawRulerLabels(wxDC& dc, const SpectrumRuler& layout, const SpectrumRect& ruler) const;
  void DrawColumns(wxDC& dc, const SpectrumModel& model) const;
  void DrawFrameGrid(wxDC& dc, const SpectrumModel& model) const;
  void DrawCutStretch(wxDC& dc, const SpectrumModel& model) const;
  void DrawStateText(wxDC& dc, const wxString& text, const SpectrumRect& wave, const wxFont& controlFont) const;
  void DrawMarkers(wxDC& dc, int startX, int endX, const SpectrumRect& wave) const;
  void DrawMarker(wxDC& dc, int x, int direction, const SpectrumRect& wave) const;
  void DrawFades(wxDC& dc, const SpectrumModel& model, int startX, int endX) const;
  void DrawSplitMarks(wxDC& dc, const SpectrumModel& model) const;

  Surface m_layers[3];
  int m_nWidth = 0;
  int m_nHeight = 0;
  wxPen m_basePen;
  wxPen m_baseWavePen;
  wxPen m_rulerPen;
  wxPen m_selectionPen;
  wxPen m_selectionWavePen;
  wxPen m_baseFramePen;
  wxPen m_selectionFramePen;
  wxPen m_markerPen;
  wxPen m_activeMarkerPen;
  wxPen m_splitMarkPen;
  wxPen m_playCursorPen;
  wxPen m_mousePen;
  wxPen m_fadePen;
  int m_fadeInMs = 0;
  int m_fadeOutMs = 0;
  std::recursive_mutex m_lock;
};
