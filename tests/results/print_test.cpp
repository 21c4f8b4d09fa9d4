#include <gtest/gtest.h>

#include <algorithm>

#include "results/result.h"
#include "test_tables.h"

namespace morvel {
namespace {

using test::TTestTable;
using test::TTextRecord;

// The protocol writer's running state.
struct TCounters {
  int chapter = 0;
  int table = 0;
  std::string name;
  void Print(TResult& r, TLineWriter& w) { r.PrintResult(w, chapter, table, name); }
};

std::unique_ptr<TTestTable> ErrorsTable() {
  auto t = std::make_unique<TTestTable>("Список ошибок", "Первая таблица", true, "TFirstErrors");
  t->FHeaderData = {
      {{"№ пачки", "", "2"}, {"Особые условия труда", "2", ""}},
      {{"Льгота", "", ""}, {"Код позиции списка", "", ""}},
  };
  t->AddRecord(std::make_unique<TTextRecord>(std::vector<std::string>{"1", "27-1", ""}));
  t->AddRecord(std::make_unique<TTextRecord>(std::vector<std::string>{"2", "a<br>b", "x"}));
  t->AddRecord(std::make_unique<TTextRecord>(std::vector<std::string>{"3", "", "y"}));
  return t;
}

std::unique_ptr<TTestTable> WarningsTable(const std::string& chapter) {
  auto t = std::make_unique<TTestTable>(chapter, "Вторая таблица", false, "TSecondWarnings");
  t->FHeaderData = {{{"ФИО", "", ""}}};
  t->AddRecord(std::make_unique<TTextRecord>(std::vector<std::string>{"ИВАНОВ И.И."}));
  return t;
}

TEST(PrintResultTest, TwoTablesOfOneChapterAroundAMessage) {
  TMemoryLineWriter w;
  TCounters c;
  auto first = ErrorsTable();
  TProtocolMessage message("Сообщение", false);
  auto second = WarningsTable("Список ошибок");
  c.Print(*first, w);
  c.Print(message, w);
  c.Print(*second, w);

  const std::string expected =
      "<h3 style=\"text-align:center\">1. Список ошибок</h3>\n"
      "<b>Таблица 1.1 Первая таблица</b><br/>\n"
      "<table id=\"TFirstErrors\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n"
      " <td colspan=\"\"  rowspan=\"2\">№ пачки</td>\n"
      " <td colspan=\"2\"  rowspan=\"\">Особые условия труда</td>\n"
      " </tr>\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n"
      " <td colspan=\"\"  rowspan=\"\">Льгота</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Код позиции списка</td>\n"
      " </tr>\n"
      "<tr>\n<td>1</td>\n<td>27-1</td>\n<td></td>\n</tr>\n"
      "<tr>\n<td>2</td>\n<td>a<br>b</td>\n<td>x</td>\n</tr>\n"
      "<tr>\n<td>3</td>\n<td></td>\n<td>y</td>\n</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 3</b></div><br/>\n"
      "<h3 class=\"warn\" style=\"color:blue\"><b>Сообщение</b></h3>\n"
      "<b>Таблица 1.2 Вторая таблица</b><br/>\n"
      "<table id=\"TSecondWarnings\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n"
      " <td colspan=\"\"  rowspan=\"\">ФИО</td>\n"
      " </tr>\n"
      "<tr>\n<td>ИВАНОВ И.И.</td>\n</tr>\n"
      "</table>\n"
      "<div style=\"color: blue\"><b>ИТОГО ПРЕДУПРЕЖДЕНИЙ: 1</b></div><br/>\n";
  EXPECT_EQ(w.Text(), expected);
  EXPECT_EQ(c.chapter, 1);
  EXPECT_EQ(c.table, 2);
  EXPECT_EQ(c.name, "Список ошибок");
}

TEST(PrintResultTest, CountersRunAcrossSets) {
  TMemoryLineWriter w;
  TCounters c;
  auto a = ErrorsTable();
  auto b = WarningsTable("Список предупреждений");
  c.Print(*a, w);
  c.Print(*b, w);
  ASSERT_EQ(c.chapter, 2);

  // The next set: its first table continues the last chapter, so no heading.
  w.Lines.clear();
  auto d = WarningsTable("Список предупреждений");
  TProtocolMessage error("Ошибка", true);
  auto e = ErrorsTable();
  c.Print(*d, w);
  c.Print(error, w);
  c.Print(*e, w);
  ASSERT_GE(w.Lines.size(), 2u);
  EXPECT_EQ(w.Lines[0], "<b>Таблица 2.2 Вторая таблица</b><br/>");
  EXPECT_NE(std::find(w.Lines.begin(), w.Lines.end(), "<h3 style=\"color:red\"><b>Ошибка</b></h3>"),
            w.Lines.end());
  // A chapter seen before gets a new number when it comes back.
  EXPECT_NE(std::find(w.Lines.begin(), w.Lines.end(), "<h3 style=\"text-align:center\">3. Список ошибок</h3>"),
            w.Lines.end());
  EXPECT_NE(std::find(w.Lines.begin(), w.Lines.end(), "<b>Таблица 3.1 Первая таблица</b><br/>"), w.Lines.end());
  EXPECT_EQ(c.chapter, 3);
  EXPECT_EQ(c.table, 1);
}

TEST(PrintResultTest, ListErrorsKeepTheirPeriodAndACopyOfTheLocation) {
  TNodeData where;
  where.fLine = 12;
  where.fXPath = "/Перечень/Подразделение[2]";
  auto error = std::make_unique<TBadPositionListError>("Плохая позиция", 2021, 3, &where, true);
  where.fLine = 99;
  const TListError* asListError = dynamic_cast<TListError*>(error.get());
  ASSERT_NE(asListError, nullptr);
  EXPECT_EQ(asListError->FYear, 2021);
  EXPECT_EQ(asListError->FPeriod, 3);
  ASSERT_TRUE(asListError->FNodeData.has_value());
  EXPECT_EQ(asListError->FNodeData->fLine, 12);
  EXPECT_FALSE(TListError("м", 0, 0, nullptr, false).FNodeData.has_value());

  TMemoryLineWriter w;
  TCounters c;
  c.name = "Глава";
  c.chapter = 4;
  c.table = 2;
  c.Print(*error, w);
  EXPECT_EQ(w.Text(), "<h3 style=\"color:red\"><b>Плохая позиция</b></h3>\n");
  EXPECT_EQ(c.chapter, 4);
  EXPECT_EQ(c.table, 2);
  EXPECT_EQ(c.name, "Глава");
}

TEST(PrintResultTest, StripBr) {
  EXPECT_EQ(TTextRecord::StripBr(" a<br>b<BR>c<Br> ", ", "), "a, b, c,");
  EXPECT_EQ(TTextRecord::StripBr("<br>a<br>", ""), "a");
}

}  // namespace
}  // namespace morvel
