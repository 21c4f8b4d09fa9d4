#include <gtest/gtest.h>

#include "base/error.h"
#include "config/settings.h"
#include "support/test_support.h"

namespace morvel {
namespace {

class CrossingListTest : public ::testing::Test {
 protected:
  void SetUp() override { TSingleton::DestroyInstance<TSettings>(); }
  void TearDown() override { TSingleton::DestroyInstance<TSettings>(); }
  TSettings& S() { return TSettings::GetInstance(); }
  test::TempDir dir;
};

TEST_F(CrossingListTest, ChainsAreFollowedBackToTheNumberInForce) {
  S().CrossListAddElement("A", "B", 2019, 3);
  S().CrossListAddElement("B", "C", 2021, 1);
  S().FRegNum = "C";
  EXPECT_EQ(S().GetActualRegNum(2018, 4), "A");
  EXPECT_EQ(S().GetActualRegNum(2020, 2), "B");
  EXPECT_EQ(S().GetActualRegNum(2021, 1), "C");
  EXPECT_EQ(S().GetActualRegNum(2019, 3), "B");  // the crossing period belongs to the new number
  S().FRegNum = "X";
  EXPECT_EQ(S().GetActualRegNum(2000, 1), "X");
}

TEST_F(CrossingListTest, LaterRecordsOfOnePassSeeTheReplacedNumber) {
  S().CrossListAddElement("B", "C", 2021, 1);
  S().CrossListAddElement("A", "B", 2019, 3);
  S().FRegNum = "C";
  EXPECT_EQ(S().GetActualRegNum(2018, 1), "A");
}

TEST_F(CrossingListTest, ACycleEndsInsteadOfLoopingForEver) {
  S().CrossListAddElement("A", "B", 2030, 1);
  S().CrossListAddElement("B", "A", 2030, 1);
  S().FRegNum = "A";
  EXPECT_EQ(S().GetActualRegNum(2020, 1), "B");
}

TEST_F(CrossingListTest, FileRoundTripWithMixedNumberForms) {
  test::WriteFile(dir / "CrossingList.txt", "0990010001/099-002-000456/2019/3\r\n A / B /2020/1\r\n");
  S().CrossListLoadFromFile((dir / "CrossingList.txt").string());
  ASSERT_EQ(S().FCrossList.size(), 2u);
  EXPECT_EQ(S().FCrossList[0]->FSRegNum, "0990010001");
  EXPECT_EQ(S().FCrossList[0]->FERegNum, "099-002-000456");
  EXPECT_EQ(S().FCrossList[0]->FCrossYear, 2019);
  EXPECT_EQ(S().FCrossList[0]->FCrossPeriod, 3);
  EXPECT_EQ(S().FCrossList[1]->FSRegNum, "A");
  S().CrossListSaveToFile((dir / "CrossingList.txt").string());
  EXPECT_EQ(test::ReadFile(dir / "CrossingList.txt"), "0990010001/099-002-000456/2019/3\r\nA/B/2020/1\r\n");
}

TEST_F(CrossingListTest, MalformedLinesRaise) {
  for (const char* text : {"A/B/2019\r\n", "A/B/2019/x\r\n", "A/B/2019/3\r\n\r\nC/D/2020/1\r\n"}) {
    test::WriteFile(dir / "CrossingList.txt", text);
    EXPECT_THROW(S().CrossListLoadFromFile((dir / "CrossingList.txt").string()), EConvertError) << text;
  }
}

}  // namespace
}  // namespace morvel
