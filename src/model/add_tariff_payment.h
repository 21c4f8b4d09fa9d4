// One payment at an additional tariff of an individual record.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/result_data.h"

namespace morvel {

// The group of bases a payment is for: basis 27-1, or bases 27-2 to 27-18.
enum class TAddTariffBase : unsigned char { atb1, atb218 };

// How the protocol names the groups.
std::string_view AddTariffBaseName(TAddTariffBase base);

class TAddTariffPayment : public TResultData {
 public:
  TAddTariffPayment(TAddTariffBase base, std::string wc, double sum, std::string num)
      : Base(base), Sum(sum), WC(std::move(wc)), StringNumber(std::move(num)) {}

  // The same four values, untagged.
  std::shared_ptr<TAddTariffPayment> Clone() const;

  TAddTariffBase Base;
  double Sum;  // only payments above 0 count
  std::string WC;
  std::string StringNumber;
};

}  // namespace morvel
