#include "pipeline/ArwMessageQueue.h"

void ArwMessageQueue::PostArwMessage(ArwMessage message, int code) {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    try {
      m_messages.push_back({message, code});
    } catch (...) {
      return;  // out of memory: the message is lost, the worker goes on
    }
  }
  m_arrived.notify_all();
}

bool ArwMessageQueue::Wait(ArwPosted* out, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(m_lock);
  if (!m_arrived.wait_for(guard, timeout, [this] { return !m_messages.empty(); })) return false;
  if (out) *out = m_messages.front();
  m_messages.pop_front();
  return true;
}

int ArwMessageQueue::Count() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return static_cast<int>(m_messages.size());
}
