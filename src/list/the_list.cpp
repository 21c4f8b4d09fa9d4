#include "list/the_list.h"

#include <initializer_list>
#include <new>
#include <system_error>

#include "base/error.h"
#include "base/format_settings.h"
#include "base/text.h"
#include "config/settings.h"
#include "xml/my_node.h"
#include "xml/node_access.h"

namespace morvel {
namespace {

constexpr std::string_view kUnjustifiedStatus = "ПРОВЕРЕНА-ВКЛЮЧЕНА-НЕОБОСНОВАНО";
constexpr std::string_view kQualification = "КВАЛИФ";
constexpr std::string_view kArchive = "isArchive";
constexpr std::string_view kArchiveUpper = "ISARCHIVE";

// The children of that name, asked for only when there is one: a query for an
// absent name would leave an empty list behind in the node for every element read.
template <typename F>
void ForEachChild(TMyNode* node, std::string_view name, F&& action) {
  if (node == nullptr || node->SelectSingleNode(name) == nullptr) return;
  for (TMyNode* child : node->SelectNodes(name)) action(child);
}

// A number as the List writes it, with a decimal point whatever the process's
// separator; a comma, blanks inside, or anything that is not a finite number fail.
bool TryReadDecimal(std::string_view text, double& value) { return TryStrToFloatPoint(text, value); }

double ReadDecimal(const TMyNode& node) {
  double value = 0;
  if (!TryReadDecimal(node.text(), value)) {
    throw EConvertError("Не число \"" + QuotedInput(node.text()) + "\" в элементе " + node.GetXPath());
  }
  return value;
}

// The date of an attribute as dd.mm.yyyy; a missing attribute or a text that is
// not a date raises EConvertError naming the element.
TDate AttrDate(const TMyNode& node, std::string_view name) {
  const TMyAttrib* attrib = node.Attributes().getNamedItem(name);
  if (attrib == nullptr) {
    throw EConvertError("Нет атрибута " + std::string(name) + " у элемента " + node.GetXPath());
  }
  TDate date = 0;
  if (!TryParseDate(attrib->text(), "dd.mm.yyyy", '.', date)) {
    throw EConvertError("Неверная дата \"" + QuotedInput(attrib->text()) + "\" в атрибуте " + std::string(name) + " элемента " +
                        node.GetXPath());
  }
  return date;
}

TNodeData Location(const TMyNode* node) { return node != nullptr ? TNodeData(*node) : TNodeData(); }

// The quarter window exists only for the periods 0 to 4; any other would give a
// window of some unrelated month.
void CheckListPeriod(int period) {
  if (period < 0 || period > 4) throw EMorvelError("Неверный отчетный период Перечня: " + IntToStr(period));
}

// Each basis followed by a line break, the form the position finding lists them in.
std::string BasesOnePerLine(const TBases& bases) {
  std::string text;
  for (const std::string& code : bases) text += code + "\r\n";
  return text;
}

}  // namespace

TDate FirstDayOfPeriodQuarter(int year, int period) {
  CheckListPeriod(period);
  return PeriodQuarterBegin(year, period, 0);
}

TDate LastDayOfPeriod(int year, int period) {
  CheckListPeriod(period);
  if (!IsValidDate(year, 1, 1)) throw EConvertError("Неверный отчетный год Перечня: " + IntToStr(year));
  return PeriodEndDate(year, period, 0);
}

TTheList::TTheList() : fParseErrors_List(std::make_shared<TProtocolMessageList>()) {}

void TTheList::AddFinding(std::unique_ptr<TProtocolMessage> message) {
  fParseErrors_List->push_back(std::move(message));
}

std::shared_ptr<TProtocolMessageList> TTheList::TakeOverParseErrors() const {
  if (fParseErrors_List == nullptr || fParseErrors_List->empty()) return nullptr;
  return fParseErrors_List;
}

void TTheList::readStaff(int year, int period, TMyNode* listNode) {
  UseDayMonthYearDates();
  TDate qBegin = 0;
  TDate qEnd = 0;
  try {
    qBegin = FirstDayOfPeriodQuarter(year, FAccumulate ? 1 : period);
    qEnd = LastDayOfPeriod(fYear, fPeriod);
  } catch (const EMorvelError& e) {
    // Without a window no position and no period can be counted; a List read
    // as empty would be compared as if it had none, so the caller must drop it.
    LogError(e);
    throw;
  }

  TMyNode* enterprise = listNode != nullptr ? listNode->SelectSingleNode("Предприятие") : nullptr;
  fOrgName = AttrText(enterprise, "Наименование");
  fWarmDays = CountSeasonDays(enterprise, true, qBegin, qEnd);
  fNavDays = CountSeasonDays(enterprise, false, qBegin, qEnd);
  if (enterprise == nullptr) return;

  int subdivisions = 0;
  int withoutNameList = 0;
  ForEachChild(enterprise, "Подразделение", [&](TMyNode* subdivision) {
    ++subdivisions;
    // Every person and period of the subdivision shares its number.
    const TSharedText number(AttrText(subdivision, "Номер"));
    const std::string name(AttrText(subdivision, "Наименование"));
    double warmDays = CountSeasonDays(subdivision, true, qBegin, qEnd);
    if (warmDays == 0) warmDays = fWarmDays;
    double navDays = CountSeasonDays(subdivision, false, qBegin, qEnd);
    if (navDays == 0) navDays = fNavDays;

    if (TMyNode* names = subdivision->SelectSingleNode("ПоименныйСписок")) {
      readWorkersList(qBegin, qEnd, names, number, name);
    } else {
      ++withoutNameList;
    }
    ForEachChild(subdivision, "Позиция", [&](TMyNode* position) {
      ReadPosition(position, number, name, qBegin, qEnd, warmDays, navDays);
    });
  });

  if (withoutNameList > 0) {
    const TNodeData where = Location(enterprise);
    AddFinding(std::make_unique<TNoNameListListError>(
        "Предупреждение. Нет поименных списков в " + IntToStr(withoutNameList) + " подразделениях из " +
            IntToStr(subdivisions) + " подразделений Перечня.",
        0, 0, &where, false));
  }
}

void TTheList::ReadPosition(TMyNode* positionNode, const std::string& subNum, const std::string& subName,
                            TDate QBegin, TDate QEnd, double warmDays, double navDays) {
  const bool hasEnd = HasAttr(positionNode, "ДатаКон");
  TDate dEnd = hasEnd ? AttrDate(*positionNode, "ДатаКон") : 0;
  if (hasEnd && dEnd < QBegin) return;  // ended before the window

  const TBases bases = ReadBases(positionNode);
  const std::string code = UpperCase(ChildText(positionNode, "ПозицияСписка"));
  const std::string_view profession = ChildText(positionNode, "Профессия");

  if (UpperCase(AttrText(positionNode, "СтатусПроверки")) == kUnjustifiedStatus) {
    const TNodeData where = Location(positionNode);
    AddFinding(std::make_unique<TBadPositionListError>(
        "Позиция штатного расписания (Профессия=" + HtmlEscape(profession) +
            ", ОснованиеЛьготы=" + HtmlEscape(BasesOnePerLine(bases)) + ", ПозицияСписка=" + HtmlEscape(code) +
            ") из подразделения №:" + HtmlEscape(subNum) + ", Наименование:\"" + HtmlEscape(subName) +
            "\"<br> - не учитывается при сверке т.к. имеет статус \"" + std::string(kUnjustifiedStatus) + "\"",
        0, 0, &where, false));
    return;
  }

  TDate dBegin = AttrDate(*positionNode, "ДатаНач");
  if (dBegin < QBegin) dBegin = QBegin;
  if (hasEnd && dEnd > QEnd) dEnd = QEnd;

  const std::string_view terrCond = ChildText(positionNode, "ТерриториальныеУсловия");
  std::shared_ptr<TPosition> position = GetPositionByBasesAndCode(bases, code, terrCond);
  if (position == nullptr) {
    position = std::make_shared<TPosition>();
    position->fPost = profession;
    position->fTerrCond = terrCond;
    position->fProfessionCode = code;
    position->Bases = bases;
    fPositions.push_back(position);
  }

  double staffUnits = 0;
  TMyNode* staffNode = positionNode->SelectSingleNode("КоличествоШтат");
  if (staffNode == nullptr || !TryReadDecimal(staffNode->text(), staffUnits)) {
    position->fPost = profession;
    AddFinding(std::make_unique<TListError>(
        "Некорректное заполнение перечня. Доли ставок в штатном расписании следует писать через точку, а не "
        "запятую. Основания льготы:" +
            HtmlEscape(bases.DelimitedText()) + ", профессия:" + HtmlEscape(position->fPost),
        0, 0, nullptr, true));
    return;
  }

  // An entry that starts after the window still counts its staff units, and
  // its season days when the position is paid by the season; its date span
  // gives no days rather than negative ones.
  position->fWorkingDays += position->setWorkingDays(QBegin, QEnd, dBegin, dEnd, staffUnits, fYear,
                                                     position->fProfessionCode, bases.DelimitedText(), warmDays,
                                                     navDays);
  position->fQuantityByPositions += staffUnits;
}

TBases TTheList::ReadBases(TMyNode* element) {
  TBases bases;
  ForEachChild(element, "ОснованиеЛьготы", [&](TMyNode* basis) {
    if (basis->text().empty() || basis->text() == kQualification) return;
    bases.Add(basis->text());
  });
  return bases;
}

double TTheList::CountSeasonDays(TMyNode* element, bool heating, TDate QBegin, TDate QEnd) {
  const std::string_view seasonName = heating ? "ОтопительныйСезон" : "НавигационныйСезон";
  const std::string kind = heating ? "отопительн" : "навигацион";
  const TDate yearBegin = EncodeDate(fYear, 1, 1);
  const TDate yearEnd = EncodeDate(fYear, 12, 31);
  double days = 0;
  int k = 0;
  ForEachChild(element, seasonName, [&](TMyNode* season) {
    ++k;
    const TNodeData where = Location(season);
    TDate start = HasAttr(season, "ДатаНач") ? AttrDate(*season, "ДатаНач") : yearBegin;
    if (YearOf(start) > fYear) {
      AddFinding(std::make_unique<TWrongPeriod>("Неверно указан год начала " + IntToStr(k) + "-го " + kind +
                                                    "ного периода! (" + IntToStr(YearOf(start)) + ")",
                                                0, 0, &where, true));
    }
    if (start < yearBegin) start = yearBegin;

    TDate end = HasAttr(season, "ДатаКон") ? AttrDate(*season, "ДатаКон") : yearEnd;
    const int endYear = YearOf(end);
    if (endYear != fYear) {
      AddFinding(std::make_unique<TWrongPeriod>("Неверно указан год окончания " + IntToStr(k) + "-го " + kind +
                                                    "ного периода! (" + IntToStr(endYear) + ")",
                                                0, 0, &where, endYear < fYear));
    }
    if (end > yearEnd) end = yearEnd;

    if (start < QBegin) start = QBegin;
    if (end > QEnd) end = QEnd;
    // A season that ends before it starts has no days rather than a negative count.
    if (start <= QEnd && end >= QBegin && start <= end) days += static_cast<double>(end - start + 1);
  });
  return days;
}

std::string TTheList::PositionKey(const TCodeSet& bases, std::string_view profCode) {
  const std::string& text = bases.DelimitedText();
  std::string key = IntToStr(static_cast<long long>(text.size()));
  key += ':';
  key += text;
  key += profCode;
  return key;
}

void TTheList::SyncPositionIndex() const {
  if (fPositions.size() < fPositionsIndexed) {
    fPositionIndex.clear();
    fPositionsIndexed = 0;
  }
  for (; fPositionsIndexed < fPositions.size(); ++fPositionsIndexed) {
    const TPosition* position = fPositions[fPositionsIndexed].get();
    if (position == nullptr) continue;
    fPositionIndex[PositionKey(position->Bases, position->fProfessionCode)].push_back(fPositionsIndexed);
  }
}

std::shared_ptr<TPosition> TTheList::GetPositionByBasesAndCode(const TCodeSet& Bases, std::string_view profCode,
                                                               std::string_view terrCond) const {
  SyncPositionIndex();
  const std::string code = UpperCase(profCode);
  const auto found = fPositionIndex.find(PositionKey(Bases, code));
  if (found == fPositionIndex.end()) return nullptr;
  const std::string terr = UpperCase(terrCond);
  for (std::size_t i : found->second) {
    const std::shared_ptr<TPosition>& position = fPositions[i];
    if (position != nullptr && position->Matches(Bases, code, terr)) return position;
  }
  return nullptr;
}

void TTheList::SyncWorkerIndex() const {
  if (fWorkers.size() < fWorkersIndexed) {
    fWorkerIndex.Clear();
    fWorkersIndexed = 0;
  }
  if (fWorkersIndexed < fWorkers.size()) fWorkerIndex.Reserve(fWorkers.size());
  for (; fWorkersIndexed < fWorkers.size(); ++fWorkersIndexed) {
    const TWorker* worker = fWorkers[fWorkersIndexed].get();
    if (worker != nullptr) fWorkerIndex.TryEmplace(worker->SN, fWorkersIndexed);  // keeps the first
  }
}

std::shared_ptr<TWorker> TTheList::FindWorker(std::string_view SN) const {
  SyncWorkerIndex();
  const std::size_t found = fWorkerIndex.Find(SN);
  if (found == TInsuranceNumberIndex::npos) return nullptr;
  const std::shared_ptr<TWorker>& worker = fWorkers[found];
  if (worker != nullptr && worker->SN == SN) return worker;
  // The list was changed in place: rebuild once and look again.
  fWorkerIndex.Clear();
  fWorkersIndexed = 0;
  SyncWorkerIndex();
  const std::size_t again = fWorkerIndex.Find(SN);
  return again != TInsuranceNumberIndex::npos ? fWorkers[again] : nullptr;
}

void TTheList::readWorkersList(TDate QBeginDate, TDate QEndDate, TMyNode* NamesList, const TSharedText& numSub,
                               const std::string& SubName) {
  if (NamesList == nullptr) return;
  if (NamesList->SelectSingleNode("Работник") == nullptr) {
    const TNodeData where = Location(NamesList);
    AddFinding(std::make_unique<TNoPeopleInNameListListError>("Предупреждение. У подразделения №" +
                                                                  HtmlEscape(numSub) + ", \"" + HtmlEscape(SubName) +
                                                                  "\" пуст поименный список",
                                                              0, 0, &where, false));
    return;
  }
  for (TMyNode* personNode : NamesList->SelectNodes("Работник")) {
    const TMyAttrib* number = personNode->Attributes().getNamedItem("СтраховойНомер");
    if (number == nullptr) {
      throw EMorvelError("Нет атрибута СтраховойНомер у элемента " + personNode->GetXPath());
    }
    // The twelfth character separates the check digits; it is written as a blank
    // or a hyphen, and the individual records compare it as a blank.
    const std::string sn = Utf8ReplaceAt(number->text(), 11, " ");

    if (std::shared_ptr<TWorker> known = FindWorker(sn)) {
      ReadWorkPeriods(*known, numSub, personNode, QEndDate, QBeginDate);
      continue;
    }
    if (UpperCase(AttrText(personNode, "Комментарий")) == kArchiveUpper) continue;

    auto worker = std::make_shared<TWorker>();
    // A name part left out keeps its empty value.
    auto readName = [&](const char* attribute, TSharedText& part) {
      if (HasAttr(personNode, attribute)) part = fTexts.Get(UpperCase(Trim(AttrText(personNode, attribute))));
    };
    readName("Фамилия", worker->Surname);
    readName("Имя", worker->Name);
    readName("Отчество", worker->Patronymic);
    worker->SN = sn;
    worker->SubNum = numSub;
    ReadWorkPeriods(*worker, numSub, personNode, QEndDate, QBeginDate);
    if (worker->WorkPeriods.empty()) continue;
    worker->NodeData = TNodeData(*personNode);
    worker->PaymentsNodeData = TNodeData(*personNode);
    fWorkers.push_back(std::move(worker));
  }
}

namespace {

// The fields of one "ПериодРаботы" inside the window; raises for a field that
// cannot be read. Returns nullptr for a period to pass over. Repeated texts
// come from `texts`.
std::shared_ptr<TWorkPeriod> ReadWorkPeriod(TMyNode& node, TDate QEndDate, TDate QBeginDate, TSharedTextPool& texts) {
  const TMyAttrib* comment = node.Attributes().getNamedItem("Комментарий");
  if (comment != nullptr && comment->text() == kArchive) return nullptr;

  auto period = std::make_shared<TWorkPeriod>();
  if (comment != nullptr) period->Comment = comment->text();

  TDate start = AttrDate(node, "ДатаНач");
  TDate finish = AttrDate(node, "ДатаКон");
  if (start > QEndDate || finish < QBeginDate) return nullptr;
  if (start < QBeginDate) start = QBeginDate;
  if (finish > QEndDate) finish = QEndDate;
  if (start > finish) {
    // Every later step counts on a period that does not end before it starts.
    throw EConvertError("Период работы кончается раньше, чем начинается: " + node.GetXPath());
  }
  period->Start = start;
  period->Finish = finish;

  period->NodeData = TNodeData(node);
  period->Note = ChildText(&node, "Примечание");
  period->Profession = texts.Get(ChildText(&node, "Профессия"));
  period->Bases = TTheList::ReadBases(&node);
  if (TMyNode* rate = node.SelectSingleNode("Ставка")) {
    period->Rate = ReadDecimal(*rate);
    period->RateNodeData = TNodeData(*rate);
  } else {
    period->Rate = 1.0;
  }
  period->TerritoryCondition = texts.Get(ChildText(&node, "ТерриториальныеУсловия"));
  period->ProfessionCode = texts.Get(UpperCase(ChildText(&node, "ПозицияСписка")));
  period->AddTariff = texts.Get(UpperCase(ChildText(&node, "ДополнительныйТариф")));
  period->WC = texts.Get(UpperCase(ChildText(&node, "КлассУТ")));
  period->SetSeniorityBase(UpperCase(ChildText(&node, "ОснованиеИсчисленияСтажа")));
  if (period->Bases.HasBases("27-ПД")) {
    if (TMyNode* hours = node.SelectSingleNode("Часы")) {
      period->PDRKHours = ReadDecimal(*hours);
      period->PDRKHoursNodeData = TNodeData(*hours);
    }
    if (TMyNode* minutes = node.SelectSingleNode("Минуты")) period->PDRKMinutes = ReadDecimal(*minutes);
  }
  if (TMyNode* fact = node.SelectSingleNode("ФактическиОтработано")) {
    period->FactNodeData = TNodeData(*fact);
    if (const std::string_view v = ChildText(fact, "Месяцев"); !v.empty()) period->Months = v;
    if (const std::string_view v = ChildText(fact, "Дней"); !v.empty()) period->Days = v;
    if (const std::string_view v = ChildText(fact, "Часов"); !v.empty()) period->Hours = v;
    if (const std::string_view v = ChildText(fact, "Минут"); !v.empty()) period->Minutes = v;
  }
  // A code the classifier does not know is left out, as the format allows only
  // the classifier's codes.
  if (const std::string_view extra = ChildText(&node, "ДополнительныеСведенияИсчисленияСтажа"); !extra.empty()) {
    period->AddPdData.Set(extra);
  }
  return period;
}

bool HoldsNoneOf(const TBases& bases, std::initializer_list<std::string_view> codes) {
  for (std::string_view code : codes) {
    if (bases.HasBases(code)) return false;
  }
  return true;
}

// The existing period with the same dates that takes the new one over, or nullptr.
TWorkPeriod* MergeTarget(const TWorker& person, const TWorkPeriod& period) {
  const bool sharedWorkplace = period.Bases.HasBases("28-1") || period.Bases.HasBases("28-2");
  for (const std::shared_ptr<TWorkPeriod>& existing : person.WorkPeriods) {
    if (existing == nullptr || existing->Start != period.Start || existing->Finish != period.Finish) continue;
    if (existing->Matches(period)) return existing.get();
    if (sharedWorkplace) {
      if (existing->Bases.HasBases(period.Bases) && existing->ProfessionCode == period.ProfessionCode) {
        return existing.get();
      }
    } else if (HoldsNoneOf(existing->Bases, {"27-ГДХР", "27-СМХР", "27-ПДРК"}) &&
               existing->Bases.HasBases(period.Bases)) {
      return existing.get();
    }
  }
  return nullptr;
}

}  // namespace

void TTheList::ReadWorkPeriods(TWorker& person, const TSharedText& numSub, TMyNode* workerNode, TDate QEndDate,
                               TDate QBeginDate) {
  ForEachChild(workerNode, "ПериодРаботы", [&](TMyNode* node) {
    std::shared_ptr<TWorkPeriod> period;
    try {
      period = ReadWorkPeriod(*node, QEndDate, QBeginDate, fTexts);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception&) {
      const TNodeData where = Location(node);
      AddFinding(std::make_unique<TBadPeriodListError>(
          "Ошибка заполнения одного из полей в периоде работы льготника из поименного списка к Перечню. " +
              HtmlEscape(person.Surname) + " " + HtmlEscape(person.Name) + " " + HtmlEscape(person.Patronymic) +
              " (" + HtmlEscape(person.SN) + ")",
          0, 0, &where, true));
      return;
    }
    if (period == nullptr) return;

    if (TWorkPeriod* target = MergeTarget(person, *period)) {
      target->Rate += period->Rate;
      return;
    }
    period->NumSub = numSub;
    person.WorkPeriods.push_back(std::move(period));
  });
}

}  // namespace morvel
