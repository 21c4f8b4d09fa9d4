// Whatever a file holds, the reader neither crashes nor raises: every test pack,
// cut off at many places and with lines taken out, goes through recognition,
// identification and the reading of the persons.

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "records_fixture.h"

namespace morvel {
namespace {

class RobustnessTest : public test::RecordsTest {
 protected:
  // The whole chain on one document; false when something escaped.
  bool Survives(const std::string& bytes) {
    try {
      const auto path = dir / "mangled.xml";
      test::WriteFile(path, bytes);
      auto root = LoadXMLTree(path.string());
      auto header = TBaseData::TryGetBaseData(test::kRegNum, root.get(), 0, 0);
      if (!header) return true;
      TProtocolMessageList errors;
      const TPDType form = header->FPDType;
      auto pack = TPack::TryGetPackData(root.get(), form, errors, header, path.string());
      if (!pack) return true;
      pack->ReadWorkers(root.get(), 0);
      for (const auto& w : pack->Workers) {
        if (!w) return false;
        for (const auto& p : w->WorkPeriods) {
          if (!p) return false;
        }
      }
      ++fRead;
      return true;
    } catch (...) {
      return false;
    }
  }

  std::vector<std::filesystem::path> Packs() const {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(test::TestData("packs"))) {
      if (e.path().extension() == ".xml") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  int fRead = 0;
};

TEST_F(RobustnessTest, CutOffAnywhere) {
  for (const auto& file : Packs()) {
    const std::string bytes = test::ReadFile(file);
    const std::size_t step = std::max<std::size_t>(1, bytes.size() / 30);
    for (std::size_t length = 0; length <= bytes.size(); length += step) {
      EXPECT_TRUE(Survives(bytes.substr(0, length))) << file << " cut at " << length;
    }
  }
  EXPECT_GT(fRead, 0);  // cut after the root's end, many documents still read
}

TEST_F(RobustnessTest, LinesTakenOut) {
  for (const auto& file : Packs()) {
    std::vector<std::string> lines;
    std::istringstream in(test::ReadFile(file));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    // Each line in turn, up to a limit per file, so every element is missing once
    // in the smaller files.
    const std::size_t step = std::max<std::size_t>(1, lines.size() / 60);
    for (std::size_t skip = 1; skip < lines.size(); skip += step) {
      std::string bytes;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != skip) bytes += lines[i] + "\n";
      }
      EXPECT_TRUE(Survives(bytes)) << file << " without line " << skip + 1;
    }
  }
}

TEST_F(RobustnessTest, ContentsReplaced) {
  // Every text of a small document replaced by something it should not be.
  const std::string original = test::ReadFile(test::TestData("packs/szv-stazh-newest-2019.xml"));
  for (const char* junk : {"", "-1", "99999999999999999999", "2019-02-30", "1e400", "abc", "   "}) {
    std::size_t from = 0;
    int replaced = 0;
    while ((from = original.find('>', from)) != std::string::npos && replaced < 400) {
      const std::size_t to = original.find('<', from);
      if (to == std::string::npos) break;
      if (to > from + 1 && original[from + 1] != '\n') {
        std::string bytes = original;
        bytes.replace(from + 1, to - from - 1, junk);
        EXPECT_TRUE(Survives(bytes)) << "text at " << from << " replaced by '" << junk << "'";
        ++replaced;
      }
      from = to;
    }
  }
}

TEST_F(RobustnessTest, PersonsAndPeriodsThatAllFail) {
  // Many broken persons: each is reported once, none stops the others.
  std::vector<test::TPersonSpec> persons(300);
  for (std::size_t i = 0; i < persons.size(); ++i) {
    persons[i].snils = i % 2 == 0 ? "1" : "123-456-789 01";
    persons[i].periods = {test::TPeriodSpec{"2019-01-01", "кончился", {}}};
  }
  auto r = ReadXml(test::StazhDocument(persons));
  ASSERT_TRUE(r.pack);
  EXPECT_EQ(r.pack->Workers.size(), 150u);
  EXPECT_EQ(r.pack->FPackErrors.size(), 300u);
}

}  // namespace
}  // namespace morvel
