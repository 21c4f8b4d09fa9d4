// The platform functions and the encoding checks that decide how a file is saved.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>

#include "base/encoding.h"
#include "base/files.h"
#include "base/paths.h"
#include "base/platform.h"
#include "support/test_support.h"

namespace morvel {
namespace {

using ::testing::HasSubstr;

TEST(PathText, CyrillicAndGreekNamesGoThroughFileOperationsUnchanged) {
  test::TempDir dir;
  const std::string name = "Отчёты Ωμέγα";
  const std::filesystem::path folder = dir.path() / PathFromUtf8(name);
  std::filesystem::create_directory(folder);
  ASSERT_TRUE(WriteFileAtomically(folder / PathFromUtf8("файл.txt"), "x"));
  // The name read back from the folder listing is the UTF-8 text it was made from.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(PathToUtf8(entry.path().filename()));
  }
  EXPECT_EQ(names, std::vector<std::string>{name});
  EXPECT_EQ(ReadFileBytes(PathFromUtf8(PathToUtf8(folder)) / PathFromUtf8("файл.txt")), "x");
  EXPECT_EQ(PathToUtf8(PathFromUtf8("")), "");
}

TEST(PathText, TrailingSeparatorIsAddedOnce) {
  const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
  EXPECT_EQ(WithTrailingSeparator(PathFromUtf8("Папка")), "Папка" + sep);
  EXPECT_EQ(WithTrailingSeparator(PathFromUtf8("Папка" + sep)), "Папка" + sep);
}

TEST(Platform, ProgramFileAndFolderAreThoseOfTheRunningTest) {
  const std::filesystem::path exe = ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.filename(), "test_base");
  EXPECT_EQ(ProgramFolder(), exe.parent_path());
  // Code of this program is found in this program's file.
  EXPECT_THAT(ModuleFileOf(reinterpret_cast<const void*>(&ExecutablePath)), HasSubstr("test_base"));
  EXPECT_EQ(ModuleFileOf(nullptr), "");
}

TEST(Platform, LocalTimeBreaksDownAMoment) {
  const std::time_t now = std::time(nullptr);
  const std::tm local = LocalTime(now);
  EXPECT_GE(local.tm_year + 1900, 2024);
  EXPECT_GE(local.tm_mday, 1);
  EXPECT_LE(local.tm_mday, 31);
  std::tm copy = local;
  EXPECT_EQ(std::mktime(&copy), now);
}

TEST(Platform, CommandLineWordsKeepTheirOrder) {
  char a[] = "/opt/bpi-tools/morvel";
  char b[] = "bpi";
  char c[] = "/данные";
  char* argv[] = {a, b, c};
  EXPECT_EQ(CommandLineWords(3, argv), (std::vector<std::string>{a, b, c}));
}

// What cmd.exe and CreateProcess hand over: a quoted folder that ends in a
// backslash stays one folder, and the next word is not swallowed.
TEST(Platform, WindowsCommandLineKeepsFoldersThatEndInABackslash) {
  EXPECT_EQ(SplitWindowsCommandLine(R"("C:\Program Files\Морвель\morvel.exe" bpi "C:\Входящие\" "C:\Отчёты\")"),
            (std::vector<std::string>{R"(C:\Program Files\Морвель\morvel.exe)", "bpi", R"(C:\Входящие\)",
                                      R"(C:\Отчёты\)"}));
  EXPECT_EQ(SplitWindowsCommandLine("morvel.exe  /bpi\t\"\" 0123456789 p "),
            (std::vector<std::string>{"morvel.exe", "/bpi", "", "0123456789", "p"}));
  EXPECT_EQ(SplitWindowsCommandLine(R"(morvel bpi C:\"Мои документы"\ИС)"),
            (std::vector<std::string>{"morvel", "bpi", R"(C:\Мои документы\ИС)"}));
  EXPECT_TRUE(SplitWindowsCommandLine("").empty());
}

TEST(PathText, OnlyPlainTextStandsInsideAFileName) {
  EXPECT_TRUE(IsPlainFileNamePart("087-001-000123"));
  EXPECT_TRUE(IsPlainFileNamePart("0870010001"));
  for (const char* bad : {"12:34", "../x", "a\\b", "a|b", "a?", "a*", "a\"b", "<a>", "a\tb"}) {
    EXPECT_FALSE(IsPlainFileNamePart(bad)) << bad;
  }
}

// The caller's own tunables survive the restart, and a choice the caller made
// about huge pages (either way) is never overridden.
TEST(Platform, HugePageTunableIsAddedOnceAndNeverOverridesTheCaller) {
  EXPECT_EQ(TunablesWithHugePageHeap(nullptr), std::optional<std::string>("glibc.malloc.hugetlb=1"));
  EXPECT_EQ(TunablesWithHugePageHeap(""), std::optional<std::string>("glibc.malloc.hugetlb=1"));
  EXPECT_EQ(TunablesWithHugePageHeap("glibc.malloc.check=3"),
            std::optional<std::string>("glibc.malloc.check=3:glibc.malloc.hugetlb=1"));
  EXPECT_EQ(TunablesWithHugePageHeap("glibc.malloc.hugetlb=1"), std::nullopt);
  EXPECT_EQ(TunablesWithHugePageHeap("glibc.malloc.check=3:glibc.malloc.hugetlb=0"), std::nullopt);
  // A longer name that merely starts the same is another tunable.
  EXPECT_EQ(TunablesWithHugePageHeap("glibc.malloc.hugetlbx=0"),
            std::optional<std::string>("glibc.malloc.hugetlbx=0:glibc.malloc.hugetlb=1"));
}

TEST(Encoding, TextWithoutAWindows1251FormIsTold) {
  EXPECT_EQ(TryUtf8ToCp1251("Жук?"), std::optional<std::string>("\xC6\xF3\xEA?"));
  EXPECT_EQ(TryUtf8ToCp1251("ascii"), std::optional<std::string>("ascii"));
  EXPECT_EQ(TryUtf8ToCp1251("Жук Ω"), std::nullopt);
  EXPECT_EQ(TryUtf8ToCp1251("\xFF broken"), std::nullopt);
  EXPECT_EQ(DecodeAnsiOrUtf8(std::string(kUtf8ByteOrderMark) + "Ω"), "Ω");
}

}  // namespace
}  // namespace morvel
