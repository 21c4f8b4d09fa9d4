// The employer's List ("Перечень"): its staff positions with the working days
// they stand for in the reporting quarter, its heating and navigation seasons,
// and the nominal lists of the persons employed in those positions.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/dates.h"
#include "base/insurance_number_index.h"
#include "base/shared_text.h"
#include "log/logging_object.h"
#include "model/bases.h"
#include "model/position.h"
#include "model/worker.h"
#include "results/result.h"

namespace morvel {

class TMyNode;
class TSettings;

using TProtocolMessageList = std::vector<std::unique_ptr<TProtocolMessage>>;
using TPositionList = std::vector<std::shared_ptr<TPosition>>;
using TWorkerList = std::vector<std::shared_ptr<TWorker>>;

// The first day of the last quarter of a reporting period (1 January, 1 April,
// 1 July, 1 October for the periods 1 to 4) and the last day of the period; 0
// counts as 4. Another period, or a year without a calendar, raises EMorvelError.
TDate FirstDayOfPeriodQuarter(int year, int period);
TDate LastDayOfPeriod(int year, int period);

class TTheList : public TLoggingObject {
 public:
  TTheList();

  // Reads the enterprise, its seasons, the subdivisions with their positions and
  // nominal lists from the "Перечень" element. fYear, fPeriod, FAccumulate,
  // fFileName and fIsFile are set by the caller beforehand. Problems of the data
  // become findings in fParseErrors_List and the reading goes on; a position
  // without a start date, a date of a season or a position that does not parse,
  // a person without an insurance number and a reporting period without a
  // quarter window raise EMorvelError, and the caller drops the List.
  void readStaff(int year, int period, TMyNode* listNode);

  // The first position of fPositions with the same bases and position code whose
  // territorial condition agrees; the code and the condition are compared
  // upper-cased. Answered from an index, not by a scan: fPositions is expected
  // only to grow after reading, and its positions not to change their bases or
  // codes.
  std::shared_ptr<TPosition> GetPositionByBasesAndCode(const TCodeSet& Bases, std::string_view profCode,
                                                       std::string_view terrCond) const;

  // The "ОснованиеЛьготы" texts of the element in document order, without
  // "КВАЛИФ" (a qualification mark, not a basis) and without empty ones.
  static TBases ReadBases(TMyNode* element);

  // Days of the element's heating (or navigation) seasons inside QBegin..QEnd,
  // each season first cut to the List's year; wrong season years are reported.
  double CountSeasonDays(TMyNode* element, bool heating, TDate QBegin, TDate QEnd);

  // The persons of one subdivision's nominal list, added to fWorkers (a person
  // already there gets the new periods).
  void readWorkersList(TDate QBeginDate, TDate QEndDate, TMyNode* NamesList, const TSharedText& numSub,
                       const std::string& SubName);

  // The first person of fWorkers with exactly that insurance number. Answered
  // from an index; fWorkers is expected only to grow after reading.
  std::shared_ptr<TWorker> FindWorker(std::string_view SN) const;

  // The work periods of one "Работник" element, clipped to the window and merged
  // into the person's equal periods.
  void ReadWorkPeriods(TWorker& person, const TSharedText& numSub, TMyNode* workerNode, TDate QEndDate,
                       TDate QBeginDate);

  // The reading findings for the verification of the set: the list itself when
  // it holds at least one message, else nullptr. The verification keeps the
  // list it takes; the List keeps its own reference, so a message added later
  // reaches the same list, and the messages die once, with the last holder.
  std::shared_ptr<TProtocolMessageList> TakeOverParseErrors() const;

  TSettings* FSettings = nullptr;  // not set by the readers
  bool FAccumulate = false;        // cumulative from the start of the year
  int fYear = 0;
  int fPeriod = 0;  // 1 to 4
  int fNumInFile = 0;
  std::string fFileName;  // the file, or the label of a List from the server
  bool fIsFile = false;
  std::string fOrgName;
  double fNavDays = 0;   // navigation-season days of the enterprise in the window
  double fWarmDays = 0;  // heating-season days of the enterprise in the window
  TWorkerList fWorkers;
  TPositionList fPositions;
  // Never null. Shared with the verification that takes it over.
  std::shared_ptr<TProtocolMessageList> fParseErrors_List;
  bool fCorrection = false;
  bool fPreviousPerech = false;  // a List of an earlier year; no reader sets it
  bool fHasMoreThanOneLists = false;

 private:
  // The index keys of a position: bases text and code, unambiguously joined.
  static std::string PositionKey(const TCodeSet& bases, std::string_view profCode);
  // Brings the indexes up to date with fPositions and fWorkers.
  void SyncPositionIndex() const;
  void SyncWorkerIndex() const;

  void AddFinding(std::unique_ptr<TProtocolMessage> message);
  // One "Позиция" element of a subdivision.
  void ReadPosition(TMyNode* positionNode, const std::string& subNum, const std::string& subName, TDate QBegin,
                    TDate QEnd, double warmDays, double navDays);

  // Position indexes in fPositions, ascending, per key.
  mutable std::unordered_map<std::string, std::vector<std::size_t>> fPositionIndex;
  mutable std::size_t fPositionsIndexed = 0;
  // Index in fWorkers of the first person of each insurance number.
  mutable TInsuranceNumberIndex fWorkerIndex;
  mutable std::size_t fWorkersIndexed = 0;
  // Names, professions and codes repeat over the nominal lists.
  TSharedTextPool fTexts;
};

}  // namespace morvel
