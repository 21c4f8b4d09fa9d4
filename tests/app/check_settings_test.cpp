#include <gtest/gtest.h>

#include "app/work_manager.h"
#include "support/test_support.h"

namespace morvel {
namespace {

class CheckSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSingleton::DestroyInstance<TSettings>();
    TSettings& s = S();
    s.FRegNum = "099-001-000123";
    s.FDirPD = dir.path().string();
    s.FDirReport = dir.path().string();
    s.FCompareWithList = true;
    s.FCompareWithListStaff = true;
    s.FCompareWithListNameList = true;
    s.FUseUL = true;
    s.FULMachine = "127.0.0.1";
    s.FULPort = "8080";
    s.FULAppName = "list4";
    s.FHasXMLClassifiers = true;
  }
  void TearDown() override { TSingleton::DestroyInstance<TSettings>(); }
  TSettings& S() { return TSettings::GetInstance(); }
  test::TempDir dir;
};

TEST_F(CheckSettingsTest, UsableParametersGiveNoMessage) {
  TWorkManager manager(false);
  EXPECT_TRUE(manager.CheckSettings().empty());
  TWorkManagerBPI bpi(false);
  EXPECT_TRUE(bpi.CheckSettings().empty());
}

TEST_F(CheckSettingsTest, EveryBaseMessageInItsOrder) {
  TSettings& s = S();
  s.FRegNum = "";
  s.FULMachine = s.FULPort = s.FULAppName = "";
  s.FCompareWithListStaff = s.FCompareWithListNameList = false;
  s.FDirPD = "";
  s.FDirReport = (dir / "missing").string();
  s.FHasXMLClassifiers = false;
  TWorkManager manager(false);
  EXPECT_EQ(manager.CheckSettings(),
            (std::vector<std::string>{
                "Перед началом сверки укажите корректный регистрационный номер предприятия!",
                "Перед началом сверки укажите IP-адрес или имя сервера ПК \"Велано\"!",
                "Перед началом сверки укажите порт сервера ПК \"Велано\"!",
                "Перед началом сверки укажите имя приложения ПК \"Велано\"!",
                "Перед началом сверки укажите путь к файлам Индивидуальных сведений!",
                "Проверьте путь, где будет сохраняться протокол сверки! Такого каталога не существует!",
                "Выберите хотя бы одну из опций сверки (Сверка ИС с Перечнем по позициям штатного расписания и/или "
                "Сверка ИС с поименным списком к Перечню)!",
                "Невозможно найти файл perech-vlmr-additional.xml, переустановите ПО!"}));
}

TEST_F(CheckSettingsTest, NumberWithASpaceAndNoCheckSwitchedOn) {
  TSettings& s = S();
  s.FRegNum = "099 001";
  s.FCompareWithList = false;
  s.fCompareTerrCodes = false;
  s.FDirPD = (dir / "missing").string();
  s.FDirReport = "";
  TWorkManager manager(false);
  EXPECT_EQ(manager.CheckSettings(),
            (std::vector<std::string>{
                "Перед началом сверки укажите корректный регистрационный номер предприятия!",
                "Хоть один из параметров должен быть включенным: \"Проверка правомерности проставления терр. кодов\" "
                "или \"Делать сверку с Перечнем\"!",
                "Проверьте путь к файлам Индивидуальных сведений! Такого каталога не существует!",
                "Перед началом сверки укажите каталог, где будет сохраняться протокол сверки!"}));
  // Both messages for an empty number would be one problem twice: an empty number has no space.
  s.FRegNum = "";
  EXPECT_EQ(manager.CheckSettings().front(), "Перед началом сверки укажите корректный регистрационный номер предприятия!");
}

TEST_F(CheckSettingsTest, HeadlessAdditions) {
  TSettings& s = S();
  s.FUseUL = false;
  s.FAccumulateOption = true;
  s.FGetLastListFromUL = true;
  TWorkManagerBPI bpi(false);
  const std::vector<std::string> messages = bpi.CheckSettings();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].rfind("В режиме БПИ файл Перечня берется только из БД \"Велано ЛП\"", 0), 0u);
  EXPECT_EQ(messages[1], "В режиме БПИ опция \"Накопительным итогом\" не может быть использована!");
  EXPECT_EQ(messages[2], "В режиме БПИ опция \"Брать последний актуальный Перечень\" не может быть использована!");
}

}  // namespace
}  // namespace morvel
