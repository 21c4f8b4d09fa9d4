// Reading packs and Lists against libxml2 on the same files.
//
// Usage: bench_reading [--persons 1000,10000,50000,120000] [--runs 3] [--dir DIR]
//
// For every number of persons a СЗВ-СТАЖ pack and the List of the same synthetic
// employer are written once into DIR (a fresh temporary folder unless given; files
// already there are reused, files written into a temporary folder are removed at
// the end). Every figure is one process started for it alone: `xmllint --stream`,
// libxml2's DOM (bench_read_once dom), the element tree (tree) and the whole
// reading (pack or list), each from the file to freed memory. Time is the
// processor time (user and system) of the fastest of the runs, peak memory that
// process's own peak resident size as its parent collects it (wait4), so neither
// the generator nor this program counts. Ratios: time against the streaming
// parse, memory against the DOM.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TFigure {
  double seconds = 0;  // processor time of the process
  double wallSeconds = 0;
  double peakMiB = 0;
  bool ok = false;
};

// Runs the program with its output discarded and returns its wall time and peak
// resident size.
TFigure RunOnce(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return {};
  if (child == 0) {
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
  f.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return f;
}

// The fastest of the runs (its peak with it); not ok when any run failed.
TFigure Best(const std::vector<std::string>& args, int runs) {
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

std::string Fixed(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  return buf;
}

std::string Thousands(long n) {
  std::string s = std::to_string(n);
  for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<std::size_t>(i), ",");
  return s;
}

std::string Cpu() {
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

std::string Machine() {
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

fs::path SelfDir() { return fs::read_symlink("/proc/self/exe").parent_path(); }

bool Generate(const fs::path& gen, const std::string& kind, long persons, const fs::path& out) {
  if (fs::exists(out)) return true;
  const std::vector<std::string> args = {gen.string(), kind,     "--form",   "szv-stazh", "--persons",
                                         std::to_string(persons), "--periods", "2",        "--regnum",
                                         "099-001-000123",       "--year",    "2019",     "--seed",
                                         "1",                    "--out",     out.string()};
  std::vector<std::string> used = args;
  if (kind == "pack") {
    used.insert(used.begin() + 4, {"--edition", "newest"});
  }
  return RunOnce(used).ok && fs::exists(out);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<long> sizes = {1000, 10000, 50000, 120000};
  int runs = 3;
  fs::path dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--persons" && i + 1 < argc) {
      sizes.clear();
      std::stringstream list(argv[++i]);
      std::string item;
      while (std::getline(list, item, ',')) sizes.push_back(std::atol(item.c_str()));
    } else if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--dir" && i + 1 < argc) {
      dir = argv[++i];
    } else {
      std::cerr << "usage: bench_reading [--persons N,N,...] [--runs N] [--dir DIR]\n";
      return 2;
    }
  }
  const bool temporary = dir.empty();
  if (temporary) {
    std::string pattern = (fs::temp_directory_path() / "morvel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::cerr << "no temporary folder\n";
      return 1;
    }
    dir = pattern;
  }
  fs::create_directories(dir);
  const fs::path self = SelfDir();
  const fs::path once = self / "bench_read_once";
  const fs::path gen = self / "morvel-gen";

  std::time_t now = std::time(nullptr);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d", std::gmtime(&now));
  std::cout << "Machine: " << Machine() << "; " << date
            << "; processor time (user + system) and peak resident memory of\n"
            << "each reading's own process, fastest of " << runs << " runs.\n\n";
  std::cout << "| persons | input | MiB | xmllint --stream | libxml2 DOM | tree | tree/stream | tree/DOM mem | "
               "reading | reading/stream | reading/DOM mem |\n"
               "|---:|---|---:|---|---|---|---:|---:|---|---:|---:|\n";
  int status = 0;
  for (long persons : sizes) {
    for (const std::string kind : {"pack", "list"}) {
      const fs::path file = dir / (kind + "-" + std::to_string(persons) + ".xml");
      if (!Generate(gen, kind, persons, file)) {
        std::cerr << "generating " << file << " failed\n";
        status = 1;
        continue;
      }
      const TFigure stream = Best({"xmllint", "--stream", "--noout", "--nowarning", file.string()}, runs);
      const TFigure dom = Best({once.string(), "dom", file.string()}, runs);
      const TFigure tree = Best({once.string(), "tree", file.string()}, runs);
      const TFigure read = Best({once.string(), kind, file.string()}, runs);
      if (!stream.ok || !dom.ok || !tree.ok || !read.ok) {
        std::cerr << file << ": a reading failed\n";
        status = 1;
      }
      auto cell = [](const TFigure& f) { return Fixed(f.seconds, 2) + " s, " + Fixed(f.peakMiB, 0) + " MiB"; };
      std::cout << "| " << Thousands(persons) << " | " << (kind == "pack" ? "СЗВ-СТАЖ pack" : "List") << " | "
                << Fixed(static_cast<double>(fs::file_size(file)) / (1024.0 * 1024.0), 1) << " | " << cell(stream)
                << " | " << cell(dom) << " | " << cell(tree) << " | " << Fixed(tree.seconds / stream.seconds, 2)
                << " | " << Fixed(tree.peakMiB / dom.peakMiB, 2) << " | " << cell(read) << " | "
                << Fixed(read.seconds / stream.seconds, 2) << " | " << Fixed(read.peakMiB / dom.peakMiB, 2)
                << " |\n"
                << std::flush;
    }
  }
  if (temporary) fs::remove_all(dir);
  return status;
}
