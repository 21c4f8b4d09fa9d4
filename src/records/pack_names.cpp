#include "records/pack_names.h"

namespace morvel {

std::string PersonElementName(TPDType form) {
  switch (form) {
    case TPDType::pdtSZV61:
    case TPDType::pdtSZV62:
    case TPDType::pdtSPV1: return "СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
    case TPDType::pdtSZV64: return "СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
    case TPDType::pdtRSV1: return "СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
    case TPDType::pdtSPV2: return "СВЕДЕНИЯ_О_СТРАХОВОМ_СТАЖЕ_ЗЛ_ДЛЯ_УСТАНОВЛЕНИЯ_ПЕНСИИ";
    case TPDType::pdtSZVStag:
    case TPDType::pdtEFS1: return "ЗЛ";
    case TPDType::pdtSZVCorr: return "СЗВ-КОРР";
    case TPDType::pdtSZVBase: return "СЗВ-ИСХ";
  }
  return "ЗЛ";
}

TPackNames MakePackNames(TPDType form, TUtModeFormat mode) {
  TPackNames n;
  n.form = form;
  n.generation = GenerationOf(form);
  n.person = PersonElementName(form);
  n.workPeriod = "СтажевыйПериод";

  switch (n.generation) {
    case TPackGeneration::pgBefore2017:
      n.fullName = "ФИО";
      n.surname = "Фамилия";
      n.name = "Имя";
      n.patronymic = "Отчество";
      n.insuranceNumber = "СтраховойНомер";
      n.numberInPack = "НомерВпачке";
      n.periodStart = "ДатаНачалаПериода";
      n.periodEnd = "ДатаКонцаПериода";
      n.entry = "ЛьготныйСтаж";
      n.entryDetails = "ОсобенностиУчета";
      n.territory = "ТерриториальныеУсловия";
      n.territoryCode = "ОснованиеТУ";
      n.territoryCoeff = "Коэффициент";
      n.special = "ОсобыеУсловияТруда";
      n.specialCode = "ОснованиеОУТ";
      n.listPosition = "ПозицияСписка";
      n.longService = "ВыслугаЛет";
      n.longServiceBasis = "ОснованиеВЛ";
      n.rateShare = "ДоляСтавки";
      n.seniority = "ИсчисляемыйСтаж";
      n.seniorityBasis = "ОснованиеИС";
      n.calendarOutput = "ВыработкаКалендарная";
      n.allMonths = "ВсеМесяцы";
      n.allDays = "ВсеДни";
      n.hoursOutput = "ВыработкаВчасах";
      n.hours = "Часы";
      n.minutes = "Минуты";
      n.addPdData = "ДекретДети";
      n.profession = "ПрофессияДолжность";
      break;
    case TPackGeneration::pg2017: {
      const std::string ut(PrefixOf(CommonTypesPrefix, mode));
      const std::string is(PrefixOf(ISPrefix, mode));
      const std::string vs(PrefixOf(VSPrefix, mode));
      n.fullName = "ФИО";
      n.surname = ut + "Фамилия";
      n.name = ut + "Имя";
      n.patronymic = ut + "Отчество";
      n.insuranceNumber = "СНИЛС";
      n.periodDates = is + "Период";
      n.periodStart = ut + "С";
      n.periodEnd = ut + "По";
      n.entry = is + "ЛьготныйСтаж";
      n.territory = is + "ТУ";
      n.territoryCode = is + "Основание";
      n.territoryCoeff = is + "Коэффициент";
      n.special = is + "ОУТ";
      n.specialCode = is + "Код";
      n.listPosition = is + "ПозицияСписка";
      n.longService = is + "ВЛ";
      n.longServiceBasis = is + "Основание";
      n.rateShare = is + "ДоляСтавки";
      n.seniority = is + "ИС";
      n.seniorityBasis = is + "Основание";
      n.calendarOutput = vs + "ВыработкаКалендарная";
      n.allMonths = vs + "ВсеМесяцы";
      n.allDays = vs + "ВсеДни";
      n.hoursOutput = vs + "ВыработкаВчасах";
      n.hours = vs + "Часы";
      n.minutes = vs + "Минуты";
      n.addPdData = is + "ДопСведенияИС";
      break;
    }
    case TPackGeneration::pgEFS1:
      n.fullName = "УТ2:ФИО";
      n.surname = "УТ2:Фамилия";
      n.name = "УТ2:Имя";
      n.patronymic = "УТ2:Отчество";
      n.insuranceNumber = "УТ2:СНИЛС";
      n.periodDates = "Период";
      n.periodStart = "УТ2:С";
      n.periodEnd = "УТ2:По";
      n.entry = "ЛьготныйСтаж";
      n.territory = "ЕФС:ТУ";
      n.territoryCode = "ЕФС:Основание";
      n.territoryCoeff = "ЕФС:Коэффициент";
      n.special = "ЕФС:ОУТ";
      n.specialCode = "ЕФС:Код";
      n.listPosition = "ЕФС:ПозицияСписка";
      n.longService = "ЕФС:ВЛ";
      n.longServiceBasis = "ЕФС:Основание";
      n.rateShare = "ЕФС:ДоляСтавки";
      n.seniority = "ЕФС:ИС";
      n.seniorityBasis = "ЕФС:Основание";
      n.calendarOutput = "ВС2:ВыработкаКалендарная";
      n.allMonths = "ВС2:ВсеМесяцы";
      n.allDays = "ВС2:ВсеДни";
      n.hoursOutput = "ВС2:ВыработкаВчасах";
      n.hours = "ВС2:Часы";
      n.minutes = "ВС2:Минуты";
      n.addPdData = "ЕФС:ДопСведенияИС";
      n.sout = "ЕФС:СОУТ";
      n.soutCode = "ЕФС:Код";
      break;
  }
  return n;
}

}  // namespace morvel
