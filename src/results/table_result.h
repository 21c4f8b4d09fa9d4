// Table results: a numbered table of records under a chapter heading.
#pragma once

#include <map>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "results/result.h"
#include "results/result_record.h"

namespace morvel {

class TTableResult : public TResult {
 public:
  // One header cell; an empty span is written as an empty attribute value.
  struct THeaderData {
    std::string Name;
    std::string ColSpan;
    std::string RowSpan;
  };
  using THeaderRow = std::vector<THeaderData>;

  // Chapter heading when the chapter changes, the numbered title, the header
  // rows, the records in the order they were added and the count line.
  void PrintResult(TLineWriter& streamWriter, int& ChapterNum, int& TableNum, std::string& Name) override;

  // The table takes the record over.
  virtual void AddRecord(std::unique_ptr<TResultRecord> record);
  int Count() const { return static_cast<int>(FRecords.size()); }
  // Index from 0; outside the table raises EMorvelError.
  TResultRecord& GetRecord(int index) const;
  const std::vector<std::unique_ptr<TResultRecord>>& Records() const { return FRecords; }
  // Remove the record from the table and destroy it (a record that is not in
  // the table is left alone; an index outside the table raises EMorvelError).
  void DeleteRecord(int index);
  void DeleteRecord(const TResultRecord* record);
  // Deletes, in one pass, every record `doomed` holds true of; the rest keep
  // their order.
  void DeleteRecordsIf(const std::function<bool(const TResultRecord&)>& doomed);
  void ClearRecords();
  void TagRecords();

  // The class name of the concrete table, the id of its HTML table.
  virtual std::string ClassName() const = 0;

  std::string FChapterName;
  std::string FTableName;
  std::vector<THeaderRow> FHeaderData;

 protected:
  TTableResult() = default;
  TTableResult(std::string chapterName, std::string tableName, bool isError);

  // Told before a record leaves the table, and after all records were cleared,
  // so that indexes over the records never keep one that is gone.
  virtual void RecordLeaving(const TResultRecord& /*record*/) {}
  virtual void RecordsCleared() {}

  std::vector<std::unique_ptr<TResultRecord>> FRecords;
};

// A pack table: its records of one work period are also indexed by the key of
// that period's reporting year (TPeriodically::GetKey), so that the records can
// follow their periods when a pack is split by reporting period.
class TTableResultWithPeriod : public TTableResult {
 public:
  using TPeriodIndex = std::map<std::string, std::vector<TResultRecord*>>;

  // A TResultRecordWithPeriod with a period is indexed under its period's key;
  // every record goes into the table.
  void AddRecord(std::unique_ptr<TResultRecord> record) override;

  // The index: key -> the records of that key in the order they were added. It
  // refers to records the table owns.
  const TPeriodIndex& GetDict() const { return Dict; }
  bool HasKey(const std::string& key) const { return Dict.count(key) != 0; }
  // Takes the records of `key` out of the table, in table order, and removes the
  // key: the caller owns them now.
  std::vector<std::unique_ptr<TResultRecord>> ExtractKey(const std::string& key);
  // Hands the records of `key` to `target` through its AddRecord, so they live
  // in exactly one table, and removes the key here.
  void MoveKeyTo(const std::string& key, TTableResult& target);

 protected:
  using TTableResult::TTableResult;

  void RecordLeaving(const TResultRecord& record) override;
  void RecordsCleared() override;

  TPeriodIndex Dict;

 private:
  std::unordered_map<const TResultRecord*, std::string> fKeyOf;
};

}  // namespace morvel
