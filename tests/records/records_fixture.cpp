#include "records_fixture.h"

#include <filesystem>

#include "log/singleton.h"

namespace morvel::test {
namespace {

std::string Leaf(const std::string& name, const std::string& text) {
  return text.empty() ? "" : "<" + name + ">" + text + "</" + name + ">\n";
}

std::string Entry(const TEntrySpec& e, const std::string& entry, const std::string& p, const std::string& vs,
                  bool efs) {
  std::string s = "<" + entry + ">\n";
  if (!e.tu.empty()) s += "<" + p + "ТУ>\n" + Leaf(p + "Основание", e.tu) + Leaf(p + "Коэффициент", e.coeff) + "</" + p + "ТУ>\n";
  if (!e.out.empty()) {
    s += "<" + p + "ОУТ>\n" + Leaf(p + "Код", e.out) + Leaf(p + "ПозицияСписка", e.position) + "</" + p + "ОУТ>\n";
  }
  if (efs && !e.sout.empty()) s += "<ЕФС:СОУТ>\n" + Leaf("ЕФС:Код", e.sout) + "</ЕФС:СОУТ>\n";
  if (!e.is.empty()) s += "<" + p + "ИС>\n" + Leaf(p + "Основание", e.is) + "</" + p + "ИС>\n";
  if (!e.vl.empty()) {
    s += "<" + p + "ВЛ>\n" + Leaf(p + "Основание", e.vl) + Leaf(p + "ДоляСтавки", e.rate);
    if (!e.months.empty() || !e.days.empty()) {
      s += "<" + vs + "ВыработкаКалендарная>\n" + Leaf(vs + "ВсеМесяцы", e.months) + Leaf(vs + "ВсеДни", e.days) +
           "</" + vs + "ВыработкаКалендарная>\n";
    }
    if (!e.hours.empty() || !e.minutes.empty()) {
      s += "<" + vs + "ВыработкаВчасах>\n" + Leaf(vs + "Часы", e.hours) + Leaf(vs + "Минуты", e.minutes) + "</" + vs +
           "ВыработкаВчасах>\n";
    }
    s += "</" + p + "ВЛ>\n";
  }
  s += Leaf(p + "ДопСведенияИС", e.addPd);
  return s + "</" + entry + ">\n";
}

std::string Periods(const std::vector<TPeriodSpec>& periods, bool efs) {
  const std::string p = efs ? "ЕФС:" : "ИС4:";
  const std::string dates = efs ? "Период" : "ИС4:Период";
  std::string s;
  for (const TPeriodSpec& period : periods) {
    s += "<СтажевыйПериод>\n<" + dates + ">\n" + Leaf("УТ2:С", period.start) + Leaf("УТ2:По", period.end) + "</" +
         dates + ">\n";
    for (const TEntrySpec& e : period.entries) s += Entry(e, efs ? "ЛьготныйСтаж" : "ИС4:ЛьготныйСтаж", p, "ВС2:", efs);
    s += "</СтажевыйПериод>\n";
  }
  return s;
}

}  // namespace

TClassifiers* RecordsTest::sClassifiers = nullptr;

std::string StazhDocument(const std::vector<TPersonSpec>& persons, const std::string& regNum) {
  std::string s =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<ЭДЖУВ xmlns=\"http://пф.рф/СЗВ-СТАЖ/2019-12-09\" xmlns:АФ4=\"http://пф.рф/АФ/2018-12-07\" "
      "xmlns:УТ2=\"http://пф.рф/УТ/2017-08-21\" xmlns:ИС4=\"http://пф.рф/ИС/2019-12-09\" "
      "xmlns:ВС2=\"http://пф.рф/ВС/2017-08-21\">\n"
      "<СЗВ-СТАЖ>\n<Страхователь>\n<УТ2:РегНомер>" + regNum + "</УТ2:РегНомер>\n</Страхователь>\n"
      "<ОтчетныйПериод>\n<Код>0</Код>\n<Год>2019</Год>\n</ОтчетныйПериод>\n<Тип>0</Тип>\n";
  int n = 1;
  for (const TPersonSpec& person : persons) {
    s += "<ЗЛ>\n<НомерПП>" + std::to_string(n++) + "</НомерПП>\n<ФИО>\n" + Leaf("УТ2:Фамилия", person.surname) +
         "<УТ2:Имя>Анна</УТ2:Имя>\n</ФИО>\n" + Leaf("СНИЛС", person.snils) + Periods(person.periods, false) +
         "</ЗЛ>\n";
  }
  s += "</СЗВ-СТАЖ>\n<ОДВ-1>\n<Страхователь>\n<УТ2:РегНомер>" + regNum +
       "</УТ2:РегНомер>\n<ИС4:Наименование>АО Тест</ИС4:Наименование>\n</Страхователь>\n</ОДВ-1>\n"
       "<СлужебнаяИнформация>\n<АФ4:GUID>0f0e0d0c-1111-4222-8333-444455556666</АФ4:GUID>\n"
       "<АФ4:ДатаВремя>2020-02-10T08:00:00</АФ4:ДатаВремя>\n</СлужебнаяИнформация>\n</ЭДЖУВ>\n";
  return s;
}

std::string EfsDocument(const std::vector<TEfsPersonSpec>& persons) {
  std::string s =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<ЭДЖУВ xmlns=\"http://пф.рф/ЕФС-1/2023-01-01\" xmlns:ЕФС=\"http://пф.рф/ЕФС/2023-01-01\" "
      "xmlns:УТ2=\"http://пф.рф/УТ/2017-08-21\" xmlns:ВС2=\"http://пф.рф/ВС/2017-08-21\" "
      "xmlns:АФ5=\"http://пф.рф/АФ/2023-01-01\">\n<ЕФС-1>\n<Страхователь>\n<ЕФС:РегНомер>" +
      std::string(kRegNum) + "</ЕФС:РегНомер>\n<ЕФС:Наименование>ГБУЗ Больница</ЕФС:Наименование>\n</Страхователь>\n";
  for (const TEfsPersonSpec& person : persons) {
    s += "<ЗЛ>\n<УТ2:ФИО>\n" + Leaf("УТ2:Фамилия", person.surname) + "<УТ2:Имя>Мария</УТ2:Имя>\n</УТ2:ФИО>\n" +
         Leaf("УТ2:СНИЛС", person.snils);
    for (const TBlockSpec& block : person.blocks) {
      s += "<СЗВ-СТАЖ>\n" + Leaf("Тип", block.type) + Leaf("ОтчетныйПериод", block.year) +
           Leaf("КоррОтмПериод", block.corrYear) + Periods(block.periods, true) + "</СЗВ-СТАЖ>\n";
    }
    s += "</ЗЛ>\n";
  }
  s += "</ЕФС-1>\n<СлужебнаяИнформация>\n<АФ5:GUID>aaaa0000-1111-4222-8333-444455556666</АФ5:GUID>\n"
       "<АФ5:ДатаВремя>2024-01-25T12:00:00</АФ5:ДатаВремя>\n</СлужебнаяИнформация>\n</ЭДЖУВ>\n";
  return s;
}

std::string OldDocument(const std::string& form, int year, const std::string& code, const std::string& persons) {
  const bool szv64 = form == "СЗВ-6-4";
  const bool rsv = form == "РСВ-1";
  const std::string service = szv64 ? "ВХОДЯЩАЯ_ОПИСЬ_ПО_СУММАМ_ВЫПЛАТ_И_ПО_СТРАХОВЫМ_ВЗНОСАМ"
                              : rsv ? "СВЕДЕНИЯ_ПО_ПАЧКЕ_ДОКУМЕНТОВ_РАЗДЕЛА_6"
                                    : "ВХОДЯЩАЯ_ОПИСЬ_ПО_СТРАХОВЫМ_ВЗНОСАМ";
  const std::string document = szv64 ? "СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ"
                               : rsv ? "СВЕДЕНИЯ_О_СУММЕ_ВЫПЛАТ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ"
                                     : "СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ФайлПФР>\n<" + service + ">\n<СоставительПачки>\n" +
                  "<НаименованиеОрганизации>ЗАО Рудник</НаименованиеОрганизации>\n<РегистрационныйНомер>" + kRegNum +
                  "</РегистрационныйНомер>\n</СоставительПачки>\n<НомерПачки>\n<Основной>5</Основной>\n"
                  "</НомерПачки>\n<ТипДокумента>" + document + "</ТипДокумента>\n<ДатаСоставления>15.01.2014"
                  "</ДатаСоставления>\n<ТипСведений>ИСХОДНАЯ</ТипСведений>\n<КодКатегории>НР</КодКатегории>\n" +
                  (szv64 ? "<ТипДоговора>ТРУДОВОЙ</ТипДоговора>\n" : "") + "<ОтчетныйПериод>\n<Квартал>" + code +
                  "</Квартал>\n<Год>" + std::to_string(year) + "</Год>\n</ОтчетныйПериод>\n</" + service + ">\n";
  // Each person document is given as its inner elements; the form name goes first.
  std::size_t from = 0;
  int number = 2;
  while (from < persons.size()) {
    std::size_t to = persons.find("<!--next-->", from);
    if (to == std::string::npos) to = persons.size();
    s += "<" + document + ">\n<НомерВпачке>" + std::to_string(number++) + "</НомерВпачке>\n" +
         (szv64 || rsv ? "" : "<ВидФормы>" + form + "</ВидФормы>\n") + persons.substr(from, to - from) + "</" +
         document + ">\n";
    from = to == persons.size() ? to : to + 11;
  }
  return s + "</ФайлПФР>\n";
}

void RecordsTest::SetUpTestSuite() {
  if (sClassifiers != nullptr) return;
  sClassifiers = new TClassifiers();  // lives for the whole test program
  const std::filesystem::path data = std::filesystem::path(MORVEL_SOURCE_DIR) / "data";
  LoadClassifierFiles(*sClassifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                      [](const std::string&) {});
}

void RecordsTest::SetUp() {
  TSingleton::DestroyInstance<TLogger>();
  TSingleton::GetInstance<TLogger>().Init((dir.path() / "logs").string() + "/", true, "test");
  fScope = std::make_unique<TClassifiersScope>(*sClassifiers);
}

void RecordsTest::TearDown() {
  fScope.reset();
  TSingleton::DestroyInstance<TLogger>();
}

std::string RecordsTest::LogText() const {
  const std::string& file = TSingleton::GetInstance<TLogger>().FileName();
  return file.empty() ? std::string() : ReadFile(file);
}

TMyTree RecordsTest::TreeOfFile(const std::string& name) const {
  return LoadXMLTree(TestData("packs/" + name).string());
}

TMyTree RecordsTest::TreeOfText(const std::string& xml, const std::string& name) const {
  const auto path = dir / name;
  WriteFile(path, xml);
  return LoadXMLTree(path.string());
}

RecordsTest::TRead RecordsTest::ReadPackTree(TMyTree root, const std::string& fileName,
                                         int searchYear) const {
  TRead r;
  r.root = std::move(root);
  r.header = TBaseData::TryGetBaseData(kRegNum, r.root.get(), 0, 0);
  if (!r.header) return r;
  const TPDType form = r.header->FPDType;
  r.pack = TPack::TryGetPackData(r.root.get(), form, r.errors, r.header, fileName);
  if (r.pack) r.pack->ReadWorkers(r.root.get(), searchYear);
  return r;
}

RecordsTest::TRead RecordsTest::ReadPack(const std::string& name, int searchYear) const {
  return ReadPackTree(TreeOfFile(name), TestData("packs/" + name).string(), searchYear);
}

RecordsTest::TRead RecordsTest::ReadXml(const std::string& xml, int searchYear) const {
  return ReadPackTree(TreeOfText(xml), (dir / "pack.xml").string(), searchYear);
}

std::vector<std::string> RecordsTest::Messages(const TProtocolMessageList& list) {
  std::vector<std::string> out;
  for (const auto& m : list) out.push_back(m->FMessage);
  return out;
}

}  // namespace morvel::test
