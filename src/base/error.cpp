#include "base/error.h"

#include <boost/stacktrace.hpp>

#include <cstdio>
#include <sstream>

#include "base/platform.h"

namespace morvel {

std::vector<const void*> CaptureStackFrames(std::size_t skipFrames) {
  // Unwinding only collects addresses; nothing is looked up here.
  boost::stacktrace::stacktrace trace(skipFrames + 1, static_cast<std::size_t>(-1));
  std::vector<const void*> frames;
  frames.reserve(trace.size());
  for (const auto& frame : trace) frames.push_back(frame.address());
  return frames;
}

std::vector<std::string> ResolveStackFrames(const std::vector<const void*>& frames) {
  std::vector<std::string> lines;
  lines.reserve(frames.size());
  for (const void* address : frames) {
    const boost::stacktrace::frame frame(address);
    char text[32];
    std::snprintf(text, sizeof text, "%p", address);
    std::ostringstream line;
    line << text;
    const std::string module = ModuleFileOf(address);
    if (!module.empty()) line << " " << module;
    const std::string name = frame.name();
    if (!name.empty()) line << " " << name;
    const std::string file = frame.source_file();
    if (!file.empty()) line << " (" << file << ":" << frame.source_line() << ")";
    lines.push_back(line.str());
  }
  return lines;
}

std::vector<std::string> CaptureStackTrace(std::size_t skipFrames) {
  return ResolveStackFrames(CaptureStackFrames(skipFrames + 1));
}

EMorvelError::EMorvelError(const std::string& message)
    : std::runtime_error(message), fFrames(CaptureStackFrames(1)) {}

ETerminationRequested::ETerminationRequested()
    : std::runtime_error("работа прервана: процесс получил сигнал завершения") {}

void StopWhenTerminationRequested() {
  if (TerminationRequested()) throw ETerminationRequested();
}

}  // namespace morvel
