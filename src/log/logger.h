// The log of one process run and the stack-trace files of its exceptions.
// Until Init the logger drops everything; afterwards it writes error entries, and
// information entries too when told to log everything.
#pragma once

#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "log/singleton.h"

namespace morvel {

class TLogger : public TSingleton {
 public:
  ~TLogger() override;

  // `logPath` is the folder of the log files with a trailing separator;
  // `programName` prefixes the file names. Opens no file.
  void Init(const std::string& logPath, bool logNonCritical, const std::string& programName);
  void AddEntry(const std::string& entry, bool isError);
  // Logs the exception and writes its trace file; `fileName` receives the trace
  // file's name (unchanged when the logger is not initialised).
  void LogException(const std::exception& e, std::string& fileName);
  void LogException(const std::exception& e);
  // Writes the stack lines to the log and to a new trace file headed by the
  // message; returns the trace file's name.
  std::string SaveStackTrace(const std::string& message, const std::vector<std::string>& stack);
  // The stack of the exception: where it was thrown for the program's own
  // exceptions, the current stack for any other.
  static std::vector<std::string> GetStackTrace(const std::exception& e);

  bool Initialized() const { return !fLogPath.empty() && !fProgramName.empty(); }
  const std::string& FileName() const { return fFileName; }
  const std::string& LogPath() const { return fLogPath; }

 private:
  friend class TSingleton;
  TLogger() = default;

  void WriteLine(const std::string& line);
  void CreateLogFolder() const;

  std::string fLogPath;
  bool fLogNonCritical = false;
  std::string fProgramName;
  std::string fFileName;
  std::ofstream fLogFile;
};

// Writes to the logger singleton; code outside the logging classes uses this.
void LogEntry(const std::string& entry, bool isError = false);

}  // namespace morvel
