#include "base/format_settings.h"

namespace morvel {

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

void SetFormatSettings(int variant) {
  TFormatSettings& fs = FormatSettings();
  switch (variant) {
    case 0:
      fs.ShortDateFormat = "dd.mm.yyyy";
      fs.DateSeparator = '.';
      fs.TimeSeparator = ':';
      fs.DecimalSeparator = '.';
      break;
    case 1:
      fs.ShortDateFormat = "yyyy-mm-dd";
      fs.DateSeparator = '-';
      fs.TimeSeparator = ':';
      fs.LongTimeFormat = "hh:nn:ss";
      fs.ShortTimeFormat = "hh:nn:ss";
      break;
    case 2:
      fs.DateSeparator = '-';
      fs.TimeSeparator = '-';
      fs.ShortDateFormat = "yyyy-mm-dd";
      break;
    default:
      break;
  }
}

void UseDayMonthYearDates() {
  TFormatSettings& fs = FormatSettings();
  fs.ShortDateFormat = "dd.mm.yyyy";
  fs.DateSeparator = '.';
}

}  // namespace morvel
