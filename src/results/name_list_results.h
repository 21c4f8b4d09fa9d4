// Results of comparing the persons and periods of the individual records with
// the List's nominal list: persons missing on either side, differing names,
// differing teaching hours, periods missing on either side, differing bases and
// differing seniority bases.
#pragma once

#include <memory>
#include <string>

#include "model/work_period.h"
#include "model/worker.h"
#include "results/table_result.h"

namespace morvel {

// The chapter of every table of the nominal-list comparison.
inline constexpr const char* kNameListChapter = "Сверка ИС и поименного списка к Перечню";

// ---- Teaching hours ---------------------------------------------------------------

// Teaching hours of a head of a school (27-ПДРК) that differ between the sides.
class TPrincipalErrors : public TTableResult {
 public:
  TPrincipalErrors();
  std::string ClassName() const override { return "TPrincipalErrors"; }
};

// The same for other teaching work (27-ПД): a warning under a title of its own.
class TTeacherWarnings : public TPrincipalErrors {
 public:
  TTeacherWarnings();
  std::string ClassName() const override { return "TTeacherWarnings"; }
};

// hours_IS and hours_List are amounts of minutes; each is shown rounded to a
// whole minute, an exact half to the even neighbour, as hours and minutes.
class TTeacherResult : public TResultRecord {
 public:
  TTeacherResult(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS, double hours_IS,
                 double hours_List);
  void PrintLine(TLineWriter& streamWriter) override;

  // "2 часов 6 минут" for 126 minutes: the unit words stay as they are.
  static std::string MinutesText(double minutes);

  std::string fISTime;
  std::string fPerechTime;
};

// ---- Names --------------------------------------------------------------------------

class TFullNameErrors : public TTableResult {
 public:
  TFullNameErrors();
  std::string ClassName() const override { return "TFullNameErrors"; }
};

class TFullNameError : public TResultRecord {
 public:
  TFullNameError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorker> worker_list);
  void PrintLine(TLineWriter& streamWriter) override;
};

// ---- Persons missing on one side ----------------------------------------------------

// IS persons with preferential periods that the nominal list lacks.
class TPdInsNumErrors : public TTableResult {
 public:
  TPdInsNumErrors();
  std::string ClassName() const override { return "TPdInsNumErrors"; }
};

class TSNError_IS : public TResultRecord {
 public:
  TSNError_IS(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS);
  void PrintLine(TLineWriter& streamWriter) override;
};

// Persons of the nominal list that the IS lacks.
class TSNErrors_List : public TTableResult {
 public:
  TSNErrors_List();
  std::string ClassName() const override { return "TSNErrors_List"; }
};

class TSNError_List : public TResultRecord {
 public:
  TSNError_List(std::shared_ptr<TWorker> worker_list, std::shared_ptr<TWorkPeriod> workperiod_List);
  void PrintLine(TLineWriter& streamWriter) override;
};

// ---- Periods ------------------------------------------------------------------------------

// Periods of the same dates whose bases (or position code, conditions,
// additional data) differ.
class TBasisErrors : public TTableResult {
 public:
  TBasisErrors();
  std::string ClassName() const override { return "TBasisErrors"; }
};

class TBasisError : public TResultRecord {
 public:
  TBasisError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
              std::shared_ptr<TWorkPeriod> workperiod_List);
  void PrintLine(TLineWriter& streamWriter) override;
};

// IS periods that no List period paired with.
class TPeriodErrors_IS : public TTableResult {
 public:
  TPeriodErrors_IS();
  std::string ClassName() const override { return "TPeriodErrors_IS"; }
};

class TPeriodError_IS : public TResultRecord {
 public:
  TPeriodError_IS(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS);
  void PrintLine(TLineWriter& streamWriter) override;
};

// List periods that no IS period paired with.
class TPeriodErrors_List : public TTableResult {
 public:
  TPeriodErrors_List();
  std::string ClassName() const override { return "TPeriodErrors_List"; }
};

class TPeriodError_List : public TResultRecord {
 public:
  TPeriodError_List(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorker> worker_list,
                    std::shared_ptr<TWorkPeriod> workperiod_List);
  void PrintLine(TLineWriter& streamWriter) override;
};

// Paired periods whose seniority bases differ. The row shows the List period's
// bases and position code next to the IS person.
class TWorkDaysBasisErrors : public TTableResult {
 public:
  TWorkDaysBasisErrors();
  std::string ClassName() const override { return "TWorkDaysBasisErrors"; }
};

class TWorkDaysBasisError : public TResultRecord {
 public:
  TWorkDaysBasisError(std::shared_ptr<TWorker> worker_list, std::shared_ptr<TWorker> worker_IS,
                      std::shared_ptr<TWorkPeriod> workPeriod_IS, std::shared_ptr<TWorkPeriod> workperiod_List);
  void PrintLine(TLineWriter& streamWriter) override;
};

}  // namespace morvel
