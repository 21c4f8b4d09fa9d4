#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "base/error.h"
#include "log/logger.h"
#include "log/logging_object.h"
#include "support/test_support.h"

namespace morvel {
namespace {

class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override { TSingleton::DestroyInstance<TLogger>(); }
  void TearDown() override { TSingleton::DestroyInstance<TLogger>(); }

  TLogger& Logger() { return TSingleton::GetInstance<TLogger>(); }
  std::string LogFolder() const { return (dir.path() / "logs").string() + "/"; }

  std::vector<std::filesystem::path> FilesIn(const std::string& folder) const {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(folder)) return files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) files.push_back(e.path());
    return files;
  }

  test::TempDir dir;
};

TEST_F(LoggerTest, SingletonsAreOnePerClass) {
  TLogger& a = TSingleton::GetInstance<TLogger>();
  TLogger& b = TSingleton::GetInstance<TLogger>();
  EXPECT_EQ(&a, &b);
  TSingleton::DestroyInstance<TLogger>();
  EXPECT_FALSE(TSingleton::GetInstance<TLogger>().Initialized());  // a fresh one after destruction
}

TEST_F(LoggerTest, EntriesBeforeInitAreDropped) {
  Logger().AddEntry("***программа запущена в оконном режиме", true);
  Logger().Init(LogFolder(), true, "01.02.2025");
  EXPECT_TRUE(FilesIn(LogFolder()).empty());
  EXPECT_TRUE(Logger().FileName().empty());
}

TEST_F(LoggerTest, WithoutDebugOnlyErrorsAreWrittenAndTheFirstErrorCreatesTheFile) {
  Logger().Init(LogFolder(), false, "01.02.2025");
  Logger().AddEntry("info before", false);
  EXPECT_TRUE(FilesIn(LogFolder()).empty());
  Logger().AddEntry("first error", true);
  Logger().AddEntry("info after", false);
  const auto files = FilesIn(LogFolder());
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].filename().string();
  EXPECT_TRUE(std::regex_match(name, std::regex(R"(01\.02\.2025Log_\d\d\.\d\d\.\d{4} \d\d\.\d\d\.\d\d\.\d{3}\.log)")))
      << name;
  EXPECT_EQ(files[0].string(), Logger().FileName());
  const std::string text = test::ReadFile(files[0]);
  EXPECT_TRUE(std::regex_match(
      text, std::regex("\xEF\xBB\xBF\\[ОШИБКА\\] \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d\\.\\d\\d\\.\\d\\d\\.\\d{3} first error\r\n")))
      << text;
}

TEST_F(LoggerTest, WithDebugEveryEntryIsWrittenInOrderAndFlushed) {
  Logger().Init(LogFolder(), true, "p");
  Logger().AddEntry("one", false);
  Logger().AddEntry("two", true);
  // Flushed after every entry: the file is complete while the logger still lives.
  const std::string text = test::ReadFile(Logger().FileName());
  const std::size_t one = text.find("[ИНФО] ");
  const std::size_t two = text.find("[ОШИБКА] ");
  ASSERT_NE(one, std::string::npos);
  ASSERT_NE(two, std::string::npos);
  EXPECT_LT(one, two);
  EXPECT_THAT(text, ::testing::HasSubstr(" one\r\n"));
  EXPECT_THAT(text, ::testing::HasSubstr(" two\r\n"));
}

[[gnu::noinline]] void ThrowFromDeepInside() { throw EMorvelError("первая строка\r\nвторая строка"); }

TEST_F(LoggerTest, ExceptionGoesToOneLogLineAndATraceFileWithTheThrowingStack) {
  Logger().Init(LogFolder(), false, "p");
  std::string traceName;
  try {
    ThrowFromDeepInside();
  } catch (const std::exception& e) {
    Logger().LogException(e, traceName);
  }
  ASSERT_FALSE(traceName.empty());
  EXPECT_THAT(traceName, ::testing::HasSubstr("pException_"));
  EXPECT_EQ(traceName.substr(traceName.size() - 6), ".trace");

  const std::string log = test::ReadFile(Logger().FileName());
  EXPECT_THAT(log, ::testing::HasSubstr("Произошла ошибка: первая строкавторая строка\r\n"));
  EXPECT_THAT(log, ::testing::HasSubstr("\r\n    0x"));  // stack lines: four blanks, no mark
  EXPECT_NE(log.find("Стек ошибки сохранён в файл " + traceName + ", направьте его разработчику."),
            std::string::npos);

  const std::string trace = test::ReadFile(traceName);
  EXPECT_EQ(trace.rfind("\xEF\xBB\xBFСообщение об ошибке: первая строка\r\nвторая строка\r\n", 0), 0u);
  // The stack is the one where the exception was thrown, resolved to function names.
  EXPECT_THAT(trace, ::testing::HasSubstr("ThrowFromDeepInside"));
}

// Every line of the log starts with a mark and a time, or is a stack line; a
// bare line feed or carriage return in a message must not start a line of its
// own.
TEST_F(LoggerTest, EveryEntryStaysOnOneLineWhateverBreaksItsTextHolds) {
  Logger().Init(LogFolder(), true, "p");
  Logger().AddEntry("a\nb\rc\r\nd", false);
  std::string traceName;
  Logger().LogException(EMorvelError("сервер ответил:\nстрока два\rстрока три\r\nконец"), traceName);
  const std::string log = test::ReadFile(Logger().FileName());
  EXPECT_THAT(log, ::testing::HasSubstr(" a b c d\r\n"));
  // The pairs are dropped as before; the bare breaks become blanks.
  EXPECT_THAT(log, ::testing::HasSubstr("Произошла ошибка: сервер ответил: строка два строка триконец\r\n"));
  std::size_t begin = log.find('\n') + 1;  // after the first line
  std::size_t lines = 0;
  while (begin < log.size()) {
    const std::size_t end = log.find("\r\n", begin);
    ASSERT_NE(end, std::string::npos);
    const std::string line = log.substr(begin, end - begin);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    EXPECT_TRUE(line.rfind("[ИНФО] ", 0) == 0 || line.rfind("[ОШИБКА] ", 0) == 0 || line.rfind("    ", 0) == 0)
        << line;
    begin = end + 2;
    ++lines;
  }
  EXPECT_GE(lines, 3u);
  // The trace file keeps the message as it was raised.
  EXPECT_THAT(test::ReadFile(traceName), ::testing::HasSubstr("сервер ответил:\nстрока два\rстрока три\r\nконец"));
}

TEST_F(LoggerTest, UninitialisedLoggerIgnoresExceptions) {
  std::string traceName = "unchanged";
  Logger().LogException(EMorvelError("x"), traceName);
  EXPECT_EQ(traceName, "unchanged");
}

TEST_F(LoggerTest, LoggingObjectsWriteThroughTheSingleton) {
  Logger().Init(LogFolder(), true, "p");
  TLoggingObject object;
  object.Log("через объект");
  object.LogError(EMorvelError("сбой"));
  const std::string log = test::ReadFile(Logger().FileName());
  EXPECT_THAT(log, ::testing::HasSubstr("[ИНФО] "));
  EXPECT_THAT(log, ::testing::HasSubstr(" через объект\r\n"));
  EXPECT_THAT(log, ::testing::HasSubstr("Произошла ошибка: сбой"));
}

TEST_F(LoggerTest, UncreatableLogFolderRaises) {
  test::WriteFile(dir / "file", "x");
  Logger().Init((dir / "file" / "logs").string() + "/", false, "p");
  EXPECT_THROW(Logger().AddEntry("x", true), EMorvelError);
}

}  // namespace
}  // namespace morvel
