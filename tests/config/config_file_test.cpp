#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "base/dates.h"
#include "base/error.h"
#include "config/config_file.h"
#include "config/ini_file.h"
#include "support/test_support.h"

namespace morvel {
namespace {

TEST(IniFile, ReadsCaseInsensitivelyAndKeepsUnknownLinesOnSave) {
  test::TempDir dir;
  const auto path = dir / "a.ini";
  test::WriteFile(path, "; comment\r\n[Options]\r\nDebug = 1\r\nOther=x\r\n\r\n[Foreign]\r\nKey=\xC6\r\n");
  TIniFile ini(path.string());
  EXPECT_TRUE(ini.ReadBool("options", "DEBUG", false));
  EXPECT_EQ(ini.ReadString("Foreign", "Key", ""), "Ж");
  EXPECT_EQ(ini.ReadInteger("Options", "Other", 5), 5);
  EXPECT_FALSE(ini.Value("Options", "Missing"));
  ini.WriteBool("Options", "Debug", false);
  ini.WriteString("Options", "New", "Ё");
  ini.WriteInteger("Variables", "Year", 2020);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(test::ReadFile(path),
            "; comment\r\n[Options]\r\nDebug=0\r\nOther=x\r\nNew=\xA8\r\n\r\n[Foreign]\r\nKey=\xC6\r\n"
            "[Variables]\r\nYear=2020\r\n");
}

TEST(IniFile, BooleansReadAsDefaultUnlessInteger) {
  test::TempDir dir;
  test::WriteFile(dir / "a.ini", "[O]\r\nA=yes\r\nB=2\r\nC=0\r\nD=\r\n");
  TIniFile ini((dir / "a.ini").string());
  EXPECT_TRUE(ini.ReadBool("O", "A", true));
  EXPECT_FALSE(ini.ReadBool("O", "A", false));
  EXPECT_TRUE(ini.ReadBool("O", "B", false));
  EXPECT_FALSE(ini.ReadBool("O", "C", true));
  EXPECT_TRUE(ini.ReadBool("O", "D", true));
}

class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override { TSingleton::DestroyInstance<TSettings>(); }
  void TearDown() override { TSingleton::DestroyInstance<TSettings>(); }
  TSettings& S() { return TSettings::GetInstance(); }

  std::vector<std::string> Read() {
    std::vector<std::string> lines;
    ReadConfigFile(dir.path(), S(), [&](const std::string& l) { lines.push_back(l); });
    return lines;
  }

  test::TempDir dir;
};

TEST_F(ConfigFileTest, MissingFileGivesEveryDefault) {
  const std::vector<std::string> log = Read();
  TSettings& s = S();
  EXPECT_EQ(s.FDirList, DefaultFolderSetting());
  EXPECT_EQ(s.FDirPD, DefaultFolderSetting());
  EXPECT_EQ(s.FDirReport, DefaultFolderSetting());
  EXPECT_EQ(s.FULAppName, "list4");
  EXPECT_EQ(s.FYear, YearOf(Today()));
  EXPECT_EQ(s.FPeriod, 4);
  EXPECT_TRUE(s.FCompareWithListStaff);
  EXPECT_TRUE(s.FCompareWithListNameList);
  EXPECT_TRUE(s.FCompareWithList);
  EXPECT_TRUE(s.FCheckPerFormat);
  EXPECT_FALSE(s.FDebug || s.FUseUL || s.fCompareTerrCodes || s.FAccumulateOption || s.FSaveULPass);
  EXPECT_EQ(s.FCrossDateLastUpdate, 0);
  ASSERT_EQ(log.size(), 17u);
  EXPECT_EQ(log[0], "---путь до файла настроек \"" + (dir.path() / "MorvelConfig.ini").string() + "\"");
  EXPECT_EQ(log[4], "---параметры подключения к Велано \":/list4\"");
  EXPECT_EQ(log[5], "---fGetLastList \"0\"");
  EXPECT_EQ(log[11], "---fStaffOption \"-1\"");
  EXPECT_EQ(log[16], "---CheckPerFormat \"-1\"");
}

TEST_F(ConfigFileTest, ValuesAreReadAndCommandLineFoldersWin) {
  test::WriteFile(dir / "MorvelConfig.ini",
                  "[Directories]\r\nPerech=/l\r\nIS=/is\r\nReport=/r\r\n[SummListServer]\r\nName=srv\r\nPort=8080\r\n"
                  "App=app\r\nConnect=1\r\n[Variables]\r\nYear=2019\r\nPeriod=yes\r\n[Options]\r\nDebug=1\r\n"
                  "WithList=0\r\n[CrossListServer]\r\nDateLastUpdate=15.03.2021\r\nAutoUpdate=1\r\n");
  S().FDirPD = "/from-command-line";
  const std::vector<std::string> log = Read();
  TSettings& s = S();
  EXPECT_EQ(s.FDirList, "/l");
  EXPECT_EQ(s.FDirPD, "/from-command-line");
  EXPECT_EQ(s.FDirReport, "/r");
  EXPECT_TRUE(s.FUseUL);
  EXPECT_EQ(s.FYear, 2019);
  EXPECT_EQ(s.FPeriod, 4);  // a malformed value reads as the default
  EXPECT_TRUE(s.FDebug);
  EXPECT_FALSE(s.FCompareWithList);
  EXPECT_TRUE(s.FCrossAutoUpdate);
  EXPECT_EQ(s.FCrossDateLastUpdate, EncodeDate(2021, 3, 15));
  EXPECT_EQ(log[2], "---путь до ИСов \"/from-command-line\"");
  EXPECT_EQ(log[4], "---параметры подключения к Велано \"srv:8080/app\"");
  EXPECT_EQ(log[7], "---fYear \"2019\"");
}

TEST_F(ConfigFileTest, TextListsBesideTheFileAreLoadedAndAMalformedOneRaises) {
  test::WriteFile(dir / "RightList.txt", "099/11000000\r\n");
  test::WriteFile(dir / "CrossingList.txt", "A/B/2019/3\r\n");
  Read();
  EXPECT_EQ(S().FTerrCodeRightList.size(), 1u);
  EXPECT_EQ(S().FCrossList.size(), 1u);
  TSingleton::DestroyInstance<TSettings>();
  test::WriteFile(dir / "RightList.txt", "099/1x111\r\n");
  EXPECT_THROW(Read(), EConvertError);
}

TEST_F(ConfigFileTest, WriteSavesEveryKeyAndHidesCredentialsUnlessKept) {
  Read();
  S().FULLogin = "ENCODEDUSER";
  S().FULPass = "ENCODEDPASS";
  S().FSaveULPass = false;
  S().FCrossUserDB = "CU";
  S().FCrossSavePass = true;
  S().CrossListAddElement("A", "B", 2019, 3);
  ASSERT_TRUE(WriteConfigFile(dir.path(), S()));
  const std::string text = test::ReadFile(dir / "MorvelConfig.ini");
  for (const char* key :
       {"[Directories]\r\nPerech=", "\r\nIS=", "\r\nReport=", "[SummListServer]\r\nName=\r\n", "Port=", "App=list4",
        "SavePassw=0", "GetLastList=0", "Login=\r\n", "Password=\r\n", "Connect=0", "[Variables]\r\nYear=",
        "Period=4", "PENS=0", "[Options]\r\nTerritoryControl=0", "TerritoryControlExtendedMode=0", "Staff=1",
        "NameList=1", "Accumulate=0", "WithList=1", "Debug=0", "CheckPerFormat=1", "[CrossListServer]\r\nLogin=CU",
        "Name=", "Base=", "DateLastUpdate=30.12.1899", "AutoUpdate=0"}) {
    EXPECT_THAT(text, ::testing::HasSubstr(key)) << key;
  }
  EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("ENCODED")));
  EXPECT_EQ(test::ReadFile(dir / "CrossingList.txt"), "A/B/2019/3\r\n");
  EXPECT_EQ(test::ReadFile(dir / "RightList.txt"), "");
  // The saved file reads back to the same settings.
  TSingleton::DestroyInstance<TSettings>();
  Read();
  EXPECT_EQ(S().FCrossUserDB, "CU");
  EXPECT_TRUE(S().FULLogin.empty());
}

TEST_F(ConfigFileTest, WriteIntoAMissingFolderFailsAndKeepsOldFilesOtherwise) {
  EXPECT_FALSE(WriteConfigFile(dir / "missing", S()));
  test::WriteFile(dir / "MorvelConfig.ini", "[Options]\r\nDebug=1\r\n");
  std::filesystem::create_directory(dir / "MorvelConfig.ini.new~");  // blocks the new file
  test::WriteFile(dir / "MorvelConfig.ini.new~" / "x", "x");
  EXPECT_FALSE(WriteConfigFile(dir.path(), S()));
  EXPECT_EQ(test::ReadFile(dir / "MorvelConfig.ini"), "[Options]\r\nDebug=1\r\n");
}

// A save killed at any moment (the program ended from the task manager, the
// machine's session closed) leaves each of the three files whole: the old
// version or the new, never a truncated one that would lose the user's rights
// list or reset every option at the next start.
TEST_F(ConfigFileTest, ASaveKilledAtAnyMomentLeavesEachFileOldOrNew) {
  Read();
  // Big lists make each save take long enough to be killed in the middle of it.
  auto version = [this](bool second) {
    S().FDirPD = second ? "/packs/second" : "/packs/first";
    S().FCrossList.clear();
    for (int i = 0; i < 4000; ++i) {
      S().CrossListAddElement(second ? "B" + std::to_string(i) : "A" + std::to_string(i), "C", 2019, 3);
    }
  };
  const char* const names[] = {"MorvelConfig.ini", "CrossingList.txt", "RightList.txt"};
  std::vector<std::string> saved[2];
  for (int v = 1; v >= 0; --v) {
    version(v == 1);
    ASSERT_TRUE(WriteConfigFile(dir.path(), S()));
    for (const char* name : names) saved[v].push_back(test::ReadFile(dir / name));
  }
  ASSERT_NE(saved[0][0], saved[1][0]);
  ASSERT_NE(saved[0][1], saved[1][1]);

  std::mt19937 random(20261209);
  for (int round = 0; round < 40; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) {
        version(i % 2 == 0);
        WriteConfigFile(dir.path(), S());
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    for (std::size_t f = 0; f < std::size(names); ++f) {
      const std::string now = test::ReadFile(dir / names[f]);
      EXPECT_TRUE(now == saved[0][f] || now == saved[1][f])
          << names[f] << " is neither version after round " << round << " (" << now.size() << " bytes)";
    }
  }
  // A temporary file left by a killed save does not stand in the way of the next.
  version(true);
  ASSERT_TRUE(WriteConfigFile(dir.path(), S()));
  EXPECT_EQ(test::ReadFile(dir / "MorvelConfig.ini"), saved[1][0]);
}

}  // namespace
}  // namespace morvel
