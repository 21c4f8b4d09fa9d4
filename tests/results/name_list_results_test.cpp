#include <gtest/gtest.h>

#include "result_fixtures.h"
#include "results/name_list_results.h"
#include "results/rate_results.h"

namespace morvel {
namespace {

using test::HeaderCell;
using test::LeafColumns;
using test::PrintTable;
using test::RowOf;

class NameListResultsTest : public test::ResultsTest {
 protected:
  static std::shared_ptr<TWorker> ListPerson(const std::string& subNum, const std::string& sn,
                                             const std::string& surname = "ИВАНОВ", const std::string& name = "ПЕТР",
                                             const std::string& patronymic = "СЕРГЕЕВИЧ") {
    auto w = Person("", "", sn, surname, name, patronymic);
    w->SubNum = subNum;
    return w;
  }
};

// ---- Teaching hours ---------------------------------------------------------------

TEST_F(NameListResultsTest, TeachingMinutesRoundHalvesToEvenAndKeepTheirUnitWords) {
  EXPECT_EQ(TTeacherResult::MinutesText(125.5), "2 часов 6 минут");
  EXPECT_EQ(TTeacherResult::MinutesText(124.5), "2 часов 4 минут");
  EXPECT_EQ(TTeacherResult::MinutesText(90), "1 часов 30 минут");
  EXPECT_EQ(TTeacherResult::MinutesText(0), "0 часов 0 минут");
  EXPECT_EQ(TTeacherResult::MinutesText(59.5), "1 часов 0 минут");
  EXPECT_EQ(TTeacherResult::MinutesText(60.4), "1 часов 0 минут");

  auto worker = Person("3", "12", "111-111-111 11");
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"});
  period->PDRKHoursNodeData.fLine = 58;
  TTeacherResult record(worker, period, 125.5, 90);
  EXPECT_EQ(record.fISTime, "2 часов 6 минут");
  EXPECT_EQ(record.fPerechTime, "1 часов 30 минут");
  EXPECT_EQ(RowOf(record), (std::vector<std::string>{"27-ПД", "3", "12", "111-111-111 11", "ИВАНОВ П.С.",
                                                     "2 часов 6 минут", "1 часов 30 минут"}));
  ASSERT_NE(record.FUCPData, nullptr);
  EXPECT_EQ(record.FUCPData->FPackNum, "3");
  EXPECT_EQ(record.FUCPData->FUcpNodeData.fLine, 58);
}

// The warning table is a table of teachers' hours under its own title and its
// own id, counted in blue.
TEST_F(NameListResultsTest, TeacherWarningsTableHtml) {
  auto worker = Person("3", "12", "111-111-111 11", "ОРЛОВА", "АННА", "ИГОРЕВНА");
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"});
  TTeacherWarnings table;
  table.AddRecord(std::make_unique<TTeacherResult>(worker, period, 150, 0));

  const std::string expected =
      "<h3 style=\"text-align:center\">4. Сверка ИС и поименного списка к Перечню</h3>\n"
      "<b>Таблица 4.1 Расхождение в количестве часов по льготам 27-ПД(28-ПД)</b><br/>\n"
      "<table id=\"TTeacherWarnings\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("Льгота") + HeaderCell("№ пачки") + HeaderCell("№ в пачке") +
      HeaderCell("Страховое свидетельство") + HeaderCell("ФИО") + HeaderCell("Часы в ИС") +
      HeaderCell("Часы в Перечне") +
      " </tr>\n"
      "<tr>\n"
      "<td>27-ПД</td>\n"
      "<td>3</td>\n"
      "<td>12</td>\n"
      "<td>111-111-111 11</td>\n"
      "<td>ОРЛОВА А.И.</td>\n"
      "<td>2 часов 30 минут</td>\n"
      "<td>0 часов 0 минут</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: blue\"><b>ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table, 3, 5, "Список предупреждений"), expected);

  TPrincipalErrors principal;
  EXPECT_TRUE(principal.IsError);
  EXPECT_EQ(principal.ClassName(), "TPrincipalErrors");
  EXPECT_EQ(principal.FTableName, "Расхождение в количестве часов по льготам 27-ПДРК(28-ПДРК)");
  EXPECT_EQ(principal.FChapterName, table.FChapterName);
  EXPECT_EQ(LeafColumns(principal), 7u);
}

// ---- Names and missing persons ------------------------------------------------------

TEST_F(NameListResultsTest, FullNameRowShowsEachPartOfBothSides) {
  auto is = Person("3", "12", "111-111-111 11", "Иванов", "Петр", "Сергеевич");
  is->FullNameNodeData.fLine = 31;
  auto list = ListPerson("07", "111-111-111 11", "ИВАНОВ", "ПЕТР", "СЕРГЕЕВИЧ");
  TFullNameErrors table;
  TFullNameError record(is, list);
  EXPECT_EQ(RowOf(record), (std::vector<std::string>{"3", "12", "111-111-111 11", "Иванов", "Петр", "Сергеевич",
                                                     "07", "ИВАНОВ", "ПЕТР", "СЕРГЕЕВИЧ"}));
  EXPECT_EQ(LeafColumns(table), 10u);
  EXPECT_EQ(record.FUCPData->FUcpNodeData.fLine, 31);
  record.TagData();
  EXPECT_TRUE(is->IsResultData);
  EXPECT_TRUE(list->IsResultData);
}

// The whole table of IS persons missing from the List, with an input text that
// needs escaping.
TEST_F(NameListResultsTest, PersonsMissingFromTheListTableHtml) {
  auto worker = Person("3", "12", "111-111-111 11", "О'НИЛ<", "ДЖОН", "");
  worker->NodeData.fLine = 20;
  auto period = Period(D(2021, 2, 1), D(2021, 3, 15), {"27-1"}, "1010100А-13790");
  TPdInsNumErrors table;
  table.AddRecord(std::make_unique<TSNError_IS>(worker, period));

  const std::string expected =
      "<h3 style=\"text-align:center\">1. Сверка ИС и поименного списка к Перечню</h3>\n"
      "<b>Таблица 1.1 ЗЛ, указанные в ИС, но отсутствующие в поименном списке к Перечню</b><br/>\n"
      "<table id=\"TPdInsNumErrors\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("№ пачки", "", "2") + HeaderCell("№ в пачке", "", "2") +
      HeaderCell("Страховое свидетельство", "", "2") + HeaderCell("ФИО", "", "2") + HeaderCell("Период", "2", "") +
      HeaderCell("Особые условия труда", "2", "") +
      " </tr>\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("Дата начала периода") + HeaderCell("Дата конца периода") + HeaderCell("Льгота") +
      HeaderCell("Код позиции списка") +
      " </tr>\n"
      "<tr>\n"
      "<td>3</td>\n"
      "<td>12</td>\n"
      "<td>111-111-111 11</td>\n"
      "<td>О'НИЛ&lt; Д.</td>\n"
      "<td>01.02.2021</td>\n"
      "<td>15.03.2021</td>\n"
      "<td>27-1</td>\n"
      "<td>1010100А-13790</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table), expected);
  EXPECT_EQ(table.GetRecord(0).FUCPData->FUcpNodeData.fLine, 20);
}

TEST_F(NameListResultsTest, ListPersonMissingFromTheIS) {
  auto person = ListPerson("07", "222-222-222 22", "СИДОРОВ", "ИВАН", "");
  person->NodeData.fLine = 90;
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-2"}, "2290000А-17541");
  TSNErrors_List table;
  TSNError_List record(person, period);
  EXPECT_EQ(RowOf(record), (std::vector<std::string>{"07", "222-222-222 22", "СИДОРОВ И.", "01.01.2021",
                                                     "31.03.2021", "27-2", "2290000А-17541"}));
  EXPECT_EQ(LeafColumns(table), 7u);
  EXPECT_EQ(record.FUCPData->FPackNum, "");
  EXPECT_EQ(record.FUCPData->FUcpNodeData.fLine, 90);
  EXPECT_EQ(record.FWorker_PD, nullptr);
  EXPECT_EQ(table.FTableName, "ЗЛ, указанные в поименном списке к Перечню, но отсутствующие в ИС");
}

// ---- Periods ------------------------------------------------------------------------------

TEST_F(NameListResultsTest, BasisRowShowsBothKindsAndTheListSubdivision) {
  auto worker = Person("3", "12", "111-111-111 11");
  auto is = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "1010100А-13790");
  is->TerritoryCondition = "РКС";
  is->AddPdData.Set("ДЕТИ");
  is->NodeData.fLine = 44;
  auto list = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-2"}, "2290000А-17541");
  list->NumSub = "5";
  TBasisErrors table;
  TBasisError record(worker, is, list);
  EXPECT_EQ(RowOf(record), (std::vector<std::string>{"3", "12", "111-111-111 11", "ИВАНОВ П.С.",
                                                     "01.01.2021 - 31.03.2021", "27-1", "1010100А-13790", "РКС",
                                                     "ДЕТИ", "5", "27-2", "2290000А-17541", "", ""}));
  EXPECT_EQ(LeafColumns(table), 14u);
  EXPECT_EQ(record.FUCPData->FUcpNodeData.fLine, 44);
  EXPECT_EQ(record.FWorkPeriod_List, list);
}

TEST_F(NameListResultsTest, UnpairedPeriodRowsShowOnlyTheWorkedTimeThatIsThere) {
  auto worker = Person("3", "12", "111-111-111 11");
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ГД"});
  period->Rate = 0.5;
  period->Days = "5";
  period->SetSeniorityBase("СЕЗОН");
  period->TerritoryCondition = "МКС";
  TPeriodErrors_IS isTable;
  TPeriodError_IS isRecord(worker, period);
  EXPECT_EQ(RowOf(isRecord), (std::vector<std::string>{"3", "12", "111-111-111 11", "ИВАНОВ П.С.", "27-ГД", "",
                                                       "01.01.2021", "31.03.2021", "0.5", "5 дн. ", "СЕЗОН", "МКС",
                                                       ""}));
  EXPECT_EQ(LeafColumns(isTable), 13u);
  EXPECT_EQ(isTable.FHeaderData[1].back().Name, "Дополнительные сведения ИС");

  auto listPerson = ListPerson("07", "111-111-111 11");
  auto listPeriod = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ГД"});
  listPeriod->Rate = 0;
  TPeriodErrors_List listTable;
  TPeriodError_List listRecord(worker, listPerson, listPeriod);
  EXPECT_EQ(RowOf(listRecord), (std::vector<std::string>{"07", "111-111-111 11", "ИВАНОВ П.С.", "27-ГД", "",
                                                         "01.01.2021", "31.03.2021", "Не указана", "", "", "",
                                                         ""}));
  EXPECT_EQ(LeafColumns(listTable), 12u);
  EXPECT_EQ(listTable.FHeaderData[1].back().Name, "Дополнительные сведения исчисления стажа");
  EXPECT_EQ(listRecord.FUCPData->FPackNum, "");
  EXPECT_EQ(listRecord.FWorker_PD, worker);
}

TEST_F(NameListResultsTest, SeniorityRowShowsTheListKindNextToTheISPerson) {
  auto worker = Person("3", "12", "111-111-111 11");
  auto is = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "1010100А-ISCODE");
  is->SetSeniorityBase("СЕЗОН");
  is->SeniorityNodeData.fLine = 71;
  auto list = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-2"}, "LISTCODE");
  TWorkDaysBasisErrors table;
  TWorkDaysBasisError record(ListPerson("07", "111-111-111 11"), worker, is, list);
  EXPECT_EQ(RowOf(record), (std::vector<std::string>{"3", "12", "111-111-111 11", "ИВАНОВ П.С.", "27-2",
                                                     "LISTCODE", "СЕЗОН", ""}));
  EXPECT_EQ(LeafColumns(table), 8u);
  EXPECT_EQ(record.FUCPData->FUcpNodeData.fLine, 71);
}

// ---- Rates and worked time -------------------------------------------------------------------

// The whole rate warning table, as a protocol prints it after another table of
// its chapter.
TEST_F(NameListResultsTest, RateWarningsTableHtml) {
  auto worker = Person("3", "12", "111-111-111 11");
  auto is = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"});
  is->Rate = 1;
  auto list = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"});
  list->Rate = 1.5;
  TStavkaWarnings table;
  table.AddRecord(std::make_unique<TRateResult>(worker, is, list, TResultType::rtList));

  const std::string expected =
      "<b>Таблица 2.3 В поименном списке ставка более 1</b><br/>\n"
      "<table id=\"TStavkaWarnings\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("№ пачки") + HeaderCell("№ в пачке") + HeaderCell("Страховое свидетельство") + HeaderCell("ФИО") +
      HeaderCell("Льгота") + HeaderCell("Период") + HeaderCell("Ставка в ИС") + HeaderCell("Ставка в Перечне") +
      " </tr>\n"
      "<tr>\n"
      "<td>3</td>\n"
      "<td>12</td>\n"
      "<td>111-111-111 11</td>\n"
      "<td>ИВАНОВ П.С.</td>\n"
      "<td>27-ПД</td>\n"
      "<td>01.01.2021 - 31.03.2021</td>\n"
      "<td>1</td>\n"
      "<td>1.5</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: blue\"><b>ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table, 2, 2, "Список предупреждений"), expected);
}

TEST_F(NameListResultsTest, RateTablesAndTheSideTheirRecordsPointAt) {
  EXPECT_EQ(TRateErrors().FChapterName, "Сверка ИС и поименного списка к Перечню");
  EXPECT_EQ(TRateErrors().FTableName, "Несовпадение доли ставки");
  EXPECT_TRUE(TRateErrors().IsError);
  EXPECT_EQ(TRateTooHighErrors().FChapterName, "Список ошибок");
  EXPECT_EQ(TRateTooHighErrors().FTableName, "В поименном списке ставка более 2");
  EXPECT_EQ(TNoRateErrors().FTableName, "Не указана ставка для льготных оснований 27(28)-ПДРК");
  EXPECT_EQ(TNoRateErrors().ClassName(), "TNoRateErrors");
  EXPECT_EQ(LeafColumns(TNoRateErrors()), 8u);

  auto worker = Person("3", "12", "111-111-111 11");
  auto is = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ПДРК"});
  is->RateNodeData.fLine = 10;
  auto list = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-ПДРК"});
  list->Rate = 0;
  list->RateNodeData.fLine = 20;
  TRateResult pd(worker, is, list, TResultType::rtPD);
  EXPECT_EQ(pd.FUCPData->FPackNum, "3");
  EXPECT_EQ(pd.FUCPData->FUcpNodeData.fLine, 10);
  TRateResult onList(worker, is, list, TResultType::rtList);
  EXPECT_EQ(onList.FUCPData->FPackNum, "");
  EXPECT_EQ(onList.FUCPData->FUcpNodeData.fLine, 20);
  EXPECT_EQ(RowOf(onList).back(), "Не указана");
}

// The whole table of IS worked time the List lacks: the List period's kind and
// dates, the IS worked time.
TEST_F(NameListResultsTest, WorkedTimeMissingInTheListTableHtml) {
  auto worker = Person("3", "12", "111-111-111 11");
  auto is = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "ISCODE");
  is->Months = "2";
  is->NodeData.fLine = 5;
  auto list = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "1010100А-13790");
  list->NodeData.fLine = 6;
  TFactWorkTimeErrors_IS table;
  table.AddRecord(std::make_unique<TFactWorkTimeResult_List_IS>(worker, is, list, TResultType::rtPD));

  const std::string expected =
      "<h3 style=\"text-align:center\">1. Сверка ИС и поименного списка к Перечню</h3>\n"
      "<b>Таблица 1.1 Отсутствие блока фактически отработанного времени в СПИСКЕ</b><br/>\n"
      "<table id=\"TFactWorkTimeErrors_IS\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("Страховое свидетельство", "", "2") + HeaderCell("ФИО", "", "2") +
      HeaderCell("Особые условия труда", "2", "") + HeaderCell("Период", "", "2") +
      HeaderCell("Фактически отработано в ИС", "", "2") +
      " </tr>\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("Льгота") + HeaderCell("Код позиции списка") +
      " </tr>\n"
      "<tr>\n"
      "<td>111-111-111 11</td>\n"
      "<td>ИВАНОВ П.С.</td>\n"
      "<td>27-1</td>\n"
      "<td>1010100А-13790</td>\n"
      "<td>01.01.2021 - 31.03.2021</td>\n"
      "<td>2 мес., 0 дн., 0 ч., 0 мин.</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table), expected);
  // The IS side has the block: the record points at the List period.
  EXPECT_EQ(table.GetRecord(0).FUCPData->FPackNum, "");
  EXPECT_EQ(table.GetRecord(0).FUCPData->FUcpNodeData.fLine, 6);

  // The other side: the List's worked time, and the record points at the IS.
  list->Days = "12";
  TFactWorkTimeResult_List_IS onList(worker, is, list, TResultType::rtList);
  EXPECT_EQ(RowOf(onList).back(), "0 мес., 12 дн., 0 ч., 0 мин.");
  EXPECT_EQ(onList.FUCPData->FPackNum, "3");
  EXPECT_EQ(onList.FUCPData->FUcpNodeData.fLine, 5);
  TFactWorkTimeWarnings_List warnings;
  EXPECT_FALSE(warnings.IsError);
  EXPECT_EQ(warnings.FChapterName, "Список предупреждений");
  EXPECT_EQ(warnings.FTableName, "Отсутствие блока фактически отработанного времени в ИС");
  EXPECT_EQ(warnings.FHeaderData[0].back().Name, "Фактически отработано в Перечне");
  EXPECT_EQ(LeafColumns(warnings), 6u);
}

TEST_F(NameListResultsTest, DifferingWorkedTimeAndJumpCounts) {
  auto worker = Person("3", "12", "111-111-111 11");
  auto is = Period(D(2021, 1, 1), D(2021, 3, 31), {"РЕАКТИВН"}, "X");
  is->Hours = "14";
  is->FactNodeData.fLine = 8;
  auto list = Period(D(2021, 1, 1), D(2021, 3, 31), {"РЕАКТИВН"}, "X");
  list->Hours = "12";
  TFactWorkTimeErrors table;
  TFactWorkTimeError record(worker, list, is);
  EXPECT_EQ(RowOf(record), (std::vector<std::string>{"111-111-111 11", "ИВАНОВ П.С.", "РЕАКТИВН", "X",
                                                     "14 прыжков/спусков/подъемов",
                                                     "12 прыжков/спусков/подъемов"}));
  EXPECT_EQ(LeafColumns(table), 6u);
  EXPECT_EQ(record.FUCPData->FUcpNodeData.fLine, 8);
  EXPECT_EQ(record.FWorkPeriod_PD, is);
  EXPECT_EQ(record.FWorkPeriod_List, list);
}

}  // namespace
}  // namespace morvel
