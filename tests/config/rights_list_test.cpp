#include <gtest/gtest.h>

#include "base/dates.h"
#include "base/error.h"
#include "base/text.h"
#include "config/settings.h"
#include "support/test_support.h"

namespace morvel {
namespace {

class RightsListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSingleton::DestroyInstance<TSettings>();
    S().FRegNum = "099-001-000123";
  }
  void TearDown() override { TSingleton::DestroyInstance<TSettings>(); }
  TSettings& S() { return TSettings::GetInstance(); }

  void Load(const std::string& text) {
    test::WriteFile(dir / "RightList.txt", text);
    S().TerrCodeRightListLoadFromFile((dir / "RightList.txt").string());
  }
  std::string SaveAndRead() {
    S().TerrCodeRightListSaveToFile((dir / "RightList.txt").string());
    return test::ReadFile(dir / "RightList.txt");
  }
  bool Right(const std::string& code, int year, int period, TDate begin = 0, TDate end = 0) {
    return S().hasNordRight(code, begin, end, year, period);
  }

  test::TempDir dir;
};

TEST_F(RightsListTest, ReadsEightFiveAndNoFlagsAndBothDateForms) {
  Load("099-001-000123/11000000\r\n099001/00111110 01.01.2015 31.12.2019\r\n099/11111\r\n099001\r\n\r\n");
  ASSERT_EQ(S().FTerrCodeRightList.size(), 5u);
  const TTerritoryCode& a = *S().FTerrCodeRightList[0];
  EXPECT_EQ(a.FNum, "099-001-000123");
  EXPECT_TRUE(a.FMKS && a.FRKS);
  EXPECT_FALSE(a.FCZ1 || a.FCountry);
  EXPECT_TRUE(a.FDateBegin.empty() && a.FDateEnd.empty());
  const TTerritoryCode& b = *S().FTerrCodeRightList[1];
  EXPECT_EQ(b.FNum, "099001");
  EXPECT_TRUE(b.FCZ1 && b.FCZ3 && b.FCZ4 && b.FCZ5 && b.FCZ6);
  EXPECT_FALSE(b.FMKS || b.FCountry);
  EXPECT_EQ(b.FDateBegin, "01.01.2015");
  EXPECT_EQ(b.FDateEnd, "31.12.2019");
  const TTerritoryCode& c = *S().FTerrCodeRightList[2];
  EXPECT_TRUE(c.FMKS && c.FRKS && c.FCZ1 && c.FCZ3 && c.FCZ4);
  EXPECT_FALSE(c.FCZ5 || c.FCZ6 || c.FCountry);
  const TTerritoryCode& d = *S().FTerrCodeRightList[3];  // a bare code allows everything, undated
  EXPECT_EQ(d.FNum, "099001");
  EXPECT_TRUE(d.FMKS && d.FCountry && d.FCZ6);
  EXPECT_TRUE(d.FDateBegin.empty());
  EXPECT_TRUE(S().FTerrCodeRightList[4]->FNum.empty());  // an empty line is an entry too
  EXPECT_EQ(S().TerrCodeRightListGetList(),
            (std::vector<std::string>{"099-001-000123", "099001", "099", "099001", ""}));
}

TEST_F(RightsListTest, SavingWritesEightFlagsAndTenBlanksForAnUnsetDate) {
  Load("099/11111\r\n099002/10000000           31.12.2019\r\n099003/01000000 01.01.2015\r\n");
  // The end-only line reads back with an empty begin date.
  EXPECT_TRUE(S().FTerrCodeRightList[1]->FDateBegin.empty());
  EXPECT_EQ(S().FTerrCodeRightList[1]->FDateEnd, "31.12.2019");
  EXPECT_EQ(S().FTerrCodeRightList[2]->FDateBegin, "01.01.2015");
  EXPECT_TRUE(S().FTerrCodeRightList[2]->FDateEnd.empty());
  EXPECT_EQ(SaveAndRead(),
            "099/11111000\r\n099002/10000000            31.12.2019\r\n099003/01000000 01.01.2015           \r\n");
  // What was saved reads back to the same entries.
  S().FTerrCodeRightList.clear();
  S().TerrCodeRightListLoadFromFile((dir / "RightList.txt").string());
  EXPECT_TRUE(Trim(S().FTerrCodeRightList[1]->FDateBegin).empty());
  EXPECT_EQ(S().FTerrCodeRightList[1]->FDateEnd, "31.12.2019");
  EXPECT_EQ(S().FTerrCodeRightList[2]->FDateBegin, "01.01.2015");
  EXPECT_TRUE(Trim(S().FTerrCodeRightList[2]->FDateEnd).empty());
}

TEST_F(RightsListTest, MalformedFlagsRaise) {
  EXPECT_THROW(Load("099/1x111\r\n"), EConvertError);
  EXPECT_THROW(Load("099/111\r\n"), EConvertError);
}

TEST_F(RightsListTest, NormalModeAsksForAnyValidEntryOfTheEmployer) {
  Load("099/11111111\r\n");
  EXPECT_TRUE(Right("МКС", 2020, 0));
  EXPECT_TRUE(Right("СЕЛО", -1, -1));
  S().FRegNum = "098-001-000123";
  EXPECT_FALSE(Right("МКС", 2020, 0));
}

TEST_F(RightsListTest, ValidityMustOverlapTheReportingWindow) {
  Load("099/11000000 01.07.2020\r\n");
  EXPECT_FALSE(Right("all", 2020, 2));  // period 2 ends on 30 June, before the right begins
  EXPECT_TRUE(Right("all", 2020, 3));
  EXPECT_TRUE(Right("all", 2020, 0));
  EXPECT_TRUE(Right("all", -1, -1));  // no period given: no date test at all
  EXPECT_FALSE(Right("all", 2019, 0));
}

TEST_F(RightsListTest, ExtendedModeAsksForTheCodeAndTheWorkPeriod) {
  S().FCompareTerrCodesExtMode = true;
  Load("099/10000000\r\n");
  const TDate march = EncodeDate(2020, 3, 1);
  const TDate may = EncodeDate(2020, 5, 31);
  EXPECT_TRUE(Right("МКС", 2020, 0, march, may));
  EXPECT_FALSE(Right("РКС", 2020, 0, march, may));
  EXPECT_FALSE(Right("ПРОЧЕЕ", 2020, 0, march, may));
  EXPECT_TRUE(Right("all", 2020, 0));
  S().FTerrCodeRightList.clear();
  Load("099/11111111 01.01.2015\r\n");
  EXPECT_FALSE(Right("all", 2020, 0));  // the right begins after the replaced work period's start
  EXPECT_TRUE(Right("МКС", 2020, 0, march, may));
  EXPECT_FALSE(Right("МКС", 2020, 0, EncodeDate(2014, 1, 1), may));
}

TEST_F(RightsListTest, BadDateRaisesWhenItIsNeeded) {
  Load("099/11111111 32.01.2020\r\n");
  EXPECT_TRUE(Right("all", -1, -1));
  EXPECT_THROW(Right("all", 2020, 0), EConvertError);
  EXPECT_THROW(Right("all", 2020, 7), EConvertError);
}

}  // namespace
}  // namespace morvel
