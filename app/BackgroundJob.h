// BackgroundJob: one piece of the window's work (a silence search, a split
// into tracks) on a thread of its own, with a progress count the window's
// timer reads, a cancel request the work polls, and its end reported on
// the user-interface thread.
//
// Start runs `work` on a new thread; once it returns, `done` runs on the
// thread of `owner` (a queued call), after the thread has been joined.
// Cancel only asks: the work ends at its next check and `done` still runs.
// Stop asks, waits for the thread, and `done` never runs (the window is
// closing the file or itself). One job at a time.
#pragma once

#include <wx/event.h>

#include <atomic>
#include <functional>
#include <thread>

class BackgroundJob {
 public:
  BackgroundJob() = default;
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;
  ~BackgroundJob() { Stop(); }

  // False when a job is running already or no thread could be made.
  bool Start(wxEvtHandler* owner, std::function<void(BackgroundJob&)> work, std::function<void()> done);
  void Cancel() { m_cancel.store(true); }
  void Stop();
  bool IsRunning() const { return m_thread.joinable(); }
  bool IsCancelled() const { return m_cancel.load(); }

  // Set by the work, read by the window's timer.
  void SetProgress(int64_t value) { m_progress.store(value); }
  int64_t Progress() const { return m_progress.load(); }

 private:
  std::thread m_thread;
  std::atomic<bool> m_cancel{false};
  std::atomic<int64_t> m_progress{0};
  // Numbers the jobs: a queued end of a stopped job finds a newer number.
  std::atomic<long> m_nRun{0};
};
