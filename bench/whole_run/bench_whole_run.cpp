// Whole headless runs against the streaming parse and the DOM of their input.
//
// Usage: bench_whole_run [--persons 1000,10000,120000] [--runs 1] [--dir DIR]
//
// For every number of persons morvel-gen writes one employer into DIR (a fresh
// temporary folder unless given; what is already there is reused): its СЗВ-СТАЖ
// pack, a СЗВ-КОРР of a fiftieth of its persons filed the next year, and its List
// with a few hundred staff positions and a nominal list that leaves out 3 % of the
// persons, has 1 % extra ones and differs in bases, rates and dates for 2 % of the
// periods each, so that every check finds something. The reference List server
// serves the List; `morvel bpi` reconciles the employer in a process of its own.
// Figures: processor time (user and system) and the peak resident size of that
// process alone, as its parent collects them (wait4), fastest of the runs; the
// same for `xmllint --stream --noout` over every input file (summed) and for
// libxml2's DOM of the largest input file, measured in the same run. Ratios: the
// run's time against the streaming parse, its memory against the DOM.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/bench_support.h"

namespace fs = std::filesystem;
using namespace morvel::bench;

namespace {

constexpr const char* kRegNum = "099-001-000123";

fs::path SelfDir() { return fs::read_symlink("/proc/self/exe").parent_path(); }

struct TEmployerFiles {
  fs::path isFolder, listFolder, pack, correction, list;
};

bool Run(const std::vector<std::string>& args) { return RunOnce(args).ok; }

// The employer of `persons` persons, written once.
bool Generate(const fs::path& gen, long persons, const fs::path& folder, TEmployerFiles& files) {
  files.isFolder = folder / "is";
  files.listFolder = folder / "lists";
  files.pack = files.isFolder / "PFR-700-Y-2019-ORG-099-001-000123-DCK-00001-DPT-000000-DCK-00000.xml";
  files.correction = files.isFolder / "PFR-700-Y-2020-ORG-099-001-000123-DCK-00002-DPT-000000-DCK-00000.xml";
  files.list = files.listFolder / "perech-099-001-000123-2019.xml";
  fs::create_directories(files.isFolder);
  fs::create_directories(files.listFolder);
  const std::string n = std::to_string(persons);
  const std::string workplaces = std::to_string(std::clamp(persons / 100, 10L, 300L));
  const std::vector<std::string> employer = {"--persons", n, "--periods", "2", "--workplaces", workplaces,
                                             "--regnum", kRegNum, "--year", "2019", "--seed", "1"};
  auto with = [&](std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), employer.begin(), employer.end());
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  if (!fs::exists(files.pack) &&
      !Run(with({gen.string(), "pack", "--form", "szv-stazh", "--edition", "newest"}, {"--out", files.pack.string()})))
    return false;
  if (!fs::exists(files.correction)) {
    std::vector<std::string> args = with({gen.string(), "pack", "--form", "szv-korr", "--edition", "newest"},
                                         {"--correction", "--corr-year", "2019", "--filing-year", "2020", "--date",
                                          "2020-03-02", "--pack-number", "2", "--out", files.correction.string()});
    // A fiftieth of the persons are corrected.
    const auto count = std::find(args.begin(), args.end(), "--persons");
    *(count + 1) = std::to_string(std::max(1L, persons / 50));
    if (!Run(args)) return false;
  }
  if (!fs::exists(files.list) &&
      !Run(with({gen.string(), "list"}, {"--missing", "3", "--extra", std::to_string(std::max(1L, persons / 100)),
                                         "--bases", "2", "--rates", "2", "--dates", "2", "--out", files.list.string()})))
    return false;
  return true;
}

// The reference List server on a free port of 127.0.0.1, stopped with the object.
class TListServer {
 public:
  TListServer(const fs::path& program, const fs::path& lists, const fs::path& portFile) {
    fPid = fork();
    if (fPid == 0) {
      std::freopen(portFile.c_str(), "w", stdout);
      std::freopen("/dev/null", "w", stderr);
      execl(program.c_str(), program.c_str(), "--lists", lists.c_str(), "--port", "0", static_cast<char*>(nullptr));
      _exit(127);
    }
    // The server reads every List before it names its port: a large one takes a while.
    for (int i = 0; i < 6000 && fPort.empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      std::ifstream in(portFile);
      std::getline(in, fPort);
    }
  }
  ~TListServer() {
    if (fPid > 0) {
      kill(fPid, SIGTERM);
      waitpid(fPid, nullptr, 0);
    }
  }
  const std::string& Port() const { return fPort; }

 private:
  pid_t fPid = -1;
  std::string fPort;
};

void WriteConfig(const fs::path& home, const TEmployerFiles& files, const fs::path& report, const std::string& port) {
  fs::create_directories(home / "Morvel");
  std::ofstream out(home / "Morvel" / "MorvelConfig.ini", std::ios::binary | std::ios::trunc);
  out << "[Directories]\r\nPerech=" << files.listFolder.string() << "\r\nIS=" << files.isFolder.string()
      << "\r\nReport=" << report.string() << "\r\n[SummListServer]\r\nName=127.0.0.1\r\nPort=" << port
      << "\r\nApp=list4\r\nConnect=1\r\n[Options]\r\nTerritoryControl=1\r\nStaff=1\r\nNameList=1\r\nWithList=1\r\n"
         "Debug=0\r\nCheckPerFormat=1\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  TSizeTableArgs args;
  args.sizes = {1000, 10000, 120000};
  args.runs = 1;
  if (!ParseSizeTableArgs(argc, argv, "bench_whole_run", args)) return 2;
  const std::vector<long>& sizes = args.sizes;
  const int runs = args.runs;
  const fs::path& dir = args.dir;
  const bool temporary = args.temporary;
  const fs::path self = SelfDir();

  std::time_t now = std::time(nullptr);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d", std::gmtime(&now));
  std::cout << "Machine: " << Machine() << "; " << date
            << "; processor time (user + system) and peak resident memory of each\n"
            << "process alone, fastest of " << runs << " run(s).\n\n"
            << "| persons | input MiB | xmllint --stream, all input | DOM of largest file | morvel bpi | run/stream | "
               "run/DOM mem | exit code |\n|---:|---:|---|---|---|---:|---:|---:|\n";
  int status = 0;
  for (long persons : sizes) {
    const fs::path folder = dir / std::to_string(persons);
    TEmployerFiles files;
    if (!Generate(self / "morvel-gen", persons, folder, files)) {
      std::cerr << "generating the employer of " << persons << " persons failed\n";
      status = 1;
      continue;
    }
    const std::vector<fs::path> inputs = {files.pack, files.correction, files.list};
    double inputMiB = 0;
    TFigure stream;
    stream.ok = true;
    fs::path largest = inputs.front();
    for (const fs::path& input : inputs) {
      inputMiB += static_cast<double>(fs::file_size(input)) / (1024.0 * 1024.0);
      if (fs::file_size(input) > fs::file_size(largest)) largest = input;
      const TFigure one = Best({"xmllint", "--stream", "--noout", "--nowarning", input.string()}, runs);
      stream.ok = stream.ok && one.ok;
      stream.seconds += one.seconds;
      stream.peakMiB = std::max(stream.peakMiB, one.peakMiB);
    }
    const TFigure dom = Best({(self / "bench_read_once").string(), "dom", largest.string()}, runs);

    TListServer server(self / "morvel-list-server", files.listFolder, folder / "server.port");
    if (server.Port().empty()) {
      std::cerr << "the reference List server did not start for " << persons << " persons\n";
      status = 1;
      continue;
    }
    TFigure run;
    run.seconds = 1e300;
    for (int r = 0; r < runs; ++r) {
      const fs::path home = folder / "home";
      const fs::path report = folder / "report";
      fs::remove_all(home);
      fs::remove_all(report);
      fs::create_directories(report);
      WriteConfig(home, files, report, server.Port());
      const TFigure one = RunOnce({(self / "morvel").string(), "bpi", files.isFolder.string(), report.string()},
                                  {"XDG_CONFIG_HOME=" + home.string(), "MORVEL_HTTP_TIMEOUT=60"});
      if (one.seconds < run.seconds) run = one;
    }
    // The generated employer differs from its List on purpose: 30 is the
    // expected end of a run that found errors.
    if (!stream.ok || !dom.ok || run.exitCode != 30) status = 1;
    auto cell = [](const TFigure& f) { return Fixed(f.seconds, 2) + " s, " + Fixed(f.peakMiB, 0) + " MiB"; };
    std::cout << "| " << Thousands(persons) << " | " << Fixed(inputMiB, 1) << " | " << cell(stream) << " | "
              << cell(dom) << " | " << cell(run) << " | " << Fixed(run.seconds / stream.seconds, 2) << " | "
              << Fixed(run.peakMiB / dom.peakMiB, 2) << " | " << run.exitCode << " |\n"
              << std::flush;
  }
  if (temporary) fs::remove_all(dir);
  return status;
}
