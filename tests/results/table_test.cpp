#include <gtest/gtest.h>

#include "base/dates.h"
#include "base/error.h"
#include "test_tables.h"

namespace morvel {
namespace {

using test::TPeriodRecord;
using test::TTestPackTable;
using test::TTestTable;
using test::TTextRecord;

std::shared_ptr<TWorkPeriod> PeriodOf(int year, int corrYear) {
  auto p = std::make_shared<TWorkPeriod>();
  p->Year = year;
  p->CorrYear = corrYear;
  p->Start = EncodeDate(year, 1, 1);
  p->Finish = EncodeDate(year, 3, 31);
  return p;
}

std::unique_ptr<TTextRecord> Text(const std::string& cell) {
  return std::make_unique<TTextRecord>(std::vector<std::string>{cell});
}

TEST(TableResultTest, RecordKeepsWhatItRefersToAndTagsIt) {
  auto worker = std::make_shared<TWorker>();
  worker->Surname = "ПЕТРОВ";
  worker->Name = "ИВАН";
  worker->SN = "111";
  worker->WorkPeriods.push_back(PeriodOf(2021, 2021));
  std::weak_ptr<TWorker> workerAlive = worker;
  std::weak_ptr<TWorkPeriod> periodAlive = worker->WorkPeriods[0];

  TTestTable table("Глава", "Таблица", true);
  auto record = std::make_unique<TPeriodRecord>(worker, worker->WorkPeriods[0]);
  record->FPosition = std::make_shared<TPosition>();
  record->FAddTariffPayment = std::make_shared<TAddTariffPayment>(TAddTariffBase::atb218, "", 10, "1");
  record->FWorker_List = std::make_shared<TWorker>();
  record->FWorkPeriod_List = std::make_shared<TWorkPeriod>();
  TResultRecord* raw = record.get();
  table.AddRecord(std::move(record));
  table.AddRecord(Text("без ссылок"));

  // The set lets go of the person and its periods.
  worker.reset();
  ASSERT_FALSE(workerAlive.expired());
  ASSERT_FALSE(periodAlive.expired());
  EXPECT_FALSE(workerAlive.lock()->IsResultData);

  table.TagRecords();
  EXPECT_TRUE(raw->FWorker_PD->IsResultData);
  EXPECT_TRUE(raw->FWorkPeriod_PD->IsResultData);
  EXPECT_TRUE(raw->FWorker_List->IsResultData);
  EXPECT_TRUE(raw->FWorkPeriod_List->IsResultData);
  EXPECT_TRUE(raw->FPosition->IsResultData);
  EXPECT_TRUE(raw->FAddTariffPayment->IsResultData);

  TMemoryLineWriter w;
  int chapter = 0, number = 0;
  std::string name;
  table.PrintResult(w, chapter, number, name);
  EXPECT_NE(std::find(w.Lines.begin(), w.Lines.end(), "<td>ПЕТРОВ И. (111)</td>"), w.Lines.end());
  EXPECT_NE(std::find(w.Lines.begin(), w.Lines.end(), "<td>01.01.2021 - 31.03.2021</td>"), w.Lines.end());

  table.DeleteRecord(raw);
  EXPECT_EQ(table.Count(), 1);
  EXPECT_TRUE(workerAlive.expired());
  EXPECT_TRUE(periodAlive.expired());
}

TEST(TableResultTest, RecordListOperations) {
  TTestTable table("Глава", "Таблица", false);
  table.ClearRecords();
  table.TagRecords();
  EXPECT_EQ(table.Count(), 0);
  EXPECT_THROW(table.GetRecord(0), EMorvelError);

  table.AddRecord(Text("a"));
  table.AddRecord(Text("b"));
  table.AddRecord(Text("c"));
  EXPECT_EQ(dynamic_cast<TTextRecord&>(table.GetRecord(2)).fCells[0], "c");
  table.DeleteRecord(1);
  EXPECT_EQ(dynamic_cast<TTextRecord&>(table.GetRecord(1)).fCells[0], "c");
  EXPECT_THROW(table.DeleteRecord(2), EMorvelError);
  TTextRecord stranger({"x"});
  table.DeleteRecord(&stranger);
  EXPECT_EQ(table.Count(), 2);
  table.ClearRecords();
  EXPECT_EQ(table.Count(), 0);
}

TEST(TableResultTest, PackTableIndexesByPeriodKeyAndNeverKeepsAGoneRecord) {
  auto worker = std::make_shared<TWorker>();
  auto p21 = PeriodOf(2021, 2021);
  auto p20 = PeriodOf(2021, 2020);
  TTestPackTable source;
  source.AddRecord(std::make_unique<TPeriodRecord>(worker, p21));
  source.AddRecord(std::make_unique<TPeriodRecord>(worker, p20));
  source.AddRecord(Text("без периода"));
  source.AddRecord(std::make_unique<TPeriodRecord>(worker, nullptr));
  source.AddRecord(std::make_unique<TPeriodRecord>(worker, p21));
  EXPECT_EQ(source.Count(), 5);
  ASSERT_EQ(source.GetDict().size(), 2u);
  ASSERT_EQ(source.GetDict().at("2021~2021").size(), 2u);
  EXPECT_EQ(source.GetDict().at("2021~2021")[0], &source.GetRecord(0));
  EXPECT_EQ(source.GetDict().at("2021~2020")[0], &source.GetRecord(1));

  // A deleted record leaves the index as well, one by one or many in one pass.
  source.DeleteRecord(4);
  EXPECT_EQ(source.GetDict().at("2021~2021").size(), 1u);
  source.AddRecord(std::make_unique<TPeriodRecord>(worker, p21));
  source.AddRecord(std::make_unique<TPeriodRecord>(worker, p21));
  TResultRecord* kept = &source.GetRecord(3);
  source.DeleteRecordsIf([&](const TResultRecord& r) { return r.FWorkPeriod_PD == p21 && &r != &source.GetRecord(0); });
  EXPECT_EQ(source.Count(), 4);
  EXPECT_EQ(&source.GetRecord(3), kept) << "the rest keep their order";
  EXPECT_EQ(source.GetDict().at("2021~2021").size(), 1u);
  EXPECT_EQ(source.GetDict().at("2021~2021")[0], &source.GetRecord(0));

  // The records of one key move to the target: they live in one table only.
  TTestPackTable target;
  target.AddRecord(std::make_unique<TPeriodRecord>(worker, PeriodOf(2021, 2020)));
  source.MoveKeyTo("2021~2020", target);
  EXPECT_FALSE(source.HasKey("2021~2020"));
  EXPECT_EQ(source.Count(), 3);
  EXPECT_EQ(target.Count(), 2);
  EXPECT_EQ(target.GetDict().at("2021~2020").size(), 2u);
  EXPECT_EQ(target.GetRecord(1).FWorkPeriod_PD, p20);
  source.MoveKeyTo("1999~1999", target);
  EXPECT_EQ(target.Count(), 2);

  auto taken = source.ExtractKey("2021~2021");
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0]->FWorkPeriod_PD, p21);
  EXPECT_EQ(source.Count(), 2);
  EXPECT_TRUE(source.GetDict().empty());

  target.ClearRecords();
  EXPECT_TRUE(target.GetDict().empty());
}

}  // namespace
}  // namespace morvel
