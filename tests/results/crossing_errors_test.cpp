#include <gtest/gtest.h>

#include "result_fixtures.h"
#include "results/pack_results.h"

namespace morvel {
namespace {

class CrossingErrorsTest : public test::ResultsTest {
 protected:
  // Two half-rate periods of basis 27-1 overlapping in February and March.
  std::shared_ptr<TWorker> Overlapping(const std::string& sn) {
    auto w = Person("5", "1", sn);
    auto first = Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"});
    first->Rate = 0.5;
    first->PackNum = "5";
    first->NumInPack = "1";
    auto second = Period(D(2021, 2, 1), D(2021, 6, 30), {"27-1"});
    second->Rate = 0.5;
    second->PackNum = "6";
    second->NumInPack = "2";
    w->WorkPeriods = {second, first};
    return w;
  }
};

TEST_F(CrossingErrorsTest, EachPersonWithOverlapsGetsATableOfItsOwnAtTheEnd) {
  std::vector<std::unique_ptr<TResult>> errors;
  errors.push_back(std::make_unique<TProtocolMessage>("раньше", true));

  auto first = Overlapping("111-222-333 44");
  DivideCrossWorkPeriods(*first, errors);
  // A person without overlaps adds nothing.
  auto quiet = Person("5", "2", "222-333-444 55");
  quiet->WorkPeriods = {Period(D(2021, 1, 1), D(2021, 3, 31), {"27-1"})};
  DivideCrossWorkPeriods(*quiet, errors);
  // Two overlaps of one person: one table, two rows.
  auto twice = Overlapping("333-444-555 66");
  twice->WorkPeriods.push_back(Period(D(2021, 6, 1), D(2021, 7, 31), {"27-1"}));
  DivideCrossWorkPeriods(*twice, errors);

  ASSERT_EQ(errors.size(), 3u);
  auto* one = dynamic_cast<TCrossingPDPeriodsErrors*>(errors[1].get());
  auto* two = dynamic_cast<TCrossingPDPeriodsErrors*>(errors[2].get());
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  ASSERT_EQ(one->Count(), 1);
  EXPECT_EQ(test::RowOf(one->GetRecord(0)),
            (std::vector<std::string>{"111-222-333 44", "ИВАНОВ П.С.", "01.01.2021 - 31.03.2021", "5", "1", "27-1", "",
                                      "01.02.2021 - 30.06.2021", "6", "2", "27-1", ""}));
  EXPECT_EQ(one->GetRecord(0).FWorker_PD, first);
  ASSERT_EQ(two->Count(), 2);
  // The second overlap meets a piece of the first division, which carries no
  // pack numbers.
  EXPECT_EQ(test::RowOf(two->GetRecord(1)),
            (std::vector<std::string>{"333-444-555 66", "ИВАНОВ П.С.", "01.04.2021 - 30.06.2021", "", "", "27-1", "",
                                      "01.06.2021 - 31.07.2021", "", "", "27-1", ""}));
  EXPECT_EQ(two->GetRecord(1).FWorker_PD, twice);
}

TEST_F(CrossingErrorsTest, ACollectorStartsANewTableForAnotherPerson) {
  std::vector<std::unique_ptr<TResult>> errors;
  TCrossingErrorsCollector collector(errors);
  auto a = Overlapping("111-222-333 44");
  auto b = Overlapping("222-333-444 55");
  a->DivideCrossWorkPeriods(&collector);
  b->DivideCrossWorkPeriods(&collector);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(static_cast<TTableResult&>(*errors[0]).GetRecord(0).FWorker_PD, a);
  EXPECT_EQ(static_cast<TTableResult&>(*errors[1]).GetRecord(0).FWorker_PD, b);
}

}  // namespace
}  // namespace morvel
