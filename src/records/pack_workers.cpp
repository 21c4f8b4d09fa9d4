// Reading the persons of a pack and their work periods.

#include <algorithm>
#include <array>
#include <exception>

#include "base/error.h"
#include "base/text.h"
#include "records/pack.h"
#include "records/pack_names.h"
#include "records/reading.h"
#include "xml/node_access.h"

namespace morvel {
namespace {

using reading::Need;
using reading::NeedChild;

// Long-service bases of medical work: two different ones in one work period
// are two periods, because each is counted on its own.
constexpr std::array<std::string_view, 4> kSeparateLongServiceBases = {"27-ГД", "27-СМ", "27-ГДХР", "27-СМХР"};

bool IsSeparateLongServiceBasis(std::string_view basis) {
  return std::find(kSeparateLongServiceBases.begin(), kSeparateLongServiceBases.end(), basis) !=
         kSeparateLongServiceBases.end();
}

bool IsPreferential(const TWorkPeriod& period) {
  return !period.Bases.Empty() || period.TerritoryCondition == "СЕЛО";
}

// A worked-time value of a merged entry replaces the period's own only when it
// says something: "0" is what every new period holds before anything is read,
// and taking it would wipe the time the first entry gave.
void TakeWorkedTime(TSharedText& own, const TSharedText& merged) {
  if (!merged.empty() && merged != "0") own = merged;
}

}  // namespace

int TPack::ReadWorkers(TMyNode* Node, int SearchYear) {
  if (Node == nullptr || !BaseData) return static_cast<int>(Workers.size());
  try {
    const TPackNames& n = Names();
    const bool efs = n.generation == TPackGeneration::pgEFS1;
    const TMyNodeList& persons = Node->GetElementsByTagName(n.person);
    Log("---необходимо обработать " + IntToStr(static_cast<long long>(persons.size())) +
        " сведений (прочитать данные о человеке, периоды работы)");
    Workers.reserve(Workers.size() + persons.size());

    for (std::size_t i = 0; i < persons.size(); ++i) {
      TMyNode& personNode = *persons[i];
      try {
        auto worker = std::make_shared<TWorker>();
        worker->IsEFS1 = efs;
        InitWorker(personNode, static_cast<int>(i), FPackNum, *worker);

        // A ЕФС-1 person may report several years, one block each; such a person
        // is still one person of the pack and counted once.
        bool read = false;
        if (efs) {
          if (personNode.SelectSingleNode("СЗВ-СТАЖ") != nullptr) {
            for (TMyNode* block : personNode.SelectNodes("СЗВ-СТАЖ")) {
              const std::string_view kind = ChildText(block, "Тип");
              if (kind != "1" && kind != "3") continue;
              TPeriodically blockPeriod;
              blockPeriod.Year = StrToInt(NeedChild(*block, "ОтчетныйПериод").text());
              TMyNode* corrected = block->SelectSingleNode("КоррОтмПериод");
              blockPeriod.CorrYear = corrected != nullptr ? StrToInt(corrected->text()) : 0;
              if (blockPeriod.CorrYear == 0) blockPeriod.CorrYear = blockPeriod.Year;
              blockPeriod.IsCorr = kind == "3";
              if (SearchYear != 0 && SearchYear != blockPeriod.CorrYear) continue;
              ReadWorkPeriods(*block, blockPeriod, worker);
              // Without periods the person still needs a year to be filed under.
              if (worker->WorkPeriods.empty()) {
                worker->Periodicals.emplace_back(blockPeriod.Year, blockPeriod.CorrYear, blockPeriod.IsCorr);
              }
              ReadAddTariffPayments(personNode, n.form, *worker);
              read = true;
            }
          }
        } else {
          ReadWorkPeriods(personNode, TPeriodically(), worker);
          ReadAddTariffPayments(personNode, n.form, *worker);
          read = true;
        }
        if (!read) continue;

        if (std::none_of(worker->WorkPeriods.begin(), worker->WorkPeriods.end(),
                         [](const auto& period) { return IsPreferential(*period); })) {
          worker->HasLgotBasis = false;
        }
        if (worker->HasLgotBasis) {
          HasLgot = true;
          ++FLgotWorkerCount;
        }
        Workers.push_back(std::move(worker));
      } catch (const std::exception&) {
        AddError("Ошибка при разборе блока " + n.person + " в пачке № " + HtmlEscape(FPackNum) +
                 ". Проверьте пачку на соответствие формату (например, программой Tarvok).");
      }
    }
    if (!HasLgot) AddPdDataWarnings->ClearRecords();
  } catch (const std::exception& e) {
    // Nothing outside the guard of a person is expected to fail; if something
    // does, the persons read so far stay and the failure is logged.
    LogError(e);
  }
  return static_cast<int>(Workers.size());
}

void TPack::InitWorker(TMyNode& WorkerDataNode, int Number, const TSharedText& PackNum, TWorker& worker) {
  const TPackNames& n = Names();
  worker.NodeData = TNodeData(WorkerDataNode);
  worker.PaymentsNodeData = worker.NodeData;
  TMyNode& fullName = NeedChild(WorkerDataNode, n.fullName);
  worker.FullNameNodeData = TNodeData(fullName);
  worker.Surname = fTexts.Get(UpperCase(NeedChild(fullName, n.surname).text()));
  worker.Name = fTexts.Get(UpperCase(NeedChild(fullName, n.name).text()));
  if (TMyNode* patronymic = FirstDescendant(&fullName, n.patronymic)) {
    worker.Patronymic = fTexts.Get(UpperCase(patronymic->text()));
  }

  const std::string_view number = Need(FirstDescendant(&WorkerDataNode, n.insuranceNumber), n.insuranceNumber).text();
  // The twelfth character separates the check digits; files write a blank or a
  // hyphen there, the program always a blank.
  if (Utf8Length(number) < 12) throw EMorvelError("Страховой номер \"" + std::string(number) + "\" короче 12 знаков");
  worker.SN = Utf8ReplaceAt(number, 11, " ");
  static const TSharedText kHiredWorker("НР");
  worker.CategoryCode = kHiredWorker;
  worker.PackNum = PackNum;
  worker.NumInPack = n.generation == TPackGeneration::pgBefore2017 ? std::string(NeedChild(WorkerDataNode, n.numberInPack).text())
                                                                    : IntToStr(Number + 1);
}

void TPack::ReadWorkPeriods(TMyNode& block, const TPeriodically& blockPeriod, const std::shared_ptr<TWorker>& person) {
  const TPackNames& n = Names();
  std::vector<std::unique_ptr<TAddPdDataWarning>> kept;
  if (block.SelectSingleNode(n.workPeriod) != nullptr) {
    for (TMyNode* element : block.SelectNodes(n.workPeriod)) {
      try {
        ReadWorkPeriod(*element, blockPeriod, person, kept);
      } catch (const std::exception& e) {
        Log("Ошибка при разборе данных работника " + person->SN + " в файле " + FileName);
        AddError("Ошибка при разборе данных работника " + HtmlEscape(person->SN) + " в файле " + HtmlEscape(FileName));
        LogError(e);
      }
    }
  }
  // The additional data of a person without preferential work is of no
  // interest to the reconciliation.
  if (person->HasLgotBasis) {
    for (auto& warning : kept) AddPdDataWarnings->AddRecord(std::move(warning));
  }
}

TMyNode& TPack::EntryElement(TMyNode& entry) {
  const TPackNames& n = Names();
  return n.entryDetails.empty() ? entry : NeedChild(entry, n.entryDetails);
}

void TPack::ReadWorkPeriod(TMyNode& element, const TPeriodically& blockPeriod, const std::shared_ptr<TWorker>& person,
                           std::vector<std::unique_ptr<TAddPdDataWarning>>& kept) {
  const TPackNames& n = Names();
  const TNodeData where(element);

  auto P = std::make_shared<TWorkPeriod>();
  P->Year = blockPeriod.Year;
  P->CorrYear = blockPeriod.CorrYear;
  P->IsCorr = blockPeriod.IsCorr;
  P->NodeData = where;
  P->RateNodeData = where;
  P->SeniorityNodeData = where;
  if (n.generation == TPackGeneration::pgBefore2017) {
    P->Start = StrToDateDMY(NeedChild(element, n.periodStart).text());
    P->Finish = StrToDateDMY(NeedChild(element, n.periodEnd).text());
  } else {
    TMyNode& dates = NeedChild(element, n.periodDates);
    P->Start = StrToDateISO(NeedChild(dates, n.periodStart).text());
    P->Finish = StrToDateISO(NeedChild(dates, n.periodEnd).text());
  }
  bool season = false;
  bool uik = false;

  const TMyNodeList entryList = element.SelectNodes(n.entry);
  const TMyNodeList* entries = entryList.empty() ? nullptr : &entryList;
  if (entries != nullptr) {
    std::string vlp;
    std::string outp;
    TMyNode& first = EntryElement(*(*entries)[0]);
    ReadLgotEntry(season, uik, P, person, first, vlp, outp);
    if (!vlp.empty()) P->Bases.Add(vlp);
    if (!outp.empty()) P->Bases.Add(outp);
    if (n.generation == TPackGeneration::pgBefore2017) P->Profession = fTexts.Get(ReadProfession(first));

    for (std::size_t k = 1; k < entries->size(); ++k) {
      TMyNode& E = EntryElement(*(*entries)[k]);
      auto S = std::make_shared<TWorkPeriod>();
      // The sub-period belongs to the same block as the period: a split-off one
      // must be filed under the same reporting year, and its records indexed
      // under the same key.
      S->Year = blockPeriod.Year;
      S->CorrYear = blockPeriod.CorrYear;
      S->IsCorr = blockPeriod.IsCorr;
      S->NodeData = where;
      S->RateNodeData = where;
      S->Start = P->Start;
      S->Finish = P->Finish;

      TTableResult* const tables[] = {AddPdDataWarnings.get(), PDRKWarnings.get(),   FlightWarnings.get(),
                                      PartTimeWarnings.get(),  PartTimeErrors.get(), JumpWarnings.get()};
      std::size_t marks[std::size(tables)];
      for (std::size_t t = 0; t < std::size(tables); ++t) marks[t] = static_cast<std::size_t>(tables[t]->Count());

      bool seasonS = false;
      bool uikS = false;
      std::string vls;
      std::string outs;
      ReadLgotEntry(seasonS, uikS, S, person, E, vls, outs);

      if (!P->Bases.Empty()) {
        if (!outs.empty()) {
          const bool heldOut = P->Bases.Contains(outs);
          if (!P->ProfessionCode.empty() && !S->ProfessionCode.empty() && P->ProfessionCode != S->ProfessionCode) {
            // Another position of the list: a period of its own.
            S->Bases.Add(outs);
            if (!vls.empty()) S->Bases.Add(vls);
            GiveSplitOff(S, *person, true);
            continue;
          }
          if (!P->ProfessionCode.empty() && heldOut) outs.clear();
        }
        if (!vls.empty()) {
          const bool heldVl = P->Bases.Contains(vls);
          if (vlp != vls && IsSeparateLongServiceBasis(vlp) && IsSeparateLongServiceBasis(vls)) {
            S->Bases.Add(vls);
            if (!outs.empty()) S->Bases.Add(outs);
            GiveSplitOff(S, *person, false);
            continue;
          }
          // The same basis in several entries is work at several rates.
          P->Rate = heldVl ? P->Rate + S->Rate : S->Rate;
        }
      }

      for (std::size_t t = 0; t < std::size(tables); ++t) RepointResults(*tables[t], marks[t], S);
      if (!vls.empty()) P->Bases.Add(vls);
      if (!outs.empty()) P->Bases.Add(outs);
      P->AddPdData.Merge(S->AddPdData);
      season = season || seasonS;
      uik = uik || uikS;
      if (S->PDRKHours != 0) P->PDRKHours = S->PDRKHours;
      if (S->PDRKMinutes != 0) P->PDRKMinutes = S->PDRKMinutes;
      TakeWorkedTime(P->Hours, S->Hours);
      TakeWorkedTime(P->Minutes, S->Minutes);
      TakeWorkedTime(P->Days, S->Days);
      TakeWorkedTime(P->Months, S->Months);
      if (P->ProfessionCode.empty()) P->ProfessionCode = S->ProfessionCode;
      if (P->Rate == 0) P->Rate = S->Rate;
      if (P->SeniorityBase().empty()) P->SetSeniorityBase(S->SeniorityBase());
    }
  }

  std::string ots;
  if (IsPreferential(*P)) {
    person->HasLgotBasis = true;
    P->PackNum = FPackNum;
    P->NumInPack = person->NumInPack;
    P->Period = BaseData->Period;
    if (!person->AddWorkperiod(P)) {
      DeleteAddPdDataWarningsOf(*person);
      return;
    }
  } else if (!P->AddPdData.ValueByType(TAddPdDataEnum::epdAdmin) &&
             !P->AddPdData.ValueByType(TAddPdDataEnum::epdNoPay)) {
    ots = P->pBeginAsString() + " - " + P->pEndAsString() + " (ОТС)";
  }
  // Without additional data, season or УИК there is nothing to warn about; the
  // look-ups by name are not free, and most periods have none of them.
  if (!P->AddPdData.HasData() && !season && !uik) return;
  if (auto warning = TAddPdDataWarning::TryCreateAddPdDataWarning(P, person, season, uik, ots, P->AddPdData)) {
    kept.push_back(std::move(warning));
  }
}

void TPack::GiveSplitOff(const std::shared_ptr<TWorkPeriod>& S, TWorker& person, bool withPackDate) {
  S->PackNum = FPackNum;
  // The person's number in the pack too: the protocol shows it for every period.
  S->NumInPack = person.NumInPack;
  S->Period = BaseData->Period;
  if (withPackDate) S->PackDate = FPackDate;
  if (!person.AddWorkperiod(S)) DeleteAddPdDataWarningsOf(person);
}

void TPack::RepointResults(TTableResult& table, std::size_t first, const std::shared_ptr<TWorkPeriod>& S) {
  const auto& records = table.Records();
  for (std::size_t i = first; i < records.size(); ++i) {
    TResultRecord& record = *records[i];
    if (record.FWorkPeriod_PD != S || !record.FWorker_PD) continue;
    for (const auto& candidate : record.FWorker_PD->WorkPeriods) {
      if (candidate->Start != S->Start || candidate->Finish != S->Finish) continue;
      // The table indexes the record by its period's key; the index stays right
      // only while the key does.
      auto* withPeriod = dynamic_cast<TResultRecordWithPeriod*>(&record);
      if (withPeriod != nullptr && withPeriod->FPeriod == S && candidate->GetKey() == S->GetKey()) {
        withPeriod->FPeriod = candidate;
      }
      record.FWorkPeriod_PD = candidate;
      break;
    }
  }
}

void TPack::DeleteAddPdDataWarningsOf(const TWorker& person) {
  for (int i = AddPdDataWarnings->Count() - 1; i >= 0; --i) {
    const TResultRecord& record = AddPdDataWarnings->GetRecord(i);
    if (record.FWorker_PD && record.FWorker_PD->PackNum == FPackNum && record.FWorker_PD->SN == person.SN) {
      AddPdDataWarnings->DeleteRecord(i);
    }
  }
}

}  // namespace morvel
