#include <gtest/gtest.h>

#include "base/dates.h"
#include "config/classifiers.h"
#include "model/add_pd_data.h"
#include "model/work_period.h"

namespace morvel {
namespace {

class AddPdDataTest : public ::testing::Test {
 protected:
  AddPdDataTest() {
    c.Add(TClassifierType::ctAddPdData, {"ДЕКРЕТ", "ДЕТИ", "ВРНЕТРУД", "АДМИНИСТР"});
    c.Add(TClassifierType::ctAddPdDataRsv, {"ВРНЕТРУД", "ДЕКРЕТ", "НЕТТАКОГО"});
  }
  TClassifiers c;
  TClassifiersScope scope{c};
};

TEST_F(AddPdDataTest, SetAndToStringFollowClassifierOrder) {
  TAddPdData d(nullptr);
  EXPECT_EQ(d.Length(), 4);
  EXPECT_FALSE(d.HasData());
  EXPECT_EQ(d.ToString(), "");
  EXPECT_TRUE(d.Set("ДЕТИ"));
  EXPECT_EQ(d.ToString(), "ДЕТИ");
  EXPECT_TRUE(d.Set("декрет"));  // the classifier is searched ignoring case
  EXPECT_EQ(d.ToString(), "ДЕКРЕТ, ДЕТИ");
  EXPECT_EQ(d.ToArray(), (std::vector<std::string>{"ДЕКРЕТ", "ДЕТИ"}));
  EXPECT_FALSE(d.Set("ВАХТА"));
  EXPECT_EQ(d.ToString(), "ДЕКРЕТ, ДЕТИ");
  EXPECT_TRUE(d.HasData());

  EXPECT_TRUE(d.ValueByIndex(1));
  EXPECT_FALSE(d.ValueByIndex(2));
  EXPECT_FALSE(d.ValueByIndex(99));
  EXPECT_TRUE(d.ValueByName("Дети"));
  EXPECT_FALSE(d.ValueByName("ВАХТА"));
  EXPECT_TRUE(d.ValueByType(TAddPdDataEnum::epdParentalLeave));
  EXPECT_FALSE(d.ValueByType(TAddPdDataEnum::epdLongChildren));  // not in the classifier
  EXPECT_EQ(d.NameByIndex(3), "АДМИНИСТР");
  EXPECT_EQ(d.NameByIndex(4), "");
  EXPECT_EQ(TAddPdData::NameByType(TAddPdDataEnum::epdLongLeave), "ДЛОТПУСК");
  EXPECT_EQ(TAddPdData::NameByType(TAddPdDataEnum::epdAddVacation), "ДЛОТПУСК");
  EXPECT_EQ(TAddPdData::NameByType(TAddPdDataEnum::epdDispr), "ДИСПР");
}

TEST_F(AddPdDataTest, MergeIsAUnionAndEqualsComparesEveryFlag) {
  TAddPdData a(nullptr), b(nullptr);
  EXPECT_TRUE(a.Equals(b));
  a.Set("ДЕКРЕТ");
  EXPECT_FALSE(a.Equals(b));
  EXPECT_FALSE(b.Equals(a));
  b.Set("ВРНЕТРУД");
  a.Merge(b);
  EXPECT_EQ(a.ToString(), "ДЕКРЕТ, ВРНЕТРУД");
  EXPECT_EQ(b.ToString(), "ВРНЕТРУД");
  b.Set("ДЕКРЕТ");
  EXPECT_TRUE(a.Equals(b));

  // Assigning copies the flags but keeps the data bound to its own period.
  auto p = std::make_shared<TWorkPeriod>();
  p->AddPdData = a;
  EXPECT_EQ(p->AddPdData.ToString(), "ДЕКРЕТ, ВРНЕТРУД");
  EXPECT_EQ(p->AddPdData.WorkPeriod(), p.get());
}

TEST_F(AddPdDataTest, DetailsNameThePeriod) {
  auto p = std::make_shared<TWorkPeriod>();
  p->Start = EncodeDate(2020, 2, 1);
  p->Finish = EncodeDate(2020, 2, 15);
  EXPECT_EQ(p->AddPdData.DetailByRSV(), "");
  EXPECT_EQ(p->AddPdData.DetailByName("ДЕКРЕТ"), "");
  p->AddPdData.Set("ДЕКРЕТ");
  p->AddPdData.Set("ДЕТИ");
  EXPECT_EQ(p->AddPdData.DetailByName("ДЕКРЕТ"), "01.02.2020 - 15.02.2020 (ДЕКРЕТ)");
  EXPECT_EQ(p->AddPdData.DetailByType(TAddPdDataEnum::epdChildren), "01.02.2020 - 15.02.2020 (ДЕТИ)");
  EXPECT_EQ(p->AddPdData.DetailByRSV(), "01.02.2020 - 15.02.2020 (ДЕКРЕТ)");
  p->AddPdData.Set("ВРНЕТРУД");
  EXPECT_EQ(p->AddPdData.DetailByRSV(),
            "01.02.2020 - 15.02.2020 (ВРНЕТРУД), 01.02.2020 - 15.02.2020 (ДЕКРЕТ)");
}

TEST(AddPdDataNoClassifierTest, WithoutAClassifierThereAreNoFlags) {
  TAddPdData d(nullptr);
  EXPECT_EQ(d.Length(), 0);
  EXPECT_FALSE(d.Set("ДЕКРЕТ"));
  EXPECT_EQ(d.DetailByRSV(), "");
}

}  // namespace
}  // namespace morvel
