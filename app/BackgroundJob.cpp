#include "app/BackgroundJob.h"

#include <system_error>
#include <utility>

bool BackgroundJob::Start(wxEvtHandler* owner, std::function<void(BackgroundJob&)> work,
                          std::function<void()> done) {
  if (IsRunning()) return false;
  m_cancel.store(false);
  m_progress.store(0);
  const long run = m_nRun.fetch_add(1) + 1;
  auto finished = [this, run, done = std::move(done)] {
    if (m_nRun.load() != run) return;  // stopped: nobody waits for this end
    if (m_thread.joinable()) m_thread.join();
    done();
  };
  try {
    m_thread = std::thread([this, owner, work = std::move(work), finished = std::move(finished)] {
      work(*this);
      owner->CallAfter(finished);
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void BackgroundJob::Stop() {
  m_nRun.fetch_add(1);
  m_cancel.store(true);
  if (m_thread.joinable()) m_thread.join();
}
