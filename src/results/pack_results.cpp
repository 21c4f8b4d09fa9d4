#include "results/pack_results.h"

#include <array>

#include "base/text.h"
#include "results/cell_text.h"

namespace morvel {
namespace {

using cells::Columns;
using cells::Esc;
using cells::PlainRow;
using cells::TwoRows;

constexpr const char* kWarningsChapter = "Список предупреждений";
constexpr const char* kErrorsChapter = "Список ошибок";
constexpr const char* kPartTimeTitle =
    "Ставка для \"Выслуги лет\" 27-ГД, 27-ГДХР, 27-СМ или 27-СМХР и \"Особых условий труда\" 12300000-20426";

TTableResult::THeaderRow PartTimeHeader() {
  return PlainRow({"№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Льгота", "Особые условия труда",
                   "Выслуга лет", "Дата начала периода", "Дата конца периода", "Ставка"});
}

// The person, the period and where the data stands, for a record of a pack
// table: its pack number is the person's.
void Bind(TResultRecord& record, std::shared_ptr<TWorker> worker, std::shared_ptr<TWorkPeriod> period,
          const TNodeData* location) {
  record.FUCPData = cells::PackDataOf(worker.get(), location);
  record.FWorker_PD = std::move(worker);
  record.FWorkPeriod_PD = std::move(period);
}

const TNodeData* NodeDataOf(const std::shared_ptr<TWorkPeriod>& period) {
  return period ? &period->NodeData : nullptr;
}

std::string JoinLeave(const std::string& admin, const std::string& noPay) {
  if (admin.empty()) return noPay;
  if (noPay.empty()) return admin;
  return admin + ", " + noPay;
}

bool SamePersonInPack(const TAddPdDataWarning& a, const TAddPdDataWarning& b) {
  if (!a.FWorker_PD || !b.FWorker_PD) return false;
  return a.FWorker_PD->SN == b.FWorker_PD->SN && a.FWorker_PD->NumInPack == b.FWorker_PD->NumInPack &&
         a.FWorker_PD->PackNum == b.FWorker_PD->PackNum;
}

bool SamePeriodKey(const TAddPdDataWarning& a, const TAddPdDataWarning& b) {
  if (!a.FPeriod || !b.FPeriod) return !a.FPeriod && !b.FPeriod;
  return a.FPeriod->GetKey() == b.FPeriod->GetKey();
}

}  // namespace

// ---- TPreMorvelResult -------------------------------------------------------

TPreMorvelResult::TPreMorvelResult(int ECode) {
  IsError = false;
  switch (ECode) {
    case 11:
      // The first letter is a Latin capital O, as the fund's staff know the text.
      FMessage = "O" "рганизация без льготников, перечни ранее не предоставляла";
      break;
    case 12:
      FMessage = "Необходимо уточнить отсутствие ИС со льготниками и Перечня";
      break;
    case 22:
      IsError = true;
      FMessage =
          "Найдены только корректирующие ИС, необходимо уточнить отсутствие ИС со льготниками за отчетный "
          "период";
      break;
    case 23:
      IsError = true;
      FMessage = "Найдены ИС с льготниками (Исхд, либо Исхд и Корр, либо Корр), перечень не найден";
      break;
    case 25:
      IsError = true;
      FMessage =
          "Не было найдено файлов индивидуальных сведений со льготами с подходящими для сверки заданными "
          "условиями (РегНомер,Год,Период,Тип), но найден перечень";
      break;
    default:
      FMessage = IntToStr(ECode);
      break;
  }
}

// ---- Pack tables --------------------------------------------------------------

TAddPdDataWarnings::TAddPdDataWarnings()
    : TTableResultWithPeriod(kWarningsChapter, "Наличие в ИС дополнительной информации", false) {
  FHeaderData = {
      {TwoRows("№ пачки"), TwoRows("№ в пачке"), TwoRows("Страховое свидетельство"), TwoRows("ФИО"),
       Columns("в ИС содержатся наряду с СТС", "8"), TwoRows("для РСВ-1"),
       TwoRows("Комментарии к периодам Перечня")},
      PlainRow({"Дети", "Декрет", "Отпуск б/с", "Период с ОТС", "Сезон", "УИК", "ВРНЕТРУД", "ДЛОТПУСК"}),
  };
}

void TAddPdDataWarnings::AddRecord(std::unique_ptr<TResultRecord> record) {
  if (!record) return;
  const auto* incoming = dynamic_cast<const TAddPdDataWarning*>(record.get());
  if (incoming != nullptr && !FRecords.empty()) {
    if (auto* last = dynamic_cast<TAddPdDataWarning*>(FRecords.back().get());
        last != nullptr && SamePersonInPack(*last, *incoming) && SamePeriodKey(*last, *incoming)) {
      last->MergeWithAnotherWarning(*incoming);
      return;  // the merged record dies here
    }
  }
  TTableResultWithPeriod::AddRecord(std::move(record));
}

TFlightWarnings::TFlightWarnings()
    : TTableResultWithPeriod(
          kWarningsChapter,
          "Количество часов по льготам САМОЛЕТ,СПЕЦАВ,ИТСИСП,ЛЕТИСП,ИНСПЕКТ,ОПЫТИСП,ИСПКЛС1,ИТСМАВ", false) {
  FHeaderData = {PlainRow({"№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Льгота",
                           "Дата начала периода", "Дата конца периода", "Часы", "Минуты"})};
}

TPDRKWarnings::TPDRKWarnings()
    : TTableResultWithPeriod(kWarningsChapter, "Количество часов по льготам 27-ПДРК (28-ПДРК), 27-ПД (28-ПД)",
                             false) {
  FHeaderData = {PlainRow({"№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Льгота",
                           "Дата начала периода", "Дата конца периода", "Часы", "Минуты", "Ставка"})};
}

TJumpWarnings::TJumpWarnings()
    : TTableResultWithPeriod(kWarningsChapter,
                             "Количество прыжков, спусков (подъемов) по льготе РЕАКТИВН, НОРМСП", false) {
  FHeaderData = {PlainRow({"№ пачки", "№ в пачке", "Страховое свидетельство", "ФИО", "Льгота",
                           "Дата начала периода", "Дата конца периода", "Количество"})};
}

TPartTimeErrors::TPartTimeErrors() : TTableResultWithPeriod(kErrorsChapter, kPartTimeTitle, true) {
  FHeaderData = {PartTimeHeader()};
}

TPartTimeWarnings::TPartTimeWarnings() : TTableResultWithPeriod(kWarningsChapter, kPartTimeTitle, false) {
  FHeaderData = {PartTimeHeader()};
}

// ---- TAddPdDataWarning ----------------------------------------------------------

TAddPdDataWarning::TAddPdDataWarning(std::shared_ptr<TWorkPeriod> Period, std::shared_ptr<TWorker> worker_IS,
                                     std::string_view Children, std::string_view AdminLeave,
                                     std::string_view AddPdDataRSV, std::string_view Leave,
                                     std::string_view LongLeave, std::string_view ParentalLeave,
                                     std::string_view TempIncapacity, std::string_view SeasonStr,
                                     std::string_view UIKStr, std::string_view OTSPeriod)
    : TResultRecordWithPeriod(std::move(Period)),
      FSeason(Esc(SeasonStr)),
      FTempIncapacity(Esc(TempIncapacity)),
      FUIK(Esc(UIKStr)),
      FOTSPeriod(Esc(OTSPeriod)),
      FChildren(Esc(Children)),
      FAdminLeave(Esc(AdminLeave)),
      FParentalLeave(Esc(ParentalLeave)),
      FLeave(Esc(Leave)),
      FLongLeave(Esc(LongLeave)),
      FAddPdDataRSV(Esc(AddPdDataRSV)) {
  const TNodeData* location = worker_IS ? &worker_IS->NodeData : nullptr;
  Bind(*this, std::move(worker_IS), nullptr, location);
}

std::unique_ptr<TAddPdDataWarning> TAddPdDataWarning::TryCreateAddPdDataWarning(
    std::shared_ptr<TWorkPeriod> Period, std::shared_ptr<TWorker> Worker_IS, bool Season, bool UIK,
    std::string_view OTSPeriod, const TAddPdData& AddPdData) {
  using E = TAddPdDataEnum;
  std::string children;
  if (AddPdData.ValueByType(E::epdLongChildren)) {
    children = AddPdData.DetailByType(E::epdLongChildren);
  } else if (AddPdData.ValueByType(E::epdChildren)) {
    children = AddPdData.DetailByType(E::epdChildren);
  }
  const std::string adminLeave = AddPdData.DetailByType(E::epdAdmin);
  const std::string rsv = AddPdData.DetailByRSV();
  const std::string leave = JoinLeave(adminLeave, AddPdData.DetailByType(E::epdNoPay));
  const std::string parentalLeave = AddPdData.DetailByType(E::epdParentalLeave);
  const std::string tempIncapacity = AddPdData.DetailByType(E::epdTempIncapacity);
  const std::string longLeave = AddPdData.DetailByType(E::epdLongLeave);
  const std::string season = Season ? "СЕЗОН" : "";
  const std::string uik = UIK ? "УИК104" : "";
  if (children.empty() && adminLeave.empty() && rsv.empty() && leave.empty() && longLeave.empty() &&
      parentalLeave.empty() && tempIncapacity.empty() && season.empty() && uik.empty()) {
    return nullptr;
  }
  return std::make_unique<TAddPdDataWarning>(std::move(Period), std::move(Worker_IS), children, adminLeave, rsv,
                                             leave, longLeave, parentalLeave, tempIncapacity, season, uik,
                                             OTSPeriod);
}

void TAddPdDataWarning::MergeWithAnotherWarning(const TAddPdDataWarning& other) {
  const auto join = [](std::string& own, const std::string& theirs) { own += "<br>" + theirs; };
  join(FChildren, other.FChildren);
  join(FParentalLeave, other.FParentalLeave);
  join(FSeason, other.FSeason);
  join(FLeave, other.FLeave);
  join(FUIK, other.FUIK);
  join(FOTSPeriod, other.FOTSPeriod);
  join(FAdminLeave, other.FAdminLeave);
  join(FTempIncapacity, other.FTempIncapacity);
  join(FLongLeave, other.FLongLeave);
  join(FAddPdDataRSV, other.FAddPdDataRSV);
  join(FListComments, other.FListComments);
}

void TAddPdDataWarning::AppendListComment(std::string_view periodText, std::string_view note) {
  FListComments += Esc(periodText) + ": \"" + Esc(note) + "\"<br>";
}

void TAddPdDataWarning::PrintLine(TLineWriter& streamWriter) {
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  // Already HTML (see the class comment).
  for (const std::string* text : {&FChildren, &FParentalLeave, &FLeave, &FOTSPeriod, &FSeason, &FUIK,
                                  &FTempIncapacity, &FLongLeave, &FAddPdDataRSV, &FListComments}) {
    values.push_back(*text);
  }
  PrintRow(streamWriter, values);
}

// ---- Flight, PDRK, jump and part-time records ---------------------------------------

TBasisPeriodWarning::TBasisPeriodWarning(std::shared_ptr<TWorker> worker_IS,
                                         std::shared_ptr<TWorkPeriod> workPeriod_IS, std::string retirementBasis)
    : TResultRecordWithPeriod(workPeriod_IS), fRetirementBasis(std::move(retirementBasis)) {
  const TNodeData* location = NodeDataOf(workPeriod_IS);
  Bind(*this, std::move(worker_IS), std::move(workPeriod_IS), location);
}

void TFlightWarning::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(Esc(fRetirementBasis));
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(period != nullptr ? Esc(period->Hours) : "");
  values.push_back(period != nullptr ? Esc(period->Minutes) : "");
  PrintRow(streamWriter, values);
}

void TPDRKWarning::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(Esc(fRetirementBasis));
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(period != nullptr ? FloatToStr(period->PDRKHours) : "");
  values.push_back(period != nullptr ? FloatToStr(period->PDRKMinutes) : "");
  values.push_back(period != nullptr ? Esc(period->RateStr()) : "");
  PrintRow(streamWriter, values);
}

void TJumpWarning::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(cells::BasesOf(period));
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(period != nullptr ? Esc(period->Hours) : "");
  PrintRow(streamWriter, values);
}

TPartTimeResult::TPartTimeResult(std::string lgotBasis, std::string retirementBasis,
                                 std::shared_ptr<TWorker> worker_IS, std::shared_ptr<TWorkPeriod> workPeriod_IS)
    : TResultRecordWithPeriod(workPeriod_IS),
      FLgotBasis(std::move(lgotBasis)),
      fRetirementBasis(std::move(retirementBasis)) {
  const TNodeData* location = workPeriod_IS ? &workPeriod_IS->RateNodeData : nullptr;
  Bind(*this, std::move(worker_IS), std::move(workPeriod_IS), location);
}

void TPartTimeResult::PrintLine(TLineWriter& streamWriter) {
  const TWorkPeriod* period = FWorkPeriod_PD.get();
  std::vector<std::string> values;
  cells::AppendPerson(values, FWorker_PD.get());
  values.push_back(Esc(FLgotBasis));
  values.push_back(cells::CodeOf(period));
  values.push_back(Esc(fRetirementBasis));
  values.push_back(cells::BeginOf(period));
  values.push_back(cells::EndOf(period));
  values.push_back(period != nullptr ? Esc(period->RateStr()) : "");
  PrintRow(streamWriter, values);
}

// ---- Overlapping periods --------------------------------------------------------------

TCrossingPDPeriodsErrors::TCrossingPDPeriodsErrors() : TTableResult(kErrorsChapter, "", true) {
  FTableName =
      "Периоды стажа пересекаются, но в параметрах \"ДопСведенияИС\" периодов нет значений, входящих в список: ";
  for (std::size_t i = 0; i < ExcusedCrossingCodes.size(); ++i) {
    if (i > 0) FTableName += ", ";
    FTableName += ExcusedCrossingCodes[i];
  }
  FHeaderData = {PlainRow({"Страховое свидетельство", "ФИО", "Период № 1", "№ пачки № 1", "№ в пачке № 1",
                           "Льгота № 1", "Дополнительные сведения ИС № 1", "Период № 2", "№ пачки № 2",
                           "№ в пачке № 2", "Льгота № 2", "Дополнительные сведения ИС № 2"})};
}

TCrossingPDPeriodError::TCrossingPDPeriodError(const TWorkPeriod& PdWorkperiod,
                                               const TWorkPeriod& SecondPdWorkperiod,
                                               std::shared_ptr<TWorker> Worker_PD)
    : FFirstWorkPeriodStr(PdWorkperiod.pPeriodString()),
      FFirstBasesAndCode(PdWorkperiod.BasesAndCode()),
      FFirstAddPdData(PdWorkperiod.AddPdData.ToString()),
      FFirstPackNum(PdWorkperiod.PackNum),
      FFirstNumInPack(PdWorkperiod.NumInPack),
      FSecondWorkPeriodStr(SecondPdWorkperiod.pPeriodString()),
      FSecondBasesAndCode(SecondPdWorkperiod.BasesAndCode()),
      FSecondAddPdData(SecondPdWorkperiod.AddPdData.ToString()),
      FSecondPackNum(SecondPdWorkperiod.PackNum),
      FSecondNumInPack(SecondPdWorkperiod.NumInPack) {
  FWorker_PD = std::move(Worker_PD);
}

void TCrossingPDPeriodError::PrintLine(TLineWriter& streamWriter) {
  std::vector<std::string> values;
  cells::AppendSnAndName(values, FWorker_PD.get());
  for (const std::string* text :
       {&FFirstWorkPeriodStr, &FFirstPackNum, &FFirstNumInPack, &FFirstBasesAndCode, &FFirstAddPdData,
        &FSecondWorkPeriodStr, &FSecondPackNum, &FSecondNumInPack, &FSecondBasesAndCode, &FSecondAddPdData}) {
    values.push_back(Esc(*text));
  }
  PrintRow(streamWriter, values);
}

TCrossingErrorsCollector::TCrossingErrorsCollector(std::vector<std::unique_ptr<TResult>>& ErrorResults)
    : fErrorResults(ErrorResults) {}

void TCrossingErrorsCollector::CrossingFound(const TWorker& worker, const TWorkPeriod& first,
                                             const TWorkPeriod& second) {
  if (fTable == nullptr || fTableWorker != &worker) {
    auto table = std::make_unique<TCrossingPDPeriodsErrors>();
    fTable = table.get();
    fTableWorker = &worker;
    fErrorResults.push_back(std::move(table));
  }
  // A worker made outside a shared pointer cannot be shared; its row then
  // names nobody rather than failing.
  std::shared_ptr<TWorker> shared = std::const_pointer_cast<TWorker>(worker.weak_from_this().lock());
  fTable->AddRecord(std::make_unique<TCrossingPDPeriodError>(first, second, std::move(shared)));
}

void DivideCrossWorkPeriods(TWorker& W, std::vector<std::unique_ptr<TResult>>& ErrorResults) {
  TCrossingErrorsCollector collector(ErrorResults);
  W.DivideCrossWorkPeriods(&collector);
}

}  // namespace morvel
