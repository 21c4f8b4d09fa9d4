// The merged periods of each IS person against those of the same person in the
// List's nominal list: List persons the IS lacks, periods of the same dates
// whose kind differs, and, for each pair of periods of the same dates and kind,
// differences in rate, seniority basis and worked time; last the periods of
// either side that found no partner.

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/rounding.h"
#include "results/name_list_results.h"
#include "results/rate_results.h"
#include "verify/verification.h"

namespace morvel {
namespace {

// Bases whose rate must agree between the sides.
constexpr std::array<std::string_view, 5> kRateComparedBases = {"27-ПД", "27-ГД", "27-СМ", "27-ГДХР", "27-СМХР"};
// Work of a head of a school: its rate must be stated.
constexpr std::string_view kPrincipalBasis = "ПДРК";
// Up to this reporting year worked time missing on one side is only a warning.
constexpr int kLastYearOfWorkTimeWarnings = 2009;

bool SameDates(const TWorkPeriod& a, const TWorkPeriod& b) { return a.Start == b.Start && a.Finish == b.Finish; }

bool HasRateComparedBasis(const TWorkPeriod& period) {
  for (std::string_view basis : kRateComparedBases) {
    if (period.Bases.HasBases(basis)) return true;
  }
  return false;
}

// Only the four worked-time fields count; the teaching hours do not.
bool HasWorkedTime(const TWorkPeriod& period) {
  return period.Months != "0" || period.Days != "0" || period.Hours != "0" || period.Minutes != "0";
}

bool SameWorkedTime(const TWorkPeriod& a, const TWorkPeriod& b) {
  return a.Months == b.Months && a.Days == b.Days && a.Hours == b.Hours && a.Minutes == b.Minutes;
}

// Rates agree when they agree at two decimals, an exact half going to the even
// neighbour.
double RoundedRate(double rate) { return RoundHalfEven(rate, 2); }

// The merged periods of one person in the order of their dates, so that the
// periods of given dates are found without walking all of them. Within one
// pair of dates the periods keep their order.
class TPeriodsByDates {
 public:
  explicit TPeriodsByDates(const TWorkPeriodList& periods) : fPeriods(periods) {
    fOrder.reserve(periods.size());
    for (std::size_t i = 0; i < periods.size(); ++i) fOrder.push_back(i);
    std::stable_sort(fOrder.begin(), fOrder.end(), [&](std::size_t a, std::size_t b) { return Less(a, b); });
  }

  // Indexes, ascending, of the periods with the dates of `period`.
  std::pair<const std::size_t*, const std::size_t*> WithDatesOf(const TWorkPeriod& period) const {
    const auto key = std::make_pair(period.Start, period.Finish);
    const auto from = std::lower_bound(fOrder.begin(), fOrder.end(), key, [&](std::size_t i, const auto& k) {
      return std::make_pair(fPeriods[i]->Start, fPeriods[i]->Finish) < k;
    });
    auto to = from;
    while (to != fOrder.end() && SameDates(*fPeriods[*to], period)) ++to;
    return {fOrder.data() + (from - fOrder.begin()), fOrder.data() + (to - fOrder.begin())};
  }

 private:
  bool Less(std::size_t a, std::size_t b) const {
    return std::make_pair(fPeriods[a]->Start, fPeriods[a]->Finish) <
           std::make_pair(fPeriods[b]->Start, fPeriods[b]->Finish);
  }

  const TWorkPeriodList& fPeriods;
  std::vector<std::size_t> fOrder;
};

// A table that is made on its first record and later handed to a result list.
template <typename Table>
class TLazyTable {
 public:
  void Add(std::unique_ptr<TResultRecord> record) {
    if (!fTable) fTable = std::make_unique<Table>();
    fTable->AddRecord(std::move(record));
  }
  void MoveTo(TResultList& results) {
    if (fTable && fTable->Count() > 0) results.push_back(std::move(fTable));
    fTable.reset();
  }

 private:
  std::unique_ptr<Table> fTable;
};

}  // namespace

bool TVerification::HasSamePeriod(const TWorkPeriod& period, const TWorker& worker) {
  for (const std::shared_ptr<TWorkPeriod>& X : worker.MergedWorkPeriods) {
    if (SameDates(*X, period) && X->Matches(period)) return true;
  }
  return false;
}

void TVerification::CheckNameListPeriods(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS,
                                         int nYear) {
  // List persons that no IS person claimed.
  if (!fCorrPacksOnly) {
    TLazyTable<TSNErrors_List> missingInIS;
    for (const std::shared_ptr<TWorker>& L : list.fWorkers) {
      if (!L || L->FoundInPds) continue;
      for (const std::shared_ptr<TWorkPeriod>& Q : L->MergedWorkPeriods) {
        missingInIS.Add(std::make_unique<TSNError_List>(L, Q));
      }
    }
    missingInIS.MoveTo(FErrorResults);
  }

  TLazyTable<TBasisErrors> basisErrors;
  TLazyTable<TPeriodErrors_IS> unpairedIS;
  TLazyTable<TPeriodErrors_List> unpairedList;
  TLazyTable<TRateErrors> rateErrors;
  TLazyTable<TFactWorkTimeErrors> workTimeErrors;
  TLazyTable<TFactWorkTimeErrors_List> workTimeErrorsList;
  TLazyTable<TFactWorkTimeErrors_IS> workTimeErrorsIS;
  TLazyTable<TFactWorkTimeWarnings_List> workTimeWarningsList;
  TLazyTable<TFactWorkTimeWarnings_IS> workTimeWarningsIS;
  TLazyTable<TStavkaWarnings> stavkaWarnings;
  TLazyTable<TWorkDaysBasisErrors> seniorityErrors;
  TLazyTable<TRateTooHighErrors> rateTooHigh;
  TLazyTable<TNoRateErrors> noRate;
  const bool workTimeWarnings = nYear <= kLastYearOfWorkTimeWarnings;

  for (const std::shared_ptr<TWorker>& W : workers_IS) {
    if (!W) continue;
    const std::shared_ptr<TWorker> L = list.FindWorker(W->SN);
    if (!L) continue;  // reported as missing from the List by the person check
    const TWorkPeriodList& periodsIS = W->MergedWorkPeriods;
    const TWorkPeriodList& periodsList = L->MergedWorkPeriods;
    const TPeriodsByDates listByDates(periodsList);

    // Bases: periods of the same dates and another kind, unless either side
    // also has a period of those dates and the other's kind. Whether a side
    // has one is asked at most once per period.
    std::vector<std::optional<bool>> listHasIS(periodsIS.size());
    std::vector<std::optional<bool>> isHasList(periodsList.size());
    for (std::size_t p = 0; p < periodsIS.size(); ++p) {
      const std::shared_ptr<TWorkPeriod>& P = periodsIS[p];
      const auto [from, to] = listByDates.WithDatesOf(*P);
      for (const std::size_t* q = from; q != to; ++q) {
        const std::shared_ptr<TWorkPeriod>& Q = periodsList[*q];
        if (Q->Matches(*P)) continue;
        if (!listHasIS[p]) listHasIS[p] = HasSamePeriod(*P, *L);
        if (*listHasIS[p]) continue;
        if (!isHasList[*q]) isHasList[*q] = HasSamePeriod(*Q, *W);
        if (*isHasList[*q]) continue;
        basisErrors.Add(std::make_unique<TBasisError>(W, P, Q));
      }
    }

    // Pairs of the same dates and kind.
    for (const std::shared_ptr<TWorkPeriod>& P : periodsIS) {
      const auto [from, to] = listByDates.WithDatesOf(*P);
      for (const std::size_t* q = from; q != to; ++q) {
        const std::shared_ptr<TWorkPeriod>& Q = periodsList[*q];
        if (Q->Compared || !P->Matches(*Q)) continue;

        if (HasRateComparedBasis(*P) && RoundedRate(P->Rate) != RoundedRate(Q->Rate)) {
          rateErrors.Add(std::make_unique<TRateResult>(W, P, Q, TResultType::rtPD));
        }
        if (Q->Rate > 1 || P->Rate > 1) {
          stavkaWarnings.Add(std::make_unique<TRateResult>(W, P, Q, TResultType::rtList));
        }
        if (Q->Rate > 2 || P->Rate > 2) {
          rateTooHigh.Add(std::make_unique<TRateResult>(W, P, Q, TResultType::rtList));
        }
        if (P->Bases.HasBases(kPrincipalBasis) && (Q->Rate <= 0 || P->Rate <= 0)) {
          noRate.Add(std::make_unique<TRateResult>(W, P, Q, TResultType::rtList));
        }
        if (P->SeniorityBase() != Q->SeniorityBase() && !P->HasNoLgotAddPdData()) {
          seniorityErrors.Add(std::make_unique<TWorkDaysBasisError>(L, W, P, Q));
        }

        const bool timeIS = HasWorkedTime(*P);
        const bool timeList = HasWorkedTime(*Q);
        if (timeIS && timeList) {
          if (!SameWorkedTime(*P, *Q)) workTimeErrors.Add(std::make_unique<TFactWorkTimeError>(W, Q, P));
        } else if (timeIS) {
          auto record = std::make_unique<TFactWorkTimeResult_List_IS>(W, P, Q, TResultType::rtPD);
          if (workTimeWarnings) {
            workTimeWarningsIS.Add(std::move(record));
          } else {
            workTimeErrorsIS.Add(std::move(record));
          }
        } else if (timeList) {
          auto record = std::make_unique<TFactWorkTimeResult_List_IS>(W, P, Q, TResultType::rtList);
          if (workTimeWarnings) {
            workTimeWarningsList.Add(std::move(record));
          } else {
            workTimeErrorsList.Add(std::move(record));
          }
        }

        // A full-rate IS period is compared with every part-rate List period of
        // its dates and kind, and pairs only with a full-rate one.
        if (P->Rate >= 1 && Q->Rate < 1) continue;
        Q->Compared = true;
        P->Compared = true;
        break;
      }
    }

    for (const std::shared_ptr<TWorkPeriod>& P : periodsIS) {
      if (!P->Compared && !P->Bases.Empty()) unpairedIS.Add(std::make_unique<TPeriodError_IS>(W, P));
    }
    for (const std::shared_ptr<TWorkPeriod>& Q : periodsList) {
      if (!Q->Compared) unpairedList.Add(std::make_unique<TPeriodError_List>(W, L, Q));
    }
  }

  basisErrors.MoveTo(FErrorResults);
  unpairedIS.MoveTo(FErrorResults);
  unpairedList.MoveTo(FErrorResults);
  rateErrors.MoveTo(FErrorResults);
  workTimeErrors.MoveTo(FErrorResults);
  workTimeErrorsList.MoveTo(FErrorResults);
  workTimeErrorsIS.MoveTo(FErrorResults);
  workTimeWarningsList.MoveTo(fWarningResults);
  workTimeWarningsIS.MoveTo(fWarningResults);
  stavkaWarnings.MoveTo(fWarningResults);
  seniorityErrors.MoveTo(FErrorResults);
  rateTooHigh.MoveTo(FErrorResults);
  noRate.MoveTo(FErrorResults);
}

}  // namespace morvel
