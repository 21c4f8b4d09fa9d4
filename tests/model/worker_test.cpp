#include <gtest/gtest.h>

#include "base/dates.h"
#include "base/error.h"
#include "model/position.h"
#include "model/worker.h"
#include "model/worker_dictionary.h"

namespace morvel {
namespace {

std::shared_ptr<TWorkPeriod> Read(const std::string& packNum, int period, const std::string& packDate) {
  auto p = std::make_shared<TWorkPeriod>();
  p->PackNum = packNum;
  p->Period = period;
  p->PackDate = packDate;
  return p;
}

TEST(WorkerTest, NamesWithInitials) {
  TWorker w;
  w.Surname = "ИВАНОВ";
  w.Name = "ПЁТР";
  w.Patronymic = "СЕРГЕЕВИЧ";
  w.SN = "123-456-789 00";
  EXPECT_EQ(w.SurnameWithInitials(), "ИВАНОВ П.С.");
  EXPECT_EQ(w.SurnameWithInitialsAndSN(), "ИВАНОВ П.С. (123-456-789 00)");
  w.Patronymic.clear();
  EXPECT_EQ(w.SurnameWithInitials(), "ИВАНОВ П.");
  w.Name.clear();
  EXPECT_EQ(w.SurnameWithInitials(), "ИВАНОВ .");
  w.Patronymic = "Ё";
  EXPECT_EQ(w.SurnameWithInitials(), "ИВАНОВ .Ё.");
}

TEST(WorkerTest, CopyLeavesPeriodsAndPaymentsBehind) {
  auto w = std::make_shared<TWorker>();
  w->Surname = "А";
  w->Name = "Б";
  w->Patronymic = "В";
  w->SN = "1";
  w->PackNum = "2";
  w->SubNum = "3";
  w->NumInPack = "4";
  w->CategoryCode = "НР";
  w->HasAT = true;
  w->fFromFile = "f.xml";
  w->FoundInPds = true;
  w->fReplaced = true;
  w->IsEFS1 = true;
  w->IsResultData = true;
  w->HasLgotBasis = true;
  w->NodeData.fLine = 7;
  w->FullNameNodeData.fXPath = "/a";
  w->PaymentsNodeData.fLine = 9;
  w->WorkPeriods.push_back(std::make_shared<TWorkPeriod>());
  w->MergedWorkPeriods.push_back(std::make_shared<TWorkPeriod>());
  w->AddTariffPayments.push_back(std::make_shared<TAddTariffPayment>(TAddTariffBase::atb1, "", 1, "1"));
  w->Periodicals.emplace_back(2021, 2021);

  TWorker copy(*w);
  EXPECT_EQ(copy.Surname + copy.Name + copy.Patronymic, "АБВ");
  EXPECT_EQ(copy.SN + copy.PackNum + copy.SubNum + copy.NumInPack, "1234");
  EXPECT_EQ(copy.CategoryCode, "НР");
  EXPECT_TRUE(copy.HasAT && copy.FoundInPds && copy.fReplaced && copy.IsEFS1 && copy.IsResultData);
  EXPECT_EQ(copy.fFromFile, "f.xml");
  EXPECT_EQ(copy.NodeData.fLine, 7);
  EXPECT_EQ(copy.FullNameNodeData.fXPath, "/a");
  EXPECT_EQ(copy.PaymentsNodeData.fLine, 9);
  EXPECT_FALSE(copy.HasLgotBasis);
  EXPECT_TRUE(copy.WorkPeriods.empty());
  EXPECT_TRUE(copy.MergedWorkPeriods.empty());
  EXPECT_TRUE(copy.AddTariffPayments.empty());
  EXPECT_TRUE(copy.Periodicals.empty());
}

TEST(WorkerTest, HasLgotSidePeriodsOnlyLooksAtMergedPeriods) {
  TWorker w;
  EXPECT_TRUE(w.HasLgotSidePeriodsOnly());
  w.MergedWorkPeriods.push_back(std::make_shared<TWorkPeriod>());
  EXPECT_TRUE(w.HasLgotSidePeriodsOnly());
  auto p = std::make_shared<TWorkPeriod>();
  p->Bases.Add("27-1");
  w.WorkPeriods.push_back(p);
  EXPECT_TRUE(w.HasLgotSidePeriodsOnly());
  w.MergedWorkPeriods.push_back(p);
  EXPECT_FALSE(w.HasLgotSidePeriodsOnly());
}

TEST(WorkerTest, AddWorkperiodLetsALaterPackSupersede) {
  TWorker w;
  auto a1 = Read("10", 1, "01.02.2021");
  auto a2 = Read("10", 2, "01.02.2021");
  ASSERT_TRUE(w.AddWorkperiod(a1));
  ASSERT_TRUE(w.AddWorkperiod(a2));  // same pack: never compared

  // A pack dated earlier is refused; nothing changes.
  auto early = Read("11", 1, "01.01.2021");
  EXPECT_FALSE(w.AddWorkperiod(early));
  EXPECT_EQ(w.WorkPeriods, (TWorkPeriodList{a1, a2}));

  // Same date, lower number: refused; higher number: supersedes.
  EXPECT_FALSE(w.AddWorkperiod(Read("9", 1, "01.02.2021")));
  auto b1 = Read("12", 1, "01.02.2021");
  EXPECT_TRUE(w.AddWorkperiod(b1));
  EXPECT_EQ(w.WorkPeriods, (TWorkPeriodList{a2, b1}));

  // A later pack for period 2 removes a2; b1, of another period, is passed over.
  auto c2 = Read("13", 2, "01.03.2021");
  EXPECT_TRUE(w.AddWorkperiod(c2));
  EXPECT_EQ(w.WorkPeriods, (TWorkPeriodList{b1, c2}));

  // The walk stops at the first period of the new period's own pack.
  auto c1 = Read("13", 1, "01.01.2000");
  EXPECT_TRUE(w.AddWorkperiod(c1));
  EXPECT_EQ(w.WorkPeriods, (TWorkPeriodList{b1, c2, c1}));
}

TEST(WorkerTest, AddWorkperiodRefusalOrBadTextKeepsEveryPeriod) {
  TWorker w;
  auto older = Read("1", 1, "01.01.2021");
  auto newer = Read("2", 1, "01.03.2021");
  auto mine = Read("3", 1, "01.02.2021");
  w.WorkPeriods = {newer, older};  // walked from the back: older first
  // older would be superseded, but newer refuses the new period: older stays.
  EXPECT_FALSE(w.AddWorkperiod(mine));
  EXPECT_EQ(w.WorkPeriods, (TWorkPeriodList{newer, older}));

  // x would be superseded before the walk reaches y's impossible date.
  w.WorkPeriods = {Read("y", 1, "31.02.2021"), Read("x", 1, "01.01.2021")};
  const TWorkPeriodList before = w.WorkPeriods;
  EXPECT_THROW(w.AddWorkperiod(Read("4", 1, "01.05.2021")), EConvertError);
  EXPECT_EQ(w.WorkPeriods, before);

  w.WorkPeriods = {Read("пять", 1, "01.05.2021")};
  EXPECT_THROW(w.AddWorkperiod(Read("4", 1, "01.05.2021")), EConvertError);
  EXPECT_EQ(w.WorkPeriods.size(), 1u);
}

TEST(PositionTest, MatchesAndText) {
  TPosition pos;
  pos.Bases.Add("27-1");
  pos.fProfessionCode = "12345";
  pos.fTerrCond = "СЕЛО";
  EXPECT_EQ(pos.pPositionAsString(), "27-1 (12345)");
  TBases b;
  b.Add("27-1");
  EXPECT_TRUE(pos.Matches(b, "12345", ""));
  EXPECT_FALSE(pos.Matches(b, "12345", "МКС"));
  EXPECT_FALSE(pos.Matches(b, "1234", ""));
  TWorkPeriod p;
  p.Bases.Add("27-1");
  p.ProfessionCode = "12345";
  p.TerritoryCondition = "СЕЛО";
  EXPECT_TRUE(pos.Matches(p));
  pos.fProfessionCode.clear();
  EXPECT_EQ(pos.pPositionAsString(), "27-1");
}

TEST(PositionTest, SetWorkingDaysBranches) {
  TPosition pos;
  const TDate qb = EncodeDate(2021, 1, 1), qe = EncodeDate(2021, 3, 31);
  // Boiler operators count their heating days.
  EXPECT_EQ(pos.setWorkingDays(qb, qe, qb, qe, 2, 2021, "23200000-13786", "27-1", 40, 50), 80);
  // Without heating days they count like everyone else.
  EXPECT_EQ(pos.setWorkingDays(qb, qe, qb, qe, 2, 2021, "23200000-13786", "27-1", 0, 50), 180);
  // The river fleet counts navigation days, by code or by basis 27-9.
  EXPECT_EQ(pos.setWorkingDays(qb, qe, qb, qe, 0.5, 2021, "23003010-14706", "", 40, 50), 25);
  EXPECT_EQ(pos.setWorkingDays(qb, qe, qb, qe, 1, 2021, "999", "27-9", 40, 50), 50);
  EXPECT_EQ(pos.setWorkingDays(qb, qe, qb, qe, 1, 2021, "23003010-99999", "", 40, 50), 90);
  // Otherwise the entry's days from the quarter start; an open end runs to the
  // quarter end, a set end is not clipped.
  EXPECT_EQ(pos.setWorkingDays(qb, qe, EncodeDate(2020, 6, 1), 0, 1.5, 2021, "", "", 0, 0), 135);
  EXPECT_EQ(pos.setWorkingDays(qb, qe, EncodeDate(2021, 3, 1), EncodeDate(2021, 4, 30), 1, 2021, "", "", 0, 0),
            61);
  // An entry that starts after the quarter, open or ending later still, has no
  // day in it rather than a negative count.
  EXPECT_EQ(pos.setWorkingDays(qb, qe, EncodeDate(2021, 5, 1), 0, 2, 2021, "", "", 0, 0), 0);
  EXPECT_EQ(pos.setWorkingDays(qb, qe, EncodeDate(2021, 5, 1), EncodeDate(2021, 4, 20), 2, 2021, "", "", 0, 0), 0);
}

TEST(PeriodicallyTest, KeyAndMonthsPerPeriod) {
  EXPECT_EQ(TPeriodically(2021, 2020).GetKey(), "2021~2020");
  EXPECT_EQ(TPeriodically().GetKey(), "0~0");
  EXPECT_TRUE(TPeriodically(2021, 2020, true).IsCorr);
  EXPECT_EQ(MonthsPerPeriod(2010), 6);
  EXPECT_EQ(MonthsPerPeriod(2011), 3);
}

TEST(WorkerTest, DictionaryKeepsTheFirstPersonOfANumberWhateverItsShape) {
  TWorkerDictionary dictionary;
  EXPECT_TRUE(dictionary.empty());
  auto first = std::make_shared<TWorker>();
  auto second = std::make_shared<TWorker>();
  auto odd = std::make_shared<TWorker>();
  EXPECT_TRUE(dictionary.emplace("123-456-789 00", first));
  EXPECT_FALSE(dictionary.emplace("123-456-789 00", second));
  EXPECT_TRUE(dictionary.emplace("12345678900", odd));  // not shaped like a number
  EXPECT_EQ(dictionary.size(), 2u);
  EXPECT_EQ(dictionary.at("123-456-789 00"), first);
  EXPECT_EQ(dictionary.get("12345678900"), odd.get());
  EXPECT_EQ(dictionary.count("123-456-789-00"), 0u);
  EXPECT_EQ(dictionary.find("123-456-789-00"), nullptr);
  EXPECT_EQ(dictionary.get(""), nullptr);
  EXPECT_THROW(dictionary.at("000-000-000 00"), std::out_of_range);
}

}  // namespace
}  // namespace morvel
