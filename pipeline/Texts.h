// The texts the window shows about playback and analysis runs, each
// defined once (UTF-8, '\n' between lines): ArwErrorText (ArwNotify.h) picks
// the text for a worker's error code, and kSelectAgain answers a stretch to
// play that ends before it starts. padocut-cli has English texts of its own
// (cli/Texts.h).
#pragma once

#include "platform/TextMarker.h"

namespace pipelinetext {

inline constexpr char kUnknownError[] = N_("알 수 없는 오류가 발생하였습니다.");
inline constexpr char kOpenFailed[] = N_("파일을 여는데 실패하였습니다.\n올바른 파일인지 확인하여주십시오.");
inline constexpr char kOutputModule[] = N_("출력 모듈에러.\n프로그램을 다시 설치하여 주십시오.");
inline constexpr char kReadFailed[] = N_("파일을 읽는데 실패하였습니다.\n파일을 확인하여주십시오.");
// A write failure while analysing (the analysis's writer only discards).
inline constexpr char kTempSaveFailed[] =
    N_("임시파일 저장에 실패하였습니다.\n하드 디스크의 남은 용량을 확인하시기 바랍니다.");
// A write failure while playing (the text ends without a full stop).
inline constexpr char kOutputFailed[] = N_("출력 하는데 실패하였습니다.\n프로그램을 다시 설치하여 주십시오");
inline constexpr char kSelectAgain[] = N_("선택영역을 다시 설정하세요.");

}  // namespace pipelinetext
