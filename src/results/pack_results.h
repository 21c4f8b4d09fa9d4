// Results that do not come from comparing the individual records with the List:
// the outcome message of a verification set, the six tables every pack fills
// while its persons are read, and the table of overlapping periods that the
// division of a person's periods reports.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/add_pd_data.h"
#include "model/work_period.h"
#include "model/worker.h"
#include "results/result.h"
#include "results/table_result.h"

namespace morvel {

// Why a set could not be (fully) reconciled, from its outcome code; the
// pipeline makes one only for a code other than 0.
class TPreMorvelResult : public TOneMessageResult {
 public:
  explicit TPreMorvelResult(int ECode);
};

// ---- The pack tables ------------------------------------------------------
// Each pack owns one of each; their records are indexed by the key of their
// IS work period so that they can follow the period when a pack is split.

class TAddPdDataWarning;

// Consecutive warnings of one person in one pack are merged into one row.
class TAddPdDataWarnings : public TTableResultWithPeriod {
 public:
  TAddPdDataWarnings();
  std::string ClassName() const override { return "TAddPdDataWarnings"; }

  // Merges a warning into the last row when that row is of the same person
  // (insurance number, number in pack, pack number) and of the same reporting
  // period key, destroying the new record; otherwise adds it. The key has to
  // agree as well: the rows of one key move to the pack made for that period,
  // and a merged row carries all its texts along under the key of its first
  // warning.
  void AddRecord(std::unique_ptr<TResultRecord> record) override;
};

class TFlightWarnings : public TTableResultWithPeriod {
 public:
  TFlightWarnings();
  std::string ClassName() const override { return "TFlightWarnings"; }
};

class TPDRKWarnings : public TTableResultWithPeriod {
 public:
  TPDRKWarnings();
  std::string ClassName() const override { return "TPDRKWarnings"; }
};

class TJumpWarnings : public TTableResultWithPeriod {
 public:
  TJumpWarnings();
  std::string ClassName() const override { return "TJumpWarnings"; }
};

class TPartTimeErrors : public TTableResultWithPeriod {
 public:
  TPartTimeErrors();
  std::string ClassName() const override { return "TPartTimeErrors"; }
};

class TPartTimeWarnings : public TTableResultWithPeriod {
 public:
  TPartTimeWarnings();
  std::string ClassName() const override { return "TPartTimeWarnings"; }
};

// Additional data of a period (children, leaves, temporary incapacity, season
// and the like) worth a look. Refers to the person only; FPeriod is the period
// it was made for.
//
// Its text fields hold HTML, not plain text: merging joins them with "<br>",
// which has to stay markup, so each piece is escaped when it comes in (the
// constructor, AppendListComment) and never again when the row is printed.
class TAddPdDataWarning : public TResultRecordWithPeriod {
 public:
  // The texts are plain; they are escaped here.
  TAddPdDataWarning(std::shared_ptr<TWorkPeriod> Period, std::shared_ptr<TWorker> worker_IS,
                    std::string_view Children, std::string_view AdminLeave, std::string_view AddPdDataRSV,
                    std::string_view Leave, std::string_view LongLeave, std::string_view ParentalLeave,
                    std::string_view TempIncapacity, std::string_view SeasonStr, std::string_view UIKStr,
                    std::string_view OTSPeriod);

  // A warning for the period's additional data, or none when the period has
  // nothing to show; an ОТС text alone makes no warning.
  static std::unique_ptr<TAddPdDataWarning> TryCreateAddPdDataWarning(std::shared_ptr<TWorkPeriod> Period,
                                                                      std::shared_ptr<TWorker> Worker_IS,
                                                                      bool Season, bool UIK,
                                                                      std::string_view OTSPeriod,
                                                                      const TAddPdData& AddPdData);

  // Appends the other warning's texts, field by field, after a "<br>" (also
  // when one side is empty, so the lines of a merged row stay aligned).
  void MergeWithAnotherWarning(const TAddPdDataWarning& other);

  // Adds the note of a List period: period text, ": ", the note in double
  // quotes, "<br>". Both texts are plain and are escaped here.
  void AppendListComment(std::string_view periodText, std::string_view note);

  void PrintLine(TLineWriter& streamWriter) override;

  std::string FSeason;
  std::string FTempIncapacity;
  std::string FUIK;
  std::string FOTSPeriod;
  std::string FListComments;  // HTML: append through AppendListComment
  bool FFreeAssignedData = false;
  std::string FChildren;
  std::string FAdminLeave;
  std::string FParentalLeave;
  std::string FLeave;
  std::string FLongLeave;
  std::string FAddPdDataRSV;
};

// A warning about the time worked in one IS period under one preferential basis:
// bound to the person and the period, located where the period was read.
class TBasisPeriodWarning : public TResultRecordWithPeriod {
 public:
  TBasisPeriodWarning(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
                      std::string retirementBasis);

  std::string fRetirementBasis;
};

// Hours and minutes of flight work.
class TFlightWarning : public TBasisPeriodWarning {
 public:
  using TBasisPeriodWarning::TBasisPeriodWarning;
  void PrintLine(TLineWriter& streamWriter) override;
};

// A ПДРК basis without hours.
class TPDRKWarning : public TBasisPeriodWarning {
 public:
  using TBasisPeriodWarning::TBasisPeriodWarning;
  void PrintLine(TLineWriter& streamWriter) override;
};

// Parachute jumps and descents: the count stands in the period's Hours, and the
// row shows all the period's bases rather than the one that raised it.
class TJumpWarning : public TBasisPeriodWarning {
 public:
  using TBasisPeriodWarning::TBasisPeriodWarning;
  void PrintLine(TLineWriter& streamWriter) override;
};

// A rate that the long-service basis and the special conditions do not allow
// (error) or that is worth a look (warning).
class TPartTimeResult : public TResultRecordWithPeriod {
 public:
  TPartTimeResult(std::string lgotBasis, std::string retirementBasis, std::shared_ptr<TWorker> worker_IS,
                  std::shared_ptr<TWorkPeriod> workPeriod_IS);
  void PrintLine(TLineWriter& streamWriter) override;

  std::string FLgotBasis;
  std::string fRetirementBasis;
};

// ---- Overlapping periods ----------------------------------------------------

// One table per person whose periods overlap; made by the division of periods.
class TCrossingPDPeriodsErrors : public TTableResult {
 public:
  TCrossingPDPeriodsErrors();
  std::string ClassName() const override { return "TCrossingPDPeriodsErrors"; }
};

// Two overlapping periods of one person. The texts of both are copied at once:
// the division frees the periods it has cut, so the record must not need them.
class TCrossingPDPeriodError : public TResultRecord {
 public:
  TCrossingPDPeriodError(const TWorkPeriod& PdWorkperiod, const TWorkPeriod& SecondPdWorkperiod,
                         std::shared_ptr<TWorker> Worker_PD);
  void PrintLine(TLineWriter& streamWriter) override;

  std::string FFirstWorkPeriodStr;
  std::string FFirstBasesAndCode;
  std::string FFirstAddPdData;
  std::string FFirstPackNum;
  std::string FFirstNumInPack;
  std::string FSecondWorkPeriodStr;
  std::string FSecondBasesAndCode;
  std::string FSecondAddPdData;
  std::string FSecondPackNum;
  std::string FSecondNumInPack;
};

// Makes the overlap table of the division of a person's periods: the table is
// made at the first overlap reported and added to the errors at that moment,
// and the rows of the overlaps that follow go into it. A report about another
// person starts a table of its own, so each person with overlaps has one.
class TCrossingErrorsCollector : public TCrossingSink {
 public:
  explicit TCrossingErrorsCollector(std::vector<std::unique_ptr<TResult>>& ErrorResults);
  void CrossingFound(const TWorker& worker, const TWorkPeriod& first, const TWorkPeriod& second) override;

 private:
  std::vector<std::unique_ptr<TResult>>& fErrorResults;
  TCrossingPDPeriodsErrors* fTable = nullptr;  // owned by fErrorResults
  const TWorker* fTableWorker = nullptr;
};

// Divides the periods of an individual record, its overlaps going into a table
// of their own in `ErrorResults`.
void DivideCrossWorkPeriods(TWorker& W, std::vector<std::unique_ptr<TResult>>& ErrorResults);

}  // namespace morvel
