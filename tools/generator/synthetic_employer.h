// A synthetic employer: its workplaces (the staff positions an employer's List
// would name) and its insured persons with their work periods in one reporting
// window. Everything is drawn from one seed, so the writers of individual-records
// packs and of Lists that draw from the same model and seed describe the same
// people and the same work.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvel::gen {

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not), so a seed always gives the same files.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : fState(seed) {}
  std::uint64_t Next();
  // 0 <= result < n (n > 0).
  int Below(int n);
  bool Chance(int percent) { return Below(100) < percent; }
  template <class T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t fState;
};

struct TSynthDate {
  int year = 0;
  int month = 0;
  int day = 0;
  std::string ISO() const;  // yyyy-mm-dd
  std::string DMY() const;  // dd.mm.yyyy
};
int DaysInMonth(int year, int month);

// A workplace entitling early pension (or none of it: an office post), as the
// List names it and as the pack entries of its holders describe it.
struct TSynthWorkplace {
  std::string post;            // name of the staff position
  std::string outCode;         // special labour conditions (ОУТ), e.g. 27-1
  std::string listPosition;    // position in the official list
  std::string vlBasis;         // long-service ground (ВЛ), e.g. 27-ГД
  std::string terrCode;        // territorial condition (ТУ), e.g. РКС
  std::string terrCoeff;       // its coefficient
  std::string seniorityBasis;  // ground of counted service (ИС), e.g. СЕЗОН
  std::string soutClass;       // class of the special assessment of working conditions
  bool hoursWork = false;      // worked time is stated in hours (flight work, teaching by the hour)
  double staffUnits = 1;       // staff units of the position on the List
};

// One preferential entry of a work period.
struct TSynthEntry {
  int workplace = 0;    // index into TSynthEmployer::workplaces
  std::string rate;     // share of the rate as written ("1.00"); empty: not written
  std::string addPd;    // code of additional personal data, empty for none
  std::string hours;    // worked hours, for hours work
  std::string minutes;
  std::string months;   // calendar output
  std::string days;
  bool territoryOnly = false;  // states only the territorial condition of the workplace
};

struct TSynthPeriod {
  TSynthDate start;
  TSynthDate finish;
  std::vector<TSynthEntry> entries;  // empty: ordinary work
};

// Payments at the additional tariff in one month (forms before 2017).
struct TSynthPayment {
  int month = 0;
  double sum1 = 0;    // basis 27-1
  double sum218 = 0;  // bases 27-2 to 27-18
  std::string soutClass;
};

struct TSynthPerson {
  std::string surname;
  std::string name;
  std::string patronymic;
  std::string snils;  // ddd-ddd-ddd dd with a valid check number
  int workplace = 0;  // the person's main workplace
  std::vector<TSynthPeriod> periods;
  std::vector<TSynthPayment> payments;
};

struct TSynthEmployer {
  std::string regNum;
  std::string name;
  std::string shortName;
  std::string inn;
  std::string kpp;
  int year = 0;
  int firstMonth = 1;  // reporting window, months of `year`
  int lastMonth = 12;
  std::vector<TSynthWorkplace> workplaces;
  std::vector<TSynthPerson> persons;
};

struct TSynthOptions {
  int persons = 10;
  int periods = 2;  // work periods per person, consecutive within the window
  std::string regNum = "099-001-000123";
  int year = 2019;
  int firstMonth = 1;
  int lastMonth = 12;
  std::uint64_t seed = 1;
  // Workplaces in all: up to ten the standard ten; beyond them further
  // workplaces of Lists No. 1 and 2, each a staff position of its own on the
  // List, for large schedules.
  int workplaces = 0;
};

TSynthEmployer MakeEmployer(const TSynthOptions& options);

// The insurance number of a nine-digit number, with its check number.
std::string MakeSnils(long number);

}  // namespace morvel::gen
