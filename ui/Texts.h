// The texts the window's components show, each defined once (UTF-8): the
// waveform view's state texts and the message box's button texts. The
// window's own texts are in app/Texts.h.
//
// The message box picks its button texts by the user's language (Korean,
// Japanese, else English) from the three tables below, indexed by
// MessageDlgTextEntry (MessageDlgButtons.h); entry 0 is no button.
#pragma once

namespace uitext {

// The waveform view (SpectrumPainter).
inline constexpr char kOpenAFile[] = "작업할 파일을 열어 주세요.";
inline constexpr char kAnalysing[] = "분석중입니다. 잠시만 기다리세요.";
inline constexpr char kSelectWithTheMouse[] = "잘라낼 영역을 마우스로 선택하세요.";

// The message box's buttons.
inline constexpr int kButtonTextEntries = 8;
inline constexpr char kOk[] = "확인";
inline constexpr char kCancel[] = "취소";
inline constexpr char kAbort[] = "중지";
inline constexpr char kRetry[] = "재시도";
inline constexpr char kIgnore[] = "무시";
inline constexpr char kYes[] = "예";
inline constexpr char kNo[] = "아니요";
inline constexpr const char* kKoreanButtons[kButtonTextEntries] = {"",     kOk,     kCancel, kAbort,
                                                                   kRetry, kIgnore, kYes,    kNo};
inline constexpr const char* kJapaneseButtons[kButtonTextEntries] = {"",      "OK",     "キャンセル", "Abort",
                                                                     "Retry", "Ignore", "はい",       "いいえ"};
inline constexpr const char* kEnglishButtons[kButtonTextEntries] = {"",        "&OK",     "&Cancel", "&Abort",
                                                                    "&Retry",  "&Ignore", "&Yes",    "&No"};

}  // namespace uitext
