// The component gallery (padocut-gallery): one notebook page per component,
// each showing the component in its states. Pages register themselves from
// their own files with GALLERY_PAGE; the gallery's main hosts whatever is
// registered. With --screenshots DIR the gallery shows each page in turn,
// asks it to write PNG files of every state into DIR, and exits.
#pragma once

#include <wx/bitmap.h>
#include <wx/gdicmn.h>
#include <wx/string.h>
#include <wx/window.h>

#include <functional>
#include <vector>

struct GalleryPage {
  wxString title;
  // Builds the page inside the notebook `parent`.
  std::function<wxWindow*(wxWindow* parent)> create;
  // Writes PNG files of every state of the page's components into `folder`
  // (the page is shown and painted); returns how many it wrote, or -1 when
  // something failed. May be empty.
  std::function<int(wxWindow* page, const wxString& folder)> screenshots;
};

// Adds a page; returns true so that it can initialise a static.
bool RegisterGalleryPage(GalleryPage page);
const std::vector<GalleryPage>& GalleryPages();

#define GALLERY_CONCAT_INNER(a, b) a##b
#define GALLERY_CONCAT(a, b) GALLERY_CONCAT_INNER(a, b)
// GALLERY_PAGE(title, create, screenshots) at namespace scope in a page's file.
#define GALLERY_PAGE(...) \
  static const bool GALLERY_CONCAT(g_galleryPage, __LINE__) = RegisterGalleryPage(GalleryPage{__VA_ARGS__})

// Runs the event loop for `milliseconds` so that windows get painted.
void GalleryPump(int milliseconds);

// The pixels of a window's client area as drawn on screen (children
// included), and saving a bitmap as PNG (false on failure).
wxBitmap GrabWindow(wxWindow* window);
bool SavePng(const wxBitmap& bitmap, const wxString& path);
// The bitmap enlarged `factor` times without smoothing, for looking at pixels.
wxBitmap Enlarge(const wxBitmap& bitmap, int factor);

// The font of the program's window: a Korean face at 9 points, the classic
// face when installed, else NanumGothic.
wxFont GalleryWindowFont();
