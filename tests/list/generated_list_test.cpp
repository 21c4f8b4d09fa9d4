// Lists of the generator's synthetic employer, read back with the List reader:
// the deliberate differences it reports are the ones the List holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "list/list_test_util.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

class GeneratedListTest : public test::ListReaderTest {
 protected:
  void SetUp() override {
    // The build makes morvel-gen before this test program, so a missing one is a
    // broken build, not a reason to skip.
    fGenerator = test::BuiltProgram("morvel-gen");
    ASSERT_TRUE(fs::is_regular_file(fGenerator)) << fGenerator;
  }

  // Writes a List for 2020, January to June, and reads it as the cumulative List
  // of the half-year; returns the manifest lines.
  std::vector<std::string> Generate(const std::vector<std::string>& extra, std::unique_ptr<TTheList>& list) {
    std::vector<std::string> args = {"list",      "--seed",        "11", "--persons", "60",
                                     "--periods", "2",             "--year", "2020", "--first-month",
                                     "1",         "--last-month",  "6",  "--out",     (fDir / "l.xml").string(),
                                     "--manifest", (fDir / "m.txt").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const test::ProcessResult run = test::RunProcess(fGenerator, args);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    list = test::ReadListFile(fDir / "l.xml", 2020, 2, true);
    std::vector<std::string> lines;
    std::istringstream manifest(test::ReadFile(fDir / "m.txt"));
    for (std::string line; std::getline(manifest, line);) lines.push_back(line);
    return lines;
  }

  static std::set<std::string> Numbers(const TTheList& list) {
    std::set<std::string> numbers;
    for (const auto& worker : list.fWorkers) numbers.insert(worker->SN);
    return numbers;
  }

  fs::path fGenerator;
  test::TempDir fDir;
};

TEST_F(GeneratedListTest, ListMatchesItsEmployerAndDiffersWhereToldTo) {
  std::unique_ptr<TTheList> clean;
  EXPECT_TRUE(Generate({}, clean).empty());
  ASSERT_FALSE(clean->fWorkers.empty());
  ASSERT_FALSE(clean->fPositions.empty());
  for (const auto& message : *clean->fParseErrors_List) EXPECT_FALSE(message->IsError) << message->FMessage;
  for (const auto& position : clean->fPositions) EXPECT_GT(position->fWorkingDays, 0);

  std::unique_ptr<TTheList> changed;
  const std::vector<std::string> manifest =
      Generate({"--missing", "25", "--extra", "2", "--bases", "20", "--dates", "20"}, changed);
  std::set<std::string> expected = Numbers(*clean);
  int bases = 0;
  int dates = 0;
  for (const std::string& line : manifest) {
    const std::string sn = line.substr(line.find(' ') + 1, 14);
    if (line.rfind("missing ", 0) == 0) expected.erase(sn);
    if (line.rfind("extra ", 0) == 0) expected.insert(sn);
    bases += line.rfind("bases ", 0) == 0;
    dates += line.rfind("dates ", 0) == 0;
  }
  EXPECT_GT(bases, 0);
  EXPECT_GT(dates, 0);
  EXPECT_EQ(Numbers(*changed), expected);
  EXPECT_EQ(changed->fPositions.size(), clean->fPositions.size());
}

}  // namespace
}  // namespace morvel
