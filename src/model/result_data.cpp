#include "model/result_data.h"

#include "base/text.h"

namespace morvel {

std::string TPeriodically::GetKey() const { return IntToStr(Year) + "~" + IntToStr(CorrYear); }

int MonthsPerPeriod(int year) { return year == 2010 ? 6 : 3; }

}  // namespace morvel
