#include "model/add_tariff_payment.h"

namespace morvel {

std::string_view AddTariffBaseName(TAddTariffBase base) {
  switch (base) {
    case TAddTariffBase::atb1:
      return "27-1";
    case TAddTariffBase::atb218:
      return "27-2-18";
  }
  return {};
}

std::shared_ptr<TAddTariffPayment> TAddTariffPayment::Clone() const {
  return std::make_shared<TAddTariffPayment>(Base, WC, Sum, StringNumber);
}

}  // namespace morvel
