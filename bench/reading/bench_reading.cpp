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

#include "support/bench_support.h"

namespace fs = std::filesystem;

namespace {

using morvel::bench::Best;
using morvel::bench::Fixed;
using morvel::bench::Machine;
using morvel::bench::ParseSizeTableArgs;
using morvel::bench::RunOnce;
using morvel::bench::TFigure;
using morvel::bench::Thousands;
using morvel::bench::TSizeTableArgs;

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
  TSizeTableArgs args;
  args.sizes = {1000, 10000, 50000, 120000};
  args.runs = 3;
  if (!ParseSizeTableArgs(argc, argv, "bench_reading", args)) return 2;
  const std::vector<long>& sizes = args.sizes;
  const int runs = args.runs;
  const fs::path& dir = args.dir;
  const bool temporary = args.temporary;
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
