// A generated employer of 2014 (СЗВ-6-4 with payments at the additional tariff,
// territorial codes, classes of working conditions, List periods marked ДТ)
// read, checked and printed the way a run does it: the protocol carries the
// tables of the territorial-code, additional-tariff and ВИРУС checks, in their
// order, with rows that follow from how the employer was made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "base/text.h"
#include "config/classifiers.h"
#include "list_writer.h"
#include "pack_writer.h"
#include "protocol_fixture.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "verify/set.h"
#include "verify/verification.h"
#include "xml/my_node.h"

namespace morvel::test {
namespace {

constexpr const char* kRegNum = "099-001-000123";

struct TPrintedTable {
  std::string id;
  std::vector<std::vector<std::string>> rows;
};

// The tables of a protocol in order, with the cells of their data rows.
std::vector<TPrintedTable> TablesOf(const std::string& protocol) {
  std::vector<TPrintedTable> tables;
  const std::vector<std::string> lines = Split(protocol, '\n');
  TPrintedTable* table = nullptr;
  std::vector<std::string>* row = nullptr;
  for (const std::string& line : lines) {
    const std::string open = "<table id=\"";
    if (line.rfind(open, 0) == 0) {
      tables.push_back({line.substr(open.size(), line.find('"', open.size()) - open.size()), {}});
      table = &tables.back();
    } else if (line == "</table>") {
      table = nullptr;
    } else if (table != nullptr && line == "<tr>") {
      table->rows.emplace_back();
      row = &table->rows.back();
    } else if (table != nullptr && row != nullptr && line.rfind("<td>", 0) == 0) {
      row->push_back(line.substr(4, line.size() - 9));
    } else if (line == "</tr>") {
      row = nullptr;
    }
  }
  return tables;
}

class GeneratedChecksProtocolTest : public ProtocolTest {
 protected:
  GeneratedChecksProtocolTest() {
    const std::filesystem::path data = std::filesystem::path(MORVEL_SOURCE_DIR) / "data";
    fLoaded = LoadClassifierFiles(fClassifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                                  [](const std::string&) {});
    S().FRegNum = kRegNum;
    S().fCompareTerrCodes = true;  // and no right in the rights list
  }

  // The fourth quarter of 2014: a СЗВ-6-4 pack and the List of the same work.
  void Read() {
    gen::TSynthOptions options;
    options.persons = 80;
    options.periods = 2;
    options.year = 2014;
    options.firstMonth = 10;
    options.lastMonth = 12;
    fEmployer = gen::MakeEmployer(options);
    gen::TPackOptions packOptions;
    packOptions.form = gen::TGenForm::szv64;
    const std::filesystem::path dir = fTemp.path();
    {
      std::ofstream out(dir / "pack.xml", std::ios::binary);
      gen::WritePack(fEmployer, packOptions, out);
      std::ofstream list(dir / "list.xml", std::ios::binary);
      gen::TListOptions listOptions;
      gen::WriteList(fEmployer, 1, listOptions, list);
    }
    TMyTree root = LoadXMLTree((dir / "pack.xml").string());
    ASSERT_NE(root, nullptr);
    auto header = TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0);
    ASSERT_NE(header, nullptr);
    TProtocolMessageList errors;
    const TPDType form = header->FPDType;
    auto pack = TPack::TryGetPackData(root.get(), form, errors, header, (dir / "pack.xml").string());
    ASSERT_NE(pack, nullptr);
    pack->ReadWorkers(root.get(), 0);
    fSet.AddPack(std::move(pack));
    fSet.FYear = 2014;
    fSet.FPeriod = 4;

    TMyTree listRoot = LoadXMLTree((dir / "list.xml").string());
    ASSERT_NE(listRoot, nullptr);
    auto list = std::make_unique<TTheList>();
    list->fYear = 2014;
    list->fPeriod = 4;
    list->readStaff(2014, 4, listRoot.get());
    ASSERT_FALSE(list->fWorkers.empty());
    fSet.SetList(std::move(list));
  }

  // The steps of a run for one set, up to its printed protocol.
  std::string VerifyAndPrint(TVerification& v) {
    v.fYear = fSet.Year();
    v.fPeriod = fSet.Period();
    for (const auto& pack : fSet.InitPacks()) {
      for (auto& data : pack->FTerrCodes) v.fTerrCodes.push_back(std::move(data));
      pack->FTerrCodes.clear();
    }
    v.verifyTerrCodes(fSet);
    for (const auto& pack : fSet.InitPacks()) v.getParseErrorsAndWarnings(*pack, fSet.List());
    const auto workers = fSet.UnionISWorkers(v.FErrorResults, v.fWarningResults);
    v.verify(fSet.List(), workers, fSet.Year(), fSet.Period());
    auto writer = Writer();
    writer->formProtocolPart(v);
    return Normalized(writer->PrintProtocol(1));
  }

  TClassifiers fClassifiers;
  bool fLoaded = false;
  TClassifiersScope fScope{fClassifiers};
  gen::TSynthEmployer fEmployer;
  TSet fSet;
};

TEST_F(GeneratedChecksProtocolTest, TablesOfTheThreeChecksInTheirOrder) {
  ASSERT_TRUE(fLoaded);
  ASSERT_NO_FATAL_FAILURE(Read());

  // ВИРУС on one List period outside its window and without its bases.
  TWorker& virusPerson = *fSet.List()->fWorkers.front();
  TWorkPeriod& virusPeriod = *virusPerson.WorkPeriods.front();
  virusPeriod.SetSeniorityBase("ВИРУС");
  virusPeriod.Bases.Clear();
  virusPeriod.Bases.Add("27-ПД");
  virusPeriod.Months = virusPeriod.Days = virusPeriod.Hours = virusPeriod.Minutes = "0";
  std::size_t codedPeriods = 0;
  for (const auto& pack : fSet.InitPacks()) codedPeriods += pack->FTerrCodes.size();
  ASSERT_GT(codedPeriods, 0u);

  TVerification v;
  const std::string protocol = VerifyAndPrint(v);
  const std::vector<TPrintedTable> tables = TablesOf(protocol);
  if (const char* dump = std::getenv("DUMP_PROTOCOL")) std::ofstream(dump) << protocol;

  // The findings of the three checks, in the order the verification runs them
  // (the errors, then the warnings); the pack's own tables stand between.
  std::vector<std::string> ours;
  const std::set<std::string> ourIds = {"TTerrCodeErrors", "TUTErrors", "TAddTariffErrors",
                                        "TUTWithoutAddTariffErrors", "TBeerusErrors", "TAddTariffWarnings"};
  std::map<std::string, const TPrintedTable*> byId;
  for (const TPrintedTable& t : tables) {
    if (ourIds.count(t.id) == 0) continue;
    ours.push_back(t.id);
    byId[t.id] = &t;
  }
  EXPECT_EQ(ours, (std::vector<std::string>{"TTerrCodeErrors", "TUTErrors", "TAddTariffErrors",
                                            "TUTWithoutAddTariffErrors", "TBeerusErrors", "TAddTariffWarnings"}))
      << protocol;
  if (byId.size() != ourIds.size()) return;

  // Without any right every coded period is reported, with its code.
  const TPrintedTable& terr = *byId["TTerrCodeErrors"];
  EXPECT_EQ(terr.rows.size(), codedPeriods);
  for (const auto& row : terr.rows) {
    ASSERT_EQ(row.size(), 6u);
    EXPECT_TRUE(row[4] == "РКС" || row[4] == "МКС" || row[4] == "СЕЛО") << row[4];
  }

  // The payments give the classes as "3.2", the List as "В3.2": the payment's
  // class is found in the period's, so no period is reported, but the sets
  // differ, so each person paid at the tariff gets the closing row. So do the
  // persons of the small lists, whose List periods have a class and no ДТ.
  const std::string allPeriods = " (все периоды)";
  const TPrintedTable& ut = *byId["TUTErrors"];
  for (const auto& row : ut.rows) {
    ASSERT_EQ(row.size(), 9u);
    EXPECT_EQ(row[4], "");  // no period
    ASSERT_GE(row[5].size(), allPeriods.size());
    const std::string isClasses = row[5].substr(0, row[5].size() - allPeriods.size());
    EXPECT_EQ(row[5].substr(isClasses.size()), allPeriods);
    if (isClasses.empty()) {
      // Without a period marked ДТ the IS person is never looked up.
      EXPECT_EQ(row[0], "");
      EXPECT_EQ(row[1], "");
      EXPECT_TRUE(row[7] == "2" || row[7] == "В3.1") << row[7];
    } else {
      EXPECT_EQ(row[0], "00012");  // the pack number as the generator writes it
      EXPECT_EQ(row[7], "В" + isClasses);
    }
    EXPECT_EQ(row[8], "Проставленные у ЗЛ для ДТ условия труда не совпадают в ИС и Перечне (Класса УТ из ИС нет "
                      "в Перечне)");
  }
  std::size_t classedPersons = 0;
  for (const auto& person : fEmployer.persons) {
    if (!fEmployer.workplaces[static_cast<std::size_t>(person.workplace)].soutClass.empty()) ++classedPersons;
  }
  EXPECT_EQ(ut.rows.size(), classedPersons);

  // The small lists oblige to the tariff too, and nobody paid it for them. The
  // one List row is the period given 27-ПД above: marked ДТ, and its basis asks
  // for no tariff.
  const TPrintedTable& tariff = *byId["TAddTariffErrors"];
  std::size_t listRows = 0;
  for (const auto& row : tariff.rows) {
    ASSERT_EQ(row.size(), 11u);
    if (row[0].empty()) {
      ++listRows;
      EXPECT_EQ(row, (std::vector<std::string>{
                         "", virusPerson.NumInPack, virusPerson.SN, virusPerson.SurnameWithInitials(),
                         virusPeriod.pPeriodString(), "", "", virusPerson.SubNum, "27-ПД", virusPeriod.ProfessionCode,
                         "У ЗЛ в перечне в периодах стажа проставлен доп. тариф, но не начислена сумма по доп. "
                         "тарифу в ИС"}));
      continue;
    }
    EXPECT_EQ(row[0], "00012");
    EXPECT_TRUE(row[5] == "27-10" || row[5] == "27-7") << row[5];
    EXPECT_EQ(row[10], "У ЗЛ в периодах стажа присутствует льгота " + row[5] +
                           ", но не начислена сумма выплат по доп. тарифу");
  }
  EXPECT_EQ(listRows, 1u);
  // The same workplaces carry a class on the List without the mark.
  for (const auto& row : byId["TUTWithoutAddTariffErrors"]->rows) {
    ASSERT_EQ(row.size(), 6u);
    EXPECT_TRUE(row[5] == "2" || row[5] == "В3.1") << row[5];
  }
  // Periods of those workplaces with leave or training are warnings instead.
  for (const auto& row : byId["TAddTariffWarnings"]->rows) {
    ASSERT_EQ(row.size(), 8u);
    EXPECT_TRUE(row[5] == "27-10" || row[5] == "27-7") << row[5];
  }

  // The ВИРУС period, written out from the person and period it was put on.
  const TPrintedTable& virus = *byId["TBeerusErrors"];
  ASSERT_EQ(virus.rows.size(), 2u);
  const std::vector<std::string> first = {
      virusPerson.SubNum,
      virusPerson.SN,
      virusPerson.SurnameWithInitials(),
      "27-ПД",
      virusPeriod.ProfessionCode,
      "01.10.2014",
      virusPeriod.pEndAsString(),  // where the generator ends the first period
      virusPeriod.RateStr(),
      "",
      "ВИРУС",
      "Код \"ВИРУС\" проставляется для периодов работы с 01.01.2020 до 30.09.2020"};
  EXPECT_EQ(virus.rows[0], first);
  EXPECT_EQ(virus.rows[1].back(),
            "Код \"ВИРУС\" должен сочетаться с кодами 27-1/27-2 или 27-ГД/27-ГДХР/27-СМ/27-СМХР");
}

}  // namespace
}  // namespace morvel::test
