// The seniority-basis code ВИРУС on the List's periods: only for work in its
// window of 2020 and only beside certain preferential bases.

#include <array>
#include <string_view>

#include "base/dates.h"
#include "base/text.h"
#include "results/check_results.h"
#include "verify/verification.h"

namespace morvel {
namespace {

constexpr std::string_view kVirusCode = "ВИРУС";
// The bases the code may go with; a period needs one of them.
constexpr std::array<std::string_view, 6> kVirusCompanionBases = {"27-1",  "27-2",    "27-ГД",
                                                                  "27-СМ", "27-ГДХР", "27-СМХР"};
// A date that was not given.
constexpr TDate kNoDate = -1;

TDate VirusWindowBegin() {
  static const TDate date = StrToDateDMY("01.01.2020");
  return date;
}

TDate VirusWindowEnd() {
  static const TDate date = StrToDateDMY("30.09.2020");
  return date;
}

bool HasCompanionBasis(const TWorkPeriod& period) {
  for (std::string_view basis : kVirusCompanionBases) {
    if (period.Bases.HasBases(basis)) return true;
  }
  return false;
}

}  // namespace

// The periods as read: the check runs before they are divided and merged.
void TVerification::CheckVirusCode(TTheList& list) {
  std::unique_ptr<TBeerusErrors> errors;
  auto report = [&errors](const std::shared_ptr<TWorker>& worker, const std::shared_ptr<TWorkPeriod>& period,
                          const char* culprit) {
    if (!errors) errors = std::make_unique<TBeerusErrors>();
    errors->AddRecord(std::make_unique<TBeerusError>(worker, period, culprit));
  };
  for (const std::shared_ptr<TWorker>& L : list.fWorkers) {
    for (const std::shared_ptr<TWorkPeriod>& S : L->WorkPeriods) {
      // A longer text that merely holds the code is some other basis.
      if (S->SeniorityBase() != kVirusCode) continue;
      if ((S->Start != kNoDate && S->Start < VirusWindowBegin()) ||
          (S->Finish != kNoDate && S->Finish > VirusWindowEnd())) {
        report(L, S, "Код \"ВИРУС\" проставляется для периодов работы с 01.01.2020 до 30.09.2020");
      }
      if (!HasCompanionBasis(*S)) {
        report(L, S, "Код \"ВИРУС\" должен сочетаться с кодами 27-1/27-2 или 27-ГД/27-ГДХР/27-СМ/27-СМХР");
      }
    }
  }
  if (errors) FErrorResults.push_back(std::move(errors));
}

}  // namespace morvel
