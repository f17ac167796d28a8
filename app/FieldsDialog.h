// CFieldsDialog: the small settings dialogs of the file menu (volume,
// silence search): a titled dialog in the window's font with one row per
// setting (its label and a spin control of a common width), then OK and
// Cancel in the message boxes' language.
#pragma once

#include <wx/dialog.h>

class wxFlexGridSizer;

class CFieldsDialog : public wxDialog {
 protected:
  CFieldsDialog(wxWindow* parent, const char* title);

  // The size a spin control of a row gets.
  wxSize FieldSize() const;
  // Adds a row: `label` (a text id, shown translated) and its control.
  void AddField(const char* label, wxWindow* control);
  // Adds the buttons, fits the dialog to its rows and centres it.
  void FinishLayout();

 private:
  wxFlexGridSizer* m_pGrid = nullptr;
};
