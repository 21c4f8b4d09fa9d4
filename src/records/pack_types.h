// The kinds of individual-records files the program reads: form kinds, schema
// editions of the 2017 forms with their namespace prefixes, and the kinds of
// information of a 2017 form; the reporting-period codes of every year.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace morvel {

// Ordinal order matters: the forms in force before 2017 come first.
enum class TPDType {
  pdtSZV61,
  pdtSZV62,
  pdtSPV1,
  pdtSZV64,
  pdtRSV1,
  pdtSPV2,
  pdtSZVStag,
  pdtSZVCorr,
  pdtSZVBase,
  pdtEFS1,
};

// The name a form is logged and printed under, e.g. "СЗВ-СТАЖ".
std::string_view PDTypeName(TPDType type);

// The three generations of forms; element names differ between them.
enum class TPackGeneration { pgBefore2017, pg2017, pgEFS1 };
TPackGeneration GenerationOf(TPDType type);

// Schema edition, told by the root element's namespace declarations; umfNone for
// the forms before 2017.
enum class TUtModeFormat { umfNone, umfOld, umfNew, umfNewest, umfRedHot };
inline constexpr std::size_t kUtModeFormatCount = static_cast<std::size_t>(TUtModeFormat::umfRedHot) + 1;
using TPrefixTable = std::array<std::string_view, kUtModeFormatCount>;

// The 2017 and ЕФС-1 documents carry their namespace prefixes in the element
// names, and elements are matched by the name as written, so every name is built
// from the edition's prefix. umfNone has no prefixes.
inline constexpr TPrefixTable CommonTypesPrefix = {"", "УТ:", "УТ2:", "УТ2:", "УТ2:"};
inline constexpr TPrefixTable ISPrefix = {"", "ИС:", "ИС2:", "ИС4:", "ИС5:"};
inline constexpr TPrefixTable VSPrefix = {"", "ВС:", "ВС2:", "ВС2:", "ВС2:"};
inline constexpr TPrefixTable AFPrefix = {"", "АФ:", "АФ4:", "АФ4:", "АФ5:"};
// An edition added without its prefixes would get empty ones, as if it had none.
constexpr bool EveryEditionHasPrefixes(const TPrefixTable& table) {
  for (std::size_t i = 1; i < table.size(); ++i) {
    if (table[i].empty()) return false;
  }
  return true;
}
static_assert(EveryEditionHasPrefixes(CommonTypesPrefix) && EveryEditionHasPrefixes(ISPrefix) &&
                  EveryEditionHasPrefixes(VSPrefix) && EveryEditionHasPrefixes(AFPrefix),
              "every schema edition has its prefixes");

inline std::string_view PrefixOf(const TPrefixTable& table, TUtModeFormat mode) {
  return table[static_cast<std::size_t>(mode)];
}

// The kind of information of a 2017 form. udtStagPens is never given to a
// header: a СЗВ-СТАЖ for the award of a pension is refused.
enum class TUtDataType { udtBaseBase, udtCorrCorr, udtStagBase, udtStagAdd, udtStagPens };

// The logged name: "", "Корректирующая", "Исходная", "Дополняющая",
// "Назначение пенсии".
std::string_view UtDataTypeName(TUtDataType type);

// The reporting period (1 to 4, 4 being the whole year) that a period code of
// `year` stands for, or -1 when the code means nothing in that year. The codes
// changed with the forms: half-years in 2010, quarters 2011-2013, months
// 3/6/9/0 in 2014-2016, only the year (0) from 2017.
int PeriodFromCode(int year, int code);

}  // namespace morvel
