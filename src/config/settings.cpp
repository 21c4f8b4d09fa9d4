#include "config/settings.h"

#include <filesystem>
#include <iterator>

#include "base/error.h"
#include "base/platform.h"
#include "base/text.h"
#include "morvel/build_date.h"
#include "morvel/version.h"

namespace morvel {

TExeData ReadExeData() {
  TExeData data;
  data.FileVersion = MORVEL_FILE_VERSION;
  data.ProductVersion = MORVEL_FILE_VERSION;
  data.ProductName = MORVEL_PRODUCT_NAME;
  data.Comments = MORVEL_BUILD_DATE;
  data.OriginalFileName = "morvel";
  data.InternalName = "morvel";
  return data;
}

void TSettings::Create() {
  FExeData = ReadExeData();
  FTerrCodeRightList.clear();
  FCrossList.clear();
}

std::string TSettings::GetProtocolFileName() const {
  std::string name = "MORVEL-" + IntToStr(FYear) + "-" + IntToStr(periodAsSZV());
  if (FAccumulateOption) name += "A";
  name += "-REGNO-" + FRegNum;
  return PathToUtf8(PathFromUtf8(FDirReport) / PathFromUtf8(name));
}

int TSettings::periodAsSZV() const {
  if (FYear == 2010) return FPeriod <= 2 ? 1 : 2;
  return FPeriod;
}

namespace {
int LastMonthOfPeriod(int period, int month) {
  switch (period) {
    case 0:
    case 4: return 12;
    case 1: return 3;
    case 2: return 6;
    case 3: return 9;
    default: return month;
  }
}
}  // namespace

TDate PeriodQuarterBegin(int year, int period, int month) {
  return EncodeDate(year, LastMonthOfPeriod(period, month) - 2, 1);
}

TDate PeriodEndDate(int year, int period, int month) {
  return EndOfMonth(year, LastMonthOfPeriod(period, month));
}

int PeriodCodeToInt(const std::string& text) {
  if (text.empty() || text == "0") return 4;
  int value = 0;
  if (!text.empty() && text.front() != ' ' && TryStrToInt(text, value)) return value;
  return 4;
}

int ReportPeriodToQuarter(int year, int code) {
  if (year < 1996) return -1;
  if (year == 1996) return code == 3 || code == 4 ? code : -1;
  if (year <= 2000) return code == 0 ? 4 : (code == 2 || code == 4 ? code : -1);
  if (year == 2001) {
    static const int kMap[] = {4, 3, 2, 3, 4, 1, 2, 3, 4, 4};
    return code >= 0 && static_cast<std::size_t>(code) < std::size(kMap) ? kMap[code] : -1;
  }
  if (year <= 2009) return code == 0 ? 4 : -1;
  if (year == 2010) return code == 0 ? 4 : (code == 1 ? 2 : (code == 2 ? 4 : -1));
  if (year <= 2013) return code == 0 ? 4 : (code >= 1 && code <= 4 ? code : -1);
  if (year <= 2016) {
    switch (code) {
      case 0: return 4;
      case 3: return 1;
      case 6: return 2;
      case 9: return 3;
      default: return -1;
    }
  }
  return code == 0 ? 4 : -1;
}

}  // namespace morvel
