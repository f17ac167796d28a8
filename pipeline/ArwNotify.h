// How the worker manager reports the outcome of a run. The manager posts a
// message to an IArwNotify; the receiver queues it and handles it later on
// its own thread (the window turns it into a queued event, the command line
// and the tests use ArwMessageQueue). PostArwMessage must return at once and
// must never call back into the manager: it runs on the worker thread too.
//
// Error codes travel with WM_ARWMAN_ERROR; ArwErrorText gives the text the
// user is shown for each (the texts themselves are in pipeline/Texts.h).
#pragma once

enum ArwMessage {
  WM_ARWMAN_END,    // the run ended by itself (code 0)
  WM_ARWMAN_ERROR,  // the run could not start or failed (code below)
};

enum ArwError {
  kArwErrorUnknown = 1,     // never posted by the manager; the window has a text for it
  kArwErrorReaderOpen = 2,  // Start: the reader did not open the source
  kArwErrorWriterOpen = 3,  // Start: no writer, or the writer did not open
  kArwErrorRead = 4,        // worker: the reader's Read failed
  kArwErrorWrite = 5,       // worker: the writer's Write failed
};

class IArwNotify {
 public:
  virtual ~IArwNotify() = default;
  // Queues the message; never blocks on the receiver's work, never throws.
  virtual void PostArwMessage(ArwMessage message, int code) = 0;
};

// The user's text for an error code (UTF-8, '\n' between lines): `playback`
// selects the texts shown while playing rather than while analysing. Empty
// for a code outside 1..5.
const char* ArwErrorText(int code, bool playback);
