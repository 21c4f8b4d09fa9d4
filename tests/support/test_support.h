// Helpers for the tests: temporary folders, files, and running the real programs.
#pragma once

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

// A ZIP archive of the given entries (name, bytes), names written as given.
void WriteZip(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& entries);

struct ProcessResult {
  int exitCode = -1;      // the exit code, or -1 when the process did not exit normally
  int signal = 0;         // the signal that ended it, if any
  std::string output;     // standard output and standard error together
};

// Runs a program to its end with the given extra environment and working folder.
ProcessResult RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment = {},
                         const std::filesystem::path& workingFolder = {});

}  // namespace morvel::test
