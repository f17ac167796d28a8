// How the main window's controls follow its size (the window can be resized
// and maximised; its smallest size is the template's). Each control is
// anchored in each direction: it keeps its place against the left (top)
// edge, moves with the right (bottom) edge, or stretches between both. The
// waveform takes all the extra room; the file-name row stretches in width
// and keeps its height; the transport row stays at the bottom with the
// buttons on the left, the times and the cut button on the right.
#pragma once

#include <wx/gdicmn.h>

enum class Anchor {
  Start,    // keeps its distance from the left (top) edge
  End,      // keeps its distance from the right (bottom) edge
  Stretch,  // keeps both distances: takes the extra room
};

// Where a control that sits at `original` in a client area of the
// template's size goes when the client area is `extra` larger. Unknown ids
// keep their place.
wxRect FollowClientSize(int id, const wxRect& original, const wxSize& extra);
