// Calendar dates as whole day numbers. Day 0 is 30.12.1899, the epoch of the
// date-time values the configuration file has always stored; it also stands for
// "no date" wherever a date is optional.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvel {

using TDate = std::int32_t;
// Date and time of day in days since the same epoch (the fraction is the time).
using TDateTime = double;

bool IsValidDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDate& date);
// Raises EConvertError for a day that does not exist.
TDate EncodeDate(int year, int month, int day);
void DecodeDate(TDate date, int& year, int& month, int& day);
int YearOf(TDate date);
int MonthOf(TDate date);
int DaysInMonth(int year, int month);
TDate EndOfMonth(int year, int month);

TDate Today();
TDateTime Now();

// Formats with the tokens d, dd, m, mm, yy and yyyy; every other character is
// copied, so "dd.mm.yyyy" and "yyyy-mm-dd" both work.
std::string FormatDate(std::string_view pattern, TDate date);
// The short date format of the process.
std::string DateToStr(TDate date);

// Reads day, month and year in the order the pattern gives them, separated by
// `separator`; one- or two-digit day and month; a two-digit year is taken in the
// window of 50 years around the current year. Blanks around the text are allowed.
bool TryParseDate(std::string_view text, std::string_view pattern, char separator, TDate& date);
// The short date format and date separator of the process.
bool TryStrToDate(std::string_view text, TDate& date);
// As TryStrToDate, raising EConvertError when the text is not a date.
TDate StrToDate(std::string_view text);
// yyyy-mm-dd with '-', the form of the 2017 and later record forms.
TDate StrToDateISO(std::string_view text);
// dd.mm.yyyy with '.', the form of the List and of the older record forms.
TDate StrToDateDMY(std::string_view text);

// Local time as dd.mm.yyyy hh.nn.ss.zzz, the form of log lines and log file names.
std::string LogTimeStamp();

// Date-time values as the configuration file stores them: dd.mm.yyyy.
std::string DateTimeToDateStr(TDateTime value);
bool TryDateStrToDateTime(std::string_view text, TDateTime& value);

}  // namespace morvel
