#include "verify/set.h"

#include <algorithm>
#include <string>

#include "base/insurance_number_index.h"
#include "log/logger.h"
#include "log/singleton.h"
#include "results/table_result.h"

namespace morvel {

namespace {

// Why a set cannot (fully) be reconciled, in the order the conditions are tried.
constexpr const char* kOnlyCorrective =
    "---Найдены только корректирующие ИС, необходимо уточнить отсутствие ИС со льготниками за отчетный период";
constexpr const char* kNoList =
    "---Найдены ИС с льготниками (Исхд, либо Исхд и Корр, либо Корр), перечень не найден";
constexpr const char* kListOnly =
    "---Не было найдено файлов индивидуальных сведений со льготами с подходящими для сверки заданными условиями "
    "(РегНомер,Год,Период,Тип), но найден перечень";
constexpr const char* kNothingHadLists =
    "---Необходимо уточнить отсутствие ИС со льготниками и Перечня (организация ранее предоставляла перечни)";
constexpr const char* kNothingNoLists =
    "---Необходимо уточнить отсутствие ИС со льготниками и Перечня (организация ранее не предоставляла перечни)";

template <typename T>
void Register(std::unique_ptr<TIdentitySet<T>>& registry, const std::shared_ptr<T>& object) {
  if (object) registry->emplace(object.get(), object);
}

}  // namespace

TSet::TSet() : FLogger(&TSingleton::GetInstance<TLogger>()) {}

TSet::~TSet() = default;

void TSet::AddPack(std::unique_ptr<TPack> pack) {
  if (!pack) return;
  if (pack->HasLgot) FHasLgot = true;
  const bool corrective = pack->BaseData && pack->BaseData->Correction;
  (corrective ? FCorrPacks : FInitPacks).push_back(std::move(pack));
}

bool TSet::IsSPV2() {
  if (!fIsSPV2 && !FInitPacks.empty() && FInitPacks.front()->BaseData &&
      FInitPacks.front()->BaseData->FPDType == TPDType::pdtSPV2)
    fIsSPV2 = true;
  return fIsSPV2;
}

std::uint8_t TSet::IsVerificationPossible(bool hasAtLeastOneInitPack) {
  const bool hasList = FList != nullptr;
  const bool hasCorr = !FCorrPacks.empty();
  std::uint8_t code = 0;
  const char* line = nullptr;
  if (hasList && hasCorr && !hasAtLeastOneInitPack && FHasLgot) {
    code = 22;
    line = kOnlyCorrective;
  } else if (!hasList && !IsSPV2() && (FHasInitPacks || hasCorr) && FHasLgot) {
    code = 23;
    line = kNoList;
  } else if (hasList && !FHasLgot && !hasCorr && !FHasInitPacks && !FList->fWorkers.empty()) {
    code = 25;
    line = kListOnly;
  } else if (!hasList && !FHasLgot && FOrganizationHasLists) {
    code = 12;
    line = kNothingHadLists;
  } else if (!hasList && !FHasLgot) {
    code = 11;
    line = kNothingNoLists;
  }
  if (FLogger) {
    if (line) FLogger->AddEntry(line, false);
    FLogger->AddEntry("---eCode=" + std::to_string(code), false);
  }
  return code;
}

std::vector<std::shared_ptr<TWorker>> TSet::UnionISWorkers(TResultList& ErrorResults, TResultList& WarningResults) {
  FHasSPV1 = false;
  // The dictionary keeps its insertion order beside the look-up, so the union
  // comes out in the order the persons were first met: reproducible protocols.
  TInsuranceNumberIndex index;
  std::vector<std::shared_ptr<TWorker>> united;
  std::size_t persons = 0;
  for (const auto& pack : FInitPacks) persons += pack->Workers.size();
  for (const auto& pack : FCorrPacks) persons += pack->Workers.size();
  index.Reserve(persons);

  for (std::size_t p = 0; p < FInitPacks.size(); ++p) {
    const TPack& pack = *FInitPacks[p];
    if (p == 0 && pack.BaseData && pack.BaseData->FPDType == TPDType::pdtSPV1) FHasSPV1 = true;
    for (const auto& W : pack.Workers) {
      if (!W) continue;
      const auto [at, inserted] = index.TryEmplace(W->SN, united.size());
      if (inserted) {
        united.push_back(W);
        continue;
      }
      TWorker& K = *united[at];
      for (const auto& period : W->WorkPeriods) K.WorkPeriods.push_back(period->Clone());
      if (W->HasLgotBasis && !W->WorkPeriods.empty()) K.HasLgotBasis = true;
      for (const auto& payment : W->AddTariffPayments)
        if (payment && payment->Sum > 0) K.AddTariffPayments.push_back(payment->Clone());
    }
  }

  std::unordered_set<std::string> replaced;
  for (const auto& pack : FCorrPacks) {
    for (const auto& W : pack->Workers) {
      if (!W) continue;
      const auto [at, inserted] = index.TryEmplace(W->SN, united.size());
      if (inserted) {
        united.push_back(W);
        continue;
      }
      replaced.insert(W->SN);
      united[at] = W;
    }
  }
  // The rows of the replaced records go in one pass at the end: the tables do
  // not change meanwhile, and a large correction would otherwise walk every row
  // once per corrected person. The record in force keeps its own rows.
  if (!replaced.empty()) {
    TReplacedRecords records;
    for (const TPackList* packs : {&FInitPacks, &FCorrPacks}) {
      for (const auto& pack : *packs) {
        for (const auto& W : pack->Workers) {
          if (!W || replaced.count(W->SN) == 0 || united[index.Find(W->SN)] == W) continue;
          records.Add(*W);
        }
      }
    }
    RemovePersonResults(ErrorResults, records);
    RemovePersonResults(WarningResults, records);
  }
  return united;
}

void TReplacedRecords::Add(const TWorker& worker) {
  fWorkers.insert(&worker);
  // A row points at the period as read; a ЕФС-1 record's rows point at the
  // person the file named, whose periods went to the copies in the packs.
  for (const auto& period : worker.WorkPeriods) fPeriods.insert(period.get());
  for (const auto& period : worker.FParsePeriods) fPeriods.insert(period.get());
}

bool TReplacedRecords::Holds(const TResultRecord& record) const {
  return (record.FWorker_PD && fWorkers.count(record.FWorker_PD.get()) != 0) ||
         (record.FWorkPeriod_PD && fPeriods.count(record.FWorkPeriod_PD.get()) != 0);
}

void TSet::RemovePersonResults(TResultList& Results, const TReplacedRecords& replaced) {
  // A table that only the replaced records filled goes too: the protocol must
  // not show an empty table, and the set's code and the numbering of the
  // tables follow what is printed.
  std::erase_if(Results, [&](const std::unique_ptr<TResult>& result) {
    auto* table = dynamic_cast<TTableResult*>(result.get());
    if (!table || table->Count() == 0) return false;
    table->DeleteRecordsIf([&](const TResultRecord& record) { return replaced.Holds(record); });
    return table->Count() == 0;
  });
}

int TSet::CountVerifiedpeople() const {
  int count = 0;
  for (const auto& pack : FInitPacks) count += pack->FLgotWorkerCount;
  for (const auto& pack : FCorrPacks) count += pack->FLgotWorkerCount;
  return count;
}

void TSet::UniteList() {
  FListWorkers = std::make_unique<TIdentitySet<TWorker>>();
  FistPeriods = std::make_unique<TIdentitySet<TWorkPeriod>>();
  FListPositions = std::make_unique<TIdentitySet<TPosition>>();
  if (!FList) return;
  for (const auto& worker : FList->fWorkers) {
    if (!worker) continue;
    Register(FListWorkers, worker);
    for (const auto& period : worker->MergedWorkPeriods) Register(FistPeriods, period);
  }
  for (const auto& position : FList->fPositions) Register(FListPositions, position);
}

void TSet::UniteIS() {
  FIsWorkers = std::make_unique<TIdentitySet<TWorker>>();
  FIsPeriods = std::make_unique<TIdentitySet<TWorkPeriod>>();
  FIsPayments = std::make_unique<TIdentitySet<TAddTariffPayment>>();
  for (const TPackList* packs : {&FInitPacks, &FCorrPacks}) {
    for (const auto& pack : *packs) {
      for (const auto& worker : pack->Workers) {
        if (!worker) continue;
        Register(FIsWorkers, worker);
        for (const auto& period : worker->MergedWorkPeriods) Register(FIsPeriods, period);
        for (const auto& payment : worker->AddTariffPayments) Register(FIsPayments, payment);
      }
    }
  }
}

namespace {

// Releasing an object drops the set's reference to it. A worker that no result
// refers to also lets go of its periods and payments at once, so the memory of
// a person nobody prints is returned before the protocol part is written;
// whatever a record still refers to stays alive through the record.
template <typename T>
void Release(std::shared_ptr<T>& object) {
  object.reset();
}

template <>
void Release(std::shared_ptr<TWorker>& worker) {
  if (worker && !worker->IsResultData) {
    worker->WorkPeriods.clear();
    worker->MergedWorkPeriods.clear();
    worker->FParsePeriods.clear();
    worker->AddTariffPayments.clear();
  }
  worker.reset();
}

// Each registry holds an object once and forgets it when releasing it, so
// nothing is released twice: releasing only drops references, and an object
// lives as long as a record or another registry still holds it.
template <typename T>
void Flush(TIdentitySet<T>* registry, bool notResultData) {
  if (!registry) return;
  for (auto& entry : *registry) {
    std::shared_ptr<T>& object = entry.second;
    if (!object) continue;  // released by the first flush
    if (notResultData && object->IsResultData) continue;
    Release(object);
  }
}

}  // namespace

void TSet::FlushResults(bool notResultData) {
  try {
    Flush(FistPeriods.get(), notResultData);
    Flush(FListPositions.get(), notResultData);
    Flush(FListWorkers.get(), notResultData);
    Flush(FIsPeriods.get(), notResultData);
    Flush(FIsPayments.get(), notResultData);
    Flush(FIsWorkers.get(), notResultData);
  } catch (...) {
    // Releasing only drops references; whatever failed, the set still dies whole.
  }
  if (notResultData) return;
  FistPeriods.reset();
  FListPositions.reset();
  FListWorkers.reset();
  FIsPeriods.reset();
  FIsPayments.reset();
  FIsWorkers.reset();
}

}  // namespace morvel
