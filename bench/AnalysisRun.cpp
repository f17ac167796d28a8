#include "bench/AnalysisRun.h"

#include <chrono>
#include <mutex>

#include <memory>

#include "mp3/Mp3Reader.h"
#include "pipeline/ParallelMp3Reader.h"
#include "pipeline/ArwMan.h"
#include "pipeline/ArwMessageQueue.h"
#include "pipeline/AudioWriter.h"
#include "ui/waveform/SpectrumModel.h"

namespace {

struct Handoff {
  std::mutex lock;  // the window's PCM lock
  SpectrumModel model;
  int64_t bytes = 0;
};

int ReducePcm(void* user, const void* data, int length) {
  auto* handoff = static_cast<Handoff*>(user);
  std::lock_guard<std::mutex> hold(handoff->lock);
  handoff->model.AddPcm(data, length);
  handoff->bytes += length;
  return length;
}

}  // namespace

AnalysisResult RunAnalysis(const std::string& path, int threads) {
  AnalysisResult result;
  Handoff handoff;
  handoff.model.Attach(kAnalysisViewWidth, kAnalysisViewHeight);
  std::unique_ptr<CAudioReader> owned;
  if (threads < 0) {
    owned = std::make_unique<CMp3Reader>();
  } else {
    owned = std::make_unique<CParallelMp3Reader>(threads);
  }
  CAudioReader& reader = *owned;
  CNullWriter writer;
  ArwMessageQueue queue;
  CArwMan arw;
  writer.SetPcmCallback(ReducePcm, &handoff);
  arw.SetReader(&reader);
  arw.SetWriter(&writer);
  arw.SetNotifyWindow(&queue);
  ArwTexts texts;
  texts[0] = path;
  arw.SetTexts(texts);
  {
    // As the window does: the model learns the format before the first block.
    std::lock_guard<std::mutex> hold(handoff.lock);
    if (!arw.Start()) return result;
    int rate = 0, bits = 0, channels = 0;
    arw.GetOutputFormat(&rate, &bits, &channels);
    result.durationMs = arw.GetDuration();
    handoff.model.BeginAnalysis(result.durationMs, rate, bits, channels);
  }
  ArwPosted posted{};
  while (queue.Wait(&posted, std::chrono::minutes(10))) {
    if (posted.message == WM_ARWMAN_END) {
      result.ended = true;
      break;
    }
    if (posted.message == WM_ARWMAN_ERROR) break;
  }
  arw.Stop();
  std::lock_guard<std::mutex> hold(handoff.lock);
  handoff.model.EndAnalysis();
  result.filledColumns = handoff.model.GetFilledColumns();
  result.pcmBytes = handoff.bytes;
  return result;
}
