// Writers of individual-records packs of every form kind and edition, drawing
// from a synthetic employer. Layout as the fund's files have it: an XML
// declaration on line 1, one element per line, windows-1251 for the forms
// before 2017 and UTF-8 for the newer ones.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "synthetic_employer.h"

namespace morvel::gen {

enum class TGenForm { szv61, szv62, spv1, szv64, rsv1, spv2, szvStag, szvKorr, szvIsh, efs1 };
// Editions of the 2017 forms, told apart by their namespace declarations.
enum class TGenEdition { old, fresh, newest, redHot };

// Command-line names: szv-6-1, szv-6-2, spv-1, szv-6-4, rsv-1, spv-2, szv-stazh,
// szv-korr, szv-ish, efs-1; editions old, new, newest, redhot.
std::optional<TGenForm> FormByName(const std::string& name);
std::optional<TGenEdition> EditionByName(const std::string& name);
bool Before2017(TGenForm form);

struct TPackOptions {
  TGenForm form = TGenForm::szvStag;
  TGenEdition edition = TGenEdition::newest;
  int periodCode = 0;  // ОтчетныйПериод/Код (Квартал before 2017)
  // Corrective pack: a corrected period (before 2017 КОРРЕКТИРУЮЩАЯ; СЗВ-СТАЖ
  // Тип 1; СЗВ-КОРР always corrects, ЕФС-1 blocks of Тип 3).
  bool correction = false;
  int corrYear = 0;   // before 2017 and ЕФС-1: the corrected year
  int corrCode = 0;
  int filingYear = 0;  // СЗВ-КОРР: its own reporting year (0: the year after the corrected one)
  int stagType = -1;  // СЗВ-СТАЖ "Тип" as written; -1: 0, or 1 when correcting
  int efsBlocks = 1;  // ЕФС-1: blocks per person, for consecutive years
  std::string packNumber = "12";
  TSynthDate packDate{0, 0, 0};  // zero: the day after the reporting window
  std::string guid;              // empty: made from the seed of the employer
};

// The period code a pack of the form and year has when none is asked for.
int DefaultPeriodCode(TGenForm form, int year);
// The months the persons' periods fill for a form, year and period code: the
// reporting quarter (half-year in 2010) of the forms before 2017, the year for the
// newer ones. The List writer uses the same window, so its nominal lists match.
void ReportingWindow(TGenForm form, int year, int code, int& firstMonth, int& lastMonth);

// Writes the pack; the encoding is that of the form's generation.
void WritePack(const TSynthEmployer& employer, const TPackOptions& options, std::ostream& out);

}  // namespace morvel::gen
