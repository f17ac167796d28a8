// SpectrumPainter's split marks: numbered lines over the waveform.
#include <wx/dc.h>

#include "ui/waveform/SpectrumPainter.h"

namespace {

// The numbers sit this far right of their line, below the cut-stretch bar.
constexpr int kNumberGap = 2;
constexpr int kNumberTopRows = 6;

}  // namespace

// A line across the track area at each mark in view, and the mark's number
// beside it in the mark's colour.
void SpectrumPainter::DrawSplitMarks(wxDC& dc, const SpectrumModel& model) const {
  const std::vector<int>& marks = model.GetMarks();
  if (marks.empty()) return;
  const WaveView& view = model.GetView();
  const SpectrumRect& track = model.TrackArea();
  const SpectrumRect& wave = model.WaveArea();
  const int previousMode = dc.GetBackgroundMode();
  const wxColour previousInk = dc.GetTextForeground();
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  for (size_t i = 0; i < marks.size(); ++i) {
    const int64_t rawX = view.TimeToRawX(marks[i]);
    if (rawX < 0 || rawX >= track.Width()) continue;
    const int x = track.left + static_cast<int>(rawX);
    const bool dragged = static_cast<int>(i) == model.GetDraggedMark();
    dc.SetPen(dragged ? m_activeMarkerPen : m_splitMarkPen);
    dc.DrawLine(x, track.top, x, wave.bottom);
    dc.SetTextForeground(dragged ? kActiveMarker : kSplitMark);
    dc.DrawText(wxString::Format("%zu", i + 1), x + kNumberGap, wave.top + kNumberTopRows);
  }
  dc.SetTextForeground(previousInk);
  dc.SetBackgroundMode(previousMode);
}
