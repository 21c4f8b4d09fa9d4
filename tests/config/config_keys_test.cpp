// The configuration file as a whole: the exact bytes a save produces, and every key
// of the table surviving a save and a new start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "base/dates.h"
#include "config/config_file.h"
#include "support/singletons.h"
#include "support/test_support.h"

namespace morvel {
namespace {

class ConfigKeysTest : public ::testing::Test {
 protected:
  TSettings& S() { return TSettings::GetInstance(); }
  std::vector<std::string> Read() {
    std::vector<std::string> lines;
    ReadConfigFile(dir.path(), S(), [&](const std::string& l) { lines.push_back(l); });
    return lines;
  }

  test::SingletonReset<TSettings> reset;
  test::TempDir dir;
};

// Every setting the file holds set away from its default.
void FillAwayFromDefaults(TSettings& s) {
  s.FDirList = "/lists";
  s.FDirPD = "/packs";
  s.FDirReport = "/reports";
  s.FULMachine = "velano";
  s.FULPort = "8080";
  s.FULAppName = "list5";
  s.FSaveULPass = true;
  s.FGetLastListFromUL = true;
  s.FULLogin = "UL";
  s.FULPass = "UP";
  s.FUseUL = true;
  s.FYear = 2016;
  s.FPeriod = 3;
  s.fPensOption = true;
  s.fCompareTerrCodes = true;
  s.FCompareTerrCodesExtMode = true;
  s.FCompareWithListStaff = false;
  s.FCompareWithListNameList = false;
  s.FAccumulateOption = true;
  s.FCompareWithList = false;
  s.FDebug = true;
  s.FCheckPerFormat = false;
  s.FCrossUserDB = "CU";
  s.FCrossPasswordDB = "CP";
  s.FCrossServerName = "lors";
  s.FCrossServerPort = "5432";
  s.FCrossServerBase = "base";
  s.FCrossDateLastUpdate = EncodeDate(2021, 3, 15);
  s.FCrossAutoUpdate = true;
  s.FCrossSavePass = true;
}

TEST_F(ConfigKeysTest, NewFileHasEveryKeyInItsPlace) {
  FillAwayFromDefaults(S());
  S().FSaveULPass = false;
  ASSERT_TRUE(WriteConfigFile(dir.path(), S()));
  EXPECT_EQ(test::ReadFile(dir / "MorvelConfig.ini"),
            "[Directories]\r\nPerech=/lists\r\nIS=/packs\r\nReport=/reports\r\n"
            "[SummListServer]\r\nName=velano\r\nPort=8080\r\nApp=list5\r\nSavePassw=0\r\nGetLastList=1\r\n"
            "Login=\r\nPassword=\r\nConnect=1\r\n"
            "[Variables]\r\nYear=2016\r\nPeriod=3\r\nPENS=1\r\n"
            "[Options]\r\nTerritoryControl=1\r\nTerritoryControlExtendedMode=1\r\nStaff=0\r\nNameList=0\r\n"
            "Accumulate=1\r\nWithList=0\r\nDebug=1\r\nCheckPerFormat=0\r\n"
            "[CrossListServer]\r\nLogin=CU\r\nPassword=CP\r\nName=lors\r\nPort=5432\r\nBase=base\r\n"
            "DateLastUpdate=15.03.2021\r\nAutoUpdate=1\r\nSavePassw=1\r\n");
}

TEST_F(ConfigKeysTest, EditedFileKeepsItsLayoutAndGainsMissingKeysAtTheirSectionsEnd) {
  test::WriteFile(dir / "MorvelConfig.ini",
                  "; by hand\r\n[directories]\r\nperech = /old\r\nNote=keep\r\n\r\n"
                  "[Options]\r\nDEBUG=1\r\n[Mine]\r\nx=1\r\n");
  Read();
  S().FDirList = "/new";
  ASSERT_TRUE(WriteConfigFile(dir.path(), S()));
  const std::string text = test::ReadFile(dir / "MorvelConfig.ini");
  EXPECT_EQ(text.substr(0, text.find("[SummListServer]")),
            "; by hand\r\n[directories]\r\nperech=/new\r\nNote=keep\r\nIS=/\r\nReport=/\r\n\r\n"
            "[Options]\r\nDEBUG=1\r\nTerritoryControl=0\r\nTerritoryControlExtendedMode=0\r\nStaff=1\r\n"
            "NameList=1\r\nAccumulate=0\r\nWithList=1\r\nCheckPerFormat=1\r\n[Mine]\r\nx=1\r\n");
}

TEST_F(ConfigKeysTest, EveryKeySurvivesASaveAndANewStart) {
  FillAwayFromDefaults(S());
  const std::filesystem::path folder = dir.path();
  ASSERT_TRUE(WriteConfigFile(folder, S()));
  TSingleton::DestroyInstance<TSettings>();
  const std::vector<std::string> log = Read();
  const TSettings& s = S();
  EXPECT_EQ(s.FDirList, "/lists");
  EXPECT_EQ(s.FDirPD, "/packs");
  EXPECT_EQ(s.FDirReport, "/reports");
  EXPECT_EQ(s.FULMachine + s.FULPort + s.FULAppName, "velano8080list5");
  EXPECT_TRUE(s.FSaveULPass && s.FGetLastListFromUL && s.FUseUL);
  EXPECT_EQ(s.FULLogin + s.FULPass, "ULUP");
  EXPECT_EQ(s.FYear, 2016);
  EXPECT_EQ(s.FPeriod, 3);
  EXPECT_TRUE(s.fPensOption && s.fCompareTerrCodes && s.FCompareTerrCodesExtMode && s.FAccumulateOption && s.FDebug);
  EXPECT_FALSE(s.FCompareWithListStaff || s.FCompareWithListNameList || s.FCompareWithList || s.FCheckPerFormat);
  EXPECT_EQ(s.FCrossUserDB + s.FCrossPasswordDB + s.FCrossServerName + s.FCrossServerPort + s.FCrossServerBase,
            "CUCPlors5432base");
  EXPECT_EQ(s.FCrossDateLastUpdate, EncodeDate(2021, 3, 15));
  EXPECT_TRUE(s.FCrossAutoUpdate && s.FCrossSavePass);
  EXPECT_EQ(log,
            (std::vector<std::string>{
                "---путь до файла настроек \"" + (folder / "MorvelConfig.ini").string() + "\"",
                "---путь до перечня \"/lists\"", "---путь до ИСов \"/packs\"",
                "---путь до места сохранения протоколов \"/reports\"",
                "---параметры подключения к Велано \"velano:8080/list5\"", "---fGetLastList \"-1\"",
                "---fPerechDBOption \"-1\"", "---fYear \"2016\"", "---fPeriod \"3\"", "---fTerritoryControl \"-1\"",
                "---fTerrCodeRightList \"" + (folder / "RightList.txt").string() + "\"", "---fStaffOption \"0\"",
                "---fNamesListOption \"0\"", "---fAccumulateOption \"-1\"", "---fMorvelWithList \"0\"",
                "---fDebug \"-1\"", "---CheckPerFormat \"0\""}));
}

TEST_F(ConfigKeysTest, FolderInAnotherScriptIsSavedAsUtf8AndComesBack) {
  const std::string folder = "/home/оператор/Отчёты Ωμέγα";
  Read();
  S().FDirReport = folder;
  ASSERT_TRUE(WriteConfigFile(dir.path(), S()));
  const std::string bytes = test::ReadFile(dir / "MorvelConfig.ini");
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_THAT(bytes, ::testing::HasSubstr("\r\nReport=" + folder + "\r\n"));
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  TSingleton::DestroyInstance<TSettings>();
  Read();
  EXPECT_EQ(S().FDirReport, folder);

  // Once every value has a windows-1251 form again, the file goes back to it.
  S().FDirReport = "/home/оператор/Отчёты";
  ASSERT_TRUE(WriteConfigFile(dir.path(), S()));
  EXPECT_THAT(test::ReadFile(dir / "MorvelConfig.ini"),
              ::testing::StartsWith("[Directories]\r\nPerech=/\r\nIS=/\r\nReport=/home/\xEE\xEF\xE5\xF0\xE0\xF2\xEE\xF0/"
                                    "\xCE\xF2\xF7\xB8\xF2\xFB\r\n"));
  TSingleton::DestroyInstance<TSettings>();
  Read();
  EXPECT_EQ(S().FDirReport, "/home/оператор/Отчёты");
}

TEST(ConfigKeys, TableNamesEachKeyOnceAndEverySettingOnce) {
  std::set<std::string> keys;
  for (const TConfigKey& k : ConfigKeys()) {
    EXPECT_TRUE(keys.insert(std::string(k.Section) + "/" + k.Key).second) << k.Section << "/" << k.Key;
  }
  EXPECT_EQ(keys.size(), 30u);
  const std::span<const TConfigKey> table = ConfigKeys();
  for (std::size_t i = 0; i < table.size(); ++i) {
    for (std::size_t j = i + 1; j < table.size(); ++j) {
      EXPECT_FALSE(table[i].Field == table[j].Field) << table[i].Key << " and " << table[j].Key;
    }
  }
}

}  // namespace
}  // namespace morvel
