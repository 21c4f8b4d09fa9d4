#include <gtest/gtest.h>

#include "config/rights_list.h"
#include "config/settings.h"
#include "results/check_results.h"
#include "support/singletons.h"
#include "verify_fixtures.h"

namespace morvel {
namespace {

using test::Find;
using test::Printed;

// The employer's territorial codes against its entries in the rights list, for
// the first quarter of 2021.
class TerrCodeCheckTest : public test::VerifyTest {
 protected:
  TerrCodeCheckTest() {
    S().FRegNum = "099-001-000123";
    S().fCompareTerrCodes = true;
    fSet.FYear = 2021;
    fSet.FPeriod = 1;
  }

  static TSettings& S() { return TSettings::GetInstance(); }

  static void AddRight(const std::string& line) {
    S().FTerrCodeRightList.push_back(std::make_unique<TTerritoryCode>(TTerritoryCode::FromLine(line)));
  }

  // A coded period of a person of the pack, as the pack reader collects it.
  std::shared_ptr<TWorkPeriod> AddCode(const std::string& code, TDate start, TDate finish,
                                       const std::string& sn = "111-111-111 11") {
    auto worker = Person(sn);
    auto period = AddPeriod(*worker, start, finish, {"27-1"});
    period->TerritoryCondition = code;
    period->TerritoryCoeff = "1.5";
    fVerification.fTerrCodes.push_back(std::make_unique<TTerrCodeData>(period, worker));
    return period;
  }

  // The territorial condition of each reported period, in order.
  std::vector<std::string> Reported() const {
    std::vector<std::string> codes;
    if (auto* table = Find<TTerrCodeErrors>(fVerification.FErrorResults)) {
      for (const auto& record : table->Records()) codes.push_back(record->FWorkPeriod_PD->TerritoryCondition);
    }
    return codes;
  }

  bool Warned() const { return Find<TTerrCodeWarning>(fVerification.fWarningResults) != nullptr; }

  void Check() { fVerification.verifyTerrCodes(fSet); }

  test::SingletonReset<TSettings> fSettingsReset;
  TSet fSet;
  TVerification fVerification;
};

TEST_F(TerrCodeCheckTest, SwitchedOffNothingAtAll) {
  S().fCompareTerrCodes = false;
  AddCode("МКС", D(2021, 1, 1), D(2021, 3, 31));
  Check();
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.fWarningResults.empty());
  EXPECT_FALSE(fVerification.FoundTerrCodes);
}

TEST_F(TerrCodeCheckTest, RightWithoutCodesIsAWarningOnly) {
  // Valid from 2019 to 2022: it overlaps the quarter.
  AddRight("099/11111111 01.01.2019 31.12.2022");
  Check();
  ASSERT_EQ(fVerification.fWarningResults.size(), 1u);
  auto* warning = Find<TTerrCodeWarning>(fVerification.fWarningResults);
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(warning->FPackNum, "all");
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_FALSE(fVerification.FoundTerrCodes);
}

TEST_F(TerrCodeCheckTest, RightThatEndedBeforeTheQuarterGivesNoWarning) {
  AddRight("099/11111111 01.01.2015 31.12.2019");
  Check();
  EXPECT_FALSE(Warned());
  EXPECT_TRUE(fVerification.FoundTerrCodes);
  EXPECT_TRUE(fVerification.FErrorResults.empty());
}

TEST_F(TerrCodeCheckTest, NormalModeEntryOfAnotherEmployerReportsEveryCode) {
  AddRight("098/11111111");
  AddCode("МКС", D(2021, 1, 1), D(2021, 1, 31));
  AddCode("РКС", D(2021, 2, 1), D(2021, 2, 28), "222-222-222 22");
  Check();
  EXPECT_EQ(Reported(), (std::vector<std::string>{"МКС", "РКС"}));
  EXPECT_TRUE(fVerification.FoundTerrCodes);
  EXPECT_FALSE(Warned());
}

TEST_F(TerrCodeCheckTest, NormalModeAnyEntryAllowsEveryCode) {
  // The flags and dates do not count without the extended mode.
  AddRight("099-001/00000 01.01.2010 31.12.2010");
  AddCode("МКС", D(2021, 1, 1), D(2021, 1, 31));
  Check();
  EXPECT_TRUE(Reported().empty());
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.FoundTerrCodes);
}

TEST_F(TerrCodeCheckTest, ExtendedModeWithoutAnyEntryReportsEveryCode) {
  S().FCompareTerrCodesExtMode = true;
  AddCode("МКС", D(2021, 1, 1), D(2021, 1, 31));
  AddCode("СЕЛО", D(2021, 2, 1), D(2021, 2, 28));
  Check();
  EXPECT_EQ(Reported(), (std::vector<std::string>{"МКС", "СЕЛО"}));
}

TEST_F(TerrCodeCheckTest, ExtendedModeEntryForMksOnly) {
  S().FCompareTerrCodesExtMode = true;
  AddRight("099/10000000 01.01.2020 31.12.2021");
  AddCode("РКС", D(2021, 1, 1), D(2021, 1, 31));
  AddCode("МКС", D(2021, 2, 1), D(2021, 2, 28));
  // МКС, but the work began before the right did.
  AddCode("МКС", D(2019, 12, 1), D(2020, 1, 31));
  Check();
  EXPECT_EQ(Reported(), (std::vector<std::string>{"РКС", "МКС"}));
  auto* table = Find<TTerrCodeErrors>(fVerification.FErrorResults);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->GetRecord(1).FWorkPeriod_PD->Start, D(2019, 12, 1));
  // A dated entry does not cover the far past that "all" asks about.
  EXPECT_FALSE(Warned());
}

TEST_F(TerrCodeCheckTest, ExtendedModeUndatedEntryWithoutCodesWarns) {
  S().FCompareTerrCodesExtMode = true;
  AddRight("099/10000000");
  Check();
  EXPECT_TRUE(Warned());
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_FALSE(fVerification.FoundTerrCodes);
}

TEST_F(TerrCodeCheckTest, ExtendedModeDatedEntryWithoutCodesNeitherWarnsNorReports) {
  S().FCompareTerrCodesExtMode = true;
  AddRight("099/10000000 01.01.2015 31.12.2030");
  Check();
  EXPECT_TRUE(fVerification.fWarningResults.empty());
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.FoundTerrCodes);
}

TEST_F(TerrCodeCheckTest, BadDateInTheRightsListReachesTheCaller) {
  AddRight("099/11111111 32.01.2019 31.12.2022");
  AddCode("МКС", D(2021, 1, 1), D(2021, 1, 31));
  EXPECT_ANY_THROW(Check());
  EXPECT_TRUE(fVerification.FErrorResults.empty());
}

// The table as the protocol prints it, written out from its chapter, title,
// header and the row of the period.
TEST_F(TerrCodeCheckTest, ErrorTableHtml) {
  auto period = AddCode("Ч31", D(2021, 1, 1), D(2021, 3, 31), "123-456-789 00");
  fVerification.fTerrCodes.back()->FWorker_PD->PackNum = "<15>";
  period->TerritoryCoeff = "1.7";
  Check();
  auto* table = Find<TTerrCodeErrors>(fVerification.FErrorResults);
  ASSERT_NE(table, nullptr);
  const std::string expected =
      "<h3 style=\"text-align:center\">1. Проверка правомерности проставления территориальных условий</h3>\n"
      "<b>Таблица 1.1 Неправомерное проставление территориальных условий</b><br/>\n"
      "<table id=\"TTerrCodeErrors\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n"
      " <td colspan=\"\"  rowspan=\"\">№ пачки</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Страховое свидетельство</td>\n"
      " <td colspan=\"\"  rowspan=\"\">ФИО</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Период</td>\n"
      " <td colspan=\"\"  rowspan=\"\">ТУ</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Коэффициент</td>\n"
      " </tr>\n"
      "<tr>\n"
      "<td>&lt;15&gt;</td>\n"
      "<td>123-456-789 00</td>\n"
      "<td>ИВАНОВ П.С.</td>\n"
      "<td>01.01.2021 - 31.03.2021</td>\n"
      "<td>Ч31</td>\n"
      "<td>1.7</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 1</b></div><br/>\n";
  EXPECT_EQ(Printed(*table), expected);
}

}  // namespace
}  // namespace morvel
