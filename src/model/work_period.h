// One period of work of an insured person, as the individual records or the
// List's nominal list state it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "base/dates.h"
#include "base/shared_text.h"
#include "model/add_pd_data.h"
#include "model/bases.h"
#include "model/node_data.h"
#include "model/result_data.h"

namespace morvel {

// Seniority-basis codes a period may carry.
inline constexpr std::array<std::string_view, 5> SeniorityBaseCodes = {"СЕЗОН", "УИК104", "ВОДОЛАЗ", "ПОЛЕ",
                                                                       "ВИРУС"};
// Additional-data codes that mark time without preferential work.
inline constexpr std::array<std::string_view, 11> NoLgotAddPdDataCodes = {
    "ДЕКРЕТ", "ВРНЕТРУД", "ДЛОТПУСК", "ВАХТА",   "ВРНЕТРУСПО", "ВОЕНСЛ",
    "КВАЛИФ", "ДЕТИ",     "ДОГОВОР",  "НЕОПЛДОГ", "КВАЛИФОБ",
};
// Flight-work bases: their periods always count at a full rate.
inline constexpr std::array<std::string_view, 8> FlightWorkBases = {"САМОЛЕТ", "СПЕЦАВ",  "ИТСИСП",  "ЛЕТИСП",
                                                                    "ИНСПЕКТ", "ОПЫТИСП", "ИСПКЛС1", "ИТСМАВ"};

// The territorial-condition rule of matching: "СЕЛО" on one side only agrees
// with an empty condition on the other; any other pair agrees.
inline constexpr std::string_view kCountrysideCondition = "СЕЛО";
bool TerritoryConditionsAgree(std::string_view own, std::string_view given);

// A period is shared by the worker that owns it and by the result records that
// refer to it; make one with std::make_shared. It is neither copied nor moved
// (Clone makes the copies that are meant), because its bases and additional data
// call back into the period they live in.
class TWorkPeriod : public TPeriodically {
 public:
  TWorkPeriod();
  TWorkPeriod(const TWorkPeriod&) = delete;
  TWorkPeriod& operator=(const TWorkPeriod&) = delete;

  // A new period with the data that division and merging carry on; the reporting
  // period, the pack date, the comments, the check marks, the territorial
  // location and the tag stay behind.
  std::shared_ptr<TWorkPeriod> Clone() const;

  const TSharedText& SeniorityBase() const { return FSeniorityBase; }
  // Stores the whole text when it contains one of SeniorityBaseCodes; anything
  // else leaves the previous value.
  void SetSeniorityBase(std::string_view value);

  bool Matches(const TCodeSet& bases, std::string_view profCode, std::string_view terrCond,
               const TAddPdData& addPdData) const;
  bool Matches(const TWorkPeriod& other) const;

  // Days of the period times the rate; 0 when any additional-data flag is set.
  double WorkingDays() const;
  bool HasFactWorkedTime() const;
  bool HasLgotSideDataOnly() const { return Bases.Empty(); }
  bool GetHasNoLgotAddPdData() const;
  bool HasNoLgotAddPdData() const { return GetHasNoLgotAddPdData(); }
  std::string BasesAndCode() const;
  std::string pBeginAsString() const;
  std::string pEndAsString() const;
  std::string pPeriodString() const;
  std::string RateStr() const;
  std::string WorkTimeAsString() const;

 private:
  void BasesChanged();

  TSharedText FSeniorityBase;

 public:
  TSharedText TerritoryCondition;  // after merging, several codes separated by blanks
  TSharedText TerritoryCoeff;
  TNodeData NodeData;
  TNodeData PDRKHoursNodeData;
  TSharedText WC;  // after merging, several codes joined by ";"
  TSharedText ProfessionCode;
  TSharedText PackNum;
  TSharedText NumInPack;
  TSharedText NumSub;
  TSharedText Months = "0";
  TSharedText Days = "0";
  TSharedText Hours = "0";
  TSharedText Minutes = "0";
  TNodeData RateNodeData;
  TNodeData FactNodeData;
  double PDRKHours = 0;
  double PDRKMinutes = 0;
  TNodeData TerrNodeData;
  TNodeData SeniorityNodeData;
  TDate Start = 0;
  TDate Finish = 0;
  TSharedText Profession;
  TSharedText PackDate;
  bool Compared = false;
  TSharedText Comment;
  TSharedText Note;
  TAddPdData AddPdData;
  double Rate = 1.0;
  bool FoundInListPositions = false;
  TSharedText AddTariff;
  TBases Bases;  // every change runs BasesChanged
};

}  // namespace morvel
