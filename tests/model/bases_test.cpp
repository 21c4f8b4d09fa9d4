#include <gtest/gtest.h>

#include "config/classifiers.h"
#include "model/bases.h"
#include "model/work_period.h"

namespace morvel {
namespace {

TEST(BasesTest, SortedWithoutDuplicatesIgnoringCase) {
  TBases b;
  EXPECT_TRUE(b.Add("27-ГД"));
  EXPECT_TRUE(b.Add("27-1"));
  EXPECT_FALSE(b.Add("27-1"));
  EXPECT_FALSE(b.Add("27-гд"));
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b.DelimitedText(), "27-1,27-ГД");
  EXPECT_EQ(b[1], "27-ГД");  // the first spelling stays
  EXPECT_TRUE(b.Contains("27-Гд"));
}

TEST(BasesTest, QuotesCodesWithBlanksQuotesOrDelimiters) {
  TBases b;
  b.Add("Б В");
  b.Add("А\"Б");
  b.Add("В,Г");
  b.Add("Г");
  EXPECT_EQ(b.DelimitedText(), "\"А\"\"Б\",\"Б В\",\"В,Г\",Г");

  TBases back;
  back.Add("старый");
  back.SetDelimitedText(b.DelimitedText());
  EXPECT_EQ(back.DelimitedText(), b.DelimitedText());
  EXPECT_FALSE(back.Contains("старый"));

  back.SetDelimitedText(" 27-2 ,, 27-1 27-3,");  // blanks separate too; empty codes are dropped
  EXPECT_EQ(back.DelimitedText(), "27-1,27-2,27-3");

  TCodeSet wc(';');
  wc.Add("3.1");
  wc.Add("2");
  wc.Add("a;b");
  EXPECT_EQ(wc.DelimitedText(), "2;3.1;\"a;b\"");
}

TEST(BasesTest, HasBasesIsASubstringTest) {
  TBases b;
  b.Add("27-10");
  EXPECT_TRUE(b.HasBases("27-1"));
  EXPECT_FALSE(b.HasBases("27-2"));
  b.Add("27-ГД");
  TBases probe;  // "27-10,27-Г" stands inside "27-10,27-ГД"
  probe.Add("27-Г");
  probe.Add("27-10");
  EXPECT_TRUE(b.HasBases(probe));
  TBases probe2;  // "27-1,27-ГД" does not
  probe2.Add("27-ГД");
  probe2.Add("27-1");
  EXPECT_FALSE(b.HasBases(probe2));
}

TEST(BasesTest, AddReplacesOutdatedCodesButCopyingKeepsThem) {
  TClassifiers c;
  c.Add(TClassifierType::ctReplaceFrom, {"X1", "Y2", "Q"});
  c.Add(TClassifierType::ctReplaceTo, {"Y2", "Z3"});  // Q has no partner

  TBases raw;
  raw.Add("X1");  // no classifier installed yet: no replacement
  {
    TClassifiersScope scope(c);
    EXPECT_EQ(ReplaceByClassifier("X1"), "Z3");  // chained
    EXPECT_EQ(ReplaceByClassifier("Q-X1"), "Q-Z3");
    EXPECT_EQ(ReplaceByClassifier("x1"), "x1");  // case-sensitive

    TBases b;
    b.Add("X1");
    b.Add("Q");
    EXPECT_EQ(b.DelimitedText(), "Q,Z3");

    TBases copy(raw);
    EXPECT_EQ(copy.DelimitedText(), "X1");
    TBases all;
    all.AddStrings(raw);
    EXPECT_EQ(all.DelimitedText(), "X1");
    TBases parsed;
    parsed.SetDelimitedText("X1,Y2");
    EXPECT_EQ(parsed.DelimitedText(), "Z3");
  }
  EXPECT_EQ(ReplaceByClassifier("X1"), "X1");
}

TEST(BasesTest, ChangeHandlerStaysWithItsOwner) {
  int calls = 0;
  TBases owned;
  owned.SetOnChange([&] { ++calls; });
  owned.Add("А");
  EXPECT_EQ(calls, 1);
  owned.Add("А");  // ignored duplicate: no change
  EXPECT_EQ(calls, 1);
  owned.SetDelimitedText("Б,В,Г");
  EXPECT_EQ(calls, 2);  // one change for the whole text

  TBases copy(owned);
  copy.Add("Д");
  EXPECT_EQ(calls, 2);  // the copy has no handler
  TBases other;
  other.Add("Е");
  owned = other;
  EXPECT_EQ(calls, 3);  // the target keeps and runs its own
  other.Add("Ж");
  EXPECT_EQ(calls, 3);

  // Periods: assigning one period's bases to another changes only the target.
  auto a = std::make_shared<TWorkPeriod>();
  auto b = std::make_shared<TWorkPeriod>();
  a->Rate = 0.5;
  b->Rate = 0.5;
  TBases flight;
  flight.Add("САМОЛЕТ");
  b->Bases = flight;
  EXPECT_EQ(b->Rate, 1.0);
  EXPECT_EQ(a->Rate, 0.5);
  b->Rate = 0.5;
  a->Bases = std::move(b->Bases);
  EXPECT_EQ(a->Rate, 1.0);
  EXPECT_EQ(b->Rate, 0.5);
}

}  // namespace
}  // namespace morvel
