// Small concrete tables and records for the tests of the result base classes.
#pragma once

#include <string>
#include <vector>

#include "results/table_result.h"

namespace morvel::test {

// A row of fixed cell texts.
class TTextRecord : public TResultRecord {
 public:
  explicit TTextRecord(std::vector<std::string> cells) : fCells(std::move(cells)) {}
  void PrintLine(TLineWriter& w) override { PrintRow(w, fCells); }
  using TResultRecord::StripBr;

  std::vector<std::string> fCells;
};

// A row about one work period: its person's insurance number and the period.
class TPeriodRecord : public TResultRecordWithPeriod {
 public:
  TPeriodRecord(std::shared_ptr<TWorker> worker, std::shared_ptr<TWorkPeriod> period)
      : TResultRecordWithPeriod(period) {
    FWorker_PD = std::move(worker);
    FWorkPeriod_PD = std::move(period);
  }
  void PrintLine(TLineWriter& w) override {
    PrintRow(w, {FWorker_PD ? FWorker_PD->SurnameWithInitialsAndSN() : "",
                 FWorkPeriod_PD ? FWorkPeriod_PD->pPeriodString() : ""});
  }
};

class TTestTable : public TTableResult {
 public:
  TTestTable(std::string chapter, std::string title, bool isError, std::string className = "TTestTable")
      : TTableResult(std::move(chapter), std::move(title), isError), fClassName(std::move(className)) {}
  std::string ClassName() const override { return fClassName; }

 private:
  std::string fClassName;
};

class TTestPackTable : public TTableResultWithPeriod {
 public:
  TTestPackTable() : TTableResultWithPeriod("Список предупреждений", "Пачка", false) {}
  std::string ClassName() const override { return "TTestPackTable"; }
};

}  // namespace morvel::test
