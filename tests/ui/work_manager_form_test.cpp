#include <gtest/gtest.h>

#include <QMainWindow>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "base/error.h"
#include "config/settings.h"
#include "log/logger.h"
#include "support/test_support.h"
#include "ui/main_window.h"
#include "ui/work_manager_form.h"

namespace morvel {
namespace {

class WorkManagerFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
    std::filesystem::create_directories(home / "Morvel");
    TSingleton::DestroyInstance<TSettings>();
    TSingleton::DestroyInstance<TLogger>();
  }
  void TearDown() override {
    TSingleton::DestroyInstance<TSettings>();
    TSingleton::DestroyInstance<TLogger>();
  }

  test::TempDir home;
  int argc = 1;
  char name[8] = "morvel";
  char* argv[2] = {name, nullptr};
};

TEST_F(WorkManagerFormTest, DestructionWritesTheConfigurationWithEveryKey) {
  test::WriteFile(home / "Morvel" / "MorvelConfig.ini", "[Options]\r\nWithList=0\r\n");
  {
    TWorkManagerForm manager(false, argc, argv);
    manager.TWorkManager::Prepare();
    manager.CreateWindows();
    ASSERT_NE(manager.MainWindow(), nullptr);
    EXPECT_EQ(manager.MainWindow()->windowTitle().toStdString(), "Морвель v" + TSettings::GetInstance().Version());
    EXPECT_EQ(TWorkManagerForm::Current(), &manager);
    TSettings::GetInstance().FRegNum = "099-001-000123";
  }
  EXPECT_EQ(TWorkManagerForm::Current(), nullptr);
  const std::string text = test::ReadFile(home / "Morvel" / "MorvelConfig.ini");
  const char* keys[][2] = {
      {"Directories", "Perech"},         {"Directories", "IS"},           {"Directories", "Report"},
      {"SummListServer", "Name"},        {"SummListServer", "Port"},      {"SummListServer", "App"},
      {"SummListServer", "Login"},       {"SummListServer", "Password"},  {"SummListServer", "SavePassw"},
      {"SummListServer", "GetLastList"}, {"SummListServer", "Connect"},   {"Variables", "Year"},
      {"Variables", "Period"},           {"Variables", "PENS"},           {"Options", "TerritoryControl"},
      {"Options", "TerritoryControlExtendedMode"},                        {"Options", "Staff"},
      {"Options", "NameList"},           {"Options", "Accumulate"},       {"Options", "WithList"},
      {"Options", "Debug"},              {"Options", "CheckPerFormat"},   {"CrossListServer", "Login"},
      {"CrossListServer", "Password"},   {"CrossListServer", "Name"},     {"CrossListServer", "Port"},
      {"CrossListServer", "Base"},       {"CrossListServer", "DateLastUpdate"},
      {"CrossListServer", "AutoUpdate"}, {"CrossListServer", "SavePassw"}};
  for (const auto& key : keys) {
    const std::size_t section = text.find(std::string("[") + key[0] + "]");
    ASSERT_NE(section, std::string::npos) << key[0];
    const std::size_t next = text.find("\r\n[", section + 1);
    const std::string body = text.substr(section, next == std::string::npos ? std::string::npos : next - section);
    EXPECT_NE(body.find(std::string("\r\n") + key[1] + "="), std::string::npos) << key[0] << "/" << key[1];
  }
  EXPECT_NE(text.find("WithList=0"), std::string::npos);  // the value read comes back
  EXPECT_TRUE(std::filesystem::exists(home / "Morvel" / "RightList.txt"));
  EXPECT_TRUE(std::filesystem::exists(home / "Morvel" / "CrossingList.txt"));
}

// A start that stops on a malformed line of one of the two lists leaves the
// user's three files exactly as they were: nothing read so far is written back.
TEST_F(WorkManagerFormTest, FailedStartLeavesConfigurationAndListsUntouched) {
  const std::string ini =
      "; my settings\r\n[Directories]\r\nIS=/home/clerk/is\r\n[Options]\r\nTerritoryControl=1\r\nStaff=1\r\n"
      "NameList=1\r\nWithList=1\r\nDebug=1\r\nCheckPerFormat=1\r\n";
  const std::string goodRights = "099/11000000\r\n045/11111111 01.01.2015 31.12.2020\r\n";
  const std::string badRights = "099/11000000\r\n045/1x111\r\n046/11111111\r\n";
  const std::string goodCrossing = "099-001-000001/099-001-000002/2019/3\r\n";
  const std::string badCrossing = "099-001-000001/099-001-000002/2019/3\r\nbroken line\r\n";
  const std::filesystem::path folder = home / "Morvel";
  for (const auto& [rights, crossing] : {std::pair{badRights, goodCrossing}, std::pair{goodRights, badCrossing}}) {
    test::WriteFile(folder / "MorvelConfig.ini", ini);
    test::WriteFile(folder / "RightList.txt", rights);
    test::WriteFile(folder / "CrossingList.txt", crossing);
    {
      TWorkManagerForm manager(false, argc, argv);
      EXPECT_THROW(manager.Prepare(), EConvertError);
      EXPECT_FALSE(manager.ConfigRead());
      EXPECT_EQ(manager.MainWindow(), nullptr);
    }
    EXPECT_EQ(test::ReadFile(folder / "MorvelConfig.ini"), ini);
    EXPECT_EQ(test::ReadFile(folder / "RightList.txt"), rights);
    EXPECT_EQ(test::ReadFile(folder / "CrossingList.txt"), crossing);
    TSingleton::DestroyInstance<TSettings>();
    TSingleton::DestroyInstance<TLogger>();
  }
}

TEST_F(WorkManagerFormTest, WindowedCheckAsksForTheListFolder) {
  TWorkManagerForm manager(false, argc, argv);
  TSettings& s = TSettings::GetInstance();
  s.FCompareWithList = true;
  s.FUseUL = false;
  s.FDirList = "";
  auto messages = manager.CheckSettings();
  EXPECT_EQ(messages.back(), "Перед началом сверки укажите путь к файлу Перечня!");
  s.FDirList = (home / "missing").string();
  messages = manager.CheckSettings();
  EXPECT_EQ(messages.back(), "Проверьте путь к файлу Перечня! Такого каталога не существует!");
  s.FUseUL = true;
  messages = manager.CheckSettings();
  EXPECT_NE(messages.back(), "Проверьте путь к файлу Перечня! Такого каталога не существует!");
}

}  // namespace
}  // namespace morvel
