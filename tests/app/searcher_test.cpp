// The search of a run over real folders, real archives and the reference List
// server on the loopback interface: which files become packs and sets, which are
// passed over and why, and which List each set gets.
#include "app/searcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/server_process.h"
#include "base/exit_code.h"
#include "config/classifiers.h"
#include "config/settings.h"
#include "log/logger.h"
#include "pack_writer.h"
#include "support/test_support.h"
#include "synthetic_employer.h"
#include "xml/http_get.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kRegNum = "099-001-000123";

// A small List of the employer: one position, no nominal list.
std::string ListXml(int year, const std::string& months, const std::string& cumulative = "0",
                    const std::string& regNum = kRegNum) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Перечень ОтчетныйГод=\"" + std::to_string(year) +
         "\" ОтчетныйПериод=\"" + months + "\" НакопитИтогом=\"" + cumulative +
         "\" Тип=\"ИСХОДНЫЙ\">\n<Предприятие РегНомер=\"" + regNum +
         "\" Наименование=\"АО Тест\">\n<Подразделение Номер=\"1\">\n<Позиция ДатаНач=\"01.01." +
         std::to_string(year) +
         "\"><ОснованиеЛьготы>27-1</ОснованиеЛьготы><КоличествоШтат>1</КоличествоШтат></Позиция>\n"
         "</Подразделение>\n</Предприятие>\n</Перечень>\n";
}

class SearcherTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (sClassifiers != nullptr) return;
    sClassifiers = new TClassifiers();  // lives for the whole test program
    const fs::path data = fs::path(MORVEL_SOURCE_DIR) / "data";
    LoadClassifierFiles(*sClassifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                        [](const std::string&) {});
  }

  void SetUp() override {
    TSingleton::DestroyInstance<TLogger>();
    TSingleton::GetInstance<TLogger>().Init((dir.path() / "logs").string() + "/", true, "search");
    TSingleton::DestroyInstance<TSettings>();
    TSettings& s = Settings();
    s.FRegNum = kRegNum;
    s.FDirPD = is.string();
    s.FDirList = lists.string();
    s.FMode = TMode::mWindow;
    fs::create_directories(is);
    fs::create_directories(lists);
    fs::create_directories(work);
    SetExitCode(0);
    fScope = std::make_unique<TClassifiersScope>(*sClassifiers);
  }

  void TearDown() override {
    fScope.reset();
    TSingleton::DestroyInstance<TSettings>();
    TSingleton::DestroyInstance<TLogger>();
    SetExitCode(0);
    SetHttpTimeouts(10s, 60s);
  }

  static TSettings& Settings() { return TSettings::GetInstance(); }

  std::string Log() const { return test::ReadFile(TSingleton::GetInstance<TLogger>().FileName()); }
  bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }
  // An entry that ends with exactly that text.
  bool LoggedLine(const std::string& text) const {
    const std::string log = Log();
    return log.find(text + "\r\n") != std::string::npos || log.find(text + "\n") != std::string::npos;
  }

  // A generated pack of the employer (or of `regNum`).
  static std::string PackXml(gen::TGenForm form, int year, const std::function<void(gen::TPackOptions&)>& tweak = {},
                             std::uint64_t seed = 1, const std::string& regNum = kRegNum, int blocks = 1) {
    gen::TSynthOptions model;
    model.persons = 3;
    model.periods = 2;
    model.year = year;
    model.seed = seed;
    model.regNum = regNum;
    gen::TPackOptions pack;
    pack.form = form;
    pack.periodCode = gen::DefaultPeriodCode(form, year);
    pack.efsBlocks = blocks;
    if (tweak) tweak(pack);
    gen::ReportingWindow(form, year, pack.periodCode, model.firstMonth, model.lastMonth);
    std::ostringstream out;
    gen::WritePack(gen::MakeEmployer(model), pack, out);
    return out.str();
  }

  std::unique_ptr<TSearcher> Search() {
    auto searcher = std::make_unique<TSearcher>(work);
    searcher->managerProgress = [this](int min, int max, int curr, const std::string& message) {
      progress.push_back(std::to_string(min) + "," + std::to_string(max) + "," + std::to_string(curr) + " " +
                         message);
    };
    searcher->Run();
    return searcher;
  }

  static std::vector<std::string> Messages(const TSearcher& s) {
    std::vector<std::string> texts;
    for (const auto& m : s.fSearchErrors) texts.push_back(m->FMessage);
    return texts;
  }

  static TSet* SetOf(const TSearcher& s, int year, int period) {
    for (const auto& set : s.fSets) {
      if (set->FYear == year && set->FPeriod == period) return set.get();
    }
    return nullptr;
  }

  void UseServer(int port) {
    Settings().FUseUL = true;
    Settings().FULMachine = "127.0.0.1";
    Settings().FULPort = std::to_string(port);
    Settings().FULAppName = "list4";
  }

  static TClassifiers* sClassifiers;
  test::TempDir dir;
  fs::path is = dir / "is";
  fs::path lists = dir / "lists";
  fs::path work = dir / "work";
  std::vector<std::string> progress;
  std::unique_ptr<TClassifiersScope> fScope;
};

TClassifiers* SearcherTest::sClassifiers = nullptr;

TEST_F(SearcherTest, AFolderWithoutFilesEndsTheSearchWithTen) {
  auto s = Search();
  EXPECT_EQ(Messages(*s), (std::vector<std::string>{"Xml-файлы не найдены", "Необходимые Xml-файлы не найдены"}));
  EXPECT_EQ(ExitCode(), 10);
  EXPECT_TRUE(s->fSets.empty());
  EXPECT_FALSE(LoggedLine("***поиск Перечня"));
  EXPECT_TRUE(Logged("---Необходимые Xml-файлы не найдены"));
  ASSERT_GE(progress.size(), 2u);
  EXPECT_EQ(progress[0], "0,0,0 Поиск файлов...");
  EXPECT_EQ(progress[1], "0,0,0 Xml-файлы не найдены");
}

TEST_F(SearcherTest, YearFilterKeepsTheYearAndItsCorrections) {
  Settings().FYear = 2019;
  test::WriteFile(is / "a-2019.xml", PackXml(gen::TGenForm::szvStag, 2019));
  test::WriteFile(is / "b-2018.xml", PackXml(gen::TGenForm::szvStag, 2018, {}, 2));
  test::WriteFile(is / "c-korr.xml", PackXml(gen::TGenForm::szvKorr, 2019, [](gen::TPackOptions& p) {
                    p.filingYear = 2020;
                  }, 3));
  test::WriteFile(is / "PFR-ZHV-2018.xml", PackXml(gen::TGenForm::szvStag, 2018, {}, 4));
  test::WriteFile(is / "other-employer.xml", PackXml(gen::TGenForm::szvStag, 2019, {}, 5, "099-002-000456"));
  test::WriteFile(is / "ЖУВ_junk.xml", "this is no XML");
  auto s = Search();
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_TRUE(Logged("***год пачки не совпадает с выбранным в настройках годом (2018)"));
  ASSERT_EQ(s->fSets.size(), 1u);
  TSet* set = SetOf(*s, 2019, 4);
  ASSERT_NE(set, nullptr);
  ASSERT_EQ(set->InitPacks().size(), 1u);
  ASSERT_EQ(set->CorrPacks().size(), 1u);
  EXPECT_EQ(fs::path(set->InitPacks()[0]->FileName).filename(), "a-2019.xml");
  EXPECT_EQ(fs::path(set->CorrPacks()[0]->FileName).filename(), "c-korr.xml");
  // Passed-over files are listed when their names mark them as the fund's.
  std::vector<std::string> discarded;
  for (const auto& f : s->fDiscardedPDFiles) discarded.push_back(fs::path(f).filename().string());
  std::sort(discarded.begin(), discarded.end());
  EXPECT_EQ(discarded, (std::vector<std::string>{"PFR-ZHV-2018.xml", "ЖУВ_junk.xml"}));
  // Packs read are no List files; the foreign and broken ones stay candidates.
  for (const auto& f : s->fAllXMLFiles[TXMLFileType::xftList]) {
    const std::string name = fs::path(f).filename().string();
    EXPECT_TRUE(name == "b-2018.xml" || name == "other-employer.xml") << name;
  }
  // Progress over the files, walked from the last.
  EXPECT_NE(std::find(progress.begin(), progress.end(), "0,6,1 Поиск ИС: " + (is / "ЖУВ_junk.xml").string()),
            progress.end());
}

TEST_F(SearcherTest, PeriodFilterCountsTheMonthsOfThePack) {
  Settings().FPeriod = 2;
  test::WriteFile(is / "annual.xml", PackXml(gen::TGenForm::szvStag, 2019));
  test::WriteFile(is / "q2.xml", PackXml(gen::TGenForm::szv64, 2013, [](gen::TPackOptions& p) { p.periodCode = 2; }));
  auto s = Search();
  EXPECT_TRUE(Logged("***период пачки не совпадает с выбранным в настройках периодом (12 месяцев)"));
  ASSERT_EQ(s->fSets.size(), 1u);
  EXPECT_NE(SetOf(*s, 2013, 2), nullptr);
  EXPECT_EQ(ExitCode(), 0);
}

TEST_F(SearcherTest, AnEfsFileIsSplitByYear) {
  test::WriteFile(is / "efs.xml", PackXml(gen::TGenForm::efs1, 2023, {}, 7, kRegNum, 2));
  {
    auto s = Search();
    ASSERT_EQ(s->fSets.size(), 2u);
    TSet* first = SetOf(*s, 2023, 0);
    TSet* second = SetOf(*s, 2024, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(first->InitPacks().size(), 1u);
    ASSERT_EQ(second->InitPacks().size(), 1u);
    // Every person has a period in each year; no period is in both packs.
    for (TSet* set : {first, second}) {
      const TPack& pack = *set->InitPacks()[0];
      EXPECT_EQ(pack.Workers.size(), 3u);
      for (const auto& w : pack.Workers) {
        for (const auto& p : w->WorkPeriods) EXPECT_EQ(p->Year, set->FYear);
      }
      EXPECT_EQ(pack.FLgotWorkerCount,
                std::count_if(pack.Workers.begin(), pack.Workers.end(), [](const auto& w) { return w->HasLgotBasis; }));
      EXPECT_EQ(pack.HasLgot, pack.FLgotWorkerCount > 0);
    }
    EXPECT_TRUE(Logged("---пачка добавлена в новый сет: 0.2023"));
    EXPECT_TRUE(Logged("---пачка добавлена в новый сет: 0.2024"));
  }
  // The year test never passes over a ЕФС-1 file; the persons are read only
  // for the configured year.
  SetExitCode(0);
  Settings().FYear = 2024;
  {
    auto s = Search();
    ASSERT_EQ(s->fSets.size(), 1u);
    EXPECT_NE(SetOf(*s, 2024, 0), nullptr);
  }
  // The period test does pass it over: its header has no period.
  SetExitCode(0);
  Settings().FYear = 0;
  Settings().FPeriod = 1;
  auto s = Search();
  EXPECT_TRUE(s->fSets.empty());
  EXPECT_EQ(ExitCode(), 10);
}

TEST_F(SearcherTest, ArchivesAreUnpackedEachIntoItsOwnFolder) {
  const std::string first = PackXml(gen::TGenForm::szvStag, 2019, {}, 11);
  const std::string second = PackXml(gen::TGenForm::szvStag, 2019, [](gen::TPackOptions& p) { p.packNumber = "13"; }, 12);
  test::WriteStoredZip(is / "one.zip", {{"docs/pack.xml", first, false}, {"Перечень.xml", ListXml(2019, "12"), true}});
  test::WriteZip(is / "two.ZIP", {{"pack.xml", second}});
  test::WriteZip(is / "evil.zip", {{"../escaped.xml", "<not-a-pack/>"}});
  test::WriteFile(is / "broken.zip", "PK but nothing more");
  auto s = Search();
  EXPECT_EQ(ExitCode(), 0);
  ASSERT_EQ(s->fSets.size(), 1u);
  TSet& set = *s->fSets[0];
  ASSERT_EQ(set.InitPacks().size(), 2u);
  EXPECT_NE(set.InitPacks()[0]->FileName, set.InitPacks()[1]->FileName);
  for (const auto& pack : set.InitPacks()) {
    EXPECT_EQ(fs::path(pack->FileName).filename(), "pack.xml");
    EXPECT_EQ(fs::path(pack->FileName).parent_path().parent_path(), work);
  }
  // The List came out of the archive of the packs' folder.
  ASSERT_NE(set.List(), nullptr);
  EXPECT_EQ(fs::path(set.List()->fFileName).filename(), "Перечень.xml");
  // The climbing name is cut to its file name and stays in its archive's folder.
  EXPECT_FALSE(fs::exists(dir / "escaped.xml"));
  EXPECT_FALSE(fs::exists(work / "escaped.xml"));
  const std::string log = Log();
  EXPECT_EQ(log.find("---архив не распакован (" + (is / "evil.zip").string() + "): "), std::string::npos);
  EXPECT_NE(log.find("---архив не распакован (" + (is / "broken.zip").string() + "): "), std::string::npos);
}

TEST_F(SearcherTest, TheLaterOfTwoListFilesIsTheSetsList) {
  test::WriteFile(is / "pack.xml", PackXml(gen::TGenForm::szvStag, 2019));
  test::WriteFile(lists / "1-first.xml", ListXml(2019, "12"));
  test::WriteFile(lists / "2-second.xml", ListXml(2019, "0"));
  test::WriteFile(lists / "3-other-year.xml", ListXml(2018, "12"));
  test::WriteFile(lists / "4-other-employer.xml", ListXml(2019, "12", "0", "099-009-000999"));
  auto s = Search();
  ASSERT_EQ(s->fSets.size(), 1u);
  ASSERT_NE(s->fSets[0]->List(), nullptr);
  EXPECT_EQ(s->fSets[0]->List()->fFileName, (lists / "2-second.xml").string());
  EXPECT_TRUE(s->fSets[0]->List()->fIsFile);
  EXPECT_EQ(s->fSets[0]->List()->fPeriod, 4);
}

TEST_F(SearcherTest, TheFormatCheckRejectsAListAndPassesItsWrappedNeighbour) {
  Settings().FCheckPerFormat = true;
  test::WriteFile(is / "pack.xml", PackXml(gen::TGenForm::szvStag, 2019));
  std::string bad = ListXml(2019, "12");
  const std::string date = "ДатаНач=\"01.01.2019\"";
  bad.replace(bad.find(date), date.size(), "ДатаНач=\"2019-01-01\"");
  test::WriteFile(lists / "1-bad.xml", bad);
  std::string good = ListXml(2019, "12");
  good = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ОтветСервераПеречней>\n" + good.substr(good.find('\n') + 1) +
         "</ОтветСервераПеречней>\n";
  test::WriteFile(lists / "0-wrapped.xml", good);
  auto s = Search();
  ASSERT_EQ(s->fSets.size(), 1u);
  ASSERT_NE(s->fSets[0]->List(), nullptr);
  EXPECT_EQ(fs::path(s->fSets[0]->List()->fFileName).filename(), "0-wrapped.xml");
  const std::vector<std::string> messages = Messages(*s);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], "Проверка формата Перечня: Несоответствие требуемому формату xml (" +
                             (lists / "1-bad.xml").string() + "):");
  EXPECT_NE(messages[1].find("ДатаНач"), std::string::npos);
  EXPECT_EQ(messages[2].rfind("Проверка формата Перечня: Строка 5, позиция ", 0), 0u) << messages[2];
  const auto* error = dynamic_cast<const TListError*>(s->fSearchErrors[0].get());
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->FYear, 2019);
  EXPECT_EQ(error->FPeriod, 4);
}

// The server mode: the window of periods, the exact requests and every kind of
// answer.
TEST_F(SearcherTest, ServerWindowAsksFromTheLastPeriodDown) {
  const fs::path log = dir / "requests.log";
  ServerProcess server({"--lists", lists.string(), "--log", log.string()});
  UseServer(server.Port());
  test::WriteFile(is / "q2.xml", PackXml(gen::TGenForm::szv64, 2013, [](gen::TPackOptions& p) { p.periodCode = 2; }));
  auto s = Search();
  ASSERT_EQ(s->fSets.size(), 1u);
  const std::string base = "GET /list4/GetList?user=&pass=&regNum=099-001-000123&year=2013";
  EXPECT_EQ(test::ReadFile(log), base + "&quarter=4&collect=2\n" + base + "&quarter=3&collect=2\n" + base +
                                     "&quarter=2\n");
  // Nothing found is a warning for each period, not a failure.
  EXPECT_EQ(ExitCode(), 0);
  ASSERT_EQ(s->fSearchErrors.size(), 3u);
  const int periods[] = {4, 3, 2};
  for (int i = 0; i < 3; ++i) {
    const auto* warning = dynamic_cast<const TListError*>(s->fSearchErrors[static_cast<std::size_t>(i)].get());
    ASSERT_NE(warning, nullptr);
    EXPECT_FALSE(warning->IsError);
    EXPECT_EQ(warning->FPeriod, periods[i]);
    EXPECT_EQ(warning->FMessage.rfind("Возникла ошибка при запросе к БД ПК \"Велано ЛП\":<br>Версия ПК \"Велано ЛП\": "
                                      "Морвель, эталонный сервер перечней ",
                                      0),
              0u)
        << warning->FMessage;
    EXPECT_NE(warning->FMessage.find("<br>Пояснение: По запрашиваемым параметрам ничего найдено не было"),
              std::string::npos);
    EXPECT_EQ(warning->FMessage.find("<br>Сообщение:"), std::string::npos);
  }
  EXPECT_EQ(s->fSets[0]->List(), nullptr);
  EXPECT_FALSE(s->fSets[0]->FOrganizationHasLists);
}

TEST_F(SearcherTest, ServerListIsTakenAtTheFirstFittingAnswer) {
  test::WriteFile(lists / "l.xml", ListXml(2013, "6"));
  const fs::path log = dir / "requests.log";
  ServerProcess server({"--lists", lists.string(), "--log", log.string()});
  UseServer(server.Port());
  test::WriteFile(is / "q2.xml", PackXml(gen::TGenForm::szv64, 2013, [](gen::TPackOptions& p) { p.periodCode = 2; }));
  auto s = Search();
  EXPECT_EQ(test::ReadFile(log),
            "GET /list4/GetList?user=&pass=&regNum=099-001-000123&year=2013&quarter=4&collect=2\n");
  ASSERT_EQ(s->fSets.size(), 1u);
  TTheList* list = s->fSets[0]->List();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->fFileName, "Перечень из БД ПК \"Велано\" за 2013 год 6 период");
  EXPECT_EQ(list->fPeriod, 2);
  EXPECT_FALSE(list->fIsFile);
  EXPECT_EQ(list->fPositions.size(), 1u);
  EXPECT_TRUE(s->fSets[0]->FOrganizationHasLists);
  EXPECT_TRUE(s->fSearchErrors.empty());
}

TEST_F(SearcherTest, ServerErrorAnswerEndsTheListSearchWith21) {
  ServerProcess server({"--lists", lists.string(), "--user", "оператор"});
  UseServer(server.Port());
  test::WriteFile(is / "q2.xml", PackXml(gen::TGenForm::szv64, 2013, [](gen::TPackOptions& p) { p.periodCode = 2; }));
  auto s = Search();
  EXPECT_EQ(ExitCode(), 21);
  ASSERT_EQ(s->fSearchErrors.size(), 1u);
  EXPECT_NE(s->fSearchErrors[0]->FMessage.find("<br>Сообщение: Ошибка авторизации<br>Пояснение: "),
            std::string::npos);
  EXPECT_TRUE(Logged("---возникли проблемы при запросе к Велано, код завершения программы 21"));
}

TEST_F(SearcherTest, ADeadOrHangingServerGives21WithinTheTimeout) {
  test::WriteFile(is / "q2.xml", PackXml(gen::TGenForm::szv64, 2013, [](gen::TPackOptions& p) { p.periodCode = 2; }));
  int deadPort = 0;
  {
    ServerProcess gone({});
    deadPort = gone.Port();
  }
  UseServer(deadPort);
  auto s = Search();
  EXPECT_EQ(ExitCode(), 21);
  ASSERT_EQ(Messages(*s), (std::vector<std::string>{
                              "Возникла ошибка при подключении к БД ПК \"Велано ЛП\". Проверьте настройки подключения."}));
  EXPECT_TRUE(LoggedLine("---возникла ошибка при подключении к Велано"));
  EXPECT_TRUE(LoggedLine("---причина: соединение не установлено (сервер отказал в подключении или недоступен)"));
  EXPECT_TRUE(LoggedLine("---код завершения программы 21"));

  for (const char* fault : {"hang", "endless", "truncated", "not-xml", "http-error"}) {
    SetExitCode(0);
    ServerProcess server({"--fault", fault});
    UseServer(server.Port());
    SetHttpTimeouts(1s, 1500ms);
    const auto start = std::chrono::steady_clock::now();
    auto failed = Search();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << fault;
    EXPECT_EQ(ExitCode(), 21) << fault;
    EXPECT_EQ(failed->fSearchErrors.size(), 1u) << fault;
  }
  const std::string log = Log();
  EXPECT_NE(log.find("---причина: истекло время ожидания ответа"), std::string::npos);
  EXPECT_NE(log.find("---причина: HTTP-статус 500"), std::string::npos);
  EXPECT_NE(log.find("---причина: ответ не является полным XML-документом"), std::string::npos);
}

// Which sets a List serves, in both modes: its own period, and the earlier ones
// when it is cumulative. The sets of 2010 carry the quarters that end its
// half-years (2 and 4), as its packs give them, while its Lists count months
// of half-years.
struct TFitCase {
  int year;
  std::string months;
  std::string cumulative;
  std::vector<int> served;  // set periods that take the List
};

class ListFitTest : public SearcherTest, public ::testing::WithParamInterface<bool> {
 protected:
  // For every period of the year, a search with one set of that period and no
  // packs: the periods whose set gets the List. (With several sets, a List file
  // goes to the first set it serves.)
  std::vector<int> ServedPeriods(const TFitCase& c) {
    std::vector<int> served;
    const std::vector<int> periods = c.year == 2010 ? std::vector<int>{2, 4} : std::vector<int>{1, 2, 3, 4};
    for (const int p : periods) {
      SetExitCode(0);
      TSearcher s(work);
      auto set = std::make_unique<TSet>();
      set->FYear = c.year;
      set->FPeriod = p;
      s.fSets.push_back(std::move(set));
      if (!GetParam()) s.fAllXMLFiles[TXMLFileType::xftList] = {(lists / "l.xml").string()};
      s.FindLists();
      if (s.fSets[0]->List() != nullptr) served.push_back(p);
    }
    return served;
  }
};

TEST_P(ListFitTest, ListsServeTheirOwnPeriodAndCumulativeOnesTheEarlierToo) {
  const bool server = GetParam();
  const std::vector<TFitCase> cases = {
      {2019, "3", "0", {1}},       {2019, "6", "0", {2}},       {2019, "9", "0", {3}},
      {2019, "12", "0", {4}},      {2019, "6", "1", {1, 2}},    {2019, "9", "1", {1, 2, 3}},
      {2019, "12", "1", {1, 2, 3, 4}}, {2019, "", "0", {4}},    {2019, "0", "", {4}},
      {2010, "6", "0", {2}},       {2010, "12", "0", {4}},      {2010, "12", "1", {2, 4}},
  };
  for (const TFitCase& c : cases) {
    test::WriteFile(lists / "l.xml", ListXml(c.year, c.months, c.cumulative));
    std::vector<int> served;
    if (server) {
      ServerProcess srv({"--lists", lists.string()});
      UseServer(srv.Port());
      served = ServedPeriods(c);
      EXPECT_EQ(ExitCode(), 0);
    } else {
      Settings().FUseUL = false;
      served = ServedPeriods(c);
    }
    EXPECT_EQ(served, c.served) << c.year << " " << c.months << " cumulative " << c.cumulative
                                << (server ? " server" : " file");
  }
}

INSTANTIATE_TEST_SUITE_P(BothModes, ListFitTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Server" : "Files"; });

TEST(ListPeriods, MonthsToPeriodsOfTheYear) {
  EXPECT_EQ(ListPeriodOfMonths(2019, 3), 1);
  EXPECT_EQ(ListPeriodOfMonths(2019, 9), 3);
  EXPECT_EQ(ListPeriodOfMonths(2019, 12), 4);
  EXPECT_EQ(ListPeriodOfMonths(2019, 5), -1);
  EXPECT_EQ(ListPeriodOfMonths(2010, 6), 1);
  EXPECT_EQ(ListPeriodOfMonths(2010, 12), 2);
  EXPECT_EQ(ListPeriodOfMonths(2010, 3), -1);
  EXPECT_TRUE(ListServesPeriod(2, false, 2));
  EXPECT_FALSE(ListServesPeriod(2, false, 1));
  EXPECT_TRUE(ListServesPeriod(2, true, 1));
  EXPECT_FALSE(ListServesPeriod(2, true, 3));
  EXPECT_FALSE(ListServesPeriod(-1, true, 1));
  EXPECT_EQ(ListPeriodOfSet(2010, 2), 1);
  EXPECT_EQ(ListPeriodOfSet(2010, 4), 2);
  EXPECT_EQ(ListPeriodOfSet(2019, 2), 2);
}

}  // namespace
}  // namespace morvel
