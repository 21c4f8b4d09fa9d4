#include <gtest/gtest.h>

#include "base/dates.h"
#include "base/error.h"
#include "list/list_test_util.h"

namespace morvel {
namespace {

using test::ListReaderTest;
using test::Messages;
using test::ReaderList;
using test::ReadListFile;

TBases Codes(const std::string& text) {
  TBases bases;
  bases.SetDelimitedText(text);
  return bases;
}

TEST(ListWindow, QuarterOfThePeriodAndWholePeriodWhenCumulative) {
  EXPECT_EQ(FirstDayOfPeriodQuarter(2020, 2), EncodeDate(2020, 4, 1));
  EXPECT_EQ(LastDayOfPeriod(2020, 2), EncodeDate(2020, 6, 30));
  EXPECT_EQ(FirstDayOfPeriodQuarter(2020, 0), EncodeDate(2020, 10, 1));
  EXPECT_EQ(LastDayOfPeriod(2020, 0), EncodeDate(2020, 12, 31));
  EXPECT_THROW(FirstDayOfPeriodQuarter(2020, 5), EMorvelError);
  EXPECT_THROW(LastDayOfPeriod(2020, -1), EMorvelError);
  EXPECT_THROW(LastDayOfPeriod(0, 4), EMorvelError);
}

TEST_F(ListReaderTest, OrdinaryAndCumulativeWindows) {
  const auto file = ReaderList("cumulative-2020.xml");
  // Whole year: the heating days of both seasons cut to 2020, the position all 366 days.
  auto year = ReadListFile(file, 2020, 4, true);
  EXPECT_EQ(year->fOrgName, "МУП Теплосеть");
  EXPECT_EQ(year->fWarmDays, 136 + 108);
  ASSERT_EQ(year->fPositions.size(), 2u);
  EXPECT_EQ(year->fPositions[0]->fWorkingDays, 366);
  EXPECT_EQ(year->fPositions[1]->fWorkingDays, 2 * 244);
  ASSERT_EQ(year->fWorkers.size(), 1u);
  EXPECT_EQ(year->fWorkers[0]->WorkPeriods[0]->pPeriodString(), "01.01.2020 - 31.12.2020");

  // Cumulative to the half-year: from 1 January to 30 June.
  auto half = ReadListFile(file, 2020, 2, true);
  EXPECT_EQ(half->fWarmDays, 136);
  EXPECT_EQ(half->fPositions[0]->fWorkingDays, 182);
  EXPECT_EQ(half->fWorkers[0]->WorkPeriods[0]->pPeriodString(), "01.01.2020 - 30.06.2020");

  // The same data as an ordinary List of period 2: the second quarter only.
  auto quarter = ReadListFile(file, 2020, 2, false);
  EXPECT_EQ(quarter->fWarmDays, 45);
  EXPECT_EQ(quarter->fPositions[0]->fWorkingDays, 91);
  EXPECT_EQ(quarter->fPositions[1]->fWorkingDays, 90);
  EXPECT_EQ(quarter->fWorkers[0]->WorkPeriods[0]->pPeriodString(), "01.04.2020 - 30.06.2020");

  // A period without a quarter window cannot be read at all.
  EXPECT_THROW(ReadListFile(file, 2020, 7, false), EMorvelError);
}

TEST_F(ListReaderTest, PositionsOfTheSecondQuarter) {
  auto list = ReadListFile(ReaderList("staff-2020-q2.xml"), 2020, 2);
  // 15.09.2019-15.05.2020 gives 45 days of April and May; the season that ends in
  // 2021 starts after the window.
  EXPECT_EQ(list->fWarmDays, 45);
  EXPECT_EQ(list->fNavDays, 42);

  const TPositionList& p = list->fPositions;
  ASSERT_EQ(p.size(), 8u);  // the ended and the unjustified positions are not there
  // Boiler operators of two subdivisions share one position: heating days times
  // staff units, the second subdivision inheriting the enterprise's season.
  EXPECT_EQ(p[0]->pPositionAsString(), "27-2 (23200000-13786)");
  EXPECT_EQ(p[0]->fPost, "Машинист (кочегар) котельной");
  EXPECT_EQ(p[0]->fWorkingDays, 45 * 1.5 + 45 * 0.5);
  EXPECT_EQ(p[0]->fQuantityByPositions, 2);
  // КВАЛИФ is no basis; the entry counts from its start in May.
  EXPECT_EQ(p[1]->Bases.DelimitedText(), "27-ГД");
  EXPECT_EQ(p[1]->Bases.Count(), 1);
  EXPECT_EQ(p[1]->fWorkingDays, 61);
  // The code is upper-cased; the entry ends on 15 April.
  EXPECT_EQ(p[2]->fProfessionCode, "1010100А-17541");
  EXPECT_EQ(p[2]->fWorkingDays, 15 * 2);
  // Navigation days of the subdivision's own season.
  EXPECT_EQ(p[3]->fWorkingDays, 61 * 2);
  // МКС and РКС agree and share; СЕЛО against МКС does not.
  EXPECT_EQ(p[4]->fTerrCond, "МКС");
  EXPECT_EQ(p[4]->fWorkingDays, 182);
  EXPECT_EQ(p[5]->fTerrCond, "СЕЛО");
  EXPECT_EQ(p[5]->fWorkingDays, 91);
  // Starting in August, after the window: no days rather than negative ones,
  // but the staff units count (the staff-position tables print them).
  EXPECT_EQ(p[6]->fWorkingDays, 0);
  EXPECT_EQ(p[6]->fQuantityByPositions, 3);
  // A boiler operator starting in September is paid by the heating season,
  // whatever the entry's dates: the subdivision's 45 days times 2 units.
  EXPECT_EQ(p[7]->pPositionAsString(), "27-1 (23200000-13786)");
  EXPECT_EQ(p[7]->fWorkingDays, 90);
  EXPECT_EQ(p[7]->fQuantityByPositions, 2);

  const std::vector<std::string> m = Messages(*list);
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0], "Неверно указан год окончания 2-го отопительнного периода! (2021)");
  EXPECT_EQ(m[1],
            "Позиция штатного расписания (Профессия=Маляр, ОснованиеЛьготы=27-2\r\n27-ПД\r\n, "
            "ПозицияСписка=23200000-13450) из подразделения №:1, Наименование:\"Котельная\"<br> - не учитывается "
            "при сверке т.к. имеет статус \"ПРОВЕРЕНА-ВКЛЮЧЕНА-НЕОБОСНОВАНО\"");
  EXPECT_EQ(m[2], "Предупреждение. Нет поименных списков в 2 подразделениях из 3 подразделений Перечня.");
  const auto& f = *list->fParseErrors_List;
  EXPECT_NE(dynamic_cast<const TWrongPeriod*>(f[0].get()), nullptr);
  EXPECT_FALSE(f[0]->IsError);
  const auto* bad = dynamic_cast<const TBadPositionListError*>(f[1].get());
  ASSERT_NE(bad, nullptr);
  EXPECT_FALSE(bad->IsError);
  EXPECT_EQ(bad->FYear, 0);
  ASSERT_TRUE(bad->FNodeData.has_value());
  EXPECT_EQ(bad->FNodeData->fXPath, "/Перечень/Предприятие/Подразделение[1]/Позиция[4]");
  EXPECT_NE(dynamic_cast<const TNoNameListListError*>(f[2].get()), nullptr);
  EXPECT_EQ(f[2]->FNodeData->fXPath, "/Перечень/Предприятие");
}

TEST_F(ListReaderTest, PositionLookUpTakesTheFirstAgreeingPosition) {
  auto list = ReadListFile(ReaderList("staff-2020-q2.xml"), 2020, 2);
  const TBases welder = Codes("27-1");
  EXPECT_EQ(list->GetPositionByBasesAndCode(welder, "23100000-19906", ""), list->fPositions[4]);
  EXPECT_EQ(list->GetPositionByBasesAndCode(welder, "23100000-19906", "РКС"), list->fPositions[4]);
  EXPECT_EQ(list->GetPositionByBasesAndCode(welder, "23100000-19906", "село"), list->fPositions[5]);
  EXPECT_EQ(list->GetPositionByBasesAndCode(welder, "1010100а-17541", "МКС"), list->fPositions[2]);
  EXPECT_EQ(list->GetPositionByBasesAndCode(welder, "23100000-1990", ""), nullptr);
  EXPECT_EQ(list->GetPositionByBasesAndCode(Codes("27-1,27-2"), "23100000-19906", ""), nullptr);
  EXPECT_EQ(list->GetPositionByBasesAndCode(Codes("27-ГД"), "", ""), list->fPositions[1]);

  // A position appended after reading is found as well, and an earlier one still wins.
  auto added = std::make_shared<TPosition>();
  added->Bases = Codes("27-ГД");
  list->fPositions.push_back(added);
  EXPECT_EQ(list->GetPositionByBasesAndCode(Codes("27-ГД"), "", ""), list->fPositions[1]);
  list->fPositions.erase(list->fPositions.begin() + 1);
  EXPECT_EQ(list->GetPositionByBasesAndCode(Codes("27-ГД"), "", ""), added);
}

TEST_F(ListReaderTest, SeasonYearsAreReportedAndSeasonsCutToTheYear) {
  auto list = ReadListFile(ReaderList("season-years-2020-q3.xml"), 2020, 3);
  EXPECT_EQ(list->fWarmDays, 92);
  EXPECT_EQ(list->fNavDays, 92);  // the season that ends before it starts adds nothing
  ASSERT_EQ(list->fPositions.size(), 1u);
  // The first subdivision's own season lies outside the window, so the
  // enterprise's days count; the second one's own season gives 16 days.
  EXPECT_EQ(list->fPositions[0]->fWorkingDays, 92 + 16);

  const std::vector<std::string> m = Messages(*list);
  ASSERT_EQ(m.size(), 6u);
  EXPECT_EQ(m[0], "Неверно указан год начала 1-го отопительнного периода! (2021)");
  EXPECT_EQ(m[1], "Неверно указан год окончания 1-го отопительнного периода! (2022)");
  EXPECT_EQ(m[2], "Неверно указан год окончания 2-го отопительнного периода! (2019)");
  EXPECT_EQ(m[3], "Неверно указан год начала 3-го навигационного периода! (2021)");
  EXPECT_EQ(m[4], "Неверно указан год окончания 3-го навигационного периода! (2021)");
  const auto& f = *list->fParseErrors_List;
  const std::vector<bool> isError = {true, false, true, true, false};
  for (std::size_t i = 0; i < isError.size(); ++i) {
    EXPECT_NE(dynamic_cast<const TWrongPeriod*>(f[i].get()), nullptr) << i;
    EXPECT_EQ(f[i]->IsError, isError[i]) << i;
  }
  EXPECT_EQ(f[0]->FNodeData->fXPath, "/Перечень/Предприятие/ОтопительныйСезон[1]");
}

TEST_F(ListReaderTest, StaffUnitsThatAreNoNumberAreReportedAndNotCounted) {
  auto list = ReadListFile(ReaderList("invalid/staff-count-not-a-number.xml"), 2020, 1);
  ASSERT_EQ(list->fPositions.size(), 1u);
  EXPECT_EQ(list->fPositions[0]->fWorkingDays, 91);
  EXPECT_EQ(list->fPositions[0]->fQuantityByPositions, 1);
  EXPECT_EQ(list->fPositions[0]->fPost, "Кочегар <старший>");
  const std::vector<std::string> m = Messages(*list);
  ASSERT_EQ(m.size(), 3u);
  const std::string text =
      "Некорректное заполнение перечня. Доли ставок в штатном расписании следует писать через точку, а не "
      "запятую. Основания льготы:27-2, профессия:";
  EXPECT_EQ(m[0], text + "Машинист котельной");
  EXPECT_EQ(m[1], text + "Кочегар &lt;старший&gt;");
  EXPECT_TRUE((*list->fParseErrors_List)[0]->IsError);
  EXPECT_FALSE((*list->fParseErrors_List)[0]->FNodeData.has_value());
}

TEST_F(ListReaderTest, UnreadableDatesAndMissingStartsEndTheReading) {
  for (const char* name : {"position-without-start-date.xml", "position-bad-date.xml", "position-bad-end-date.xml",
                           "season-bad-date.xml", "person-without-insurance-number.xml"}) {
    EXPECT_THROW(ReadListFile(ReaderList(std::string("invalid/") + name), 2020, 1), EMorvelError) << name;
  }
}

TEST_F(ListReaderTest, ParseErrorsAreSharedWithTheVerificationThatTakesThem) {
  const TTheList clean;
  EXPECT_EQ(clean.TakeOverParseErrors(), nullptr);  // nothing to take: the List keeps its list

  auto list = ReadListFile(ReaderList("staff-2020-q2.xml"), 2020, 2);
  std::shared_ptr<TProtocolMessageList> taken = list->TakeOverParseErrors();
  ASSERT_NE(taken, nullptr);
  list->fParseErrors_List->push_back(std::make_unique<TProtocolMessage>("позже", false));
  EXPECT_EQ(taken->size(), 4u);  // a later message reaches the taken list
  list.reset();
  EXPECT_EQ(taken->back()->FMessage, "позже");  // and outlives the List
}

}  // namespace
}  // namespace morvel
