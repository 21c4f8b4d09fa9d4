#include "results/add_tariff_results.h"

#include <vector>

#include "base/text.h"
#include "results/cell_text.h"

namespace morvel {
namespace {

using cells::CodeOf;
using cells::Columns;
using cells::Esc;
using cells::PeriodOf;
using cells::PlainRow;
using cells::TwoRows;

constexpr const char* kUTMessage = "Проставленные у ЗЛ для ДТ условия труда не совпадают в ИС и Перечне";

// The pack number and the location of a person's additional-tariff payments.
std::unique_ptr<TUCPData> PaymentsData(std::string packNum, const TWorker* worker) {
  return std::make_unique<TUCPData>(std::move(packNum), worker != nullptr ? &worker->PaymentsNodeData : nullptr);
}

}  // namespace

TUTErrors::TUTErrors()
    : TTableResult("Проверка проставления условий труда", "ЗЛ с ошибками по условиям труда", true) {
  FHeaderData = {PlainRow({"№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Период", "Класс УТ в ИС",
                           "№ подразделения в Перечне", "Класс УТ в Перечне", "Пояснение"})};
}

TAddTariffErrors::TAddTariffErrors()
    : TTableResult("Проверка проставления дополнительного тарифа", "ЗЛ с ошибками по дополнительному тарифу",
                   true) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       TwoRows("Период"), Columns("ИС", "2"), TwoRows("№ подразделения в Перечне"), Columns("Перечень", "2"),
       TwoRows("Пояснение")},
      PlainRow({"Льгота", "Код позиции списка", "Льгота", "Код позиции списка"}),
  };
}

TAddTariffWarnings::TAddTariffWarnings()
    : TTableResult("Список предупреждений", "Предупреждения при проверке по дополнительному тарифу", false) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       TwoRows("Период"), Columns("ИС", "2"), TwoRows("Пояснение")},
      PlainRow({"Льгота", "Код позиции списка"}),
  };
}

TUTWithoutAddTariffErrors::TUTWithoutAddTariffErrors()
    : TTableResult("Сверка ИС и поименного списка к Перечню",
                   "Периоды работы Перечня, в который класс УТ указан без дополнительного тарифа", true) {
  FHeaderData = {{{"№ подразделения в Перечне", "", ""},
                  {"Страховое свидетельство", "", ""},
                  {"ФИО", "", ""},
                  Columns("Период", "2"),
                  {"Класс УТ", "", ""}}};
}

// ---- TUTError -----------------------------------------------------------------------

TUTError::TUTError(std::shared_ptr<TWorker> worker_list, std::shared_ptr<TWorker> worker_IS,
                   std::shared_ptr<TWorkPeriod> workperiod_List, const std::string& pdUT, bool SameAddTariff,
                   std::string listUT)
    : fMess(kUTMessage), fPDUT(SameAddTariff ? pdUT : std::string()), fListUT(std::move(listUT)) {
  FWorker_List = std::move(worker_list);
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_List = std::move(workperiod_List);
  if (FWorker_PD) {
    FUCPData = PaymentsData(FWorker_PD->PackNum, FWorker_PD.get());
  } else {
    FUCPData = PaymentsData("", FWorker_List.get());
  }
  if (FWorker_List) {
    fPDUT += " (все периоды)";
  } else {
    fListUT += " (все периоды)";
  }
  TagData();
}

void TUTError::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_List.get();
  std::vector<std::string> values;
  if (FWorker_PD) {
    cells::AppendPerson(values, FWorker_PD.get());
  } else {
    values.emplace_back();
    values.emplace_back();
    cells::AppendSnAndName(values, FWorker_List.get());
  }
  values.push_back(PeriodOf(period));
  values.push_back(Esc(fPDUT));
  values.push_back(period != nullptr ? Esc(period->NumSub) : "");
  if (period == nullptr) {
    values.push_back(Esc(fListUT));
  } else {
    values.push_back(period->WC.empty() ? "Без класса УТ" : Esc(period->WC));
  }
  values.push_back(fMess +
                   (period != nullptr ? " (Класса УТ из Перечня нет в ИС)" : " (Класса УТ из ИС нет в Перечне)"));
  PrintRow(streamWriter, values);
}

// ---- TAddTariffError ----------------------------------------------------------------

TAddTariffError::TAddTariffError(std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorker> worker_list,
                                 std::shared_ptr<TWorkPeriod> workperiod, TResultType errType)
    : fErrType(errType) {
  FWorker_PD = std::move(worker_IS);
  FWorker_List = std::move(worker_list);
  if (errType == TResultType::rtList) {
    FWorkPeriod_List = std::move(workperiod);
    FUCPData = PaymentsData("", FWorker_List.get());
  } else {
    FWorkPeriod_PD = std::move(workperiod);
    FUCPData = PaymentsData(FWorker_PD ? FWorker_PD->PackNum.str() : std::string(), FWorker_PD.get());
  }
  TagData();
}

void TAddTariffError::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* isPeriod = FWorkPeriod_PD.get();
  const TWorkPeriod* listPeriod = FWorkPeriod_List.get();
  const TWorker* worker = isPeriod != nullptr ? FWorker_PD.get() : FWorker_List.get();
  const TWorkPeriod* period = isPeriod != nullptr ? isPeriod : listPeriod;
  std::vector<std::string> values;
  values.push_back(FUCPData ? Esc(FUCPData->FPackNum) : "");
  values.push_back(worker != nullptr ? Esc(worker->NumInPack) : "");
  cells::AppendSnAndName(values, worker);
  values.push_back(PeriodOf(period));
  values.push_back(cells::BasesOf(isPeriod));
  values.push_back(CodeOf(isPeriod));
  values.push_back(worker != nullptr ? Esc(worker->SubNum) : "");
  values.push_back(cells::BasesOf(listPeriod));
  values.push_back(CodeOf(listPeriod));
  if (fErrType == TResultType::rtList) {
    values.emplace_back(
        "У ЗЛ в перечне в периодах стажа проставлен доп. тариф, но не начислена сумма по доп. тарифу в ИС");
  } else {
    values.push_back("У ЗЛ в периодах стажа присутствует льгота " + cells::BasesOf(period) +
                     ", но не начислена сумма выплат по доп. тарифу");
  }
  PrintRow(streamWriter, values);
}

// ---- TAddTariffWarning --------------------------------------------------------------

TAddTariffWarning::TAddTariffWarning(std::shared_ptr<TWorker> worker_IS, TResultType resultType,
                                     std::shared_ptr<TWorkPeriod> workperiod_List,
                                     std::shared_ptr<TAddTariffPayment> AddTariffPayment)
    : fResultType(resultType) {
  FWorker_PD = std::move(worker_IS);
  FWorkPeriod_List = std::move(workperiod_List);
  FAddTariffPayment = std::move(AddTariffPayment);
  FUCPData = PaymentsData(FWorker_PD ? FWorker_PD->PackNum.str() : std::string(), FWorker_PD.get());
  TagData();
}

std::string TAddTariffWarning::Explanation() const {
  const TWorkPeriod* period = FWorkPeriod_List.get();
  if (fResultType == TResultType::rtNoLgot) {
    const TAddTariffPayment* payment = FAddTariffPayment.get();
    return "У ЗЛ начислена сумма выплат по доп. тарифу " +
           (payment != nullptr ? std::string(AddTariffBaseName(payment->Base)) : std::string()) + " на сумму " +
           (payment != nullptr ? FloatToStr(payment->Sum) : std::string()) +
           " руб., но в его периодах стажа льгота отсутствует";
  }
  return "У ЗЛ в периодах стажа присутствует льгота " + cells::BasesOf(period) +
         ", но не начислена сумма выплат по доп. тариф, т.к. имеются: " +
         (period != nullptr ? Esc(period->AddPdData.ToString()) : std::string());
}

void TAddTariffWarning::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_List.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(PeriodOf(period));
  values.push_back(cells::BasesOf(period));
  values.push_back(CodeOf(period));
  values.push_back(Explanation());
  PrintRow(streamWriter, values);
}

// ---- TUTWithoutAddTariffError -------------------------------------------------------

TUTWithoutAddTariffError::TUTWithoutAddTariffError(std::shared_ptr<TWorker> worker_List,
                                                   std::shared_ptr<TWorkPeriod> workPeriod_List) {
  FWorker_List = std::move(worker_List);
  FWorkPeriod_List = std::move(workPeriod_List);
  FUCPData = std::make_unique<TUCPData>("", FWorkPeriod_List ? &FWorkPeriod_List->NodeData : nullptr);
  TagData();
}

void TUTWithoutAddTariffError::PrintLine(TLineWriter& streamWriter) {
  const TWorker* worker = FWorker_List.get();
  const TWorkPeriod* period = FWorkPeriod_List.get();
  std::vector<std::string> values;
  values.push_back(worker != nullptr ? Esc(worker->SubNum) : "");
  cells::AppendSnAndName(values, worker);
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(period != nullptr ? Esc(period->WC) : "");
  PrintRow(streamWriter, values);
}

}  // namespace morvel
