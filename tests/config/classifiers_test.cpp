#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/error.h"
#include "config/classifiers.h"
#include "support/test_support.h"

namespace morvel {
namespace {

using test::TempDir;
using test::TestData;
using test::WriteFile;
using CT = TClassifierType;

const std::vector<std::string> kTitles = {
    "*** Классификатор дополнительных сведений исчисления стажа",
    "*** Список льгот под ДТ",
    "*** Список дополнительных данных ИС",
    "*** Список дополнительных данных ИС в РСВ-1, специфичных для РСВ-1",
    "*** Обновление оснований льгот FROM",
    "*** Обновление оснований льгот TO",
    "*** Ошибки неполной ставки",
    "*** Предупреждения неполной ставки",
    "*** Даты начала действия кодов дополнительных сведений ИС",
    "*** Даты окончания действия кодов дополнительных сведений ИС",
};

// A classifier file with every container and one entry each, for the failure
// cases that take one piece away.
std::string CompleteFile(const std::string& periodAttributes = "Наименование=\"ДЕТИ\" ДействуетС=\"\" ДействуетПо=\"\"",
                         const std::string& omit = "") {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<К>\n";
  if (omit != "НеобходимостьПроставленияДополнительногоТарифа") {
    text += "<НеобходимостьПроставленияДополнительногоТарифа><Льгота Наименование=\"27-1\"/>"
            "</НеобходимостьПроставленияДополнительногоТарифа>\n";
  }
  if (omit != "ОсобыеПериоды") text += "<ОсобыеПериоды>\n<Период " + periodAttributes + "/>\n</ОсобыеПериоды>\n";
  if (omit != "СоответствиеОснованийЛьгот") {
    text += "<СоответствиеОснованийЛьгот><ОдноименныеЛьготы><Льгота Наименование=\"А\"/>"
            "<Льгота Наименование=\"Б\"/></ОдноименныеЛьготы></СоответствиеОснованийЛьгот>\n";
  }
  if (omit != "ОшибкиНеполнойСтавки") {
    text += "<ОшибкиНеполнойСтавки><Ошибка ЛьготноеОснование=\"1\" Код=\"2\" ОснованиеВыслуги=\"3\"/>"
            "</ОшибкиНеполнойСтавки>\n";
  }
  if (omit != "ПредупрежденияНеполнойСтавки") {
    text += "<ПредупрежденияНеполнойСтавки><Предупреждение ЛьготноеОснование=\"1\" Код=\"2\" "
            "ОснованиеВыслуги=\"3\"/></ПредупрежденияНеполнойСтавки>\n";
  }
  return text + "</К>\n";
}

std::string ReplaceFirst(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) ADD_FAILURE() << "no " << from;
  else text.replace(at, from.size(), to);
  return text;
}

struct TLoad {
  TClassifiers lists;
  std::vector<std::string> log;
  bool Run(const std::filesystem::path& schema, const std::filesystem::path& file) {
    return LoadClassifierFiles(lists, schema, file, [this](const std::string& line) { log.push_back(line); });
  }
};

std::string FatalMessage(TLoad& load, const std::filesystem::path& schema, const std::filesystem::path& file) {
  try {
    load.Run(schema, file);
  } catch (const EMorvelError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no EMorvelError for " << file;
  return std::string();
}

TEST(ClassifierFiles, ReadsEveryListInDocumentOrder) {
  TLoad load;
  ASSERT_TRUE(load.Run(TestData("classifiers/schema.xsd"), TestData("classifiers/classifiers.xml")));
  const TClassifiers& c = load.lists;
  using V = std::vector<std::string>;
  // The named type only, in schema order, duplicates kept; the same name in a
  // foreign namespace is not a schema type.
  EXPECT_EQ(c.Get(CT::ctAddStag), (V{"ДЕТИ", "КВАЛИФ", "ДЕТИ", "НЕОПЛ"}));
  // The first container anywhere below the root, its children only.
  EXPECT_EQ(c.Get(CT::ctAddTariff), (V{"27-1", "27-2", "27-2"}));
  EXPECT_EQ(c.Get(CT::ctAddPdData), (V{"ДЕКРЕТ", "ДОГОВОР", "НЕОПЛДОГ", "ДЕТИ&ВНУКИ"}));
  // An attribute рсв counts whatever its value, an empty one too.
  EXPECT_EQ(c.Get(CT::ctAddPdDataRsv), (V{"ДОГОВОР", "НЕОПЛДОГ"}));
  EXPECT_EQ(c.Get(CT::ctAddPdDataStartDates), (V{"", "01.01.2014", "01.01.2014", ""}));
  EXPECT_EQ(c.Get(CT::ctAddPdDataEndDates), (V{"", "", "31.12.2016", "31.12.2001"}));
  // Groups with fewer than two Льгота give nothing; a third one is not read.
  EXPECT_EQ(c.Get(CT::ctReplaceFrom), (V{"28-ПД", "28-ГД"}));
  EXPECT_EQ(c.Get(CT::ctReplaceTo), (V{"27-ПД", "27-ГД"}));
  EXPECT_EQ(c.Get(CT::ctPartTimeError), (V{"27-1;12300000-20426;27-ГД", "0.5;А;Б;"}));
  // A permitted rate belongs to errors only.
  EXPECT_EQ(c.Get(CT::ctPartTimeWarning), (V{"27-2;2260000А-1754Б;27-СМ"}));
  EXPECT_EQ(load.log, kTitles);
}

TEST(ClassifierFiles, ContainsTestsEntriesAsSubstrings) {
  TClassifiers c;
  c.Add(CT::ctAddTariff, {"", "ДТ"});
  c.Add(CT::ctAddStag, {"КВАЛИФ"});
  const TClassifiersScope scope(c);
  EXPECT_TRUE(ClassifierContains(CT::ctAddTariff, "ДТ1"));
  EXPECT_FALSE(ClassifierContains(CT::ctAddTariff, "Д"));
  EXPECT_TRUE(ClassifierContainsAny(CT::ctAddStag, {"ДЕТИ", "КВАЛИФОБ"}));
  EXPECT_FALSE(ClassifierContainsAny(CT::ctAddStag, {}));
  EXPECT_THROW(ClassifierContains(CT::ctAddPdData, "x"), EMorvelError);
}

TEST(ClassifierFiles, SchemaProblemsAreFatal) {
  TempDir dir;
  WriteFile(dir / "broken.xsd", "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">");
  WriteFile(dir / "no-type.xsd",
            "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"><xs:simpleType name=\"Другой\">"
            "<xs:restriction base=\"xs:string\"><xs:enumeration value=\"А\"/></xs:restriction></xs:simpleType>"
            "</xs:schema>");
  WriteFile(dir / "not-a-schema.xml",
            "<Схема><simpleType name=\"КлассификаторДополнительныхСведенийИсчисленияСтажа\"/></Схема>");
  for (const char* name : {"missing.xsd", "broken.xsd", "not-a-schema.xml"}) {
    TLoad load;
    EXPECT_NE(FatalMessage(load, dir / name, TestData("classifiers/classifiers.xml")), "") << name;
    EXPECT_FALSE(load.lists.Has(CT::ctAddStag)) << name;
    EXPECT_EQ(load.log, std::vector<std::string>{kTitles[0]}) << name;
  }
  TLoad load;
  EXPECT_NE(FatalMessage(load, dir / "no-type.xsd", TestData("classifiers/classifiers.xml"))
                .find("КлассификаторДополнительныхСведенийИсчисленияСтажа"),
            std::string::npos);
}

TEST(ClassifierFiles, MissingOrBrokenDocumentOnlyStopsTheFilling) {
  TempDir dir;
  WriteFile(dir / "broken.xml", "<К><ОсобыеПериоды>");
  WriteFile(dir / "empty.xml", "");
  for (const char* name : {"missing.xml", "broken.xml", "empty.xml"}) {
    TLoad load;
    EXPECT_FALSE(load.Run(TestData("classifiers/schema.xsd"), dir / name)) << name;
    EXPECT_TRUE(load.lists.Has(CT::ctAddStag)) << name;
    EXPECT_FALSE(load.lists.Has(CT::ctAddTariff)) << name;
    EXPECT_FALSE(load.lists.Has(CT::ctAddPdDataEndDates)) << name;
    EXPECT_EQ(load.log, std::vector<std::string>{kTitles[0]}) << name;
  }
}

TEST(ClassifierFiles, MissingContainerIsFatalAndNamed) {
  TempDir dir;
  WriteFile(dir / "complete.xml", CompleteFile());
  TLoad complete;
  ASSERT_TRUE(complete.Run(TestData("classifiers/schema.xsd"), dir / "complete.xml"));

  WriteFile(dir / "no-warnings.xml", CompleteFile(
      "Наименование=\"ДЕТИ\" ДействуетС=\"\" ДействуетПо=\"\"", "ПредупрежденияНеполнойСтавки"));
  TLoad load;
  EXPECT_NE(FatalMessage(load, TestData("classifiers/schema.xsd"), dir / "no-warnings.xml")
                .find("ПредупрежденияНеполнойСтавки"),
            std::string::npos);
  // The lists before the missing one are in place and its title was written.
  EXPECT_TRUE(load.lists.Has(CT::ctPartTimeError));
  EXPECT_FALSE(load.lists.Has(CT::ctPartTimeWarning));
  EXPECT_EQ(load.log.back(), "*** Предупреждения неполной ставки");

  for (const char* container : {"НеобходимостьПроставленияДополнительногоТарифа", "ОсобыеПериоды",
                                "СоответствиеОснованийЛьгот", "ОшибкиНеполнойСтавки"}) {
    WriteFile(dir / "partial.xml", CompleteFile("Наименование=\"ДЕТИ\" ДействуетС=\"\" ДействуетПо=\"\"", container));
    TLoad partial;
    EXPECT_NE(FatalMessage(partial, TestData("classifiers/schema.xsd"), dir / "partial.xml").find(container),
              std::string::npos)
        << container;
  }
}

TEST(ClassifierFiles, MissingRequiredAttributeIsFatalAndNamed) {
  TempDir dir;
  const auto message = [&dir](const std::string& text) {
    WriteFile(dir / "c.xml", text);
    TLoad load;
    return FatalMessage(load, TestData("classifiers/schema.xsd"), dir / "c.xml");
  };
  const std::vector<std::pair<std::string, std::string>> periods = {
      {"Наименование", "ДействуетС=\"\" ДействуетПо=\"\""},
      {"ДействуетС", "Наименование=\"ДЕТИ\" ДействуетПо=\"\""},
      {"ДействуетПо", "Наименование=\"ДЕТИ\" ДействуетС=\"\""},
  };
  for (const auto& [missing, attributes] : periods) {
    const std::string text = message(CompleteFile(attributes));
    EXPECT_THAT(text, ::testing::HasSubstr("\"" + missing + "\""));
    EXPECT_THAT(text, ::testing::HasSubstr("\"Период\""));
  }
  EXPECT_NE(message(ReplaceFirst(CompleteFile(), "Код=\"2\"", "")).find("\"Код\""), std::string::npos);

  // Only the Льгота elements that are read must be named: a lone one in a group is not read.
  WriteFile(dir / "lone.xml", ReplaceFirst(CompleteFile(), "<ОдноименныеЛьготы>",
                                           "<ОдноименныеЛьготы><Льгота/></ОдноименныеЛьготы><ОдноименныеЛьготы>"));
  TLoad lone;
  EXPECT_TRUE(lone.Run(TestData("classifiers/schema.xsd"), dir / "lone.xml"));
  EXPECT_EQ(lone.lists.Get(CT::ctReplaceFrom), std::vector<std::string>{"А"});

  EXPECT_NE(message(ReplaceFirst(CompleteFile(), "<Льгота Наименование=\"Б\"/>", "<Льгота/>")).find("\"Льгота\""),
            std::string::npos);
}

// The shipped files hold the codes the readers and checks name.
TEST(ClassifierFiles, ShippedFilesLoadWithTheCodesTheChecksUse) {
  const std::filesystem::path data = std::filesystem::path(MORVEL_SOURCE_DIR) / "data";
  TLoad load;
  ASSERT_TRUE(load.Run(data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml"));
  const TClassifiers& c = load.lists;
  EXPECT_EQ(load.log, kTitles);
  const auto has = [](const std::vector<std::string>& list, const std::string& code) {
    return std::find(list.begin(), list.end(), code) != list.end();
  };

  const std::vector<std::string>& names = c.Get(CT::ctAddPdData);
  for (const char* code :
       {"ДЕКРЕТ", "ДЕТИ", "ДЛДЕТИ", "ВРНЕТРУД", "МЕДНЕТРУД", "ДЛОТПУСК", "АДМИНИСТР", "НЕОПЛ", "МЕСЯЦ", "КВАЛИФ",
        "КВАЛИФОБ", "КВАЛИФОЦ", "ДИСПР", "ВАХТА", "ВРНЕТРУСПО", "ВОЕНСЛ", "ДОГОВОР", "НЕОПЛДОГ", "НЕОПЛАВТ", "ЗГДС",
        "ЗГД", "ЗГГС", "ЗМС", "ЗМД", "ОБЩЕСТ", "СДКРОВ", "ОТСТРАН", "ПРОСТОЙ", "УЧОТПУСК", "ДЕТИПРЛ", "ЧАЭС",
        "ДОПВЫХ"}) {
    EXPECT_TRUE(has(names, code)) << code;
  }
  ASSERT_EQ(c.Get(CT::ctAddPdDataStartDates).size(), names.size());
  ASSERT_EQ(c.Get(CT::ctAddPdDataEndDates).size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(std::count(names.begin(), names.end(), names[i]), 1) << names[i];
    for (const std::string& date : {c.Get(CT::ctAddPdDataStartDates)[i], c.Get(CT::ctAddPdDataEndDates)[i]}) {
      TDate parsed = 0;
      EXPECT_TRUE(date.empty() || TryParseDate(date, "dd.mm.yyyy", '.', parsed)) << names[i] << " " << date;
    }
  }
  for (const std::string& code : c.Get(CT::ctAddPdDataRsv)) EXPECT_TRUE(has(names, code)) << code;
  // Every code a List period may carry is one the additional data knows.
  for (const std::string& code : c.Get(CT::ctAddStag)) EXPECT_TRUE(has(names, code)) << code;
  EXPECT_TRUE(has(c.Get(CT::ctAddStag), "ДЕТИ"));

  {
    const TClassifiersScope scope(c);
    for (const char* basis : {"27-1", "27-2", "27-5", "27-18", "28-1", "28-2"}) {
      EXPECT_TRUE(ClassifierContains(CT::ctAddTariff, basis)) << basis;
    }
    for (const char* basis : {"27-ПД", "27-ГД", "27-СМХР", "САМОЛЕТ"}) {
      EXPECT_FALSE(ClassifierContains(CT::ctAddTariff, basis)) << basis;
    }
  }
  for (const char* basis : {"27-ГД", "27-ГДХР", "27-СМ", "27-СМХР"}) {
    const std::vector<std::string>& errors = c.Get(CT::ctPartTimeError);
    EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [basis](const std::string& e) {
      return e.find(std::string(";12300000-20426;") + basis) != std::string::npos;
    })) << basis;
  }
  ASSERT_EQ(c.Get(CT::ctReplaceFrom).size(), c.Get(CT::ctReplaceTo).size());
  ASSERT_FALSE(c.Get(CT::ctReplaceFrom).empty());
  for (std::size_t i = 0; i < c.Get(CT::ctReplaceFrom).size(); ++i) {
    EXPECT_FALSE(c.Get(CT::ctReplaceFrom)[i].empty());
    // A replacement never produces a code that a later pair would replace again.
    for (std::size_t j = i; j < c.Get(CT::ctReplaceFrom).size(); ++j) {
      EXPECT_EQ(c.Get(CT::ctReplaceTo)[i].find(c.Get(CT::ctReplaceFrom)[j]), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace morvel
