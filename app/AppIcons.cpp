#include "app/AppIcons.h"

#include <wx/icon.h>
#include <wx/image.h>

#include "platform/ResourceFiles.h"
#include "platform/ResourceIds.h"

namespace {

constexpr char kLargeIconFile[] = "padocut.png";

void AddIconFile(wxIconBundle& bundle, const std::string& path) {
  if (path.empty()) return;
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxImage image;
  if (!image.LoadFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG)) return;
  wxIcon icon;
  icon.CopyFromBitmap(wxBitmap(image));
  if (icon.IsOk()) bundle.AddIcon(icon);
}

}  // namespace

wxIconBundle AppIconBundle() {
  wxIconBundle bundle;
  AddIconFile(bundle, FindResourceFileById(IDI_APP));
  AddIconFile(bundle, FindResourceFile(kLargeIconFile));
  return bundle;
}
