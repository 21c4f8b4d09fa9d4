// One staff position of the List.
#pragma once

#include <string>
#include <string_view>

#include "base/dates.h"
#include "model/bases.h"
#include "model/result_data.h"

namespace morvel {

class TWorkPeriod;

// Shared by the List and the result records that refer to it (std::make_shared).
class TPosition : public TResultData {
 public:
  // Bases and position code as one text, e.g. 27-1 (23200000-13786).
  std::string pPositionAsString() const;

  bool Matches(const TCodeSet& bases, std::string_view profCode, std::string_view terrCond) const;
  bool Matches(const TWorkPeriod& other) const;

  // Working days the position stands for in the quarter QBeginDate..QEndDate:
  // heating-season days for boiler operators and navigation days for the river
  // fleet where the List gives them, otherwise the days of the entry from the
  // quarter start (an open end runs to the quarter end), never below zero;
  // times positionCount.
  // `year` takes no part.
  double setWorkingDays(TDate QBeginDate, TDate QEndDate, TDate DBegin, TDate DEnd, double positionCount, int year,
                        std::string_view positionCode, std::string_view lgot, double warmDays,
                        double navDays) const;

  std::string fPost;
  double fWorkingDays = 0;
  std::string fTerrCond;
  TBases Bases;
  std::string fProfessionCode;
  double fQuantityByPositions = 0;
  double fWorkingDays_IS = 0;
};

}  // namespace morvel
