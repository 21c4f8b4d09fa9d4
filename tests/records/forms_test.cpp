// Every form kind and edition read from a file written by morvel-gen, compared
// with the synthetic employer the file was written from: the generator is an
// independent description of the formats, so a reader that takes a wrong
// element, a wrong prefix or a wrong date form disagrees with the model.
// The options must stay those of tests/data/packs/regenerate.sh.

#include <algorithm>
#include <map>
#include <set>

#include "records_fixture.h"
#include "synthetic_employer.h"
#include "base/dates.h"
#include "base/text.h"

namespace morvel {
namespace {

struct TGenerated {
  const char* file;
  TPDType type;
  TUtModeFormat mode;
  int year;
  int firstMonth, lastMonth;  // the window the generator filled
  int persons, periods;
  std::uint64_t seed;
  int blocks = 1;  // ЕФС-1
};

const TGenerated kGenerated[] = {
    {"szv-6-1-2012.xml", TPDType::pdtSZV61, TUtModeFormat::umfNone, 2012, 10, 12, 6, 2, 11},
    {"szv-6-2-2011-corr.xml", TPDType::pdtSZV62, TUtModeFormat::umfNone, 2011, 4, 6, 5, 1, 12},
    {"spv-1-2013.xml", TPDType::pdtSPV1, TUtModeFormat::umfNone, 2013, 7, 9, 4, 2, 13},
    {"szv-6-4-2013.xml", TPDType::pdtSZV64, TUtModeFormat::umfNone, 2013, 10, 12, 8, 2, 14},
    {"rsv-1-2015.xml", TPDType::pdtRSV1, TUtModeFormat::umfNone, 2015, 7, 9, 8, 2, 15},
    {"spv-2-2014.xml", TPDType::pdtSPV2, TUtModeFormat::umfNone, 2014, 10, 12, 3, 3, 16},
    {"szv-stazh-old-2017.xml", TPDType::pdtSZVStag, TUtModeFormat::umfOld, 2017, 1, 12, 6, 2, 17},
    {"szv-stazh-new-2018.xml", TPDType::pdtSZVStag, TUtModeFormat::umfNew, 2018, 1, 12, 6, 2, 18},
    {"szv-stazh-newest-2019.xml", TPDType::pdtSZVStag, TUtModeFormat::umfNewest, 2019, 1, 12, 8, 2, 19},
    {"szv-stazh-redhot-2022-add.xml", TPDType::pdtSZVStag, TUtModeFormat::umfRedHot, 2022, 1, 12, 6, 3, 20},
    {"szv-korr-newest-2019.xml", TPDType::pdtSZVCorr, TUtModeFormat::umfNewest, 2019, 1, 12, 2, 2, 21},
    {"szv-ish-new-2015.xml", TPDType::pdtSZVBase, TUtModeFormat::umfNew, 2015, 1, 12, 2, 2, 22},
    {"efs-1-2023.xml", TPDType::pdtEFS1, TUtModeFormat::umfRedHot, 2023, 1, 12, 5, 2, 23, 2},
    {"efs-1-2024-corr.xml", TPDType::pdtEFS1, TUtModeFormat::umfRedHot, 2024, 1, 12, 3, 1, 24},
};

gen::TSynthEmployer ModelOf(const TGenerated& g) {
  gen::TSynthOptions o;
  o.persons = g.persons;
  o.periods = g.periods;
  o.year = g.year;
  o.firstMonth = g.firstMonth;
  o.lastMonth = g.lastMonth;
  o.seed = g.seed;
  return gen::MakeEmployer(o);
}

TDate DateOf(const gen::TSynthDate& d, int shift = 0) {
  int day = d.day;
  if (d.month == 2 && day > gen::DaysInMonth(d.year + shift, 2)) day = gen::DaysInMonth(d.year + shift, 2);
  return EncodeDate(d.year + shift, d.month, day);
}

// What the reader should make of a workplace's entries.
std::string ExpectedBases(const gen::TSynthWorkplace& w) {
  TBases bases;
  if (!w.vlBasis.empty()) bases.Add(w.vlBasis);
  if (!w.outCode.empty()) bases.Add(w.outCode);
  return bases.DelimitedText();
}

// Additional-data codes the pack tables show in a column of their own.
bool ShownInWarnings(const std::string& code) { return code == "ДЕТИ" || code == "ВРНЕТРУД" || code == "ДЛОТПУСК"; }

class FormsTest : public test::RecordsTest {};

TEST_F(FormsTest, EveryFormAndEditionAgreesWithItsModel) {
  for (const TGenerated& g : kGenerated) {
    SCOPED_TRACE(g.file);
    const gen::TSynthEmployer model = ModelOf(g);
    auto r = ReadPack(g.file);
    ASSERT_TRUE(r.pack);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_TRUE(r.pack->FPackErrors.empty());
    const TPack& pack = *r.pack;
    ASSERT_TRUE(pack.BaseData);
    EXPECT_EQ(pack.BaseData->FPDType, g.type);
    EXPECT_EQ(pack.BaseData->FUtMode, g.mode);
    const TPackGeneration generation = GenerationOf(g.type);
    const bool efs = generation == TPackGeneration::pgEFS1;
    const bool before2017 = generation == TPackGeneration::pgBefore2017;
    EXPECT_EQ(pack.FOrgName, before2017 ? model.name : model.shortName);
    EXPECT_EQ(pack.FShortOrgName, model.shortName);
    EXPECT_FALSE(pack.FPackNum.empty());
    TDate packDate = 0;
    EXPECT_TRUE(pack.TryGetPackDateAsDate(packDate)) << pack.FPackDate;

    ASSERT_EQ(pack.Workers.size(), model.persons.size());
    int preferentialPersons = 0;
    std::size_t terrCodes = 0;
    std::size_t flightEntries = 0;
    std::set<std::string> personsWithWarnings;
    for (std::size_t i = 0; i < model.persons.size(); ++i) {
      SCOPED_TRACE(i);
      const gen::TSynthPerson& mp = model.persons[i];
      const TWorker& w = *pack.Workers[i];
      EXPECT_EQ(w.Surname, UpperCase(mp.surname));
      EXPECT_EQ(w.Name, UpperCase(mp.name));
      EXPECT_EQ(w.Patronymic, UpperCase(mp.patronymic));
      EXPECT_EQ(w.SN, mp.snils);
      EXPECT_EQ(w.CategoryCode, "НР");
      EXPECT_EQ(w.PackNum, pack.FPackNum);
      EXPECT_EQ(w.NumInPack, std::to_string(before2017 ? i + 2 : i + 1));
      EXPECT_EQ(w.IsEFS1, efs);
      EXPECT_EQ(w.HasAT, g.type == TPDType::pdtSZVStag || g.type == TPDType::pdtSZVCorr);
      EXPECT_FALSE(w.NodeData.IsEmpty());

      const gen::TSynthWorkplace& place = model.workplaces[static_cast<std::size_t>(mp.workplace)];
      std::vector<const gen::TSynthPeriod*> expected;
      for (const auto& period : mp.periods) {
        if (!period.entries.empty()) expected.push_back(&period);
      }
      const std::size_t blocks = efs ? static_cast<std::size_t>(g.blocks) : 1;
      ASSERT_EQ(w.WorkPeriods.size(), expected.size() * blocks);
      EXPECT_EQ(w.HasLgotBasis, !expected.empty());
      if (!expected.empty()) ++preferentialPersons;
      if (efs) {
        EXPECT_EQ(w.Periodicals.size(), expected.empty() ? blocks : 0u);
      }
      bool warned = false;
      for (std::size_t k = 0; k < w.WorkPeriods.size(); ++k) {
        const std::size_t block = k / std::max<std::size_t>(expected.size(), 1);
        const gen::TSynthPeriod& mq = *expected[k % expected.size()];
        const TWorkPeriod& p = *w.WorkPeriods[k];
        const int shift = static_cast<int>(block);
        EXPECT_EQ(p.Start, DateOf(mq.start, shift));
        EXPECT_EQ(p.Finish, DateOf(mq.finish, shift));
        EXPECT_EQ(p.Bases.DelimitedText(), ExpectedBases(place));
        EXPECT_EQ(p.ProfessionCode, UpperCase(place.listPosition));
        EXPECT_EQ(p.TerritoryCondition, place.terrCode);
        EXPECT_EQ(p.TerritoryCoeff, place.terrCoeff);
        EXPECT_EQ(p.SeniorityBase(), place.seniorityBasis);
        EXPECT_EQ(p.PackNum, pack.FPackNum);
        EXPECT_EQ(p.NumInPack, w.NumInPack);
        EXPECT_EQ(p.Period, pack.BaseData->Period);
        EXPECT_EQ(p.Profession, before2017 ? place.post : "");
        EXPECT_EQ(p.WC, efs && !place.soutClass.empty()
                            ? (place.soutClass[0] == '3' ? "В" : place.soutClass[0] == '4' ? "О" : "") + place.soutClass
                            : "");
        if (efs) {
          EXPECT_EQ(p.Year, g.year + shift);
          EXPECT_EQ(p.IsCorr, g.file == std::string("efs-1-2024-corr.xml"));
        } else {
          EXPECT_EQ(p.Year, 0);
        }
        const gen::TSynthEntry& first = mq.entries.front();
        double rate = 1.0;
        if (!place.vlBasis.empty() && place.vlBasis != "САМОЛЕТ") rate = first.rate == "0.50" ? 0.5 : 1.0;
        EXPECT_DOUBLE_EQ(p.Rate, rate);
        if (place.vlBasis == "САМОЛЕТ") {
          EXPECT_EQ(p.Hours, first.hours);
          EXPECT_EQ(p.Minutes, first.minutes);
          ++flightEntries;
        } else if (place.vlBasis == "27-ПДРК") {
          EXPECT_DOUBLE_EQ(p.PDRKHours, std::stod(first.hours));
          EXPECT_DOUBLE_EQ(p.PDRKMinutes, std::stod(first.minutes));
        }
        std::string addPd;
        for (const auto& e : mq.entries) {
          if (!place.terrCode.empty()) ++terrCodes;
          if (!e.addPd.empty()) addPd = e.addPd;
        }
        EXPECT_EQ(p.AddPdData.ToString(), addPd);
        if (ShownInWarnings(addPd) || place.seniorityBasis == "СЕЗОН") warned = true;
      }
      if (warned) personsWithWarnings.insert(w.SN);

      // Payments at the additional tariff: the total of the reporting period,
      // once a month of it falls into the person's periods.
      if ((g.type == TPDType::pdtSZV64 || g.type == TPDType::pdtRSV1) && !mp.payments.empty()) {
        const bool monthInPerson = std::any_of(mp.payments.begin(), mp.payments.end(), [&](const auto& pay) {
          return std::any_of(w.WorkPeriods.begin(), w.WorkPeriods.end(), [&](const auto& p) {
            return MonthOf(p->Start) <= pay.month && pay.month <= MonthOf(p->Finish);
          });
        });
        ASSERT_EQ(w.AddTariffPayments.size(), monthInPerson ? 2u : 0u);
        double sum1 = 0, sum218 = 0;
        for (const auto& pay : mp.payments) {
          sum1 += pay.sum1;
          sum218 += pay.sum218;
        }
        for (const auto& payment : w.AddTariffPayments) {
          EXPECT_EQ(payment->WC, place.soutClass);
          EXPECT_EQ(payment->StringNumber, "1");
          EXPECT_NEAR(payment->Sum, payment->Base == TAddTariffBase::atb1 ? sum1 : sum218, 0.005);
        }
        EXPECT_FALSE(w.PaymentsNodeData.IsEmpty());
      } else {
        EXPECT_TRUE(w.AddTariffPayments.empty());
      }
    }
    EXPECT_EQ(pack.FLgotWorkerCount, preferentialPersons);
    EXPECT_EQ(pack.HasLgot, preferentialPersons > 0);
    EXPECT_EQ(pack.FTerrCodes.size(), terrCodes);
    EXPECT_EQ(static_cast<std::size_t>(pack.FlightWarnings->Count()), flightEntries);
    EXPECT_EQ(pack.PDRKWarnings->Count(), 0);  // every hours entry states its hours
    EXPECT_EQ(pack.JumpWarnings->Count(), 0);
    EXPECT_EQ(pack.PartTimeErrors->Count(), 0);
    EXPECT_EQ(pack.PartTimeWarnings->Count(), 0);
    // The warnings of one person are consecutive and merge into one row (per
    // reporting year).
    std::set<std::string> warnedInTable;
    for (const auto& record : pack.AddPdDataWarnings->Records()) warnedInTable.insert(record->FWorker_PD->SN);
    EXPECT_EQ(warnedInTable, personsWithWarnings);
    EXPECT_EQ(static_cast<std::size_t>(pack.AddPdDataWarnings->Count()),
              personsWithWarnings.size() * (efs ? static_cast<std::size_t>(g.blocks) : 1));
  }
}

TEST_F(FormsTest, TheFilesAreThoseTheGeneratorWrites) {
  // Guards the agreement between the committed files and the model used above.
  for (const TGenerated& g : kGenerated) {
    const gen::TSynthEmployer model = ModelOf(g);
    auto root = TreeOfFile(g.file);
    ASSERT_TRUE(root) << g.file;
    const bool before2017 = GenerationOf(g.type) == TPackGeneration::pgBefore2017;
    const std::string snName = before2017 ? "СтраховойНомер" : g.type == TPDType::pdtEFS1 ? "УТ2:СНИЛС" : "СНИЛС";
    const TMyNodeList& numbers = root->GetElementsByTagName(snName);
    ASSERT_EQ(numbers.size(), model.persons.size()) << g.file;
    for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i]->text(), model.persons[i].snils) << g.file;
  }
}

}  // namespace
}  // namespace morvel
