// ArwMessageQueue: a thread-safe first-in first-out queue of the worker
// manager's messages, for receivers without a window (the command line, the
// tests). Any thread may post; the owner takes messages with Wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "pipeline/ArwNotify.h"

struct ArwPosted {
  ArwMessage message;
  int code;
};

class ArwMessageQueue : public IArwNotify {
 public:
  void PostArwMessage(ArwMessage message, int code) override;

  // Takes the oldest message, waiting up to `timeout` for one. False when
  // none arrived in time.
  bool Wait(ArwPosted* out, std::chrono::milliseconds timeout);
  // Takes the oldest message without waiting.
  bool TryTake(ArwPosted* out) { return Wait(out, std::chrono::milliseconds(0)); }
  int Count() const;

 private:
  mutable std::mutex m_lock;
  std::condition_variable m_arrived;
  std::deque<ArwPosted> m_messages;
};
