// Verifies a generated set the way a run does and times each phase: reading
// the СЗВ-СТАЖ pack and the List, the pack's findings, the union of persons,
// the division and merging of both sides' periods and each check, with the
// staff-position and nominal-list comparisons switched on.
//
// Usage: bench_verification [--persons N] [--periods N] [--positions N]
//                           [--differ PERCENT] [--form szv-stazh|szv-6-4] [--keep]
// Defaults: 50,000 persons with two periods each in a СЗВ-СТАЖ pack of 2019, a
// List of 200 staff positions whose nominal list holds the same persons.
// --differ makes the nominal list leave out, and change the bases, rates and
// dates of, that share of persons and periods, so that the nominal-list checks
// have findings to make. With szv-6-4 the pack is of the fourth quarter of 2014
// and carries payments at the additional tariff (a СЗВ-СТАЖ states only that
// they were accrued), so the additional-tariff check walks every payment and
// every period marked ДТ. The territorial codes are checked in the extended mode
// against a right to МКС only, so every coded period is asked about. The files
// are written to the temporary folder by a child process and removed at the end
// unless --keep.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "config/classifiers.h"
#include "config/rights_list.h"
#include "config/settings.h"
#include "list/the_list.h"
#include "list_writer.h"
#include "pack_writer.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "support/bench_support.h"
#include "synthetic_employer.h"
#include "verify/set.h"
#include "verify/verification.h"
#include "xml/my_node.h"

namespace {

using morvel::bench::Clock;
using morvel::bench::Seconds;

constexpr const char* kRegNum = "099-001-000123";
// The ten standard workplaces hold nine List positions; every further one is
// a position of its own.
constexpr int kStandardWorkplaces = 10;
constexpr int kStandardPositions = 9;

// The pack form and its reporting window.
struct TBenchForm {
  morvel::gen::TGenForm form = morvel::gen::TGenForm::szvStag;
  int year = 2019;
  int firstMonth = 1;
};

bool Generate(const std::filesystem::path& packFile, const std::filesystem::path& listFile, int persons,
              int periods, int positions, int differ, const TBenchForm& bench) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    morvel::gen::TSynthOptions model;
    model.persons = persons;
    model.periods = periods;
    model.regNum = kRegNum;
    model.year = bench.year;
    model.firstMonth = bench.firstMonth;
    model.seed = 1;
    model.workplaces = kStandardWorkplaces + std::max(0, positions - kStandardPositions);
    const morvel::gen::TSynthEmployer employer = morvel::gen::MakeEmployer(model);
    morvel::gen::TPackOptions pack;
    pack.form = bench.form;
    pack.edition = morvel::gen::TGenEdition::newest;
    std::ofstream packOut(packFile, std::ios::binary | std::ios::trunc);
    morvel::gen::WritePack(employer, pack, packOut);
    packOut.close();
    morvel::gen::TListOptions list;
    list.subdivisions = 10;
    list.missingPercent = differ;
    list.basesPercent = differ;
    list.ratesPercent = differ;
    list.datesPercent = differ;
    list.extraPersons = persons * differ / 100;
    std::ofstream listOut(listFile, std::ios::binary | std::ios::trunc);
    morvel::gen::WriteList(employer, model.seed, list, listOut);
    listOut.close();
    _exit(packOut && listOut ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The results as "name: records" items.
std::string Summary(const morvel::TResultList& results) {
  std::string text;
  for (const auto& r : results) {
    if (!text.empty()) text += ", ";
    if (auto* table = dynamic_cast<const morvel::TTableResult*>(r.get())) {
      text += table->ClassName() + ": " + std::to_string(table->Count());
    } else {
      text += "message";
    }
  }
  return text.empty() ? "none" : text;
}

void Line(const std::string& name, double seconds) {
  // Padded by letters, not bytes: some names are Cyrillic.
  const std::size_t letters = morvel::Utf8Length(name);
  std::cout << "  " << name << std::string(letters < 26 ? 26 - letters : 1, ' ') << std::fixed
            << std::setprecision(3) << seconds << " s\n";
}

}  // namespace

int main(int argc, char** argv) {
  int persons = 50000;
  int periods = 2;
  int positions = 200;
  int differ = 0;
  bool keep = false;
  TBenchForm bench;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--persons" && i + 1 < argc) {
      persons = std::atoi(argv[++i]);
    } else if (arg == "--periods" && i + 1 < argc) {
      periods = std::atoi(argv[++i]);
    } else if (arg == "--positions" && i + 1 < argc) {
      positions = std::atoi(argv[++i]);
    } else if (arg == "--differ" && i + 1 < argc) {
      differ = std::clamp(std::atoi(argv[++i]), 0, 100);
    } else if (arg == "--form" && i + 1 < argc) {
      const std::string form = argv[++i];
      if (form == "szv-6-4") {
        bench = {morvel::gen::TGenForm::szv64, 2014, 10};
      } else if (form != "szv-stazh") {
        std::cerr << "unknown form " << form << "\n";
        return 2;
      }
    } else if (arg == "--keep") {
      keep = true;
    } else {
      std::cerr << "unknown argument " << arg << "\n";
      return 2;
    }
  }
  const auto temp = std::filesystem::temp_directory_path();
  const int kYear = bench.year;
  const auto packFile = temp / "bench_verification_pack.xml";
  const auto listFile = temp / "bench_verification_list.xml";
  {
    const auto start = Clock::now();
    if (!Generate(packFile, listFile, persons, periods, positions, differ, bench)) {
      std::cerr << "generating the files failed\n";
      return 1;
    }
    std::cout << "generated " << persons << " persons with " << periods << " periods and a List";
    if (differ > 0) std::cout << " differing in " << differ << "%";
    std::cout << " in " << Seconds(Clock::now() - start) << " s\n";
  }

  morvel::TClassifiers classifiers;
  const std::filesystem::path data(MORVEL_DATA_DIR);
  morvel::LoadClassifierFiles(classifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                              [](const std::string&) {});
  const morvel::TClassifiersScope scope(classifiers);

  std::vector<std::pair<std::string, double>> phases;
  auto mark = Clock::now();
  auto phase = [&](const std::string& name) {
    const auto now = Clock::now();
    phases.emplace_back(name, Seconds(now - mark));
    mark = Clock::now();
  };

  // The pack, as the searcher reads it.
  mark = Clock::now();
  morvel::TMyTree root = morvel::LoadXMLTree(packFile.string());
  auto header = root ? morvel::TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0) : nullptr;
  if (!header) {
    std::cerr << "the pack was not recognised\n";
    return 1;
  }
  morvel::TProtocolMessageList searchErrors;
  const morvel::TPDType form = header->FPDType;
  auto pack = morvel::TPack::TryGetPackData(root.get(), form, searchErrors, header, packFile.string());
  if (!pack) {
    std::cerr << "the pack was not read\n";
    return 1;
  }
  pack->ReadWorkers(root.get(), 0);
  phase("pack reading");
  root.reset();
  mark = Clock::now();

  // The List of the year, cumulative.
  morvel::TMyTree listRoot = morvel::LoadXMLTree(listFile.string());
  auto list = std::make_unique<morvel::TTheList>();
  list->fYear = kYear;
  list->fPeriod = 4;
  list->FAccumulate = true;
  list->fFileName = listFile.string();
  list->fIsFile = true;
  list->readStaff(kYear, 4, listRoot.get());
  listRoot.reset();
  phase("List reading");
  const std::size_t listPositions = list->fPositions.size();
  const std::size_t listPersons = list->fWorkers.size();

  morvel::TSet set;
  morvel::TPack& packRef = *pack;
  set.AddPack(std::move(pack));
  set.SetList(std::move(list));
  morvel::TVerification verification;
  verification.fWithPositions = true;
  verification.fWithNameList = true;
  verification.fYear = kYear;
  verification.fPeriod = 0;
  verification.fOnPhaseDone = [&](const char* name) { phase(name); };

  morvel::TSettings& settings = morvel::TSettings::GetInstance();
  settings.FRegNum = kRegNum;
  settings.fCompareTerrCodes = true;
  settings.FCompareTerrCodesExtMode = true;
  settings.FTerrCodeRightList.push_back(
      std::make_unique<morvel::TTerritoryCode>(morvel::TTerritoryCode::FromLine("099-001/10000000")));

  mark = Clock::now();
  for (auto& data : packRef.FTerrCodes) verification.fTerrCodes.push_back(std::move(data));
  packRef.FTerrCodes.clear();
  const std::size_t codedPeriods = verification.fTerrCodes.size();
  morvel::TSet& setRef = set;
  setRef.FYear = kYear;
  setRef.FPeriod = bench.form == morvel::gen::TGenForm::szv64 ? 4 : 0;
  verification.verifyTerrCodes(setRef);
  phase("territorial codes");
  verification.getParseErrorsAndWarnings(packRef, set.List());
  phase("pack findings");
  const auto united = set.UnionISWorkers(verification.FErrorResults, verification.fWarningResults);
  phase("union");
  const auto verifyStart = Clock::now();
  verification.verify(set.List(), united, kYear, 0);
  const double verifyTotal = Seconds(Clock::now() - verifyStart);

  std::size_t merged = 0;
  std::size_t payments = 0;
  for (const auto& w : united) payments += w->AddTariffPayments.size();
  std::size_t marked = 0;
  for (const auto& l : set.List()->fWorkers) {
    for (const auto& p : l->FParsePeriods.empty() ? l->WorkPeriods : l->FParsePeriods) marked += p->AddTariff == "ДТ";
  }
  for (const auto& w : united) merged += w->MergedWorkPeriods.size();
  std::cout << "persons " << united.size() << ", merged IS periods " << merged << "; List positions "
            << listPositions << ", nominal-list persons " << listPersons << "\n"
            << "coded periods " << codedPeriods << ", payments at the additional tariff " << payments
            << ", List periods marked ДТ " << marked << "\n";
  for (const auto& [name, seconds] : phases) Line(name, seconds);
  Line("verify in all", verifyTotal);
  // The whole verification against reading the pack it verifies.
  const double packReading = phases.empty() ? 0 : phases.front().second;
  if (packReading > 0) {
    std::cout << "  verify / pack reading      " << std::fixed << std::setprecision(2) << verifyTotal / packReading
              << "\n";
  }
  std::cout << "errors: " << Summary(verification.FErrorResults) << "\n"
            << "warnings: " << Summary(verification.fWarningResults) << "\n";
  if (!keep) {
    std::filesystem::remove(packFile);
    std::filesystem::remove(listFile);
  }
  return 0;
}
