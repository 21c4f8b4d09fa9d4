#include <gtest/gtest.h>

#include "base/format_settings.h"
#include "result_fixtures.h"
#include "results/cell_text.h"
#include "results/check_results.h"

namespace morvel {
namespace {

using test::HeaderCell;
using test::LeafColumns;
using test::PrintTable;
using test::RowOf;

class CheckResultsTest : public test::ResultsTest {
 protected:
  static std::shared_ptr<TPosition> Position(const std::string& basis, const std::string& code, double quantity,
                                             double days) {
    auto p = std::make_shared<TPosition>();
    p->Bases.Add(basis);
    p->fProfessionCode = code;
    p->fQuantityByPositions = quantity;
    p->fWorkingDays = days;
    return p;
  }
};

TEST_F(CheckResultsTest, DifferenceGoesThroughThePrintedNumbers) {
  using cells::DifferenceThroughTexts;
  EXPECT_EQ(DifferenceThroughTexts(10.1, 10), "0.1");
  EXPECT_EQ(DifferenceThroughTexts(0.3, 0.1), "0.2");
  EXPECT_EQ(DifferenceThroughTexts(91.7, 90.35), "1.35");
  EXPECT_EQ(DifferenceThroughTexts(5, 7.25), "-2.25");
  EXPECT_EQ(DifferenceThroughTexts(62, 62), "0");
  EXPECT_EQ(DifferenceThroughTexts(123456.789, 0.001), "123456.788");
  EXPECT_EQ(DifferenceThroughTexts(1e-7, 0), "1E-7");
  EXPECT_EQ(DifferenceThroughTexts(1.0 / 3.0, 0), "0.333333333333333");  // the printed value, not the double
  EXPECT_EQ(DifferenceThroughTexts(2e20, 1e20), "1E20");
}

TEST_F(CheckResultsTest, TerritorialCodes) {
  const TTerrCodeWarning warning("all");
  EXPECT_FALSE(warning.IsError);
  EXPECT_EQ(warning.FPackNum, "all");
  EXPECT_EQ(warning.FMessage, "Необходимо уточнить право организации на проставление кодов территориальных условий");

  auto worker = Person("17", "2", "111-111-111 11");
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"});
  period->TerritoryCondition = "МКС";
  period->TerritoryCoeff = "1.5";
  period->TerrNodeData.fLine = 40;
  period->TerrNodeData.fXPath = "/a/b/ТУ";
  TTerrCodeData data(period, worker);
  // Tagged at once, and the location is its own copy.
  EXPECT_TRUE(worker->IsResultData);
  EXPECT_TRUE(period->IsResultData);
  EXPECT_EQ(data.FUCPData, nullptr);
  period->TerrNodeData.fLine = 99;
  EXPECT_EQ(data.FUcpNodeData.fLine, 40);
  TMemoryLineWriter nothing;
  data.PrintLine(nothing);
  EXPECT_TRUE(nothing.Lines.empty());

  TTerrCodeErrors table;
  table.AddRecord(std::make_unique<TTerrCodeError>(data));
  const TResultRecord& error = table.GetRecord(0);
  EXPECT_EQ(error.FWorker_PD, worker);
  EXPECT_EQ(error.FWorkPeriod_PD, period);
  ASSERT_NE(error.FUCPData, nullptr);
  EXPECT_EQ(error.FUCPData->FPackNum, "17");
  EXPECT_EQ(error.FUCPData->FUcpNodeData.fXPath, "/a/b/ТУ");
  EXPECT_EQ(RowOf(table.GetRecord(0)),
            (std::vector<std::string>{"17", "111-111-111 11", "ИВАНОВ П.С.", "01.01.2021 - 31.03.2021", "МКС",
                                      "1.5"}));
  EXPECT_EQ(LeafColumns(table), 6u);
  EXPECT_TRUE(table.IsError);
}

TEST_F(CheckResultsTest, WorkingDaysRows) {
  auto position = Position("27-1", "23200000-13786", 2.5, 10);
  TWorkingDaysErrors errors;
  TWorkingDaysError error(position, 10.1, 10.1, 3);
  EXPECT_EQ(RowOf(error), (std::vector<std::string>{"27-1 (23200000-13786)", "2.5", "10", "3", "10.1", "0.1"}));
  EXPECT_EQ(LeafColumns(errors), 6u);
  EXPECT_EQ(error.FPosition, position);
  ASSERT_NE(error.FUCPData, nullptr);
  EXPECT_EQ(error.FUCPData->FPackNum, "");
  EXPECT_TRUE(error.FUCPData->FUcpNodeData.IsEmpty());
  error.TagData();
  EXPECT_TRUE(position->IsResultData);

  TWorkingDaysWarnings warnings;
  TWorkingDaysResultRecord warning(position, 12, 11.5, 4);
  EXPECT_EQ(RowOf(warning),
            (std::vector<std::string>{"27-1 (23200000-13786)", "2.5", "10", "4", "12", "2", "0.5"}));
  EXPECT_EQ(LeafColumns(warnings), 7u);
  EXPECT_EQ(warnings.FHeaderData[0].back().Name, "Из них ВРНЕТРУД или ДЕКРЕТ");
  EXPECT_FALSE(warnings.IsError);
  EXPECT_EQ(warnings.FTableName, errors.FTableName);
  EXPECT_EQ(warnings.FChapterName, errors.FChapterName);
}

TEST_F(CheckResultsTest, AdditionalDataErrorTexts) {
  auto worker = Person("3", "9", "222-222-222 22");
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-2"}, "2010100а");
  period->NodeData.fLine = 77;
  const auto textOf = [&](const std::string& early, const std::string& late, const std::string& code) {
    return TAddPdDataError(worker, period, early, late, code).ErrorText();
  };
  EXPECT_EQ(textOf("", "", "НЕОПЛ"), "Код НЕОПЛ проставлен неправомерно.");
  EXPECT_EQ(textOf("01.07.2021", "", "ДИСПР"),
            "Код ДИСПР проставлен неправомерно. Период актуальности кода начинается 01.07.2021");
  EXPECT_EQ(textOf("", "31.12.2020", "ДИСПР"),
            "Код ДИСПР проставлен неправомерно. Период актуальности кода закончился 31.12.2020");
  EXPECT_EQ(textOf("01.07.2021", "31.12.2020", "ДИСПР"),
            "Код ДИСПР проставлен неправомерно. Период актуальности кода начинается 01.07.2021");
  EXPECT_EQ(textOf("", "", "<X>"), "Код &lt;X&gt; проставлен неправомерно.");

  TAddPdDataErrors table;
  TAddPdDataError error(worker, period, "", "", "НЕОПЛ");
  EXPECT_EQ(RowOf(error), (std::vector<std::string>{"3", "9", "222-222-222 22", "ИВАНОВ П.С.", "27-2", "2010100а",
                                                    "НЕОПЛ", "Код НЕОПЛ проставлен неправомерно."}));
  EXPECT_EQ(LeafColumns(table), 8u);
  EXPECT_EQ(table.FChapterName, table.FTableName);
  EXPECT_EQ(error.FUCPData->FPackNum, "3");
  EXPECT_EQ(error.FUCPData->FUcpNodeData.fLine, 77);
}

TEST_F(CheckResultsTest, PositionErrorsListAPeriodOfOneKindOnce) {
  auto worker = Person("5", "1", "111");
  const auto periodOf = [&](int month, const std::string& basis) {
    return Period(D(2021, month, 1), D(2021, month, 28), {basis}, "23200000-13786");
  };
  TPositionErrors table;
  table.AddRecord(std::make_unique<TPositionError>(worker, periodOf(1, "27-1")));
  // The same kind again (other dates: the row does not show them): dropped.
  auto duplicate = std::make_unique<TPositionError>(worker, periodOf(3, "27-1"));
  std::weak_ptr<TWorkPeriod> duplicatePeriod = duplicate->FWorkPeriod_PD;
  table.AddRecord(std::move(duplicate));
  EXPECT_EQ(table.Count(), 1);
  EXPECT_TRUE(duplicatePeriod.expired());

  // Another kind, another place in the pack, another pack, another name: kept.
  table.AddRecord(std::make_unique<TPositionError>(worker, periodOf(1, "27-2")));
  table.AddRecord(std::make_unique<TPositionError>(Person("5", "2", "111"), periodOf(1, "27-1")));
  table.AddRecord(std::make_unique<TPositionError>(Person("6", "1", "111"), periodOf(1, "27-1")));
  table.AddRecord(std::make_unique<TPositionError>(Person("5", "1", "111", "ИВАНОВА"), periodOf(1, "27-1")));
  EXPECT_EQ(table.Count(), 5);

  // A record that left the table no longer blocks its like.
  table.DeleteRecord(0);
  table.AddRecord(std::make_unique<TPositionError>(worker, periodOf(5, "27-1")));
  EXPECT_EQ(table.Count(), 5);
  table.AddRecord(std::make_unique<TPositionError>(worker, periodOf(6, "27-1")));
  EXPECT_EQ(table.Count(), 5);
  table.ClearRecords();
  table.AddRecord(std::make_unique<TPositionError>(worker, periodOf(7, "27-1")));
  EXPECT_EQ(table.Count(), 1);
}

TEST_F(CheckResultsTest, PositionErrorsTableHtml) {
  auto worker = Person("5", "1", "111-222-333 44", "КУЗНЕЦОВ", "ОЛЕГ", "");
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "23200000-13786");
  period->TerritoryCondition = "РКС";
  period->AddPdData.Set("ДЕКРЕТ");
  period->AddPdData.Set("ДЕТИ");
  TPositionErrors table;
  table.AddRecord(std::make_unique<TPositionError>(worker, period));
  table.AddRecord(std::make_unique<TPositionError>(worker, period));

  const std::string expected =
      "<b>Таблица 2.3 Позиции, отсутствующие в Перечне</b><br/>\n"
      "<table id=\"TPositionErrors\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("№ пачки", "", "2") + HeaderCell("№ в пачке", "", "2") +
      HeaderCell("Страховое свидетельство", "", "2") + HeaderCell("ФИО", "", "2") +
      HeaderCell("Особые условия труда", "2", "") + HeaderCell("ТУ", "", "2") +
      HeaderCell("Дополнительные сведения ИС", "", "2") +
      " </tr>\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("Льгота") + HeaderCell("Код позиции списка") +
      " </tr>\n"
      "<tr>\n"
      "<td>5</td>\n"
      "<td>1</td>\n"
      "<td>111-222-333 44</td>\n"
      "<td>КУЗНЕЦОВ О.</td>\n"
      "<td>27-1</td>\n"
      "<td>23200000-13786</td>\n"
      "<td>РКС</td>\n"
      "<td>ДЕКРЕТ, ДЕТИ</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table, 2, 2, "Сверка на наличие позиций в Перечне"), expected);
  EXPECT_EQ(LeafColumns(table), 8u);
}

TEST_F(CheckResultsTest, VirusRowShowsTheWorkedTimeThatWasGiven) {
  auto person = Person("", "", "333-333-333 33", "ЛЕБЕДЕВ", "ЮРИЙ", "ИЛЬИЧ");
  person->SubNum = "4";
  auto period = Period(D(2020, 3, 15), D(2020, 10, 31), {"27-ПД"}, "");
  period->SetSeniorityBase("ВИРУС");
  period->Rate = 0.75;
  period->Months = "2";
  const std::string culprit = "Код \"ВИРУС\" проставляется для периодов работы с 01.01.2020 до 30.09.2020";
  TBeerusErrors table;
  TBeerusError error(person, period, culprit);
  EXPECT_EQ(RowOf(error), (std::vector<std::string>{"4", "333-333-333 33", "ЛЕБЕДЕВ Ю.И.", "27-ПД", "",
                                                    "15.03.2020", "31.10.2020", "0.75", "2 мес. ", "ВИРУС",
                                                    culprit}));
  EXPECT_EQ(LeafColumns(table), 11u);
  EXPECT_EQ(error.FWorker_List, person);
  EXPECT_EQ(error.FWorkPeriod_List, period);
  EXPECT_EQ(error.FWorker_PD, nullptr);
  EXPECT_EQ(error.FUCPData, nullptr);
  error.TagData();
  EXPECT_TRUE(person->IsResultData);
  EXPECT_TRUE(period->IsResultData);

  period->Days = "3";
  period->Hours = "";
  period->Minutes = "40";
  EXPECT_EQ(cells::WorkedTimeText(*period), "2 мес. 3 дн.  ч. 40 мин.");
  period->Months = "0";
  period->Days = "0";
  period->Hours = "0";
  period->Minutes = "0";
  EXPECT_EQ(cells::WorkedTimeText(*period), "");
}

}  // namespace
}  // namespace morvel
