// The level commands of the main window: the "음량 조절" dialog of the file
// menu, and the gain and fades it sets, which the cut and the play button
// apply and the waveform view draws over the selection. They need Layer
// III's global_gain: for a loaded file of another layer the item is greyed
// and cuts and playback go without them.
#include <wx/menu.h>

#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/GainDialog.h"
#include "mp3/Mp3Reader.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

bool CarriesGlobalGain(const std::string& path) {
  CMp3Reader probe;
  return probe.Open(path.c_str(), nullptr, nullptr, nullptr) && probe.GetStreamInfo().layer == 3;
}

}  // namespace

void CCutterDlg::OnLevel() {
  if (!m_bLevelFits) return;
  CGainDialog dialog(this, m_level);
  if (dialog.ShowModal() != wxID_OK) return;
  m_level = dialog.GetSettings();
  ShowFades();
}

void CCutterDlg::UpdateLevelSource() {
  m_bLevelFits = m_strSourcePath.empty() || CarriesGlobalGain(m_strSourcePath);
  if (wxMenuBar* bar = GetMenuBar()) bar->Enable(ID_FILE_LEVEL, m_bLevelFits);
  ShowFades();
}

CutOptions CCutterDlg::WithLevel(const CutOptions& options) const {
  return m_bLevelFits ? m_level.AddedTo(options) : options;
}

void CCutterDlg::ShowFades() {
  if (m_pSpectrum) m_pSpectrum->SetFades(m_bLevelFits ? m_level.fadeInMs : 0, m_bLevelFits ? m_level.fadeOutMs : 0);
}
