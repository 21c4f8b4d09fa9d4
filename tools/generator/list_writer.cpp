#include "list_writer.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>

#include "base/text.h"
#include "pack_writer.h"

namespace morvel::gen {
namespace {

std::string Xml(std::string_view text) { return HtmlEscape(text); }

bool OnTheList(const TSynthWorkplace& place) { return !place.outCode.empty() || !place.vlBasis.empty(); }

TSynthDate AddDays(TSynthDate date, int days) {
  date.day += days;
  while (date.day > DaysInMonth(date.year, date.month)) {
    date.day -= DaysInMonth(date.year, date.month);
    if (++date.month > 12) {
      date.month = 1;
      ++date.year;
    }
  }
  return date;
}

int DaysBetween(const TSynthDate& from, const TSynthDate& to) {
  auto serial = [](const TSynthDate& d) {
    int n = d.day;
    for (int m = 1; m < d.month; ++m) n += DaysInMonth(d.year, m);
    return d.year * 366 + n;  // only differences within one year are asked for
  };
  return serial(to) - serial(from);
}

std::string Number(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", value);
  return buf;
}

// The class of working conditions as the ЕФС-1 reader turns it into the code it
// compares: 3.x harmful with the prefix В, 4 dangerous with О.
std::string WorkingConditionsClass(const std::string& sout) {
  if (sout.empty()) return sout;
  if (sout[0] == '3') return "В" + sout;
  if (sout[0] == '4') return "О" + sout;
  return sout;
}

// One period of a nominal list, with the workplace data it was written from so
// that a deliberate difference changes this period only.
struct TListPeriod {
  TSynthDate start;
  TSynthDate finish;
  int workplace = 0;
  std::string outCode;
  std::string vlBasis;
  std::string rate;
  std::string hours;
  std::string minutes;
  std::string months;
  std::string days;
  std::string addPd;
  std::string seniority;  // a seniority basis of its own instead of the workplace's
};

struct TListPerson {
  std::string surname;
  std::string name;
  std::string patronymic;
  std::string snils;
  int subdivision = 0;
  std::vector<TListPeriod> periods;
};

// The additional data the List format knows; another code is not written.
const std::set<std::string> kListAddPdCodes = {
    "ДЕКРЕТ", "ДЕТИ",     "ДЛДЕТИ", "ДЕТИПРЛ", "ВРНЕТРУД", "ВРНЕТРУСПО", "МЕДНЕТРУД", "ДЛОТПУСК",
    "УЧОТПУСК", "ДОПВЫХ", "КВАЛИФ", "КВАЛИФОБ", "КВАЛИФОЦ", "ОБЩЕСТ",    "СДКРОВ",    "ОТСТРАН",
    "ПРОСТОЙ", "НЕОПЛ",   "АДМИНИСТР", "ДИСПР", "МЕСЯЦ",    "ВАХТА",      "ВОЕНСЛ",    "ЧАЭС"};

// The List periods of a pack person: one per work period with a preferential
// entry of a workplace on the List, carrying the additional data the pack states
// for that period in an entry of its own.
std::vector<TListPeriod> ListPeriods(const TSynthEmployer& employer, const TSynthPerson& person) {
  std::vector<TListPeriod> periods;
  for (const TSynthPeriod& period : person.periods) {
    std::string addPd;
    for (const TSynthEntry& entry : period.entries) {
      if (addPd.empty() && kListAddPdCodes.count(entry.addPd) > 0) addPd = entry.addPd;
    }
    bool first = true;
    for (const TSynthEntry& entry : period.entries) {
      if (entry.territoryOnly) continue;
      const TSynthWorkplace& place = employer.workplaces.at(static_cast<std::size_t>(entry.workplace));
      if (!OnTheList(place)) continue;
      TListPeriod p;
      p.start = period.start;
      p.finish = period.finish;
      p.workplace = entry.workplace;
      p.outCode = place.outCode;
      p.vlBasis = place.vlBasis;
      p.rate = entry.rate;
      p.hours = entry.hours;
      p.minutes = entry.minutes;
      p.months = entry.months;
      p.days = entry.days;
      if (first) p.addPd = addPd;
      first = false;
      periods.push_back(std::move(p));
    }
  }
  return periods;
}

std::string OtherBasis(const std::string& code, const char* a, const char* b) { return code == a ? b : a; }

void WritePeriod(const TSynthEmployer& employer, const TListPeriod& p, std::ostream& out) {
  const TSynthWorkplace& place = employer.workplaces.at(static_cast<std::size_t>(p.workplace));
  out << "          <ПериодРаботы ДатаНач=\"" << p.start.DMY() << "\" ДатаКон=\"" << p.finish.DMY() << "\">\n";
  out << "            <Профессия>" << Xml(place.post) << "</Профессия>\n";
  if (!p.vlBasis.empty()) out << "            <ОснованиеЛьготы>" << Xml(p.vlBasis) << "</ОснованиеЛьготы>\n";
  if (!p.outCode.empty()) out << "            <ОснованиеЛьготы>" << Xml(p.outCode) << "</ОснованиеЛьготы>\n";
  if (!p.rate.empty()) out << "            <Ставка>" << Xml(p.rate) << "</Ставка>\n";
  if (!place.terrCode.empty()) {
    out << "            <ТерриториальныеУсловия>" << Xml(place.terrCode) << "</ТерриториальныеУсловия>\n";
  }
  if (!place.listPosition.empty()) out << "            <ПозицияСписка>" << Xml(place.listPosition) << "</ПозицияСписка>\n";
  if (p.outCode == "27-1" || p.outCode == "27-2") out << "            <ДополнительныйТариф>ДТ</ДополнительныйТариф>\n";
  if (!place.soutClass.empty()) {
    out << "            <КлассУТ>" << Xml(WorkingConditionsClass(place.soutClass)) << "</КлассУТ>\n";
  }
  const std::string& seniority = p.seniority.empty() ? place.seniorityBasis : p.seniority;
  if (!seniority.empty()) {
    out << "            <ОснованиеИсчисленияСтажа>" << Xml(seniority) << "</ОснованиеИсчисленияСтажа>\n";
  }
  // Teaching hours are the List's own elements; flight hours are worked time.
  const bool teaching = p.vlBasis.find("ПД") != std::string::npos;
  if (teaching && !p.hours.empty()) {
    out << "            <Часы>" << Xml(p.hours) << "</Часы>\n";
    if (!p.minutes.empty()) out << "            <Минуты>" << Xml(p.minutes) << "</Минуты>\n";
  }
  if (!p.addPd.empty()) {
    out << "            <ДополнительныеСведенияИсчисленияСтажа>" << p.addPd
        << "</ДополнительныеСведенияИсчисленияСтажа>\n";
  }
  const bool flightHours = !teaching && !p.hours.empty();
  if (!p.months.empty() || !p.days.empty() || flightHours) {
    out << "            <ФактическиОтработано>\n";
    if (!p.months.empty()) out << "              <Месяцев>" << Xml(p.months) << "</Месяцев>\n";
    if (!p.days.empty()) out << "              <Дней>" << Xml(p.days) << "</Дней>\n";
    if (flightHours) {
      out << "              <Часов>" << Xml(p.hours) << "</Часов>\n";
      if (!p.minutes.empty()) out << "              <Минут>" << Xml(p.minutes) << "</Минут>\n";
    }
    out << "            </ФактическиОтработано>\n";
  }
  out << "          </ПериодРаботы>\n";
}

const std::vector<std::string> kExtraSurnames = {"Добавочный", "Лишний", "Сверхштатный", "Посторонний"};
const std::vector<std::string> kExtraNames = {"Игорь", "Олег", "Павел", "Роман"};

}  // namespace

TListManifest WriteList(const TSynthEmployer& employer, std::uint64_t seed, const TListOptions& options,
                        std::ostream& out) {
  TListManifest manifest;
  TRandom draw(options.mismatchSeed != 0 ? options.mismatchSeed : seed ^ 0x4C6973745772ULL);
  const int subdivisionCount = std::max(1, options.subdivisions);
  auto subdivisionOf = [&](int workplace) { return workplace % subdivisionCount; };

  // The persons of the pack, as the List states them before any difference.
  std::vector<TListPerson> persons;
  std::vector<int> holders(employer.workplaces.size(), 0);
  std::set<std::string> numbers;
  for (const TSynthPerson& person : employer.persons) {
    numbers.insert(person.snils);
    TListPerson p{person.surname, person.name, person.patronymic, person.snils, 0, ListPeriods(employer, person)};
    if (p.periods.empty()) continue;
    std::set<int> places;
    for (const TListPeriod& period : p.periods) places.insert(period.workplace);
    for (int place : places) ++holders[static_cast<std::size_t>(place)];
    const bool mainOnList = OnTheList(employer.workplaces.at(static_cast<std::size_t>(person.workplace)));
    p.subdivision = subdivisionOf(mainOnList ? person.workplace : p.periods.front().workplace);
    persons.push_back(std::move(p));
  }

  // Deliberate differences.
  std::vector<TListPerson> kept;
  for (TListPerson& p : persons) {
    if (options.missingPercent > 0 && draw.Chance(options.missingPercent)) {
      manifest.push_back("missing " + p.snils);
      continue;
    }
    for (TListPeriod& period : p.periods) {
      if (options.basesPercent > 0 && draw.Chance(options.basesPercent)) {
        if (!period.outCode.empty()) {
          period.outCode = OtherBasis(period.outCode, "27-2", "27-1");
        } else {
          period.vlBasis = OtherBasis(period.vlBasis, "27-ГД", "27-СМ");
        }
        manifest.push_back("bases " + p.snils + " " + period.start.DMY());
      }
      if (options.ratesPercent > 0 && draw.Chance(options.ratesPercent)) {
        manifest.push_back("rate " + p.snils + " " + period.start.DMY());
        period.rate = period.rate == "0.75" ? "1.00" : "0.75";
      }
      if (options.virusPercent > 0 && draw.Chance(options.virusPercent)) {
        manifest.push_back("virus " + p.snils + " " + period.start.DMY());
        period.seniority = "ВИРУС";
      }
      const int length = DaysBetween(period.start, period.finish) + 1;
      if (options.datesPercent > 0 && length >= 2 && draw.Chance(options.datesPercent)) {
        manifest.push_back("dates " + p.snils + " " + period.start.DMY());
        period.start = AddDays(period.start, 1 + draw.Below(std::min(5, length - 1)));
      }
    }
    kept.push_back(std::move(p));
  }
  int firstOnList = -1;
  for (std::size_t w = 0; w < employer.workplaces.size() && firstOnList < 0; ++w) {
    if (OnTheList(employer.workplaces[w])) firstOnList = static_cast<int>(w);
  }
  for (int i = 0; i < options.extraPersons && firstOnList >= 0; ++i) {
    std::string snils;
    do {
      snils = MakeSnils(900000000L + draw.Below(99999999));
    } while (!numbers.insert(snils).second);
    const TSynthWorkplace& place = employer.workplaces[static_cast<std::size_t>(firstOnList)];
    TListPeriod period;
    period.start = {employer.year, employer.firstMonth, 1};
    period.finish = {employer.year, employer.lastMonth, DaysInMonth(employer.year, employer.lastMonth)};
    period.workplace = firstOnList;
    period.outCode = place.outCode;
    period.vlBasis = place.vlBasis;
    if (!place.vlBasis.empty()) period.rate = "1.00";
    kept.push_back({draw.Pick(kExtraSurnames), draw.Pick(kExtraNames), "Иванович", snils,
                    subdivisionOf(firstOnList), {period}});
    manifest.push_back("extra " + snils);
  }

  const int lastQuarterMonth = (employer.lastMonth + 2) / 3 * 3;
  const bool cumulative =
      options.cumulative < 0 ? employer.firstMonth < lastQuarterMonth - 2 : options.cumulative != 0;
  const int positionStart = employer.year - 3;

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out << "<Перечень ОтчетныйГод=\"" << employer.year << "\" ОтчетныйПериод=\"" << lastQuarterMonth
      << "\" НакопитИтогом=\"" << (cumulative ? 1 : 0) << "\" Тип=\"ИСХОДНЫЙ\">\n";
  out << "  <Предприятие РегНомер=\"" << Xml(employer.regNum) << "\" Наименование=\"" << Xml(employer.name)
      << "\">\n";
  if (options.seasons) {
    out << "    <ОтопительныйСезон ДатаНач=\"15.09." << employer.year - 1 << "\" ДатаКон=\"15.05." << employer.year
        << "\"/>\n";
    out << "    <ОтопительныйСезон ДатаНач=\"15.09." << employer.year << "\" ДатаКон=\"31.12." << employer.year
        << "\"/>\n";
    out << "    <НавигационныйСезон ДатаНач=\"01.05." << employer.year << "\" ДатаКон=\"31.10." << employer.year
        << "\"/>\n";
  }
  bool anySubdivision = false;
  for (int s = 0; s < subdivisionCount; ++s) {
    std::vector<std::size_t> places;
    for (std::size_t w = 0; w < employer.workplaces.size(); ++w) {
      if (OnTheList(employer.workplaces[w]) && subdivisionOf(static_cast<int>(w)) == s) places.push_back(w);
    }
    const bool last = s == subdivisionCount - 1;
    if (places.empty() && (anySubdivision || !last)) continue;
    anySubdivision = true;
    out << "    <Подразделение Номер=\"" << s + 1 << "\" Наименование=\"Участок № " << s + 1 << "\">\n";
    std::ostringstream names;
    for (const TListPerson& p : kept) {
      if (p.subdivision != s) continue;
      names << "        <Работник СтраховойНомер=\"" << Xml(p.snils) << "\" Фамилия=\"" << Xml(p.surname)
            << "\" Имя=\"" << Xml(p.name) << "\"";
      if (!p.patronymic.empty()) names << " Отчество=\"" << Xml(p.patronymic) << "\"";
      names << ">\n";
      for (const TListPeriod& period : p.periods) WritePeriod(employer, period, names);
      names << "        </Работник>\n";
    }
    const std::string people = names.str();
    if (!people.empty()) out << "      <ПоименныйСписок>\n" << people << "      </ПоименныйСписок>\n";
    for (std::size_t w : places) {
      const TSynthWorkplace& place = employer.workplaces[w];
      // Enough staff units for every holder at a full rate, so that the
      // working days of the pack never exceed those of the position.
      const double staff = std::max(place.staffUnits, static_cast<double>(holders[w]));
      out << "      <Позиция ДатаНач=\"01.01." << positionStart << "\">\n";
      out << "        <Профессия>" << Xml(place.post) << "</Профессия>\n";
      if (!place.vlBasis.empty()) out << "        <ОснованиеЛьготы>" << Xml(place.vlBasis) << "</ОснованиеЛьготы>\n";
      if (!place.outCode.empty()) out << "        <ОснованиеЛьготы>" << Xml(place.outCode) << "</ОснованиеЛьготы>\n";
      if (!place.listPosition.empty()) {
        out << "        <ПозицияСписка>" << Xml(place.listPosition) << "</ПозицияСписка>\n";
      }
      if (!place.terrCode.empty()) {
        out << "        <ТерриториальныеУсловия>" << Xml(place.terrCode) << "</ТерриториальныеУсловия>\n";
      }
      out << "        <КоличествоШтат>" << Number(staff) << "</КоличествоШтат>\n";
      out << "      </Позиция>\n";
    }
    out << "    </Подразделение>\n";
  }
  out << "  </Предприятие>\n";
  out << "</Перечень>\n";
  return manifest;
}

namespace {

bool ReadInt(const std::string& text, long long& value) {
  if (text.empty()) return false;
  std::size_t used = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    return false;
  }
  return used == text.size();
}

// Options of the pack command that do not change the employer; the list
// command takes them so that both can be given the same arguments.
const std::set<std::string> kPackOnlyOptions = {"--edition", "--corr-year", "--corr-code", "--filing-year",
                                                "--type",    "--blocks",    "--pack-number", "--date",
                                                "--guid"};

}  // namespace

int RunListCommand(const std::vector<std::string>& args, std::ostream& err) {
  TSynthOptions employer;
  TListOptions list;
  std::string outFile;
  std::string manifestFile;
  std::optional<TGenForm> form;
  long long periodCode = -1;
  bool yearGiven = false;
  int firstMonth = 0;
  int lastMonth = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--seasons") {
      list.seasons = true;
      continue;
    }
    if (option == "--correction") continue;
    if (i + 1 >= args.size()) {
      err << "morvel-gen list: " << option << " needs a value\n";
      return 2;
    }
    const std::string& value = args[++i];
    if (kPackOnlyOptions.count(option) > 0) continue;
    if (option == "--regnum") {
      employer.regNum = value;
      continue;
    }
    if (option == "--out") {
      outFile = value;
      continue;
    }
    if (option == "--manifest") {
      manifestFile = value;
      continue;
    }
    if (option == "--form") {
      form = FormByName(value);
      if (!form) {
        err << "morvel-gen list: unknown form " << value << "\n";
        return 2;
      }
      continue;
    }
    long long n = 0;
    if (!ReadInt(value, n) || n < 0) {
      err << "morvel-gen list: " << option << " needs a whole number, not " << value << "\n";
      return 2;
    }
    const int v = static_cast<int>(std::min<long long>(n, 1000000000));
    const int share = std::min(v, 100);
    if (option == "--seed") {
      employer.seed = static_cast<std::uint64_t>(n);
    } else if (option == "--persons") {
      employer.persons = v;
    } else if (option == "--periods") {
      employer.periods = v;
    } else if (option == "--workplaces") {
      employer.workplaces = v;
    } else if (option == "--year") {
      employer.year = v;
      yearGiven = true;
    } else if (option == "--period-code") {
      periodCode = n;
    } else if (option == "--first-month") {
      firstMonth = v;
    } else if (option == "--last-month") {
      lastMonth = v;
    } else if (option == "--subdivisions") {
      list.subdivisions = v;
    } else if (option == "--cumulative") {
      list.cumulative = v != 0 ? 1 : 0;
    } else if (option == "--missing") {
      list.missingPercent = share;
    } else if (option == "--extra") {
      list.extraPersons = v;
    } else if (option == "--bases") {
      list.basesPercent = share;
    } else if (option == "--rates") {
      list.ratesPercent = share;
    } else if (option == "--dates") {
      list.datesPercent = share;
    } else if (option == "--virus") {
      list.virusPercent = share;
    } else if (option == "--mismatch-seed") {
      list.mismatchSeed = static_cast<std::uint64_t>(n);
    } else {
      err << "morvel-gen list: unknown option " << option << "\n";
      return 2;
    }
  }
  // The window of the pack made with the same arguments, unless told otherwise.
  if (form) {
    if (!yearGiven && *form == TGenForm::efs1) employer.year = 2023;
    const int code = periodCode >= 0 ? static_cast<int>(periodCode) : DefaultPeriodCode(*form, employer.year);
    ReportingWindow(*form, employer.year, code, employer.firstMonth, employer.lastMonth);
  }
  if (firstMonth > 0) employer.firstMonth = firstMonth;
  if (lastMonth > 0) employer.lastMonth = lastMonth;

  const TSynthEmployer synth = MakeEmployer(employer);
  TListManifest manifest;
  if (outFile.empty()) {
    manifest = WriteList(synth, employer.seed, list, std::cout);
  } else {
    std::ofstream file(outFile, std::ios::binary);
    if (!file) {
      err << "morvel-gen list: cannot write " << outFile << "\n";
      return 1;
    }
    manifest = WriteList(synth, employer.seed, list, file);
    if (!file.flush()) {
      err << "morvel-gen list: cannot write " << outFile << "\n";
      return 1;
    }
  }
  if (!manifestFile.empty()) {
    std::ofstream file(manifestFile, std::ios::binary);
    for (const std::string& line : manifest) file << line << "\n";
    if (!file.flush()) {
      err << "morvel-gen list: cannot write " << manifestFile << "\n";
      return 1;
    }
  }
  return 0;
}

}  // namespace morvel::gen
