// The territorial-code rights list: which employers may use which territorial
// working-condition codes, and when.
#pragma once

#include <string>
#include <vector>

namespace morvel {

class TTerritoryCode {
 public:
  bool FMKS = false;
  bool FRKS = false;
  bool FCZ1 = false;
  bool FCZ3 = false;
  bool FCZ4 = false;
  bool FCZ5 = false;
  bool FCZ6 = false;
  bool FCountry = false;
  std::string FNum;
  std::string FDateBegin;
  std::string FDateEnd;

  // One line of RightList.txt; raises EConvertError when one of the first five
  // flags is missing or not a digit.
  static TTerritoryCode FromLine(const std::string& line);
  // The line as it is saved. Like the program always did, an entry with one of
  // its two dates set gets the other one as ten blanks.
  std::string ToLine();
  // The flag for one of МКС, РКС, Ч31, Ч33, Ч34, Ч35, Ч36, СЕЛО; false otherwise.
  bool HasFlagFor(const std::string& upperCode, bool& known) const;
};

}  // namespace morvel
