// Helpers for the tests: temporary folders, files, logs, xmllint, and running the
// real programs.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace morvel::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return fPath; }
  std::filesystem::path operator/(const std::string& name) const { return fPath / name; }

 private:
  std::filesystem::path fPath;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// A file of the test data folder (tests/data).
std::filesystem::path TestData(const std::string& name);
// A program of the build (morvel, morvel-list-server, ...).
std::filesystem::path BuiltProgram(const std::string& name);

// xmllint from the PATH or the usual folders; empty when it is not installed.
std::filesystem::path FindXmllint();

// Every log file (*.log) of a logs folder, in the order of their names, joined;
// empty when the folder does not exist.
std::string ReadLogs(const std::filesystem::path& logFolder);

// A protocol's bytes as UTF-8 text with LF breaks; fails the test on any line
// break that is not CR LF, since the protocol is written with CR LF only.
std::string ProtocolText(const std::string& cp1251Bytes);

// A ZIP archive of the given entries (name, bytes), names written as given.
void WriteZip(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& entries);

// One entry of a stored (uncompressed) ZIP archive: its name's bytes as given,
// with or without the flag that says they are UTF-8.
struct ZipEntry {
  std::string name;
  std::string bytes;
  bool utf8Flag = false;
};
// A ZIP archive written byte by byte, so that a test decides each name's bytes
// and flag itself, as Windows archivers and Python's zipfile write them.
void WriteStoredZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries);

// A ZIP archive of one entry of `size` zero bytes (below 4 GiB), deflated and with
// its true size in the headers: a few megabytes on disk that unpack to gigabytes.
// Written in well under a second, however large the entry.
void WriteZipOfZeros(const std::filesystem::path& path, const std::string& name, std::uint64_t size);

struct ProcessResult {
  int exitCode = -1;      // the exit code, or -1 when the process did not exit normally
  int signal = 0;         // the signal that ended it, if any
  bool timedOut = false;  // stopped because it ran past its time-out
  std::string output;     // standard output and standard error together
  long peakMemoryKiB = 0; // the most memory the program held at once (RunProcess only)
};

// How long a program run by a test may take before it is stopped: a hung program
// fails its test instead of hanging the suite.
inline constexpr std::chrono::seconds kDefaultProcessTimeout{120};

// Runs a program to its end (or its time-out) with the given extra environment and
// working folder. A program that runs past the time-out is killed together with
// any process it started, and the result says so.
ProcessResult RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment,
                         const std::filesystem::path& workingFolder, std::chrono::milliseconds timeout);
ProcessResult RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment = {},
                         const std::filesystem::path& workingFolder = {});

// A program running beside the test, its standard output and error in files of
// its own; stopped (SIGTERM, then SIGKILL if it does not end) when the object goes.
class ChildProcess {
 public:
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Whether it still runs; once it has ended, its result is kept.
  bool Running();
  // Stops it and returns how it ended.
  ProcessResult Stop();
  // Waits until its standard output holds a whole first line and returns it; empty
  // when the program ended or the time ran out first.
  std::string WaitForFirstLine(std::chrono::milliseconds timeout);

  std::string Output() const;
  std::string Errors() const;

 private:
  TempDir fDir;
  std::filesystem::path fOut;
  std::filesystem::path fErr;
  int fPid = -1;
  ProcessResult fResult;
};

// The reference List server of the build on 127.0.0.1, started with the given
// arguments; the port is the one it reports on its first output line.
class ReferenceListServer {
 public:
  explicit ReferenceListServer(const std::vector<std::string>& args);

  bool Started() const { return fPort != 0; }
  int Port() const { return fPort; }
  // The request address up to the query: http://127.0.0.1:port/list4/GetList?
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(fPort) + "/list4/GetList?"; }
  std::string Output() const { return fProcess.Output(); }
  std::string Errors() const { return fProcess.Errors(); }

 private:
  ChildProcess fProcess;
  int fPort = 0;
};

}  // namespace morvel::test
