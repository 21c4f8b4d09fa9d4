#include "records/pack.h"

#include <exception>

#include "base/error.h"
#include "base/text.h"
#include "records/pack_names.h"
#include "records/reading.h"
#include "xml/node_access.h"

namespace morvel {
namespace {

std::string ServiceElementName(TPDType form) {
  switch (form) {
    case TPDType::pdtSZV61:
    case TPDType::pdtSZV62:
    case TPDType::pdtSPV1: return "ВХОДЯЩАЯ_ОПИСЬ_ПО_СТРАХОВЫМ_ВЗНОСАМ";
    case TPDType::pdtSZV64: return "ВХОДЯЩАЯ_ОПИСЬ_ПО_СУММАМ_ВЫПЛАТ_И_ПО_СТРАХОВЫМ_ВЗНОСАМ";
    case TPDType::pdtRSV1: return "СВЕДЕНИЯ_ПО_ПАЧКЕ_ДОКУМЕНТОВ_РАЗДЕЛА_6";
    case TPDType::pdtSPV2: return "ВХОДЯЩАЯ_ОПИСЬ";
    default: return "СлужебнаяИнформация";
  }
}

// The tag names of these messages are shown as text: the protocol writes a
// message as it is, and a bare "<ДатаСоставления>" would be taken for markup
// and vanish from the page.
std::string MissingTag(const std::string& name) { return "Отсутствует тег " + HtmlEscape("<" + name + ">"); }
std::string EmptyTag(const std::string& name) { return "Значение тега " + HtmlEscape("<" + name + ">") + " не указано"; }

}  // namespace

TPack::TPack()
    : AddPdDataWarnings(std::make_unique<TAddPdDataWarnings>()),
      PDRKWarnings(std::make_unique<TPDRKWarnings>()),
      FlightWarnings(std::make_unique<TFlightWarnings>()),
      PartTimeWarnings(std::make_unique<TPartTimeWarnings>()),
      PartTimeErrors(std::make_unique<TPartTimeErrors>()),
      JumpWarnings(std::make_unique<TJumpWarnings>()) {}

TPack::TPack(const TPack& Pack, const TPeriodically& Periodically) : TPack() {
  if (Pack.BaseData) {
    BaseData = std::make_unique<TBaseData>(*Pack.BaseData, Periodically);
  } else {
    BaseData = std::make_unique<TBaseData>();
    BaseData->Year = Periodically.Year;
    BaseData->CorrYear = Periodically.CorrYear;
  }
  FileName = Pack.FileName;
  FPackNum = Pack.FPackNum;
  FOrgName = Pack.FOrgName;
  FShortOrgName = Pack.FShortOrgName;
  FPackDate = Pack.FPackDate;
}

TPack::~TPack() = default;

const TPackNames& TPack::Names() {
  if (!fNames) {
    const TPDType form = BaseData ? BaseData->FPDType : TPDType::pdtSZV61;
    const TUtModeFormat mode = BaseData ? BaseData->FUtMode : TUtModeFormat::umfNone;
    fNames = std::make_unique<TPackNames>(MakePackNames(form, mode));
  }
  return *fNames;
}

void TPack::AddError(std::string message) {
  FPackErrors.push_back(std::make_unique<TProtocolMessage>(std::move(message), true));
}

std::unique_ptr<TPack> TPack::TryGetPackData(TMyNode* XmlFile, TPDType PDType, TProtocolMessageList& FSearchErrors,
                                             std::unique_ptr<TBaseData>& BaseData, const std::string& FileName) {
  try {
    if (XmlFile == nullptr || !BaseData) return nullptr;
    const TPackGeneration generation = GenerationOf(PDType);
    const bool before2017 = generation == TPackGeneration::pgBefore2017;
    const std::string af(PrefixOf(AFPrefix, BaseData->FUtMode));
    auto fail = [&FSearchErrors](std::string message) {
      FSearchErrors.push_back(std::make_unique<TProtocolMessage>(std::move(message), true));
      return nullptr;
    };

    const std::string serviceName = ServiceElementName(PDType);
    // The fund's files of the forms before 2017 hold the pack's documents one level
    // below the root (in ПачкаВходящихДокументов); for those forms a service
    // element that is not a child of the root is taken from there. The later forms
    // keep it directly under the root, and one found deeper would belong to some
    // other document wrapped in the file.
    TMyNode* serviceNode = XmlFile->SelectSingleNode(serviceName);
    if (serviceNode == nullptr && before2017) serviceNode = FirstDescendant(XmlFile, serviceName);
    TMyNode& service = reading::Need(serviceNode, serviceName);

    const std::string dateName = before2017 ? "ДатаСоставления" : af + "ДатаВремя";
    TMyNode* dateNode = service.SelectSingleNode(dateName);
    if (dateNode == nullptr) return fail(MissingTag(dateName));
    // The 2017 and ЕФС-1 forms give a date and time; the day is what counts.
    std::string date = before2017 ? std::string(dateNode->text()) : Utf8Substr(dateNode->text(), 0, 10);
    if (date.empty()) return fail(EmptyTag(dateName));

    const std::string numberName = before2017 ? "НомерПачки" : af + "GUID";
    TMyNode* numberNode = service.SelectSingleNode(numberName);
    if (numberNode == nullptr) return fail(MissingTag(numberName));
    std::string number;
    if (before2017) {
      const std::string_view main = ChildText(numberNode, "Основной");
      const std::string_view sub = ChildText(numberNode, "ПоПодразделению");
      number = main.empty() ? sub : (sub.empty() ? main : std::string(main) + "/" + std::string(sub));
    } else {
      number = numberNode->text();
    }
    if (number.empty()) return fail(std::string(before2017 ? "Номер пачки" : "GUID документа") + " не указан");

    TMyNode* employer = nullptr;
    std::string employerName;
    if (before2017) {
      employerName = "СоставительПачки";
      employer = service.SelectSingleNode(employerName);
    } else {
      employerName = "Страхователь";
      const std::string ownerName = generation == TPackGeneration::pgEFS1 ? "ЕФС-1" : "ОДВ-1";
      employer = reading::Need(XmlFile->SelectSingleNode(ownerName), ownerName).SelectSingleNode(employerName);
    }
    if (employer == nullptr) return fail(MissingTag(employerName));

    auto pack = std::make_unique<TPack>();
    pack->FPackDate = std::move(date);
    pack->FPackNum = std::move(number);
    if (before2017) {
      pack->FOrgName = ChildText(employer, "НаименованиеОрганизации");
      pack->FShortOrgName = ChildText(employer, "НаименованиеКраткое");
    } else {
      const std::string orgName = generation == TPackGeneration::pgEFS1
                                      ? std::string("ЕФС:Наименование")
                                      : std::string(PrefixOf(ISPrefix, BaseData->FUtMode)) + "Наименование";
      pack->FOrgName = ChildText(employer, orgName);
      pack->FShortOrgName = pack->FOrgName;
    }
    pack->BaseData = std::move(BaseData);
    pack->FileName = FileName;
    return pack;
  } catch (const std::exception&) {
    // A file without the expected service element: the searcher reports it.
    return nullptr;
  }
}

bool TPack::TryGetPackDateAsDate(TDate& date) const {
  const bool before2017 = BaseData && BaseData->FUtMode == TUtModeFormat::umfNone &&
                          GenerationOf(BaseData->FPDType) == TPackGeneration::pgBefore2017;
  if (before2017) return TryParseDate(FPackDate, "dd.mm.yyyy", '.', date);
  return TryParseDate(FPackDate, "yyyy-mm-dd", '-', date);
}

TDate TPack::GetPackDateAsDate() const {
  TDate date = 0;
  if (!TryGetPackDateAsDate(date)) throw EConvertError("'" + QuotedInput(FPackDate) + "' is not a valid date");
  return date;
}

}  // namespace morvel
