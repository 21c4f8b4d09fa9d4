// Reads a generated СЗВ-СТАЖ pack the way the searcher does (LoadXMLTree,
// TryGetBaseData, TryGetPackData, ReadWorkers) and compares the time with a
// plain streaming parse of the same file by xmllint.
//
// Usage: bench_pack_reading [--persons N] [--periods N] [--runs N] [--keep] [--read-only] [file]
// Without a file the pack (50,000 persons with two periods each unless told) is
// written to the temporary folder and removed at the end; --keep leaves it
// there. Each reading runs N times (2 unless told), the best time counts.
// --read-only skips xmllint (for profiling). The pack is generated in a child
// process, so the peak memory shown is that of the reading alone.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "config/classifiers.h"
#include "pack_writer.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "synthetic_employer.h"
#include "support/bench_support.h"
#include "xml/my_node.h"

namespace {

using morvel::bench::BestXmllintSeconds;
using morvel::bench::Clock;
using morvel::bench::PeakKb;
using morvel::bench::Seconds;

constexpr const char* kRegNum = "099-001-000123";

bool Generate(const std::filesystem::path& file, int persons, int periods) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    morvel::gen::TSynthOptions model;
    model.persons = persons;
    model.periods = periods;
    model.regNum = kRegNum;
    model.year = 2019;
    model.seed = 1;
    morvel::gen::TPackOptions pack;
    pack.form = morvel::gen::TGenForm::szvStag;
    pack.edition = morvel::gen::TGenEdition::newest;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    morvel::gen::WritePack(morvel::gen::MakeEmployer(model), pack, out);
    out.close();
    _exit(out ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct TTimes {
  double tree = 0, header = 0, pack = 0, workers = 0, total = 0, release = 0;
  int persons = 0;
  int periods = 0;
};

bool ReadOnce(const std::filesystem::path& file, TTimes& t) {
  const auto start = Clock::now();
  std::unique_ptr<morvel::TMyNode> root = morvel::LoadXMLTree(file.string());
  const auto treeDone = Clock::now();
  auto header = morvel::TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0);
  const auto headerDone = Clock::now();
  if (!header) return false;
  morvel::TProtocolMessageList errors;
  const morvel::TPDType form = header->FPDType;
  auto pack = morvel::TPack::TryGetPackData(root.get(), form, errors, header, file.string());
  const auto packDone = Clock::now();
  if (!pack) return false;
  t.persons = pack->ReadWorkers(root.get(), 0);
  const auto workersDone = Clock::now();
  t.periods = 0;
  for (const auto& w : pack->Workers) t.periods += static_cast<int>(w->WorkPeriods.size());
  t.tree = Seconds(treeDone - start);
  t.header = Seconds(headerDone - treeDone);
  t.pack = Seconds(packDone - headerDone);
  t.workers = Seconds(workersDone - packDone);
  t.total = Seconds(workersDone - start);
  const auto releaseStart = Clock::now();
  pack.reset();
  root.reset();
  t.release = Seconds(Clock::now() - releaseStart);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int persons = 50000;
  int periods = 2;
  int runs = 2;
  bool keep = false;
  bool readOnly = false;
  std::filesystem::path file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--persons" && i + 1 < argc) {
      persons = std::atoi(argv[++i]);
    } else if (arg == "--periods" && i + 1 < argc) {
      periods = std::atoi(argv[++i]);
    } else if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--keep") {
      keep = true;
    } else if (arg == "--read-only") {
      readOnly = true;
    } else {
      file = arg;
    }
  }
  const bool generated = file.empty() || !std::filesystem::exists(file);
  if (file.empty()) file = std::filesystem::temp_directory_path() / "bench_pack_reading.xml";
  if (generated) {
    const auto start = Clock::now();
    if (!Generate(file, persons, periods)) {
      std::cerr << "generating " << file.string() << " failed\n";
      return 1;
    }
    std::cout << "generated " << file.string() << ": " << std::filesystem::file_size(file) / (1024 * 1024) << " MB, "
              << persons << " persons with " << periods << " periods, " << Seconds(Clock::now() - start) << " s\n";
  }

  double xmllintBest = 0;
  if (!readOnly) {
    const std::optional<double> best = BestXmllintSeconds(file, runs);
    if (!best) {
      std::cerr << "xmllint failed\n";
      return 1;
    }
    xmllintBest = *best;
  }
  const long xmllintPeak = PeakKb(RUSAGE_CHILDREN);

  morvel::TClassifiers classifiers;
  const std::filesystem::path data(MORVEL_DATA_DIR);
  morvel::LoadClassifierFiles(classifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                              [](const std::string&) {});
  const morvel::TClassifiersScope scope(classifiers);

  // The tree alone first: the peak it leaves tells the reader's own share of the
  // peak after the whole reading.
  {
    std::unique_ptr<morvel::TMyNode> root = morvel::LoadXMLTree(file.string());
    if (!root) {
      std::cerr << "no tree\n";
      return 1;
    }
  }
  const long treePeak = PeakKb(RUSAGE_SELF);

  TTimes best;
  best.total = 1e9;
  for (int run = 0; run < runs; ++run) {
    TTimes t;
    if (!ReadOnce(file, t)) {
      std::cerr << "the pack was not read\n";
      return 1;
    }
    if (t.total < best.total) best = t;
  }
  const long readPeak = PeakKb(RUSAGE_SELF);

  std::cout << "persons read:          " << best.persons << ", periods " << best.periods << "\n";
  if (!readOnly) {
    std::cout << "xmllint --stream:      " << xmllintBest << " s, peak " << xmllintPeak / 1024 << " MB\n";
  }
  std::cout << "pack reading:          " << best.total << " s, peak " << readPeak / 1024 << " MB (tree alone "
            << treePeak / 1024 << " MB)\n"
            << "  LoadXMLTree          " << best.tree << " s\n"
            << "  TryGetBaseData       " << best.header << " s\n"
            << "  TryGetPackData       " << best.pack << " s\n"
            << "  ReadWorkers          " << best.workers << " s\n"
            << "releasing pack, tree:  " << best.release << " s\n";
  if (!readOnly) std::cout << "ratio reading / xmllint: " << best.total / xmllintBest << "\n";
  if (generated && !keep) std::filesystem::remove(file);
  return 0;
}
