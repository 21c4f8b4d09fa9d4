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
    fFileName = fLogPath + fProgramName + "Log_" + LogTimeStamp() + ".log";
    CreateLogFolder();
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
  const std::string traceName = fLogPath + fProgramName + "Exception_" + LogTimeStamp() + ".trace";
  CreateLogFolder();
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
