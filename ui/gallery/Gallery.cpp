// Page registry and screen-capture helpers of the gallery.
#include "ui/gallery/Gallery.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/font.h>
#include <wx/fontenum.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <chrono>

namespace {

std::vector<GalleryPage>& Pages() {
  static std::vector<GalleryPage> pages;
  return pages;
}

}  // namespace

bool RegisterGalleryPage(GalleryPage page) {
  Pages().push_back(std::move(page));
  return true;
}

const std::vector<GalleryPage>& GalleryPages() {
  return Pages();
}

void GalleryPump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    wxTheApp->Yield(true);
    wxMilliSleep(5);
  }
}

wxBitmap GrabWindow(wxWindow* window) {
  const wxSize size = window->GetClientSize();
  if (size.x <= 0 || size.y <= 0) return wxBitmap();
  wxBitmap bitmap(size.x, size.y, 24);
  wxMemoryDC memory(bitmap);
  wxClientDC client(window);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  return bitmap;
}

bool SavePng(const wxBitmap& bitmap, const wxString& path) {
  if (!bitmap.IsOk()) return false;
  wxLogNull quiet;
  return bitmap.ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG);
}

wxBitmap Enlarge(const wxBitmap& bitmap, int factor) {
  if (!bitmap.IsOk() || factor < 1) return bitmap;
  wxImage image = bitmap.ConvertToImage();
  image.Rescale(image.GetWidth() * factor, image.GetHeight() * factor, wxIMAGE_QUALITY_NEAREST);
  return wxBitmap(image);
}

wxFont GalleryWindowFont() {
  for (const char* face : {"굴림", "Gulim", "NanumGothic"}) {
    if (wxFontEnumerator::IsValidFacename(wxString::FromUTF8(face))) {
      return wxFont(wxFontInfo(9).FaceName(wxString::FromUTF8(face)));
    }
  }
  return wxFont(wxFontInfo(9));
}
