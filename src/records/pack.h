// One individual-records pack: its identification, its persons with their work
// periods, and the warnings and errors found while they were read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"
#include "base/shared_text.h"
#include "log/logging_object.h"
#include "model/worker.h"
#include "records/base_data.h"
#include "records/pack_types.h"
#include "results/check_results.h"
#include "results/pack_results.h"
#include "results/result.h"
#include "xml/my_node.h"

namespace morvel {

struct TPackNames;

using TProtocolMessageList = std::vector<std::unique_ptr<TProtocolMessage>>;
using TTerrCodeDataList = std::vector<std::unique_ptr<TTerrCodeData>>;
using TWorkerList = std::vector<std::shared_ptr<TWorker>>;

// Whether the rate of a long-service entry is below what the basis and the
// special-conditions position allow: 0 fine, 1 worth a warning, 2 an error.
// The classifier lists of part-time errors and warnings decide.
int CheckPartTime(std::string_view outCode, std::string_view positionCode, std::string_view vlBasis, double rate);

class TPack : public TLoggingObject {
 public:
  TPack();
  // The pack for one reporting year of a ЕФС-1 pack: a header with the year
  // and corrected year of `Periodically`, the identification of `Pack`, no
  // persons and empty tables.
  TPack(const TPack& Pack, const TPeriodically& Periodically);
  TPack(const TPack&) = delete;
  TPack& operator=(const TPack&) = delete;
  ~TPack() override;

  // Reads number, date and employer of a recognised file. On success the pack
  // takes `BaseData` over; otherwise it stays with the caller and the reason, if
  // the file names one, is added to `FSearchErrors`. Never raises.
  static std::unique_ptr<TPack> TryGetPackData(TMyNode* XmlFile, TPDType PDType, TProtocolMessageList& FSearchErrors,
                                               std::unique_ptr<TBaseData>& BaseData, const std::string& FileName);

  // The pack date as a day: yyyy-mm-dd for the 2017 and ЕФС-1 forms, dd.mm.yyyy
  // for the older ones, as each writes it. Raises EConvertError for a text that
  // is no date; TryGetPackDateAsDate says false instead.
  TDate GetPackDateAsDate() const;
  bool TryGetPackDateAsDate(TDate& date) const;

  // Reads every person of the pack into Workers and returns their number.
  // `SearchYear` (0 for any) only filters the blocks of a ЕФС-1 person. A person
  // or period that cannot be read is reported in FPackErrors and skipped; never
  // raises.
  int ReadWorkers(TMyNode* Node, int SearchYear);

  // The steps of reading one person; public for the readers' tests.
  void InitWorker(TMyNode& WorkerDataNode, int Number, const TSharedText& PackNum, TWorker& worker);
  // Reads the work periods of one block into the person.
  void ReadWorkPeriods(TMyNode& block, const TPeriodically& blockPeriod, const std::shared_ptr<TWorker>& person);
  // Reads one preferential entry `E` into `X`; hands back the long-service basis
  // and the special-conditions code as written. Season and UIK are set (never
  // cleared) by the seniority bases СЕЗОН and УИК104.
  void ReadLgotEntry(bool& Season, bool& UIK, const std::shared_ptr<TWorkPeriod>& X,
                     const std::shared_ptr<TWorker>& person, TMyNode& E, std::string& vlBasis, std::string& outCode);
  // The profession of an entry of the forms before 2017.
  std::string ReadProfession(TMyNode& E) const;
  // The additional-tariff payments of a person (forms before 2017) and the
  // additional-tariff mark of the 2017 forms.
  void ReadAddTariffPayments(TMyNode& personNode, TPDType form, TWorker& person);

  TSharedText FPackNum;  // shared by every person and period of the pack
  std::string FOrgName;
  std::string FShortOrgName;
  TSharedText FPackDate;
  std::int32_t FLgotWorkerCount = 0;
  TProtocolMessageList FPackErrors;
  TTerrCodeDataList FTerrCodes;
  std::string FileName;
  bool HasLgot = false;
  TWorkerList Workers;
  std::unique_ptr<TBaseData> BaseData;
  // The verification takes over the tables that hold records (std::move); the
  // pack frees whatever it still holds.
  std::unique_ptr<TAddPdDataWarnings> AddPdDataWarnings;
  std::unique_ptr<TPDRKWarnings> PDRKWarnings;
  std::unique_ptr<TFlightWarnings> FlightWarnings;
  std::unique_ptr<TPartTimeWarnings> PartTimeWarnings;
  std::unique_ptr<TPartTimeErrors> PartTimeErrors;
  std::unique_ptr<TJumpWarnings> JumpWarnings;

 private:
  const TPackNames& Names();
  // Names, professions and codes repeat over the persons of a pack.
  TSharedTextPool fTexts;
  void AddError(std::string message);
  // Records of `table` from `first` on that refer to `S`, a sub-period about to
  // be merged, are moved to the first period of the person with the same
  // dates, as the person holds them now; without one they keep S. Only records
  // made while S was read can refer to it, hence `first`.
  void RepointResults(TTableResult& table, std::size_t first, const std::shared_ptr<TWorkPeriod>& S);
  void DeleteAddPdDataWarningsOf(const TWorker& person);
  // One work-period element; the warning on its additional data, if any, is
  // kept in `kept` until the whole block is read.
  void ReadWorkPeriod(TMyNode& element, const TPeriodically& blockPeriod, const std::shared_ptr<TWorker>& person,
                      std::vector<std::unique_ptr<TAddPdDataWarning>>& kept);
  // A sub-period that becomes a period of its own.
  void GiveSplitOff(const std::shared_ptr<TWorkPeriod>& S, TWorker& person, bool withPackDate);
  TMyNode& EntryElement(TMyNode& entry);
  // Reads the territorial conditions, the position and the worked time of one
  // entry; the parts of ReadLgotEntry.
  void ReadTerritorialConditions(const std::shared_ptr<TWorkPeriod>& X, const std::shared_ptr<TWorker>& person,
                                 TMyNode& E);
  void ReadHoursOutput(std::string_view vlBasis, TWorkPeriod& X, TMyNode& longService) const;
  void AddFlightWarnings(std::string_view vlBasis, const std::shared_ptr<TWorker>& person,
                         const std::shared_ptr<TWorkPeriod>& X);
  void ReadSeniority(bool& Season, bool& UIK, TWorkPeriod& X, TMyNode& E) const;

  std::unique_ptr<TPackNames> fNames;
};

}  // namespace morvel
