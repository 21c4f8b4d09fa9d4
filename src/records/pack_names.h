// The element names a pack's reader asks for, built once per pack from its form
// and edition: the 2017 and ЕФС-1 names carry the edition's prefixes, and building
// them anew for every person of a large pack would cost more than the look-ups.
#pragma once

#include <string>

#include "records/pack_types.h"

namespace morvel {

struct TPackNames {
  TPackGeneration generation = TPackGeneration::pgBefore2017;
  TPDType form = TPDType::pdtSZV61;

  // Persons and their blocks.
  std::string person;
  std::string fullName;
  std::string surname;
  std::string name;
  std::string patronymic;
  std::string insuranceNumber;
  std::string numberInPack;  // before 2017 only; the others count the persons
  std::string workPeriod;
  std::string periodDates;   // the element holding start and end, empty before 2017
  std::string periodStart;
  std::string periodEnd;
  std::string entry;         // preferential entry
  std::string entryDetails;  // before 2017 an entry is read through this child

  // One preferential entry.
  std::string territory;
  std::string territoryCode;
  std::string territoryCoeff;
  std::string special;
  std::string specialCode;
  std::string listPosition;
  std::string longService;
  std::string longServiceBasis;
  std::string rateShare;
  std::string seniority;
  std::string seniorityBasis;
  std::string calendarOutput;
  std::string allMonths;
  std::string allDays;
  std::string hoursOutput;
  std::string hours;
  std::string minutes;
  std::string addPdData;
  std::string sout;      // ЕФС-1 only
  std::string soutCode;  // ЕФС-1 only
  std::string profession;  // before 2017 only
};

TPackNames MakePackNames(TPDType form, TUtModeFormat mode);

// The element that holds the persons of a form.
std::string PersonElementName(TPDType form);

}  // namespace morvel
