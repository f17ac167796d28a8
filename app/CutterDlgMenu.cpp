// The main window's menu bar and keys: the menus built from the command
// table, which commands are available in which state, and the key hook that
// runs a command's key.
#include <wx/menu.h>

#include <span>

#include "app/Commands.h"
#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/Texts.h"
#include "platform/wx/Translation.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

// The menus in the bar, left to right, with their titles.
struct MenuTitle {
  MenuPlace place;
  const char* title;
};
constexpr MenuTitle kMenus[] = {
    {MenuPlace::File, apptext::kFileMenu},
    {MenuPlace::View, apptext::kViewMenu},
    {MenuPlace::Help, apptext::kHelpMenu},
};

wxMenu* MakeMenu(MenuPlace place) {
  auto* menu = new wxMenu;
  size_t count = 0;
  const CommandEntry* table = CommandTable(&count);
  for (const CommandEntry& entry : std::span(table, count)) {
    if (entry.menu != place) continue;
    if (entry.kind == wxITEM_SEPARATOR) {
      menu->AppendSeparator();
    } else {
      menu->Append(entry.id, MenuItemLabel(entry), wxString(), entry.kind);
    }
  }
  return menu;
}

}  // namespace

void CCutterDlg::CreateMenu() {
  auto* bar = new wxMenuBar;
  for (const MenuTitle& menu : kMenus) bar->Append(MakeMenu(menu.place), Tr(menu.title));
  SetMenuBar(bar);
}

void CCutterDlg::UpdateMenu() {
  wxMenuBar* bar = GetMenuBar();
  if (!bar) return;
  size_t count = 0;
  const CommandEntry* table = CommandTable(&count);
  for (const CommandEntry& entry : std::span(table, count)) {
    if (entry.menu != MenuPlace::None && entry.id != 0) bar->Enable(entry.id, IsCommandAvailable(entry.id));
  }
}

bool CCutterDlg::IsCommandAvailable(int id) const {
  switch (id) {
    case ID_FILE_OPEN:
    case ID_FILE_EXACT_CUT:
    case ID_FILE_KEEP_COVER:
    case ID_APP_EXIT:
    case ID_APP_ABOUT: return true;
    case ID_FILE_CLOSE: return m_nWorkState != STATE_NO_FILE;
    case ID_FILE_LEVEL: return m_bLevelFits;  // Layer III only (CutterDlgLevel.cpp)
    case ID_FILE_SPLIT_TRACKS: return m_nWorkState == STATE_READY && !m_pSpectrum->GetMarks().empty();
    default: return m_nWorkState == STATE_READY;
  }
}

// Every key the window sees comes here first: a command's key runs the
// command (queued, as a menu item's would be), other keys go on.
void CCutterDlg::OnCharHook(wxKeyEvent& event) {
  if (m_nTimeEdge >= 0 && event.GetKeyCode() == WXK_ESCAPE) {
    EndTimeEdit();
    return;
  }
  if (m_nTimeEdge >= 0 && event.GetKeyCode() == WXK_TAB) return;  // stays in the field
  if (TimeEditorTakes(event)) {
    event.Skip();
    return;
  }
  const int id = CommandForKey(event.GetKeyCode(), event.GetModifiers());
  if (id == 0 || !IsCommandAvailable(id)) {
    event.Skip();
    return;
  }
  PostCommand(wxEVT_MENU, id);
}

void CCutterDlg::OnMenuOpen(wxMenuEvent& event) {
  UpdateMenu();
  event.Skip();
}
