#include <gtest/gtest.h>

#include "app/command_line.h"
#include "support/test_support.h"

namespace morvel {
namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { TSingleton::DestroyInstance<TSettings>(); }
  void TearDown() override { TSingleton::DestroyInstance<TSettings>(); }
  TSettings& S() { return TSettings::GetInstance(); }
  TCommandLine Scan(std::vector<std::string> words) { return ScanCommandLine(words, S()); }
  test::TempDir dir;
};

TEST_F(CommandLineTest, BpiWithAFolderTakesTheFirstNumberFoundThere) {
  test::WriteFile(dir / "a_099-001-000123.xml", "");
  test::WriteFile(dir / "b_0990010001.xml", "");
  const TCommandLine cl = Scan({"/opt/morvel", "bpi", dir.path().string()});
  EXPECT_TRUE(cl.BPI);
  EXPECT_FALSE(cl.Portable);
  EXPECT_EQ(S().FDirPD, dir.path().string());
  EXPECT_EQ(S().FRegNum, "0990010001");
  EXPECT_TRUE(S().FDirReport.empty());  // the configuration file's value will stand
}

TEST_F(CommandLineTest, SlashBpiTakesTheRegistrationNumber) {
  const TCommandLine cl = Scan({"morvel", "/BPI", "099-001-000123"});
  EXPECT_TRUE(cl.BPI);
  EXPECT_EQ(S().FRegNum, "099-001-000123");
  EXPECT_TRUE(S().FDirPD.empty());
}

TEST_F(CommandLineTest, BareBpiTakesNothingElse) {
  const TCommandLine cl = Scan({"morvel", "bpi"});
  EXPECT_TRUE(cl.BPI);
  EXPECT_TRUE(S().FRegNum.empty());
  EXPECT_TRUE(S().FDirPD.empty());
}

TEST_F(CommandLineTest, AThirdWordIsTheReportFolderAndMaySelectPortableMode) {
  const TCommandLine cl = Scan({"morvel", "-Bpi", "/in", "p"});
  EXPECT_TRUE(cl.BPI);
  EXPECT_TRUE(cl.Portable);
  EXPECT_EQ(S().FDirReport, "p");
  EXPECT_TRUE(S().FRegNum.empty());  // a folder that does not exist yields no number
}

TEST_F(CommandLineTest, PortableWordMustBeExactlyP) {
  EXPECT_TRUE(Scan({"morvel", "P"}).Portable);
  TSingleton::DestroyInstance<TSettings>();
  EXPECT_FALSE(Scan({"morvel", "-p", "pp"}).Portable);
  EXPECT_FALSE(Scan({"morvel", "p2"}).BPI);
}

TEST_F(CommandLineTest, ProgramPathHoldingBpiSelectsTheModeWithTheNextWordAsFolder) {
  const TCommandLine cl = Scan({"/usr/bin/morvel-bpi", "/in"});
  EXPECT_TRUE(cl.BPI);
  EXPECT_EQ(S().FDirPD, "/in");
  // Only the first switch counts; later words are not read as switches again.
  TSingleton::DestroyInstance<TSettings>();
  Scan({"morvel", "bpi", "/a", "/b", "/bpi", "x"});
  EXPECT_EQ(S().FDirPD, "/a");
  EXPECT_EQ(S().FDirReport, "/b");
  EXPECT_TRUE(S().FRegNum.empty());
}

TEST_F(CommandLineTest, FolderNamedBpiInTheProgramPathIsNotTheRegistrationNumberForm) {
  const TCommandLine cl = Scan({"/opt/bpi-tools/morvel", "/data/is", "/data/reports"});
  EXPECT_TRUE(cl.BPI);
  EXPECT_EQ(S().FDirPD, "/data/is");
  EXPECT_EQ(S().FDirReport, "/data/reports");
  EXPECT_TRUE(S().FRegNum.empty());
}

TEST(CommandLineSwitch, RegistrationNumberFormIsTheSwitchAsTyped) {
  for (const char* word : {"/bpi", "/BPI", "-/Bpi", "/bpi2"}) EXPECT_TRUE(IsRegNumSwitch(word)) << word;
  for (const char* word : {"bpi", "-bpi", "/opt/bpi/morvel", "/home/u/BPI", "", "---", "c:/bpi"}) {
    EXPECT_FALSE(IsRegNumSwitch(word)) << word;
  }
}

TEST(RegNumsFromFolder, RightMostCandidateSortedAndUnique) {
  test::TempDir dir;
  test::WriteFile(dir / "PFR-700-Y-2019-ORG-0990020002-DCK-00001-DPT-000000-DCK-1234567890.xml", "");
  test::WriteFile(dir / "x_099-001-000123.XML", "");
  test::WriteFile(dir / "y_0990020002.xml", "");
  test::WriteFile(dir / "z_0990030003.txt", "");
  test::WriteFile(dir / "no-number.xml", "");
  std::filesystem::create_directory(dir / "sub");
  test::WriteFile(dir / "sub" / "s_0990040004.xml", "");
  EXPECT_EQ(GetRegNumsFromFolder(dir.path().string()),
            (std::vector<std::string>{"099-001-000123", "0990020002", "1234567890"}));
  EXPECT_TRUE(GetRegNumsFromFolder((dir / "missing").string()).empty());
}

TEST(DeleteFolder, RemovesEverythingAndIgnoresAMissingFolder) {
  test::TempDir dir;
  test::WriteFile(dir / "Temp" / "a.xml", "x");
  test::WriteFile(dir / "Temp" / "archive-1" / "b.xml", "x");
  DeleteFolder((dir / "Temp").string());
  EXPECT_FALSE(std::filesystem::exists(dir / "Temp"));
  DeleteFolder((dir / "Temp").string());
}

}  // namespace
}  // namespace morvel
