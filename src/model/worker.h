// One insured person with work periods, from an individual record or from the
// List's nominal list.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/shared_text.h"
#include "model/add_tariff_payment.h"
#include "model/node_data.h"
#include "model/result_data.h"
#include "model/work_period.h"

namespace morvel {

using TWorkPeriodList = std::vector<std::shared_ptr<TWorkPeriod>>;
using TAddTariffPaymentList = std::vector<std::shared_ptr<TAddTariffPayment>>;

class TWorker;

// Additional-data texts under which two overlapping periods of one kind are
// ordinary (a contract beside the main work, substitutions and the like): an
// overlap is not reported when the whole additional-data text of either period
// is one of them. The overlap table's title names them in this order.
inline constexpr std::array<std::string_view, 8> ExcusedCrossingCodes = {"ДОГОВОР", "НЕОПЛДОГ", "НЕОПЛАВТ", "ЗГДС",
                                                                         "ЗГД",     "ЗГГС",     "ЗМС",      "ЗМД"};

// True when the trimmed additional-data text of the period is exactly one of
// ExcusedCrossingCodes.
bool HasExcusedCrossingData(const TWorkPeriod& period);

// The pieces two crossing periods of one kind are cut into, in the order the
// division lists them: two when they start or end together, three otherwise.
// Each piece has A's kind and nothing more (no worked time, seniority basis,
// additional data or working conditions); where both lay, its rate is the sum
// of theirs. A piece points at the data it stands for: a head piece at the
// period that started first, the overlap at the one that started later (A
// when both start together), a tail piece at the one that ended first. A and B
// must overlap without having the same dates.
TWorkPeriodList CutCrossingPeriods(const TWorkPeriod& A, const TWorkPeriod& B);

// Receives the overlaps that the division of a person's periods finds and does
// not excuse. The model only reports them; what becomes of a report (a row of
// the overlap table) is decided above it. `first` is the piece already divided
// out of earlier periods, `second` the period as read that overlaps it; both
// are valid only during the call.
class TCrossingSink {
 public:
  virtual ~TCrossingSink() = default;
  virtual void CrossingFound(const TWorker& worker, const TWorkPeriod& first, const TWorkPeriod& second) = 0;
};

// Workers are shared by their pack or List and by the result records that refer
// to them; make one with std::make_shared. The periods and payments are shared
// the same way; none of them refers back to the worker, so no cycle can form.
// A finding that the worker's own operations report can take a share of the
// worker through shared_from_this.
class TWorker : public TResultData, public std::enable_shared_from_this<TWorker> {
 public:
  TWorker() = default;
  // The person without periods or payments, for a pack that receives only some
  // of the person's periods: names, numbers, marks, the tag and the locations.
  // HasLgotBasis starts unset.
  TWorker(const TWorker& other);
  // Moving would have to fall back on that partial copy; workers live behind
  // shared pointers and are never moved.
  TWorker(TWorker&&) = delete;
  TWorker& operator=(const TWorker&) = delete;

  // Surname, a blank and the initials, each followed by a full stop.
  std::string SurnameWithInitials() const;
  std::string SurnameWithInitialsAndSN() const;
  // No merged period has a basis code (also when there is none).
  bool HasLgotSidePeriodsOnly() const;

  // Adds a period read from a pack, so that a later pack supersedes an earlier
  // one for the same reporting period: periods of other packs with the same
  // reporting period are removed when the new pack is dated later (or, on the
  // same date, numbered at least as high); when an existing one is dated later
  // or numbered higher, nothing changes and the result is false. Pack dates and
  // numbers that do not convert raise EConvertError, with the list unchanged.
  bool AddWorkperiod(const std::shared_ptr<TWorkPeriod>& period);

  // Adds the working-conditions code(s) of Period1 to those of Period2, joined
  // by ";"; repeated codes stay.
  static void MergePeriodWC(const TWorkPeriod& Period1, TWorkPeriod& Period2);

  // Cuts overlapping periods of one kind (same bases and position code, no
  // worked time, same seniority basis) into pieces whose rates add up where
  // they overlapped, then adds up the rates of pieces that agree in dates and
  // kind. The periods as read move to FParsePeriods; WorkPeriods receives the
  // result. Overlaps are reported to `ErrorResults` when one is given (the
  // individual records); none for the List's persons.
  void DivideCrossWorkPeriods(TCrossingSink* ErrorResults);

  // Glues consecutive periods of one kind and one rate (to two decimals) into
  // one, adding up their worked time, then combines periods with the same
  // dates, the rate capped at 1; the result is appended to MergedWorkPeriods.
  // Periods with and without worked time are glued only across time without
  // preferential work: for an individual record (`isIS`) when one of them has
  // non-preferential additional data; for a List person when the individual
  // record of the same insurance number (`ISWorker`, merged before) has such a
  // period spanning both.
  void MergeWorkPeriods(bool isIS, const TWorker* ISWorker);

  TWorkPeriodList FParsePeriods;  // the periods as read, kept after division
  TSharedText fFromFile;
  bool fReplaced = false;
  TSharedText PackNum;
  TSharedText NumInPack;
  std::string SN;
  TSharedText SubNum;
  TNodeData FullNameNodeData;
  TNodeData NodeData;
  TNodeData PaymentsNodeData;
  TSharedText Surname;
  TSharedText Name;
  TSharedText Patronymic;
  bool HasAT = false;
  TWorkPeriodList WorkPeriods;
  bool HasLgotBasis = false;
  TSharedText CategoryCode;
  TAddTariffPaymentList AddTariffPayments;
  TWorkPeriodList MergedWorkPeriods;
  bool FoundInPds = false;
  bool IsEFS1 = false;
  std::vector<TPeriodically> Periodicals;
};

}  // namespace morvel
