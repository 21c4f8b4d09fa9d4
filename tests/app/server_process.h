// The reference List server as a child process of a test.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"

namespace morvel {

// One server process with its standard output and error in files; stopped by
// SIGTERM when the object goes.
class ServerProcess {
 public:
  explicit ServerProcess(std::vector<std::string> args) {
    std::vector<std::string> argv{test::BuiltProgram("morvel-list-server").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    fPid = fork();
    if (fPid == 0) {
      const int out = open(fOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open(fErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) _exit(127);
      std::vector<char*> raw;
      for (auto& a : argv) raw.push_back(a.data());
      raw.push_back(nullptr);
      execv(raw[0], raw.data());
      _exit(127);
    }
    // The first line of standard output is the port.
    for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20); std::chrono::steady_clock::now() < until;) {
      const std::string out = std::filesystem::exists(fOut) ? test::ReadFile(fOut) : "";
      if (const auto eol = out.find('\n'); eol != std::string::npos) {
        fPort = std::stoi(out.substr(0, eol));
        return;
      }
      if (waitpid(fPid, nullptr, WNOHANG) == fPid) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "the server did not start: " << Errors();
  }
  ~ServerProcess() {
    if (fPid <= 0) return;
    kill(fPid, SIGTERM);
    waitpid(fPid, nullptr, 0);
  }

  std::string Base() const { return "http://127.0.0.1:" + std::to_string(fPort) + "/list4/GetList?"; }
  int Port() const { return fPort; }
  std::string Output() const { return test::ReadFile(fOut); }
  std::string Errors() const { return std::filesystem::exists(fErr) ? test::ReadFile(fErr) : ""; }

 private:
  test::TempDir fDir;
  std::filesystem::path fOut = fDir / "stdout.txt";
  std::filesystem::path fErr = fDir / "stderr.txt";
  pid_t fPid = -1;
  int fPort = 0;
};

}  // namespace morvel
