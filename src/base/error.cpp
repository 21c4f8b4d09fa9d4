#include "base/error.h"

#include <boost/stacktrace.hpp>

#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>

#include "base/files.h"
#include "base/platform.h"
#include "base/symbol_map.h"

namespace morvel {

std::vector<const void*> CaptureStackFrames(std::size_t skipFrames) {
  // Unwinding only collects addresses; nothing is looked up here.
  boost::stacktrace::stacktrace trace(skipFrames + 1, static_cast<std::size_t>(-1));
  std::vector<const void*> frames;
  frames.reserve(trace.size());
  for (const auto& frame : trace) frames.push_back(frame.address());
  return frames;
}

namespace {

// The map file the linker wrote beside a module (morvel.exe: morvel.map), read once
// per module; an empty map when there is none.
const TSymbolMap& MapOfModule(const std::string& module) {
  static std::mutex guard;
  static std::map<std::string, TSymbolMap> maps;
  const std::lock_guard<std::mutex> lock(guard);
  auto found = maps.find(module);
  if (found != maps.end()) return found->second;
  std::filesystem::path mapFile = PathFromUtf8(module);
  mapFile.replace_extension(".map");
  const std::optional<std::string> text = ReadFileBytes(mapFile);
  return maps.emplace(module, text ? TSymbolMap::Parse(*text) : TSymbolMap()).first->second;
}

}  // namespace

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
    const std::uintptr_t base = ModuleBaseOf(address);
    const std::uint64_t offset = reinterpret_cast<std::uintptr_t>(address) - base;
    if (!module.empty()) {
      std::snprintf(text, sizeof text, "+0x%llx", static_cast<unsigned long long>(offset));
      line << " " << module << text;
    }
    std::string name = frame.name();
    if (name.empty() && !module.empty() && base != 0) name = MapOfModule(module).NameAt(offset);
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
