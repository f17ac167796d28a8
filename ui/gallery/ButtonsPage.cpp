// Gallery page of the picture buttons: the window's buttons at their sizes,
// live (enabled and disabled, clickable), and every look of each face.
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <vector>

#include "app/Texts.h"
#include "platform/ResourceIds.h"
#include "ui/gallery/Gallery.h"
#include "ui/skin/SkinButton.h"

namespace {

struct ButtonKind {
  const char* name;
  int id;
  const char* caption;  // UTF-8
  wxSize dialogUnits;   // size in the window's layout
  int normalGlyph;      // resource numbers, IDR_NONE = none
  int disabledGlyph;
};

// The window's picture buttons.
const ButtonKind kKinds[] = {
    {"cut", 1004, apptext::kCutButton, {50, 21}, IDB_CUT, IDB_CUT_DISABLED},
    {"play", 1000, "", {19, 21}, IDB_PLAY, IDB_PLAY_DISABLED},
    {"pause", 1001, "", {19, 21}, IDB_PAUSE, IDB_PAUSE_DISABLED},
    {"stop", 1002, "", {19, 21}, IDB_STOP, IDB_STOP_DISABLED},
    {"cancel", 1025, apptext::kCancelButton, {50, 21}, IDB_CANCEL, IDR_NONE},
    {"about", 1020, "", {19, 17}, IDB_ABOUT, IDB_ABOUT_DISABLED},
    {"open", 1013, apptext::kOpenFileButton, {50, 16}, IDR_NONE, IDR_NONE},
};

struct Look {
  const char* name;
  SkinButtonState state;
  bool focus;
};

const Look kLooks[] = {
    {"normal", SkinButtonState::Normal, false},
    {"focus", SkinButtonState::Normal, true},
    {"pressed", SkinButtonState::Pressed, true},
    {"disabled", SkinButtonState::Disabled, false},
};

class ButtonsPage : public wxPanel {
 public:
  explicit ButtonsPage(wxWindow* parent) : wxPanel(parent) {
    SetFont(GalleryWindowFont());
    auto* sizer = new wxBoxSizer(wxVERTICAL);

    sizer->Add(new wxStaticText(this, wxID_ANY, "Live buttons (click them; Tab moves the focus)"), 0, wxALL, 6);
    auto* live = new wxBoxSizer(wxHORIZONTAL);
    auto* disabled = new wxBoxSizer(wxHORIZONTAL);
    for (const ButtonKind& kind : kKinds) {
      CSkinButton* button = MakeButton(kind);
      live->Add(button, 0, wxRIGHT, 6);
      m_live.push_back(button);
      CSkinButton* off = MakeButton(kind);
      off->Disable();
      disabled->Add(off, 0, wxRIGHT, 6);
    }
    sizer->Add(live, 0, wxLEFT | wxRIGHT, 6);
    sizer->Add(new wxStaticText(this, wxID_ANY, "Disabled"), 0, wxALL, 6);
    sizer->Add(disabled, 0, wxLEFT | wxRIGHT, 6);
    m_pClicked = new wxStaticText(this, wxID_ANY, "clicked: -");
    sizer->Add(m_pClicked, 0, wxALL, 6);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
      m_pClicked->SetLabel(wxString::Format("clicked: %d (%d times)", event.GetId(), ++m_nClicks));
    });

    sizer->Add(new wxStaticText(this, wxID_ANY, "Faces: normal, focused, pressed, disabled"), 0, wxALL, 6);
    auto* grid = new wxFlexGridSizer(static_cast<int>(std::size(kLooks)) + 1, 8, 12);
    for (size_t k = 0; k < m_live.size(); ++k) {
      grid->Add(new wxStaticText(this, wxID_ANY, kKinds[k].name), 0, wxALIGN_CENTER_VERTICAL);
      for (const Look& look : kLooks) {
        grid->Add(new wxStaticBitmap(this, wxID_ANY, m_live[k]->RenderFaceBitmap(look.state, look.focus)));
      }
    }
    sizer->Add(grid, 0, wxALL, 6);
    SetSizer(sizer);
  }

  // Writes the page, every face at its size, and an enlarged sheet of all faces.
  int Screenshots(const wxString& folder) {
    int written = 0;
    if (!SavePng(GrabWindow(this), folder + "/buttons-page.png")) return -1;
    ++written;
    for (size_t k = 0; k < m_live.size(); ++k) {
      for (const Look& look : kLooks) {
        const wxBitmap face = m_live[k]->RenderFaceBitmap(look.state, look.focus);
        const wxString path = wxString::Format("%s/button-%s-%s.png", folder, kKinds[k].name, look.name);
        if (!SavePng(face, path)) return -1;
        ++written;
      }
    }
    if (!SavePng(Enlarge(FaceSheet(), 3), folder + "/buttons-faces-x3.png")) return -1;
    return written + 1;
  }

 private:
  CSkinButton* MakeButton(const ButtonKind& kind) {
    auto* button = new CSkinButton(this, kind.id, wxString::FromUTF8(kind.caption), wxDefaultPosition,
                                   ConvertDialogToPixels(kind.dialogUnits));
    if (kind.normalGlyph != -1) button->SetBitmaps(kind.normalGlyph, kind.disabledGlyph);
    return button;
  }

  // All faces in one bitmap: a row per button, a column per look.
  wxBitmap FaceSheet() const {
    int cellWidth = 0;
    int cellHeight = 0;
    for (const CSkinButton* button : m_live) {
      cellWidth = std::max(cellWidth, button->GetClientSize().x + 4);
      cellHeight = std::max(cellHeight, button->GetClientSize().y + 4);
    }
    const int columns = static_cast<int>(std::size(kLooks));
    wxBitmap sheet(cellWidth * columns, cellHeight * static_cast<int>(m_live.size()), 24);
    wxMemoryDC dc(sheet);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    for (size_t k = 0; k < m_live.size(); ++k) {
      for (int c = 0; c < columns; ++c) {
        const wxBitmap face = m_live[k]->RenderFaceBitmap(kLooks[c].state, kLooks[c].focus);
        dc.DrawBitmap(face, c * cellWidth + 2, static_cast<int>(k) * cellHeight + 2);
      }
    }
    dc.SelectObject(wxNullBitmap);
    return sheet;
  }

  std::vector<CSkinButton*> m_live;
  wxStaticText* m_pClicked = nullptr;
  int m_nClicks = 0;
};

GALLERY_PAGE(
    "Buttons", [](wxWindow* parent) -> wxWindow* { return new ButtonsPage(parent); },
    [](wxWindow* page, const wxString& folder) { return static_cast<ButtonsPage*>(page)->Screenshots(folder); });

}  // namespace
