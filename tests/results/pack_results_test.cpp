#include <gtest/gtest.h>

#include "result_fixtures.h"
#include "results/pack_results.h"

namespace morvel {
namespace {

using test::HeaderCell;
using test::LeafColumns;
using test::PrintTable;
using test::RowOf;

class PackResultsTest : public test::ResultsTest {
 protected:
  // A warning of `worker` for a period of January `year` carrying `code`.
  std::unique_ptr<TAddPdDataWarning> WarningFor(const std::shared_ptr<TWorker>& worker, const std::string& code,
                                                int day = 1, int year = 2021) {
    auto period = Period(D(year, 1, day), D(year, 1, day + 9), {"27-1"});
    period->Year = year;
    period->CorrYear = year;
    period->AddPdData.Set(code);
    return TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, false, false, "", period->AddPdData);
  }
};

TEST_F(PackResultsTest, OutcomeMessages) {
  const TPreMorvelResult noLgot(11);
  EXPECT_FALSE(noLgot.IsError);
  ASSERT_FALSE(noLgot.FMessage.empty());
  EXPECT_EQ(noLgot.FMessage[0], 'O');  // a Latin letter, not the Cyrillic О
  EXPECT_EQ(noLgot.FMessage.substr(1), "рганизация без льготников, перечни ранее не предоставляла");
  EXPECT_FALSE(TPreMorvelResult(12).IsError);
  EXPECT_EQ(TPreMorvelResult(12).FMessage, "Необходимо уточнить отсутствие ИС со льготниками и Перечня");
  for (int code : {22, 23, 25}) EXPECT_TRUE(TPreMorvelResult(code).IsError) << code;
  EXPECT_EQ(TPreMorvelResult(23).FMessage,
            "Найдены ИС с льготниками (Исхд, либо Исхд и Корр, либо Корр), перечень не найден");

  TPreMorvelResult other(7);
  EXPECT_FALSE(other.IsError);
  EXPECT_EQ(other.FMessage, "7");
  TMemoryLineWriter w;
  int chapter = 3, number = 2;
  std::string name = "Глава";
  other.PrintResult(w, chapter, number, name);
  EXPECT_EQ(w.Text(), "<h3 class=\"warn\" style=\"color:blue\"><b>7</b></h3>\n");
  EXPECT_EQ(chapter, 3);
  EXPECT_EQ(number, 2);
}

TEST_F(PackResultsTest, AdditionalDataWarningTexts) {
  auto worker = Person("5", "1", "111-222-333 44");
  auto period = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"});
  const std::string when = "01.01.2021 - 31.03.2021";
  const std::string ots = when + " (ОТС)";

  // An ОТС text alone, or a flag the row has no column for, makes no warning.
  EXPECT_EQ(TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, false, false, ots, period->AddPdData),
            nullptr);
  period->AddPdData.Set("ДОГОВОР");
  EXPECT_EQ(TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, false, false, ots, period->AddPdData),
            nullptr);

  // Season and УИК do, and the ОТС text then comes along.
  auto seasonal = TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, true, true, ots, period->AddPdData);
  ASSERT_NE(seasonal, nullptr);
  EXPECT_EQ(seasonal->FSeason, "СЕЗОН");
  EXPECT_EQ(seasonal->FUIK, "УИК104");
  EXPECT_EQ(seasonal->FOTSPeriod, ots);
  EXPECT_EQ(seasonal->FLeave, "");
  EXPECT_FALSE(seasonal->FFreeAssignedData);

  // Administrative leave alone, then together with unpaid leave.
  period->AddPdData.Set("АДМИНИСТР");
  auto admin = TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, false, false, "", period->AddPdData);
  ASSERT_NE(admin, nullptr);
  EXPECT_EQ(admin->FAdminLeave, when + " (АДМИНИСТР)");
  EXPECT_EQ(admin->FLeave, when + " (АДМИНИСТР)");
  period->AddPdData.Set("НЕОПЛ");
  auto both = TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, false, false, "", period->AddPdData);
  EXPECT_EQ(both->FLeave, when + " (АДМИНИСТР), " + when + " (НЕОПЛ)");

  auto unpaid = Period(D(2021, 1, 1), D(2021, 3, 31));
  unpaid->AddPdData.Set("НЕОПЛ");
  auto noPay = TAddPdDataWarning::TryCreateAddPdDataWarning(unpaid, worker, false, false, "", unpaid->AddPdData);
  ASSERT_NE(noPay, nullptr);
  EXPECT_EQ(noPay->FAdminLeave, "");
  EXPECT_EQ(noPay->FLeave, when + " (НЕОПЛ)");

  // Long child care wins over child care; each other flag has its own column.
  auto other = Period(D(2021, 1, 1), D(2021, 3, 31));
  for (const char* code : {"ДЕТИ", "ДЛДЕТИ", "ДЕКРЕТ", "ВРНЕТРУД", "ДЛОТПУСК", "ЧАЭС"}) other->AddPdData.Set(code);
  auto all = TAddPdDataWarning::TryCreateAddPdDataWarning(other, worker, false, false, ots, other->AddPdData);
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->FChildren, when + " (ДЛДЕТИ)");
  EXPECT_EQ(all->FParentalLeave, when + " (ДЕКРЕТ)");
  EXPECT_EQ(all->FTempIncapacity, when + " (ВРНЕТРУД)");
  EXPECT_EQ(all->FLongLeave, when + " (ДЛОТПУСК)");
  EXPECT_EQ(all->FAddPdDataRSV, when + " (ЧАЭС)");
  EXPECT_EQ(all->FPeriod, other);
  EXPECT_EQ(all->FWorkPeriod_PD, nullptr);  // the row is about the person
  ASSERT_NE(all->FUCPData, nullptr);
  EXPECT_EQ(all->FUCPData->FPackNum, "5");

  all->AppendListComment("01.02.2021 - 28.02.2021", "Примечание");
  TAddPdDataWarnings table;
  EXPECT_EQ(LeafColumns(table), 14u);
  const std::vector<std::string> row = RowOf(*all);
  EXPECT_EQ(row, (std::vector<std::string>{"5", "1", "111-222-333 44", "ИВАНОВ П.С.", when + " (ДЛДЕТИ)",
                                           when + " (ДЕКРЕТ)", "", ots, "", "", when + " (ВРНЕТРУД)",
                                           when + " (ДЛОТПУСК)", when + " (ЧАЭС)",
                                           "01.02.2021 - 28.02.2021: \"Примечание\"<br>"}));
  EXPECT_EQ(row.size(), LeafColumns(table));
}

TEST_F(PackResultsTest, ConsecutiveWarningsOfOnePersonShareARow) {
  auto first = Person("5", "1", "111");
  auto second = Person("5", "2", "222", "ПЕТРОВ", "ИВАН", "");
  TAddPdDataWarnings table;
  table.AddRecord(WarningFor(first, "ДЕКРЕТ", 1));
  table.AddRecord(WarningFor(first, "ДЕТИ", 11));
  ASSERT_EQ(table.Count(), 1);
  ASSERT_EQ(table.GetDict().at("2021~2021").size(), 1u);
  auto& merged = dynamic_cast<TAddPdDataWarning&>(table.GetRecord(0));
  EXPECT_EQ(merged.FParentalLeave, "01.01.2021 - 10.01.2021 (ДЕКРЕТ)<br>");
  EXPECT_EQ(merged.FChildren, "<br>11.01.2021 - 20.01.2021 (ДЕТИ)");
  EXPECT_EQ(merged.FSeason, "<br>");
  EXPECT_EQ(merged.FListComments, "<br>");

  // Another person in between keeps the first person's warnings apart.
  table.AddRecord(WarningFor(second, "ДЕКРЕТ"));
  table.AddRecord(WarningFor(first, "ДЕКРЕТ", 21));
  EXPECT_EQ(table.Count(), 3);
  // The same person in another pack, or in another reporting period of the
  // pack, gets a row of its own too.
  auto elsewhere = std::make_shared<TWorker>(*first);
  elsewhere->PackNum = "6";
  table.AddRecord(WarningFor(elsewhere, "ДЕКРЕТ"));
  table.AddRecord(WarningFor(elsewhere, "ДЕКРЕТ", 1, 2022));
  EXPECT_EQ(table.Count(), 5);
  EXPECT_EQ(table.GetDict().at("2022~2022").size(), 1u);
  EXPECT_EQ(table.GetDict().at("2021~2021").size(), 4u);
}

TEST_F(PackResultsTest, AdditionalDataTableHtml) {
  auto worker = Person("12", "3", "123-456-789 01", "СИДОРОВА", "АННА", "");
  TAddPdDataWarnings table;
  table.AddRecord(WarningFor(worker, "ДЕКРЕТ", 1));
  table.AddRecord(WarningFor(worker, "АДМИНИСТР", 11));
  dynamic_cast<TAddPdDataWarning&>(table.GetRecord(0)).AppendListComment("01.01.2021 - 31.01.2021", "отпуск");

  const std::string expected =
      "<h3 style=\"text-align:center\">1. Список предупреждений</h3>\n"
      "<b>Таблица 1.1 Наличие в ИС дополнительной информации</b><br/>\n"
      "<table id=\"TAddPdDataWarnings\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("№ пачки", "", "2") + HeaderCell("№ в пачке", "", "2") +
      HeaderCell("Страховое свидетельство", "", "2") + HeaderCell("ФИО", "", "2") +
      HeaderCell("в ИС содержатся наряду с СТС", "8", "") + HeaderCell("для РСВ-1", "", "2") +
      HeaderCell("Комментарии к периодам Перечня", "", "2") +
      " </tr>\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n" +
      HeaderCell("Дети") + HeaderCell("Декрет") + HeaderCell("Отпуск б/с") + HeaderCell("Период с ОТС") +
      HeaderCell("Сезон") + HeaderCell("УИК") + HeaderCell("ВРНЕТРУД") + HeaderCell("ДЛОТПУСК") +
      " </tr>\n"
      "<tr>\n"
      "<td>12</td>\n"
      "<td>3</td>\n"
      "<td>123-456-789 01</td>\n"
      "<td>СИДОРОВА А.</td>\n"
      "<td><br></td>\n"
      "<td>01.01.2021 - 10.01.2021 (ДЕКРЕТ)<br></td>\n"
      "<td><br>11.01.2021 - 20.01.2021 (АДМИНИСТР)</td>\n"
      "<td><br></td>\n"
      "<td><br></td>\n"
      "<td><br></td>\n"
      "<td><br></td>\n"
      "<td><br></td>\n"
      "<td><br></td>\n"
      "<td><br>01.01.2021 - 31.01.2021: \"отпуск\"<br></td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: blue\"><b>ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1</b></div><br/>\n";
  EXPECT_EQ(PrintTable(table), expected);
}

TEST_F(PackResultsTest, TextsFromTheFilesAreEscapedAndTheSystemsMarkupIsNot) {
  auto worker = Person("5<", "1", "1&2", "О'<Б>", "Я", "");
  auto period = Period(D(2021, 1, 1), D(2021, 1, 31), {"27-\"1\""});
  period->AddPdData.Set("ДЕКРЕТ");
  auto warning =
      TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, false, false, "a<b & c", period->AddPdData);
  warning->AppendListComment("01.01.2021 - 31.01.2021", "см. <приказ> & \"2\"");
  auto next = TAddPdDataWarning::TryCreateAddPdDataWarning(period, worker, true, false, "", period->AddPdData);
  warning->MergeWithAnotherWarning(*next);

  const std::vector<std::string> row = RowOf(*warning);
  ASSERT_EQ(row.size(), 14u);
  EXPECT_EQ(row[0], "5&lt;");
  EXPECT_EQ(row[2], "1&amp;2");
  EXPECT_EQ(row[3], "О'&lt;Б&gt; Я.");
  EXPECT_EQ(row[7], "a&lt;b &amp; c<br>");
  EXPECT_EQ(row[8], "<br>СЕЗОН");
  EXPECT_EQ(row[13], "01.01.2021 - 31.01.2021: \"см. &lt;приказ&gt; &amp; &quot;2&quot;\"<br><br>");

  period->Hours = "<5>";
  TFlightWarning flight(worker, period, "САМОЛЕТ&");
  const std::vector<std::string> flightRow = RowOf(flight);
  EXPECT_EQ(flightRow[4], "САМОЛЕТ&amp;");
  EXPECT_EQ(flightRow[7], "&lt;5&gt;");
  TJumpWarning jump(worker, period, "");
  EXPECT_EQ(RowOf(jump)[4], "&quot;27-&quot;&quot;1&quot;&quot;&quot;");
}

TEST_F(PackResultsTest, FlightPdrkJumpAndPartTimeRows) {
  auto worker = Person("7", "4", "111-111-111 11");
  auto period = Period(D(2021, 4, 1), D(2021, 6, 30), {"САМОЛЕТ"}, "12300000-20426");
  period->Year = 2021;
  period->CorrYear = 2020;
  period->Hours = "120";
  period->Minutes = "30";
  period->NodeData.fLine = 10;
  period->NodeData.fXPath = "/ЭДПФР/СЗВ-СТАЖ/ЗЛ[1]/СтажевыйПериод[1]";
  period->RateNodeData.fLine = 11;
  const std::vector<std::string> person = {"7", "4", "111-111-111 11", "ИВАНОВ П.С."};
  const auto withPerson = [&](std::vector<std::string> rest) {
    std::vector<std::string> all = person;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
  };

  TFlightWarnings flights;
  auto flight = std::make_unique<TFlightWarning>(worker, period, "САМОЛЕТ");
  EXPECT_EQ(RowOf(*flight), withPerson({"САМОЛЕТ", "01.04.2021", "30.06.2021", "120", "30"}));
  EXPECT_EQ(LeafColumns(flights), 9u);
  EXPECT_EQ(flight->FUCPData->FPackNum, "7");
  EXPECT_EQ(flight->FUCPData->FUcpNodeData.fLine, 10);
  EXPECT_EQ(flight->FUCPData->FUcpNodeData.fXPath, period->NodeData.fXPath);
  flights.AddRecord(std::move(flight));
  EXPECT_EQ(flights.GetDict().at("2021~2020").size(), 1u);

  period->Bases.Clear();
  period->Bases.Add("27-ПДРК");
  period->Rate = 0.5;
  TPDRKWarnings pdrks;
  TPDRKWarning pdrk(worker, period, "27-ПДРК");
  EXPECT_EQ(RowOf(pdrk), withPerson({"27-ПДРК", "01.04.2021", "30.06.2021", "0", "0", "0.5"}));
  period->PDRKHours = 12.5;
  EXPECT_EQ(RowOf(pdrk)[7], "12.5");
  EXPECT_EQ(LeafColumns(pdrks), 10u);

  period->Bases.Clear();
  period->Bases.Add("РЕАКТИВН");
  period->Bases.Add("27-1");
  period->Hours = "15";
  TJumpWarnings jumps;
  TJumpWarning jump(worker, period, "РЕАКТИВН");
  EXPECT_EQ(RowOf(jump), withPerson({"27-1,РЕАКТИВН", "01.04.2021", "30.06.2021", "15"}));
  EXPECT_EQ(LeafColumns(jumps), 8u);

  period->Rate = 0.25;
  TPartTimeErrors errors;
  TPartTimeWarnings warnings;
  TPartTimeResult partTime("12300000", "27-ГД", worker, period);
  EXPECT_EQ(RowOf(partTime),
            withPerson({"12300000", "12300000-20426", "27-ГД", "01.04.2021", "30.06.2021", "0.25"}));
  EXPECT_EQ(partTime.FUCPData->FUcpNodeData.fLine, 11);  // where the rate stands
  EXPECT_EQ(LeafColumns(errors), 10u);
  EXPECT_EQ(LeafColumns(warnings), 10u);
  EXPECT_TRUE(errors.IsError);
  EXPECT_FALSE(warnings.IsError);
  EXPECT_EQ(errors.FTableName, warnings.FTableName);
  EXPECT_EQ(errors.FChapterName, "Список ошибок");
  EXPECT_EQ(warnings.FChapterName, "Список предупреждений");

  // Every pack record tags its person and period.
  for (TResultRecord* record : std::initializer_list<TResultRecord*>{&pdrk, &jump, &partTime}) {
    worker->IsResultData = false;
    period->IsResultData = false;
    record->TagData();
    EXPECT_TRUE(worker->IsResultData);
    EXPECT_TRUE(period->IsResultData);
  }
}

TEST_F(PackResultsTest, AdditionalDataWarningKeepsItsPeriodAndTagsItsPerson) {
  auto worker = Person("5", "1", "111");
  auto warning = WarningFor(worker, "ДЕКРЕТ");
  std::weak_ptr<TWorkPeriod> period = warning->FPeriod;
  std::weak_ptr<TWorker> person = worker;
  worker.reset();
  TAddPdDataWarnings table;
  table.AddRecord(std::move(warning));
  EXPECT_FALSE(period.expired());
  table.TagRecords();
  EXPECT_TRUE(person.lock()->IsResultData);
  table.ClearRecords();
  EXPECT_TRUE(period.expired());
  EXPECT_TRUE(person.expired());
}

TEST_F(PackResultsTest, OverlapRecordOutlivesItsPeriods) {
  auto worker = Person("5", "1", "111-222-333 44");
  auto first = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "23200000-13786");
  first->PackNum = "5";
  first->NumInPack = "1";
  first->AddPdData.Set("ДЕКРЕТ");
  first->AddPdData.Set("ДЕТИ");
  auto second = Period(D(2021, 2, 1), D(2021, 6, 30), {"27-1"});
  second->PackNum = "6";
  second->NumInPack = "<2>";
  std::weak_ptr<TWorkPeriod> firstAlive = first, secondAlive = second;

  TCrossingPDPeriodsErrors table;
  table.AddRecord(std::make_unique<TCrossingPDPeriodError>(*first, *second, worker));
  first.reset();
  second.reset();
  ASSERT_TRUE(firstAlive.expired());
  ASSERT_TRUE(secondAlive.expired());

  EXPECT_EQ(RowOf(table.GetRecord(0)),
            (std::vector<std::string>{"111-222-333 44", "ИВАНОВ П.С.", "01.01.2021 - 31.03.2021", "5", "1",
                                      "27-1 (23200000-13786)", "ДЕКРЕТ, ДЕТИ", "01.02.2021 - 30.06.2021", "6",
                                      "&lt;2&gt;", "27-1", ""}));
  EXPECT_EQ(LeafColumns(table), 12u);
  EXPECT_EQ(table.GetRecord(0).FUCPData, nullptr);
  EXPECT_EQ(table.GetRecord(0).GetShouldBe(), "");
  EXPECT_TRUE(table.IsError);
  EXPECT_EQ(table.FChapterName, "Список ошибок");
  EXPECT_EQ(table.FTableName,
            "Периоды стажа пересекаются, но в параметрах \"ДопСведенияИС\" периодов нет значений, входящих в "
            "список: ДОГОВОР, НЕОПЛДОГ, НЕОПЛАВТ, ЗГДС, ЗГД, ЗГГС, ЗМС, ЗМД");
  table.TagRecords();
  EXPECT_TRUE(worker->IsResultData);
}

}  // namespace
}  // namespace morvel
