#include <algorithm>

#include "base/encoding.h"
#include "base/error.h"
#include "base/exit_code.h"
#include "base/text.h"
#include "protocol_fixture.h"
#include "results/pack_results.h"

namespace morvel::test {
namespace {

bool HasLine(const std::string& text, const std::string& line) {
  const std::vector<std::string> lines = Split(text, '\n');
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

// The lines between the header's last line and the check date.
std::string BodyOf(const std::string& protocol) {
  const std::size_t from = protocol.find("<br/><br/>\n");
  const std::size_t to = protocol.find("<h4>Дата проверки");
  if (from == std::string::npos || to == std::string::npos) return "<no body>";
  return protocol.substr(from + 11, to - from - 11);
}

// ---- The header --------------------------------------------------------------------

class HeaderTest : public ProtocolTest {
 protected:
  // A protocol of a run with no set: the header, the switch, the empty source
  // tables and the date.
  std::string Protocol(TProtocolRunParams params = {}) { return Normalized(Writer(std::move(params))->PrintProtocol(0)); }
};

TEST_F(HeaderTest, MarkOfTheWebGivesTheLengthOfItsAddress) {
  const std::vector<std::string> lines = Lines(Protocol());
  ASSERT_GE(lines.size(), 2u);
  const std::string& mark = lines[1];
  const std::string prefix = "<!-- saved from url=(0016)";
  ASSERT_EQ(mark.rfind(prefix, 0), 0u);
  ASSERT_EQ(mark.substr(mark.size() - 4), " -->");
  EXPECT_EQ(mark.size() - prefix.size() - 4, 16u);
}

TEST_F(HeaderTest, ExitCodeOfTheFullProtocolIsTheProcessCodeAtThatMoment) {
  SetExitCode(22);
  EXPECT_TRUE(HasLine(Protocol(), "Код завершения программы: 22</div>"));
}

TEST_F(HeaderTest, WithoutTheListComparisonNeitherItsOptionNorItsBoxes) {
  S().FYear = 2015;
  S().FCompareWithListStaff = true;
  S().FCompareWithListNameList = true;
  const std::string text = Protocol();
  EXPECT_FALSE(Contains(text, "фактическим периодам"));
  EXPECT_FALSE(Contains(text, "по позициям штатного расписания"));
  EXPECT_FALSE(Contains(text, "с поименным списком"));
  EXPECT_TRUE(Contains(text, "<ul>\n</ul>\n<br/><input type=\"checkbox\" disabled> Проверка правомерности"));
}

TEST_F(HeaderTest, KindOfRecordsOnlyBefore2010) {
  S().FYear = 2010;
  S().fPensOption = true;
  const std::string from2010 = Protocol();
  EXPECT_FALSE(Contains(from2010, "ПЕНСИОННЫХ"));
  EXPECT_FALSE(Contains(from2010, "ИСХОДНЫХ"));
}

TEST_F(HeaderTest, ChosenYearAndPeriodOnlyInTheWindowAndOnlyWhenChosen) {
  S().FYear = 2020;
  S().FMode = TMode::mWindow;
  const std::string both = Protocol({{}, "2020", "первый квартал"});
  EXPECT_TRUE(Contains(both, "<ul>\n<li>Год: 2020</li>\n<li>Период: первый квартал</li>\n</ul>"));
  const std::string periodOnly = Protocol({{}, "", "первый квартал"});
  EXPECT_FALSE(Contains(periodOnly, "<li>Год:"));
  EXPECT_TRUE(HasLine(periodOnly, "<li>Период: первый квартал</li>"));
  S().FMode = TMode::mBPI;
  const std::string headless = Protocol({{}, "2020", "первый квартал"});
  EXPECT_FALSE(Contains(headless, "<li>Год:"));
  EXPECT_FALSE(Contains(headless, "<li>Период:"));
}

TEST_F(HeaderTest, TerritorialRightBelongsToTheRegistrationNumber) {
  S().fCompareTerrCodes = true;
  auto right = std::make_unique<TTerritoryCode>();
  right->FNum = "087-002";
  S().FTerrCodeRightList.push_back(std::move(right));
  EXPECT_TRUE(Contains(Protocol(), "Проверка правомерности проставления кодов МКС, РКС\n (права нет)\n"));
  S().FRegNum = "087-002-000555";
  EXPECT_TRUE(Contains(Protocol(), "Проверка правомерности проставления кодов МКС, РКС\n (право есть)\n"));
}

// ---- Period headings ------------------------------------------------------------------

struct THeadingCase {
  bool cumulative;
  int year;
  int period;
  const char* heading;  // the lines after "Отчетный период: <b>"
};

class PeriodHeadingTest : public ProtocolTest, public ::testing::WithParamInterface<THeadingCase> {};

TEST_P(PeriodHeadingTest, Heading) {
  const THeadingCase& c = GetParam();
  S().FAccumulateOption = c.cumulative;
  auto writer = Writer();
  TTestSet set(c.year, c.period);
  writer->formProtocolPart(set.Data());
  const std::string body = Normalized(fRunFolders.back()->Path() / "body.part");
  EXPECT_EQ(body, std::string("<hr><h3 style=\"color:black;\">Отчетный период: <b>\n") + c.heading +
                      "<h3>Ошибок нет</h3>\n");
}

INSTANTIATE_TEST_SUITE_P(
    Periods, PeriodHeadingTest,
    ::testing::Values(THeadingCase{false, 2015, 1, "первый квартал\n, \n2015 год </b></h3>\n"},
                      THeadingCase{false, 2015, 2, "второй квартал\n, \n2015 год </b></h3>\n"},
                      THeadingCase{false, 2015, 3, "третий квартал\n, \n2015 год </b></h3>\n"},
                      THeadingCase{false, 2015, 4, "четвертый квартал\n, \n2015 год </b></h3>\n"},
                      THeadingCase{false, 2010, 2, "первое полугодие\n, \n2010 год </b></h3>\n"},
                      THeadingCase{false, 2010, 4, "второе полугодие\n, \n2010 год </b></h3>\n"},
                      THeadingCase{false, 2010, 3, "третий квартал\n, \n2010 год </b></h3>\n"},
                      THeadingCase{false, 2019, 0, "\n2019 год </b></h3>\n"},
                      THeadingCase{true, 2012, 1, "накопительным итогом за первый квартал\n, \n2012 год </b></h3>\n"},
                      THeadingCase{true, 2012, 2, "накопительным итогом за первое полугодие\n, \n2012 год </b></h3>\n"},
                      THeadingCase{true, 2010, 3, "накопительным итогом за 9 месяцев\n, \n2010 год </b></h3>\n"},
                      THeadingCase{true, 2012, 4, "накопительным итогом за год\n, \n2012 год </b></h3>\n"},
                      THeadingCase{true, 2012, 0, "накопительным итогом за \n2012 год </b></h3>\n"}));

// ---- The short protocol -------------------------------------------------------------------

class BadProtocolTest : public ProtocolTest {
 protected:
  BadProtocolTest() {
    fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Сервер не ответил", true));
    fSearchErrors.push_back(std::make_unique<TListError>("Перечень 2014 без позиций", 2014, 1, nullptr, false));
  }
  std::string Body(int code) { return BodyOf(Normalized(Writer()->printBadProtocol(fSearchErrors, code))); }

  static constexpr const char* kMessages =
      "<h3 style=\"color:red\"><b>Сервер не ответил</b></h3>\n"
      "<h3 class=\"warn\" style=\"color:blue\"><b>Перечень 2014 без позиций</b></h3>\n";
  static constexpr const char* kNoneSuitable =
      "<div style =\"color:blue\"><h3>Не было найдено файлов индивидуальных сведений со льготами с подходящими для "
      "сверки заданными условиями (РегНомер,Год,Период,Тип), перечней не найдено. Сверка не требуется. </h3></div>\n";
};

// No file may be the fault of a refused archive: the errors say why; the
// search's notes are not printed.
TEST_F(BadProtocolTest, Code10SaysNoFilesAndPrintsOnlyTheErrorMessages) {
  EXPECT_EQ(Body(10),
            "<div style =\"color:blue\"><h3>Не было найдено файлов индивидуальных сведений в формате .xml</h3></div>\n"
            "<h3 style=\"color:red\"><b>Сервер не ответил</b></h3>\n");
}

TEST_F(BadProtocolTest, Code11WithoutTheRightsNote) {
  // A right exists, but without the territorial-code check nothing is to be clarified.
  auto right = std::make_unique<TTerritoryCode>();
  right->FNum = "087";
  S().FTerrCodeRightList.push_back(std::move(right));
  EXPECT_EQ(Body(11), std::string(kNoneSuitable) + kMessages);
  S().fCompareTerrCodes = true;
  S().FTerrCodeRightList.clear();
  EXPECT_EQ(Body(11), std::string(kNoneSuitable) + kMessages);
}

TEST_F(BadProtocolTest, Code21PrintsEveryMessage) { EXPECT_EQ(Body(21), kMessages); }

TEST_F(BadProtocolTest, Code25SaysAListWasFound) {
  EXPECT_EQ(Body(25),
            "<div style =\"color:red\"><h3>Не было найдено файлов индивидуальных сведений со льготами с подходящими "
            "для сверки заданными условиями (РегНомер,Год,Период,Тип), но найден перечень.</h3></div>\n");
}

TEST_F(BadProtocolTest, OtherCodesGiveTheHeaderAndTheDateOnly) {
  for (int code : {0, 1, 12, 22, 23, 29, 30}) {
    const std::string protocol = Normalized(Writer()->printBadProtocol(fSearchErrors, code));
    EXPECT_EQ(BodyOf(protocol), "") << code;
    EXPECT_TRUE(HasLine(protocol, "Код завершения программы: " + IntToStr(code) + "</div>")) << code;
    EXPECT_FALSE(Contains(protocol, "Показывать предупреждения")) << code;
    EXPECT_FALSE(Contains(protocol, "Исходная информация")) << code;
  }
}

// ---- The part of one set ---------------------------------------------------------------------

class SetPartTest : public ProtocolTest {
 protected:
  std::string Protocol(std::vector<TTestSet*> sets) {
    auto writer = Writer();
    for (TTestSet* set : sets) writer->formProtocolPart(set->Data());
    return Normalized(writer->PrintProtocol(static_cast<int>(sets.size())));
  }
};

TEST_F(SetPartTest, EveryWarningOfASetInOneHideableDivisionAndNoErrorInIt) {
  TTestSet set(2015, 4);
  set.preMorvel = std::make_unique<TPreMorvelResult>(22);
  set.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"А"}));
  set.errors.push_back(std::make_unique<TProtocolMessage>("Ошибка чтения", true));
  set.warnings.push_back(NamesTable("Список предупреждений", "Часы", false, "TFlightWarnings", {"Б", "В"}));
  set.warnings.push_back(std::make_unique<TProtocolMessage>("Замечание", false));
  set.warnings.push_back(NamesTable("Список предупреждений", "Прыжки", false, "TJumpWarnings", {"Г"}));
  const std::string text = Protocol({&set});

  EXPECT_EQ(CountOf(text, "<div class=\"warn\">"), 1u);
  const std::size_t open = text.find("<div class=\"warn\">");
  const std::size_t close = text.find("</div>", text.find("ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1"));
  ASSERT_NE(open, std::string::npos);
  // The set code's message and the errors come before the division, the
  // warnings inside it.
  EXPECT_LT(text.find("Найдены только корректирующие ИС"), text.find("Таблица 1.1 Позиции"));
  EXPECT_LT(text.find("Ошибка чтения"), open);
  EXPECT_LT(text.find("ИТОГО ОШИБОК: 1"), open);
  for (const char* warning : {"Таблица 2.1 Часы", "Замечание", "Таблица 2.2 Прыжки", "ИТОГО ПРЕДУПРЕЖДЕНИЙ: 2"}) {
    const std::size_t at = text.find(warning);
    EXPECT_TRUE(at > open && at < close) << warning;
  }
  EXPECT_TRUE(Contains(text, "ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1</b></div><br/>\n</div>\n<hr><h3>Исходная информация:</h3>"));
  EXPECT_FALSE(Contains(text, "Ошибок нет"));
}

TEST_F(SetPartTest, NoDivisionWithoutWarnings) {
  TTestSet set(2015, 4);
  set.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"А"}));
  EXPECT_FALSE(Contains(Protocol({&set}), "<div class=\"warn\">"));
}

TEST_F(SetPartTest, NoErrorsOnlyWithoutErrorsAndWithoutAnySearchMessage) {
  TTestSet warningsOnly(2015, 4);
  warningsOnly.warnings.push_back(std::make_unique<TProtocolMessage>("Замечание", false));
  EXPECT_TRUE(Contains(Protocol({&warningsOnly}), "</div>\n<h3>Ошибок нет</h3>\n"));

  TTestSet withErrors(2015, 4);
  withErrors.errors.push_back(std::make_unique<TProtocolMessage>("Ошибка", true));
  EXPECT_FALSE(Contains(Protocol({&withErrors}), "Ошибок нет"));

  // A List error of another period is not printed in this part, yet the
  // search found problems: the part does not claim there are none.
  fSearchErrors.push_back(std::make_unique<TListError>("Перечень за 2014", 2014, 4, nullptr, true));
  TTestSet clean(2015, 4);
  const std::string text = Protocol({&clean});
  EXPECT_FALSE(Contains(text, "Перечень за 2014"));
  EXPECT_FALSE(Contains(text, "Ошибок нет"));
}

TEST_F(SetPartTest, ListErrorsOnlyInThePartOfTheirYearAndPeriodOtherMessagesInEvery) {
  fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Файл x.xml пропущен", false));
  fSearchErrors.push_back(std::make_unique<TListError>("Перечень 2015-1", 2015, 1, nullptr, true));
  fSearchErrors.push_back(std::make_unique<TListError>("Перечень 2015-2", 2015, 2, nullptr, true));
  fSearchErrors.push_back(std::make_unique<TListError>("Перечень 2016-1", 2016, 1, nullptr, true));
  TTestSet q2(2015, 2);
  TTestSet q1(2015, 1);
  const std::string text = Protocol({&q2, &q1});
  EXPECT_EQ(CountOf(text, "Файл x.xml пропущен"), 2u);
  EXPECT_EQ(CountOf(text, "Перечень 2015-1"), 1u);
  EXPECT_EQ(CountOf(text, "Перечень 2015-2"), 1u);
  EXPECT_FALSE(Contains(text, "Перечень 2016-1"));
  EXPECT_LT(text.find("Перечень 2015-2"), text.find("первый квартал"));
  EXPECT_GT(text.find("Перечень 2015-1"), text.find("первый квартал"));
}

TEST_F(SetPartTest, ChapterNumbersRunThroughTheSets) {
  TTestSet later(2015, 2);
  later.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"А"}));
  later.warnings.push_back(NamesTable("Список предупреждений", "Часы", false, "TFlightWarnings", {"Б"}));
  TTestSet earlier(2015, 1);
  earlier.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"В"}));
  earlier.errors.push_back(NamesTable("Список ошибок", "Ставки", true, "TRateErrors", {"Г"}));
  const std::string text = Protocol({&later, &earlier});
  EXPECT_TRUE(HasLine(text, "<h3 style=\"text-align:center\">1. Список ошибок</h3>"));
  EXPECT_TRUE(HasLine(text, "<h3 style=\"text-align:center\">2. Список предупреждений</h3>"));
  EXPECT_TRUE(HasLine(text, "<h3 style=\"text-align:center\">3. Список ошибок</h3>"));
  EXPECT_TRUE(HasLine(text, "<b>Таблица 3.1 Позиции</b><br/>"));
  EXPECT_TRUE(HasLine(text, "<b>Таблица 3.2 Ставки</b><br/>"));
}

TEST_F(SetPartTest, PacksOfEverySetCountedAndListedInRunOrder) {
  TTestSet later(2015, 2);
  later.packs.FInitPacks.push_back(Pack("10", TPDType::pdtSZV64, "01.07.2015", "a.xml"));
  later.packs.FCorrPacks.push_back(Pack("11", TPDType::pdtSZVCorr, "2020-03-15", "b.xml"));
  later.packs.FCorrPacks.push_back(Pack("12", TPDType::pdtSZVCorr, "2021-01-10", "c.xml"));
  TTestSet earlier(2015, 1);
  earlier.packs.FInitPacks.push_back(Pack("9", TPDType::pdtEFS1, "01.04.2015", "d.xml"));
  earlier.packs.FCorrPacks.push_back(Pack("13", TPDType::pdtSZVBase, "2021-05-01", "e.xml"));
  const std::string text = Protocol({&later, &earlier});
  EXPECT_TRUE(HasLine(text, "<b>Всего исходных: 2</b><br/>"));
  EXPECT_TRUE(HasLine(text, "<b>Всего корректирующих: 3</b><br/>"));
  EXPECT_LT(text.find("a.xml"), text.find("d.xml"));
  EXPECT_LT(text.find("b.xml"), text.find("c.xml"));
  EXPECT_LT(text.find("c.xml"), text.find("e.xml"));
  EXPECT_TRUE(Contains(text, "    <td>ЕФС-1</td>\n    <td>01.04.2015</td>\n    <td>1,2015</td>\n"));
  EXPECT_TRUE(Contains(text, "    <td>СЗВ-ИСХ</td>\n    <td>2021-05-01</td>\n    <td>2015, 1</td>\n"));
  EXPECT_TRUE(Contains(text, "    <td>СЗВ-КОРР</td>\n    <td>2020-03-15</td>\n    <td>2015, 2</td>\n"));
}

TEST_F(SetPartTest, ListLineOnlyForASetWithAList) {
  TTestSet withList(2015, 2);
  withList.listData = std::make_unique<TListData>();
  withList.listData->fFileName = "list.xml";
  withList.listData->fOrgName = "Завод";
  TTestSet without(2015, 1);
  // List messages without a List are not printed.
  without.listErrors = std::make_unique<TProtocolMessageList>();
  without.listErrors->push_back(std::make_unique<TProtocolMessage>("Осиротевшее сообщение", true));
  const std::string text = Protocol({&withList, &without});
  EXPECT_EQ(CountOf(text, "использовался файл Перечня"), 1u);
  EXPECT_TRUE(HasLine(text, "<b>Для сверки ИС за 2015 год 2 период, использовался файл Перечня: list.xml (Завод)</b><br/>"));
  EXPECT_FALSE(Contains(text, "Осиротевшее сообщение"));
}

// ---- Input texts are text -----------------------------------------------------------------------

TEST_F(SetPartTest, InputTextsPrintAsText) {
  const std::string script = "<script>alert(\"x\")</script>";
  const std::string escaped = "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;";
  S().FOrgName = "ООО " + script;
  S().FRegNum = "087<b>";
  S().FMode = TMode::mWindow;
  TTestSet set(2015, 2);
  set.packs.FInitPacks.push_back(Pack(script, TPDType::pdtSZV64, script, "a&b<c>.xml", script, script, 1));
  set.packs.FInitPacks.back()->fShortOrgName = script;
  set.packs.FInitPacks.back()->fCategoryCode = script;
  set.listData = std::make_unique<TListData>();
  set.listData->fFileName = "list" + script + ".xml";
  set.listData->fOrgName = script;
  auto writer = Writer({{}, script, script});
  writer->formProtocolPart(set.Data());
  const std::string text = Normalized(writer->PrintProtocol(1));

  // The only script is the warning switch.
  EXPECT_EQ(CountOf(text, "<script"), 1u);
  EXPECT_FALSE(Contains(text, "<b>\">"));
  EXPECT_TRUE(HasLine(text, "<h3 style=\"text-align:left\">Организация:<br/>ООО " + escaped + "</h3>"));
  EXPECT_TRUE(HasLine(text, "<br/>Регистрационный номер: <b>087&lt;b&gt;</b>"));
  EXPECT_TRUE(HasLine(text, "   Протокол сверки ИС и Перечня ЛП для 087&lt;b&gt; за 0 год."));
  EXPECT_TRUE(HasLine(text, "<li>Год: " + escaped + "</li>"));
  EXPECT_TRUE(HasLine(text, "<li>Период: " + escaped + "</li>"));
  EXPECT_EQ(CountOf(text, "    <td>" + escaped + "</td>"), 6u);
  EXPECT_TRUE(HasLine(text, "    <td>a&amp;b&lt;c&gt;.xml</td>"));
  EXPECT_TRUE(Contains(text, "использовался файл Перечня: list" + escaped + ".xml (" + escaped + ")</b><br/>"));
}

// ---- The files ------------------------------------------------------------------------------------

TEST_F(ProtocolTest, FilesAreWindows1251WithCrLf) {
  S().FOrgName = "Цех ✓";
  const std::string file = Writer()->PrintProtocol(0);
  const std::string bytes = ReadFile(file);
  EXPECT_NE(bytes.find(Utf8ToCp1251("ПРОТОКОЛ<br>сверки")), std::string::npos);
  EXPECT_NE(bytes.find(Utf8ToCp1251("Организация:<br/>Цех ?</h3>\r\n")), std::string::npos);
  EXPECT_EQ(bytes.find("\xEF\xBB\xBF"), std::string::npos);
  EXPECT_EQ(bytes.rfind("</html>\r\n"), bytes.size() - 9);
  Normalized(file);  // fails on any line break other than CR LF
}

TEST_F(ProtocolTest, PartFilesArePrivateToTheRun) {
  // Two runs for different employers write into one report folder at once.
  TProtocolMessageList otherErrors;
  fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Сообщение первого", false));
  otherErrors.push_back(std::make_unique<TProtocolMessage>("Сообщение второго", false));
  auto first = Writer();
  fRunFolders.push_back(std::make_unique<TRunFolder>(fTemp.path()));
  auto second = std::make_unique<TProtocolFormer>(otherErrors, std::vector<std::string>{}, "",
                                                  TProtocolRunParams{fRunFolders.back()->Path(), "", ""});
  TTestSet a1(2015, 1), a2(2015, 2), b1(2016, 1);
  a1.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"ПЕРВЫЙ-1"}));
  a2.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"ПЕРВЫЙ-2"}));
  b1.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"ВТОРОЙ-1"}));
  a1.packs.FInitPacks.push_back(Pack("1", TPDType::pdtSZV64, "01.04.2015", "first.xml"));
  b1.packs.FInitPacks.push_back(Pack("2", TPDType::pdtSZV64, "01.04.2016", "second.xml"));

  first->formProtocolPart(a1.Data());
  second->formProtocolPart(b1.Data());
  first->formProtocolPart(a2.Data());
  S().FRegNum = "087-002-000002";
  const std::string secondFile = second->PrintProtocol(1);
  S().FRegNum = "087-001-000001";
  const std::string firstFile = first->PrintProtocol(2);
  ASSERT_NE(firstFile, secondFile);

  const std::string one = Normalized(firstFile);
  const std::string two = Normalized(secondFile);
  for (const char* own : {"ПЕРВЫЙ-1", "ПЕРВЫЙ-2", "first.xml", "Сообщение первого"}) {
    EXPECT_TRUE(Contains(one, own)) << own;
    EXPECT_FALSE(Contains(two, own)) << own;
  }
  for (const char* own : {"ВТОРОЙ-1", "second.xml", "Сообщение второго"}) {
    EXPECT_TRUE(Contains(two, own)) << own;
    EXPECT_FALSE(Contains(one, own)) << own;
  }
  // Nothing but the two protocols in the report folder; the parts are consumed.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Report())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"MORVEL-0-0-REGNO-087-001-000001.html",
                                             "MORVEL-0-0-REGNO-087-002-000002.html"}));
  for (const auto& folder : fRunFolders) EXPECT_TRUE(std::filesystem::is_empty(folder->Path()));
}

TEST_F(ProtocolTest, ProtocolReplacesAnOlderOneInPlace) {
  const std::filesystem::path target = Report() / "MORVEL-0-0-REGNO-087-001-000123.html";
  WriteFile(target, "an older protocol, much longer than the new one would need to overwrite it all ...");
  const std::string file = Writer()->printBadProtocol(fSearchErrors, 10);
  EXPECT_EQ(file, target.string());
  const std::string text = Normalized(target);
  EXPECT_EQ(text.rfind("<!DOCTYPE html>\n", 0), 0u);
  EXPECT_FALSE(Contains(text, "older"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Report()), std::filesystem::directory_iterator()), 1);
}

TEST_F(ProtocolTest, FailedRenameRaisesAndLeavesNoTemporaryFile) {
  // A folder that holds a file stands where the protocol should go.
  const std::filesystem::path target = Report() / "MORVEL-0-0-REGNO-087-001-000123.html";
  std::filesystem::create_directory(target);
  WriteFile(target / "keep.txt", "x");
  auto writer = Writer();
  EXPECT_THROW(writer->PrintProtocol(0), std::exception);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Report()), std::filesystem::directory_iterator()), 1);
  EXPECT_EQ(ReadFile(target / "keep.txt"), "x");
}

TEST_F(ProtocolTest, MissingPartFolderIsAFailureOfTheRun) {
  auto writer = std::make_unique<TProtocolFormer>(fSearchErrors, std::vector<std::string>{}, "",
                                                  TProtocolRunParams{fTemp.path() / "gone", "", ""});
  TTestSet set(2015, 1);
  EXPECT_THROW(writer->formProtocolPart(set.Data()), EMorvelError);
}

}  // namespace
}  // namespace morvel::test
