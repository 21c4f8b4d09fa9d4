#include "log/logger.h"

#include <filesystem>
#include <system_error>

#include "base/dates.h"
#include "base/error.h"
#include "base/platform.h"
#include "base/text.h"

namespace morvel {
namespace {
const char kUtf8Bom[] = "\xEF\xBB\xBF";

// One entry is one line: a reader of the log (a person or a calling system)
// finds every entry by its mark and time at the start of a line, so a line
// break inside the text (an exception message, a server's answer) becomes a
// blank.
std::string OnOneLine(const std::string& entry) {
  if (entry.find_first_of("\r\n") == std::string::npos) return entry;
  std::string line;
  line.reserve(entry.size());
  for (std::size_t i = 0; i < entry.size(); ++i) {
    const char c = entry[i];
    if (c == '\r' && i + 1 < entry.size() && entry[i + 1] == '\n') continue;
    line += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return line;
}
// Makes the new file `stem` + `extension` for this process alone. Log and trace
// files are named by the millisecond, and headless runs of one user may start
// in the same one: the first keeps the usual name, a later one finds it taken
// and adds its process id, so no run writes into or replaces another's file.
std::string CreateOwnFile(const std::string& stem, const std::string& extension) {
  const std::string usual = stem + extension;
  if (CreateNewFile(PathFromUtf8(usual))) return usual;
  std::error_code ec;
  if (!std::filesystem::exists(PathFromUtf8(usual), ec)) throw EMorvelError("Cannot create the file \"" + usual + "\"");
  const std::string own = stem + "-" + std::to_string(CurrentProcessId());
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::string name = attempt == 1 ? own + extension : own + "-" + std::to_string(attempt) + extension;
    if (CreateNewFile(PathFromUtf8(name))) return name;
  }
  throw EMorvelError("Cannot create the file \"" + usual + "\" under a name of its own");
}

}  // namespace

TLogger::~TLogger() = default;

void TLogger::Init(const std::string& logPath, bool logNonCritical, const std::string& programName) {
  fLogPath = logPath;
  fLogNonCritical = logNonCritical;
  fProgramName = programName;
}

void TLogger::CreateLogFolder() const {
  std::error_code ec;
  const std::filesystem::path folder = PathFromUtf8(fLogPath);
  std::filesystem::create_directories(folder, ec);
  if (ec && !std::filesystem::is_directory(folder)) {
    throw EMorvelError("Cannot create folder \"" + fLogPath + "\": " + ec.message());
  }
}

void TLogger::WriteLine(const std::string& line) {
  fLogFile << line << "\r\n";
  fLogFile.flush();
  if (!fLogFile) throw EMorvelError("Cannot write the log file \"" + fFileName + "\"");
}

void TLogger::AddEntry(const std::string& entry, bool isError) {
  if (!Initialized() || (!isError && !fLogNonCritical)) return;
  if (!fLogFile.is_open()) {
    CreateLogFolder();
    fFileName = CreateOwnFile(fLogPath + fProgramName + "Log_" + LogTimeStamp(), ".log");
    fLogFile.open(PathFromUtf8(fFileName), std::ios::binary | std::ios::trunc);
    if (!fLogFile) throw EMorvelError("Cannot create the log file \"" + fFileName + "\"");
    fLogFile << kUtf8Bom;
  }
  WriteLine(std::string(isError ? "[ОШИБКА] " : "[ИНФО] ") + LogTimeStamp() + " " + OnOneLine(entry));
}

std::vector<std::string> TLogger::GetStackTrace(const std::exception& e) {
  if (const auto* own = dynamic_cast<const EMorvelError*>(&e)) return own->StackTrace();
  return CaptureStackTrace(1);
}

std::string TLogger::SaveStackTrace(const std::string& message, const std::vector<std::string>& stack) {
  for (const std::string& frame : stack) {
    if (fLogFile.is_open()) WriteLine("    " + frame);
  }
  CreateLogFolder();
  const std::string traceName = CreateOwnFile(fLogPath + fProgramName + "Exception_" + LogTimeStamp(), ".trace");
  std::ofstream trace(PathFromUtf8(traceName), std::ios::binary | std::ios::trunc);
  if (!trace) throw EMorvelError("Cannot create the trace file \"" + traceName + "\"");
  trace << kUtf8Bom << "Сообщение об ошибке: " << message << "\r\n";
  for (const std::string& frame : stack) trace << frame << "\r\n";
  trace.flush();
  if (!trace) throw EMorvelError("Cannot write the trace file \"" + traceName + "\"");
  if (fLogFile.is_open()) fLogFile.flush();
  return traceName;
}

void TLogger::LogException(const std::exception& e, std::string& fileName) {
  if (!Initialized()) return;
  const std::string message = e.what();
  AddEntry("Произошла ошибка: " + ReplaceAll(message, "\r\n", ""), true);
  fileName = SaveStackTrace(message, GetStackTrace(e));
  AddEntry("Стек ошибки сохранён в файл " + fileName + ", направьте его разработчику.", true);
}

void TLogger::LogException(const std::exception& e) {
  std::string ignored;
  LogException(e, ignored);
}

void LogEntry(const std::string& entry, bool isError) {
  TSingleton::GetInstance<TLogger>().AddEntry(entry, isError);
}

}  // namespace morvel
