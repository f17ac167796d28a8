// The catalog behind Tr().
#include "platform/wx/Translation.h"

#include <wx/translation.h>

#include "platform/io/ExecutableFolder.h"

namespace {

constexpr char kDomain[] = "padocut";

UserLanguage& Current() {
  static UserLanguage language = UserLanguage::Korean;
  return language;
}

void AddLookupFolders() {
  static bool added = false;
  if (added || ExecutableFolder().empty()) return;
  const wxString folder = wxString::FromUTF8(ExecutableFolder());
  wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder + "locale");
  wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder + "../share/locale");
  added = true;
}

}  // namespace

wxString Tr(const char* text) {
  // The empty id stands for the catalog's header in gettext.
  if (text == nullptr || *text == '\0') return wxString();
  return wxGetTranslation(wxString::FromUTF8(text));
}

UserLanguage UseWindowLanguage() {
  if (GetWindowLanguage() != UserLanguage::English) {
    wxTranslations::Set(nullptr);
    return Current() = UserLanguage::Korean;
  }
  AddLookupFolders();
  auto* translations = new wxTranslations;
  translations->SetLanguage("en");
  // The message ids are Korean: a Korean choice would need no catalog.
  translations->AddCatalog(kDomain, wxLANGUAGE_KOREAN);
  wxTranslations::Set(translations);
  return Current() = translations->IsLoaded(kDomain) ? UserLanguage::English : UserLanguage::Korean;
}

UserLanguage CurrentWindowLanguage() { return Current(); }
