// The program's own format check of List files: every List we ship or test with
// passes it, wherever its "Перечень" stands; the broken ones fail it for the
// fault each was written to show.
#include "list/list_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "support/test_support.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

fs::path Schema() { return fs::path(MORVEL_SOURCE_DIR) / "data" / "perech-vlmr.xsd"; }

std::vector<fs::path> XmlFilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.is_regular_file() && e.path().extension() == ".xml") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

TEST(ListFormat, EveryValidListPasses) {
  TListFormatCheck check(Schema());
  const fs::path source(MORVEL_SOURCE_DIR);
  int checked = 0;
  for (const fs::path& folder : {source / "tests/data/lists", source / "tests/data/lists/reader",
                                 source / "tests/data/list-server", source / "demo/lists"}) {
    for (const fs::path& file : XmlFilesIn(folder)) {
      EXPECT_EQ(Joined(check.Check(file.string(), 0)), "") << file;
      ++checked;
    }
  }
  EXPECT_GE(checked, 10);
}

TEST(ListFormat, ListsInsideOtherElementsAreCheckedOneByOne) {
  test::TempDir dir;
  const std::string list =
      "<Перечень ОтчетныйГод=\"2020\" ОтчетныйПериод=\"\" НакопитИтогом=\"\">\n"
      "<Предприятие РегНомер=\"099-001-000001\">\n<Подразделение Номер=\"1\">\n"
      "<ПоименныйСписок><Работник СтраховойНомер=\"112-233-445 95\"/></ПоименныйСписок>\n"
      "<Позиция ДатаНач=\" 01.01.2020 \"><КоличествоШтат>1</КоличествоШтат><ОснованиеЛьготы>27-1</ОснованиеЛьготы>"
      "</Позиция>\n</Подразделение>\n</Предприятие>\n</Перечень>\n";
  const std::string broken =
      "<Перечень ОтчетныйГод=\"2020\">\n<Предприятие РегНомер=\"099-001-000001\">\n"
      "<Подразделение><Позиция ДатаНач=\"31.04.2020\"/></Подразделение>\n</Предприятие>\n</Перечень>\n";
  test::WriteFile(dir / "answer.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ОтветСервераПеречней>\n" + list +
                                          "<Ещё>\n" + broken + "</Ещё>\n" + list + "</ОтветСервераПеречней>\n");
  TListFormatCheck check(Schema());
  const std::string path = (dir / "answer.xml").string();
  EXPECT_EQ(Joined(check.Check(path, 0)), "");
  const std::vector<std::string> lines = check.Check(path, 1);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Несоответствие требуемому формату xml (" + path + "):");
  EXPECT_NE(lines[1].find("'31.04.2020'"), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2].rfind("Строка 14, позиция ", 0), 0u) << lines[2];
  EXPECT_EQ(Joined(check.Check(path, 2)), "");
}

TEST(ListFormat, BrokenListsFailForTheirOwnFault) {
  TListFormatCheck check(Schema());
  const fs::path folder = test::TestData("lists/invalid");
  // The file, and what the reason must name.
  const std::map<std::string, std::string> reasons = {
      {"bad-date.xml", "'31.06.2020'"},
      {"comma-in-staff-count.xml", "'0,5'"},
      {"person-without-insurance-number.xml", "'СтраховойНомер' is required"},
      {"position-without-start-date.xml", "'ДатаНач' is required"},
  };
  ASSERT_EQ(XmlFilesIn(folder).size(), reasons.size());
  for (const auto& [name, reason] : reasons) {
    const std::vector<std::string> lines = check.Check((folder / name).string(), 0);
    ASSERT_EQ(lines.size(), 3u) << name;
    EXPECT_NE(lines[1].find(reason), std::string::npos) << name << ": " << lines[1];
  }
}

TEST(ListFormat, UnreadableFilesAndAMissingSchema) {
  test::TempDir dir;
  test::WriteFile(dir / "cut.xml", "<?xml version=\"1.0\"?>\n<Перечень ОтчетныйГод=\"2020\">\n<Предприятие");
  TListFormatCheck check(Schema());
  const std::vector<std::string> lines = check.Check((dir / "cut.xml").string(), 0);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Несоответствие требуемому формату xml (" + (dir / "cut.xml").string() + "):");
  EXPECT_EQ(lines[2].rfind("Строка 3, позиция ", 0), 0u) << lines[2];
  EXPECT_EQ(check.Check((dir / "missing.xml").string(), 0).size(), 3u);

  TListFormatCheck none(dir / "no-such-schema.xsd");
  EXPECT_EQ(none.Check((dir / "cut.xml").string(), 0),
            std::vector<std::string>{"Не удается найти необходимый компонент для проверки формата Перечня"});
}

}  // namespace
}  // namespace morvel
