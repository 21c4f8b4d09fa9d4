#include "results/name_list_results.h"

#include <cmath>
#include <vector>

#include "base/rounding.h"
#include "base/text.h"
#include "results/cell_text.h"

namespace morvel {
namespace {

using cells::CellOf;
using cells::Columns;
using cells::Esc;
using cells::PlainRow;
using cells::TwoRows;

// Bases, position code, dates, rate, worked time, seniority basis,
// territorial condition and additional data: the nine period cells of the
// tables of unpaired periods.
void AppendPeriodCells(std::vector<std::string>& values, const TWorkPeriod* period) {
  values.push_back(cells::BasesOf(period));
  values.push_back(cells::CodeOf(period));
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(period != nullptr ? Esc(period->RateStr()) : "");
  values.push_back(period != nullptr ? cells::WorkedTimeText(*period) : "");
  values.push_back(period != nullptr ? Esc(period->SeniorityBase()) : "");
  values.push_back(CellOf(period, &TWorkPeriod::TerritoryCondition));
  values.push_back(period != nullptr ? Esc(period->AddPdData.ToString()) : "");
}

// The dates and the special working conditions of a period missing on the
// other side: begin, end, bases, position code.
void AppendMissingPeriodCells(std::vector<std::string>& values, const TWorkPeriod* period) {
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(cells::BasesOf(period));
  values.push_back(cells::CodeOf(period));
}

TTableResult::THeaderRow MissingPeriodSecondRow() {
  return PlainRow({"Дата начала периода", "Дата конца периода", "Льгота", "Код позиции списка"});
}

}  // namespace

// ---- Teaching hours ---------------------------------------------------------------

TPrincipalErrors::TPrincipalErrors()
    : TTableResult(kNameListChapter, "Расхождение в количестве часов по льготам 27-ПДРК(28-ПДРК)", true) {
  FHeaderData = {PlainRow({"Льгота", "№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Часы в ИС",
                           "Часы в Перечне"})};
}

TTeacherWarnings::TTeacherWarnings() {
  FTableName = "Расхождение в количестве часов по льготам 27-ПД(28-ПД)";
  IsError = false;
}

TTeacherResult::TTeacherResult(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
                               double hours_IS, double hours_List)
    : fISTime(MinutesText(hours_IS)), fPerechTime(MinutesText(hours_List)) {
  FUCPData = cells::PackDataOf(worker_IS.get(), workPeriod_IS ? &workPeriod_IS->PDRKHoursNodeData : nullptr);
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
}

std::string TTeacherResult::MinutesText(double minutes) {
  double whole = RoundHalfEven(minutes, 0);
  // Amounts beyond any working life are held to what an integer carries.
  constexpr double kLimit = 9.0e15;
  if (!std::isfinite(whole)) whole = 0;
  if (whole > kLimit) whole = kLimit;
  if (whole < -kLimit) whole = -kLimit;
  const long long total = static_cast<long long>(whole);
  return IntToStr(total / 60) + " часов " + IntToStr(total % 60) + " минут";
}

void TTeacherResult::PrintLine(TLineWriter& streamWriter) {
  std::vector<std::string> values;
  values.push_back(cells::BasesOf(FWorkPeriod_PD.get()));
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(fISTime);
  values.push_back(fPerechTime);
  PrintRow(streamWriter, values);
}

// ---- Names --------------------------------------------------------------------------

TFullNameErrors::TFullNameErrors() : TTableResult(kNameListChapter, "ЗЛ с несовпадением ФИО", true) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), Columns("В ИС", "3"),
       TwoRows("№ подразделения в Перечне"), Columns("В Перечне", "3")},
      PlainRow({"Фамилия", "Имя", "Отчество", "Фамилия", "Имя", "Отчество"}),
  };
}

TFullNameError::TFullNameError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorker> worker_list) {
  FUCPData = cells::PackDataOf(worker_IS.get(), worker_IS ? &worker_IS->FullNameNodeData : nullptr);
  FWorker_PD = std::move(worker_IS);
  FWorker_List = std::move(worker_list);
}

void TFullNameError::PrintLine(TLineWriter& streamWriter) {
  const TWorker* is = FWorker_PD.get();
  const TWorker* list = FWorker_List.get();
  PrintRow(streamWriter, {CellOf(is, &TWorker::PackNum), CellOf(is, &TWorker::NumInPack), CellOf(is, &TWorker::SN),
                          CellOf(is, &TWorker::Surname), CellOf(is, &TWorker::Name), CellOf(is, &TWorker::Patronymic),
                          CellOf(list, &TWorker::SubNum), CellOf(list, &TWorker::Surname),
                          CellOf(list, &TWorker::Name), CellOf(list, &TWorker::Patronymic)});
}

// ---- Persons missing on one side ----------------------------------------------------

TPdInsNumErrors::TPdInsNumErrors()
    : TTableResult(kNameListChapter, "ЗЛ, указанные в ИС, но отсутствующие в поименном списке к Перечню", true) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       Columns("Период", "2"), Columns("Особые условия труда", "2")},
      MissingPeriodSecondRow(),
  };
}

TSNError_IS::TSNError_IS(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS) {
  FUCPData = cells::PackDataOf(worker_IS.get(), worker_IS ? &worker_IS->NodeData : nullptr);
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
}

void TSNError_IS::PrintLine(TLineWriter& streamWriter) {
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  AppendMissingPeriodCells(values, FWorkPeriod_PD.get());
  PrintRow(streamWriter, values);
}

TSNErrors_List::TSNErrors_List()
    : TTableResult(kNameListChapter, "ЗЛ, указанные в поименном списке к Перечню, но отсутствующие в ИС", true) {
  FHeaderData = {
      {TwoRows("№ подразделения в Перечне"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       Columns("Период", "2"), Columns("Особые условия труда", "2")},
      MissingPeriodSecondRow(),
  };
}

TSNError_List::TSNError_List(std::shared_ptr<TWorker> worker_list, std::shared_ptr<TWorkPeriod> workperiod_List) {
  FUCPData = std::make_unique<TUCPData>("", worker_list ? &worker_list->NodeData : nullptr);
  FWorker_List = std::move(worker_list);
  FWorkPeriod_List = std::move(workperiod_List);
}

void TSNError_List::PrintLine(TLineWriter& streamWriter) {
  const TWorker* list = FWorker_List.get();
  std::vector<std::string> values;
  values.push_back(list != nullptr ? Esc(list->SubNum) : "");
  cells::AppendSnAndName(values, list);
  AppendMissingPeriodCells(values, FWorkPeriod_List.get());
  PrintRow(streamWriter, values);
}

// ---- Periods ------------------------------------------------------------------------------

TBasisErrors::TBasisErrors()
    : TTableResult(kNameListChapter, "ЗЛ с несовпадением основания льготы и/или кодом позиции списка", true) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       TwoRows("Период"), Columns("ИС", "4"), TwoRows("№ подразделения в Перечне"), Columns("В Перечне", "4")},
      PlainRow({"Льгота", "Код позиции списка", "ТУ", "Дополнительные сведения исчисления стажа", "Льгота",
                "Код позиции списка", "ТУ", "Дополнительные сведения исчисления стажа"}),
  };
}

TBasisError::TBasisError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS,
                         std::shared_ptr<TWorkPeriod> workperiod_List) {
  FUCPData = cells::PackDataOf(worker_IS.get(), workPeriod_IS ? &workPeriod_IS->NodeData : nullptr);
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
  FWorkPeriod_List = std::move(workperiod_List);
}

void TBasisError::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* is = FWorkPeriod_PD.get();
  const TWorkPeriod* list = FWorkPeriod_List.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(cells::PeriodOf(is));
  const auto kind = [&values](const TWorkPeriod* period) {
    values.push_back(cells::BasesOf(period));
    values.push_back(cells::CodeOf(period));
    values.push_back(CellOf(period, &TWorkPeriod::TerritoryCondition));
    values.push_back(period != nullptr ? Esc(period->AddPdData.ToString()) : "");
  };
  kind(is);
  values.push_back(CellOf(list, &TWorkPeriod::NumSub));
  kind(list);
  PrintRow(streamWriter, values);
}

namespace {

// The header of both tables of unpaired periods; `side` names the period
// column group, `lastCell` the additional-data column.
std::vector<TTableResult::THeaderRow> UnpairedHeader(bool withPack, const char* side, const char* lastCell) {
  TTableResult::THeaderRow first;
  if (withPack) {
    first = {TwoRows("№ пачки"), TwoRows("№ в пачке")};
  } else {
    first = {TwoRows("№ подразделения в Перечне")};
  }
  first.push_back(TwoRows("Страховое свидетельство"));
  first.push_back(TwoRows("ФИО"));
  first.push_back(Columns("Особые условия труда", "2"));
  first.push_back(Columns(side, "7"));
  TTableResult::THeaderRow second =
      PlainRow({"Льгота", "Код позиции списка", "Дата начала периода", "Дата конца периода", "Ставка",
                "Фактически отработано", "Основание исчисления стажа", "ТУ"});
  second.push_back({lastCell, "", ""});
  return {first, second};
}

}  // namespace

TPeriodErrors_IS::TPeriodErrors_IS()
    : TTableResult(kNameListChapter,
                   "Периоды работы, указанные в ИС, но отсутствующие в поименном списке к Перечню", true) {
  FHeaderData = UnpairedHeader(true, "Период в ИС", "Дополнительные сведения ИС");
}

TPeriodError_IS::TPeriodError_IS(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS) {
  FUCPData = cells::PackDataOf(worker_IS.get(), workPeriod_IS ? &workPeriod_IS->NodeData : nullptr);
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
}

void TPeriodError_IS::PrintLine(TLineWriter& streamWriter) {
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  AppendPeriodCells(values, FWorkPeriod_PD.get());
  PrintRow(streamWriter, values);
}

TPeriodErrors_List::TPeriodErrors_List()
    : TTableResult(kNameListChapter,
                   "Периоды работы, указанные в поименном списке к Перечню, но отсутствующие в ИС", true) {
  FHeaderData = UnpairedHeader(false, "Период в Перечне", "Дополнительные сведения исчисления стажа");
}

TPeriodError_List::TPeriodError_List(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorker> worker_list,
                                     std::shared_ptr<TWorkPeriod> workperiod_List) {
  FUCPData = std::make_unique<TUCPData>("", worker_IS ? &worker_IS->NodeData : nullptr);
  FWorker_PD = std::move(worker_IS);
  FWorker_List = std::move(worker_list);
  FWorkPeriod_List = std::move(workperiod_List);
}

void TPeriodError_List::PrintLine(TLineWriter& streamWriter) {
  const TWorker* list = FWorker_List.get();
  std::vector<std::string> values;
  values.push_back(list != nullptr ? Esc(list->SubNum) : "");
  cells::AppendSnAndName(values, list);
  AppendPeriodCells(values, FWorkPeriod_List.get());
  PrintRow(streamWriter, values);
}

TWorkDaysBasisErrors::TWorkDaysBasisErrors()
    : TTableResult(kNameListChapter, "Несовпадение основания исчисления стажа", true) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       Columns("Особые условия труда", "2"), TwoRows("Основание исчисления стажа в ИС"),
       TwoRows("Основание исчисления стажа в Перечне")},
      PlainRow({"Льгота", "Код позиции списка"}),
  };
}

TWorkDaysBasisError::TWorkDaysBasisError(std::shared_ptr<TWorker> worker_list, std::shared_ptr<TWorker> worker_IS,
                                         std::shared_ptr<TWorkPeriod> workPeriod_IS,
                                         std::shared_ptr<TWorkPeriod> workperiod_List) {
  FUCPData = cells::PackDataOf(worker_IS.get(), workPeriod_IS ? &workPeriod_IS->SeniorityNodeData : nullptr);
  FWorker_List = std::move(worker_list);
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_PD = std::move(workPeriod_IS);
  FWorkPeriod_List = std::move(workperiod_List);
}

void TWorkDaysBasisError::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* is = FWorkPeriod_PD.get();
  const TWorkPeriod* list = FWorkPeriod_List.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(cells::BasesOf(list));
  values.push_back(cells::CodeOf(list));
  values.push_back(is != nullptr ? Esc(is->SeniorityBase()) : "");
  values.push_back(list != nullptr ? Esc(list->SeniorityBase()) : "");
  PrintRow(streamWriter, values);
}

}  // namespace morvel
