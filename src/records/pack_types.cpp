#include "records/pack_types.h"

namespace morvel {

std::string_view PDTypeName(TPDType type) {
  switch (type) {
    case TPDType::pdtSZV61: return "СЗВ-6-1";
    case TPDType::pdtSZV62: return "СЗВ-6-2";
    case TPDType::pdtSPV1: return "СПВ-1";
    case TPDType::pdtSZV64: return "СЗВ-6-4";
    case TPDType::pdtRSV1: return "РСВ-1";
    case TPDType::pdtSPV2: return "СПВ-2";
    case TPDType::pdtSZVStag: return "СЗВ-СТАЖ";
    case TPDType::pdtSZVCorr: return "СЗВ-КОРР";
    case TPDType::pdtSZVBase: return "СЗВ-ИСХ";
    case TPDType::pdtEFS1: return "ЕФС-1";
  }
  return "";
}

TPackGeneration GenerationOf(TPDType type) {
  switch (type) {
    case TPDType::pdtSZVStag:
    case TPDType::pdtSZVCorr:
    case TPDType::pdtSZVBase: return TPackGeneration::pg2017;
    case TPDType::pdtEFS1: return TPackGeneration::pgEFS1;
    default: return TPackGeneration::pgBefore2017;
  }
}

std::string_view UtDataTypeName(TUtDataType type) {
  switch (type) {
    case TUtDataType::udtBaseBase: return "";
    case TUtDataType::udtCorrCorr: return "Корректирующая";
    case TUtDataType::udtStagBase: return "Исходная";
    case TUtDataType::udtStagAdd: return "Дополняющая";
    case TUtDataType::udtStagPens: return "Назначение пенсии";
  }
  return "";
}

int PeriodFromCode(int year, int code) {
  if (year < 1996) return -1;
  if (year == 1996) {
    return code == 3 || code == 4 ? code : -1;
  }
  if (year <= 2000) {
    switch (code) {
      case 0: return 4;
      case 2: return 2;
      case 4: return 4;
      default: return -1;
    }
  }
  if (year == 2001) {
    switch (code) {
      case 0: return 4;
      case 1: return 3;
      case 2: return 2;
      case 3: return 3;
      case 4: return 4;
      case 5: return 1;
      case 6: return 2;
      case 7: return 3;
      case 8: return 4;
      case 9: return 4;
      default: return -1;
    }
  }
  if (year <= 2009) return code == 0 ? 4 : -1;
  if (year == 2010) {
    switch (code) {
      case 0: return 4;
      case 1: return 2;
      case 2: return 4;
      default: return -1;
    }
  }
  if (year <= 2013) {
    if (code == 0) return 4;
    return code >= 1 && code <= 4 ? code : -1;
  }
  if (year <= 2016) {
    switch (code) {
      case 0: return 4;
      case 3: return 1;
      case 6: return 2;
      case 9: return 3;
      default: return -1;
    }
  }
  return code == 0 ? 4 : -1;
}

}  // namespace morvel
