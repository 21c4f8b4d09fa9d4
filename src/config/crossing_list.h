// The re-registration crossing list: an employer's old and new registration
// numbers and the first period reported under the new one.
#pragma once

#include <string>

namespace morvel {

class TCrossRec {
 public:
  std::string FSRegNum;
  std::string FERegNum;
  int FCrossYear = 0;
  int FCrossPeriod = 0;

  // One line of CrossingList.txt; raises EConvertError when the year or period is
  // missing or not a decimal integer.
  static TCrossRec FromLine(const std::string& line);
  std::string ToLine() const;
};

}  // namespace morvel
