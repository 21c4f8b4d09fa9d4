// The reconciliation of one verification set: the periods of both sides are
// prepared, the checks run in a fixed order, and what they find is collected
// as errors and warnings, with what the protocol prints about the set besides.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "list/the_list.h"
#include "log/logging_object.h"
#include "model/worker_dictionary.h"
#include "records/pack.h"
#include "records/pack_types.h"
#include "results/check_results.h"
#include "results/pack_results.h"
#include "results/result.h"
#include "verify/set.h"

namespace morvel {

class TSettings;

// One compared pack, as the protocol lists it.
struct TPDPackData {
  std::string fFileName;
  std::string fNum;
  TPDType fISType = TPDType::pdtSZV61;
  std::string fDatePack;
  std::string fCategoryCode;
  std::string fOrgName;
  std::string fShortOrgName;
  std::string fWorkers;  // the number of persons, in decimal
  std::int32_t fLgotWorkers = 0;
};

struct TPDData {
  std::vector<std::unique_ptr<TPDPackData>> FInitPacks;
  std::vector<std::unique_ptr<TPDPackData>> FCorrPacks;
  auto& InitPacks() { return FInitPacks; }
  auto& CorrPacks() { return FCorrPacks; }
};

// The compared List, as the protocol names it.
struct TListData {
  std::string fFileName;
  std::string fOrgName;
  std::int32_t fWorkerCount = 0;
};

class TVerification : public TLoggingObject {
 public:
  // Switches off, no List data, empty pack data; the settings instance.
  TVerification();
  ~TVerification() override;
  TVerification(const TVerification&) = delete;
  TVerification& operator=(const TVerification&) = delete;

  // Divides and merges the periods of both sides, then runs the checks in
  // their fixed order, each as its switch says; without a List nothing
  // happens. `workers_IS` is the union of the set's persons; `nPeriod` takes no
  // part. A failure of a check reaches the caller.
  void verify(TTheList* list, const std::vector<std::shared_ptr<TWorker>>& workers_IS, int nYear, int nPeriod);
  // Takes over the pack's warning and error tables that hold records, adds the
  // notes of the List's person to each additional-data warning and shares the
  // List's messages when it has any. Once per pack, before verify; `theList`
  // may be null.
  void getParseErrorsAndWarnings(TPack& pack, TTheList* theList);
  void verifyTerrCodes(TSet& _set);

  TSettings* FSettings = nullptr;
  bool FoundTerrCodes = false;
  bool fCorrPacksOnly = false;
  bool fWithPositions = false;
  bool fWithNameList = false;
  std::int32_t fYear = 0;
  std::int32_t fPeriod = 0;
  std::int32_t fECode = 0;
  std::vector<std::unique_ptr<TTerrCodeData>> fTerrCodes;
  TResultList FErrorResults;
  TResultList fWarningResults;
  // The List's reading findings, shared with the List that made them.
  std::shared_ptr<TProtocolMessageList> fVerListErrors;
  std::vector<std::string> fFileNames;
  std::unique_ptr<TListData> fListData;
  std::unique_ptr<TPDData> fPDData;
  std::unique_ptr<TPreMorvelResult> fPreMorvelResult;
  TWorkerDictionary fISWorkersDictionary;
  // Told the name of each step of verify as it ends, for timing; may be empty.
  std::function<void(const char* phase)> fOnPhaseDone;

 private:
  void CheckAddTariff(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS, int nYear);
  void CheckVirusCode(TTheList& list);
  void CheckStaffPositions(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS);
  void CheckPositionsFound(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS);
  void CheckNameListPersons(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS);
  void CheckNameListPeriods(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS, int nYear);
  // Some merged period of `worker` has the dates of `period` and matches it.
  static bool HasSamePeriod(const TWorkPeriod& period, const TWorker& worker);
  void PhaseDone(const char* phase) {
    if (fOnPhaseDone) fOnPhaseDone(phase);
  }
};

}  // namespace morvel
