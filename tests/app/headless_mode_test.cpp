// The real program in its headless mode, in a fresh data folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace morvel {
namespace {

class HeadlessModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataFolder = home.path() / "Morvel";
    std::filesystem::create_directories(dataFolder);
    std::filesystem::create_directories(isFolder);
    std::filesystem::create_directories(reportFolder);
  }

  void WriteConfig(const std::string& extra = "") {
    test::WriteFile(dataFolder / "MorvelConfig.ini", "[Options]\r\nDebug=1\r\n" + extra);
  }

  test::ProcessResult Run(const std::vector<std::string>& args) {
    return test::RunProcess(test::BuiltProgram("morvel"), args, {{"XDG_CONFIG_HOME", home.path().string()}});
  }

  std::string Log() const { return test::ReadLogs(dataFolder / "logs"); }

  test::TempDir home;
  test::TempDir work;
  std::filesystem::path dataFolder;
  std::filesystem::path isFolder = work / "is";
  std::filesystem::path reportFolder = work / "report";
};

TEST_F(HeadlessModeTest, BareSwitchFailsTheParameterCheckWithCode21) {
  WriteConfig();
  const test::ProcessResult r = Run({"bpi"});
  EXPECT_EQ(r.exitCode, 21) << r.output;
  const std::string log = Log();
  EXPECT_NE(log.find("[ОШИБКА] "), std::string::npos);
  EXPECT_NE(log.find(" Не найден рег. номер\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" ***возникли ошибки в параметрах сверки\r\n"), std::string::npos);
  EXPECT_NE(log.find(" Перед началом сверки укажите корректный регистрационный номер предприятия!\r\n"),
            std::string::npos);
  EXPECT_EQ(log.find("***программа запущена"), std::string::npos);  // dropped before the logger is set up
  EXPECT_FALSE(std::filesystem::exists(dataFolder / "RightList.txt"));  // the headless mode writes nothing
}

TEST_F(HeadlessModeTest, FolderArgumentGivesTheAlphabeticallyFirstNumber) {
  WriteConfig();
  test::WriteFile(isFolder / "a_0990020002.xml", "");
  test::WriteFile(isFolder / "b_0990010001.xml", "");
  const test::ProcessResult r = Run({"bpi", isFolder.string()});
  EXPECT_EQ(r.exitCode, 21) << r.output;
  const std::string log = Log();
  EXPECT_NE(log.find("---установленный рег. номер 0990010001\r\n"), std::string::npos) << log;
}

TEST_F(HeadlessModeTest, RegistrationNumberSwitchWithFoldersFromTheConfiguration) {
  WriteConfig("[Directories]\r\nIS=" + isFolder.string() + "\r\nReport=" + reportFolder.string() + "\r\n");
  const test::ProcessResult r = Run({"/bpi", "099-001-000123"});
  const std::string log = Log();
  EXPECT_NE(log.find("---установленный рег. номер 099-001-000123\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("***проверка параметров сверки\r\n"), std::string::npos);
  EXPECT_EQ(log.find("регистрационный номер"), std::string::npos) << log;
  EXPECT_EQ(log.find("Индивидуальных сведений"), std::string::npos) << log;
  EXPECT_EQ(log.find("протокол сверки!"), std::string::npos) << log;
  EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 21) << r.exitCode;
}

TEST_F(HeadlessModeTest, RegistrationNumberWithASpaceIsRefused) {
  WriteConfig("[Directories]\r\nIS=" + isFolder.string() + "\r\nReport=" + reportFolder.string() + "\r\n");
  const test::ProcessResult r = Run({"/bpi", "099 001"});
  EXPECT_EQ(r.exitCode, 21);
  EXPECT_NE(Log().find("Перед началом сверки укажите корректный регистрационный номер предприятия!"),
            std::string::npos);
}

// The number is part of the protocol's file name: a separator would put the
// protocol into another folder, a colon into an NTFS stream on Windows.
TEST_F(HeadlessModeTest, RegistrationNumberThatCannotStandInAFileNameIsRefused) {
  WriteConfig("[Directories]\r\nIS=" + isFolder.string() + "\r\nReport=" + reportFolder.string() + "\r\n");
  for (const char* number : {"099:001", "../../099-001", "099|001"}) {
    const test::ProcessResult r = Run({"/bpi", number});
    EXPECT_EQ(r.exitCode, 21) << number;
  }
  EXPECT_NE(Log().find("Перед началом сверки укажите корректный регистрационный номер предприятия!"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(work.path() / "report"));
  EXPECT_FALSE(std::filesystem::exists(work.path() / "099-001.html"));
}

TEST_F(HeadlessModeTest, MalformedTextListsEndAsCriticalErrorsWithoutACrash) {
  WriteConfig();
  test::WriteFile(dataFolder / "RightList.txt", "099/1x111\r\n");
  test::ProcessResult r = Run({"bpi"});
  EXPECT_EQ(r.exitCode, 29) << r.output;
  EXPECT_EQ(r.signal, 0);
  std::filesystem::remove(dataFolder / "RightList.txt");
  test::WriteFile(dataFolder / "CrossingList.txt", "A/B/x/1\r\n");
  r = Run({"bpi"});
  EXPECT_EQ(r.exitCode, 29) << r.output;
  EXPECT_EQ(r.signal, 0);
}

TEST_F(HeadlessModeTest, TempFolderOfTheDataFolderIsCleanedAtStart) {
  WriteConfig();
  test::WriteFile(dataFolder / "Temp" / "old.xml", "x");
  Run({"bpi"});
  EXPECT_FALSE(std::filesystem::exists(dataFolder / "Temp"));
}

TEST_F(HeadlessModeTest, PortableModeKeepsTheDataBesideTheProgram) {
  const std::filesystem::path programFolder = work / "program";
  std::filesystem::create_directories(programFolder);
  std::filesystem::copy_file(test::BuiltProgram("morvel"), programFolder / "morvel");
  // The shipped files go with the program: without the schema it would not start.
  for (const char* shipped : {"perech-vlmr.xsd", "perech-vlmr-additional.xml"}) {
    std::filesystem::copy_file(test::BuiltProgram(shipped), programFolder / shipped);
  }
  test::WriteFile(programFolder / "MorvelConfig.ini", "[Options]\r\nDebug=1\r\n");
  const test::ProcessResult r = test::RunProcess(programFolder / "morvel", {"bpi", isFolder.string(), "p"},
                                                 {{"XDG_CONFIG_HOME", home.path().string()}}, work.path());
  EXPECT_EQ(r.exitCode, 21);
  EXPECT_TRUE(std::filesystem::exists(programFolder / "logs"));
  EXPECT_FALSE(std::filesystem::exists(dataFolder / "logs"));
  // The third word "p" is also the report folder, which does not exist here.
  std::string log;
  for (const auto& e : std::filesystem::directory_iterator(programFolder / "logs")) log += test::ReadFile(e.path());
  EXPECT_NE(log.find("Проверьте путь, где будет сохраняться протокол сверки! Такого каталога не существует!"),
            std::string::npos);
}

}  // namespace
}  // namespace morvel
