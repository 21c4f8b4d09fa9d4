// What the benchmarks share: timing, peak memory, and the plain streaming parse by
// xmllint that every reading is measured against.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>
#include <optional>
#include <string>

namespace morvel::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Peak resident memory in kilobytes of this process (RUSAGE_SELF) or of its
// finished children (RUSAGE_CHILDREN).
inline long PeakKb(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss;
}

inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The best of `runs` runs of `xmllint --stream --noout` on the file, in seconds;
// nothing when xmllint fails.
inline std::optional<double> BestXmllintSeconds(const std::filesystem::path& file, int runs) {
  // The fund's namespace names are IRIs, which xmllint warns about on every run.
  const std::string command = "xmllint --stream --noout " + ShellQuote(file.string()) + " 2>/dev/null";
  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) return std::nullopt;
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

struct TFigure {
  double seconds = 0;  // processor time of the process
  double wallSeconds = 0;
  double peakMiB = 0;
  int exitCode = -1;  // -1 when the process did not exit by itself
  bool ok = false;    // exited with 0
};

// Runs the program, with the variables ("NAME=value") added to its environment
// and its output discarded, and returns its processor and wall time, its own peak
// resident size and whether it exited with 0.
inline TFigure RunOnce(const std::vector<std::string>& args, const std::vector<std::string>& environment = {}) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return {};
  if (child == 0) {
    for (const std::string& variable : environment) putenv(const_cast<char*>(variable.c_str()));
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, 1);
      dup2(null, 2);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) < 0) return {};
  TFigure f;
  // Processor time (user and system) rather than wall time: on a shared machine
  // the wall time mostly measures the neighbours.
  auto secs = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  f.seconds = secs(usage.ru_utime) + secs(usage.ru_stime);
  f.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  f.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  f.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  f.ok = f.exitCode == 0;
  return f;
}

// The fastest of the runs (its peak with it); not ok when any run failed.
inline TFigure Best(const std::vector<std::string>& args, int runs) {
  TFigure best;
  best.seconds = 1e300;
  for (int i = 0; i < runs; ++i) {
    const TFigure f = RunOnce(args);
    if (!f.ok) return {};
    if (f.seconds < best.seconds) best = f;
  }
  best.ok = true;
  return best;
}

inline std::string Fixed(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  return buf;
}

inline std::string Thousands(long n) {
  std::string s = std::to_string(n);
  for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<std::size_t>(i), ",");
  return s;
}

inline std::string Cpu() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("model name", 0) == 0) {
      const auto colon = line.find(':');
      if (colon != std::string::npos) return line.substr(colon + 2);
    }
  }
  return "unknown processor";
}

inline std::string Machine() {
  utsname u{};
  uname(&u);
  long memKb = 0;
  std::ifstream in("/proc/meminfo");
  std::string key;
  in >> key >> memKb;
  std::ostringstream out;
  out << Cpu() << ", " << sysconf(_SC_NPROCESSORS_ONLN) << " cores, " << memKb / 1024 / 1024 << " GiB, " << u.sysname
      << " " << u.release;
  return out.str();
}


// The options every size table takes: --persons N,N,... --runs N --dir DIR. The
// folder is a fresh temporary one (removed by the caller when `temporary`) unless
// given. Returns false, with the usage said, on anything else.
struct TSizeTableArgs {
  std::vector<long> sizes;
  int runs = 1;
  std::filesystem::path dir;
  bool temporary = false;
};

inline bool ParseSizeTableArgs(int argc, char** argv, const char* program, TSizeTableArgs& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--persons" && i + 1 < argc) {
      args.sizes.clear();
      std::stringstream list(argv[++i]);
      std::string item;
      while (std::getline(list, item, ',')) args.sizes.push_back(std::atol(item.c_str()));
    } else if (arg == "--runs" && i + 1 < argc) {
      args.runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--dir" && i + 1 < argc) {
      args.dir = argv[++i];
    } else {
      std::cerr << "usage: " << program << " [--persons N,N,...] [--runs N] [--dir DIR]\n";
      return false;
    }
  }
  args.temporary = args.dir.empty();
  if (args.temporary) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(program) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::cerr << "no temporary folder\n";
      return false;
    }
    args.dir = pattern;
  }
  std::filesystem::create_directories(args.dir);
  return true;
}

}  // namespace morvel::bench
