// Results of the additional-tariff check: classes of working conditions ("УТ")
// that differ between the individual records and the List, an additional
// tariff stated on one side and not paid on the other, payments at the
// additional tariff without a preferential period, and List periods with a
// class of working conditions but no additional tariff.
//
// Every record here tags the persons, periods and payments it refers to as soon
// as it is made, so that the set keeps them for the protocol however the check
// ends.
#pragma once

#include <memory>
#include <string>

#include "model/add_tariff_payment.h"
#include "model/work_period.h"
#include "model/worker.h"
#include "results/table_result.h"

namespace morvel {

class TUTErrors : public TTableResult {
 public:
  TUTErrors();
  std::string ClassName() const override { return "TUTErrors"; }
};

class TAddTariffErrors : public TTableResult {
 public:
  TAddTariffErrors();
  std::string ClassName() const override { return "TAddTariffErrors"; }
};

class TAddTariffWarnings : public TTableResult {
 public:
  TAddTariffWarnings();
  std::string ClassName() const override { return "TAddTariffWarnings"; }
};

class TUTWithoutAddTariffErrors : public TTableResult {
 public:
  TUTWithoutAddTariffErrors();
  std::string ClassName() const override { return "TUTWithoutAddTariffErrors"; }
};

// The classes of working conditions of one List person differ from those of its
// individual record: for one List period (workperiod_List given) or for the
// person as a whole (none). pdUT is shown only when SameAddTariff; listUT is
// the List's classes for the whole-person row.
class TUTError : public TResultRecord {
 public:
  TUTError(std::shared_ptr<TWorker> worker_list, std::shared_ptr<TWorker> worker_IS,
           std::shared_ptr<TWorkPeriod> workperiod_List, const std::string& pdUT, bool SameAddTariff,
           std::string listUT);
  void PrintLine(TLineWriter& streamWriter) override;

  std::string fMess;
  std::string fPDUT;
  std::string fListUT;
};

// An additional tariff expected and not paid: a List period marked for it
// (errType rtList; workperiod is the List period) or a preferential IS period
// of a person without payments (otherwise; workperiod is the IS period).
class TAddTariffError : public TResultRecord {
 public:
  TAddTariffError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorker> worker_list,
                  std::shared_ptr<TWorkPeriod> workperiod, TResultType errType);
  void PrintLine(TLineWriter& streamWriter) override;

  TResultType fErrType;
};

// A payment at the additional tariff of a person without any preferential
// period (rtNoLgot, with the payment), or a preferential period without
// payments that its non-preferential additional data explain (rtNoPayments,
// with that period in workperiod_List).
class TAddTariffWarning : public TResultRecord {
 public:
  TAddTariffWarning(std::shared_ptr<TWorker> worker_IS, TResultType resultType,
                    std::shared_ptr<TWorkPeriod> workperiod_List, std::shared_ptr<TAddTariffPayment> AddTariffPayment);
  void PrintLine(TLineWriter& streamWriter) override;
  // The text of the explanation column, as HTML.
  std::string Explanation() const;

  TResultType fResultType;
};

// A List period with a class of working conditions and no additional tariff.
class TUTWithoutAddTariffError : public TResultRecord {
 public:
  TUTWithoutAddTariffError(std::shared_ptr<TWorker> worker_List, std::shared_ptr<TWorkPeriod> workPeriod_List);
  void PrintLine(TLineWriter& streamWriter) override;
};

}  // namespace morvel
