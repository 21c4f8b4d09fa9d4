// Whole headless runs of the real program: folders of packs on disk, the
// reference List server on 127.0.0.1, the protocol and the exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <thread>
#include <regex>
#include <string>
#include <vector>

#include "app/server_process.h"
#include "base/encoding.h"
#include "config/credentials.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace morvel {
namespace {

namespace fs = std::filesystem;

// ---- Packs and Lists written for each case -------------------------------

struct Period {
  std::string from, to;       // yyyy-mm-dd
  std::string basis;          // "27-1", or empty for a period without preferential work
  std::string position;       // position code of the list of professions
  std::string extra = "";     // additional data ("ДЕТИ"), an entry of its own
  std::string terr = "";      // territorial condition ("МКС") of the preferential entry
};

struct Person {
  std::string snils, surname, name, patronymic;
  std::vector<Period> periods;
};

struct PackContent {
  std::string regNum = "099-009-000001";
  std::string orgName = "АО &quot;Литейный завод&quot;";  // as written in the XML
  int year = 2019;
  bool corrective = false;  // a СЗВ-КОРР filed the next year for `year`
  std::string guid = "0c1e2a4b-0000-4000-8000-000000000001";
  std::string date = "2020-01-15";
  std::vector<Person> persons;
};

std::string PeriodsXml(const Person& p) {
  std::string xml;
  int line = 0;
  for (const Period& period : p.periods) {
    xml += "   <СтажевыйПериод>\n    <НомерСтроки>" + std::to_string(++line) + "</НомерСтроки>\n";
    xml += "    <ИС4:Период>\n     <УТ2:С>" + period.from + "</УТ2:С>\n     <УТ2:По>" + period.to +
           "</УТ2:По>\n    </ИС4:Период>\n";
    int entry = 0;
    if (!period.basis.empty()) {
      xml += "    <ИС4:ЛьготныйСтаж>\n     <ИС4:НомерСтроки>" + std::to_string(++entry) +
             "</ИС4:НомерСтроки>\n";
      if (!period.terr.empty()) {
        xml += "     <ИС4:ТУ>\n      <ИС4:Основание>" + period.terr + "</ИС4:Основание>\n     </ИС4:ТУ>\n";
      }
      xml += "     <ИС4:ОУТ>\n      <ИС4:Код>" + period.basis + "</ИС4:Код>\n";
      if (!period.position.empty()) xml += "      <ИС4:ПозицияСписка>" + period.position + "</ИС4:ПозицияСписка>\n";
      xml += "     </ИС4:ОУТ>\n    </ИС4:ЛьготныйСтаж>\n";
    }
    if (!period.extra.empty()) {
      xml += "    <ИС4:ЛьготныйСтаж>\n     <ИС4:НомерСтроки>" + std::to_string(++entry) +
             "</ИС4:НомерСтроки>\n     <ИС4:ДопСведенияИС>" + period.extra + "</ИС4:ДопСведенияИС>\n"
             "    </ИС4:ЛьготныйСтаж>\n";
    }
    xml += "   </СтажевыйПериод>\n";
  }
  return xml;
}

std::string NameXml(const Person& p) {
  return "   <ФИО>\n    <УТ2:Фамилия>" + p.surname + "</УТ2:Фамилия>\n    <УТ2:Имя>" + p.name +
         "</УТ2:Имя>\n    <УТ2:Отчество>" + p.patronymic + "</УТ2:Отчество>\n   </ФИО>\n   <СНИЛС>" + p.snils +
         "</СНИЛС>\n";
}

std::string EmployerXml(const PackContent& s) {
  return "  <Страхователь>\n   <УТ2:РегНомер>" + s.regNum +
         "</УТ2:РегНомер>\n   <УТ2:ИНН>3300000001</УТ2:ИНН>\n   <УТ2:КПП>330001001</УТ2:КПП>\n"
         "   <ИС4:Наименование>" + s.orgName + "</ИС4:Наименование>\n  </Страхователь>\n";
}

std::string PackXml(const PackContent& s) {
  const std::string form = s.corrective ? "СЗВ-КОРР" : "СЗВ-СТАЖ";
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ЭДЖУВ xmlns=\"http://пф.рф/" + form +
                    "/2019-12-09\" xmlns:АФ4=\"http://пф.рф/АФ/2018-12-07\" xmlns:УТ2=\"http://пф.рф/УТ/2017-08-21\" "
                    "xmlns:ИС4=\"http://пф.рф/ИС/2019-12-09\" xmlns:ВС2=\"http://пф.рф/ВС/2017-08-21\">\n";
  const std::string year = std::to_string(s.year);
  if (s.corrective) {
    for (const Person& p : s.persons) {
      xml += " <СЗВ-КОРР>\n" + EmployerXml(s) + "  <ОтчетныйПериод>\n   <Код>0</Код>\n   <Год>" +
             std::to_string(s.year + 1) + "</Год>\n  </ОтчетныйПериод>\n  <КорректируемыйПериод>\n"
             "   <ОтчетныйПериод>\n    <Код>0</Код>\n    <Год>" + year +
             "</Год>\n   </ОтчетныйПериод>\n  </КорректируемыйПериод>\n  <Тип>0</Тип>\n" + NameXml(p) +
             PeriodsXml(p) + " </СЗВ-КОРР>\n";
    }
  } else {
    xml += " <СЗВ-СТАЖ>\n" + EmployerXml(s) + "  <ОтчетныйПериод>\n   <Код>0</Код>\n   <Год>" + year +
           "</Год>\n  </ОтчетныйПериод>\n  <Тип>0</Тип>\n";
    int number = 0;
    for (const Person& p : s.persons)
      xml += "  <ЗЛ>\n   <НомерПП>" + std::to_string(++number) + "</НомерПП>\n" + NameXml(p) + PeriodsXml(p) +
             "  </ЗЛ>\n";
    xml += " </СЗВ-СТАЖ>\n";
  }
  xml += " <ОДВ-1>\n" + EmployerXml(s) + "  <ТипСведений>" + std::string(s.corrective ? "КОРРЕКТИРУЮЩАЯ" : "ИСХОДНАЯ") +
         "</ТипСведений>\n  <КоличествоЗЛ>" + std::to_string(s.persons.size()) + "</КоличествоЗЛ>\n </ОДВ-1>\n";
  xml += " <СлужебнаяИнформация>\n  <АФ4:GUID>" + s.guid + "</АФ4:GUID>\n  <АФ4:ДатаВремя>" + s.date +
         "T09:00:00</АФ4:ДатаВремя>\n </СлужебнаяИнформация>\n</ЭДЖУВ>\n";
  return xml;
}

// A List of the whole year with one position of Список 1 and the given persons
// in its nominal list.
std::string ListXml(const std::string& regNum, int year, const std::string& position = "1110200А-17541",
                    const std::string& staff = "2") {
  const std::string y = std::to_string(year);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Перечень ОтчетныйГод=\"" + y +
         "\" ОтчетныйПериод=\"12\" НакопитИтогом=\"0\" Тип=\"ИСХОДНЫЙ\">\n  <Предприятие РегНомер=\"" + regNum +
         "\" Наименование=\"АО &quot;Литейный завод&quot;\">\n    <Подразделение Номер=\"1\" "
         "Наименование=\"Литейный цех\">\n      <ПоименныйСписок>\n        <Работник СтраховойНомер=\"112-233-445 95\" "
         "Фамилия=\"Сидоров\" Имя=\"Олег\" Отчество=\"Петрович\">\n          <ПериодРаботы ДатаНач=\"01.10." + y +
         "\" ДатаКон=\"31.12." + y + "\">\n            <Профессия>Плавильщик</Профессия>\n"
         "            <ОснованиеЛьготы>27-1</ОснованиеЛьготы>\n            <Ставка>1</Ставка>\n"
         "            <ПозицияСписка>" + position + "</ПозицияСписка>\n          </ПериодРаботы>\n        </Работник>\n"
         "      </ПоименныйСписок>\n      <Позиция ДатаНач=\"01.01.2015\">\n        <Профессия>Плавильщик</Профессия>\n"
         "        <ОснованиеЛьготы>27-1</ОснованиеЛьготы>\n        <ПозицияСписка>" + position +
         "</ПозицияСписка>\n        <КоличествоШтат>" + staff + "</КоличествоШтат>\n      </Позиция>\n"
         "    </Подразделение>\n  </Предприятие>\n</Перечень>\n";
}

Person Sidorov(std::vector<Period> periods = {{"2019-10-01", "2019-12-31", "27-1", "1110200А-17541"}}) {
  return {"112-233-445 95", "Сидоров", "Олег", "Петрович", std::move(periods)};
}

std::string PackFileName(const std::string& regNum, int number) {
  return "PFR-700-Y-2019-ORG-" + regNum + "-DCK-0000" + std::to_string(number) + "-DPT-000000-DCK-00000.xml";
}

// ---- The run ----------------------------------------------------------------

class PipelineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dataFolder);
    fs::create_directories(isFolder);
    fs::create_directories(reportFolder);
    fs::create_directories(listFolder);
  }

  void AddPack(const PackContent& pack, int number = 1) {
    test::WriteFile(isFolder / PackFileName(pack.regNum, number), PackXml(pack));
  }
  void AddList(const std::string& name, const std::string& xml) { test::WriteFile(listFolder / name, xml); }

  // The configuration of a headless run against the server on `port`.
  void WriteConfig(int port, const std::string& options = "TerritoryControl=0\r\nWithList=1\r\n") {
    test::WriteFile(dataFolder / "MorvelConfig.ini",
                    "[Directories]\r\nIS=" + isFolder.string() + "\r\nReport=" + reportFolder.string() +
                        "\r\n[SummListServer]\r\nName=127.0.0.1\r\nPort=" + std::to_string(port) +
                        "\r\nApp=list4\r\nConnect=1\r\n[Options]\r\nStaff=1\r\nNameList=1\r\nDebug=1\r\n" + options);
  }

  test::ProcessResult Run(const std::vector<std::string>& args) {
    return test::RunProcess(test::BuiltProgram("morvel"), args,
                            {{"XDG_CONFIG_HOME", home.path().string()}, {"MORVEL_HTTP_TIMEOUT", "10"}});
  }
  test::ProcessResult RunWithServer(const std::vector<std::string>& extraConfig = {}) {
    ServerProcess server({"--lists", listFolder.string(), "--log", (work / "requests.log").string()});
    WriteConfig(server.Port(), extraConfig.empty() ? "TerritoryControl=0\r\nWithList=1\r\n" : extraConfig[0]);
    return Run({"bpi", isFolder.string(), reportFolder.string()});
  }

  // The one protocol of the report folder, in UTF-8 with LF breaks.
  std::string Protocol() const {
    std::vector<fs::path> found;
    for (const auto& e : fs::directory_iterator(reportFolder)) found.push_back(e.path());
    EXPECT_EQ(found.size(), 1u) << "the report folder holds the protocol and nothing else";
    if (found.empty()) return {};
    EXPECT_EQ(found[0].extension(), ".html");
    return test::ProtocolText(test::ReadFile(found[0]));
  }

  // An expected protocol written by hand, with the version, the build date, the
  // check date and the folder of packs filled in from the protocol itself.
  std::string Expected(const std::string& name, const std::string& actual) const {
    std::string text = test::ReadFile(test::TestData("pipeline/expected/" + name));
    std::smatch m;
    const std::regex version("версия (\\d+\\.\\d+\\.\\d+\\.\\d+) от (\\d\\d\\.\\d\\d\\.\\d{4})");
    EXPECT_TRUE(std::regex_search(actual, m, version)) << actual;
    const std::regex checkDate("Дата проверки: (\\d\\d\\.\\d\\d\\.\\d{4})</h4>");
    std::smatch d;
    EXPECT_TRUE(std::regex_search(actual, d, checkDate));
    auto replace = [&text](const std::string& from, const std::string& to) {
      for (std::size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
    };
    if (m.size() == 3) {
      replace("@VERSION@", m[1]);
      replace("@APPDATE@", m[2]);
    }
    if (d.size() == 2) replace("@CHECKDATE@", d[1]);
    replace("@IS@", isFolder.string());
    return text;
  }

  void ExpectProtocol(const std::string& expectedName) {
    const std::string actual = Protocol();
    EXPECT_EQ(actual, Expected(expectedName, actual));
  }

  test::TempDir home;
  test::TempDir work;
  fs::path dataFolder = home.path() / "Morvel";
  fs::path isFolder = work / "is";
  fs::path reportFolder = work / "report";
  fs::path listFolder = work / "lists";
};

TEST_F(PipelineTest, CleanPackAndMatchingListGiveCodeZeroAndNoErrors) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 0) << r.output;
  ExpectProtocol("clean.html");
  EXPECT_EQ(test::ReadFile(work / "requests.log"),
            "GET /list4/GetList?user=&pass=&regNum=099-009-000001&year=2019&quarter=4\n");
  EXPECT_FALSE(fs::exists(dataFolder / "Temp")) << "the run's own folder goes with the run";
}

TEST_F(PipelineTest, EmptyFolderGivesTheShortProtocolOfCodeTen) {
  WriteConfig(1);
  const test::ProcessResult r = Run({"/bpi", "099-009-000001"});
  EXPECT_EQ(r.exitCode, 10) << r.output;
  ExpectProtocol("no-files.html");
}

TEST_F(PipelineTest, UnreachableServerGivesTheShortProtocolOfCode21) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  int deadPort = 0;
  {
    ServerProcess gone({"--lists", listFolder.string()});
    deadPort = gone.Port();
  }
  WriteConfig(deadPort);
  const test::ProcessResult r = Run({"bpi", isFolder.string(), reportFolder.string()});
  EXPECT_EQ(r.exitCode, 21) << r.output;
  ExpectProtocol("server-down.html");
}

TEST_F(PipelineTest, PreferentialPersonsWithoutListGiveCode23AndTheServersWarning) {
  AddPack({.persons = {Sidorov()}});
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 23) << r.output;
  const std::string protocol = Protocol();
  EXPECT_NE(protocol.find("Код завершения программы: 23</div>"), std::string::npos);
  EXPECT_NE(protocol.find("По запрашиваемым параметрам ничего найдено не было"), std::string::npos) << protocol;
  EXPECT_EQ(protocol.find("<h3>Ошибок нет</h3>"), std::string::npos);  // the server's warning is a search message
}

TEST_F(PipelineTest, NothingPreferentialAndNoListGiveCode11) {
  AddPack({.persons = {Sidorov({{"2019-10-01", "2019-12-31", "", ""}})}});
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 11) << r.output;
  EXPECT_NE(Protocol().find("Код завершения программы: 11</div>"), std::string::npos);
}

TEST_F(PipelineTest, PeriodOfAPositionMissingFromTheListIsAnError) {
  AddPack({.persons = {Sidorov({{"2019-10-01", "2019-12-31", "27-1", "1010100А-13790"}})}});
  AddList("list.xml", ListXml("099-009-000001", 2019));
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 30) << r.output;
  const std::string protocol = Protocol();
  EXPECT_NE(protocol.find("<table id=\"TPositionErrors\""), std::string::npos) << protocol;
  EXPECT_EQ(protocol.find("<div class=\"warn\">"), std::string::npos);  // no warning, no division
}

TEST_F(PipelineTest, CorrectiveRecordsOnlyKeepCode22WithOneErrorTableAndRaiseItWithTwo) {
  {
    AddPack({.corrective = true, .persons = {Sidorov({{"2019-10-01", "2019-12-31", "27-1", "1010100А-13790"}})}});
    AddList("list.xml", ListXml("099-009-000001", 2019));
    const test::ProcessResult r = RunWithServer();
    EXPECT_EQ(r.exitCode, 22) << r.output;
    const std::string protocol = Protocol();
    EXPECT_NE(protocol.find("<table id=\"TPositionErrors\""), std::string::npos) << protocol;
    EXPECT_NE(protocol.find("<td>2019, 4</td>"), std::string::npos);  // the corrective row's period cell
  }
  fs::remove_all(reportFolder);
  fs::create_directories(reportFolder);
  AddPack({.corrective = true,
           .persons = {Sidorov({{"2019-10-01", "2019-11-30", "27-1", "1010100А-13790"},
                                {"2019-12-01", "2019-12-31", "27-1", "1110200А-17541", "ДЕТИ"}})}});
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 30) << r.output;
}

TEST_F(PipelineTest, TwoSetsArePrintedFromTheLastAndTheWorstCodeWins) {
  // 2019: an error; 2020: clean. The sets are verified from the last found to
  // the first, each with a heading of its own.
  AddPack({.persons = {Sidorov({{"2019-10-01", "2019-12-31", "27-1", "1010100А-13790"}})}}, 1);
  AddPack({.year = 2020,
           .guid = "0c1e2a4b-0000-4000-8000-000000000002",
           .date = "2021-01-15",
           .persons = {Sidorov({{"2020-10-01", "2020-12-31", "27-1", "1110200А-17541"}})}},
          2);
  AddList("list-2019.xml", ListXml("099-009-000001", 2019));
  AddList("list-2020.xml", ListXml("099-009-000001", 2020));
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 30) << r.output;
  const std::string protocol = Protocol();
  const auto first = protocol.find("Отчетный период: <b>");
  ASSERT_NE(first, std::string::npos);
  const auto second = protocol.find("Отчетный период: <b>", first + 1);
  ASSERT_NE(second, std::string::npos) << "two period headings";
  EXPECT_NE(protocol.find("<td>4,2019</td>"), std::string::npos);
  EXPECT_NE(protocol.find("<td>4,2020</td>"), std::string::npos);
  EXPECT_NE(protocol.find("<b>Всего исходных: 2</b>"), std::string::npos);
}

TEST_F(PipelineTest, CorrectivePacksAreListedByTheirDates) {
  AddPack({.persons = {Sidorov()}}, 1);
  const std::vector<std::pair<std::string, std::string>> dates = {
      {"0c1e2a4b-0000-4000-8000-00000000000a", "2021-05-01"},
      {"0c1e2a4b-0000-4000-8000-00000000000b", "2020-03-15"},
      {"0c1e2a4b-0000-4000-8000-00000000000c", "2021-01-10"}};
  int number = 2;
  for (const auto& [guid, date] : dates)
    AddPack({.corrective = true, .guid = guid, .date = date, .persons = {Sidorov()}}, number++);
  AddList("list.xml", ListXml("099-009-000001", 2019));
  RunWithServer();
  const std::string protocol = Protocol();
  const auto b = protocol.find("<td>2020-03-15</td>");
  const auto c = protocol.find("<td>2021-01-10</td>");
  const auto a = protocol.find("<td>2021-05-01</td>");
  ASSERT_NE(a, std::string::npos) << protocol;
  EXPECT_LT(b, c);
  EXPECT_LT(c, a);
  EXPECT_NE(protocol.find("<b>Всего корректирующих: 3</b>"), std::string::npos);
}

TEST_F(PipelineTest, WithoutListComparisonNoSetCodeIsMade) {
  AddPack({.persons = {Sidorov({{"2019-10-01", "2019-12-31", "27-1", "1010100А-13790"}})}});
  const test::ProcessResult r = RunWithServer({"TerritoryControl=1\r\nWithList=0\r\n"});
  EXPECT_EQ(r.exitCode, 0) << r.output;
  const std::string protocol = Protocol();
  EXPECT_EQ(protocol.find("<li>Сверка по фактическим периодам.</li>"), std::string::npos);
  EXPECT_NE(protocol.find("<input type=\"checkbox\" checked disabled> Проверка правомерности"), std::string::npos);
}

// The first table of a set whose only finding is Sidorov's unlawful МКС period,
// and that finding's row with the table's end, as the protocol prints them.
constexpr char kTerrCodeTableHead[] =
    "<h3 style=\"text-align:center\">1. Проверка правомерности проставления территориальных "
    "условий</h3>\n<b>Таблица 1.1 Неправомерное проставление территориальных условий</b><br/>\n"
    "<table id=\"TTerrCodeErrors\" width=\"100%\" border=\"1\">";
constexpr char kSidorovUnlawfulMksRow[] =
    "<td>112-233-445 95</td>\n<td>СИДОРОВ О.П.</td>\n<td>01.10.2019 - 31.12.2019</td>\n"
    "<td>МКС</td>\n<td></td>\n</tr>\n</table>\n"
    "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 1</b></div><br/>";

TEST_F(PipelineTest, TerritorialCodeWithoutARightIsAnError) {
  AddPack({.persons = {Sidorov({{"2019-10-01", "2019-12-31", "27-1", "1110200А-17541", "", "МКС"}})}});
  AddList("list.xml", ListXml("099-009-000001", 2019));
  // No rights list at all: the employer may use no code.
  const test::ProcessResult r = RunWithServer({"TerritoryControl=1\r\nWithList=1\r\n"});
  EXPECT_EQ(r.exitCode, 30) << r.output;
  const std::string protocol = Protocol();
  EXPECT_NE(protocol.find(kTerrCodeTableHead),
            std::string::npos)
      << protocol;
  EXPECT_NE(protocol.find(kSidorovUnlawfulMksRow),
            std::string::npos)
      << protocol;
}

TEST_F(PipelineTest, MarkupInAnOrganisationNamePrintsAsText) {
  AddPack({.orgName = "&lt;script&gt;alert(1)&lt;/script&gt; ООО", .persons = {Sidorov()}});
  AddList("list.xml", ListXml("099-009-000001", 2019));
  RunWithServer();
  const std::string protocol = Protocol();
  EXPECT_EQ(protocol.find("<script>alert"), std::string::npos);
  EXPECT_NE(protocol.find("Организация:<br/>&lt;script&gt;alert(1)&lt;/script&gt; ООО</h3>"), std::string::npos)
      << protocol;
}

// The demo employer's protocol in a real browser: the warning switch hides
// every warning the reconciliation found and shows them again.
TEST_F(PipelineTest, DemoProtocolWarningSwitchWorksInABrowser) {
  fs::copy(fs::path(MORVEL_SOURCE_DIR) / "demo/is", isFolder);
  fs::copy(fs::path(MORVEL_SOURCE_DIR) / "demo/lists", listFolder);
  const test::ProcessResult r = RunWithServer({"TerritoryControl=1\r\nWithList=1\r\n"});
  ASSERT_EQ(r.exitCode, 30) << r.output;
  fs::path protocol;
  for (const auto& e : fs::directory_iterator(reportFolder)) protocol = e.path();
  const test::ProcessResult run =
      test::RunProcess("/bin/bash", {MORVEL_SOURCE_DIR "/scripts/check-warning-switch.sh", protocol.string()});
  if (run.exitCode == 127) {
    GTEST_SKIP() << "no Chromium installed (Debian package chromium, see scripts/bootstrap.sh): "
                    "the warning switch is not checked in a browser";
  }
  ASSERT_EQ(run.exitCode, 0) << run.output;
  std::smatch m;
  const std::regex line("warnings=(\\d+) errors=(\\d+) shown=(\\d+)/(\\d+) untick=(\\d+)/(\\d+) retick=(\\d+)/(\\d+)");
  ASSERT_TRUE(std::regex_search(run.output, m, line)) << run.output;
  EXPECT_GT(std::stoi(m[1]), 0) << "the demo has warnings";
  EXPECT_GT(std::stoi(m[2]), 0) << "the demo has errors";
  EXPECT_EQ(m[3], m[1]);
  EXPECT_EQ(m[5], "0") << "a warning stays visible after unticking";
  EXPECT_EQ(m[6], m[2]) << "unticking hid an error";
  EXPECT_EQ(m[7], m[1]) << "ticking again did not show every warning";
}

// Headless runs of several employers may be started at once into one report
// folder: each must get a whole protocol with its own findings only.
TEST_F(PipelineTest, EightRunsAtOnceIntoOneReportFolderKeepTheirOwnProtocols) {
  std::vector<std::string> numbers;
  std::vector<fs::path> folders;
  for (int i = 1; i <= 8; ++i) {
    const std::string regNum = "099-009-00000" + std::to_string(i);
    numbers.push_back(regNum);
    folders.push_back(work / ("is" + std::to_string(i)));
    // Odd employers report a position the List does not have: an error of their own.
    const std::string position = i % 2 == 1 ? "1010100А-13790" : "1110200А-17541";
    const std::string guid = "0c1e2a4b-0000-4000-8000-00000000010" + std::to_string(i);
    test::WriteFile(folders.back() / PackFileName(regNum, 1),
                    PackXml({.regNum = regNum, .guid = guid,
                             .persons = {Sidorov({{"2019-10-01", "2019-12-31", "27-1", position}})}}));
    AddList("list-" + std::to_string(i) + ".xml", ListXml(regNum, 2019));
  }
  ServerProcess server({"--lists", listFolder.string()});
  WriteConfig(server.Port());
  std::vector<std::future<test::ProcessResult>> runs;
  for (const fs::path& folder : folders)
    runs.push_back(std::async(std::launch::async, [this, folder] {
      return Run({"bpi", folder.string(), reportFolder.string()});
    }));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const test::ProcessResult r = runs[i].get();
    EXPECT_EQ(r.exitCode, i % 2 == 0 ? 30 : 0) << numbers[i] << ": " << r.output;
  }
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const fs::path file = reportFolder / ("MORVEL-2019-4-REGNO-" + numbers[i] + ".html");
    ASSERT_TRUE(fs::exists(file)) << file;
    const std::string protocol = test::ProtocolText(test::ReadFile(file));
    EXPECT_TRUE(protocol.size() > 16 && protocol.compare(protocol.size() - 16, 16, "</body>\n</html>\n") == 0);
    EXPECT_EQ(std::count_if(numbers.begin(), numbers.end(),
                            [&](const std::string& n) { return protocol.find(n) != std::string::npos; }),
              1)
        << "only its own employer in " << file;
    EXPECT_EQ(protocol.find("<table id=\"TPositionErrors\"") != std::string::npos, i % 2 == 0) << file;
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(reportFolder)) ++files;
  EXPECT_EQ(files, 8u) << "no part files or half-written protocols are left in the report folder";
}

// ---- 2010, reported by half-years ------------------------------------------

// The List server counts the half-years of 2010 in its quarter parameter: the
// second half-year set asks for half-year 2; the first asks for half-year 2
// collecting from 1, then for 1. A 12-month List that is not cumulative
// belongs to the second half-year only, and each List is counted over the six
// months of its half-year, as the packs are.
TEST_F(PipelineTest, HalfYearsOf2010TakeTheirOwnListsFromTheServer) {
  fs::copy(test::TestData("half-years-2010/is"), isFolder);
  fs::copy(test::TestData("half-years-2010/lists"), listFolder);
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(test::ReadFile(work / "requests.log"),
            "GET /list4/GetList?user=&pass=&regNum=099-009-000001&year=2010&quarter=2\n"
            "GET /list4/GetList?user=&pass=&regNum=099-009-000001&year=2010&quarter=2&collect=1\n"
            "GET /list4/GetList?user=&pass=&regNum=099-009-000001&year=2010&quarter=1\n");
  const std::string protocol = Protocol();
  EXPECT_NE(protocol.find("Отчетный период: <b>\nвторое полугодие\n, \n2010 год </b></h3>\n<h3>Ошибок нет</h3>"),
            std::string::npos)
      << protocol;
  EXPECT_NE(protocol.find("Отчетный период: <b>\nпервое полугодие\n, \n2010 год </b></h3>\n<h3>Ошибок нет</h3>"),
            std::string::npos);
  EXPECT_NE(protocol.find("<b>Для сверки ИС за 2010 год 4 период, использовался файл Перечня: Перечень из БД ПК "
                          "&quot;Велано&quot; за 2010 год 12 период (АО &quot;Литейный завод&quot;)</b><br/>"),
            std::string::npos);
  EXPECT_NE(protocol.find("<b>Для сверки ИС за 2010 год 2 период, использовался файл Перечня: Перечень из БД ПК "
                          "&quot;Велано&quot; за 2010 год 6 период (АО &quot;Литейный завод&quot;)</b><br/>"),
            std::string::npos);
}

// ---- Corrective records ---------------------------------------------------

// A corrective record replaces the person's earlier records and with them
// their findings, and only theirs: what the record in force itself gets wrong
// is reported, and a table that only the replaced records filled is not
// printed, counted or numbered.
TEST_F(PipelineTest, CorrectiveRecordTakesAwayOnlyTheFindingsOfTheRecordsItReplaces) {
  const Period right{"2019-10-01", "2019-12-31", "27-1", "1110200А-17541"};
  const Period unlawfulMks{"2019-10-01", "2019-12-31", "27-1", "1110200А-17541", "", "МКС"};
  const Period withChildren{"2019-10-01", "2019-12-31", "27-1", "1110200А-17541", "ДЕТИ"};
  const Period missingPosition{"2019-10-01", "2019-12-31", "27-1", "1010100А-13790"};
  const auto run = [&](const Period& initial, const Period& corrective) {
    fs::remove_all(isFolder);
    fs::remove_all(reportFolder);
    fs::create_directories(reportFolder);
    AddPack({.persons = {Sidorov({initial})}}, 1);
    AddPack({.corrective = true, .guid = "0c1e2a4b-0000-4000-8000-000000000002", .date = "2020-03-15",
             .persons = {Sidorov({corrective})}},
            2);
    return RunWithServer({"TerritoryControl=1\r\nWithList=1\r\n"});
  };
  AddList("list.xml", ListXml("099-009-000001", 2019));
  {
    SCOPED_TRACE("an error corrected away");
    const test::ProcessResult r = run(unlawfulMks, right);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    const std::string protocol = Protocol();
    EXPECT_NE(protocol.find("<h3>Ошибок нет</h3>"), std::string::npos) << protocol;
    EXPECT_EQ(protocol.find("<table id=\"TTerrCodeErrors\""), std::string::npos);
    EXPECT_EQ(protocol.find("ИТОГО ОШИБОК: 0"), std::string::npos);
  }
  {
    SCOPED_TRACE("a warning corrected away");
    const test::ProcessResult r = run(withChildren, right);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    const std::string protocol = Protocol();
    EXPECT_EQ(protocol.find("<div class=\"warn\">"), std::string::npos) << protocol;
    EXPECT_EQ(protocol.find("ИТОГО ПРЕДУПРЕЖДЕНИЙ: 0"), std::string::npos);
  }
  {
    SCOPED_TRACE("the corrective record's own error");
    const test::ProcessResult r = run(right, unlawfulMks);
    EXPECT_EQ(r.exitCode, 30) << r.output;
    const std::string protocol = Protocol();
    EXPECT_NE(protocol.find(kTerrCodeTableHead),
              std::string::npos)
        << protocol;
    EXPECT_NE(protocol.find(kSidorovUnlawfulMksRow),
              std::string::npos);
  }
  {
    SCOPED_TRACE("the tables that stay are numbered from 1");
    const test::ProcessResult r = run(unlawfulMks, missingPosition);
    EXPECT_EQ(r.exitCode, 30) << r.output;
    const std::string protocol = Protocol();
    EXPECT_EQ(protocol.find("Проверка правомерности проставления территориальных условий</h3>"), std::string::npos)
        << protocol;
    EXPECT_NE(protocol.find("<h3 style=\"text-align:center\">1. Сверка на наличие позиций в Перечне</h3>\n"
                            "<b>Таблица 1.1 Позиции, отсутствующие в Перечне</b><br/>\n<table id=\"TPositionErrors\""),
              std::string::npos);
  }
}

// ---- The data folder --------------------------------------------------------

#ifndef _WIN32
// Runs the program with `folder` read-only for it: by its permissions, or, for
// the superuser whom permissions do not stop, by a read-only mount of its own.
// The output says "no-read-only-mount" when neither can be had here.
test::ProcessResult RunWithReadOnlyFolder(const fs::path& folder, const std::vector<std::string>& args,
                                          const std::map<std::string, std::string>& environment) {
  if (geteuid() != 0) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    test::ProcessResult r = test::RunProcess(test::BuiltProgram("morvel"), args, environment);
    fs::permissions(folder, fs::perms::owner_all);
    return r;
  }
  std::vector<std::string> wrapped = {"-m", "sh", "-c", "mount --bind -o ro \"$0\" \"$0\" || { echo no-read-only-mount; exit 97; }; exec \"$@\"",
                                      folder.string(), test::BuiltProgram("morvel").string()};
  wrapped.insert(wrapped.end(), args.begin(), args.end());
  return test::RunProcess("/usr/bin/unshare", wrapped, environment);
}
#endif

// Nothing of a clean headless run but its working files needs the data
// folder's Temp: a data folder that cannot be written (a read-only profile, a
// copy on a read-only share) still gives the protocol and the exit code, the
// run working in the system's temporary folder; where the log can be written,
// it says so there.
TEST_F(PipelineTest, RunWithATempFolderItCannotWriteWorksInTheSystemsTemporaryFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "read-only folders are made with POSIX means here";
#else
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  ServerProcess server({"--lists", listFolder.string()});
  // Without the debug log, as the fund's workstations run: a clean run writes
  // no log entry, so a read-only data folder has nothing else to refuse.
  test::WriteFile(dataFolder / "MorvelConfig.ini",
                  "[Directories]\r\nIS=" + isFolder.string() + "\r\nReport=" + reportFolder.string() +
                      "\r\n[SummListServer]\r\nName=127.0.0.1\r\nPort=" + std::to_string(server.Port()) +
                      "\r\nApp=list4\r\nConnect=1\r\n[Options]\r\nStaff=1\r\nNameList=1\r\nDebug=0\r\n"
                      "TerritoryControl=0\r\nWithList=1\r\n");
  const std::map<std::string, std::string> environment = {{"XDG_CONFIG_HOME", home.path().string()},
                                                           {"MORVEL_HTTP_TIMEOUT", "10"}};
  const std::vector<std::string> args = {"bpi", isFolder.string(), reportFolder.string()};
  {
    SCOPED_TRACE("the whole data folder read-only");
    const test::ProcessResult r = RunWithReadOnlyFolder(dataFolder, args, environment);
    if (r.output.find("no-read-only-mount") != std::string::npos) {
      GTEST_SKIP() << "no read-only folder can be made here: " << r.output;
    }
    EXPECT_EQ(r.exitCode, 0) << r.output;
    ExpectProtocol("clean.html");
    EXPECT_FALSE(fs::exists(dataFolder / "Temp"));
    EXPECT_FALSE(fs::exists(dataFolder / "logs"));
  }
  {
    SCOPED_TRACE("only Temp read-only");
    fs::remove_all(reportFolder);
    fs::create_directories(reportFolder);
    // Something in it that the start-up cleaning cannot remove keeps the folder.
    test::WriteFile(dataFolder / "Temp" / "kept.txt", "");
    const test::ProcessResult r = RunWithReadOnlyFolder(dataFolder / "Temp", args, environment);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    ExpectProtocol("clean.html");
    const std::string log = test::ReadLogs(dataFolder / "logs");
    const std::size_t at = log.find("---каталог \"" + (dataFolder / "Temp").string() +
                                    "\" недоступен для записи, рабочий каталог сверки: \"" +
                                    fs::temp_directory_path().string());
    ASSERT_NE(at, std::string::npos) << log;
    const std::size_t lineEnd = log.rfind('\n', at);
    const std::size_t lineStart = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    EXPECT_NE(log.substr(lineStart, at - lineStart).find("[ОШИБКА] "), std::string::npos) << log;
  }
#endif
}

// ---- Faults and hostile input ---------------------------------------------

// Every file the run left in the data folder (logs, traces, its own folder) and
// the report folder, to look for what must never be written.
std::string EverythingWritten(const std::vector<fs::path>& folders) {
  std::string all;
  for (const fs::path& folder : folders) {
    if (!fs::exists(folder)) continue;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
      if (e.is_regular_file()) all += e.path().string() + "\n" + test::ReadFile(e.path()) + "\n";
    }
  }
  return all;
}

// A List server that fails in any way ends the run with code 21 within the
// time-out, a short protocol that says the connection failed, and the reason in
// the log, so the fund's staff can tell a dead server from a broken one.
TEST_F(PipelineTest, EveryServerFaultEndsInCode21WithTheShortProtocolAndItsReason) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  const struct {
    const char* fault;
    const char* reason;  // empty: the client's own words, which differ by version
  } faults[] = {{"http-error", "HTTP-статус 500"},
                {"not-xml", "ответ не является полным XML-документом"},
                // A proxy's error page is a document too, but no answer of the server.
                {"html-page", "ответ не является ни Перечнем, ни сообщением сервера (корневой элемент html)"},
                {"truncated", ""},
                {"hang", "истекло время ожидания ответа"},
                {"endless", ""}};
  for (const auto& f : faults) {
    SCOPED_TRACE(f.fault);
    fs::remove_all(dataFolder / "logs");
    fs::remove_all(reportFolder);
    fs::create_directories(reportFolder);
    ServerProcess server({"--lists", listFolder.string(), "--fault", f.fault});
    WriteConfig(server.Port());
    const auto start = std::chrono::steady_clock::now();
    const test::ProcessResult r = test::RunProcess(
        test::BuiltProgram("morvel"), {"bpi", isFolder.string(), reportFolder.string()},
        {{"XDG_CONFIG_HOME", home.path().string()}, {"MORVEL_HTTP_TIMEOUT", "3"}});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(r.exitCode, 21) << r.output;
    EXPECT_EQ(r.output, "") << "nothing on the caller's standard output or error";
    ExpectProtocol("server-down.html");
    const std::string log = test::ReadLogs(dataFolder / "logs");
    EXPECT_NE(log.find("---возникла ошибка при подключении к Велано\r\n"), std::string::npos) << log;
    const std::string reasonLine = std::string("---причина: ") + f.reason;
    const std::size_t at = log.find(reasonLine);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_GT(log.find("\r\n", at), at + std::string("---причина: ").size()) << "the reason is never empty";
    if (*f.reason != '\0') {
      EXPECT_EQ(log.compare(at + reasonLine.size(), 2, "\r\n"), 0) << log;
    }
  }
}

// The password is kept encoded in the configuration and sent in the query; no
// log line, trace or protocol may show it in clear, whether the run succeeds,
// the server fails, or the address is one the client cannot even use.
TEST_F(PipelineTest, TheClearPasswordIsWrittenNowhere) {
  const std::string user = "кадры-Uq7";
  const std::string password = "Zx9Qw7&Секрет#42";
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  const std::string credentials = "SavePassw=1\r\nLogin=" + EncryptText(user, kUserNameKey) +
                                  "\r\nPassword=" + EncryptText(password, kPasswordKey) + "\r\n";
  auto configure = [&](const std::string& machine, int port) {
    test::WriteFile(dataFolder / "MorvelConfig.ini",
                    Utf8ToCp1251("[Directories]\r\nIS=" + isFolder.string() + "\r\nReport=" + reportFolder.string() +
                                 "\r\n[SummListServer]\r\nName=" + machine + "\r\nPort=" + std::to_string(port) +
                                 "\r\nApp=list4\r\nConnect=1\r\n" + credentials +
                                 "[Options]\r\nStaff=1\r\nNameList=1\r\nDebug=1\r\nTerritoryControl=0\r\nWithList=1\r\n"));
  };
  {
    ServerProcess server({"--lists", listFolder.string(), "--user", user, "--password", password});
    configure("127.0.0.1", server.Port());
    const test::ProcessResult ok = Run({"bpi", isFolder.string(), reportFolder.string()});
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
  }
  {
    ServerProcess server({"--lists", listFolder.string(), "--fault", "not-xml"});
    configure("127.0.0.1", server.Port());
    EXPECT_EQ(Run({"bpi", isFolder.string(), reportFolder.string()}).exitCode, 21);
  }
  configure("127.0.0.1 bad name", 1);
  EXPECT_EQ(Run({"bpi", isFolder.string(), reportFolder.string()}).exitCode, 21);

  const std::string written = EverythingWritten({dataFolder, reportFolder});
  ASSERT_NE(written.find("---причина: неверный адрес"), std::string::npos) << "the third run took the path it meant to";
  // The ASCII run of the password survives percent-encoding and the code page.
  for (const std::string& secret : {password, Utf8ToCp1251(password), std::string("Zx9Qw7")}) {
    EXPECT_EQ(written.find(secret), std::string::npos) << "the password stands in what the runs wrote";
  }
}

// Names, the organisation and file names come from the employer: in the
// protocol they must stay text, so a page opened by the fund's staff runs
// nothing and shows what the employer wrote.
TEST_F(PipelineTest, MarkupFromAnyInputPrintsAsText) {
  Person person = Sidorov({{"2019-10-01", "2019-12-31", "27-1", "1010100А-13790"}});
  person.surname = "&lt;script&gt;alert(1)&lt;/script&gt;";
  person.name = "&lt;img src=x onerror=alert(2)&gt;";
  PackContent pack{.orgName = "&lt;script&gt;alert(3)&lt;/script&gt;", .persons = {person}};
  test::WriteFile(isFolder / "PFR-700-Y-2019-ORG-099-009-000001-DCK-<b>1<b>.xml", PackXml(pack));
  AddList("list.xml", ListXml("099-009-000001", 2019));
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 30) << r.output;
  const std::string protocol = Protocol();
  // The one script is the protocol's own warning switch.
  const std::size_t script = protocol.find("<script");
  ASSERT_NE(script, std::string::npos);
  EXPECT_EQ(protocol.compare(script, 40, "<script type=\"text/javascript\">function "), 0);
  EXPECT_EQ(protocol.find("<script", script + 1), std::string::npos) << protocol;
  EXPECT_EQ(protocol.find("<img"), std::string::npos);
  EXPECT_EQ(protocol.find("<b>1<b>"), std::string::npos);
  EXPECT_NE(protocol.find("&lt;script&gt;alert(3)&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(protocol.find("&lt;b&gt;1&lt;b&gt;.xml"), std::string::npos) << "the file name in the list of packs";
  EXPECT_NE(protocol.find("<td>&lt;SCRIPT&gt;ALERT(1)&lt;/SCRIPT&gt; &lt;.П.</td>"), std::string::npos)
      << "the surname, upper-cased with the initials, in the error table";
}

// Archives among the packs that are damaged, unpack to gigabytes or hold
// another archive are each refused, in the log and as an error of the protocol;
// names that lead out of the folder are cut to their file name and land in the
// archive's own folder. The good pack beside them is read and reconciled.
TEST_F(PipelineTest, BadArchivesAreRefusedAndTheRunGoesOn) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  const std::string pack = PackXml({.guid = "0c1e2a4b-0000-4000-8000-0000000000aa", .persons = {Sidorov()}});
  test::WriteZip(work / "whole.zip", {{"a.xml", pack}});
  const std::string whole = test::ReadFile(work / "whole.zip");
  test::WriteFile(isFolder / "cut.zip", whole.substr(0, whole.size() / 2));
  test::WriteZip(isFolder / "climb.zip", {{"../../escaped.xml", "<not-a-pack/>"}});
  test::WriteZip(isFolder / "rooted.zip", {{"/tmp/morvel-rooted.xml", "<not-a-pack/>"}});
  test::WriteZipOfZeros(isFolder / "bomb.zip", "big.xml", std::uint64_t{3} << 30);
  test::WriteZip(isFolder / "nested.zip", {{"inner.zip", whole}});

  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 0) << r.output;
  const std::string protocol = Protocol();
  EXPECT_NE(protocol.find("<td>" + isFolder.string() + "/PFR-700-Y-2019-ORG-099-009-000001-DCK-00001-DPT-000000-DCK-00000.xml</td>"),
            std::string::npos) << protocol;
  EXPECT_NE(protocol.find("<b>Всего исходных: 1</b>"), std::string::npos);
  const std::string log = test::ReadLogs(dataFolder / "logs");
  for (const char* archive : {"cut.zip", "bomb.zip"}) {
    EXPECT_NE(log.find("---архив не распакован (" + (isFolder / archive).string() + "): "), std::string::npos)
        << archive << "\n" << log;
    EXPECT_NE(protocol.find("<h3 style=\"color:red\"><b>Архив не распакован (" + (isFolder / archive).string() + "): "),
              std::string::npos) << archive << "\n" << protocol;
  }
  const std::string nested = (isFolder / "nested.zip").string() + " -&gt; inner.zip";
  EXPECT_NE(log.find("---вложенный архив не распакован (" + (isFolder / "nested.zip").string() + " -> inner.zip)"),
            std::string::npos)
      << log;
  EXPECT_NE(protocol.find("<b>Вложенный архив не распакован (" + nested + ")</b>"), std::string::npos) << protocol;
  for (const char* archive : {"climb.zip", "rooted.zip"}) {
    EXPECT_EQ(log.find("---архив не распакован (" + (isFolder / archive).string()), std::string::npos) << archive;
  }
  EXPECT_NE(log.find("/escaped.xml\r\n"), std::string::npos) << "the climbing entry was unpacked and read\n" << log;
  EXPECT_FALSE(fs::exists(work.path().parent_path() / "escaped.xml"));
  EXPECT_FALSE(fs::exists(isFolder.parent_path().parent_path() / "escaped.xml"));
  EXPECT_FALSE(fs::exists("/tmp/morvel-rooted.xml"));
  EXPECT_FALSE(fs::exists(dataFolder / "Temp")) << "whatever was unpacked went with the run";
}

bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t follow = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
    if (follow == 4) return false;
    for (; follow > 0; --follow) {
      if (++i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return false;
    }
  }
  return true;
}

// The packs of an employer often come zipped by a Windows archiver: names
// beyond ASCII flagged as UTF-8, or without the flag in the OEM code page. Each
// pack is read under the name it was given; an entry that names no file, or
// would overwrite another, is left out with an error of the protocol, and the
// rest of its archive is read as usual.
TEST_F(PipelineTest, PacksInArchivesKeepTheirNamesAndOneBadEntryLosesNoOther) {
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  const std::string pack =
      test::ReadFile(test::TestData("pipeline/clean/is/PFR-700-Y-2019-ORG-099-009-000001-DCK-00001-DPT-000000-DCK-00000.xml"));
  // "ЖУВ_протокол.xml" in CP866: a file of the fund that is no pack of records.
  const std::string oemName = "\x86\x93\x82_\xaf\xe0\xae\xe2\xae\xaa\xae\xab.xml";
  test::WriteStoredZip(isFolder / "packs.zip", {{"Пачки/Пачка_1.xml", pack, true},
                                                {"../../escape.xml", "<not-a-pack/>", false},
                                                {"..", "x", false},
                                                {"copy/пачка_1.XML", pack, true},
                                                {oemName, "<ЭДЖУВ/>", false}});
  // No pack lies in the folder itself to take the employer's number from.
  ServerProcess server({"--lists", listFolder.string()});
  WriteConfig(server.Port());
  const test::ProcessResult r = Run({"/bpi", "099-009-000001"});
  EXPECT_EQ(r.exitCode, 0) << r.output;
  const std::string protocol = Protocol();
  EXPECT_NE(protocol.find("/Пачка_1.xml</td>"), std::string::npos) << protocol;
  EXPECT_NE(protocol.find("<b>Всего исходных: 1</b>"), std::string::npos);
  const std::string archive = (isFolder / "packs.zip").string();
  EXPECT_NE(protocol.find("<h3 style=\"color:red\"><b>Элемент архива не распакован (" + archive +
                          " -&gt; ..): в имени элемента нет имени файла</b></h3>"),
            std::string::npos)
      << protocol;
  EXPECT_NE(protocol.find("<h3 style=\"color:red\"><b>Элемент архива не распакован (" + archive +
                          " -&gt; copy/пачка_1.XML): имя файла уже занято элементом Пачки/Пачка_1.xml</b></h3>"),
            std::string::npos)
      << protocol;
  const std::string log = test::ReadLogs(dataFolder / "logs");
  EXPECT_TRUE(IsUtf8(log));
  EXPECT_NE(log.find("/ЖУВ_протокол.xml\r\n"), std::string::npos) << log;
  EXPECT_FALSE(fs::exists(work.path().parent_path() / "escape.xml"));
  EXPECT_FALSE(fs::exists(isFolder.parent_path().parent_path() / "escape.xml"));
}

// An archive of more entries than any employer's packs is refused with its
// reason; when it held all there was, the short protocol says why nothing was
// found.
TEST_F(PipelineTest, AnArchiveOfTooManyEntriesIsNamedInTheShortProtocol) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i <= 20000; ++i) entries.emplace_back("d" + std::to_string(i) + "/", "");
  test::WriteZip(isFolder / "many.zip", entries);
  WriteConfig(1);
  const test::ProcessResult r = Run({"/bpi", "099-009-000001"});
  EXPECT_EQ(r.exitCode, 10) << r.output;
  const std::string protocol = Protocol();
  EXPECT_NE(protocol.find("Не было найдено файлов индивидуальных сведений в формате .xml"), std::string::npos);
  EXPECT_NE(protocol.find("<h3 style=\"color:red\"><b>Архив не распакован (" + (isFolder / "many.zip").string() +
                          "): в архиве больше 20000 элементов</b></h3>"),
            std::string::npos)
      << protocol;
}

// A pack whose bytes its declared encoding lacks is a broken pack for the
// protocol; the libxml2 reader must not print about it on the caller's
// standard error.
TEST_F(PipelineTest, APackWithBytesItsEncodingLacksLeavesStandardErrorClean) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  test::WriteFile(isFolder / "PFR-700-Y-2019-ORG-099-009-000001-DCK-00009-DPT-000000-DCK-00000.xml",
                  "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<ЭДЖУВ>\x98\x98</ЭДЖУВ>\n");
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.output, "");
}

// Names of folders and files come from whoever made them: a folder of packs or
// a file named with markup must print as text wherever the protocol names it
// (the list of packs, a pack that cannot be read, a refused archive or entry).
TEST_F(PipelineTest, MarkupInFolderAndFileNamesPrintsAsText) {
  const std::string hostile = "\"><img src=x onerror=alert(1)>";
  isFolder = work / ("is" + hostile);
  fs::create_directories(isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  // The header of the employer, but no service information: the pack's further
  // reading fails and the protocol names the file.
  std::string broken = PackXml({.guid = "0c1e2a4b-0000-4000-8000-0000000000bb", .persons = {Sidorov()}});
  broken.erase(broken.find(" <СлужебнаяИнформация>"), broken.find("</ЭДЖУВ>") - broken.find(" <СлужебнаяИнформация>"));
  test::WriteFile(isFolder / ("PFR-700-Y-2019-ORG-099-009-000001-DCK-00002<script>alert(2)<script>.xml"), broken);
  test::WriteZip(isFolder / "<b>cut<b>.zip", {{"a.xml", "<a/>"}});
  test::WriteFile(isFolder / "<b>cut<b>.zip", test::ReadFile(isFolder / "<b>cut<b>.zip").substr(0, 30));
  test::WriteZip(isFolder / "entries.zip", {{"<i>x</i>/..", "x"}, {"R&D.zip", "PK"}});
  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 0) << r.output;
  const std::string protocol = Protocol();
  for (const char* markup : {"<img", "<script>alert(2)", "<b>cut", "<i>x", "R&D"}) {
    EXPECT_EQ(protocol.find(markup), std::string::npos) << markup << "\n" << protocol;
  }
  const std::string escapedFolder = (work / "is").string() + "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;";
  EXPECT_NE(protocol.find("Ошибка при разборе пачки: " + escapedFolder +
                          "/PFR-700-Y-2019-ORG-099-009-000001-DCK-00002&lt;script&gt;alert(2)&lt;script&gt;.xml"),
            std::string::npos)
      << protocol;
  EXPECT_NE(protocol.find("<td>" + escapedFolder + "/PFR-700-Y-2019-ORG-099-009-000001-DCK-00001"), std::string::npos);
  EXPECT_NE(protocol.find("Архив не распакован (" + escapedFolder + "/&lt;b&gt;cut&lt;b&gt;.zip): "), std::string::npos);
  EXPECT_NE(protocol.find("Элемент архива не распакован (" + escapedFolder + "/entries.zip -&gt; &lt;i&gt;x&lt;/i&gt;/..)"),
            std::string::npos);
  EXPECT_NE(protocol.find("Вложенный архив не распакован (" + escapedFolder +
                          "/entries.zip -&gt; R&amp;D.zip)"),
            std::string::npos);
}

// A run killed while it writes its protocol leaves the temporary file behind;
// the next start removes it once no run of its name lives, and leaves alone what
// a live run, or a run that may still be writing, owns.
TEST_F(PipelineTest, TemporaryProtocolsOfEndedRunsAreRemovedAtTheNextStart) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  ASSERT_GT(ended, 0);
  waitpid(ended, nullptr, 0);
  const std::string protocol = "MORVEL-2019-4-REGNO-099-009-000001.html";
  const fs::path left = reportFolder / (protocol + ".run-" + std::to_string(ended) + "-0123456789ab.tmp");
  const fs::path ofLiveRun = reportFolder / (protocol + ".run-" + std::to_string(getpid()) + "-0123456789ab.tmp");
  const fs::path stillWritten = reportFolder / (protocol + ".run-" + std::to_string(ended) + "-ba9876543210.tmp");
  const fs::path other = reportFolder / "notes.tmp";
  for (const fs::path& file : {left, ofLiveRun, stillWritten, other}) test::WriteFile(file, "<!DOCTYPE html>\r\n");
  const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (const fs::path& file : {left, ofLiveRun, other}) fs::last_write_time(file, anHourAgo);

  const test::ProcessResult r = RunWithServer();
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(ofLiveRun));
  EXPECT_TRUE(fs::exists(stillWritten));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_TRUE(fs::exists(reportFolder / protocol));
  EXPECT_NE(test::ReadLogs(dataFolder / "logs").find("---удален временный протокол завершившегося запуска " + left.string()),
            std::string::npos);
}

// The calling system may end a headless run it no longer waits for: the run
// stops as a critical error does, with its log entry, and leaves no folder of
// its own and no protocol, whole or half-written.
TEST_F(PipelineTest, ARunAskedToEndStopsAsAFailureAndLeavesNothingBehind) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  ServerProcess server({"--lists", listFolder.string(), "--fault", "hang"});
  WriteConfig(server.Port());
  test::ChildProcess run(test::BuiltProgram("morvel"), {"bpi", isFolder.string(), reportFolder.string()},
                         {{"XDG_CONFIG_HOME", home.path().string()}, {"MORVEL_HTTP_TIMEOUT", "60"}});
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (test::ReadLogs(dataFolder / "logs").find("***запрос к Велано на поиск перечня") == std::string::npos &&
         std::chrono::steady_clock::now() < until && run.Running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(run.Running()) << "the run waits for the server's answer";
  const test::ProcessResult r = run.Stop();
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 29);
  const std::string log = test::ReadLogs(dataFolder / "logs");
  EXPECT_NE(log.find("Произошла ошибка: работа прервана: процесс получил сигнал завершения\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("***критическая ошибка\r\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(dataFolder / "Temp")) << "the run's own folder went with it";
  EXPECT_TRUE(fs::is_empty(reportFolder));
  for (const auto& e : fs::directory_iterator(dataFolder / "logs")) {
    EXPECT_EQ(e.path().extension(), ".log") << "a request to end is no error to send to the developers";
  }
}

// An answer that never ends is refused at the body limit; until the answer is
// read as it arrives, holding it costs about the limit, not twice as much.
TEST_F(PipelineTest, ARefusedEndlessAnswerCostsAboutTheBodyLimit) {
  fs::copy(test::TestData("pipeline/clean/is"), isFolder);
  fs::copy(test::TestData("pipeline/lists"), listFolder);
  const long clean = RunWithServer().peakMemoryKiB;
  ASSERT_GT(clean, 0);
  constexpr long kLimitKiB = 61 << 10;
  ServerProcess server({"--lists", listFolder.string(), "--fault", "endless"});
  WriteConfig(server.Port());
  fs::remove_all(dataFolder / "logs");
  fs::remove_all(reportFolder);
  fs::create_directories(reportFolder);
  const test::ProcessResult r = test::RunProcess(
      test::BuiltProgram("morvel"), {"bpi", isFolder.string(), reportFolder.string()},
      {{"XDG_CONFIG_HOME", home.path().string()}, {"MORVEL_HTTP_TIMEOUT", "60"},
       {"MORVEL_HTTP_BODY_LIMIT", std::to_string(kLimitKiB * 1024)}});
  EXPECT_EQ(r.exitCode, 21) << r.output;
  EXPECT_NE(test::ReadLogs(dataFolder / "logs").find("---причина: ответ больше " + std::to_string(kLimitKiB * 1024) + " байт"),
            std::string::npos);
  EXPECT_LT(r.peakMemoryKiB, clean + kLimitKiB + (32 << 10)) << "clean run: " << clean << " KiB";
}

}  // namespace
}  // namespace morvel
