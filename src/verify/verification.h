// The reconciliation of one verification set: the periods of both sides are
// prepared, the checks run in a fixed order, and what they find is collected
// as errors and warnings, with what the protocol prints about the set besides.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "list/the_list.h"
#include "log/logging_object.h"
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

  void verify(TTheList* list, const std::vector<std::shared_ptr<TWorker>>& workers_IS, int nYear, int nPeriod);
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
  std::unordered_map<std::string, std::shared_ptr<TWorker>> fISWorkersDictionary;

 private:
  void CheckAddTariff(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS, int nYear);
  void CheckVirusCode(TTheList& list);
  void CheckStaffPositions(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS);
  void CheckPositionsFound(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS);
  void CheckNameListPersons(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS);
  void CheckNameListPeriods(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS, int nYear);
};

}  // namespace morvel
