// The message box's button texts. They do not go through the catalog: the
// box picks them by the user's language (Korean, Japanese, else English:
// GetUserLanguage, platform/UserLanguage.h) from the three tables below,
// indexed by MessageDlgTextEntry (MessageDlgButtons.h); entry 0 is no button.
#pragma once

namespace uitext {

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
