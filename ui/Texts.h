// The texts the window's components show, each defined once (UTF-8) and
// marked for the catalog as app/Texts.h describes: the waveform view's state
// texts. The window's own texts are in app/Texts.h; the message box's button
// texts, chosen by language from tables of their own, in
// ui/msgbox/MessageDlgTexts.h.
#pragma once

#include "platform/TextMarker.h"

namespace uitext {

// The waveform view (SpectrumPainter).
inline constexpr char kOpenAFile[] = N_("작업할 파일을 열어 주세요.");
inline constexpr char kAnalysing[] = N_("분석중입니다. 잠시만 기다리세요.");
inline constexpr char kSelectWithTheMouse[] = N_("잘라낼 영역을 마우스로 선택하세요.");

}  // namespace uitext
