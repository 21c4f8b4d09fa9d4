// The program's exception classes. Every exception of the program records the call
// stack at the point where it is thrown, so the trace file written at the top shows
// where the failure happened, not where it was caught.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace morvel {

// One line per stack frame, innermost first: address, and where the debug
// information has them, function, source file and line.
std::vector<std::string> CaptureStackTrace(std::size_t skipFrames = 0);

class EMorvelError : public std::runtime_error {
 public:
  explicit EMorvelError(const std::string& message);
  const std::vector<std::string>& StackTrace() const { return fStack; }

 private:
  std::vector<std::string> fStack;
};

// A text that does not convert to the number or date it should hold.
class EConvertError : public EMorvelError {
 public:
  using EMorvelError::EMorvelError;
};

}  // namespace morvel
