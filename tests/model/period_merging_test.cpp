#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/rounding.h"
#include "model/worker.h"
#include "period_test_util.h"

namespace morvel {
namespace {

using test::Day;
using test::Describe;
using test::Period;
using test::Person;
using test::TPeriodPtr;
using V = std::vector<std::string>;

class MergingTest : public test::PeriodTest {
 protected:
  static TPeriodPtr Worked(TDate start, TDate finish, const std::string& months, const std::string& days) {
    TPeriodPtr p = Period(start, finish, 1);
    p->Months = months;
    p->Days = days;
    return p;
  }
  static TPeriodPtr WithConditions(TDate start, TDate finish, const std::string& territory) {
    TPeriodPtr p = Period(start, finish, 1);
    p->TerritoryCondition = territory;
    return p;
  }
  static V Conditions(const TWorker& w) {
    V out;
    for (const auto& p : w.MergedWorkPeriods) out.push_back(p->TerritoryCondition);
    return out;
  }
};

TEST_F(MergingTest, ConsecutivePeriodsAreGluedAndTheirWorkedTimeAdded) {
  TPeriodPtr january = Worked(Day(1, 1), Day(31, 1), "0", "20");
  january->Hours = "5";
  january->Minutes = "50";
  january->PDRKHours = 1;
  january->PDRKMinutes = 40;
  january->WC = "3.1";
  january->PackDate = "01.04.2021";
  january->Year = 2021;
  TPeriodPtr february = Worked(Day(1, 2), Day(28, 2), "0", "15");
  february->Hours = "7";
  february->Minutes = "20";
  february->PDRKHours = 2;
  february->PDRKMinutes = 30;
  february->WC = "3.2";
  auto w = Person({february, january});
  w->MergeWorkPeriods(true, nullptr);

  ASSERT_EQ(w->MergedWorkPeriods.size(), 1u);
  const TWorkPeriod& m = *w->MergedWorkPeriods[0];
  EXPECT_EQ(m.pPeriodString(), "01.01.2021 - 28.02.2021");
  // 35 days carry one month; hours and minutes add up without a carry; PDRK
  // minutes carry into PDRK hours.
  EXPECT_EQ(m.WorkTimeAsString(), "1 мес., 5 дн., 12 ч., 70 мин.");
  EXPECT_EQ(m.PDRKHours, 4);
  EXPECT_EQ(m.PDRKMinutes, 10);
  EXPECT_EQ(m.WC, "3.1;3.2");
  // A merged period is a copy: what a copy leaves behind is gone, the periods
  // themselves are unchanged and sorted.
  EXPECT_EQ(m.PackDate, "");
  EXPECT_EQ(m.Year, 0);
  ASSERT_EQ(w->WorkPeriods.size(), 2u);
  EXPECT_EQ(w->WorkPeriods[0], january);
  EXPECT_EQ(january->pPeriodString(), "01.01.2021 - 31.01.2021");
  EXPECT_EQ(january->Days, "20");
}

TEST_F(MergingTest, DaysCarryOnceAtEachGlue) {
  // 25 + 25 days: 20 days and a month. Then 20 + 29: 49 days lose 30 once.
  auto w = Person({Worked(Day(1, 1), Day(31, 1), "1", "25"), Worked(Day(1, 2), Day(28, 2), "0", "25"),
                   Worked(Day(1, 3), Day(31, 3), "2", "29")});
  w->MergeWorkPeriods(true, nullptr);
  ASSERT_EQ(w->MergedWorkPeriods.size(), 1u);
  EXPECT_EQ(w->MergedWorkPeriods[0]->pPeriodString(), "01.01.2021 - 31.03.2021");
  EXPECT_EQ(w->MergedWorkPeriods[0]->Months, "5");
  EXPECT_EQ(w->MergedWorkPeriods[0]->Days, "19");
}

TEST_F(MergingTest, RatesAreComparedRoundedToTwoDecimalsHalvesToEven) {
  auto glued = [](double first, double second) {
    auto w = Person({Period(Day(1, 1), Day(31, 1), first), Period(Day(1, 2), Day(28, 2), second)});
    w->MergeWorkPeriods(true, nullptr);
    return w->MergedWorkPeriods.size() == 1;
  };
  EXPECT_FALSE(glued(0.5, 1.0));
  EXPECT_TRUE(glued(0.333, 0.334));
  // 0.125 rounds to 0.12, not to 0.13; 0.375 to 0.38.
  EXPECT_TRUE(glued(0.125, 0.12));
  EXPECT_FALSE(glued(0.125, 0.13));
  EXPECT_TRUE(glued(0.375, 0.38));

  auto w = Person({Period(Day(1, 1), Day(31, 1), 0.5), Period(Day(1, 2), Day(28, 2), 1.0)});
  w->MergeWorkPeriods(true, nullptr);
  EXPECT_EQ(Describe(w->MergedWorkPeriods), (V{"01.01.2021 - 31.01.2021 x0.5 @0", "01.02.2021 - 28.02.2021 x1 @0"}));
}

TEST_F(MergingTest, OnlyTouchingPeriodsOfOneKindAreGlued) {
  auto count = [](TPeriodPtr a, TPeriodPtr b) {
    auto w = Person({std::move(a), std::move(b)});
    w->MergeWorkPeriods(true, nullptr);
    return w->MergedWorkPeriods.size();
  };
  // A day between them.
  EXPECT_EQ(count(Period(Day(1, 1), Day(30, 1), 1), Period(Day(1, 2), Day(28, 2), 1)), 2u);
  // Other bases.
  EXPECT_EQ(count(Period(Day(1, 1), Day(31, 1), 1), Period(Day(1, 2), Day(28, 2), 1, 0, "27-2")), 2u);
  // Another seniority basis.
  TPeriodPtr season = Period(Day(1, 2), Day(28, 2), 1);
  season->SetSeniorityBase("СЕЗОН");
  EXPECT_EQ(count(Period(Day(1, 1), Day(31, 1), 1), season), 2u);
  // Territorial conditions that do not agree.
  EXPECT_EQ(count(WithConditions(Day(1, 1), Day(31, 1), "СЕЛО"), WithConditions(Day(1, 2), Day(28, 2), "МКС")), 2u);
  // Worked time against none.
  EXPECT_EQ(count(Worked(Day(1, 1), Day(31, 1), "1", "0"), Period(Day(1, 2), Day(28, 2), 1)), 2u);
  // Worked time that is no whole number cannot be added: the periods stay
  // apart, and nothing fails.
  EXPECT_EQ(count(Worked(Day(1, 1), Day(31, 1), "1", "2.5"), Worked(Day(1, 2), Day(28, 2), "1", "0")), 2u);
}

TEST_F(MergingTest, NonPreferentialAdditionalDataBridgesWorkedTimeForIndividualRecordsOnly) {
  auto run = [](bool isIS) {
    TPeriodPtr leave = Period(Day(1, 2), Day(28, 2), 1);
    leave->AddPdData.Set("ДЕКРЕТ");
    auto w = Person({Worked(Day(1, 1), Day(31, 1), "1", "0"), leave});
    w->MergeWorkPeriods(isIS, nullptr);
    return w;
  };
  auto is = run(true);
  ASSERT_EQ(is->MergedWorkPeriods.size(), 1u);
  EXPECT_EQ(is->MergedWorkPeriods[0]->AddPdData.ToString(), "ДЕКРЕТ");
  EXPECT_EQ(is->MergedWorkPeriods[0]->WorkTimeAsString(), "1 мес., 0 дн., 0 ч., 0 мин.");
  EXPECT_EQ(run(false)->MergedWorkPeriods.size(), 2u);
}

TEST_F(MergingTest, AListPersonCoveredByAnIndividualRecordOfLeaveIsGlued) {
  auto merged = [](const std::vector<std::pair<TDate, TDate>>& isPeriods, const std::string& data) {
    auto is = Person({});
    for (auto [start, finish] : isPeriods) {
      TPeriodPtr c = Period(start, finish, 1);
      if (!data.empty()) c->AddPdData.Set(data);
      is->MergedWorkPeriods.push_back(c);
    }
    auto listed = Person({Worked(Day(1, 1), Day(31, 1), "1", "0"), Period(Day(1, 2), Day(28, 2), 1)});
    listed->MergeWorkPeriods(false, is.get());
    return Describe(listed->MergedWorkPeriods);
  };
  const V one{"01.01.2021 - 28.02.2021 x1 @0"};
  const V two{"01.01.2021 - 31.01.2021 x1 @0", "01.02.2021 - 28.02.2021 x1 @0"};
  EXPECT_EQ(merged({{Day(1, 1), Day(28, 2)}}, "ДЕКРЕТ"), one);
  EXPECT_EQ(merged({{Day(1, 12, 2020), Day(31, 12, 2021)}}, "ДЕТИ"), one);
  // Additional data that is no leave does not cover.
  EXPECT_EQ(merged({{Day(1, 1), Day(28, 2)}}, "ДОПСТАЖ"), two);
  EXPECT_EQ(merged({{Day(1, 1), Day(28, 2)}}, ""), two);
  // The leave must reach from the start of the earlier to the end of the later.
  EXPECT_EQ(merged({{Day(2, 1), Day(28, 2)}}, "ДЕКРЕТ"), two);
  EXPECT_EQ(merged({{Day(1, 1), Day(27, 2)}}, "ДЕКРЕТ"), two);
  // A long leave counts even when a shorter one starts after it.
  EXPECT_EQ(merged({{Day(1, 12, 2020), Day(30, 6)}, {Day(15, 12, 2020), Day(10, 1)}}, "ДЕКРЕТ"), one);

  // Without the individual record nothing covers.
  auto listed = Person({Worked(Day(1, 1), Day(31, 1), "1", "0"), Period(Day(1, 2), Day(28, 2), 1)});
  listed->MergeWorkPeriods(false, nullptr);
  EXPECT_EQ(Describe(listed->MergedWorkPeriods), two);
}

TEST_F(MergingTest, GluedConditionsFormASortedSetCombinedOnesAreJoined) {
  auto glued = Person({WithConditions(Day(1, 1), Day(31, 1), "РКС"), WithConditions(Day(1, 2), Day(28, 2), "МКС")});
  glued->MergeWorkPeriods(true, nullptr);
  EXPECT_EQ(Conditions(*glued), (V{"МКС РКС"}));

  // Letter case does not make another member; an empty one disappears; a
  // member holding a blank is written between blanks, its blank doubled.
  auto more = Person({WithConditions(Day(1, 1), Day(31, 1), "МКС"), WithConditions(Day(1, 2), Day(28, 2), "мкс"),
                      WithConditions(Day(1, 3), Day(31, 3), ""), WithConditions(Day(1, 4), Day(30, 4), "РКС"),
                      WithConditions(Day(1, 5), Day(31, 5), "МКС")});
  more->MergeWorkPeriods(true, nullptr);
  EXPECT_EQ(Conditions(*more), (V{"МКС  МКС  РКС"}));

  // Periods with the same dates are combined: rates added up to a full rate,
  // working conditions joined, territorial conditions put side by side.
  TPeriodPtr a = WithConditions(Day(1, 1), Day(31, 3), "МКС");
  a->Rate = 0.75;
  a->WC = "1";
  TPeriodPtr b = WithConditions(Day(1, 1), Day(31, 3), "РКС");
  b->Rate = 0.5;
  b->WC = "2";
  b->Days = "12";  // worked time keeps it from the division, not from this
  auto combined = Person({a, b});
  combined->MergeWorkPeriods(true, nullptr);
  ASSERT_EQ(combined->MergedWorkPeriods.size(), 1u);
  EXPECT_EQ(combined->MergedWorkPeriods[0]->TerritoryCondition, "МКСРКС");
  EXPECT_EQ(combined->MergedWorkPeriods[0]->Rate, 1);
  EXPECT_EQ(combined->MergedWorkPeriods[0]->WC, "1;2");
}

TEST_F(MergingTest, APeriodJoinsTheFirstItCanBeGluedTo) {
  // Two January periods differ in their condition only; February agrees with
  // both and goes to the first. The merged list keeps their order.
  auto w = Person({WithConditions(Day(1, 1), Day(31, 1), ""), WithConditions(Day(1, 1), Day(31, 1), "МКС"),
                   WithConditions(Day(1, 2), Day(28, 2), "РКС")});
  w->MergeWorkPeriods(true, nullptr);
  ASSERT_EQ(w->MergedWorkPeriods.size(), 2u);
  EXPECT_EQ(w->MergedWorkPeriods[0]->pPeriodString() + " " + w->MergedWorkPeriods[0]->TerritoryCondition,
            "01.01.2021 - 28.02.2021 РКС");
  EXPECT_EQ(w->MergedWorkPeriods[1]->pPeriodString() + " " + w->MergedWorkPeriods[1]->TerritoryCondition,
            "01.01.2021 - 31.01.2021 МКС");
}

TEST_F(MergingTest, MergedPeriodsAreAppended) {
  auto w = Person({Period(Day(1, 1), Day(31, 1), 1)});
  TPeriodPtr earlier = Period(Day(1, 1), Day(31, 1), 0.5);
  w->MergedWorkPeriods.push_back(earlier);
  w->MergeWorkPeriods(true, nullptr);
  ASSERT_EQ(w->MergedWorkPeriods.size(), 2u);
  EXPECT_EQ(w->MergedWorkPeriods[0], earlier);
  EXPECT_NE(w->MergedWorkPeriods[1], w->WorkPeriods[0]);
}

TEST(WorkingConditionsTest, CodesAreJoinedBySemicolons) {
  TWorkPeriod from, to;
  TWorker::MergePeriodWC(from, to);
  EXPECT_EQ(to.WC, "");
  from.WC = "3.1";
  TWorker::MergePeriodWC(from, to);
  EXPECT_EQ(to.WC, "3.1");
  TWorker::MergePeriodWC(from, to);
  EXPECT_EQ(to.WC, "3.1;3.1");
  from.WC.clear();
  TWorker::MergePeriodWC(from, to);
  EXPECT_EQ(to.WC, "3.1;3.1");
}

// ---- The same gluing done the slow way --------------------------------------------

std::string Summary(const TWorkPeriod& p) {
  return p.pPeriodString() + " " + p.BasesAndCode() + " " + p.SeniorityBase() + " x" + FloatToStr(p.Rate) + " " +
         p.Months + "/" + p.Days + " " + p.AddPdData.ToString();
}

// Walks the list of glued periods as the merging is defined, period by period.
// Territorial conditions stay empty here, so gluing leaves them alone.
V SlowMerge(TWorkPeriodList periods, bool isIS, const TWorker* is) {
  std::stable_sort(periods.begin(), periods.end(), [](auto& a, auto& b) { return a->Start < b->Start; });
  TWorkPeriodList w{periods[0]->Clone()};
  for (std::size_t i = 1; i < periods.size(); ++i) {
    const TWorkPeriod& s = *periods[i];
    bool glued = false;
    for (auto& o : w) {
      if (!s.Matches(*o) || s.SeniorityBase() != o->SeniorityBase() ||
          RoundHalfEven(s.Rate, 2) != RoundHalfEven(o->Rate, 2)) {
        continue;
      }
      bool same = s.HasFactWorkedTime() == o->HasFactWorkedTime() ||
                  (isIS && (s.HasNoLgotAddPdData() || o->HasNoLgotAddPdData()));
      if (!same && !isIS && is != nullptr && periods.size() > 1) {
        for (const auto& c : is->MergedWorkPeriods) {
          same = same || (c->HasNoLgotAddPdData() && c->Start <= o->Start && c->Finish >= s.Finish);
        }
      }
      if (!same) continue;
      if (o->Start - s.Finish == 1) {
        o->Start = s.Start;
      } else if (s.Start - o->Finish == 1) {
        o->Finish = s.Finish;
      } else {
        continue;
      }
      o->AddPdData.Merge(s.AddPdData);
      int months = StrToInt(o->Months) + StrToInt(s.Months), days = StrToInt(o->Days) + StrToInt(s.Days);
      if (days > 29) {
        days -= 30;
        ++months;
      }
      o->Months = IntToStr(months);
      o->Days = IntToStr(days);
      glued = true;
      break;
    }
    if (!glued) w.push_back(s.Clone());
  }
  TWorkPeriodList m{w[0]};
  for (std::size_t k = 1; k < w.size(); ++k) {
    auto o = std::find_if(m.begin(), m.end(), [&](auto& p) {
      return p->Start == w[k]->Start && p->Finish == w[k]->Finish && w[k]->Matches(*p);
    });
    if (o == m.end()) {
      m.push_back(w[k]);
    } else {
      (*o)->Rate = std::min(1.0, (*o)->Rate + w[k]->Rate);
    }
  }
  V out;
  for (const auto& p : m) out.push_back(Summary(*p));
  return out;
}

TEST_F(MergingTest, AgreesWithTheListWalkOnRandomPersons) {
  std::mt19937 random(20210101);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    const bool isIS = pick(2) == 0;
    auto is = Person({});
    for (int k = 0; k < 3; ++k) {
      const TDate start = Day(1, 1) + pick(60);
      TPeriodPtr c = Period(start, start + pick(40), 1);
      c->AddPdData.Set("ДЕКРЕТ");
      is->MergedWorkPeriods.push_back(c);
    }
    // Short periods on few days, so that many touch, share dates or both.
    TWorkPeriodList periods;
    const int count = 2 + pick(40);
    for (int k = 0; k < count; ++k) {
      const TDate start = Day(1, 1) + pick(50);
      TPeriodPtr p = Period(start, start + pick(4), std::vector<double>{0.5, 1, 0.125, 0.12}[pick(4)], 0,
                            pick(4) == 0 ? "27-2" : "27-1");
      if (pick(3) == 0) {
        p->Months = IntToStr(pick(3));
        p->Days = IntToStr(pick(30));
      }
      if (pick(8) == 0) p->SetSeniorityBase("СЕЗОН");
      if (pick(6) == 0) p->AddPdData.Set("ДЕКРЕТ");
      periods.push_back(std::move(p));
    }
    const V expected = SlowMerge(periods, isIS, is.get());

    auto w = Person(periods);
    w->MergeWorkPeriods(isIS, is.get());
    V got;
    for (const auto& p : w->MergedWorkPeriods) got.push_back(Summary(*p));
    EXPECT_EQ(got, expected);
  }
}

}  // namespace
}  // namespace morvel
