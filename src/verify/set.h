// The verification set: every pack of one employer for one reporting year and
// period, split into initial and corrective packs, with the employer's List for
// that period when one was found.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "list/the_list.h"
#include "records/pack.h"
#include "results/result.h"

namespace morvel {

class TLogger;
class TResultRecord;

// The records a corrective record replaced (every earlier record of its
// person), by identity, so that their rows can be told from the rows of the
// record in force, which has the same insurance number.
class TReplacedRecords {
 public:
  void Add(const TWorker& worker);
  // Whether the row is about one of the replaced records.
  bool Holds(const TResultRecord& record) const;

 private:
  std::unordered_set<const TWorker*> fWorkers;
  std::unordered_set<const TWorkPeriod*> fPeriods;
};

using TPackList = std::vector<std::unique_ptr<TPack>>;
using TResultList = std::vector<std::unique_ptr<TResult>>;

// Objects registered for release by UniteList and UniteIS, keyed by identity.
template <typename T>
using TIdentitySet = std::unordered_map<const T*, std::shared_ptr<T>>;

class TSet {
 public:
  TSet();
  ~TSet();
  TSet(const TSet&) = delete;
  TSet& operator=(const TSet&) = delete;

  // Files the pack under its kind: corrective when its header says so.
  void AddPack(std::unique_ptr<TPack> pack);

  // Whether the first initial pack is a СПВ-2 pack; once true, stays true.
  bool IsSPV2();
  // 0 when a reconciliation is possible, else 11, 12, 22, 23 or 25; logs the
  // reason and "---eCode=" on every call.
  std::uint8_t IsVerificationPossible(bool hasAtLeastOneInitPack);

  // One worker per insurance number over every pack: initial records combined,
  // a corrective record replacing the combination (and the rows already
  // collected from the records it replaced). The workers stay owned by their
  // packs.
  std::vector<std::shared_ptr<TWorker>> UnionISWorkers(TResultList& ErrorResults, TResultList& WarningResults);
  // Deletes every row about the replaced records from the table results, in
  // one pass over the rows whatever the number of persons, and the tables that
  // this leaves empty.
  static void RemovePersonResults(TResultList& Results, const TReplacedRecords& replaced);
  int CountVerifiedpeople() const;

  // Register the List's and the packs' objects for release.
  void UniteList();
  void UniteIS();
  // Drops the set's references to what it registered: with `notResultData`
  // only to what no tagged result record refers to. Never raises.
  void FlushResults(bool notResultData);

  TTheList* List() const { return FList.get(); }
  void SetList(std::unique_ptr<TTheList> list) { FList = std::move(list); }
  std::unique_ptr<TTheList>& ListOwner() { return FList; }
  TPackList& InitPacks() { return FInitPacks; }
  TPackList& CorrPacks() { return FCorrPacks; }
  const TPackList& InitPacks() const { return FInitPacks; }
  const TPackList& CorrPacks() const { return FCorrPacks; }
  int Year() const { return FYear; }
  int Period() const { return FPeriod; }
  bool HasLgot() const { return FHasLgot; }
  bool HasSPV1() const { return FHasSPV1; }

  TLogger* FLogger = nullptr;
  bool fIsSPV2 = false;
  std::unique_ptr<TTheList> FList;
  TPackList FInitPacks;
  TPackList FCorrPacks;
  std::int32_t FYear = 0;
  std::int32_t FPeriod = 0;
  bool FHasLgot = false;
  bool FOrganizationHasLists = false;
  bool FHasInitPacks = false;
  bool FHasSPV1 = false;
  std::unique_ptr<TIdentitySet<TWorker>> FListWorkers;
  std::unique_ptr<TIdentitySet<TWorker>> FIsWorkers;
  std::unique_ptr<TIdentitySet<TWorkPeriod>> FistPeriods;
  std::unique_ptr<TIdentitySet<TWorkPeriod>> FIsPeriods;
  std::unique_ptr<TIdentitySet<TPosition>> FListPositions;
  std::unique_ptr<TIdentitySet<TAddTariffPayment>> FIsPayments;
};

using TSetList = std::vector<std::unique_ptr<TSet>>;

}  // namespace morvel
