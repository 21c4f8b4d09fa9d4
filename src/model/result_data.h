// Roots of the domain classes: the tag a result record sets on what it refers to,
// and the reporting period a record belongs to.
#pragma once

#include <string>

namespace morvel {

class TResultData {
 public:
  virtual ~TResultData() = default;

  // Set when a tagged result record refers to the object: it must stay reachable
  // until the protocol part of its set has been written.
  bool IsResultData = false;
};

class TPeriodically : public TResultData {
 public:
  TPeriodically() = default;
  TPeriodically(int year, int corrYear) : Year(year), CorrYear(corrYear) {}
  TPeriodically(int year, int corrYear, bool isCorr) : Year(year), CorrYear(corrYear), IsCorr(isCorr) {}

  // Year and corrected year joined by "~": the index under which the pack tables
  // keep the records of one reporting period, so they can follow a split pack.
  std::string GetKey() const;

  int Year = 0;
  int CorrYear = 0;
  bool IsCorr = false;
  int Period = 0;
  int CorrPeriod = 0;
};

// Months in one reporting period: 2010 was reported by half-years.
int MonthsPerPeriod(int year);

}  // namespace morvel
