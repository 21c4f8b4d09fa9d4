#include "synthetic_employer.h"

#include <algorithm>
#include <cstdio>

namespace morvel::gen {
namespace {

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// Where the employer's people work. Codes are of the kinds the fund's forms
// carry: list positions of Lists No. 1 and 2 with the ОУТ codes 27-1 and 27-2,
// the small lists (27-10 city buses), long-service grounds of medical work
// (27-ГД, 27-СМ), of teaching (27-ПД, by the hour 27-ПДРК) and of flight work
// (САМОЛЕТ), seasonal work (СЕЗОН) and the Far North (РКС, МКС).
std::vector<TSynthWorkplace> Workplaces() {
  std::vector<TSynthWorkplace> w;
  auto add = [&w](TSynthWorkplace p) { w.push_back(std::move(p)); };
  add({"Электрогазосварщик", "27-2", "23200000-19756", "", "", "", "", "3.2", false, 4});
  add({"Машинист экскаватора", "27-1", "1010100А-13790", "", "РКС", "1.5", "", "3.3", false, 2});
  add({"Врач-хирург", "", "", "27-ГД", "", "", "", "", false, 3});
  add({"Медицинская сестра палатная", "", "", "27-СМ", "СЕЛО", "", "", "", false, 5});
  add({"Командир воздушного судна", "", "", "САМОЛЕТ", "", "", "", "", true, 1});
  add({"Учитель", "", "", "27-ПД", "", "", "", "", false, 6});
  add({"Преподаватель-почасовик", "", "", "27-ПДРК", "", "", "", "", true, 1});
  add({"Водитель автобуса", "27-10", "", "", "МКС", "1.3", "", "2", false, 3});
  add({"Рабочий на лесозаготовках", "27-7", "", "", "", "", "СЕЗОН", "3.1", false, 2});
  add({"Бухгалтер", "", "", "", "", "", "", "", false, 1});
  return w;
}

const std::vector<std::string> kMaleSurnames = {"Иванов",  "Петров",   "Сидоров", "Кузнецов", "Смирнов",
                                                "Попов",   "Васильев", "Соколов", "Михайлов", "Новиков",
                                                "Фёдоров", "Морозов",  "Волков",  "Алексеев", "Лебедев"};
const std::vector<std::string> kMaleNames = {"Пётр", "Иван", "Сергей", "Алексей", "Дмитрий", "Андрей", "Николай"};
const std::vector<std::string> kFemaleNames = {"Анна", "Мария", "Елена", "Ольга", "Наталья", "Татьяна", "Ирина"};
const std::vector<std::string> kFathers = {"Сергее", "Иван", "Петр", "Алексее", "Николае", "Андрее", "Викторо"};

const std::vector<std::string> kAddPdCodes = {"ДЕТИ", "ВРНЕТРУД", "ДЛОТПУСК", "КВАЛИФ"};

int DayOfYear(int year, int month, int day) {
  int n = day;
  for (int m = 1; m < month; ++m) n += DaysInMonth(year, m);
  return n;
}

TSynthDate FromDayOfYear(int year, int n) {
  int month = 1;
  while (month < 12 && n > DaysInMonth(year, month)) n -= DaysInMonth(year, month++);
  return {year, month, n};
}

std::string Amount(TRandom& r) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%02d", 20000 + r.Below(60000), r.Below(100));
  return buf;
}

}  // namespace

std::uint64_t TRandom::Next() {
  std::uint64_t z = (fState += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

int TRandom::Below(int n) { return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

std::string TSynthDate::ISO() const { return std::to_string(year) + "-" + Two(month) + "-" + Two(day); }
std::string TSynthDate::DMY() const { return Two(day) + "." + Two(month) + "." + std::to_string(year); }

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

std::string MakeSnils(long number) {
  int digits[9];
  long n = number;
  for (int i = 8; i >= 0; --i) {
    digits[i] = static_cast<int>(n % 10);
    n /= 10;
  }
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += digits[i] * (9 - i);
  int check = sum;
  if (sum == 100 || sum == 101) {
    check = 0;
  } else if (sum > 101) {
    check = sum % 101;
    if (check == 100) check = 0;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d%d%d-%d%d%d-%d%d%d %02d", digits[0], digits[1], digits[2], digits[3], digits[4],
                digits[5], digits[6], digits[7], digits[8], check);
  return buf;
}

TSynthEmployer MakeEmployer(const TSynthOptions& o) {
  TRandom r(o.seed);
  TSynthEmployer e;
  e.regNum = o.regNum;
  e.year = o.year;
  e.firstMonth = std::clamp(o.firstMonth, 1, 12);
  e.lastMonth = std::clamp(o.lastMonth, e.firstMonth, 12);
  const int serial = 100 + r.Below(900);
  e.name = "Общество с ограниченной ответственностью \"Северный комбинат № " + std::to_string(serial) + "\"";
  e.shortName = "ООО \"Северный комбинат № " + std::to_string(serial) + "\"";
  e.inn = "33" + std::to_string(10000000 + r.Below(89999999));
  e.kpp = "33" + std::to_string(1000000 + r.Below(8999999)).substr(0, 7);
  e.workplaces = Workplaces();
  // Further workplaces alternate between the two big lists; their position
  // codes are of a section the standard ones do not use.
  for (int i = static_cast<int>(e.workplaces.size()); i < o.workplaces; ++i) {
    const bool first = i % 2 == 0;
    char code[32];
    std::snprintf(code, sizeof code, "10800000-%05d", 20000 + i);
    e.workplaces.push_back({(first ? "Горнорабочий участка " : "Аппаратчик цеха ") + std::to_string(i),
                            first ? "27-1" : "27-2", code, "", "", "", "", "3.2", false, 1});
  }

  const int windowStart = DayOfYear(o.year, e.firstMonth, 1);
  const int windowEnd = DayOfYear(o.year, e.lastMonth, DaysInMonth(o.year, e.lastMonth));
  const int windowDays = windowEnd - windowStart + 1;
  const int periods = std::clamp(o.periods, 0, windowDays);

  const long firstNumber = 100000000 + static_cast<long>(r.Below(100000)) * 1000;
  e.persons.reserve(static_cast<std::size_t>(std::max(0, o.persons)));
  for (int i = 0; i < o.persons; ++i) {
    TSynthPerson p;
    const bool female = r.Chance(45);
    const std::string& surname = r.Pick(kMaleSurnames);
    p.surname = female ? surname + "а" : surname;
    p.name = female ? r.Pick(kFemaleNames) : r.Pick(kMaleNames);
    p.patronymic = r.Pick(kFathers) + (female ? "вна" : "вич");
    // Numbers step by a prime so that they spread over the range and never repeat.
    p.snils = MakeSnils(firstNumber + static_cast<long>(i) * 7919 % 899999999);
    p.workplace = r.Below(static_cast<int>(e.workplaces.size()));
    const TSynthWorkplace& place = e.workplaces[static_cast<std::size_t>(p.workplace)];
    const bool preferential = !place.outCode.empty() || !place.vlBasis.empty() || !place.terrCode.empty() ||
                              !place.seniorityBasis.empty();

    for (int k = 0; k < periods; ++k) {
      TSynthPeriod period;
      const int from = windowStart + windowDays * k / periods;
      const int to = windowStart + windowDays * (k + 1) / periods - 1;
      period.start = FromDayOfYear(o.year, from);
      period.finish = FromDayOfYear(o.year, to);
      // Some later periods are ordinary work, e.g. after a transfer.
      if (preferential && (k == 0 || !r.Chance(20))) {
        TSynthEntry entry;
        entry.workplace = p.workplace;
        if (!place.vlBasis.empty()) entry.rate = r.Chance(15) ? "0.50" : "1.00";
        if (place.hoursWork) {
          entry.hours = std::to_string(40 + r.Below(300));
          entry.minutes = std::to_string(r.Below(60));
        }
        period.entries.push_back(entry);
        if (r.Chance(15)) {
          TSynthEntry extra;
          extra.workplace = p.workplace;
          extra.addPd = r.Pick(kAddPdCodes);
          extra.territoryOnly = true;
          period.entries.push_back(extra);
        }
      }
      p.periods.push_back(std::move(period));
    }

    if (place.outCode == "27-1" || place.outCode == "27-2") {
      for (int month = std::max(e.firstMonth, e.lastMonth - 2); month <= e.lastMonth; ++month) {
        TSynthPayment pay;
        pay.month = month;
        const double sum = std::stod(Amount(r));
        (place.outCode == "27-1" ? pay.sum1 : pay.sum218) = sum;
        pay.soutClass = place.soutClass;
        p.payments.push_back(pay);
      }
    }
    e.persons.push_back(std::move(p));
  }
  return e;
}

}  // namespace morvel::gen
