// The header of an individual-records file: which form and edition it is, which
// reporting year and period it covers, and whether it corrects an earlier one.
#pragma once

#include <memory>
#include <string>

#include "model/result_data.h"
#include "records/pack_types.h"
#include "xml/my_node.h"

namespace morvel {

// Year, Period, CorrYear and CorrPeriod are those of the reporting period;
// IsCorr stays false (a header tells a correction by Correction).
class TBaseData : public TPeriodically {
 public:
  TBaseData() = default;
  // The header of the pack made for one reporting year of a ЕФС-1 pack: the year
  // and corrected year of `periodically`, everything else from `baseData`.
  TBaseData(const TBaseData& baseData, const TPeriodically& periodically);

  // Recognises the form from the tree alone. Returns nothing for a file that is
  // not an individual-records document of the employer `SearchRegNum` (the
  // reasons go to the log) or that falls outside the year and period filters
  // (0 means no filter). Never raises.
  static std::unique_ptr<TBaseData> TryGetBaseData(const std::string& SearchRegNum, TMyNode* Node, int SearchYear,
                                                   int SearchPeriod);

  TPDType FPDType = TPDType::pdtSZV61;
  std::string FContractType;  // ТипДоговора of a СЗВ-6-4
  std::string FCategoryCode;  // КодКатегории of the forms before 2017 that have one
  TUtModeFormat FUtMode = TUtModeFormat::umfNone;
  TUtDataType FDataType = TUtDataType::udtBaseBase;  // never filled
  TUtDataType FUtDataType = TUtDataType::udtBaseBase;
  bool Correction = false;  // corrects or completes an earlier period
};

}  // namespace morvel
