#include "pack_writer.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/text.h"

namespace morvel::gen {
namespace {

// Writes one element per line; the text is collected in UTF-8 and written in
// the file's encoding in large pieces, always at a line end.
class TXmlOut {
 public:
  TXmlOut(std::ostream& out, bool cp1251) : fOut(out), fCp1251(cp1251) {
    fBuffer = std::string("<?xml version=\"1.0\" encoding=\"") + (cp1251 ? "windows-1251" : "UTF-8") + "\"?>\n";
  }
  ~TXmlOut() { Flush(); }
  TXmlOut(const TXmlOut&) = delete;
  TXmlOut& operator=(const TXmlOut&) = delete;

  void Open(const std::string& name, const std::vector<std::pair<std::string, std::string>>& attributes = {}) {
    std::string line = "<" + name;
    for (const auto& [key, value] : attributes) line += " " + key + "=\"" + Escape(value) + "\"";
    Line(line + ">");
    fOpen.push_back(name);
  }
  void Close() {
    const std::string name = fOpen.back();
    fOpen.pop_back();
    Line("</" + name + ">");
  }
  void Leaf(const std::string& name, const std::string& text) {
    Line("<" + name + ">" + Escape(text) + "</" + name + ">");
  }
  void LeafIf(const std::string& name, const std::string& text) {
    if (!text.empty()) Leaf(name, text);
  }

 private:
  static std::string Escape(const std::string& text) { return HtmlEscape(text); }
  void Line(const std::string& text) {
    fBuffer.append(fOpen.size(), ' ');
    fBuffer += text;
    fBuffer += '\n';
    if (fBuffer.size() > (1u << 20)) Flush();
  }
  void Flush() {
    fOut << (fCp1251 ? Utf8ToCp1251(fBuffer) : fBuffer);
    fBuffer.clear();
  }

  std::ostream& fOut;
  bool fCp1251;
  std::string fBuffer;
  std::vector<std::string> fOpen;
};


std::string Money(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", value);
  return buf;
}

std::string MakeGuid(const TSynthEmployer& e, const TPackOptions& o) {
  TRandom r(std::hash<std::string>{}(e.regNum + "/" + std::to_string(e.year) + "/" + o.packNumber));
  char buf[64];
  const std::uint64_t a = r.Next();
  const std::uint64_t b = r.Next();
  std::snprintf(buf, sizeof buf, "%08x-%04x-4%03x-a%03x-%012llx", static_cast<unsigned>(a >> 32),
                static_cast<unsigned>(a & 0xffff), static_cast<unsigned>((a >> 16) & 0xfff),
                static_cast<unsigned>(b >> 52), static_cast<unsigned long long>(b & 0xffffffffffffULL));
  return buf;
}

TSynthDate PackDate(const TSynthEmployer& e, const TPackOptions& o) {
  if (o.packDate.year != 0) return o.packDate;
  if (e.lastMonth == 12) return {e.year + 1, 1, 20};
  return {e.year, e.lastMonth + 1, 14};
}

// ---- The forms before 2017 ---------------------------------------------------

std::string PersonDocument(TGenForm form) {
  switch (form) {
    case TGenForm::szv64: return "СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
    case TGenForm::rsv1: return "СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
    case TGenForm::spv2: return "СВЕДЕНИЯ_О_СТРАХОВОМ_СТАЖЕ_ЗЛ_ДЛЯ_УСТАНОВЛЕНИЯ_ПЕНСИИ";
    default: return "СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
  }
}

std::string ServiceDocument(TGenForm form) {
  switch (form) {
    case TGenForm::szv64: return "ВХОДЯЩАЯ_ОПИСЬ_ПО_СУММАМ_ВЫПЛАТ_И_ПО_СТРАХОВЫМ_ВЗНОСАМ";
    case TGenForm::rsv1: return "СВЕДЕНИЯ_ПО_ПАЧКЕ_ДОКУМЕНТОВ_РАЗДЕЛА_6";
    case TGenForm::spv2: return "ВХОДЯЩАЯ_ОПИСЬ";
    default: return "ВХОДЯЩАЯ_ОПИСЬ_ПО_СТРАХОВЫМ_ВЗНОСАМ";
  }
}

std::string FormTitle(TGenForm form) {
  switch (form) {
    case TGenForm::szv61: return "СЗВ-6-1";
    case TGenForm::szv62: return "СЗВ-6-2";
    case TGenForm::spv1: return "СПВ-1";
    default: return "";
  }
}

void OldReportingPeriods(TXmlOut& x, const TSynthEmployer& e, const TPackOptions& o) {
  x.Leaf("ТипСведений", o.correction ? "КОРРЕКТИРУЮЩАЯ" : "ИСХОДНАЯ");
  x.Open("ОтчетныйПериод");
  x.Leaf("Квартал", std::to_string(o.periodCode));
  x.Leaf("Год", std::to_string(e.year));
  x.Close();
  if (o.correction) {
    x.Open("КорректируемыйОтчетныйПериод");
    x.Leaf("Квартал", std::to_string(o.corrCode));
    x.Leaf("Год", std::to_string(o.corrYear));
    x.Close();
  }
}

void OldEntry(TXmlOut& x, const TSynthWorkplace& w, const TSynthEntry& entry, int line) {
  x.Open("ЛьготныйСтаж");
  x.Leaf("НомерСтроки", std::to_string(line));
  x.Open("ОсобенностиУчета");
  if (!w.terrCode.empty()) {
    x.Open("ТерриториальныеУсловия");
    x.Leaf("ОснованиеТУ", w.terrCode);
    x.LeafIf("Коэффициент", w.terrCoeff);
    x.Close();
  }
  if (!entry.territoryOnly) {
    if (!w.outCode.empty()) {
      x.Open("ОсобыеУсловияТруда");
      x.Leaf("ОснованиеОУТ", w.outCode);
      x.LeafIf("ПозицияСписка", w.listPosition);
      x.Close();
    }
    if (!w.seniorityBasis.empty()) {
      x.Open("ИсчисляемыйСтаж");
      x.Leaf("ОснованиеИС", w.seniorityBasis);
      x.Close();
    }
    if (!w.vlBasis.empty()) {
      x.Open("ВыслугаЛет");
      x.Leaf("ОснованиеВЛ", w.vlBasis);
      x.LeafIf("ДоляСтавки", entry.rate);
      if (!entry.hours.empty()) {
        x.Open("ВыработкаВчасах");
        x.Leaf("Часы", entry.hours);
        x.Leaf("Минуты", entry.minutes.empty() ? "0" : entry.minutes);
        x.Close();
      }
      x.Close();
    }
  }
  x.LeafIf("ДекретДети", entry.addPd);
  if (!entry.territoryOnly) x.Leaf("ПрофессияДолжность", w.post);
  x.Close();
  x.Close();
}

void OldPayments(TXmlOut& x, TGenForm form, const TSynthPerson& p) {
  if (p.payments.empty()) return;
  // СЗВ-6-4 lists the months before their total, РСВ-1 the total first.
  const std::string row =
      form == TGenForm::szv64 ? "СуммаВыплатИвознагражденийПоДопТарифу" : "СведенияОсуммеВыплатИвознагражденийПоДопТарифу";
  double sum1 = 0;
  double sum218 = 0;
  for (const TSynthPayment& pay : p.payments) {
    sum1 += pay.sum1;
    sum218 += pay.sum218;
  }
  auto total = [&] {
    x.Open(row);
    x.Leaf("ТипСтроки", "ИТОГ");
    x.Leaf("КодСтроки", "1");
    x.LeafIf("КодСпециальнойОценкиУсловийТруда", p.payments.front().soutClass);
    x.Leaf("СуммаВыплатПоДопТарифу27-1", Money(sum1));
    x.Leaf("СуммаВыплатПоДопТарифу27-2-18", Money(sum218));
    x.Close();
  };
  if (form != TGenForm::szv64) total();
  for (const TSynthPayment& pay : p.payments) {
    x.Open(row);
    x.Leaf("ТипСтроки", "МЕСЦ");
    x.Leaf("Месяц", std::to_string(pay.month));
    x.LeafIf("КодСпециальнойОценкиУсловийТруда", pay.soutClass);
    x.Leaf("СуммаВыплатПоДопТарифу27-1", Money(pay.sum1));
    x.Leaf("СуммаВыплатПоДопТарифу27-2-18", Money(pay.sum218));
    x.Close();
  }
  if (form == TGenForm::szv64) total();
}

void WriteOldPack(const TSynthEmployer& e, const TPackOptions& o, std::ostream& out) {
  TXmlOut x(out, true);
  const std::string person = PersonDocument(o.form);
  char packNo[16];
  std::snprintf(packNo, sizeof packNo, "%05d", std::atoi(o.packNumber.c_str()));
  x.Open("ФайлПФР");
  x.Leaf("ИмяФайла", "PFR-700-Y-" + std::to_string(e.year) + "-ORG-" + e.regNum + "-DCK-" + packNo +
                         "-DPT-000000-DCK-00000.XML");
  x.Open("ЗаголовокФайла");
  x.Leaf("ВерсияФормата", "07.00");
  x.Leaf("ТипФайла", "ВНЕШНИЙ");
  x.Open("ПрограммаПодготовкиДанных");
  x.Leaf("НазваниеПрограммы", "morvel-gen");
  x.Leaf("Версия", "1.0");
  x.Close();
  x.Leaf("ИсточникДанных", "СТРАХОВАТЕЛЬ");
  x.Close();
  // As in the fund's files, the documents of the pack stand one level down.
  x.Open("ПачкаВходящихДокументов", {{"Окружение", "В составе файла"}, {"Стадия", "До обработки"}});

  x.Open(ServiceDocument(o.form));
  x.Leaf("НомерВпачке", "1");
  x.Open("СоставительПачки");
  x.Open("НалоговыйНомер");
  x.Leaf("ИНН", e.inn);
  x.Leaf("КПП", e.kpp);
  x.Close();
  x.Leaf("НаименованиеОрганизации", e.name);
  x.Leaf("НаименованиеКраткое", e.shortName);
  x.Leaf("РегистрационныйНомер", e.regNum);
  x.Close();
  x.Open("НомерПачки");
  x.Leaf("Основной", packNo);
  x.Close();
  x.Open("СоставДокументов");
  x.Leaf("Количество", "1");
  x.Open("НаличиеДокументов");
  x.Leaf("ТипДокумента", person);
  x.Leaf("Количество", std::to_string(e.persons.size()));
  x.Close();
  x.Close();
  x.Leaf("ДатаСоставления", PackDate(e, o).DMY());
  if (o.form != TGenForm::spv2) {
    OldReportingPeriods(x, e, o);
    if (o.form != TGenForm::rsv1) x.Leaf("КодКатегории", "НР");
    if (o.form == TGenForm::szv64) x.Leaf("ТипДоговора", "ТРУДОВОЙ");
  }
  x.Close();

  int number = 2;
  for (const TSynthPerson& p : e.persons) {
    x.Open(person);
    x.Leaf("НомерВпачке", std::to_string(number++));
    if (!FormTitle(o.form).empty()) x.Leaf("ВидФормы", FormTitle(o.form));
    // A СПВ-2 states its reporting period in every document.
    if (o.form == TGenForm::spv2) OldReportingPeriods(x, e, o);
    x.Leaf("СтраховойНомер", p.snils);
    x.Open("ФИО");
    x.Leaf("Фамилия", p.surname);
    x.Leaf("Имя", p.name);
    x.Leaf("Отчество", p.patronymic);
    x.Close();
    int line = 1;
    for (const TSynthPeriod& period : p.periods) {
      x.Open("СтажевыйПериод");
      x.Leaf("НомерСтроки", std::to_string(line++));
      x.Leaf("ДатаНачалаПериода", period.start.DMY());
      x.Leaf("ДатаКонцаПериода", period.finish.DMY());
      x.Leaf("КоличествоЛьготныхСоставляющих", std::to_string(period.entries.size()));
      int entryLine = 1;
      for (const TSynthEntry& entry : period.entries) {
        OldEntry(x, e.workplaces[static_cast<std::size_t>(entry.workplace)], entry, entryLine++);
      }
      x.Close();
    }
    if (o.form == TGenForm::szv64 || o.form == TGenForm::rsv1) OldPayments(x, o.form, p);
    x.Close();
  }
  x.Close();
  x.Close();
}

// ---- The 2017 forms and ЕФС-1 ------------------------------------------------------

struct TPrefixes {
  std::string ut, is, vs, af;
};

TPrefixes PrefixesOf(TGenEdition edition) {
  switch (edition) {
    case TGenEdition::old: return {"УТ:", "ИС:", "ВС:", "АФ:"};
    case TGenEdition::fresh: return {"УТ2:", "ИС2:", "ВС2:", "АФ4:"};
    case TGenEdition::newest: return {"УТ2:", "ИС4:", "ВС2:", "АФ4:"};
    case TGenEdition::redHot: return {"УТ2:", "ИС5:", "ВС2:", "АФ5:"};
  }
  return {};
}

// The namespace declarations by which the program tells the editions apart,
// with the addresses of the fund's schemas of that edition.
std::vector<std::pair<std::string, std::string>> Namespaces(TGenForm form, TGenEdition edition) {
  const std::string site = "http://пф.рф/";
  if (form == TGenForm::efs1) {
    return {{"xmlns", site + "ЕФС-1/2023-01-01"},     {"xmlns:ЕФС", site + "ЕФС/2023-01-01"},
            {"xmlns:УТ2", site + "УТ/2017-08-21"},    {"xmlns:ВС2", site + "ВС/2017-08-21"},
            {"xmlns:АФ5", site + "АФ/2023-01-01"}};
  }
  const std::string formName = form == TGenForm::szvStag ? "СЗВ-СТАЖ" : form == TGenForm::szvKorr ? "СЗВ-КОРР" : "СЗВ-ИСХ";
  switch (edition) {
    case TGenEdition::old:
      return {{"xmlns", site + formName + "/2017-01-09"},
              {"xmlns:АФ", site + "АФ/2017-01-09"},
              {"xmlns:УТ", site + "УТ/2017-01-09"},
              {"xmlns:ИС", site + "ИС/2017-01-09"},
              {"xmlns:ВС", site + "ВС/2017-01-09"}};
    case TGenEdition::fresh:
      return {{"xmlns", site + formName + "/2017-08-21"},
              {"xmlns:АФ4", site + "АФ/2017-08-21"},
              {"xmlns:УТ2", site + "УТ/2017-08-21"},
              {"xmlns:ИС2", site + "ИС/2017-08-21"},
              {"xmlns:ВС2", site + "ВС/2017-08-21"}};
    case TGenEdition::newest:
      return {{"xmlns", site + formName + "/2019-12-09"},
              {"xmlns:АФ4", site + "АФ/2018-12-07"},
              {"xmlns:УТ2", site + "УТ/2017-08-21"},
              {"xmlns:ИС4", site + "ИС/2019-12-09"},
              {"xmlns:ВС2", site + "ВС/2017-08-21"}};
    case TGenEdition::redHot:
      return {{"xmlns", site + formName + "/2021-07-01"},
              {"xmlns:АФ5", site + "АФ/2021-07-01"},
              {"xmlns:УТ2", site + "УТ/2017-08-21"},
              {"xmlns:ИС5", site + "ИС/2021-07-01"},
              {"xmlns:ВС2", site + "ВС/2017-08-21"}};
  }
  return {};
}

// The element names of one preferential entry of the newer forms.
struct TEntryNames {
  std::string entry, line, tu, tuBasis, tuCoeff, out, outCode, position, is, isBasis, vl, vlBasis, rate, hours,
      hoursH, hoursM, addPd, sout, soutCode;
};

TEntryNames EntryNames(bool efs, const TPrefixes& p) {
  if (efs) {
    return {"ЛьготныйСтаж",   "НомерСтроки",       "ЕФС:ТУ",          "ЕФС:Основание",   "ЕФС:Коэффициент",
            "ЕФС:ОУТ",        "ЕФС:Код",           "ЕФС:ПозицияСписка", "ЕФС:ИС",        "ЕФС:Основание",
            "ЕФС:ВЛ",         "ЕФС:Основание",     "ЕФС:ДоляСтавки",  "ВС2:ВыработкаВчасах", "ВС2:Часы",
            "ВС2:Минуты",     "ЕФС:ДопСведенияИС", "ЕФС:СОУТ",        "ЕФС:Код"};
  }
  return {p.is + "ЛьготныйСтаж", p.is + "НомерСтроки",  p.is + "ТУ",  p.is + "Основание",
          p.is + "Коэффициент",  p.is + "ОУТ",          p.is + "Код", p.is + "ПозицияСписка",
          p.is + "ИС",           p.is + "Основание",    p.is + "ВЛ",  p.is + "Основание",
          p.is + "ДоляСтавки",   p.vs + "ВыработкаВчасах", p.vs + "Часы", p.vs + "Минуты",
          p.is + "ДопСведенияИС", "",                   ""};
}

void NewEntry(TXmlOut& x, const TEntryNames& n, const TSynthWorkplace& w, const TSynthEntry& entry, int line) {
  x.Open(n.entry);
  x.Leaf(n.line, std::to_string(line));
  if (!w.terrCode.empty()) {
    x.Open(n.tu);
    x.Leaf(n.tuBasis, w.terrCode);
    x.LeafIf(n.tuCoeff, w.terrCoeff);
    x.Close();
  }
  if (!entry.territoryOnly) {
    if (!w.outCode.empty()) {
      x.Open(n.out);
      x.Leaf(n.outCode, w.outCode);
      x.LeafIf(n.position, w.listPosition);
      x.Close();
    }
    if (!n.sout.empty() && !w.soutClass.empty()) {
      x.Open(n.sout);
      x.Leaf(n.soutCode, w.soutClass);
      x.Close();
    }
    if (!w.seniorityBasis.empty()) {
      x.Open(n.is);
      x.Leaf(n.isBasis, w.seniorityBasis);
      x.Close();
    }
    if (!w.vlBasis.empty()) {
      x.Open(n.vl);
      x.Leaf(n.vlBasis, w.vlBasis);
      x.LeafIf(n.rate, entry.rate);
      if (!entry.hours.empty()) {
        x.Open(n.hours);
        x.Leaf(n.hoursH, entry.hours);
        x.Leaf(n.hoursM, entry.minutes.empty() ? "0" : entry.minutes);
        x.Close();
      }
      x.Close();
    }
  }
  x.LeafIf(n.addPd, entry.addPd);
  x.Close();
}

// The work periods of a person; `shift` moves them by whole years (the later
// blocks of a ЕФС-1 person).
void NewPeriods(TXmlOut& x, const TSynthEmployer& e, const TSynthPerson& p, bool efs, const TPrefixes& pre,
                int shift) {
  const TEntryNames n = EntryNames(efs, pre);
  int line = 1;
  for (const TSynthPeriod& period : p.periods) {
    TSynthDate start = period.start;
    TSynthDate finish = period.finish;
    start.year += shift;
    finish.year += shift;
    if (start.month == 2 && start.day == 29) start.day = 28;
    if (finish.month == 2 && finish.day > DaysInMonth(finish.year, 2)) finish.day = DaysInMonth(finish.year, 2);
    x.Open("СтажевыйПериод");
    x.Leaf("НомерСтроки", std::to_string(line++));
    x.Open(efs ? "Период" : pre.is + "Период");
    x.Leaf(efs ? "УТ2:С" : pre.ut + "С", start.ISO());
    x.Leaf(efs ? "УТ2:По" : pre.ut + "По", finish.ISO());
    x.Close();
    int entryLine = 1;
    for (const TSynthEntry& entry : period.entries) {
      NewEntry(x, n, e.workplaces[static_cast<std::size_t>(entry.workplace)], entry, entryLine++);
    }
    x.Close();
  }
}

void Employer2017(TXmlOut& x, const TSynthEmployer& e, const TPrefixes& pre) {
  x.Open("Страхователь");
  x.Leaf(pre.ut + "РегНомер", e.regNum);
  x.Leaf(pre.ut + "ИНН", e.inn);
  x.Leaf(pre.ut + "КПП", e.kpp);
  x.Leaf(pre.is + "Наименование", e.shortName);
  x.Close();
}

void ReportingPeriod2017(TXmlOut& x, const std::string& name, int year, int code) {
  x.Open(name);
  x.Leaf("Код", std::to_string(code));
  x.Leaf("Год", std::to_string(year));
  x.Close();
}

void Person2017(TXmlOut& x, const TSynthPerson& p, const TPrefixes& pre, int number, bool withNumber) {
  if (withNumber) x.Leaf("НомерПП", std::to_string(number));
  x.Open("ФИО");
  x.Leaf(pre.ut + "Фамилия", p.surname);
  x.Leaf(pre.ut + "Имя", p.name);
  x.Leaf(pre.ut + "Отчество", p.patronymic);
  x.Close();
  x.Leaf("СНИЛС", p.snils);
}

void ServiceInformation(TXmlOut& x, const TSynthEmployer& e, const TPackOptions& o, const std::string& af) {
  x.Open("СлужебнаяИнформация");
  x.Leaf(af + "GUID", o.guid.empty() ? MakeGuid(e, o) : o.guid);
  x.Leaf(af + "ДатаВремя", PackDate(e, o).ISO() + "T10:15:00");
  x.Close();
}

void Write2017Pack(const TSynthEmployer& e, const TPackOptions& o, std::ostream& out) {
  TXmlOut x(out, false);
  const TPrefixes pre = PrefixesOf(o.edition);
  x.Open("ЭДЖУВ", Namespaces(o.form, o.edition));
  if (o.form == TGenForm::szvStag) {
    x.Open("СЗВ-СТАЖ");
    Employer2017(x, e, pre);
    ReportingPeriod2017(x, "ОтчетныйПериод", e.year, o.periodCode);
    x.Leaf("Тип", std::to_string(o.stagType >= 0 ? o.stagType : (o.correction ? 1 : 0)));
    int number = 1;
    for (const TSynthPerson& p : e.persons) {
      x.Open("ЗЛ");
      Person2017(x, p, pre, number++, true);
      NewPeriods(x, e, p, false, pre, 0);
      x.Close();
    }
    x.Close();
  } else {
    // A СЗВ-КОРР or СЗВ-ИСХ is one form per person.
    const std::string form = o.form == TGenForm::szvKorr ? "СЗВ-КОРР" : "СЗВ-ИСХ";
    for (const TSynthPerson& p : e.persons) {
      x.Open(form);
      Employer2017(x, e, pre);
      if (o.form == TGenForm::szvKorr) {
        ReportingPeriod2017(x, "ОтчетныйПериод", o.filingYear != 0 ? o.filingYear : e.year + 1, 0);
        x.Open("КорректируемыйПериод");
        ReportingPeriod2017(x, "ОтчетныйПериод", e.year, o.periodCode);
        x.Close();
        x.Leaf("Тип", std::to_string(o.stagType >= 0 ? o.stagType : 0));
      } else {
        ReportingPeriod2017(x, "ОтчетныйПериод", e.year, o.periodCode);
      }
      Person2017(x, p, pre, 0, false);
      NewPeriods(x, e, p, false, pre, 0);
      x.Close();
    }
  }
  x.Open("ОДВ-1");
  Employer2017(x, e, pre);
  x.Leaf("ТипСведений", o.form == TGenForm::szvKorr ? "КОРРЕКТИРУЮЩАЯ" : "ИСХОДНАЯ");
  x.Leaf("КоличествоЗЛ", std::to_string(e.persons.size()));
  x.Close();
  ServiceInformation(x, e, o, pre.af);
  x.Close();
}

void WriteEfsPack(const TSynthEmployer& e, const TPackOptions& o, std::ostream& out) {
  TXmlOut x(out, false);
  x.Open("ЭДЖУВ", Namespaces(o.form, o.edition));
  x.Open("ЕФС-1");
  x.Open("Страхователь");
  x.Leaf("ЕФС:РегНомер", e.regNum);
  x.Leaf("ЕФС:ИНН", e.inn);
  x.Leaf("ЕФС:КПП", e.kpp);
  x.Leaf("ЕФС:Наименование", e.shortName);
  x.Close();
  const TPrefixes pre = PrefixesOf(TGenEdition::redHot);
  for (const TSynthPerson& p : e.persons) {
    x.Open("ЗЛ");
    x.Open("УТ2:ФИО");
    x.Leaf("УТ2:Фамилия", p.surname);
    x.Leaf("УТ2:Имя", p.name);
    x.Leaf("УТ2:Отчество", p.patronymic);
    x.Close();
    x.Leaf("УТ2:СНИЛС", p.snils);
    for (int block = 0; block < std::max(1, o.efsBlocks); ++block) {
      x.Open("СЗВ-СТАЖ");
      x.Leaf("Тип", o.correction ? "3" : "1");
      x.Leaf("ОтчетныйПериод", std::to_string(e.year + block));
      if (o.correction) x.Leaf("КоррОтмПериод", std::to_string(o.corrYear != 0 ? o.corrYear : e.year + block));
      NewPeriods(x, e, p, true, pre, block);
      x.Close();
    }
    x.Close();
  }
  x.Close();
  ServiceInformation(x, e, o, "АФ5:");
  x.Close();
}

}  // namespace

std::optional<TGenForm> FormByName(const std::string& name) {
  static const std::vector<std::pair<std::string, TGenForm>> forms = {
      {"szv-6-1", TGenForm::szv61}, {"szv-6-2", TGenForm::szv62},     {"spv-1", TGenForm::spv1},
      {"szv-6-4", TGenForm::szv64}, {"rsv-1", TGenForm::rsv1},        {"spv-2", TGenForm::spv2},
      {"szv-stazh", TGenForm::szvStag}, {"szv-korr", TGenForm::szvKorr}, {"szv-ish", TGenForm::szvIsh},
      {"efs-1", TGenForm::efs1}};
  for (const auto& [n, f] : forms) {
    if (n == name) return f;
  }
  return std::nullopt;
}

std::optional<TGenEdition> EditionByName(const std::string& name) {
  if (name == "old") return TGenEdition::old;
  if (name == "new") return TGenEdition::fresh;
  if (name == "newest") return TGenEdition::newest;
  if (name == "redhot") return TGenEdition::redHot;
  return std::nullopt;
}

bool Before2017(TGenForm form) {
  return form == TGenForm::szv61 || form == TGenForm::szv62 || form == TGenForm::spv1 || form == TGenForm::szv64 ||
         form == TGenForm::rsv1 || form == TGenForm::spv2;
}

void WritePack(const TSynthEmployer& employer, const TPackOptions& options, std::ostream& out) {
  if (Before2017(options.form)) {
    WriteOldPack(employer, options, out);
  } else if (options.form == TGenForm::efs1) {
    WriteEfsPack(employer, options, out);
  } else {
    Write2017Pack(employer, options, out);
  }
}

int DefaultPeriodCode(TGenForm form, int year) {
  if (!Before2017(form)) return 0;
  if (year == 2010) return 2;
  if (year <= 2013) return 4;
  return 0;
}

void ReportingWindow(TGenForm form, int year, int code, int& firstMonth, int& lastMonth) {
  // The reporting period (1 to 4) of the code, as the forms of each year count them.
  int period = 4;
  if (year == 2010) {
    period = code == 1 ? 2 : 4;
  } else if (year >= 2011 && year <= 2013) {
    period = code >= 1 && code <= 4 ? code : 4;
  } else if (year >= 2014 && year <= 2016) {
    period = code == 3 ? 1 : code == 6 ? 2 : code == 9 ? 3 : 4;
  }
  if (!Before2017(form) && period == 4) {
    firstMonth = 1;
    lastMonth = 12;
  } else if (year == 2010) {
    firstMonth = period == 2 ? 1 : 7;
    lastMonth = period == 2 ? 6 : 12;
  } else {
    firstMonth = 3 * period - 2;
    lastMonth = 3 * period;
  }
}

}  // namespace morvel::gen
