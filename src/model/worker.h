// One insured person with work periods, from an individual record or from the
// List's nominal list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/add_tariff_payment.h"
#include "model/node_data.h"
#include "model/result_data.h"
#include "model/work_period.h"

namespace morvel {

using TWorkPeriodList = std::vector<std::shared_ptr<TWorkPeriod>>;
using TAddTariffPaymentList = std::vector<std::shared_ptr<TAddTariffPayment>>;

// Workers are shared by their pack or List and by the result records that refer
// to them; make one with std::make_shared. The periods and payments are shared
// the same way; none of them refers back to the worker, so no cycle can form.
class TWorker : public TResultData {
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

  TWorkPeriodList FParsePeriods;  // the periods as read, kept after division
  std::string fFromFile;
  bool fReplaced = false;
  std::string PackNum;
  std::string NumInPack;
  std::string SN;
  std::string SubNum;
  TNodeData FullNameNodeData;
  TNodeData NodeData;
  TNodeData PaymentsNodeData;
  std::string Surname;
  std::string Name;
  std::string Patronymic;
  bool HasAT = false;
  TWorkPeriodList WorkPeriods;
  bool HasLgotBasis = false;
  std::string CategoryCode;
  TAddTariffPaymentList AddTariffPayments;
  TWorkPeriodList MergedWorkPeriods;
  bool FoundInPds = false;
  bool IsEFS1 = false;
  std::vector<TPeriodically> Periodicals;
};

}  // namespace morvel
