// The real program in its headless mode, in a fresh data folder.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

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

// A malformed line is quoted in the messages of the failure, but only its
// start: a line of megabytes must not be copied into the log, a trace and the
// caller's standard error.
TEST_F(HeadlessModeTest, AHugeMalformedLineIsQuotedOnlyInPart) {
  WriteConfig();
  test::WriteFile(dataFolder / "RightList.txt", "099/1" + std::string(std::size_t{10} << 20, 'x') + "\r\n");
  const test::ProcessResult r = Run({"bpi"});
  EXPECT_EQ(r.exitCode, 29);
  EXPECT_LT(r.output.size(), 4096u);
  EXPECT_NE(r.output.find("'1xxxxxxxx"), std::string::npos) << r.output.substr(0, 300);
  EXPECT_NE(r.output.find("(всего 10485761 байт)"), std::string::npos) << r.output.substr(0, 3000);
  std::uintmax_t written = 0;
  if (fs::exists(dataFolder / "logs")) {
    for (const auto& e : fs::recursive_directory_iterator(dataFolder / "logs")) written += fs::file_size(e.path());
  }
  EXPECT_LT(written, std::uintmax_t{64} << 10);
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

// The name a log started at that moment gets: the build date's prefix, then the
// local time to the millisecond.
std::string LogNameAt(const std::string& prefix, std::chrono::system_clock::time_point moment) {
  const std::time_t t = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&t, &local);
  const long long ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count() % 1000;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d.%02d.%02d.%03lld", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, ms);
  return prefix + "Log_" + buf + ".log";
}

// Headless runs of one user overlap, and some start in the same millisecond:
// each must keep a whole log of its own, and never replace a log of the same
// name that another run is writing. The logs of other runs are laid out for
// every millisecond of the next half minute, so each run here finds its name
// taken.
TEST_F(HeadlessModeTest, RunsThatStartTogetherEachKeepTheirOwnLog) {
  WriteConfig();
  const fs::path logs = dataFolder / "logs";
  Run({"/bpi", "099-001-000000"});
  std::string prefix;
  for (const auto& e : fs::directory_iterator(logs)) {
    const std::string name = e.path().filename().string();
    prefix = name.substr(0, name.find("Log_"));
  }
  ASSERT_FALSE(prefix.empty());
  fs::remove_all(logs);
  fs::create_directories(logs);
  const std::string othersLog = "[ИНФО] чужой запуск\r\n";
  std::set<std::string> others;
  const auto start = std::chrono::system_clock::now();
  for (int ms = 0; ms < 30000; ++ms) {
    const std::string name = LogNameAt(prefix, start + std::chrono::milliseconds(ms));
    if (others.insert(name).second) test::WriteFile(logs / name, othersLog);
  }

  constexpr int kRuns = 12;
  std::vector<std::future<test::ProcessResult>> runs;
  for (int i = 0; i < kRuns; ++i) {
    runs.push_back(std::async(std::launch::async, [this, i] { return Run({"/bpi", "099-001-00000" + std::to_string(i)}); }));
  }
  for (auto& run : runs) EXPECT_EQ(run.get().exitCode, 21);
  ASSERT_LT(std::chrono::system_clock::now() - start, std::chrono::seconds(30)) << "the runs ended after the laid-out names";

  std::set<std::string> numbers;
  int ownLogs = 0;
  for (const auto& e : fs::directory_iterator(logs)) {
    const std::string name = e.path().filename().string();
    const std::string text = test::ReadFile(e.path());
    if (others.count(name) != 0) {
      EXPECT_EQ(text, othersLog) << "the log of another run was replaced: " << name;
      continue;
    }
    ++ownLogs;
    EXPECT_EQ(text.compare(0, 3, "\xEF\xBB\xBF"), 0) << name;
    const std::string mark = " ---установленный рег. номер ";
    const std::size_t at = text.find(mark);
    ASSERT_NE(at, std::string::npos) << name;
    EXPECT_EQ(text.find(mark, at + 1), std::string::npos) << "one run per log: " << name;
    numbers.insert(text.substr(at + mark.size(), text.find("\r\n", at) - at - mark.size()));
  }
  EXPECT_EQ(ownLogs, kRuns);
  EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kRuns));
}

}  // namespace
}  // namespace morvel
