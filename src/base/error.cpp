#include "base/error.h"

#include <boost/stacktrace.hpp>

#include <cstdio>
#include <sstream>

#include "base/platform.h"

namespace morvel {

std::vector<std::string> CaptureStackTrace(std::size_t skipFrames) {
  // Skip this function itself as well as the frames the caller asked to hide.
  boost::stacktrace::stacktrace trace(skipFrames + 1, static_cast<std::size_t>(-1));
  std::vector<std::string> lines;
  lines.reserve(trace.size());
  for (const auto& frame : trace) {
    char address[32];
    std::snprintf(address, sizeof address, "%p", frame.address());
    std::ostringstream line;
    line << address;
    const std::string module = ModuleFileOf(frame.address());
    if (!module.empty()) line << " " << module;
    const std::string name = frame.name();
    if (!name.empty()) line << " " << name;
    const std::string file = frame.source_file();
    if (!file.empty()) line << " (" << file << ":" << frame.source_line() << ")";
    lines.push_back(line.str());
  }
  return lines;
}

EMorvelError::EMorvelError(const std::string& message)
    : std::runtime_error(message), fStack(CaptureStackTrace(1)) {}

}  // namespace morvel
