#include "base/dates.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "base/error.h"
#include "base/format_settings.h"
#include "base/platform.h"
#include "base/text.h"

namespace morvel {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

// 1970-01-01 counted from 1899-12-30.
constexpr std::int64_t kUnixEpochDay = 25569;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

void AppendNumber(std::string& out, int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  out += buf;
}

bool ParseUnsigned(std::string_view text, int& value, std::size_t& digits) {
  if (text.empty() || text.size() > 9) return false;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  value = v;
  digits = text.size();
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDate& date) {
  if (!IsValidDate(year, month, day)) return false;
  date = static_cast<TDate>(DaysFromCivil(year, static_cast<unsigned>(month),
                                          static_cast<unsigned>(day)) +
                            kUnixEpochDay);
  return true;
}

TDate EncodeDate(int year, int month, int day) {
  TDate date = 0;
  if (!TryEncodeDate(year, month, day, date)) throw EConvertError("Invalid argument to date encode");
  return date;
}

void DecodeDate(TDate date, int& year, int& month, int& day) {
  CivilFromDays(static_cast<std::int64_t>(date) - kUnixEpochDay, year, month, day);
}

int YearOf(TDate date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  return y;
}

int MonthOf(TDate date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  return m;
}

TDate EndOfMonth(int year, int month) { return EncodeDate(year, month, DaysInMonth(year, month)); }

TDateTime Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  const std::tm local = LocalTime(t);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const TDate day = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const double secs = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ms / 1000.0;
  return day + secs / 86400.0;
}

TDate Today() { return static_cast<TDate>(std::floor(Now())); }

std::string FormatDate(std::string_view pattern, TDate date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  std::string out;
  std::size_t i = 0;
  auto run = [&](char c) {
    std::size_t n = 0;
    while (i + n < pattern.size() && (pattern[i + n] | 0x20) == c) ++n;
    return n;
  };
  while (i < pattern.size()) {
    const char c = static_cast<char>(pattern[i] | 0x20);
    if (c == 'd' || c == 'm' || c == 'y') {
      const std::size_t n = run(c);
      if (c == 'd') AppendNumber(out, d, n >= 2 ? 2 : 1);
      if (c == 'm') AppendNumber(out, m, n >= 2 ? 2 : 1);
      if (c == 'y') AppendNumber(out, n >= 3 ? y : y % 100, n >= 3 ? 4 : 2);
      i += n;
    } else {
      out += pattern[i++];
    }
  }
  return out;
}

std::string DateToStr(TDate date) { return FormatDate(FormatSettings().ShortDateFormat, date); }

bool TryParseDate(std::string_view text, std::string_view pattern, char separator, TDate& date) {
  // The order of day, month and year is the order of their first letters in the pattern.
  std::vector<char> order;
  for (char p : pattern) {
    const char c = static_cast<char>(p | 0x20);
    if ((c == 'd' || c == 'm' || c == 'y') && (order.empty() || order.back() != c)) order.push_back(c);
  }
  if (order.size() != 3) return false;
  text = TrimBlanks(text);
  int values[3] = {0, 0, 0};
  std::size_t widths[3] = {0, 0, 0};
  for (int part = 0; part < 3; ++part) {
    const std::size_t end = part < 2 ? text.find(separator) : text.size();
    if (end == std::string_view::npos) return false;
    if (!ParseUnsigned(text.substr(0, end), values[part], widths[part])) return false;
    text.remove_prefix(part < 2 ? end + 1 : end);
  }
  int year = 0, month = 0, day = 0;
  for (int part = 0; part < 3; ++part) {
    if (order[part] == 'd') {
      if (widths[part] > 2) return false;
      day = values[part];
    } else if (order[part] == 'm') {
      if (widths[part] > 2) return false;
      month = values[part];
    } else {
      year = values[part];
      if (widths[part] <= 2) {
        const int current = YearOf(Today());
        const int base = current - 50;
        year += (base / 100) * 100;
        if (year < base) year += 100;
      } else if (widths[part] != 4) {
        return false;
      }
    }
  }
  return TryEncodeDate(year, month, day, date);
}

bool TryStrToDate(std::string_view text, TDate& date) {
  const TFormatSettings& fs = FormatSettings();
  return TryParseDate(text, fs.ShortDateFormat, fs.DateSeparator, date);
}

namespace {
TDate ParseOrThrow(std::string_view text, std::string_view pattern, char separator) {
  TDate date = 0;
  if (!TryParseDate(text, pattern, separator, date)) {
    throw EConvertError("'" + QuotedInput(text) + "' is not a valid date");
  }
  return date;
}
}  // namespace

TDate StrToDate(std::string_view text) {
  const TFormatSettings& fs = FormatSettings();
  return ParseOrThrow(text, fs.ShortDateFormat, fs.DateSeparator);
}

TDate StrToDateISO(std::string_view text) { return ParseOrThrow(text, "yyyy-mm-dd", '-'); }

TDate StrToDateDMY(std::string_view text) { return ParseOrThrow(text, "dd.mm.yyyy", '.'); }

std::string LogTimeStamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  const std::tm local = LocalTime(t);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d.%02d.%02d.%03d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, ms);
  return buf;
}

std::string DateTimeToDateStr(TDateTime value) {
  return FormatDate("dd.mm.yyyy", static_cast<TDate>(std::floor(value)));
}

bool TryDateStrToDateTime(std::string_view text, TDateTime& value) {
  TDate date = 0;
  if (!TryParseDate(text, "dd.mm.yyyy", '.', date)) return false;
  value = date;
  return true;
}

}  // namespace morvel
