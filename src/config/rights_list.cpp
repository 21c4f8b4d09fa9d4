#include "config/rights_list.h"

#include <filesystem>

#include "base/dates.h"
#include "base/error.h"
#include "base/format_settings.h"
#include "base/text.h"
#include "config/settings.h"
#include "config/text_list.h"

namespace morvel {
namespace {

const std::string kTenBlanks(10, ' ');

bool ReadFlag(const std::string& flags, std::size_t index, bool required) {
  if (index >= flags.size() || flags[index] < '0' || flags[index] > '9') {
    if (required) throw EConvertError("'" + QuotedInput(flags) + "' is not a valid integer value");
    return false;
  }
  return flags[index] != '0';
}

bool IsBlankText(const std::string& s) { return Trim(s).empty(); }

}  // namespace

TTerritoryCode TTerritoryCode::FromLine(const std::string& line) {
  TTerritoryCode entry;
  const std::size_t slash = line.find('/');
  if (slash == std::string::npos) {
    entry.FNum = Trim(line);
    entry.FMKS = entry.FRKS = entry.FCZ1 = entry.FCZ3 = entry.FCZ4 = entry.FCZ5 = entry.FCZ6 =
        entry.FCountry = true;
    return entry;
  }
  const std::vector<std::string> words = SplitWords(line);
  const std::string& first = words.empty() ? std::string() : words[0];
  const std::size_t flagsAt = first.find('/');
  const std::string flags = flagsAt == std::string::npos ? std::string() : first.substr(flagsAt + 1);
  entry.FMKS = ReadFlag(flags, 0, true);
  entry.FRKS = ReadFlag(flags, 1, true);
  entry.FCZ1 = ReadFlag(flags, 2, true);
  entry.FCZ3 = ReadFlag(flags, 3, true);
  entry.FCZ4 = ReadFlag(flags, 4, true);
  entry.FCZ5 = ReadFlag(flags, 5, false);
  entry.FCZ6 = ReadFlag(flags, 6, false);
  entry.FCountry = ReadFlag(flags, 7, false);

  // The saver writes an unset begin date as ten blanks; splitting at runs of blanks
  // would then take the end date for the begin date, so that layout is read by
  // position.
  const std::size_t firstWordEnd = line.find(first) + first.size();
  const std::string rest = line.substr(firstWordEnd);
  if (rest.size() > kTenBlanks.size() + 1 && rest.compare(0, kTenBlanks.size() + 1, " " + kTenBlanks) == 0 &&
      !IsBlankText(rest)) {
    const std::vector<std::string> tail = SplitWords(rest);
    entry.FDateEnd = tail.empty() ? std::string() : Trim(tail[0]);
  } else {
    if (words.size() > 1) entry.FDateBegin = Trim(words[1]);
    if (words.size() > 2) entry.FDateEnd = Trim(words[2]);
  }
  entry.FNum = Trim(line.substr(0, slash));
  return entry;
}

std::string TTerritoryCode::ToLine() {
  std::string line = FNum + "/";
  for (bool flag : {FMKS, FRKS, FCZ1, FCZ3, FCZ4, FCZ5, FCZ6, FCountry}) line += flag ? '1' : '0';
  if (!FDateBegin.empty() || !FDateEnd.empty()) {
    if (FDateBegin.empty()) FDateBegin = kTenBlanks;
    if (FDateEnd.empty()) FDateEnd = kTenBlanks;
    line += " " + FDateBegin + " " + FDateEnd;
  }
  return line;
}

bool TTerritoryCode::HasFlagFor(const std::string& upperCode, bool& known) const {
  known = true;
  if (upperCode == "МКС") return FMKS;
  if (upperCode == "РКС") return FRKS;
  if (upperCode == "Ч31") return FCZ1;
  if (upperCode == "Ч33") return FCZ3;
  if (upperCode == "Ч34") return FCZ4;
  if (upperCode == "Ч35") return FCZ5;
  if (upperCode == "Ч36") return FCZ6;
  if (upperCode == "СЕЛО") return FCountry;
  known = false;
  return false;
}

void TSettings::TerrCodeRightListLoadFromFile(const std::string& fileName) {
  LoadTextList(fileName, FTerrCodeRightList);
}

void TSettings::TerrCodeRightListSaveToFile(const std::string& fileName) { SaveTextList(fileName, FTerrCodeRightList); }

std::vector<std::string> TSettings::TerrCodeRightListGetList() const {
  std::vector<std::string> numbers;
  numbers.reserve(FTerrCodeRightList.size());
  for (const auto& entry : FTerrCodeRightList) numbers.push_back(entry->FNum);
  return numbers;
}

bool TSettings::hasNordRight(const std::string& parTerrCode, TDate workPeriodBeginDate,
                             TDate workPeriodEndDate, int year, int period) const {
  UseDayMonthYearDates();
  if (parTerrCode == "all") {
    workPeriodBeginDate = EncodeDate(1900, 12, 31);
    workPeriodEndDate = EncodeDate(2099, 12, 31);
  }
  const TDate farPast = EncodeDate(1900, 1, 1);
  const TDate farFuture = EncodeDate(2099, 12, 31);
  TDate periodBegin = farPast;
  TDate periodEnd = farFuture;
  if (year != -1 && year != 0) {
    if (period != 0 && period != -1) {
      periodBegin = EncodeDate(year, 3 * period - 2, 1);
      periodEnd = EndOfMonth(year, 3 * period);
    } else {
      periodBegin = EncodeDate(year, 1, 1);
      periodEnd = EncodeDate(year, 12, 31);
    }
  }
  const bool dated = year != -1 && period != -1;
  const std::string upperCode = UpperCase(parTerrCode);

  for (const auto& entry : FTerrCodeRightList) {
    if (entry->FNum.empty() || FRegNum.compare(0, entry->FNum.size(), entry->FNum) != 0) continue;
    TDate rightBegin = farPast;
    TDate rightEnd = farFuture;
    if (dated) {
      if (!IsBlankText(entry->FDateBegin)) rightBegin = StrToDate(Trim(entry->FDateBegin));
      if (!IsBlankText(entry->FDateEnd)) rightEnd = StrToDate(Trim(entry->FDateEnd));
      if (periodBegin > rightBegin && periodBegin > rightEnd) continue;
      if (periodEnd < rightBegin && periodEnd < rightEnd) continue;
    }
    if (!FCompareTerrCodesExtMode) return true;
    if (dated) {
      if (rightBegin > workPeriodBeginDate) continue;
      if (rightEnd < workPeriodEndDate) continue;
    }
    if (upperCode == "ALL") return true;
    bool known = false;
    if (entry->HasFlagFor(upperCode, known) && known) return true;
  }
  return false;
}

}  // namespace morvel
