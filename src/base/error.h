// The program's exception classes. Every exception of the program records the call
// stack at the point where it is thrown, so the trace file written at the top shows
// where the failure happened, not where it was caught. Only the raw return addresses
// are taken when throwing; their names and source lines are looked up when a trace
// is written, since readers throw and catch many of these for bad input.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace morvel {

// The return addresses of the current call stack, innermost first, without the
// capturing function itself and `skipFrames` more.
std::vector<const void*> CaptureStackFrames(std::size_t skipFrames = 0);

// One line per stack frame, innermost first: address, and where the debug
// information has them, function, source file and line.
std::vector<std::string> ResolveStackFrames(const std::vector<const void*>& frames);

// Both at once, for a trace of the current stack.
std::vector<std::string> CaptureStackTrace(std::size_t skipFrames = 0);

class EMorvelError : public std::runtime_error {
 public:
  explicit EMorvelError(const std::string& message);
  // The stack where the error was thrown, resolved now.
  std::vector<std::string> StackTrace() const { return ResolveStackFrames(fFrames); }
  const std::vector<const void*>& StackFrames() const { return fFrames; }

 private:
  std::vector<const void*> fFrames;
};

// A text that does not convert to the number or date it should hold.
class EConvertError : public EMorvelError {
 public:
  using EMorvelError::EMorvelError;
};

// The process was asked to end (NoteTerminationRequests): the run stops where it
// is and ends like any other failure. Not an error of the program, so no trace
// of it is written.
class ETerminationRequested : public std::runtime_error {
 public:
  ETerminationRequested();
};

// Raises ETerminationRequested once the process has been asked to end. Called
// between the steps of a run, where nothing catches it on the way to the top.
void StopWhenTerminationRequested();

}  // namespace morvel
