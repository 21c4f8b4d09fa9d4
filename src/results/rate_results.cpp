#include "results/rate_results.h"

#include <vector>

#include "results/cell_text.h"
#include "results/name_list_results.h"

namespace morvel {
namespace {

using cells::Columns;
using cells::Esc;
using cells::PlainRow;
using cells::TwoRows;

constexpr const char* kWarningsChapter = "Список предупреждений";
constexpr const char* kErrorsChapter = "Список ошибок";
constexpr const char* kNoBlockInIS = "Отсутствие блока фактически отработанного времени в ИС";
constexpr const char* kNoBlockInList = "Отсутствие блока фактически отработанного времени в СПИСКЕ";
constexpr const char* kWorkedInIS = "Фактически отработано в ИС";
constexpr const char* kWorkedInList = "Фактически отработано в Перечне";

std::string WorkTimeOf(const TWorkPeriod* period) { return period != nullptr ? Esc(period->WorkTimeAsString()) : ""; }


}  // namespace

// ---- Rates --------------------------------------------------------------------------

TRateTable::TRateTable(std::string chapterName, std::string tableName, bool isError)
    : TTableResult(std::move(chapterName), std::move(tableName), isError) {
  FHeaderData = {PlainRow({"№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Льгота", "Период",
                           "Ставка в ИС", "Ставка в Перечне"})};
}

TRateErrors::TRateErrors() : TRateTable(kNameListChapter, "Несовпадение доли ставки", true) {}

TStavkaWarnings::TStavkaWarnings() : TRateTable(kWarningsChapter, "В поименном списке ставка более 1", false) {}

TRateTooHighErrors::TRateTooHighErrors() : TRateTable(kErrorsChapter, "В поименном списке ставка более 2", true) {}

TNoRateErrors::TNoRateErrors()
    : TRateTable(kErrorsChapter, "Не указана ставка для льготных оснований 27(28)-ПДРК", true) {}

TRateResult::TRateResult(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
                         std::shared_ptr<TWorkPeriod> workperiod_List, TResultType resultType)
    : fResultType(resultType) {
  if (resultType == TResultType::rtList) {
    FUCPData = std::make_unique<TUCPData>("", workperiod_List ? &workperiod_List->RateNodeData : nullptr);
  } else {
    FUCPData = cells::PackDataOf(worker_IS.get(),
                                          workPeriod_IS ? &workPeriod_IS->RateNodeData : nullptr);
  }
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
  FWorkPeriod_List = std::move(workperiod_List);
}

void TRateResult::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* is = FWorkPeriod_PD.get();
  const TWorkPeriod* list = FWorkPeriod_List.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(cells::BasesOf(is));
  values.push_back(cells::PeriodOf(is));
  values.push_back(is != nullptr ? Esc(is->RateStr()) : "");
  values.push_back(list != nullptr ? Esc(list->RateStr()) : "");
  PrintRow(streamWriter, values);
}

// ---- Worked time ------------------------------------------------------------------------

TFactWorkTimeErrors::TFactWorkTimeErrors()
    : TTableResult(kNameListChapter, "Несовпадение фактически отработанного времени", true) {
  FHeaderData = {
      {TwoRows("Страховое свидетельство"), TwoRows("ФИО"), Columns("Особые условия труда", "2"),
       TwoRows(kWorkedInIS), TwoRows(kWorkedInList)},
      PlainRow({"Льгота", "Код позиции списка"}),
  };
}

TFactWorkTimeError::TFactWorkTimeError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workperiod_List,
                                       std::shared_ptr<TWorkPeriod> workPeriod_IS) {
  FUCPData = cells::PackDataOf(worker_IS.get(),
                                        workPeriod_IS ? &workPeriod_IS->FactNodeData : nullptr);
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
  FWorkPeriod_List = std::move(workperiod_List);
}

void TFactWorkTimeError::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* is = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  cells::AppendSnAndName(values, FWorker_PD.get());
  values.push_back(cells::BasesOf(is));
  values.push_back(cells::CodeOf(is));
  values.push_back(WorkTimeOf(is));
  values.push_back(WorkTimeOf(FWorkPeriod_List.get()));
  PrintRow(streamWriter, values);
}

TFactWorkTimeMissingTable::TFactWorkTimeMissingTable(std::string chapterName, std::string tableName, bool isError,
                                                     const char* lastCell)
    : TTableResult(std::move(chapterName), std::move(tableName), isError) {
  FHeaderData = {
      {TwoRows("Страховое свидетельство"), TwoRows("ФИО"), Columns("Особые условия труда", "2"), TwoRows("Период"),
       TwoRows(lastCell)},
      PlainRow({"Льгота", "Код позиции списка"}),
  };
}

TFactWorkTimeErrors_List::TFactWorkTimeErrors_List()
    : TFactWorkTimeMissingTable(kNameListChapter, kNoBlockInIS, true, kWorkedInList) {}

TFactWorkTimeWarnings_List::TFactWorkTimeWarnings_List()
    : TFactWorkTimeMissingTable(kWarningsChapter, kNoBlockInIS, false, kWorkedInList) {}

TFactWorkTimeErrors_IS::TFactWorkTimeErrors_IS()
    : TFactWorkTimeMissingTable(kNameListChapter, kNoBlockInList, true, kWorkedInIS) {}

TFactWorkTimeWarnings_IS::TFactWorkTimeWarnings_IS()
    : TFactWorkTimeMissingTable(kWarningsChapter, kNoBlockInList, false, kWorkedInIS) {}

TFactWorkTimeResult_List_IS::TFactWorkTimeResult_List_IS(std::shared_ptr<TWorker> worker_IS,
                                                         std::shared_ptr<TWorkPeriod> workPeriod_IS,
                                                         std::shared_ptr<TWorkPeriod> workperiod_List,
                                                         TResultType resultType)
    : fResultType(resultType) {
  if (resultType == TResultType::rtList) {
    FUCPData = cells::PackDataOf(worker_IS.get(),
                                          workPeriod_IS ? &workPeriod_IS->NodeData : nullptr);
  } else {
    FUCPData = std::make_unique<TUCPData>("", workperiod_List ? &workperiod_List->NodeData : nullptr);
  }
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
  FWorkPeriod_List = std::move(workperiod_List);
}

void TFactWorkTimeResult_List_IS::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* list = FWorkPeriod_List.get();
  std::vector<std::string> values;
  cells::AppendSnAndName(values, FWorker_PD.get());
  values.push_back(cells::BasesOf(list));
  values.push_back(cells::CodeOf(list));
  values.push_back(cells::PeriodOf(list));
  values.push_back(WorkTimeOf(fResultType == TResultType::rtList ? list : FWorkPeriod_PD.get()));
  PrintRow(streamWriter, values);
}

}  // namespace morvel
