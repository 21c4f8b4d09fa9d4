#include <gtest/gtest.h>

#include "base/dates.h"
#include "config/classifiers.h"
#include "model/work_period.h"

namespace morvel {
namespace {

class WorkPeriodTest : public ::testing::Test {
 protected:
  WorkPeriodTest() {
    c.Add(TClassifierType::ctAddPdData, {"ДЕКРЕТ", "ДЕТИ", "ДОПСТАЖ1", "ВАХТА", "ДОПСТАЖ2"});
    c.Add(TClassifierType::ctAddStag, {"ДОПСТАЖ"});
  }
  static std::shared_ptr<TWorkPeriod> Period(const std::string& bases, const std::string& code = "",
                                             const std::string& terr = "") {
    auto p = std::make_shared<TWorkPeriod>();
    p->Bases.SetDelimitedText(bases);
    p->ProfessionCode = code;
    p->TerritoryCondition = terr;
    return p;
  }
  TClassifiers c;
  TClassifiersScope scope{c};
};

TEST_F(WorkPeriodTest, NewPeriodDefaultsAndFlightBasesForceAFullRate) {
  auto p = std::make_shared<TWorkPeriod>();
  EXPECT_EQ(p->Rate, 1.0);
  EXPECT_EQ(p->Months + p->Days + p->Hours + p->Minutes, "0000");
  EXPECT_EQ(p->PDRKHours, 0);
  EXPECT_TRUE(p->NodeData.IsEmpty());
  EXPECT_EQ(p->AddPdData.Length(), 5);
  EXPECT_EQ(p->AddPdData.WorkPeriod(), p.get());
  p->Rate = 0.5;
  p->Bases.Add("27-1");
  EXPECT_EQ(p->Rate, 0.5);
  p->Bases.Add("САМОЛЕТ");
  EXPECT_EQ(p->Rate, 1.0);
  p->Rate = 0.5;  // set after the bases: stays
  EXPECT_EQ(p->Rate, 0.5);
}

TEST_F(WorkPeriodTest, SeniorityBaseKeepsOnlyTextsWithAKnownCode) {
  TWorkPeriod p;
  p.SetSeniorityBase("ВИРУС");
  EXPECT_EQ(p.SeniorityBase(), "ВИРУС");
  p.SetSeniorityBase("ЧТО-ТО");
  EXPECT_EQ(p.SeniorityBase(), "ВИРУС");
  p.SetSeniorityBase("");
  EXPECT_EQ(p.SeniorityBase(), "ВИРУС");
  p.SetSeniorityBase("ДОЛГИЙ СЕЗОН 2");
  EXPECT_EQ(p.SeniorityBase(), "ДОЛГИЙ СЕЗОН 2");
}

TEST_F(WorkPeriodTest, CloneCopiesTheComparedDataOnly) {
  auto p = Period("27-1,27-ГД", "23200000-13786", "МКС");
  p->Year = 2021;
  p->CorrYear = 2020;
  p->Period = 3;
  p->IsCorr = true;
  p->Start = EncodeDate(2021, 1, 1);
  p->Finish = EncodeDate(2021, 3, 31);
  p->Profession = "Оператор";
  p->AddTariff = "ДТ";
  p->SetSeniorityBase("ПОЛЕ");
  p->WC = "3.1";
  p->Rate = 0.25;
  p->Months = "1";
  p->Days = "2";
  p->Hours = "3";
  p->Minutes = "4";
  p->PDRKHours = 5;
  p->PDRKMinutes = 6;
  p->AddPdData.Set("ДЕТИ");
  p->NumSub = "7";
  p->PackNum = "8";
  p->NumInPack = "9";
  p->RateNodeData = TNodeData{};
  p->RateNodeData.fLine = 11;
  p->NodeData.fXPath = "/R/ЗЛ[2]";
  p->FactNodeData.fLine = 12;
  p->SeniorityNodeData.fLine = 13;
  p->PDRKHoursNodeData.fLine = 14;
  // Not carried over:
  p->TerritoryCoeff = "1.5";
  p->PackDate = "01.04.2021";
  p->Compared = true;
  p->Comment = "к";
  p->Note = "п";
  p->FoundInListPositions = true;
  p->TerrNodeData.fLine = 15;
  p->IsResultData = true;

  auto q = p->Clone();
  ASSERT_NE(q.get(), p.get());
  EXPECT_EQ(q->Bases.DelimitedText(), "27-1,27-ГД");
  EXPECT_EQ(q->ProfessionCode, "23200000-13786");
  EXPECT_EQ(q->TerritoryCondition, "МКС");
  EXPECT_EQ(q->Start, p->Start);
  EXPECT_EQ(q->Finish, p->Finish);
  EXPECT_EQ(q->Profession, "Оператор");
  EXPECT_EQ(q->AddTariff, "ДТ");
  EXPECT_EQ(q->SeniorityBase(), "ПОЛЕ");
  EXPECT_EQ(q->WC, "3.1");
  EXPECT_EQ(q->Rate, 0.25);
  EXPECT_EQ(q->Months + q->Days + q->Hours + q->Minutes, "1234");
  EXPECT_EQ(q->PDRKHours, 5);
  EXPECT_EQ(q->PDRKMinutes, 6);
  EXPECT_EQ(q->AddPdData.ToString(), "ДЕТИ");
  EXPECT_EQ(q->AddPdData.WorkPeriod(), q.get());
  EXPECT_EQ(q->NumSub + q->PackNum + q->NumInPack, "789");
  EXPECT_EQ(q->RateNodeData.fLine, 11);
  EXPECT_EQ(q->NodeData.fXPath, "/R/ЗЛ[2]");
  EXPECT_EQ(q->FactNodeData.fLine, 12);
  EXPECT_EQ(q->SeniorityNodeData.fLine, 13);
  EXPECT_EQ(q->PDRKHoursNodeData.fLine, 14);

  EXPECT_EQ(q->Year, 0);
  EXPECT_EQ(q->CorrYear, 0);
  EXPECT_EQ(q->Period, 0);
  EXPECT_FALSE(q->IsCorr);
  EXPECT_EQ(q->TerritoryCoeff, "");
  EXPECT_EQ(q->PackDate, "");
  EXPECT_FALSE(q->Compared);
  EXPECT_EQ(q->Comment + q->Note, "");
  EXPECT_FALSE(q->FoundInListPositions);
  EXPECT_TRUE(q->TerrNodeData.IsEmpty());
  EXPECT_FALSE(q->IsResultData);

  // The clone's bases are its own: a change there leaves the source alone.
  q->Bases.Add("САМОЛЕТ");
  EXPECT_EQ(q->Rate, 1.0);
  EXPECT_EQ(p->Rate, 0.25);
  EXPECT_EQ(p->Bases.DelimitedText(), "27-1,27-ГД");

  // A flight period keeps its own rate in the clone too.
  auto f = Period("САМОЛЕТ");
  f->Rate = 0.5;
  EXPECT_EQ(f->Clone()->Rate, 0.5);
}

TEST_F(WorkPeriodTest, TerritorialRule) {
  EXPECT_TRUE(TerritoryConditionsAgree("СЕЛО", ""));
  EXPECT_TRUE(TerritoryConditionsAgree("", "СЕЛО"));
  EXPECT_FALSE(TerritoryConditionsAgree("СЕЛО", "МКС"));
  EXPECT_FALSE(TerritoryConditionsAgree("РКС", "СЕЛО"));
  EXPECT_TRUE(TerritoryConditionsAgree("МКС", "РКС"));
  EXPECT_TRUE(TerritoryConditionsAgree("СЕЛО", "СЕЛО"));
  EXPECT_TRUE(TerritoryConditionsAgree("", "МКС"));

  auto a = Period("27-1", "К", "СЕЛО");
  EXPECT_TRUE(a->Matches(*Period("27-1", "К", "")));
  EXPECT_FALSE(a->Matches(*Period("27-1", "К", "МКС")));
  EXPECT_TRUE(Period("27-1", "К", "МКС")->Matches(*Period("27-1", "К", "РКС")));
  EXPECT_FALSE(a->Matches(*Period("27-2", "К", "СЕЛО")));
  EXPECT_FALSE(a->Matches(*Period("27-1", "к", "СЕЛО")));  // codes compare exactly
}

TEST_F(WorkPeriodTest, MatchesWithAdditionalSeniorityEntries) {
  auto plain = Period("27-1");
  auto stag1 = Period("27-1");
  stag1->AddPdData.Set("ДОПСТАЖ1");
  auto stag1b = Period("27-1");
  stag1b->AddPdData.Set("ДОПСТАЖ1");
  auto stag2 = Period("27-1");
  stag2->AddPdData.Set("ДОПСТАЖ2");
  auto children = Period("27-1");
  children->AddPdData.Set("ДЕТИ");
  auto stag2Watch = Period("27-1");
  stag2Watch->AddPdData.Set("ДОПСТАЖ2");
  stag2Watch->AddPdData.Set("ВАХТА");

  EXPECT_TRUE(stag1->Matches(*stag1b));       // equal, with an additional-seniority entry
  EXPECT_TRUE(plain->Matches(*children));     // neither side has one
  EXPECT_FALSE(stag1->Matches(*stag2));       // both have one, but different
  EXPECT_FALSE(stag1->Matches(*plain));       // only one side has one
  EXPECT_FALSE(plain->Matches(*stag1));
  EXPECT_TRUE(stag1->Matches(*stag2Watch));   // the other side has a non-preferential code
  EXPECT_TRUE(stag2Watch->Matches(*plain));   // so has this side
}

TEST_F(WorkPeriodTest, DerivedTexts) {
  auto p = Period("27-1", "23200000-13786");
  p->Start = EncodeDate(2020, 1, 1);
  p->Finish = EncodeDate(2020, 1, 31);
  p->Rate = 0.5;
  EXPECT_DOUBLE_EQ(p->WorkingDays(), 15.5);
  EXPECT_EQ(p->RateStr(), "0.5");
  EXPECT_EQ(p->pPeriodString(), "01.01.2020 - 31.01.2020");
  EXPECT_EQ(p->BasesAndCode(), "27-1 (23200000-13786)");
  p->ProfessionCode.clear();
  EXPECT_EQ(p->BasesAndCode(), "27-1");
  p->Rate = 0;
  EXPECT_EQ(p->RateStr(), "Не указана");
  p->Rate = 1;
  EXPECT_EQ(p->RateStr(), "1");
  p->AddPdData.Set("ДЕТИ");
  EXPECT_EQ(p->WorkingDays(), 0);

  p->Months = "2";
  p->Days = "3";
  EXPECT_EQ(p->WorkTimeAsString(), "2 мес., 3 дн., 0 ч., 0 мин.");
  p->Bases.Add("НОРМСП");
  p->Hours = "12";
  EXPECT_EQ(p->WorkTimeAsString(), "12 прыжков/спусков/подъемов");

  TWorkPeriod undated;
  undated.Start = -800000;  // far before year 1: cannot be written
  EXPECT_EQ(undated.pBeginAsString(), "");
  EXPECT_EQ(undated.pEndAsString(), "30.12.1899");
}

TEST_F(WorkPeriodTest, WorkedTimeAndNonPreferentialData) {
  auto p = Period("27-ПД");
  EXPECT_FALSE(p->HasFactWorkedTime());
  p->PDRKHours = 3;
  EXPECT_FALSE(p->HasFactWorkedTime());
  auto q = Period("27-ПДРК");
  q->PDRKMinutes = 3;
  EXPECT_TRUE(q->HasFactWorkedTime());
  auto r = Period("27-1");
  r->Minutes = "";  // not exactly "0"
  EXPECT_TRUE(r->HasFactWorkedTime());

  EXPECT_FALSE(p->HasNoLgotAddPdData());
  p->AddPdData.Set("ДОПСТАЖ1");
  EXPECT_FALSE(p->HasNoLgotAddPdData());
  p->AddPdData.Set("ВАХТА");
  EXPECT_TRUE(p->HasNoLgotAddPdData());

  EXPECT_FALSE(p->HasLgotSideDataOnly());
  EXPECT_TRUE(TWorkPeriod().HasLgotSideDataOnly());
}

}  // namespace
}  // namespace morvel
