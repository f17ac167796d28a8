// Where padocut-cli's words go. stdout carries what a command was asked for
// (JSON, offsets, PCM) and its summary lines; stderr carries the one-line
// failures `padocut-cli: FILE: reason`, the notes, and the details -v asks
// for. -q silences the summary lines and the notes, never a failure.
//
// A write to stdout that fails is remembered: FinishOutput turns it into a
// failure (a full disk) or, when the reader went away (a closed pipe,
// `decode | head`), into a quiet end.
#pragma once

#include <cstddef>
#include <string>

struct CliVerbosity {
  bool quiet = false;    // -q
  bool verbose = false;  // -v
};
CliVerbosity& Verbosity();

// A line of the command's output. False once stdout cannot be written.
bool PrintLine(const std::string& line);
// Raw bytes of the command's output (decode's PCM). False as above.
bool WriteOutput(const void* data, size_t size);
// A summary line: printed unless -q.
void Summary(const std::string& line);
// Flushes stdout now (play's progress lines). False as above.
bool FlushOutput();

// Flushes stdout. `status`, unless stdout could not be written: then a
// failure line and 1, except for a closed pipe, which ends quietly.
int FinishOutput(int status);

// "padocut-cli: FILE: reason" on stderr; returns 1.
int FileFailure(const std::string& file, const std::string& reason);
// "note: TEXT" on stderr unless -q.
void Note(const std::string& text);
// "note: TEXT" on stderr with -v.
void Detail(const std::string& text);
