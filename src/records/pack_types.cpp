#include "records/pack_types.h"

#include "config/settings.h"

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
  // The period codes of the record forms are those of the reporting periods.
  return ReportPeriodToQuarter(year, code);
}

}  // namespace morvel
