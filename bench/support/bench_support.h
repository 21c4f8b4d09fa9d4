// What the benchmarks share: timing, peak memory, and the plain streaming parse by
// xmllint that every reading is measured against.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
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

}  // namespace morvel::bench
