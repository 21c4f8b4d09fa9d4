#include <gtest/gtest.h>

#include "results/check_results.h"
#include "verify_fixtures.h"

namespace morvel {
namespace {

using test::Find;
using test::Names;
using test::Printed;

// The List's positions against the merged IS periods.
class StaffPositionsTest : public test::VerifyTest {
 protected:
  StaffPositionsTest() {
    fVerification.fWithPositions = true;
    fList = List();
  }

  void Verify() { fVerification.verify(fList.get(), fWorkers, 2021, 1); }

  std::shared_ptr<TWorker> AddWorker(const std::string& sn, const std::string& numInPack = "1",
                                     const std::string& surname = "ИВАНОВ") {
    fWorkers.push_back(Person(sn, "7", numInPack, surname));
    return fWorkers.back();
  }

  // The cells of every record of the table, row by row.
  static std::vector<std::vector<std::string>> Rows(const TTableResult& table) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& record : table.Records()) {
      TMemoryLineWriter w;
      record->PrintLine(w);
      std::vector<std::string> cells;
      for (std::size_t i = 1; i + 1 < w.Lines.size(); ++i) {
        const std::string& line = w.Lines[i];
        cells.push_back(line.substr(4, line.size() - 9));
      }
      rows.push_back(cells);
    }
    return rows;
  }

  TVerification fVerification;
  std::unique_ptr<TTheList> fList;
  std::vector<std::shared_ptr<TWorker>> fWorkers;
};

TEST_F(StaffPositionsTest, AdditionalDataFindingsAreMadeOncePerPosition) {
  AddPosition(*fList, "27-1", "1010100А-13790", 1000);
  AddPosition(*fList, "27-2", "23200000-19756", 1000);
  AddPosition(*fList, "27-ГД", "", 1000);
  auto w = AddWorker("111-111-111 11");
  // A code that ended before the quarter: wrong whatever the position.
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"}, "1010100А-13790")->AddPdData.Set("СТАРКОД");
  // A code not allowed with the work of the position: only where it matches.
  AddPeriod(*w, D(2021, 2, 1), D(2021, 2, 28), {"27-2"}, "23200000-19756")->AddPdData.Set("ДЕТИ");
  // A code that is not valid yet.
  AddPeriod(*w, D(2021, 3, 1), D(2021, 3, 31), {"27-ГД"})->AddPdData.Set("НОВКОД");
  Verify();

  auto* errors = Find<TAddPdDataErrors>(fVerification.FErrorResults);
  ASSERT_NE(errors, nullptr);
  const std::vector<std::string> old = {"7",     "1",       "111-111-111 11",
                                        "ИВАНОВ П.С.", "27-1", "1010100А-13790",
                                        "СТАРКОД", "Код СТАРКОД проставлен неправомерно. Период актуальности кода "
                                                   "закончился 31.12.2015"};
  const std::vector<std::string> children = {"7",      "1",        "111-111-111 11",
                                             "ИВАНОВ П.С.", "27-2", "23200000-19756",
                                             "ДЕТИ",   "Код ДЕТИ проставлен неправомерно."};
  const std::vector<std::string> early = {"7",      "1",  "111-111-111 11",
                                          "ИВАНОВ П.С.", "27-ГД", "",
                                          "НОВКОД", "Код НОВКОД проставлен неправомерно. Период актуальности кода "
                                                    "начинается 01.01.2030"};
  // Position after position, each time every period in order.
  EXPECT_EQ(Rows(*errors), (std::vector<std::vector<std::string>>{old, early, old, children, early, old, early}));
  // The periods carry additional data, so they count no days for any position.
  EXPECT_EQ(Find<TWorkingDaysErrors>(fVerification.FErrorResults), nullptr);
}

TEST_F(StaffPositionsTest, PeriodWithoutBasesCountsForEveryPositionAndIsNeverUnmatched) {
  AddPosition(*fList, "27-1", "1010100А-13790", 20);
  AddPosition(*fList, "27-ГД", "", 20, 2);
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31));  // ordinary work, no basis
  Verify();

  auto* days = Find<TWorkingDaysErrors>(fVerification.FErrorResults);
  ASSERT_NE(days, nullptr);
  EXPECT_EQ(Rows(*days), (std::vector<std::vector<std::string>>{{"27-1 (1010100А-13790)", "1", "20", "1", "31", "11"},
                                                                 {"27-ГД", "2", "20", "1", "31", "11"}}));
  EXPECT_EQ(Find<TPositionErrors>(fVerification.FErrorResults), nullptr);
  EXPECT_TRUE(w->MergedWorkPeriods.at(0)->FoundInListPositions);
}

TEST_F(StaffPositionsTest, DaysEqualToThePositionsAreFineAndOneMoreIsNot) {
  AddPosition(*fList, "27-1", "1010100А-13790", 90);
  auto exact = AddPosition(*fList, "27-2", "23200000-19756", 0.7);
  AddPosition(*fList, "27-ГД", "", 89);
  auto a = AddWorker("111-111-111 11", "1");
  AddPeriod(*a, D(2021, 1, 1), D(2021, 2, 14), {"27-1"}, "1010100А-13790");
  auto b = AddWorker("222-222-222 22", "2", "ПЕТРОВ");
  AddPeriod(*b, D(2021, 2, 15), D(2021, 3, 31), {"27-1"}, "1010100А-13790");
  // 7 days at 0.1 are 0.7000000000000001 as a double, 0.7 as printed.
  AddPeriod(*b, D(2021, 1, 1), D(2021, 1, 7), {"27-2"}, "23200000-19756", 0.1);
  auto c = AddWorker("333-333-333 33", "3", "СИДОРОВ");
  AddPeriod(*c, D(2021, 1, 1), D(2021, 3, 31), {"27-ГД"});
  Verify();

  auto* days = Find<TWorkingDaysErrors>(fVerification.FErrorResults);
  ASSERT_NE(days, nullptr);
  ASSERT_EQ(days->Count(), 1);
  EXPECT_EQ(Rows(*days)[0], (std::vector<std::string>{"27-ГД", "1", "89", "1", "90", "1"}));
  EXPECT_NE(exact, days->GetRecord(0).FPosition);
}

TEST_F(StaffPositionsTest, PersonsAreCountedOncePerPosition) {
  AddPosition(*fList, "27-1", "1010100А-13790", 10);
  auto a = AddWorker("111-111-111 11", "1");
  AddPeriod(*a, D(2021, 1, 1), D(2021, 1, 10), {"27-1"}, "1010100А-13790");
  AddPeriod(*a, D(2021, 3, 1), D(2021, 3, 10), {"27-1"}, "1010100А-13790");
  auto b = AddWorker("222-222-222 22", "2", "ПЕТРОВ");
  AddPeriod(*b, D(2021, 2, 1), D(2021, 2, 5), {"27-1"}, "1010100А-13790", 0.5);
  Verify();

  auto* days = Find<TWorkingDaysErrors>(fVerification.FErrorResults);
  ASSERT_NE(days, nullptr);
  auto& record = dynamic_cast<TWorkingDaysError&>(days->GetRecord(0));
  EXPECT_EQ(record.fISQuantity, 2);
  EXPECT_DOUBLE_EQ(record.fFullWorkingDays_IS, 22.5);
}

TEST_F(StaffPositionsTest, CorrectivePacksOnlyGiveAdditionalDataFindingsButNoDays) {
  fVerification.fCorrPacksOnly = true;
  AddPosition(*fList, "27-1", "1010100А-13790", 1);
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"}, "1010100А-13790");
  AddPeriod(*w, D(2021, 2, 1), D(2021, 2, 28), {"27-1"}, "1010100А-13790")->AddPdData.Set("ДЕТИ");
  Verify();
  EXPECT_EQ(Names(fVerification.FErrorResults), (std::vector<std::string>{"TAddPdDataErrors"}));
  EXPECT_TRUE(fVerification.fWarningResults.empty());
}

// The boiler operator on List No. 2 only gets a warning, written out in full.
TEST_F(StaffPositionsTest, BoilerOperatorOfListTwoGetsAWarning) {
  AddPosition(*fList, "27-2", "23200000-13786", 60);
  AddPosition(*fList, "27-1", "23200000-13786", 60);
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 3, 31), {"27-2"}, "23200000-13786");
  auto v = AddWorker("222-222-222 22", "2", "ПЕТРОВ");
  AddPeriod(*v, D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "23200000-13786");
  Verify();

  EXPECT_EQ(Names(fVerification.FErrorResults), (std::vector<std::string>{"TWorkingDaysErrors"}));
  ASSERT_EQ(Names(fVerification.fWarningResults), (std::vector<std::string>{"TWorkingDaysWarnings"}));
  EXPECT_EQ(Printed(*fVerification.fWarningResults[0]),
            "<h3 style=\"text-align:center\">1. Сверка на количество дней занятости</h3>\n"
            "<b>Таблица 1.1 Превышение количества рабочих дней в ИС по отношению к количеству рабочих дней "
            "позиций Перечня</b><br/>\n"
            "<table id=\"TWorkingDaysWarnings\" width=\"100%\" border=\"1\">\n"
            " <tr style=\"text-align:center;font-weight:bold\">\n"
            " <td colspan=\"\"  rowspan=\"2\">Льгота</td>\n"
            " <td colspan=\"2\"  rowspan=\"\">В позиции Перечня</td>\n"
            " <td colspan=\"2\"  rowspan=\"\">В ИС</td>\n"
            " <td colspan=\"\"  rowspan=\"2\">ОШИБКА</td>\n"
            " <td colspan=\"\"  rowspan=\"2\">Из них ВРНЕТРУД или ДЕКРЕТ</td>\n"
            " </tr>\n"
            " <tr style=\"text-align:center;font-weight:bold\">\n"
            " <td colspan=\"\"  rowspan=\"\">Количество ставок</td>\n"
            " <td colspan=\"\"  rowspan=\"\">Дней</td>\n"
            " <td colspan=\"\"  rowspan=\"\">Количество ИС</td>\n"
            " <td colspan=\"\"  rowspan=\"\">Дней</td>\n"
            " </tr>\n"
            "<tr>\n"
            "<td>27-2 (23200000-13786)</td>\n"
            "<td>1</td>\n"
            "<td>60</td>\n"
            "<td>1</td>\n"
            "<td>90</td>\n"
            "<td>30</td>\n"
            "<td>0</td>\n"
            "</tr>\n"
            "</table>\n"
            "<div style=\"color: blue\"><b>ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1</b></div><br/>\n");
  auto* errors = Find<TWorkingDaysErrors>(fVerification.FErrorResults);
  EXPECT_EQ(Rows(*errors)[0][0], "27-1 (23200000-13786)");
}

TEST_F(StaffPositionsTest, ListWithoutPositionsReportsEveryMergedPeriodOnce) {
  auto a = AddWorker("111-111-111 11");
  AddPeriod(*a, D(2021, 1, 1), D(2021, 1, 31), {"27-1"}, "1010100А-13790");
  AddPeriod(*a, D(2021, 3, 1), D(2021, 3, 31), {"27-1"}, "1010100А-13790");  // the same kind again
  auto b = AddWorker("222-222-222 22", "2", "ПЕТРОВ");
  auto p = AddPeriod(*b, D(2021, 1, 1), D(2021, 3, 31), {"27-ГД"});
  p->TerritoryCondition = "МКС";
  p->AddPdData.Set("ДЕКРЕТ");
  Verify();

  ASSERT_EQ(Names(fVerification.FErrorResults), (std::vector<std::string>{"TPositionErrors"}));
  EXPECT_TRUE(fVerification.fWarningResults.empty());
  // The second period of the first person is the same kind: listed once.
  EXPECT_EQ(Printed(*fVerification.FErrorResults[0]),
            "<h3 style=\"text-align:center\">1. Сверка на наличие позиций в Перечне</h3>\n"
            "<b>Таблица 1.1 Позиции, отсутствующие в Перечне</b><br/>\n"
            "<table id=\"TPositionErrors\" width=\"100%\" border=\"1\">\n"
            " <tr style=\"text-align:center;font-weight:bold\">\n"
            " <td colspan=\"\"  rowspan=\"2\">№ пачки</td>\n"
            " <td colspan=\"\"  rowspan=\"2\">№ в пачке</td>\n"
            " <td colspan=\"\"  rowspan=\"2\">Страховое свидетельство</td>\n"
            " <td colspan=\"\"  rowspan=\"2\">ФИО</td>\n"
            " <td colspan=\"2\"  rowspan=\"\">Особые условия труда</td>\n"
            " <td colspan=\"\"  rowspan=\"2\">ТУ</td>\n"
            " <td colspan=\"\"  rowspan=\"2\">Дополнительные сведения ИС</td>\n"
            " </tr>\n"
            " <tr style=\"text-align:center;font-weight:bold\">\n"
            " <td colspan=\"\"  rowspan=\"\">Льгота</td>\n"
            " <td colspan=\"\"  rowspan=\"\">Код позиции списка</td>\n"
            " </tr>\n"
            "<tr>\n<td>7</td>\n<td>1</td>\n<td>111-111-111 11</td>\n<td>ИВАНОВ П.С.</td>\n<td>27-1</td>\n"
            "<td>1010100А-13790</td>\n<td></td>\n<td></td>\n</tr>\n"
            "<tr>\n<td>7</td>\n<td>2</td>\n<td>222-222-222 22</td>\n<td>ПЕТРОВ П.С.</td>\n<td>27-ГД</td>\n"
            "<td></td>\n<td>МКС</td>\n<td>ДЕКРЕТ</td>\n</tr>\n"
            "</table>\n"
            "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 2</b></div><br/>\n");
}

TEST_F(StaffPositionsTest, PeriodsOfOtherKindsAreUnmatched) {
  AddPosition(*fList, "27-1", "1010100А-13790", 1000);
  auto w = AddWorker("111-111-111 11");
  auto matched = AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"}, "1010100А-13790");
  AddPeriod(*w, D(2021, 2, 1), D(2021, 2, 28), {"27-1"}, "1010100А-99999");
  AddPeriod(*w, D(2021, 3, 1), D(2021, 3, 31), {"27-2"}, "1010100А-13790");
  Verify();
  auto* errors = Find<TPositionErrors>(fVerification.FErrorResults);
  ASSERT_NE(errors, nullptr);
  ASSERT_EQ(errors->Count(), 2);
  EXPECT_EQ(errors->GetRecord(0).FWorkPeriod_PD->ProfessionCode, "1010100А-99999");
  EXPECT_EQ(errors->GetRecord(1).FWorkPeriod_PD->Bases.DelimitedText(), "27-2");
}

TEST_F(StaffPositionsTest, AFailureEndsTheCheckSilentlyAndDropsItsFindings) {
  AddPosition(*fList, "27-1", "1010100А-13790", 1);
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"}, "1010100А-13790");
  AddPeriod(*w, D(2021, 2, 1), D(2021, 2, 28), {"27-1"}, "1010100А-13790")->AddPdData.Set("ДЕТИ");
  // A code whose end date is no date: reading it fails.
  AddPeriod(*w, D(2021, 3, 1), D(2021, 3, 31), {"27-ГД"})->AddPdData.Set("КРИВКОД");
  Verify();
  // No working-days or additional-data table; the search for unmatched
  // periods still runs after it, and the periods counted before the failure
  // stay matched.
  EXPECT_EQ(Names(fVerification.FErrorResults), (std::vector<std::string>{"TPositionErrors"}));
  auto* unmatched = Find<TPositionErrors>(fVerification.FErrorResults);
  ASSERT_EQ(unmatched->Count(), 1);
  EXPECT_EQ(unmatched->GetRecord(0).FWorkPeriod_PD->Bases.DelimitedText(), "27-ГД");
}

// "СЕЛО" on one side only matches an empty condition on the other; any other
// pair of conditions matches.
TEST_F(StaffPositionsTest, TerritorialConditionsDecideBetweenPeriodsOfTheSameKind) {
  AddPosition(*fList, "27-1", "1010100А-13790", 1000)->fTerrCond = "СЕЛО";
  AddPosition(*fList, "27-1", "1010100А-11111", 1000);
  AddPosition(*fList, "27-1", "1010100А-22222", 1000)->fTerrCond = "МКС";
  auto w = AddWorker("111-111-111 11");
  // Gaps between the periods keep them from being glued.
  auto period = [&](int month, int day, const std::string& code, const std::string& condition) {
    auto p = AddPeriod(*w, D(2021, month, day), D(2021, month, day + 5), {"27-1"}, code);
    p->TerritoryCondition = condition;
    return p;
  };
  period(1, 1, "1010100А-13790", "СЕЛО");
  period(1, 10, "1010100А-13790", "");
  period(1, 20, "1010100А-13790", "МКС");  // against СЕЛО: unmatched
  period(2, 1, "1010100А-11111", "СЕЛО");
  period(2, 10, "1010100А-11111", "МКС");
  period(2, 20, "1010100А-11111", "");
  period(3, 1, "1010100А-22222", "СЕЛО");  // against МКС: unmatched
  period(3, 10, "1010100А-22222", "РКС");
  period(3, 20, "1010100А-22222", "");
  Verify();
  auto* unmatched = Find<TPositionErrors>(fVerification.FErrorResults);
  ASSERT_NE(unmatched, nullptr);
  std::vector<std::string> conditions;
  for (const auto& record : unmatched->Records()) {
    conditions.push_back(record->FWorkPeriod_PD->ProfessionCode + " " + record->FWorkPeriod_PD->TerritoryCondition);
  }
  EXPECT_EQ(conditions, (std::vector<std::string>{"1010100А-13790 МКС", "1010100А-22222 СЕЛО"}));
}

TEST_F(StaffPositionsTest, SwitchedOffNothingIsCompared) {
  fVerification.fWithPositions = false;
  AddPosition(*fList, "27-1", "1010100А-13790", 1);
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"}, "1010100А-13790")->AddPdData.Set("СТАРКОД");
  Verify();
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.fWarningResults.empty());
  // The periods are prepared all the same.
  ASSERT_EQ(w->MergedWorkPeriods.size(), 1u);
  EXPECT_FALSE(w->MergedWorkPeriods[0]->FoundInListPositions);
}

}  // namespace
}  // namespace morvel
