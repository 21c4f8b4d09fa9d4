// morvel-gen: writes synthetic input files for tests, demonstrations and
// benchmarks, deterministic from a seed.
//
//   morvel-gen pack --form szv-stazh --edition newest --persons 50000 --periods 2 --workplaces 202
//                   --regnum 099-001-000123 --year 2019 --seed 1 --out FILE
//   morvel-gen list ...   (the List of the same employer, see list_writer.h)
//
// Further pack options: --period-code N, --correction, --corr-year Y,
// --corr-code N, --filing-year Y, --type N (СЗВ-СТАЖ/СЗВ-КОРР "Тип"), --blocks N
// (ЕФС-1 years per person), --pack-number N, --date yyyy-mm-dd, --guid TEXT.

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "list_writer.h"
#include "pack_writer.h"
#include "synthetic_employer.h"

namespace {

using namespace morvel::gen;

int Usage(const std::string& problem) {
  if (!problem.empty()) std::cerr << "morvel-gen: " << problem << "\n";
  std::cerr << "usage: morvel-gen pack --form FORM [--edition old|new|newest|redhot] [--persons N] [--periods N]\n"
               "                       [--workplaces N] [--regnum R] [--year Y] [--seed S] [--period-code N]\n"
               "                       [--correction] [--corr-year Y] [--corr-code N] [--filing-year Y] [--type N] [--blocks N]\n"
               "                       [--pack-number N] [--date yyyy-mm-dd] [--guid TEXT] --out FILE\n"
               "forms: szv-6-1 szv-6-2 spv-1 szv-6-4 rsv-1 spv-2 szv-stazh szv-korr szv-ish efs-1\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "list") {
    return RunListCommand(std::vector<std::string>(argv + 2, argv + argc), std::cerr);
  }
  if (argc < 2 || std::string(argv[1]) != "pack") return Usage(argc < 2 ? "" : "unknown command " + std::string(argv[1]));
  std::map<std::string, std::string> args;
  bool correction = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--correction") {
      correction = true;
    } else if (arg.rfind("--", 0) == 0 && i + 1 < argc) {
      args[arg.substr(2)] = argv[++i];
    } else {
      return Usage("unexpected argument " + arg);
    }
  }
  auto get = [&args](const std::string& key, const std::string& fallback) {
    auto found = args.find(key);
    return found != args.end() ? found->second : fallback;
  };
  auto number = [&](const std::string& key, long long fallback) {
    const std::string text = get(key, "");
    return text.empty() ? fallback : std::strtoll(text.c_str(), nullptr, 10);
  };

  const auto form = FormByName(get("form", ""));
  if (!form) return Usage("unknown or missing --form");
  const auto edition = EditionByName(get("edition", "newest"));
  if (!edition) return Usage("unknown --edition");
  const std::string outName = get("out", "");
  if (outName.empty()) return Usage("missing --out");

  TSynthOptions model;
  model.persons = static_cast<int>(number("persons", 10));
  model.periods = static_cast<int>(number("periods", 2));
  model.workplaces = static_cast<int>(number("workplaces", 0));
  model.regNum = get("regnum", model.regNum);
  model.year = static_cast<int>(number("year", *form == TGenForm::efs1 ? 2023 : 2019));
  model.seed = static_cast<std::uint64_t>(number("seed", 1));

  TPackOptions pack;
  pack.form = *form;
  pack.edition = *edition;
  pack.periodCode = static_cast<int>(number("period-code", DefaultPeriodCode(*form, model.year)));
  pack.correction = correction;
  pack.corrYear = static_cast<int>(number("corr-year", correction ? model.year : 0));
  pack.corrCode = static_cast<int>(number("corr-code", pack.periodCode));
  pack.filingYear = static_cast<int>(number("filing-year", 0));
  pack.stagType = static_cast<int>(number("type", -1));
  pack.efsBlocks = static_cast<int>(number("blocks", 1));
  pack.packNumber = get("pack-number", pack.packNumber);
  pack.guid = get("guid", "");
  const std::string date = get("date", "");
  if (!date.empty()) {
    if (date.size() != 10) return Usage("--date wants yyyy-mm-dd");
    pack.packDate = {std::atoi(date.substr(0, 4).c_str()), std::atoi(date.substr(5, 2).c_str()),
                     std::atoi(date.substr(8, 2).c_str())};
  }
  ReportingWindow(*form, model.year, pack.periodCode, model.firstMonth, model.lastMonth);

  const TSynthEmployer employer = MakeEmployer(model);
  std::ofstream out(outName, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << "morvel-gen: cannot write " << outName << "\n";
    return 1;
  }
  WritePack(employer, pack, out);
  out.close();
  if (!out) {
    std::cerr << "morvel-gen: writing " << outName << " failed\n";
    return 1;
  }
  return 0;
}
