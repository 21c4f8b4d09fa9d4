// Results about the rate (share of a full-time position) and the worked time of
// paired periods of the individual records and the List's nominal list.
#pragma once

#include <memory>
#include <string>

#include "model/work_period.h"
#include "model/worker.h"
#include "results/table_result.h"

namespace morvel {

// ---- Rates --------------------------------------------------------------------------

// The four rate tables share their columns and their record, TRateResult.
class TRateTable : public TTableResult {
 protected:
  TRateTable(std::string chapterName, std::string tableName, bool isError);
};

// Rates of a rate-compared basis that differ at two decimals.
class TRateErrors : public TRateTable {
 public:
  TRateErrors();
  std::string ClassName() const override { return "TRateErrors"; }
};

class TStavkaWarnings : public TRateTable {
 public:
  TStavkaWarnings();
  std::string ClassName() const override { return "TStavkaWarnings"; }
};

class TRateTooHighErrors : public TRateTable {
 public:
  TRateTooHighErrors();
  std::string ClassName() const override { return "TRateTooHighErrors"; }
};

class TNoRateErrors : public TRateTable {
 public:
  TNoRateErrors();
  std::string ClassName() const override { return "TNoRateErrors"; }
};

// A rate finding about a pair of periods. rtList: it concerns the List's value,
// and the record points at the List period's rate; otherwise at the IS one.
class TRateResult : public TResultRecord {
 public:
  TRateResult(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
              std::shared_ptr<TWorkPeriod> workperiod_List, TResultType resultType);
  void PrintLine(TLineWriter& streamWriter) override;

  TResultType fResultType;
};

// ---- Worked time ------------------------------------------------------------------------

// Worked time stated on both sides, differently.
class TFactWorkTimeErrors : public TTableResult {
 public:
  TFactWorkTimeErrors();
  std::string ClassName() const override { return "TFactWorkTimeErrors"; }
};

class TFactWorkTimeError : public TResultRecord {
 public:
  TFactWorkTimeError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workperiod_List,
                     std::shared_ptr<TWorkPeriod> workPeriod_IS);
  void PrintLine(TLineWriter& streamWriter) override;
};

// Worked time stated on one side only: the List's (rtList) or the IS's (rtPD).
// Errors from 2010 on, warnings before.
class TFactWorkTimeMissingTable : public TTableResult {
 protected:
  TFactWorkTimeMissingTable(std::string chapterName, std::string tableName, bool isError, const char* lastCell);
};

class TFactWorkTimeErrors_List : public TFactWorkTimeMissingTable {
 public:
  TFactWorkTimeErrors_List();
  std::string ClassName() const override { return "TFactWorkTimeErrors_List"; }
};

class TFactWorkTimeWarnings_List : public TFactWorkTimeMissingTable {
 public:
  TFactWorkTimeWarnings_List();
  std::string ClassName() const override { return "TFactWorkTimeWarnings_List"; }
};

class TFactWorkTimeErrors_IS : public TFactWorkTimeMissingTable {
 public:
  TFactWorkTimeErrors_IS();
  std::string ClassName() const override { return "TFactWorkTimeErrors_IS"; }
};

class TFactWorkTimeWarnings_IS : public TFactWorkTimeMissingTable {
 public:
  TFactWorkTimeWarnings_IS();
  std::string ClassName() const override { return "TFactWorkTimeWarnings_IS"; }
};

// The row shows the List period's kind and dates and the worked time of the
// side that has it. rtList points at the IS period that lacks the block,
// otherwise at the List period.
class TFactWorkTimeResult_List_IS : public TResultRecord {
 public:
  TFactWorkTimeResult_List_IS(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
                              std::shared_ptr<TWorkPeriod> workperiod_List, TResultType resultType);
  void PrintLine(TLineWriter& streamWriter) override;

  TResultType fResultType;
};

}  // namespace morvel
