// CGainDialog: the "음량 조절" dialog of the file menu. It asks for the
// gain (dB, in steps of 1.5 dB) and the fade-in and fade-out lengths (ms)
// that the window applies to its next cuts and to what the play button
// plays, until the program exits (LevelSettings). OK takes the values (a
// gain between steps goes to the nearest step), Cancel and Escape keep the
// previous ones.
#pragma once

#include "app/FieldsDialog.h"
#include "mp3/CutTypes.h"

class wxSpinCtrl;
class wxSpinCtrlDouble;

struct LevelSettings {
  double gainDb = 0;
  int fadeInMs = 0;
  int fadeOutMs = 0;

  // The cut options `base` with these added.
  CutOptions AddedTo(CutOptions base) const {
    base.gainDb = gainDb;
    base.fadeInMs = fadeInMs;
    base.fadeOutMs = fadeOutMs;
    return base;
  }
};

class CGainDialog : public CFieldsDialog {
 public:
  // The control ids (for tests).
  enum { ID_GAIN = 100, ID_FADE_IN, ID_FADE_OUT };
  static constexpr double kLargestGainDb = 30;
  static constexpr int kLongestFadeMs = 600000;

  CGainDialog(wxWindow* parent, const LevelSettings& settings);

  // What the controls hold, the gain on its nearest step.
  LevelSettings GetSettings() const;

 private:
  wxSpinCtrlDouble* m_pGain = nullptr;
  wxSpinCtrl* m_pFadeIn = nullptr;
  wxSpinCtrl* m_pFadeOut = nullptr;
};
