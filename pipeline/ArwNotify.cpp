#include "pipeline/ArwNotify.h"

namespace {

struct ErrorTexts {
  const char* analysing;
  const char* playing;
};

// Indexed by code - 1.
constexpr ErrorTexts kErrorTexts[] = {
    {"알 수 없는 오류가 발생하였습니다.", "알 수 없는 오류가 발생하였습니다."},
    {"파일을 여는데 실패하였습니다.\n올바른 파일인지 확인하여주십시오.",
     "파일을 여는데 실패하였습니다.\n올바른 파일인지 확인하여주십시오."},
    {"출력 모듈에러.\n프로그램을 다시 설치하여 주십시오.",
     "출력 모듈에러.\n프로그램을 다시 설치하여 주십시오."},
    {"파일을 읽는데 실패하였습니다.\n파일을 확인하여주십시오.",
     "파일을 읽는데 실패하였습니다.\n파일을 확인하여주십시오."},
    {"임시파일 저장에 실패하였습니다.\n하드 디스크의 남은 용량을 확인하시기 바랍니다.",
     "출력 하는데 실패하였습니다.\n프로그램을 다시 설치하여 주십시오"},
};

}  // namespace

const char* ArwErrorText(int code, bool playback) {
  if (code < 1 || code > static_cast<int>(sizeof kErrorTexts / sizeof kErrorTexts[0])) return "";
  const ErrorTexts& texts = kErrorTexts[code - 1];
  return playback ? texts.playing : texts.analysing;
}
