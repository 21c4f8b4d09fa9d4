// The shipped List schema against the List files of the tests, checked with
// xmllint: every List in tests/data/lists must pass, every one in its invalid/
// folder must fail validation (and still be well-formed, so that it fails for the
// fault it was written to show).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::TestData;
using test::WriteFile;

const int kValid = 0;
const int kInvalid = 3;  // xmllint: the document does not validate

fs::path Schema() { return fs::path(MORVEL_SOURCE_DIR) / "data" / "perech-vlmr.xsd"; }

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

class ListSchema : public ::testing::Test {
 protected:
  void SetUp() override {
    fXmllint = test::FindXmllint();
    if (fXmllint.empty()) GTEST_SKIP() << "xmllint is not installed";
  }

  test::ProcessResult Validate(const fs::path& file) const {
    return test::RunProcess(fXmllint, {"--noout", "--nonet", "--schema", Schema().string(), file.string()});
  }

  // A List around one subdivision, with the List's attributes given.
  int ValidateList(const std::string& listAttributes, const std::string& subdivision) {
    WriteFile(fDir / "l.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Перечень " + listAttributes +
                                  ">\n<Предприятие РегНомер=\"099-001-000001\" Наименование=\"П\">\n"
                                  "<Подразделение Номер=\"1\">\n" + subdivision +
                                  "\n</Подразделение>\n</Предприятие>\n</Перечень>\n");
    return Validate(fDir / "l.xml").exitCode;
  }

  int ValidatePosition(const std::string& attributes, const std::string& staffCount = "1") {
    return ValidateList("ОтчетныйГод=\"2020\"", "<Позиция " + attributes +
                                                    "><ОснованиеЛьготы>27-2</ОснованиеЛьготы><КоличествоШтат>" +
                                                    staffCount + "</КоличествоШтат></Позиция>");
  }

  int ValidatePeriod(const std::string& person, const std::string& attributes, const std::string& children = "") {
    return ValidateList("ОтчетныйГод=\"2020\"", "<ПоименныйСписок><Работник " + person + "><ПериодРаботы " +
                                                    attributes + ">" + children +
                                                    "</ПериодРаботы></Работник></ПоименныйСписок>");
  }

  fs::path fXmllint;
  TempDir fDir;
};

TEST_F(ListSchema, AcceptsTheValidLists) {
  const std::vector<fs::path> files = FilesIn(TestData("lists"));
  ASSERT_GE(files.size(), 2u);
  for (const fs::path& file : files) {
    const test::ProcessResult result = Validate(file);
    EXPECT_EQ(result.exitCode, kValid) << file << "\n" << result.output;
  }
}

TEST_F(ListSchema, RejectsTheMalformedLists) {
  const std::vector<fs::path> files = FilesIn(TestData("lists/invalid"));
  ASSERT_GE(files.size(), 4u);
  for (const fs::path& file : files) {
    const test::ProcessResult result = Validate(file);
    EXPECT_EQ(result.exitCode, kInvalid) << file << "\n" << result.output;
  }
}

TEST_F(ListSchema, DatesAreCalendarDaysAsDdMmYyyy) {
  const std::string snils = "СтраховойНомер=\"112-233-445 95\"";
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"29.02.2020\" ДатаКон=\"31.12.2020\""), kValid);
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"29.02.2000\" ДатаКон=\"30.04.2000\""), kValid);
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"29.02.2021\" ДатаКон=\"31.12.2021\""), kInvalid);
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"29.02.1900\" ДатаКон=\"31.12.1900\""), kInvalid);
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"01.01.2020\" ДатаКон=\"31.04.2020\""), kInvalid);
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"2020-01-01\" ДатаКон=\"31.12.2020\""), kInvalid);
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"1.1.2020\" ДатаКон=\"31.12.2020\""), kInvalid);
  EXPECT_EQ(ValidatePeriod(snils, "ДатаНач=\"01.01.2020\""), kInvalid);
  EXPECT_EQ(ValidatePosition("ДатаНач=\"00.01.2020\""), kInvalid);
  EXPECT_EQ(ValidatePosition("ДатаНач=\"01.13.2020\""), kInvalid);
}

TEST_F(ListSchema, ListAttributesAndNumbers) {
  const std::string subdivision = "<Позиция ДатаНач=\"01.01.2020\"><ОснованиеЛьготы>27-1</ОснованиеЛьготы>"
                                  "<КоличествоШтат>1</КоличествоШтат></Позиция>";
  for (const char* months : {"0", "3", "6", "9", "12"}) {
    EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\" ОтчетныйПериод=\"" + std::string(months) + "\"", subdivision), kValid)
        << months;
  }
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\" ОтчетныйПериод=\"4\"", subdivision), kInvalid);
  EXPECT_EQ(ValidateList("ОтчетныйПериод=\"3\"", subdivision), kInvalid);
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"20\"", subdivision), kInvalid);
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\" НакопитИтогом=\"2\"", subdivision), kInvalid);
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\" Неизвестный=\"1\"", subdivision), kInvalid);

  EXPECT_EQ(ValidatePosition("ДатаНач=\"01.01.2020\"", "0.25"), kValid);
  EXPECT_EQ(ValidatePosition("ДатаНач=\"01.01.2020\"", "12"), kValid);
  EXPECT_EQ(ValidatePosition("ДатаНач=\"01.01.2020\"", "0,25"), kInvalid);
  EXPECT_EQ(ValidatePosition("ДатаНач=\"01.01.2020\"", "-1"), kInvalid);
  EXPECT_EQ(ValidatePosition("ДатаНач=\"01.01.2020\"", ""), kInvalid);

  const std::string snils = "СтраховойНомер=\"112-233-445 95\"";
  const std::string dates = "ДатаНач=\"01.01.2020\" ДатаКон=\"31.03.2020\"";
  EXPECT_EQ(ValidatePeriod(snils, dates, "<Ставка>0.5</Ставка>"), kValid);
  EXPECT_EQ(ValidatePeriod(snils, dates, "<Ставка>0,5</Ставка>"), kInvalid);
  EXPECT_EQ(ValidatePeriod("СтраховойНомер=\"11223344595\"", dates), kInvalid);
  EXPECT_EQ(ValidatePeriod("Фамилия=\"Иванов\"", dates), kInvalid);
}

TEST_F(ListSchema, AdditionalSeniorityInformationIsAnyCode) {
  // The readers compare it with several classifier lists themselves.
  const std::string snils = "СтраховойНомер=\"112-233-445 95\"";
  const std::string dates = "ДатаНач=\"01.01.2020\" ДатаКон=\"31.03.2020\"";
  for (const char* code : {"ДЕТИ", "ВРНЕТРУД", "КВАЛИФ", "ОТПУСК"}) {
    EXPECT_EQ(ValidatePeriod(snils, dates,
                             "<ДополнительныеСведенияИсчисленияСтажа>" + std::string(code) +
                                 "</ДополнительныеСведенияИсчисленияСтажа>"),
              kValid)
        << code;
  }
  // Every child of a work period, in the order of the format.
  EXPECT_EQ(ValidatePeriod(snils, dates,
                           "<Примечание>п</Примечание><Профессия>Маляр</Профессия>"
                           "<ОснованиеЛьготы>27-2</ОснованиеЛьготы><ОснованиеЛьготы>КВАЛИФ</ОснованиеЛьготы>"
                           "<Ставка>1</Ставка><ТерриториальныеУсловия>МКС</ТерриториальныеУсловия>"
                           "<ПозицияСписка>23200000-13450</ПозицияСписка><ДополнительныйТариф>ДТ</ДополнительныйТариф>"
                           "<КлассУТ>3.2</КлассУТ><ОснованиеИсчисленияСтажа>СЕЗОН</ОснованиеИсчисленияСтажа>"
                           "<Часы>10</Часы><Минуты>30</Минуты>"
                           "<ДополнительныеСведенияИсчисленияСтажа>ДЕТИ</ДополнительныеСведенияИсчисленияСтажа>"
                           "<ФактическиОтработано><Месяцев>3</Месяцев><Дней>0</Дней><Часов>0</Часов>"
                           "<Минут>0</Минут></ФактическиОтработано>"),
            kValid);
}

TEST_F(ListSchema, WhatTheReadersAcceptPasses) {
  const std::string position = "<Позиция ДатаНач=\"01.01.2020\"><ОснованиеЛьготы>27-1</ОснованиеЛьготы>"
                               "<КоличествоШтат>1</КоличествоШтат></Позиция>";
  const std::string names = "<ПоименныйСписок><Работник СтраховойНомер=\"112-233-445 95\"/></ПоименныйСписок>";
  // Children in any order.
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\"", position + names), kValid);
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\"", names + position), kValid);
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\"", position + "<ОтопительныйСезон/>" + names), kValid);
  EXPECT_EQ(ValidatePeriod("СтраховойНомер=\"112-233-445 95\"", "ДатаНач=\"01.01.2020\" ДатаКон=\"31.03.2020\"",
                           "<Ставка>1</Ставка><Профессия>Маляр</Профессия><Примечание>п</Примечание>"),
            kValid);
  // Empty period and cumulative flag, which the readers take as a year and as no.
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\" ОтчетныйПериод=\"\" НакопитИтогом=\"\" Тип=\"\"", position),
            kValid);
  // A position without bases or staff count is read and reported by the program.
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\"", "<Позиция ДатаНач=\"01.01.2020\"/>"), kValid);
  // Blanks around checked values.
  EXPECT_EQ(ValidatePosition("ДатаНач=\" 01.01.2020 \"", " 0.5 "), kValid);
  EXPECT_EQ(ValidateList("ОтчетныйГод=\" 2020 \" ОтчетныйПериод=\" 6\"", position), kValid);
  // An enterprise without subdivisions.
  WriteFile(fDir / "e.xml", "<Перечень ОтчетныйГод=\"2020\"><Предприятие РегНомер=\"099-001-000001\"/></Перечень>");
  EXPECT_EQ(Validate(fDir / "e.xml").exitCode, kValid);
  // What the readers cannot do without still fails.
  WriteFile(fDir / "n.xml", "<Перечень ОтчетныйГод=\"2020\"/>");
  EXPECT_EQ(Validate(fDir / "n.xml").exitCode, kInvalid);
  EXPECT_EQ(ValidateList("ОтчетныйГод=\"2020\" ОтчетныйПериод=\"5\"", position), kInvalid);
}

TEST_F(ListSchema, OnlyTheListIsADocument) {
  WriteFile(fDir / "enterprise.xml", "<Предприятие><Подразделение/></Предприятие>");
  EXPECT_EQ(Validate(fDir / "enterprise.xml").exitCode, kInvalid);
}

}  // namespace
}  // namespace morvel
