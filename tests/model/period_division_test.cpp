#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "model/worker.h"
#include "period_test_util.h"

namespace morvel {
namespace {

using test::Day;
using test::Describe;
using test::Period;
using test::Person;
using test::TPeriodPtr;
using test::TRecordingSink;
using V = std::vector<std::string>;

class DivisionTest : public test::PeriodTest {};

// ---- The eight ways two periods of one kind can overlap -----------------------------

struct TCutCase {
  const char* name;
  TDate as, af, bs, bf;
  V pieces;
};

// A at rate 0.5 with its locations on line 1, B at 0.25 on line 2.
const TCutCase kCutCases[] = {
    {"same start, A ends first",
     Day(1, 1),
     Day(10, 1),
     Day(1, 1),
     Day(20, 1),
     {"01.01.2021 - 10.01.2021 x0.75 @1", "11.01.2021 - 20.01.2021 x0.25 @1"}},
    {"same start, B ends first",
     Day(1, 1),
     Day(20, 1),
     Day(1, 1),
     Day(10, 1),
     {"01.01.2021 - 10.01.2021 x0.75 @1", "11.01.2021 - 20.01.2021 x0.5 @2"}},
    {"same end, A starts first",
     Day(1, 1),
     Day(20, 1),
     Day(11, 1),
     Day(20, 1),
     {"01.01.2021 - 10.01.2021 x0.5 @1", "11.01.2021 - 20.01.2021 x0.75 @2"}},
    {"same end, B starts first",
     Day(11, 1),
     Day(20, 1),
     Day(1, 1),
     Day(20, 1),
     {"01.01.2021 - 10.01.2021 x0.25 @2", "11.01.2021 - 20.01.2021 x0.75 @1"}},
    {"B inside A",
     Day(1, 1),
     Day(31, 1),
     Day(11, 1),
     Day(20, 1),
     {"01.01.2021 - 10.01.2021 x0.5 @1", "11.01.2021 - 20.01.2021 x0.75 @2", "21.01.2021 - 31.01.2021 x0.5 @2"}},
    {"A inside B",
     Day(11, 1),
     Day(20, 1),
     Day(1, 1),
     Day(31, 1),
     {"01.01.2021 - 10.01.2021 x0.25 @2", "11.01.2021 - 20.01.2021 x0.75 @1", "21.01.2021 - 31.01.2021 x0.25 @1"}},
    {"A first, B beyond",
     Day(1, 1),
     Day(20, 1),
     Day(11, 1),
     Day(31, 1),
     {"01.01.2021 - 10.01.2021 x0.5 @1", "11.01.2021 - 20.01.2021 x0.75 @2", "21.01.2021 - 31.01.2021 x0.25 @1"}},
    {"B first, A beyond",
     Day(11, 1),
     Day(31, 1),
     Day(1, 1),
     Day(20, 1),
     {"01.01.2021 - 10.01.2021 x0.25 @2", "11.01.2021 - 20.01.2021 x0.75 @1", "21.01.2021 - 31.01.2021 x0.5 @2"}},
    // The overlap may be a single day: B starts on A's last day.
    {"one common day",
     Day(1, 1),
     Day(10, 1),
     Day(10, 1),
     Day(20, 1),
     {"01.01.2021 - 09.01.2021 x0.5 @1", "10.01.2021 - 10.01.2021 x0.75 @2", "11.01.2021 - 20.01.2021 x0.25 @1"}},
};

TEST_F(DivisionTest, EachWayOfOverlappingGivesItsPiecesRatesAndLocations) {
  for (const TCutCase& c : kCutCases) {
    SCOPED_TRACE(c.name);
    const TPeriodPtr a = Period(c.as, c.af, 0.5, 1);
    const TPeriodPtr b = Period(c.bs, c.bf, 0.25, 2);
    EXPECT_EQ(Describe(CutCrossingPeriods(*a, *b)), c.pieces);
  }
}

TEST_F(DivisionTest, PiecesHaveTheFirstPeriodsKindAndNothingMore) {
  const TPeriodPtr a = Period(Day(1, 1), Day(20, 1), 0.5, 1, "27-2,27-ПД");
  a->ProfessionCode = "23200000-13786";
  a->TerritoryCondition = "МКС";
  a->Profession = "Кочегар";
  a->WC = "3.1";
  a->SetSeniorityBase("СЕЗОН");
  a->AddPdData.Set("ДЕТИ");
  a->PackNum = "7";
  a->NumInPack = "3";
  a->AddTariff = "ДТ";
  const TPeriodPtr b = Period(Day(11, 1), Day(31, 1), 0.25, 2, "27-2,27-ПД");
  b->ProfessionCode = "23200000-13786";
  b->TerritoryCondition = "РКС";
  b->Profession = "Оператор";

  const TWorkPeriodList pieces = CutCrossingPeriods(*a, *b);
  ASSERT_EQ(pieces.size(), 3u);
  for (const TPeriodPtr& p : pieces) {
    EXPECT_EQ(p->BasesAndCode(), "27-2,27-ПД (23200000-13786)");
    EXPECT_EQ(p->TerritoryCondition, "МКС");
    EXPECT_EQ(p->Profession, "Кочегар");
    EXPECT_EQ(p->WC, "");
    EXPECT_EQ(p->SeniorityBase(), "");
    EXPECT_FALSE(p->AddPdData.HasData());
    EXPECT_EQ(p->PackNum, "");
    EXPECT_EQ(p->AddTariff, "");
    EXPECT_FALSE(p->HasFactWorkedTime());
  }
}

TEST_F(DivisionTest, FlightBasesDoNotOverrideTheAddedRate) {
  // Setting flight bases raises a rate to 1; the pieces' rates are set after.
  const TPeriodPtr a = Period(Day(1, 1), Day(20, 1), 1, 1, "САМОЛЕТ");
  a->Rate = 0.5;
  const TPeriodPtr b = Period(Day(11, 1), Day(20, 1), 1, 2, "САМОЛЕТ");
  b->Rate = 0.25;
  EXPECT_EQ(Describe(CutCrossingPeriods(*a, *b)),
            (V{"01.01.2021 - 10.01.2021 x0.5 @1", "11.01.2021 - 20.01.2021 x0.75 @2"}));
}

// ---- A person's periods -----------------------------------------------------------

TEST_F(DivisionTest, OverlappingHalfRatesAreCutAndTheOverlapReported) {
  // Given in reverse order: the division sorts by start.
  const TPeriodPtr second = Period(Day(1, 2), Day(30, 6), 0.5, 2);
  const TPeriodPtr first = Period(Day(1, 1), Day(31, 3), 0.5, 1);
  auto w = Person({second, first});
  TRecordingSink sink;
  w->DivideCrossWorkPeriods(&sink);
  EXPECT_EQ(Describe(w->WorkPeriods),
            (V{"01.01.2021 - 31.01.2021 x0.5 @1", "01.02.2021 - 31.03.2021 x1 @2", "01.04.2021 - 30.06.2021 x0.5 @1"}));
  EXPECT_EQ(sink.reports, (V{"111-222-333 44: 01.01.2021 - 31.03.2021 / 01.02.2021 - 30.06.2021"}));
  // The periods as read stay with the person, in start order.
  ASSERT_EQ(w->FParsePeriods.size(), 2u);
  EXPECT_EQ(w->FParsePeriods[0], first);
  EXPECT_EQ(w->FParsePeriods[1], second);
  EXPECT_EQ(Describe(*first), "01.01.2021 - 31.03.2021 x0.5 @1");

  // A List person: the same pieces, and nobody to report to.
  auto listed = Person({Period(Day(1, 2), Day(30, 6), 0.5, 2), Period(Day(1, 1), Day(31, 3), 0.5, 1)});
  listed->DivideCrossWorkPeriods(nullptr);
  EXPECT_EQ(Describe(listed->WorkPeriods), Describe(w->WorkPeriods));
}

TEST_F(DivisionTest, ExcusedAdditionalDataOnEitherSideSilencesTheReportOnly) {
  ASSERT_EQ(ExcusedCrossingCodes.size(), 8u);
  for (std::string_view code : ExcusedCrossingCodes) {
    for (int side = 0; side < 2; ++side) {
      SCOPED_TRACE(std::string(code) + (side == 0 ? " on the first" : " on the second"));
      auto periods = std::vector<TPeriodPtr>{Period(Day(1, 1), Day(31, 3), 0.5), Period(Day(1, 2), Day(30, 6), 0.5)};
      ASSERT_TRUE(periods[side]->AddPdData.Set(code));
      auto w = Person(periods);
      TRecordingSink sink;
      w->DivideCrossWorkPeriods(&sink);
      EXPECT_EQ(w->WorkPeriods.size(), 3u);
      EXPECT_TRUE(sink.reports.empty());
    }
  }
  // The whole text has to be the code: a second code or another code reports.
  for (const V& codes : {V{"ДОГОВОР", "ДЕТИ"}, V{"ДЕТИ"}, V{"ДОПСТАЖ"}}) {
    auto periods = std::vector<TPeriodPtr>{Period(Day(1, 1), Day(31, 3), 0.5), Period(Day(1, 2), Day(30, 6), 0.5)};
    for (const std::string& code : codes) periods[0]->AddPdData.Set(code);
    auto w = Person(periods);
    TRecordingSink sink;
    w->DivideCrossWorkPeriods(&sink);
    EXPECT_EQ(sink.reports.size(), 1u) << periods[0]->AddPdData.ToString();
  }
}

TEST_F(DivisionTest, OnlyPeriodsOfOneKindWithoutWorkedTimeCross) {
  auto run = [](TPeriodPtr a, TPeriodPtr b) {
    auto w = Person({std::move(a), std::move(b)});
    TRecordingSink sink;
    w->DivideCrossWorkPeriods(&sink);
    EXPECT_TRUE(sink.reports.empty());
    return Describe(w->WorkPeriods);
  };
  const V apart{"01.01.2021 - 31.03.2021 x0.5 @1", "01.02.2021 - 30.06.2021 x0.5 @2"};
  // Other bases.
  EXPECT_EQ(run(Period(Day(1, 1), Day(31, 3), 0.5, 1), Period(Day(1, 2), Day(30, 6), 0.5, 2, "27-2")), apart);
  // Another position code.
  auto coded = Period(Day(1, 2), Day(30, 6), 0.5, 2);
  coded->ProfessionCode = "23200000-13786";
  EXPECT_EQ(run(Period(Day(1, 1), Day(31, 3), 0.5, 1), coded), apart);
  // Worked time on one side.
  auto worked = Period(Day(1, 2), Day(30, 6), 0.5, 2);
  worked->Days = "12";
  EXPECT_EQ(run(Period(Day(1, 1), Day(31, 3), 0.5, 1), worked), apart);
  // Another seniority basis.
  auto season = Period(Day(1, 2), Day(30, 6), 0.5, 2);
  season->SetSeniorityBase("СЕЗОН");
  EXPECT_EQ(run(Period(Day(1, 1), Day(31, 3), 0.5, 1), season), apart);
  // Adjacent, not overlapping.
  EXPECT_EQ(run(Period(Day(1, 1), Day(31, 1), 0.5, 1), Period(Day(1, 2), Day(28, 2), 0.5, 2)),
            (V{"01.01.2021 - 31.01.2021 x0.5 @1", "01.02.2021 - 28.02.2021 x0.5 @2"}));
}

TEST_F(DivisionTest, IdenticalPeriodsDoNotCrossButAddUp) {
  auto two = Person({Period(Day(1, 1), Day(31, 3), 0.5, 1), Period(Day(1, 1), Day(31, 3), 0.5, 2)});
  TRecordingSink sink;
  two->DivideCrossWorkPeriods(&sink);
  EXPECT_TRUE(sink.reports.empty());
  EXPECT_EQ(Describe(two->WorkPeriods), (V{"01.01.2021 - 31.03.2021 x1 @1"}));
  two->MergeWorkPeriods(true, nullptr);
  EXPECT_EQ(Describe(two->MergedWorkPeriods), (V{"01.01.2021 - 31.03.2021 x1 @1"}));

  // Three half rates make one and a half: no cap when a single period is merged.
  auto three = Person({Period(Day(1, 1), Day(31, 3), 0.5, 1), Period(Day(1, 1), Day(31, 3), 0.5, 2),
                       Period(Day(1, 1), Day(31, 3), 0.5, 3)});
  three->DivideCrossWorkPeriods(&sink);
  EXPECT_TRUE(sink.reports.empty());
  EXPECT_EQ(Describe(three->WorkPeriods), (V{"01.01.2021 - 31.03.2021 x1.5 @1"}));
  three->MergeWorkPeriods(true, nullptr);
  EXPECT_EQ(Describe(three->MergedWorkPeriods), (V{"01.01.2021 - 31.03.2021 x1.5 @1"}));

  // Identical dates of other kinds stay apart.
  auto kinds = Person({Period(Day(1, 1), Day(31, 3), 0.5, 1), Period(Day(1, 1), Day(31, 3), 0.5, 2, "27-2")});
  kinds->DivideCrossWorkPeriods(nullptr);
  EXPECT_EQ(kinds->WorkPeriods.size(), 2u);
}

// Pieces that nothing crosses are not copied by the division; the periods as
// read must still come out of it unchanged, and what a copy leaves behind (pack
// date, comments, the List's note) must not reach the merged periods.
TEST_F(DivisionTest, PeriodsAsReadKeepTheirRatesAndMergedPeriodsTheirOwnData) {
  auto first = Period(Day(1, 1), Day(31, 3), 0.5, 1);
  auto second = Period(Day(1, 1), Day(31, 3), 0.5, 2);
  auto alone = Period(Day(1, 5), Day(31, 5), 0.25, 3);
  for (const auto& p : {first, second, alone}) {
    p->PackDate = "01.02.2022";
    p->Comment = "прочитан";
    p->Note = "примечание";
  }
  auto w = Person({first, second, alone});
  w->DivideCrossWorkPeriods(nullptr);
  EXPECT_EQ(Describe(w->FParsePeriods),
            (V{"01.01.2021 - 31.03.2021 x0.5 @1", "01.01.2021 - 31.03.2021 x0.5 @2", "01.05.2021 - 31.05.2021 x0.25 @3"}));
  EXPECT_EQ(Describe(w->WorkPeriods), (V{"01.01.2021 - 31.03.2021 x1 @1", "01.05.2021 - 31.05.2021 x0.25 @3"}));

  w->MergeWorkPeriods(false, nullptr);
  ASSERT_EQ(w->MergedWorkPeriods.size(), 2u);
  for (const auto& merged : w->MergedWorkPeriods) {
    EXPECT_TRUE(merged != first && merged != second && merged != alone);
    EXPECT_EQ(merged->PackDate, "");
    EXPECT_EQ(merged->Comment, "");
    EXPECT_EQ(merged->Note, "");
  }
  // Merged periods are the person's own: marking them leaves the periods as read alone.
  w->MergedWorkPeriods[1]->Rate = 1;
  EXPECT_DOUBLE_EQ(alone->Rate, 0.25);
}

TEST_F(DivisionTest, OnlyTheFirstCrossingPieceIsCut) {
  // The first two have the same dates and do not cross each other; the third
  // overlaps both, but only the first in the list is cut with it. The pieces
  // go to the end of the list.
  auto w = Person({Period(Day(1, 1), Day(20, 1), 0.5, 1), Period(Day(1, 1), Day(20, 1), 0.25, 2),
                   Period(Day(10, 1), Day(25, 1), 0.125, 3)});
  TRecordingSink sink;
  w->DivideCrossWorkPeriods(&sink);
  EXPECT_EQ(Describe(w->WorkPeriods), (V{"01.01.2021 - 20.01.2021 x0.25 @2", "01.01.2021 - 09.01.2021 x0.5 @1",
                                         "10.01.2021 - 20.01.2021 x0.625 @3", "21.01.2021 - 25.01.2021 x0.125 @1"}));
  EXPECT_EQ(sink.reports, (V{"111-222-333 44: 01.01.2021 - 20.01.2021 / 10.01.2021 - 25.01.2021"}));
}

TEST_F(DivisionTest, APieceStartingLaterCanBeTheFirstCrossing) {
  // 01.01-30.01 and 10.01-20.01 leave 01-09, 10-20 and 21-30 in this order; a
  // period from 10.01 cuts the middle piece; one from 15.01 then meets 21-30
  // first in the list, although a piece starting earlier also overlaps it.
  auto w = Person({Period(Day(1, 1), Day(30, 1), 0.5, 1), Period(Day(10, 1), Day(20, 1), 0.25, 2),
                   Period(Day(10, 1), Day(25, 1), 0.125, 3), Period(Day(15, 1), Day(30, 1), 0.0625, 4)});
  TRecordingSink sink;
  w->DivideCrossWorkPeriods(&sink);
  EXPECT_EQ(Describe(w->WorkPeriods), (V{"01.01.2021 - 09.01.2021 x0.5 @1", "10.01.2021 - 20.01.2021 x0.875 @2",
                                         "21.01.2021 - 25.01.2021 x0.125 @2", "15.01.2021 - 20.01.2021 x0.0625 @4",
                                         "21.01.2021 - 30.01.2021 x0.5625 @2"}));
  EXPECT_EQ(sink.reports, (V{"111-222-333 44: 01.01.2021 - 30.01.2021 / 10.01.2021 - 20.01.2021",
                             "111-222-333 44: 10.01.2021 - 20.01.2021 / 10.01.2021 - 25.01.2021",
                             "111-222-333 44: 21.01.2021 - 30.01.2021 / 15.01.2021 - 30.01.2021"}));
}

TEST_F(DivisionTest, NoPeriodsNothingHappens) {
  auto w = Person({});
  TRecordingSink sink;
  w->DivideCrossWorkPeriods(&sink);
  w->MergeWorkPeriods(true, nullptr);
  EXPECT_TRUE(w->WorkPeriods.empty());
  EXPECT_TRUE(w->FParsePeriods.empty());
  EXPECT_TRUE(w->MergedWorkPeriods.empty());
}

// ---- The same division done the slow way ------------------------------------------

bool Crosses(const TWorkPeriod& a, const TWorkPeriod& b) {
  auto noTime = [](const TWorkPeriod& p) {
    return p.Months == "0" && p.Days == "0" && p.Hours == "0" && p.Minutes == "0";
  };
  return a.BasesAndCode() == b.BasesAndCode() && noTime(a) && noTime(b) && a.SeniorityBase() == b.SeniorityBase() &&
         a.Finish >= b.Start && b.Finish >= a.Start && !(a.Start == b.Start && a.Finish == b.Finish);
}

// Walks the lists as the division is defined, piece by piece.
V SlowDivide(TWorkPeriodList periods, V& reports) {
  std::stable_sort(periods.begin(), periods.end(), [](auto& a, auto& b) { return a->Start < b->Start; });
  TWorkPeriodList n{periods[0]->Clone()};
  for (std::size_t i = 1; i < periods.size(); ++i) {
    const TWorkPeriod& b = *periods[i];
    auto a = std::find_if(n.begin(), n.end(), [&](auto& piece) { return Crosses(*piece, b); });
    if (a == n.end()) {
      n.push_back(b.Clone());
      continue;
    }
    if (!HasExcusedCrossingData(**a) && !HasExcusedCrossingData(b)) {
      reports.push_back((*a)->pPeriodString() + " / " + b.pPeriodString());
    }
    TWorkPeriodList cut = CutCrossingPeriods(**a, b);
    n.erase(a);
    n.insert(n.end(), cut.begin(), cut.end());
  }
  TWorkPeriodList m;
  for (const auto& q : n) {
    auto o = std::find_if(m.begin(), m.end(), [&](auto& p) {
      return p->Start == q->Start && p->Finish == q->Finish && q->Matches(*p) &&
             q->SeniorityBase() == p->SeniorityBase();
    });
    if (o == m.end()) {
      m.push_back(q->Clone());
    } else {
      (*o)->Rate += q->Rate;
    }
  }
  V out;
  for (const auto& p : m) out.push_back(p->BasesAndCode() + " " + p->SeniorityBase() + " " + Describe(*p));
  return out;
}

TEST_F(DivisionTest, AgreesWithTheListWalkOnRandomPersons) {
  std::mt19937 random(20211231);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    TWorkPeriodList periods;
    const int count = 2 + pick(40);
    for (int k = 0; k < count; ++k) {
      const TDate start = Day(1, 1) + pick(60);
      const TDate finish = start + pick(20);
      auto p = Period(start, finish, std::vector<double>{0.25, 0.5, 1}[pick(3)], k + 1, pick(4) == 0 ? "27-2" : "27-1");
      if (pick(6) == 0) p->SetSeniorityBase("СЕЗОН");
      if (pick(8) == 0) p->Days = "3";
      if (pick(8) == 0) p->AddPdData.Set("ДОГОВОР");
      periods.push_back(std::move(p));
    }
    V expectedReports;
    const V expected = SlowDivide(periods, expectedReports);

    auto w = Person(periods);
    TRecordingSink sink;
    w->DivideCrossWorkPeriods(&sink);
    V got;
    for (const auto& p : w->WorkPeriods)
      got.push_back(p->BasesAndCode() + " " + p->SeniorityBase() + " " + Describe(*p));
    EXPECT_EQ(got, expected);
    for (std::string& report : sink.reports) report.erase(0, w->SN.size() + 2);
    EXPECT_EQ(sink.reports, expectedReports);
  }
}

}  // namespace
}  // namespace morvel
