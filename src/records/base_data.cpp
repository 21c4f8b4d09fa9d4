#include "records/base_data.h"

#include <array>
#include <exception>
#include <string_view>

#include "base/text.h"
#include "log/logger.h"
#include "xml/node_access.h"

namespace morvel {
namespace {

void Info(const std::string& text) { LogEntry(text, false); }
void Error(const std::string& text) { LogEntry(text, true); }

// The text names the candidate or holds it.
bool Names(std::string_view text, std::string_view candidate) { return text == candidate || Contains(text, candidate); }

struct TOldForm {
  std::string_view documentType;
  TPDType type;  // for the first entry decided by ВидФормы
  std::string_view section;
};

constexpr std::string_view kSZV6Document = "СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
constexpr std::string_view kSPV2Document = "СВЕДЕНИЯ_О_СТРАХОВОМ_СТАЖЕ_ЗЛ_ДЛЯ_УСТАНОВЛЕНИЯ_ПЕНСИИ";

constexpr std::array<TOldForm, 4> kOldForms = {{
    {kSZV6Document, TPDType::pdtSZV61, "ВХОДЯЩАЯ_ОПИСЬ_ПО_СТРАХОВЫМ_ВЗНОСАМ"},
    {"СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ", TPDType::pdtSZV64,
     "ВХОДЯЩАЯ_ОПИСЬ_ПО_СУММАМ_ВЫПЛАТ_И_ПО_СТРАХОВЫМ_ВЗНОСАМ"},
    {"СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ", TPDType::pdtRSV1, "СВЕДЕНИЯ_ПО_ПАЧКЕ_ДОКУМЕНТОВ_РАЗДЕЛА_6"},
    {kSPV2Document, TPDType::pdtSPV2, kSPV2Document},
}};

struct TFormOfDocument {
  std::string_view name;
  TPDType type;
};
// Told apart by ВидФормы; the order is that in which they are tried.
constexpr std::array<TFormOfDocument, 3> kSZV6Forms = {{
    {"СПВ-1", TPDType::pdtSPV1},
    {"СЗВ-6-1", TPDType::pdtSZV61},
    {"СЗВ-6-2", TPDType::pdtSZV62},
}};

constexpr std::array<TFormOfDocument, 3> k2017Forms = {{
    {"СЗВ-СТАЖ", TPDType::pdtSZVStag},
    {"СЗВ-КОРР", TPDType::pdtSZVCorr},
    {"СЗВ-ИСХ", TPDType::pdtSZVBase},
}};

struct THeader {
  TPDType type = TPDType::pdtSZV61;
  TUtModeFormat mode = TUtModeFormat::umfNone;
  TUtDataType dataType = TUtDataType::udtBaseBase;
  bool correction = false;
  std::string categoryCode;
  std::string contractType;
  int year = 0;
  int period = 0;
  int corrYear = 0;
  int corrPeriod = 0;
};

// The edition from the namespace declarations of the root "ЭДЖУВ"; the first
// declaration of the list that is present decides. False when none is.
bool ReadEdition(const TMyNode& root, THeader& h) {
  if (root.NodeName() != "ЭДЖУВ") {
    h.mode = TUtModeFormat::umfNone;
    return true;
  }
  if (HasAttr(&root, "xmlns:ЕФС")) {
    h.mode = TUtModeFormat::umfRedHot;
    h.type = TPDType::pdtEFS1;
  } else if (HasAttr(&root, "xmlns:ИС5")) {
    h.mode = TUtModeFormat::umfRedHot;
  } else if (HasAttr(&root, "xmlns:ИС4")) {
    h.mode = TUtModeFormat::umfNewest;
  } else if (HasAttr(&root, "xmlns:АФ4")) {
    h.mode = TUtModeFormat::umfNew;
  } else if (HasAttr(&root, "xmlns:АФ")) {
    h.mode = TUtModeFormat::umfOld;
  } else {
    Error("Не удалось распознать подвид формата ИС, действующего с 2017 года");
    return false;
  }
  return true;
}

// The 2017 forms: the form element, the kind of information and the
// correction flag. Returns the form element (a child of the root), or null.
TMyNode* Read2017Form(TMyNode& root, THeader& h) {
  const TFormOfDocument* form = nullptr;
  for (const TFormOfDocument& f : k2017Forms) {
    if (FirstDescendant(&root, f.name) != nullptr) {
      form = &f;
      break;
    }
  }
  if (form == nullptr) {
    Error("Форма документа не поддерживается");
    return nullptr;
  }
  h.type = form->type;
  TMyNode* formNode = root.SelectSingleNode(form->name);
  if (formNode == nullptr) return nullptr;
  if (h.type == TPDType::pdtSZVBase) {
    h.dataType = TUtDataType::udtBaseBase;
  } else {
    TMyNode* kind = FirstDescendant(formNode, "Тип");
    if (kind == nullptr) return nullptr;
    int value = 0;
    if (!TryStrToInt(kind->text(), value)) return nullptr;
    if (h.type == TPDType::pdtSZVStag && value == 0) {
      h.dataType = TUtDataType::udtStagBase;
    } else if (h.type == TPDType::pdtSZVStag && value == 1) {
      h.dataType = TUtDataType::udtStagAdd;
      h.correction = true;
    } else if (h.type == TPDType::pdtSZVCorr && value == 0) {
      h.dataType = TUtDataType::udtCorrCorr;
      h.correction = true;
    } else {
      Error("Тип формы документа не поддерживается");
      return nullptr;
    }
  }
  Info("---ТипСведений=" + std::string(UtDataTypeName(h.dataType)));
  return formNode;
}

// A required child whose text is logged and must not be empty.
bool ReadLoggedCode(TMyNode& section, std::string_view name, std::string& value) {
  TMyNode* node = section.SelectSingleNode(name);
  if (node == nullptr) return false;
  Info("---" + std::string(name) + "=" + std::string(node->text()));
  if (node->text().empty()) return false;
  value = node->text();
  return true;
}

// The forms before 2017. Returns the section element that holds the reporting
// period, or null.
TMyNode* ReadOldForm(TMyNode& root, THeader& h) {
  TMyNode* docType = FirstDescendant(&root, "ТипДокумента");
  if (docType == nullptr) {
    Error("Не указан тип документа");
    return nullptr;
  }
  Info("---ТипДокумента=" + std::string(docType->text()));
  TMyNode* document = docType->text().empty() ? nullptr : FirstDescendant(&root, docType->text());
  if (document == nullptr) {
    Error("Не указан тип документа");
    return nullptr;
  }
  const TOldForm* form = nullptr;
  for (const TOldForm& f : kOldForms) {
    if (Names(docType->text(), f.documentType)) {
      form = &f;
      break;
    }
  }
  if (form == nullptr) return nullptr;
  h.type = form->type;
  if (form->documentType == kSZV6Document) {
    TMyNode* kind = document->SelectSingleNode("ВидФормы");
    if (kind == nullptr) return nullptr;
    const TFormOfDocument* found = nullptr;
    for (const TFormOfDocument& f : kSZV6Forms) {
      if (Names(kind->text(), f.name)) {
        found = &f;
        break;
      }
    }
    if (found == nullptr) return nullptr;
    h.type = found->type;
  }
  Info("---ВидФормы=" + std::string(PDTypeName(h.type)));

  TMyNode* section = FirstDescendant(&root, form->section);
  if (section == nullptr) return nullptr;
  TMyNode* kind = section->SelectSingleNode("ТипСведений");
  if (kind == nullptr) return nullptr;
  Info("---ТипСведений=" + std::string(kind->text()));
  if (kind->text().empty() || kind->text() == "ОТМЕНЯЮЩАЯ") return nullptr;
  if (kind->text() == "КОРРЕКТИРУЮЩАЯ") h.correction = true;

  if (h.type == TPDType::pdtSZV61 || h.type == TPDType::pdtSZV62 || h.type == TPDType::pdtSPV1 ||
      h.type == TPDType::pdtSZV64) {
    if (!ReadLoggedCode(*section, "КодКатегории", h.categoryCode)) return nullptr;
  }
  if (h.type == TPDType::pdtSZV64) {
    if (!ReadLoggedCode(*section, "ТипДоговора", h.contractType)) return nullptr;
  }
  return section;
}

// The first year each form was filed in.
int YearFloor(TPDType type) {
  switch (type) {
    case TPDType::pdtSZV64: return 2013;
    case TPDType::pdtRSV1:
    case TPDType::pdtSPV2: return 2014;
    default: return 2010;
  }
}

// Year and period of an ОтчетныйПериод-like element; false when it does not
// make a period (the year floor is the caller's).
bool ReadPeriod(TMyNode* periodNode, std::string_view codeName, const char* yearLog, const char* codeLog, int floor,
                int& year, int& period) {
  TMyNode* yearNode = periodNode != nullptr ? periodNode->SelectSingleNode("Год") : nullptr;
  if (yearNode == nullptr) return false;
  if (!TryStrToInt(yearNode->text(), year)) return false;
  Info(std::string(yearLog) + IntToStr(year));
  if (year < floor) return false;
  TMyNode* codeNode = periodNode->SelectSingleNode(codeName);
  if (codeNode == nullptr) return false;
  Info(std::string(codeLog) + std::string(codeNode->text()));
  int code = 0;
  if (!TryStrToInt(codeNode->text(), code)) return false;
  period = PeriodFromCode(year, code);
  return period != -1;
}

std::unique_ptr<TBaseData> Recognise(const std::string& searchRegNum, TMyNode* root, int searchYear,
                                     int searchPeriod) {
  if (root == nullptr) {
    Error("Не удалось прочитать файл XML");
    return nullptr;
  }
  THeader h;
  if (!ReadEdition(*root, h)) return nullptr;
  const bool efs = h.type == TPDType::pdtEFS1 && h.mode == TUtModeFormat::umfRedHot;

  std::string regNumName;
  if (h.mode == TUtModeFormat::umfNone) {
    regNumName = "РегистрационныйНомер";
  } else if (efs) {
    regNumName = "ЕФС:РегНомер";
  } else {
    regNumName = std::string(PrefixOf(CommonTypesPrefix, h.mode)) + "РегНомер";
  }
  TMyNode* regNum = FirstDescendant(root, regNumName);
  if (regNum == nullptr) {
    Error("Не указан регистрационный номер");
    return nullptr;
  }
  Info("---РегистрационныйНомер=" + std::string(regNum->text()));
  if (regNum->text() != searchRegNum) {
    Error("Регистрационный номер \"" + std::string(regNum->text()) + "\" не совпадает с требуемым(\"" + searchRegNum + "\")");
    return nullptr;
  }

  if (efs) {
    // The years of a ЕФС-1 document come with each person's blocks.
    if (searchYear != 0 && searchYear < 2023) return nullptr;
    auto header = std::make_unique<TBaseData>();
    header->FPDType = TPDType::pdtEFS1;
    header->FUtMode = TUtModeFormat::umfRedHot;
    header->FUtDataType = TUtDataType::udtBaseBase;
    return header;
  }

  TMyNode* section = nullptr;
  std::string_view codeName;
  if (h.mode != TUtModeFormat::umfNone) {
    section = Read2017Form(*root, h);
    codeName = "Код";
  } else {
    section = ReadOldForm(*root, h);
    codeName = "Квартал";
  }
  if (section == nullptr) return nullptr;

  if (!ReadPeriod(section->SelectSingleNode("ОтчетныйПериод"), codeName, "---ОтчетныйПериодГод=",
                  "---ОтчетныйПериодКвартал=", YearFloor(h.type), h.year, h.period)) {
    return nullptr;
  }

  if (h.correction) {
    TMyNode* corrected = nullptr;
    if (h.type == TPDType::pdtSZVStag) {
      corrected = section->SelectSingleNode("ОтчетныйПериод");
    } else if (h.type == TPDType::pdtSZVCorr) {
      TMyNode* correctedPeriod = section->SelectSingleNode("КорректируемыйПериод");
      corrected = correctedPeriod != nullptr ? correctedPeriod->SelectSingleNode("ОтчетныйПериод") : nullptr;
    } else {
      corrected = section->SelectSingleNode("КорректируемыйОтчетныйПериод");
    }
    if (!ReadPeriod(corrected, codeName, "---КорректируемыйОтчетныйПериодГод=",
                    "---КорректируемыйОтчетныйПериодКвартал=", 2010, h.corrYear, h.corrPeriod)) {
      return nullptr;
    }
  } else {
    h.corrYear = h.year;
    h.corrPeriod = h.period;
  }

  if (searchYear != 0) {
    if (h.year != searchYear) return nullptr;
    if (searchPeriod != 0 && h.period != searchPeriod) return nullptr;
  } else if (searchPeriod != 0) {
    if (h.period != searchPeriod && h.corrPeriod != searchPeriod) return nullptr;
  }

  auto header = std::make_unique<TBaseData>();
  header->FPDType = h.type;
  header->FCategoryCode = h.categoryCode;
  header->FContractType = h.contractType;
  header->Correction = h.correction;
  header->Year = h.year;
  header->Period = h.period;
  header->CorrYear = h.corrYear;
  header->CorrPeriod = h.corrPeriod;
  header->FUtMode = h.mode;
  header->FUtDataType = h.dataType;
  return header;
}

}  // namespace

TBaseData::TBaseData(const TBaseData& baseData, const TPeriodically& periodically)
    : TPeriodically(periodically.Year, periodically.CorrYear),
      FPDType(baseData.FPDType),
      FContractType(baseData.FContractType),
      FCategoryCode(baseData.FCategoryCode),
      FUtMode(baseData.FUtMode),
      FDataType(baseData.FDataType),
      FUtDataType(baseData.FUtDataType),
      Correction(baseData.Correction) {
  Period = baseData.Period;
  CorrPeriod = baseData.CorrPeriod;
}

std::unique_ptr<TBaseData> TBaseData::TryGetBaseData(const std::string& SearchRegNum, TMyNode* Node, int SearchYear,
                                                     int SearchPeriod) {
  try {
    return Recognise(SearchRegNum, Node, SearchYear, SearchPeriod);
  } catch (const std::exception&) {
    // A document that breaks off in an unexpected place is simply not recognised.
    return nullptr;
  }
}

}  // namespace morvel
