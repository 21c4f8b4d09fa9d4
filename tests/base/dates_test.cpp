#include <gtest/gtest.h>

#include "base/dates.h"
#include "base/error.h"
#include "base/format_settings.h"

namespace morvel {
namespace {

TEST(Dates, DayNumbersKeepTheDelphiEpochAndRoundTrip) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2020, 3, 1) - EncodeDate(2020, 2, 28), 2);  // leap year
  EXPECT_EQ(EncodeDate(2021, 3, 1) - EncodeDate(2021, 2, 28), 1);
  int y, m, d;
  DecodeDate(EncodeDate(2099, 12, 31), y, m, d);
  EXPECT_EQ(y, 2099);
  EXPECT_EQ(m, 12);
  EXPECT_EQ(d, 31);
  EXPECT_THROW(EncodeDate(2019, 2, 29), EConvertError);
  EXPECT_EQ(EndOfMonth(2024, 2), EncodeDate(2024, 2, 29));
}

TEST(Dates, FormatsBothForms) {
  const TDate date = EncodeDate(2020, 4, 5);
  EXPECT_EQ(FormatDate("dd.mm.yyyy", date), "05.04.2020");
  EXPECT_EQ(FormatDate("yyyy-mm-dd", date), "2020-04-05");
}

TEST(Dates, ParsesStrictlyInThePatternsOrder) {
  TDate date = 0;
  EXPECT_TRUE(TryParseDate("31.12.2019", "dd.mm.yyyy", '.', date));
  EXPECT_EQ(date, EncodeDate(2019, 12, 31));
  EXPECT_TRUE(TryParseDate(" 1.2.2019 ", "dd.mm.yyyy", '.', date));
  EXPECT_EQ(date, EncodeDate(2019, 2, 1));
  EXPECT_EQ(StrToDateISO("2021-05-01"), EncodeDate(2021, 5, 1));
  EXPECT_FALSE(TryParseDate("2021-05-01", "dd.mm.yyyy", '.', date));
  EXPECT_FALSE(TryParseDate("31.02.2019", "dd.mm.yyyy", '.', date));
  EXPECT_FALSE(TryParseDate("01.01.2019x", "dd.mm.yyyy", '.', date));
  EXPECT_FALSE(TryParseDate("01.01", "dd.mm.yyyy", '.', date));
  EXPECT_FALSE(TryParseDate("", "dd.mm.yyyy", '.', date));
  EXPECT_THROW(StrToDateDMY("2019-01-01"), EConvertError);
}

TEST(Dates, ShortDateFormatOfTheProcessDecidesStrToDate) {
  SetFormatSettings(1);
  EXPECT_EQ(StrToDate("2020-01-02"), EncodeDate(2020, 1, 2));
  EXPECT_EQ(DateToStr(EncodeDate(2020, 1, 2)), "2020-01-02");
  SetFormatSettings(0);
  EXPECT_EQ(StrToDate("02.01.2020"), EncodeDate(2020, 1, 2));
  EXPECT_EQ(DateToStr(EncodeDate(2020, 1, 2)), "02.01.2020");
}

TEST(Dates, LogTimeStampHasTheLogForm) {
  const std::string stamp = LogTimeStamp();
  ASSERT_EQ(stamp.size(), 23u);  // dd.mm.yyyy hh.nn.ss.zzz
  EXPECT_EQ(stamp[2], '.');
  EXPECT_EQ(stamp[10], ' ');
  EXPECT_EQ(stamp[13], '.');
  EXPECT_EQ(stamp[19], '.');
}

}  // namespace
}  // namespace morvel
