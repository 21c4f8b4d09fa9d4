#include "results/check_results.h"

#include <algorithm>

#include "base/text.h"
#include "results/cell_text.h"

namespace morvel {
namespace {

using cells::Columns;
using cells::Esc;
using cells::PlainRow;
using cells::TwoRows;

constexpr const char* kWorkingDaysChapter = "Сверка на количество дней занятости";
constexpr const char* kWorkingDaysTitle =
    "Превышение количества рабочих дней в ИС по отношению к количеству рабочих дней позиций Перечня";
constexpr const char* kAddPdDataChapter =
    "Сверка на наличие льготных оснований в сочетании с дополнительными сведениями ИС";

std::vector<TTableResult::THeaderRow> WorkingDaysHeader(bool withExDays) {
  TTableResult::THeaderRow first = {TwoRows("Льгота"), Columns("В позиции Перечня", "2"), Columns("В ИС", "2"),
                                    TwoRows("ОШИБКА")};
  if (withExDays) first.push_back(TwoRows("Из них ВРНЕТРУД или ДЕКРЕТ"));
  return {first, PlainRow({"Количество ставок", "Дней", "Количество ИС", "Дней"})};
}

// The six cells both working-days rows start with.
std::vector<std::string> WorkingDaysCells(const TPosition* position, double fullWorkingDays_IS, int ISQuantity) {
  std::vector<std::string> values;
  const double positionDays = position != nullptr ? position->fWorkingDays : 0;
  values.push_back(position != nullptr ? Esc(position->pPositionAsString()) : "");
  values.push_back(position != nullptr ? FloatToStr(position->fQuantityByPositions) : "");
  values.push_back(position != nullptr ? FloatToStr(positionDays) : "");
  values.push_back(IntToStr(ISQuantity));
  values.push_back(FloatToStr(fullWorkingDays_IS));
  values.push_back(cells::DifferenceThroughTexts(fullWorkingDays_IS, positionDays));
  return values;
}

// The IS person and period of a staff-position record, with the person's pack
// and the period's location.
void BindIS(TResultRecord& record, std::shared_ptr<TWorker> worker, std::shared_ptr<TWorkPeriod> period) {
  record.FUCPData = cells::PackDataOf(worker.get(), period ? &period->NodeData : nullptr);
  record.FWorker_PD = std::move(worker);
  record.FWorkPeriod_PD = std::move(period);
}

}  // namespace

// ---- Territorial codes ----------------------------------------------------------------

TTerrCodeWarning::TTerrCodeWarning(std::string PackNum) {
  IsError = false;
  FPackNum = std::move(PackNum);
  FMessage = "Необходимо уточнить право организации на проставление кодов территориальных условий";
}

TTerrCodeData::TTerrCodeData(std::shared_ptr<TWorkPeriod> workPeriod_IS, std::shared_ptr<TWorker> worker_IS)
    : FUcpNodeData(workPeriod_IS ? &workPeriod_IS->TerrNodeData : nullptr) {
  FWorkPeriod_PD = std::move(workPeriod_IS);
  FWorker_PD = std::move(worker_IS);
  TagData();
}

TTerrCodeErrors::TTerrCodeErrors()
    : TTableResult("Проверка правомерности проставления территориальных условий",
                   "Неправомерное проставление территориальных условий", true) {
  FHeaderData = {PlainRow({"№ пачки", "Страховое свидетельство", "ФИО", "Период", "ТУ", "Коэффициент"})};
}

TTerrCodeError::TTerrCodeError(const TTerrCodeData& TerrCodeData) {
  FWorker_PD = TerrCodeData.FWorker_PD;
  FWorkPeriod_PD = TerrCodeData.FWorkPeriod_PD;
  FUCPData = cells::PackDataOf(FWorker_PD.get(), &TerrCodeData.FUcpNodeData);
}

void TTerrCodeError::PrintLine(TLineWriter& streamWriter) {
  const TWorker* worker = FWorker_PD.get();
  const TWorkPeriod* period = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  values.push_back(worker != nullptr ? Esc(worker->PackNum) : "");
  cells::AppendSnAndName(values, worker);
  values.push_back(cells::PeriodOf(period));
  values.push_back(period != nullptr ? Esc(period->TerritoryCondition) : "");
  values.push_back(period != nullptr ? Esc(period->TerritoryCoeff) : "");
  PrintRow(streamWriter, values);
}

// ---- Working days -------------------------------------------------------------------------

TWorkingDaysErrors::TWorkingDaysErrors() : TTableResult(kWorkingDaysChapter, kWorkingDaysTitle, true) {
  FHeaderData = WorkingDaysHeader(false);
}

TWorkingDaysWarnings::TWorkingDaysWarnings() : TTableResult(kWorkingDaysChapter, kWorkingDaysTitle, false) {
  FHeaderData = WorkingDaysHeader(true);
}

TWorkingDaysError::TWorkingDaysError(std::shared_ptr<TPosition> position, double fullWorkingDays_IS,
                                     double /*lgotWorkingDays_IS*/, int ISQuantity)
    : fFullWorkingDays_IS(fullWorkingDays_IS), fISQuantity(ISQuantity) {
  FUCPData = std::make_unique<TUCPData>("", nullptr);
  FPosition = std::move(position);
}

void TWorkingDaysError::PrintLine(TLineWriter& streamWriter) {
  PrintRow(streamWriter, WorkingDaysCells(FPosition.get(), fFullWorkingDays_IS, fISQuantity));
}

TWorkingDaysResultRecord::TWorkingDaysResultRecord(std::shared_ptr<TPosition> position, double fullWorkingDays_IS,
                                                   double lgotWorkingDays_IS, int ISQuantity)
    : fExDaysQuantity(fullWorkingDays_IS - lgotWorkingDays_IS),
      fFullWorkingDays_IS(fullWorkingDays_IS),
      fISQuantity(ISQuantity) {
  FUCPData = std::make_unique<TUCPData>("", nullptr);
  FPosition = std::move(position);
}

void TWorkingDaysResultRecord::PrintLine(TLineWriter& streamWriter) {
  std::vector<std::string> values = WorkingDaysCells(FPosition.get(), fFullWorkingDays_IS, fISQuantity);
  values.push_back(FloatToStr(fExDaysQuantity));
  PrintRow(streamWriter, values);
}

// ---- Additional data not allowed ---------------------------------------------------------

TAddPdDataErrors::TAddPdDataErrors() : TTableResult(kAddPdDataChapter, kAddPdDataChapter, true) {
  FHeaderData = {PlainRow({"№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Льгота",
                           "Код позиции списка", "Дополнительные сведения ИС", "Ошибка периода актуальности"})};
}

TAddPdDataError::TAddPdDataError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
                                 std::string AddPdDataEarly, std::string AddPdDataLate, std::string AddPdData)
    : fAddPdDataEarly(std::move(AddPdDataEarly)),
      fAddPdDataLate(std::move(AddPdDataLate)),
      fAddPdData(std::move(AddPdData)) {
  BindIS(*this, std::move(worker_IS), std::move(workPeriod_IS));
}

std::string TAddPdDataError::ErrorText() const {
  std::string text = "Код " + Esc(fAddPdData) + " проставлен неправомерно.";
  if (!fAddPdDataEarly.empty() || !fAddPdDataLate.empty()) {
    text += " Период актуальности кода ";
    text += !fAddPdDataEarly.empty() ? "начинается " + Esc(fAddPdDataEarly) : "закончился " + Esc(fAddPdDataLate);
  }
  return text;
}

void TAddPdDataError::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(cells::BasesOf(period));
  values.push_back(cells::CodeOf(period));
  values.push_back(Esc(fAddPdData));
  values.push_back(ErrorText());
  PrintRow(streamWriter, values);
}

// ---- Periods without a position ---------------------------------------------------------

TPositionErrors::TPositionErrors()
    : TTableResult("Сверка на наличие позиций в Перечне", "Позиции, отсутствующие в Перечне", true) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       Columns("Особые условия труда", "2"), TwoRows("ТУ"), TwoRows("Дополнительные сведения ИС")},
      PlainRow({"Льгота", "Код позиции списка"}),
  };
}

std::string TPositionErrors::BucketKey(const TWorker& worker) {
  std::string key = worker.PackNum;
  key += '\0';
  key += worker.NumInPack;
  key += '\0';
  key += worker.SN;
  return key;
}

void TPositionErrors::AddRecord(std::unique_ptr<TResultRecord> record) {
  if (!record) return;
  const TWorker* worker = record->FWorker_PD.get();
  const TWorkPeriod* period = record->FWorkPeriod_PD.get();
  if (worker == nullptr || period == nullptr) {
    TTableResult::AddRecord(std::move(record));  // nothing to compare it by
    return;
  }
  std::vector<const TResultRecord*>& bucket = fBuckets[BucketKey(*worker)];
  const std::string name = worker->SurnameWithInitials();
  for (const TResultRecord* listed : bucket) {
    if (listed->FWorker_PD->SurnameWithInitials() == name && listed->FWorkPeriod_PD->Matches(*period)) {
      return;  // a duplicate: destroyed here
    }
  }
  bucket.push_back(record.get());
  TTableResult::AddRecord(std::move(record));
}

void TPositionErrors::RecordLeaving(const TResultRecord& record) {
  if (!record.FWorker_PD || !record.FWorkPeriod_PD) return;
  const auto entry = fBuckets.find(BucketKey(*record.FWorker_PD));
  if (entry == fBuckets.end()) return;
  auto& bucket = entry->second;
  bucket.erase(std::remove(bucket.begin(), bucket.end(), &record), bucket.end());
  if (bucket.empty()) fBuckets.erase(entry);
}

void TPositionErrors::RecordsCleared() { fBuckets.clear(); }

TPositionError::TPositionError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS) {
  BindIS(*this, std::move(worker_IS), std::move(workPeriod_IS));
}

void TPositionError::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(cells::BasesOf(period));
  values.push_back(cells::CodeOf(period));
  values.push_back(period != nullptr ? Esc(period->TerritoryCondition) : "");
  values.push_back(period != nullptr ? Esc(period->AddPdData.ToString()) : "");
  PrintRow(streamWriter, values);
}

// ---- ВИРУС ----------------------------------------------------------------------------------

TBeerusErrors::TBeerusErrors() : TTableResult("Проверки перечня", "Несоответствия по коду ВИРУС", true) {
  FHeaderData = {
      {TwoRows("№ подразделения в Перечне"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       Columns("Особые условия труда", "2"), Columns("Период в Перечне", "5"), TwoRows("Ошибка")},
      PlainRow({"Льгота", "Код позиции списка", "Дата начала периода", "Дата конца периода", "Ставка",
                "Фактически отработано", "Основание исчисления стажа"}),
  };
}

TBeerusError::TBeerusError(std::shared_ptr<TWorker> Worker, std::shared_ptr<TWorkPeriod> WorkPeriod,
                           std::string Culprit)
    : FCulprit(std::move(Culprit)) {
  FWorker_List = std::move(Worker);
  FWorkPeriod_List = std::move(WorkPeriod);
}

void TBeerusError::PrintLine(TLineWriter& streamWriter) {
  const TWorker* worker = FWorker_List.get();
  const TWorkPeriod* period = FWorkPeriod_List.get();
  std::vector<std::string> values;
  values.push_back(worker != nullptr ? Esc(worker->SubNum) : "");
  cells::AppendSnAndName(values, worker);
  values.push_back(cells::BasesOf(period));
  values.push_back(cells::CodeOf(period));
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(period != nullptr ? Esc(period->RateStr()) : "");
  values.push_back(period != nullptr ? cells::WorkedTimeText(*period) : "");
  values.push_back(period != nullptr ? Esc(period->SeniorityBase()) : "");
  values.push_back(FCulprit);  // the system's own text
  PrintRow(streamWriter, values);
}

}  // namespace morvel
