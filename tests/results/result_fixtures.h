// Persons, periods and print helpers for the tests of the concrete results.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/text.h"
#include "config/classifiers.h"
#include "results/table_result.h"

namespace morvel::test {

// Installs a small additional-data classifier; periods made while it lives get
// flags for these codes.
class ResultsTest : public ::testing::Test {
 protected:
  ResultsTest() {
    fClassifiers.Add(TClassifierType::ctAddPdData, {"ДЕКРЕТ", "ДЕТИ", "ДЛДЕТИ", "АДМИНИСТР", "НЕОПЛ", "ВРНЕТРУД",
                                                     "ДЛОТПУСК", "ЧАЭС", "ДОГОВОР"});
    fClassifiers.Add(TClassifierType::ctAddPdDataRsv, {"ЧАЭС"});
  }

  static std::shared_ptr<TWorker> Person(const std::string& packNum, const std::string& numInPack,
                                         const std::string& sn, const std::string& surname = "ИВАНОВ",
                                         const std::string& name = "ПЕТР", const std::string& patronymic = "СЕРГЕЕВИЧ") {
    auto w = std::make_shared<TWorker>();
    w->PackNum = packNum;
    w->NumInPack = numInPack;
    w->SN = sn;
    w->Surname = surname;
    w->Name = name;
    w->Patronymic = patronymic;
    return w;
  }

  static std::shared_ptr<TWorkPeriod> Period(TDate start, TDate finish, const std::vector<std::string>& bases = {},
                                             const std::string& professionCode = "") {
    auto p = std::make_shared<TWorkPeriod>();
    p->Start = start;
    p->Finish = finish;
    for (const std::string& b : bases) p->Bases.Add(b);
    p->ProfessionCode = professionCode;
    return p;
  }

  static TDate D(int y, int m, int d) { return EncodeDate(y, m, d); }

  TClassifiers fClassifiers;
  TClassifiersScope fScope{fClassifiers};
};

// The cell texts of one printed row.
inline std::vector<std::string> RowOf(TResultRecord& record) {
  TMemoryLineWriter w;
  record.PrintLine(w);
  std::vector<std::string> cells;
  EXPECT_GE(w.Lines.size(), 2u);
  if (w.Lines.size() < 2) return cells;
  EXPECT_EQ(w.Lines.front(), "<tr>");
  EXPECT_EQ(w.Lines.back(), "</tr>");
  for (std::size_t i = 1; i + 1 < w.Lines.size(); ++i) {
    const std::string& line = w.Lines[i];
    const bool wrapped = line.size() >= 9 && line.compare(0, 4, "<td>") == 0 &&
                         line.compare(line.size() - 5, 5, "</td>") == 0;
    EXPECT_TRUE(wrapped) << line;
    cells.push_back(wrapped ? line.substr(4, line.size() - 9) : line);
  }
  return cells;
}

// Leaf columns of a header: every first-row cell counts its column span. Also
// checks that the header holds together: a cell without a column span reaches
// down through every row, and the second row fills exactly the spanned columns.
inline std::size_t LeafColumns(const TTableResult& table) {
  EXPECT_FALSE(table.FHeaderData.empty());
  if (table.FHeaderData.empty()) return 0;
  std::size_t leaves = 0, spanned = 0;
  const std::string rows = IntToStr(static_cast<long long>(table.FHeaderData.size()));
  for (const auto& cell : table.FHeaderData[0]) {
    if (cell.ColSpan.empty()) {
      ++leaves;
      EXPECT_EQ(cell.RowSpan, table.FHeaderData.size() > 1 ? rows : "") << cell.Name;
    } else {
      EXPECT_TRUE(cell.RowSpan.empty()) << cell.Name;
      leaves += static_cast<std::size_t>(StrToInt(cell.ColSpan));
      spanned += static_cast<std::size_t>(StrToInt(cell.ColSpan));
    }
  }
  if (table.FHeaderData.size() > 1) {
    EXPECT_EQ(table.FHeaderData.size(), 2u);
    EXPECT_EQ(table.FHeaderData[1].size(), spanned);
    for (const auto& cell : table.FHeaderData[1]) EXPECT_TRUE(cell.ColSpan.empty() && cell.RowSpan.empty());
  }
  return leaves;
}

inline std::string PrintTable(TTableResult& table, int chapter = 0, int number = 0, std::string name = "") {
  TMemoryLineWriter w;
  table.PrintResult(w, chapter, number, name);
  return w.Text();
}

// The header as printed, for golden comparisons.
inline std::string HeaderCell(const std::string& name, const std::string& colspan = "",
                              const std::string& rowspan = "") {
  return " <td colspan=\"" + colspan + "\"  rowspan=\"" + rowspan + "\">" + name + "</td>\n";
}

}  // namespace morvel::test
