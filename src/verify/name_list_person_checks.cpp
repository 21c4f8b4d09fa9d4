// The IS persons with preferential periods against the persons of the List's
// nominal list: persons the list lacks, differing full names and differing
// teaching hours. The List persons found here are marked, so that the period
// check can report those the IS lacks.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/rounding.h"
#include "results/name_list_results.h"
#include "verify/verification.h"

namespace morvel {
namespace {

// Teaching work and, within it, the work of a head of a school; a substring
// test on the bases, so "27-ПДРК" is teaching work too.
constexpr std::string_view kTeachingBasis = "27-ПД";
constexpr std::string_view kPrincipalBasis = "27-ПДРК";

double TeachingMinutes(const TWorkPeriod& period) { return period.PDRKHours * 60 + period.PDRKMinutes; }

// Hours are stated with decimals (1.1 hours are 66 minutes, as a double
// 66.00000000000001), so the totals are compared without the binary residue:
// a millionth of a minute is far below anything a record states.
bool SameMinutes(double a, double b) { return RoundHalfEven(a, 6) == RoundHalfEven(b, 6); }

std::string FullName(const TWorker& worker) { return worker.Surname + worker.Name + worker.Patronymic; }

// The first pack entry of each number, so that lowering a count does not walk
// the packs once per person.
std::unordered_map<std::string, TPDPackData*> FirstPackByNumber(
    const std::vector<std::unique_ptr<TPDPackData>>& packs) {
  std::unordered_map<std::string, TPDPackData*> first;
  for (const std::unique_ptr<TPDPackData>& pack : packs) {
    if (pack) first.try_emplace(pack->fNum, pack.get());
  }
  return first;
}

}  // namespace

void TVerification::CheckNameListPersons(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS) {
  std::unique_ptr<TPrincipalErrors> principalErrors;
  std::unique_ptr<TTeacherWarnings> teacherWarnings;
  std::unique_ptr<TFullNameErrors> fullNameErrors;
  std::unique_ptr<TPdInsNumErrors> missingInList;

  std::unordered_map<std::string, TPDPackData*> initPacks;
  std::unordered_map<std::string, TPDPackData*> corrPacks;
  if (fPDData) {
    initPacks = FirstPackByNumber(fPDData->FInitPacks);
    corrPacks = FirstPackByNumber(fPDData->FCorrPacks);
  }

  for (const std::shared_ptr<TWorker>& W : workers_IS) {
    if (!W || !W->HasLgotBasis) continue;

    bool teach = false;
    bool principal = false;
    double isMinutes = 0;
    for (const std::shared_ptr<TWorkPeriod>& O : W->MergedWorkPeriods) {
      // Leave, children's care and the like are no teaching time.
      if (O->HasNoLgotAddPdData()) continue;
      if (!O->Bases.HasBases(kTeachingBasis)) continue;
      isMinutes += TeachingMinutes(*O);
      teach = true;
      if (O->Bases.HasBases(kPrincipalBasis)) principal = true;
    }

    // The pack counted the person among those with preferential periods, but
    // after merging none is left: the protocol's count goes down by one.
    if (W->HasLgotSidePeriodsOnly()) {
      if (const auto pack = initPacks.find(W->PackNum); pack != initPacks.end()) --pack->second->fLgotWorkers;
      if (const auto pack = corrPacks.find(W->PackNum); pack != corrPacks.end()) --pack->second->fLgotWorkers;
    }

    double listMinutes = 0;
    const std::shared_ptr<TWorker> L = list.FindWorker(W->SN);
    if (L) {
      if (teach) {
        for (const std::shared_ptr<TWorkPeriod>& Q : L->MergedWorkPeriods) {
          if (Q->Bases.HasBases(kTeachingBasis)) listMinutes += TeachingMinutes(*Q);
        }
      }
      // One text of the three parts: a name split differently between them is
      // the same name, a name in other letter case is not.
      if (FullName(*W) != FullName(*L)) {
        if (!fullNameErrors) fullNameErrors = std::make_unique<TFullNameErrors>();
        fullNameErrors->AddRecord(std::make_unique<TFullNameError>(W, L));
      }
      L->FoundInPds = true;
    }

    if (teach && !SameMinutes(isMinutes, listMinutes)) {
      // The row shows the person's last merged period, skipped above or not.
      auto record = std::make_unique<TTeacherResult>(W, W->MergedWorkPeriods.back(), isMinutes, listMinutes);
      if (principal) {
        if (!principalErrors) principalErrors = std::make_unique<TPrincipalErrors>();
        principalErrors->AddRecord(std::move(record));
      } else {
        if (!teacherWarnings) teacherWarnings = std::make_unique<TTeacherWarnings>();
        teacherWarnings->AddRecord(std::move(record));
      }
    }

    if (!L) {
      if (!missingInList) missingInList = std::make_unique<TPdInsNumErrors>();
      for (const std::shared_ptr<TWorkPeriod>& O : W->MergedWorkPeriods) {
        missingInList->AddRecord(std::make_unique<TSNError_IS>(W, O));
      }
    }
  }

  if (principalErrors && principalErrors->Count() > 0) FErrorResults.push_back(std::move(principalErrors));
  if (teacherWarnings && teacherWarnings->Count() > 0) fWarningResults.push_back(std::move(teacherWarnings));
  if (fullNameErrors && fullNameErrors->Count() > 0) FErrorResults.push_back(std::move(fullNameErrors));
  if (missingInList && missingInList->Count() > 0) FErrorResults.push_back(std::move(missingInList));
}

}  // namespace morvel
