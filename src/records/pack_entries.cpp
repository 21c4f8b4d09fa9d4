// Reading one preferential-service entry of a work period, and the
// additional-tariff payments of a person.

#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "base/dates.h"
#include "base/text.h"
#include "config/classifiers.h"
#include "records/pack.h"
#include "records/pack_names.h"
#include "records/reading.h"
#include "xml/node_access.h"

namespace morvel {
namespace {

// Bases whose worked time is given in hours; the first that occurs in a
// long-service basis selects the reading of the hours.
constexpr std::array<std::string_view, 11> kFlightCodes = {"ПД",      "САМОЛЕТ", "СПЕЦАВ",  "ИТСИСП",
                                                           "ЛЕТИСП",  "ИНСПЕКТ", "ОПЫТИСП", "ИСПКЛС1",
                                                           "ИТСМАВ",  "РЕАКТИВН", "НОРМСП"};
// Of these, the hours are written as they are for flight work and for jumps
// (where the "hours" count jumps or descents); the minutes only for flight work.
constexpr std::array<std::string_view, 10> kHoursAsText = {"САМОЛЕТ", "СПЕЦАВ",  "ИТСИСП",  "ЛЕТИСП",   "ИНСПЕКТ",
                                                           "ОПЫТИСП", "ИСПКЛС1", "ИТСМАВ",  "РЕАКТИВН", "НОРМСП"};

bool IsOneOf(std::string_view text, const auto& list) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

bool MinutesAsText(std::string_view basis) {
  return IsOneOf(basis, kHoursAsText) && basis != "РЕАКТИВН" && basis != "НОРМСП";
}

const std::vector<std::string>& ClassifierList(TClassifierType kind) {
  static const std::vector<std::string> none;
  const TClassifiers& classifiers = Classifiers();
  return classifiers.Has(kind) ? classifiers.Get(kind) : none;
}

bool PartTimeEntryMatches(const std::string& entry, std::string_view outCode, std::string_view positionCode,
                          std::string_view vlBasis) {
  if (outCode.empty() || vlBasis.empty()) return false;
  if (!Contains(entry, outCode) || !Contains(entry, vlBasis)) return false;
  return positionCode.empty() || Contains(entry, positionCode);
}

// The text of child `name` of `parent`, or empty.
std::string_view TextOf(TMyNode* parent, const std::string& name) { return ChildText(parent, name); }

}  // namespace

int CheckPartTime(std::string_view outCode, std::string_view positionCode, std::string_view vlBasis, double rate) {
  for (const std::string& entry : ClassifierList(TClassifierType::ctPartTimeError)) {
    if (!PartTimeEntryMatches(entry, outCode, positionCode, vlBasis)) continue;
    if (rate >= 1) return 0;
    // An entry that starts with the admitted rate 0 lets a period without a
    // stated rate pass.
    if (!entry.empty() && entry[0] == '0') return rate == 0 ? 0 : 2;
    return 2;
  }
  for (const std::string& entry : ClassifierList(TClassifierType::ctPartTimeWarning)) {
    if (PartTimeEntryMatches(entry, outCode, positionCode, vlBasis) && rate < 1) return 1;
  }
  return 0;
}

void TPack::ReadTerritorialConditions(const std::shared_ptr<TWorkPeriod>& X, const std::shared_ptr<TWorker>& person,
                                      TMyNode& E) {
  const TPackNames& n = Names();
  TMyNode* territory = E.SelectSingleNode(n.territory);
  if (territory == nullptr) return;
  TMyNode* code = territory->SelectSingleNode(n.territoryCode);
  if (code == nullptr) return;
  X->TerritoryCondition = fTexts.Get(code->text());
  if (TMyNode* coeff = territory->SelectSingleNode(n.territoryCoeff)) X->TerritoryCoeff = coeff->text();
  if (!X->TerritoryCondition.empty()) {
    X->TerrNodeData = TNodeData(*territory);
    FTerrCodes.push_back(std::make_unique<TTerrCodeData>(X, person));
  }
}

void TPack::ReadLgotEntry(bool& Season, bool& UIK, const std::shared_ptr<TWorkPeriod>& X,
                          const std::shared_ptr<TWorker>& person, TMyNode& E, std::string& vlBasis,
                          std::string& outCode) {
  const TPackNames& n = Names();
  ReadTerritorialConditions(X, person, E);

  TMyNode* special = E.SelectSingleNode(n.special);
  outCode = TextOf(special, n.specialCode);
  if (!outCode.empty()) X->ProfessionCode = fTexts.Get(UpperCase(TextOf(special, n.listPosition)));

  TMyNode* longService = E.SelectSingleNode(n.longService);
  vlBasis = TextOf(longService, n.longServiceBasis);
  if (!vlBasis.empty()) {
    // A share that is missing or no number counts as no rate at all.
    X->Rate = 0;
    if (TMyNode* rate = longService->SelectSingleNode(n.rateShare)) {
      X->RateNodeData = TNodeData(*rate);
      double value = 0;
      if (reading::TryParsePointNumber(rate->text(), value)) X->Rate = value;
    }
    switch (CheckPartTime(outCode, X->ProfessionCode, vlBasis, X->Rate)) {
      case 1: PartTimeWarnings->AddRecord(std::make_unique<TPartTimeResult>(outCode, vlBasis, person, X)); break;
      case 2: PartTimeErrors->AddRecord(std::make_unique<TPartTimeResult>(outCode, vlBasis, person, X)); break;
      default: break;
    }
    if (vlBasis == "27-15") {
      if (TMyNode* calendar = longService->SelectSingleNode(n.calendarOutput)) {
        X->FactNodeData = TNodeData(*calendar);
        if (TMyNode* months = calendar->SelectSingleNode(n.allMonths)) X->Months = months->text();
        if (TMyNode* days = calendar->SelectSingleNode(n.allDays)) X->Days = days->text();
      }
    }
    const bool flight = std::any_of(kFlightCodes.begin(), kFlightCodes.end(),
                                    [&](std::string_view code) { return Contains(vlBasis, code); });
    if (flight) {
      ReadHoursOutput(vlBasis, *X, *longService);
      AddFlightWarnings(vlBasis, person, X);
    }
  }

  if (TMyNode* addPd = E.SelectSingleNode(n.addPdData)) {
    if (!X->AddPdData.Set(addPd->text())) {
      AddError("Код дополнительных данных ИС \"" + HtmlEscape(std::string(addPd->text())) + "\" в периоде работы [" +
               X->pPeriodString() + "] ЗЛ со СНИЛС " + HtmlEscape(person->SN) + " не входит в число допустимых");
    }
  }

  ReadSeniority(Season, UIK, *X, E);

  std::string wc;
  if (!n.sout.empty()) {
    wc = TextOf(E.SelectSingleNode(n.sout), n.soutCode);
    // Classes 3.x (harmful) and 4 (dangerous) are written with the letter the
    // List uses for them.
    if (!wc.empty() && wc[0] == '3') {
      wc = "В" + wc;
    } else if (!wc.empty() && wc[0] == '4') {
      wc = "О" + wc;
    }
  }
  X->WC = fTexts.Get(wc);
}

void TPack::ReadHoursOutput(std::string_view vlBasis, TWorkPeriod& X, TMyNode& longService) const {
  const TPackNames& n = *fNames;
  TMyNode* output = longService.SelectSingleNode(n.hoursOutput);
  if (output == nullptr) return;
  X.FactNodeData = TNodeData(*output);
  if (TMyNode* hours = output->SelectSingleNode(n.hours)) {
    if (IsOneOf(vlBasis, kHoursAsText)) {
      X.Hours = hours->text();
    } else {
      X.PDRKHoursNodeData = TNodeData(*output);
      X.PDRKHours = reading::ParsePointNumber(hours->text());
    }
  }
  if (TMyNode* minutes = output->SelectSingleNode(n.minutes)) {
    if (MinutesAsText(vlBasis)) {
      X.Minutes = minutes->text();
    } else {
      X.PDRKHoursNodeData = TNodeData(*output);
      X.PDRKMinutes = reading::ParsePointNumber(minutes->text());
    }
  }
}

void TPack::AddFlightWarnings(std::string_view vlBasis, const std::shared_ptr<TWorker>& person,
                              const std::shared_ptr<TWorkPeriod>& X) {
  const std::string basis(vlBasis);
  if (vlBasis == "РЕАКТИВН" || vlBasis == "НОРМСП") {
    JumpWarnings->AddRecord(std::make_unique<TJumpWarning>(person, X, basis));
  } else if (Contains(vlBasis, "ПДРК")) {
    if (X->PDRKHours == 0 && X->PDRKMinutes == 0) {
      PDRKWarnings->AddRecord(std::make_unique<TPDRKWarning>(person, X, basis));
    }
  } else if (!Contains(vlBasis, "ПД")) {
    FlightWarnings->AddRecord(std::make_unique<TFlightWarning>(person, X, basis));
  }
}

void TPack::ReadSeniority(bool& Season, bool& UIK, TWorkPeriod& X, TMyNode& E) const {
  const TPackNames& n = *fNames;
  TMyNode* seniority = E.SelectSingleNode(n.seniority);
  if (seniority == nullptr) return;
  if (TMyNode* basis = seniority->SelectSingleNode(n.seniorityBasis)) {
    X.SeniorityNodeData = TNodeData(*basis);
    X.SetSeniorityBase(basis->text());
    if (basis->text() == "СЕЗОН") Season = true;
    if (basis->text() == "УИК104") UIK = true;
  }
  if (TMyNode* calendar = seniority->SelectSingleNode(n.calendarOutput)) {
    X.FactNodeData = TNodeData(*calendar);
    const std::string_view months = TextOf(calendar, n.allMonths);
    const std::string_view days = TextOf(calendar, n.allDays);
    if (!months.empty()) X.Months = months;
    if (!days.empty()) X.Days = days;
  }
  if (TMyNode* hoursOutput = seniority->SelectSingleNode(n.hoursOutput)) {
    X.FactNodeData = TNodeData(*hoursOutput);
    const std::string_view hours = TextOf(hoursOutput, n.hours);
    const std::string_view minutes = TextOf(hoursOutput, n.minutes);
    if (!hours.empty()) X.Hours = hours;
    if (!minutes.empty()) X.Minutes = minutes;
  }
}

std::string TPack::ReadProfession(TMyNode& E) const {
  return std::string(ChildText(&E, "ПрофессияДолжность"));
}

void TPack::ReadAddTariffPayments(TMyNode& personNode, TPDType form, TWorker& person) {
  person.PaymentsNodeData = person.NodeData;
  const TPackGeneration generation = GenerationOf(form);
  if (generation == TPackGeneration::pg2017) {
    // The 2017 forms carry no amounts; a СЗВ-СТАЖ (and a СЗВ-КОРР for a year
    // from 2017) states that contributions at the additional tariff are due.
    if (form == TPDType::pdtSZVStag) person.HasAT = true;
    if (form == TPDType::pdtSZVCorr && BaseData && BaseData->Year > 2016) person.HasAT = true;
    return;
  }
  if (generation == TPackGeneration::pgEFS1) return;

  try {
    const std::string* rowName = nullptr;
    static const std::string kRows = "СуммаВыплатИвознагражденийПоДопТарифу";
    static const std::string kRowsRsv = "СведенияОсуммеВыплатИвознагражденийПоДопТарифу";
    if (personNode.SelectSingleNode(kRows) != nullptr) {
      rowName = &kRows;
    } else if (personNode.SelectSingleNode(kRowsRsv) != nullptr) {
      rowName = &kRowsRsv;
    } else {
      return;
    }
    const TMyNodeList& rows = personNode.SelectNodes(*rowName);
    person.PaymentsNodeData = TNodeData(*rows.front());

    // The total row of a reporting period may come before or after its month
    // rows; its payments belong to the person once a month row shows that the
    // person worked in the period ("direct" when the months come first).
    std::optional<TAddTariffPaymentList> pending;
    bool direct = false;
    for (TMyNode* row : rows) {
      TMyNode* typeNode = row->SelectSingleNode("ТипСтроки");
      if (typeNode == nullptr) continue;
      const std::string_view type = typeNode->text();
      if (type == "МЕСЦ") {
        TMyNode* monthNode = row->SelectSingleNode("Месяц");
        int month = 0;
        if (monthNode == nullptr || !TryStrToInt(monthNode->text(), month)) continue;
        const bool inPerson = std::any_of(person.WorkPeriods.begin(), person.WorkPeriods.end(), [month](const auto& p) {
          return MonthOf(p->Start) <= month && month <= MonthOf(p->Finish);
        });
        if (form == TPDType::pdtSZV64 && !pending && inPerson) {
          direct = true;
        } else if (pending && inPerson) {
          person.AddTariffPayments.insert(person.AddTariffPayments.end(), pending->begin(), pending->end());
          pending.reset();
        }
      } else if (type == "ИТОГ") {
        pending.reset();
        const std::string_view wc = ChildText(row, "КодСпециальнойОценкиУсловийТруда");
        const std::string_view line = ChildText(row, "КодСтроки");
        for (TMyNode* child : row->ChildNodes()) {
          const std::string_view name = child->NodeName();
          if (!Contains(name, "СуммаВыплатПоДопТарифу")) continue;
          TAddTariffBase base;
          if (Contains(name, "27-1")) {
            base = TAddTariffBase::atb1;
          } else if (Contains(name, "27-2-18")) {
            base = TAddTariffBase::atb218;
          } else {
            continue;
          }
          auto payment = std::make_shared<TAddTariffPayment>(base, std::string(wc), reading::ParsePointNumber(child->text()),
                                                             std::string(line));
          if (direct) {
            person.AddTariffPayments.push_back(std::move(payment));
          } else {
            if (!pending) pending.emplace();
            pending->push_back(std::move(payment));
          }
        }
        direct = false;
      }
    }
  } catch (const std::exception& e) {
    LogError(e);
  }
}

}  // namespace morvel
