#include "pipeline/ArwNotify.h"

#include "pipeline/Texts.h"

namespace {

struct ErrorTexts {
  const char* analysing;
  const char* playing;
};

// Indexed by code - 1.
constexpr ErrorTexts kErrorTexts[] = {
    {pipelinetext::kUnknownError, pipelinetext::kUnknownError},
    {pipelinetext::kOpenFailed, pipelinetext::kOpenFailed},
    {pipelinetext::kOutputModule, pipelinetext::kOutputModule},
    {pipelinetext::kReadFailed, pipelinetext::kReadFailed},
    {pipelinetext::kTempSaveFailed, pipelinetext::kOutputFailed},
};

}  // namespace

const char* ArwErrorText(int code, bool playback) {
  if (code < 1 || code > static_cast<int>(sizeof kErrorTexts / sizeof kErrorTexts[0])) return "";
  const ErrorTexts& texts = kErrorTexts[code - 1];
  return playback ? texts.playing : texts.analysing;
}
