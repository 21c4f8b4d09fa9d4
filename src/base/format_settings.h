// Process-wide formats for dates and numbers, the counterpart of the regional
// settings the program sets at start-up and before it formats dates.
#pragma once

#include <string>

namespace morvel {

struct TFormatSettings {
  std::string ShortDateFormat = "dd.mm.yyyy";
  char DateSeparator = '.';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
  std::string LongTimeFormat = "hh:nn:ss";
  std::string ShortTimeFormat = "hh:nn";
};

TFormatSettings& FormatSettings();

// Variant 0: dd.mm.yyyy with '.', time ':', decimal '.'; variant 1: yyyy-mm-dd with
// '-', time ':' and hh:nn:ss; variant 2: yyyy-mm-dd with '-' and time '-'. Other
// values change nothing.
void SetFormatSettings(int variant);

// Short date format dd.mm.yyyy with '.', set before dates are formatted or read.
void UseDayMonthYearDates();

}  // namespace morvel
