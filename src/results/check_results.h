// Results of the territorial-code check, the two staff-position checks and the
// ВИРУС check of the List.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/position.h"
#include "model/work_period.h"
#include "model/worker.h"
#include "results/result.h"
#include "results/table_result.h"

namespace morvel {

// ---- Territorial codes ----------------------------------------------------------

// The employer holds a right to territorial codes but its packs used none.
class TTerrCodeWarning : public TOneMessageResult {
 public:
  explicit TTerrCodeWarning(std::string PackNum);
};

// One territorial code met while a pack was read. It never goes into a table:
// the verification collects these and makes a TTerrCodeError of each offending
// one. The person and the period are tagged at once, so that the set keeps them
// whether or not the check reports them.
class TTerrCodeData : public TResultRecord {
 public:
  TTerrCodeData(std::shared_ptr<TWorkPeriod> workPeriod_IS, std::shared_ptr<TWorker> worker_IS);
  void PrintLine(TLineWriter& /*streamWriter*/) override {}

  TNodeData FUcpNodeData;  // a copy of the period's TerrNodeData
};

class TTerrCodeErrors : public TTableResult {
 public:
  TTerrCodeErrors();
  std::string ClassName() const override { return "TTerrCodeErrors"; }
};

class TTerrCodeError : public TResultRecord {
 public:
  explicit TTerrCodeError(const TTerrCodeData& TerrCodeData);
  void PrintLine(TLineWriter& streamWriter) override;
};

// ---- Working days of the staff positions -------------------------------------------

class TWorkingDaysErrors : public TTableResult {
 public:
  TWorkingDaysErrors();
  std::string ClassName() const override { return "TWorkingDaysErrors"; }
};

class TWorkingDaysWarnings : public TTableResult {
 public:
  TWorkingDaysWarnings();
  std::string ClassName() const override { return "TWorkingDaysWarnings"; }
};

// A position whose IS days exceed what it allows.
class TWorkingDaysError : public TResultRecord {
 public:
  TWorkingDaysError(std::shared_ptr<TPosition> position, double fullWorkingDays_IS, double lgotWorkingDays_IS,
                    int ISQuantity);
  void PrintLine(TLineWriter& streamWriter) override;

  double fFullWorkingDays_IS;
  int fISQuantity;
};

// The same for the boiler-operator position, which only gets a warning; it also
// shows how many of the days were leave or incapacity.
class TWorkingDaysResultRecord : public TResultRecord {
 public:
  TWorkingDaysResultRecord(std::shared_ptr<TPosition> position, double fullWorkingDays_IS,
                           double lgotWorkingDays_IS, int ISQuantity);
  void PrintLine(TLineWriter& streamWriter) override;

  double fExDaysQuantity;
  double fFullWorkingDays_IS;
  int fISQuantity;
};

// ---- Additional data not allowed for the position or the period --------------------

class TAddPdDataErrors : public TTableResult {
 public:
  TAddPdDataErrors();
  std::string ClassName() const override { return "TAddPdDataErrors"; }
};

class TAddPdDataError : public TResultRecord {
 public:
  // AddPdDataEarly: the date from which a code not yet valid in the period
  // becomes valid; AddPdDataLate: the date on which a code no longer valid ended.
  TAddPdDataError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
                  std::string AddPdDataEarly, std::string AddPdDataLate, std::string AddPdData);
  void PrintLine(TLineWriter& streamWriter) override;
  // The text of the error column, as HTML.
  std::string ErrorText() const;

  std::string fAddPdDataEarly;
  std::string fAddPdDataLate;
  std::string fAddPdData;
};

// ---- Periods no staff position matched -------------------------------------------------

// Lists the same person's period of the same kind once. The duplicates are
// looked for only among the records of the same person at the same place in the
// same pack, so adding stays linear in the number of records.
class TPositionErrors : public TTableResult {
 public:
  TPositionErrors();
  std::string ClassName() const override { return "TPositionErrors"; }

  // Drops (destroys) a record whose person (pack number, number in pack,
  // insurance number, surname with initials) is already listed with a matching
  // IS period (TWorkPeriod::Matches); appends it otherwise.
  void AddRecord(std::unique_ptr<TResultRecord> record) override;

 protected:
  void RecordLeaving(const TResultRecord& record) override;
  void RecordsCleared() override;

 private:
  static std::string BucketKey(const TWorker& worker);

  std::unordered_map<std::string, std::vector<const TResultRecord*>> fBuckets;
};

class TPositionError : public TResultRecord {
 public:
  TPositionError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS);
  void PrintLine(TLineWriter& streamWriter) override;
};

// ---- ВИРУС on the List ------------------------------------------------------------------

class TBeerusErrors : public TTableResult {
 public:
  TBeerusErrors();
  std::string ClassName() const override { return "TBeerusErrors"; }
};

// A List period whose ВИРУС code is out of its window or without its companion
// bases; Culprit is the system's text saying which.
class TBeerusError : public TResultRecord {
 public:
  TBeerusError(std::shared_ptr<TWorker> Worker, std::shared_ptr<TWorkPeriod> WorkPeriod, std::string Culprit);
  void PrintLine(TLineWriter& streamWriter) override;

  std::string FCulprit;
};

}  // namespace morvel
