// The employer's right to the territorial codes its packs carry, from the
// rights list.

#include "config/settings.h"
#include "results/check_results.h"
#include "verify/verification.h"

namespace morvel {

// A failure to read a date of the rights list reaches the pipeline; nothing of
// this check is added then.
void TVerification::verifyTerrCodes(TSet& _set) {
  TSettings& settings = *FSettings;
  if (!settings.fCompareTerrCodes) return;

  const int year = _set.Year();
  const int period = _set.Period();
  // "all" asks for any right at all; its work period is replaced anyway, so no
  // dates are given.
  const bool hasRight = settings.hasNordRight("all", 0, 0, year, period);
  if (hasRight && fTerrCodes.empty()) {
    fWarningResults.push_back(std::make_unique<TTerrCodeWarning>("all"));
  } else {
    FoundTerrCodes = true;
  }

  std::unique_ptr<TTerrCodeErrors> errors;
  auto report = [&errors](const TTerrCodeData& data) {
    if (!errors) errors = std::make_unique<TTerrCodeErrors>();
    errors->AddRecord(std::make_unique<TTerrCodeError>(data));
  };
  if (settings.FCompareTerrCodesExtMode) {
    // Each code against the entry's flags and the validity over the whole
    // work period.
    for (const std::unique_ptr<TTerrCodeData>& data : fTerrCodes) {
      const TWorkPeriod* W = data->FWorkPeriod_PD.get();
      if (W == nullptr) continue;
      if (!settings.hasNordRight(W->TerritoryCondition, W->Start, W->Finish, year, period)) report(*data);
    }
  } else if (!settings.hasNordRight("all", 0, 0, -1, -1)) {
    // An employer without any entry in the rights list may use no code.
    for (const std::unique_ptr<TTerrCodeData>& data : fTerrCodes) report(*data);
  }
  if (errors) FErrorResults.push_back(std::move(errors));
}

}  // namespace morvel
