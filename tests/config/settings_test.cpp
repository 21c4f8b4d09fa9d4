#include <gtest/gtest.h>

#include "base/dates.h"
#include "config/settings.h"
#include "log/logger.h"

namespace morvel {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { TSingleton::DestroyInstance<TSettings>(); }
  void TearDown() override { TSingleton::DestroyInstance<TSettings>(); }
  TSettings& S() { return TSettings::GetInstance(); }
};

TEST_F(SettingsTest, CreationReadsTheVersionAndStartsEmpty) {
  TSettings& s = S();
  EXPECT_EQ(&s, &TSettings::GetInstance());
  EXPECT_NE(static_cast<void*>(&s), static_cast<void*>(&TSingleton::GetInstance<TLogger>()));
  EXPECT_EQ(s.FExeData.ProductName, "Морвель");
  // Four dot-separated numbers, and the build date as dd.mm.yyyy.
  int dots = 0;
  for (char c : s.Version()) dots += c == '.';
  EXPECT_EQ(dots, 3);
  TDate buildDate = 0;
  EXPECT_TRUE(TryParseDate(s.AppDate(), "dd.mm.yyyy", '.', buildDate)) << s.AppDate();
  EXPECT_EQ(s.FMode, TMode::mWindow);
  EXPECT_TRUE(s.FTerrCodeRightList.empty());
  EXPECT_TRUE(s.FCrossList.empty());
}

TEST_F(SettingsTest, PeriodAsSzvCountsHalfYearsIn2010) {
  TSettings& s = S();
  s.FYear = 2010;
  const int expected[] = {1, 1, 1, 2, 2};
  for (int period = 0; period <= 4; ++period) {
    s.FPeriod = period;
    EXPECT_EQ(s.periodAsSZV(), expected[period]) << period;
  }
  s.FYear = 2011;
  s.FPeriod = 3;
  EXPECT_EQ(s.periodAsSZV(), 3);
}

TEST_F(SettingsTest, ProtocolFileName) {
  TSettings& s = S();
  s.FDirReport = "/out";
  s.FYear = 2024;
  s.FPeriod = 4;
  s.FAccumulateOption = true;
  s.FRegNum = "099-001-000123";
  EXPECT_EQ(s.GetProtocolFileName(), "/out/MORVEL-2024-4A-REGNO-099-001-000123");
  s.FYear = 0;
  s.FPeriod = 0;
  s.FAccumulateOption = false;
  EXPECT_EQ(s.GetProtocolFileName(), "/out/MORVEL-0-0-REGNO-099-001-000123");
  s.FYear = 2010;
  s.FPeriod = 4;
  EXPECT_EQ(s.GetProtocolFileName(), "/out/MORVEL-2010-2-REGNO-099-001-000123");
}

TEST(PeriodRoutines, QuarterBeginAndPeriodEnd) {
  EXPECT_EQ(PeriodQuarterBegin(2020, 2, 0), EncodeDate(2020, 4, 1));
  EXPECT_EQ(PeriodQuarterBegin(2020, 0, 0), EncodeDate(2020, 10, 1));
  EXPECT_EQ(PeriodQuarterBegin(2020, 7, 5), EncodeDate(2020, 3, 1));  // other periods use the month
  EXPECT_EQ(PeriodEndDate(2020, 0, 0), EncodeDate(2020, 12, 31));
  EXPECT_EQ(PeriodEndDate(2019, 1, 0), EncodeDate(2019, 3, 31));
  EXPECT_EQ(PeriodEndDate(2020, 9, 2), EncodeDate(2020, 2, 29));
}

TEST(PeriodRoutines, PeriodCodeToInt) {
  EXPECT_EQ(PeriodCodeToInt(""), 4);
  EXPECT_EQ(PeriodCodeToInt("0"), 4);
  EXPECT_EQ(PeriodCodeToInt("3"), 3);
  EXPECT_EQ(PeriodCodeToInt("12"), 12);
  EXPECT_EQ(PeriodCodeToInt("x"), 4);
}

TEST(PeriodRoutines, ReportPeriodToQuarterFollowsTheYearsTable) {
  EXPECT_EQ(ReportPeriodToQuarter(1995, 0), -1);
  EXPECT_EQ(ReportPeriodToQuarter(1996, 3), 3);
  EXPECT_EQ(ReportPeriodToQuarter(1996, 0), -1);
  EXPECT_EQ(ReportPeriodToQuarter(1999, 2), 2);
  EXPECT_EQ(ReportPeriodToQuarter(1999, 1), -1);
  EXPECT_EQ(ReportPeriodToQuarter(2001, 5), 1);
  EXPECT_EQ(ReportPeriodToQuarter(2001, 9), 4);
  EXPECT_EQ(ReportPeriodToQuarter(2001, 10), -1);
  EXPECT_EQ(ReportPeriodToQuarter(2005, 0), 4);
  EXPECT_EQ(ReportPeriodToQuarter(2005, 4), -1);
  EXPECT_EQ(ReportPeriodToQuarter(2010, 1), 2);
  EXPECT_EQ(ReportPeriodToQuarter(2010, 2), 4);
  EXPECT_EQ(ReportPeriodToQuarter(2012, 3), 3);
  EXPECT_EQ(ReportPeriodToQuarter(2014, 4), -1);
  EXPECT_EQ(ReportPeriodToQuarter(2015, 9), 3);
  EXPECT_EQ(ReportPeriodToQuarter(2025, 0), 4);
  EXPECT_EQ(ReportPeriodToQuarter(2025, 3), -1);
}

}  // namespace
}  // namespace morvel
