#include "app/ControlAnchors.h"

#include <algorithm>

#include "app/DialogLayout.h"

namespace {

struct ControlAnchor {
  int id;
  Anchor horizontal;
  Anchor vertical;
};

constexpr ControlAnchor kAnchors[] = {
    {IDC_FILE_FRAME, Anchor::Stretch, Anchor::Start},
    {IDC_FILE_CAPTION, Anchor::Start, Anchor::Start},
    {IDC_FILE_NAME, Anchor::Stretch, Anchor::Start},
    {IDC_ABOUT, Anchor::End, Anchor::Start},
    {IDC_SPECTRUM, Anchor::Stretch, Anchor::Stretch},
    {IDC_PLAY, Anchor::Start, Anchor::End},
    {IDC_PAUSE, Anchor::Start, Anchor::End},
    {IDC_STOP, Anchor::Start, Anchor::End},
    {IDC_PROGRESS, Anchor::Stretch, Anchor::End},
    {IDC_LOWER_FRAME, Anchor::End, Anchor::End},
    {IDC_MOUSE_CAPTION, Anchor::End, Anchor::End},
    {IDC_MOUSE_TIME, Anchor::End, Anchor::End},
    {IDC_LINE_START, Anchor::End, Anchor::End},
    {IDC_START_CAPTION, Anchor::End, Anchor::End},
    {IDC_START_TIME, Anchor::End, Anchor::End},
    {IDC_LINE_END, Anchor::End, Anchor::End},
    {IDC_END_CAPTION, Anchor::End, Anchor::End},
    {IDC_END_TIME, Anchor::End, Anchor::End},
    {IDC_CUT, Anchor::End, Anchor::End},
    {IDC_CANCEL, Anchor::End, Anchor::End},
};

// The start and the length of one side of the rectangle.
void Follow(Anchor anchor, int extra, int* start, int* length) {
  switch (anchor) {
    case Anchor::Start: break;
    case Anchor::End: *start += extra; break;
    case Anchor::Stretch: *length += extra; break;
  }
}

}  // namespace

wxRect FollowClientSize(int id, const wxRect& original, const wxSize& extra) {
  const auto* anchor = std::find_if(std::begin(kAnchors), std::end(kAnchors),
                                    [id](const ControlAnchor& entry) { return entry.id == id; });
  if (anchor == std::end(kAnchors)) return original;
  wxRect placed = original;
  Follow(anchor->horizontal, std::max(extra.x, 0), &placed.x, &placed.width);
  Follow(anchor->vertical, std::max(extra.y, 0), &placed.y, &placed.height);
  return placed;
}
