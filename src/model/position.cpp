#include "model/position.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "model/work_period.h"

namespace morvel {
namespace {

constexpr std::string_view kBoilerOperatorCode = "23200000-13786";
constexpr std::array<std::string_view, 6> kNavigationCodes = {
    "23003010", "23003010-13156", "23003010-13502", "23003010-14706", "23003010-23484", "23003010-25410",
};

}  // namespace

std::string TPosition::pPositionAsString() const {
  if (fProfessionCode.empty()) return Bases.DelimitedText();
  return Bases.DelimitedText() + " (" + fProfessionCode + ")";
}

bool TPosition::Matches(const TCodeSet& bases, std::string_view profCode, std::string_view terrCond) const {
  if (Bases.DelimitedText() != bases.DelimitedText() || fProfessionCode != profCode) return false;
  return TerritoryConditionsAgree(fTerrCond, terrCond);
}

bool TPosition::Matches(const TWorkPeriod& other) const {
  return Matches(other.Bases, other.ProfessionCode, other.TerritoryCondition);
}

double TPosition::setWorkingDays(TDate QBeginDate, TDate QEndDate, TDate DBegin, TDate DEnd, double positionCount,
                                 int /*year*/, std::string_view positionCode, std::string_view lgot,
                                 double warmDays, double navDays) const {
  if (positionCode == kBoilerOperatorCode && warmDays != 0) return warmDays * positionCount;
  bool navigation = Contains(lgot, "27-9");
  for (std::string_view code : kNavigationCodes) navigation = navigation || positionCode == code;
  if (navigation && navDays != 0) return navDays * positionCount;
  if (DBegin < QBeginDate) DBegin = QBeginDate;
  if (DEnd == 0) DEnd = QEndDate;
  // An entry that starts after its end (after the window, say) has no day in
  // it; a negative count would take days away from the position's other
  // entries.
  const double days = std::max(0.0, static_cast<double>(DEnd) - static_cast<double>(DBegin) + 1);
  return days * positionCount;
}

}  // namespace morvel
