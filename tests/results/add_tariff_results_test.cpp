#include <gtest/gtest.h>

#include "results/add_tariff_results.h"
#include "results/cell_text.h"
#include "results/result_fixtures.h"

namespace morvel {
namespace {

using test::HeaderCell;
using test::LeafColumns;
using test::PrintTable;
using test::RowOf;

class AddTariffResultsTest : public test::ResultsTest {};

// A payment without a preferential period: the whole warnings table, written
// out from its chapter, title, two header rows and the row's cells.
TEST_F(AddTariffResultsTest, WarningsTableForAPaymentWithoutBasis) {
  auto worker = Person("<12>", "3", "111-222-333 44", "СМИРНОВ", "ИВАН", "ИВАНОВИЧ");
  auto payment = std::make_shared<TAddTariffPayment>(TAddTariffBase::atb218, "3.2", 1500.5, "1");
  TAddTariffWarnings table;
  table.AddRecord(std::make_unique<TAddTariffWarning>(worker, TResultType::rtNoLgot, nullptr, payment));

  const std::string expected =
      "<h3 style=\"text-align:center\">1. Список предупреждений</h3>\n"
      "<b>Таблица 1.1 Предупреждения при проверке по дополнительному тарифу</b><br/>\n"
      "<table id=\"TAddTariffWarnings\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("№ пачки", "", "2") + HeaderCell("№ в пачке", "", "2") +
      HeaderCell("Страховое свидетельство", "", "2") + HeaderCell("ФИО", "", "2") + HeaderCell("Период", "", "2") +
      HeaderCell("ИС", "2", "") + HeaderCell("Пояснение", "", "2") +
      " </tr>\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("Льгота") + HeaderCell("Код позиции списка") +
      " </tr>\n"
      "<tr>\n"
      "<td>&lt;12&gt;</td>\n"
      "<td>3</td>\n"
      "<td>111-222-333 44</td>\n"
      "<td>СМИРНОВ И.И.</td>\n"
      "<td></td>\n"
      "<td></td>\n"
      "<td></td>\n"
      "<td>У ЗЛ начислена сумма выплат по доп. тарифу 27-2-18 на сумму 1500.5 руб., но в его периодах стажа "
      "льгота отсутствует</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: blue\"><b>ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table), expected);
  EXPECT_EQ(LeafColumns(table), 8u);
  EXPECT_FALSE(table.IsError);
}

TEST_F(AddTariffResultsTest, WarningForAPeriodExplainedByItsAdditionalData) {
  auto worker = Person("12", "3", "111-222-333 44");
  auto period = Period(D(2014, 1, 1), D(2014, 3, 31), {"27-1"}, "1010100А-13790");
  period->AddPdData.Set("ДЕКРЕТ");
  const TAddTariffWarning warning(worker, TResultType::rtNoPayments, period, nullptr);
  EXPECT_EQ(warning.Explanation(),
            "У ЗЛ в периодах стажа присутствует льгота 27-1, но не начислена сумма выплат по доп. тариф, т.к. "
            "имеются: ДЕКРЕТ");
  EXPECT_EQ(RowOf(const_cast<TAddTariffWarning&>(warning))[4], "01.01.2014 - 31.03.2014");
  // The period is held as the record's List period, whichever side it is from.
  EXPECT_EQ(warning.FWorkPeriod_List, period);
  EXPECT_TRUE(period->IsResultData);
  EXPECT_TRUE(worker->IsResultData);
}

// Both UT rows, the one of a List period and the closing one without an IS
// person, in a whole table.
TEST_F(AddTariffResultsTest, UTErrorsTable) {
  auto listPerson = Person("", "", "555-666-777 88", "ПЕТРОВА", "АННА", "ОЛЕГОВНА");
  auto isPerson = Person("9", "4", "555-666-777 88", "ПЕТРОВА", "АННА", "ОЛЕГОВНА");
  auto period = Period(D(2014, 1, 1), D(2014, 3, 31), {"27-2"});
  period->NumSub = "2";
  TUTErrors table;
  table.AddRecord(std::make_unique<TUTError>(listPerson, isPerson, period, "В3.2;В3.3", true, ""));
  table.AddRecord(std::make_unique<TUTError>(listPerson, nullptr, nullptr, "", false, "В<4>"));

  const std::string expected =
      "<b>Таблица 3.2 ЗЛ с ошибками по условиям труда</b><br/>\n"
      "<table id=\"TUTErrors\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("№ пачки") + HeaderCell("№ в пачке") + HeaderCell("Страховое свидетельство") + HeaderCell("ФИО") +
      HeaderCell("Период") + HeaderCell("Класс УТ в ИС") + HeaderCell("№ подразделения в Перечне") +
      HeaderCell("Класс УТ в Перечне") + HeaderCell("Пояснение") +
      " </tr>\n"
      "<tr>\n"
      "<td>9</td>\n"
      "<td>4</td>\n"
      "<td>555-666-777 88</td>\n"
      "<td>ПЕТРОВА А.О.</td>\n"
      "<td>01.01.2014 - 31.03.2014</td>\n"
      "<td>В3.2;В3.3 (все периоды)</td>\n"
      "<td>2</td>\n"
      "<td>Без класса УТ</td>\n"
      "<td>Проставленные у ЗЛ для ДТ условия труда не совпадают в ИС и Перечне (Класса УТ из Перечня нет в "
      "ИС)</td>\n"
      "</tr>\n"
      "<tr>\n"
      "<td></td>\n"
      "<td></td>\n"
      "<td>555-666-777 88</td>\n"
      "<td>ПЕТРОВА А.О.</td>\n"
      "<td></td>\n"
      "<td> (все периоды)</td>\n"
      "<td></td>\n"
      "<td>В&lt;4&gt;</td>\n"
      "<td>Проставленные у ЗЛ для ДТ условия труда не совпадают в ИС и Перечне (Класса УТ из ИС нет в "
      "Перечне)</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 2</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table, 3, 1, "Проверка проставления условий труда"), expected);
  EXPECT_EQ(LeafColumns(table), 9u);
}

TEST_F(AddTariffResultsTest, UTErrorKeepsTheISClassesOnlyWhenTheTariffAgrees) {
  auto listPerson = Person("", "", "1");
  auto isPerson = Person("9", "4", "1");
  const TUTError differing(listPerson, isPerson, nullptr, "В3.2", false, "В3.3");
  EXPECT_EQ(differing.fPDUT, " (все периоды)");
  EXPECT_EQ(differing.fListUT, "В3.3");
  // Without a List person the mark goes to the List's classes.
  const TUTError noList(nullptr, isPerson, nullptr, "В3.2", true, "В3.3");
  EXPECT_EQ(noList.fPDUT, "В3.2");
  EXPECT_EQ(noList.fListUT, "В3.3 (все периоды)");
  // The payments' location: the IS person's when there is one, else the List person's.
  isPerson->PaymentsNodeData.fLine = 70;
  listPerson->PaymentsNodeData.fLine = 8;
  EXPECT_EQ(TUTError(listPerson, isPerson, nullptr, "", true, "").FUCPData->FUcpNodeData.fLine, 70);
  EXPECT_EQ(TUTError(listPerson, isPerson, nullptr, "", true, "").FUCPData->FPackNum, "9");
  EXPECT_EQ(TUTError(listPerson, nullptr, nullptr, "", true, "").FUCPData->FUcpNodeData.fLine, 8);
  EXPECT_EQ(TUTError(listPerson, nullptr, nullptr, "", true, "").FUCPData->FPackNum, "");
  EXPECT_TRUE(isPerson->IsResultData);
  EXPECT_TRUE(listPerson->IsResultData);
}

TEST_F(AddTariffResultsTest, AddTariffErrorsOfBothSides) {
  TAddTariffErrors table;
  EXPECT_EQ(LeafColumns(table), 11u);

  // The List side: the pack number of the record's data is empty, the IS
  // columns too, and the List person's numbers are shown.
  auto listPerson = Person("9", "4", "555-666-777 88", "ПЕТРОВА", "АННА", "ОЛЕГОВНА");
  listPerson->SubNum = "2";
  auto isPerson = Person("9", "4", "555-666-777 88");
  auto listPeriod = Period(D(2014, 1, 1), D(2014, 3, 31), {"27-2"}, "23200000-19756");
  const TAddTariffError list(isPerson, listPerson, listPeriod, TResultType::rtList);
  EXPECT_EQ(list.FWorkPeriod_List, listPeriod);
  EXPECT_EQ(list.FWorkPeriod_PD, nullptr);
  EXPECT_EQ(RowOf(const_cast<TAddTariffError&>(list)),
            (std::vector<std::string>{
                "", "4", "555-666-777 88", "ПЕТРОВА А.О.", "01.01.2014 - 31.03.2014", "", "", "2", "27-2",
                "23200000-19756",
                "У ЗЛ в перечне в периодах стажа проставлен доп. тариф, но не начислена сумма по доп. тарифу в ИС"}));
  EXPECT_TRUE(listPeriod->IsResultData);

  // The IS side: the pack number comes from the pack and is escaped.
  auto packed = Person("1&2", "5", "111-111-111 11");
  auto isPeriod = Period(D(2014, 2, 1), D(2014, 2, 28), {"27-1", "<Х>"}, "1010100А-13790");
  const TAddTariffError is(packed, nullptr, isPeriod, TResultType::rtPD);
  EXPECT_EQ(is.FWorkPeriod_PD, isPeriod);
  const std::vector<std::string> row = RowOf(const_cast<TAddTariffError&>(is));
  ASSERT_EQ(row.size(), 11u);
  EXPECT_EQ(row[0], "1&amp;2");
  EXPECT_EQ(row[4], "01.02.2014 - 28.02.2014");
  EXPECT_EQ(row[6], "1010100А-13790");
  EXPECT_EQ(row[8], "");
  EXPECT_EQ(row[10], "У ЗЛ в периодах стажа присутствует льгота " + row[5] +
                         ", но не начислена сумма выплат по доп. тарифу");
  EXPECT_EQ(row[5], HtmlEscape(isPeriod->Bases.DelimitedText()));
  EXPECT_NE(row[5].find("&lt;Х&gt;"), std::string::npos) << row[5];
}

TEST_F(AddTariffResultsTest, ClassWithoutTariffTable) {
  auto person = Person("", "", "222-333-444 55", "ВОЛКОВ", "ИГОРЬ", "ПЕТРОВИЧ");
  person->SubNum = "7";
  auto period = Period(D(2014, 4, 1), D(2014, 6, 30), {"27-2"});
  period->WC = "В3.1";
  period->NodeData.fLine = 33;
  TUTWithoutAddTariffErrors table;
  table.AddRecord(std::make_unique<TUTWithoutAddTariffError>(person, period));
  const std::string expected =
      "<h3 style=\"text-align:center\">1. Сверка ИС и поименного списка к Перечню</h3>\n"
      "<b>Таблица 1.1 Периоды работы Перечня, в который класс УТ указан без дополнительного тарифа</b><br/>\n"
      "<table id=\"TUTWithoutAddTariffErrors\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("№ подразделения в Перечне") + HeaderCell("Страховое свидетельство") + HeaderCell("ФИО") +
      HeaderCell("Период", "2") + HeaderCell("Класс УТ") +
      " </tr>\n"
      "<tr>\n"
      "<td>7</td>\n"
      "<td>222-333-444 55</td>\n"
      "<td>ВОЛКОВ И.П.</td>\n"
      "<td>01.04.2014</td>\n"
      "<td>30.06.2014</td>\n"
      "<td>В3.1</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table), expected);
  const TResultRecord& record = table.GetRecord(0);
  ASSERT_NE(record.FUCPData, nullptr);
  EXPECT_EQ(record.FUCPData->FPackNum, "");
  EXPECT_EQ(record.FUCPData->FUcpNodeData.fLine, 33);
  EXPECT_TRUE(person->IsResultData);
  EXPECT_TRUE(period->IsResultData);
}

}  // namespace
}  // namespace morvel
