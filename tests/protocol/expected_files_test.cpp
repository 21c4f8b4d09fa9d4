// Whole protocols against files written by hand, line by line, from what the
// protocol must hold.
#include "base/exit_code.h"
#include "protocol_fixture.h"
#include "results/pack_results.h"

namespace morvel::test {
namespace {

class ExpectedProtocolTest : public ProtocolTest {};

TEST_F(ExpectedProtocolTest, NoFilesGivesTheShortProtocolOfCode10) {
  S().FMode = TMode::mBPI;
  S().FCompareWithList = true;
  S().FCompareWithListStaff = true;
  S().FCompareWithListNameList = true;
  const std::string file = Writer()->printBadProtocol(fSearchErrors, 10);
  EXPECT_EQ(file, (Report() / "MORVEL-0-0-REGNO-087-001-000123.html").string());
  EXPECT_EQ(Normalized(file), Expected("bad-10.html"));
}

TEST_F(ExpectedProtocolTest, Code11PrintsTheRightsNoteAndEverySearchMessage) {
  S().FMode = TMode::mWindow;
  S().FYear = 2016;
  S().fCompareTerrCodes = true;
  auto right = std::make_unique<TTerritoryCode>();
  right->FNum = "087-001";
  right->FMKS = true;
  S().FTerrCodeRightList.push_back(std::move(right));
  fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Не удалось прочитать файл pack1.xml", true));
  // List errors of any year and period: the short protocol filters nothing.
  fSearchErrors.push_back(std::make_unique<TListError>("Ошибка перечня за 2015 год", 2015, 4, nullptr, false));
  const std::string file = Writer({{}, "2016", ""})->printBadProtocol(fSearchErrors, 11);
  EXPECT_EQ(file, (Report() / "MORVEL-2016-0-REGNO-087-001-000123.html").string());
  EXPECT_EQ(Normalized(file), Expected("bad-11.html"));
}

TEST_F(ExpectedProtocolTest, TwoSetsWithErrorsWarningsPacksAndTheirList) {
  S().FMode = TMode::mBPI;
  S().FYear = 2016;
  S().FPeriod = 2;
  S().FOrgName = "ООО \"Север & Юг\"";
  S().FCompareWithList = true;
  S().FCompareWithListStaff = true;
  SetExitCode(30);
  fSearchErrors.push_back(
      std::make_unique<TListError>("Перечень за 2016 год 2 период: позиция без кода", 2016, 2, nullptr, true));

  TTestSet second(2016, 2);
  auto positions = std::make_unique<TTestTable>("Список ошибок", "Позиции", true, "TPositionErrors");
  positions->FHeaderData = {{{"ФИО", "", ""}, {"Период", "", ""}}};
  positions->AddRecord(
      std::make_unique<TTextRecord>(std::vector<std::string>{"ИВАНОВ П.С.", "01.04.2016 - 30.06.2016"}));
  second.errors.push_back(std::move(positions));
  second.warnings.push_back(std::make_unique<TProtocolMessage>("Пачка 5: нет льготников", false));
  second.warnings.push_back(
      NamesTable("Список предупреждений", "Часы", false, "TFlightWarnings", {"ПЕТРОВ А.А.", "СИДОРОВ Б.Б."}));
  second.listData = std::make_unique<TListData>();
  second.listData->fFileName = "perechen<1>.xml";
  second.listData->fOrgName = "ООО \"Север\"";
  second.listErrors = std::make_unique<TProtocolMessageList>();
  second.listErrors->push_back(std::make_unique<TProtocolMessage>("Позиция 3 без кода", true));
  second.packs.FInitPacks.push_back(Pack("5", TPDType::pdtSZV64, "15.07.2016",
                                         "PFR-700-Y-2016-ORG-087-001-000123.XML", "ООО \"Север & Юг\"", "3", 2));
  second.packs.FCorrPacks.push_back(Pack("7", TPDType::pdtSZV62, "01.09.2016", "korr.xml"));

  TTestSet first(2016, 1);
  auto jumps = std::make_unique<TTestTable>("Список предупреждений", "Прыжки", false, "TJumpWarnings");
  jumps->FHeaderData = {{{"Лицо", "2", ""}}};
  jumps->AddRecord(std::make_unique<TTextRecord>(std::vector<std::string>{"КОЗЛОВ В.В.", "12"}));
  first.warnings.push_back(std::move(jumps));
  first.packs.FInitPacks.push_back(Pack("4", TPDType::pdtSZV64, "15.04.2016", "q1.xml", "ООО Север", "2", 0));

  auto writer = Writer();
  writer->formProtocolPart(second.Data());
  writer->formProtocolPart(first.Data());
  const std::string file = writer->PrintProtocol(2);
  EXPECT_EQ(file, (Report() / "MORVEL-2016-2-REGNO-087-001-000123.html").string());
  EXPECT_EQ(Normalized(file), Expected("two-sets.html"));
}

TEST_F(ExpectedProtocolTest, CleanCumulativeRunBefore2010InTheWindow) {
  S().FMode = TMode::mWindow;
  S().FYear = 2009;
  S().FPeriod = 3;
  S().FAccumulateOption = true;
  S().fPensOption = true;
  S().FOrgName = "Школа №1";
  S().FCompareWithList = true;
  S().FCompareWithListStaff = true;
  S().FCompareWithListNameList = true;
  S().fCompareTerrCodes = true;

  TTestSet set(2009, 3);
  set.packs.FInitPacks.push_back(Pack("1", TPDType::pdtSZV61, "20.10.2009", "school.xml"));
  auto writer = Writer({{}, "2009", "9 месяцев"});
  writer->formProtocolPart(set.Data());
  const std::string file = writer->PrintProtocol(1);
  EXPECT_EQ(file, (Report() / "MORVEL-2009-3A-REGNO-087-001-000123.html").string());
  EXPECT_EQ(Normalized(file), Expected("clean-2009.html"));
}

}  // namespace
}  // namespace morvel::test
