// The writer of the employer's List ("Перечень") drawn from a synthetic employer:
// its preferential workplaces become staff positions and its persons with
// preferential periods the nominal lists, so that a List and a pack made from the
// same seed and parameters describe the same people and the same work. Options
// make the List differ from the pack on purpose, for the reconciliation tests.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "synthetic_employer.h"

namespace morvel::gen {

struct TListOptions {
  int subdivisions = 3;  // workplaces are spread over this many subdivisions
  int cumulative = -1;   // НакопитИтогом: -1 when the window spans more than its last quarter, else 0 or 1
  bool seasons = false;  // write the enterprise's heating and navigation seasons

  // Deliberate differences from the pack; shares are percentages (0 to 100),
  // drawn with a generator of their own so that the employer stays the same.
  int missingPercent = 0;  // persons of the pack left out of the nominal lists
  int extraPersons = 0;    // persons on the List that the pack does not have
  int basesPercent = 0;    // periods with another basis
  int ratesPercent = 0;    // periods with another rate
  int datesPercent = 0;    // periods with a later start
  int virusPercent = 0;    // periods whose seniority basis is "ВИРУС"
  std::uint64_t mismatchSeed = 0;  // 0: derived from the employer's seed
};

// What the List was made to differ in, one line per change: "missing SNILS",
// "extra SNILS", "bases SNILS dd.mm.yyyy", "rate SNILS dd.mm.yyyy",
// "dates SNILS dd.mm.yyyy" (the date is the start the pack has), "virus SNILS
// dd.mm.yyyy".
using TListManifest = std::vector<std::string>;

// Writes the List as UTF-8, one element per line.
TListManifest WriteList(const TSynthEmployer& employer, std::uint64_t seed, const TListOptions& options,
                        std::ostream& out);

// The "list" command: the employer options and the List options from the
// command line; the List to --out (or standard output), the changes to
// --manifest. Returns the exit code; problems go to `err`.
int RunListCommand(const std::vector<std::string>& args, std::ostream& err);

}  // namespace morvel::gen
