#include "verify/verification.h"

#include "base/format_settings.h"
#include "config/settings.h"

namespace morvel {
namespace {

// Appends the table to `results` when it holds records; an empty one stays
// with the pack, which frees it.
template <typename Table>
bool MoveIfFilled(std::unique_ptr<Table>& table, TResultList& results) {
  if (!table || table->Count() == 0) return false;
  results.push_back(std::move(table));
  return true;
}

// Once a person is merged, every later step looks at its merged periods only:
// the periods as read (for an IS person the pack's own) and the pieces of the
// division are let go at once, so that a large employer's persons are not held
// two or three times over and the next person's copies reuse their memory.
// Whatever a result record refers to stays alive through the record; the List's
// notes are collected from the periods as read before verification starts.
void ReleaseUnmergedPeriods(TWorker& W) {
  TWorkPeriodList().swap(W.FParsePeriods);
  TWorkPeriodList().swap(W.WorkPeriods);
}

}  // namespace

TVerification::TVerification() : FSettings(&TSettings::GetInstance()), fPDData(std::make_unique<TPDData>()) {}

TVerification::~TVerification() = default;

void TVerification::verify(TTheList* list, const std::vector<std::shared_ptr<TWorker>>& workers_IS, int nYear,
                           int /*nPeriod*/) {
  UseDayMonthYearDates();
  // Without a List nothing is reconciled; the set's outcome code tells why.
  if (list == nullptr) return;

  // The IS person of each insurance number, for every check that pairs a List
  // person with it; filled before the first of them, the additional-tariff check.
  fISWorkersDictionary.reserve(workers_IS.size());
  for (const std::shared_ptr<TWorker>& W : workers_IS) fISWorkersDictionary.emplace(W->SN, W);

  CheckAddTariff(*list, workers_IS, nYear);
  PhaseDone("additional tariff");
  CheckVirusCode(*list);
  PhaseDone("ВИРУС code");

  for (const std::shared_ptr<TWorker>& W : workers_IS) {
    // The crossings of each person go to the errors in a table of their own.
    DivideCrossWorkPeriods(*W, FErrorResults);
    W->MergeWorkPeriods(true, nullptr);
    ReleaseUnmergedPeriods(*W);
  }
  // The List persons after all IS persons: merging a List person consults the
  // merged periods of the IS person of the same number.
  for (const std::shared_ptr<TWorker>& L : list->fWorkers) {
    L->DivideCrossWorkPeriods(nullptr);
    L->MergeWorkPeriods(false, fISWorkersDictionary.get(L->SN));
    ReleaseUnmergedPeriods(*L);
  }
  PhaseDone("division and merging");

  if (fWithPositions) {
    CheckStaffPositions(*list, workers_IS);
    PhaseDone("staff positions");
    CheckPositionsFound(*list, workers_IS);
    PhaseDone("positions found");
  }

  if (!fWithNameList) return;

  if (list->fPreviousPerech) {
    list->fParseErrors_List->push_back(std::make_unique<TProtocolMessage>(
        "Сверка с поименным списком к Перечню не проводилась т.к. список не актуален (Перечень за прошлый год)!",
        false));
    // The protocol prints the List's messages only through the verification:
    // take the list over now, so this note is not lost when the List had no
    // other message.
    fVerListErrors = list->TakeOverParseErrors();
    return;
  }

  CheckNameListPersons(*list, workers_IS);
  PhaseDone("nominal-list persons");

  if (list->fWorkers.empty()) {
    fWarningResults.push_back(std::make_unique<TProtocolMessage>(
        "Выбран параметр \"Сверка ИС с поименным списком к Перечню\", но в поименном списке нет ни одного периода "
        "для сверки!",
        false));
  } else if (!fCorrPacksOnly) {
    CheckNameListPeriods(*list, workers_IS, nYear);
    PhaseDone("nominal-list periods");
  }
}

void TVerification::getParseErrorsAndWarnings(TPack& pack, TTheList* theList) {
  MoveIfFilled(pack.PDRKWarnings, fWarningResults);
  MoveIfFilled(pack.JumpWarnings, fWarningResults);
  MoveIfFilled(pack.FlightWarnings, fWarningResults);
  MoveIfFilled(pack.PartTimeErrors, FErrorResults);
  MoveIfFilled(pack.PartTimeWarnings, fWarningResults);
  TAddPdDataWarnings* addPdDataWarnings = pack.AddPdDataWarnings.get();
  if (!MoveIfFilled(pack.AddPdDataWarnings, fWarningResults)) addPdDataWarnings = nullptr;

  if (addPdDataWarnings != nullptr && theList != nullptr) {
    for (const std::unique_ptr<TResultRecord>& record : addPdDataWarnings->Records()) {
      auto* warning = dynamic_cast<TAddPdDataWarning*>(record.get());
      if (warning == nullptr || !warning->FWorker_PD) continue;
      const std::shared_ptr<TWorker> person = theList->FindWorker(warning->FWorker_PD->SN);
      if (!person) continue;
      // The periods as read: before verify they are the person's own list (a
      // person already divided keeps them apart until merging lets them go).
      const TWorkPeriodList& periods = person->FParsePeriods.empty() ? person->WorkPeriods : person->FParsePeriods;
      for (const std::shared_ptr<TWorkPeriod>& period : periods) {
        if (!period->Note.empty()) warning->AppendListComment(period->pPeriodString(), period->Note);
      }
    }
  }

  if (theList != nullptr) {
    if (std::shared_ptr<TProtocolMessageList> messages = theList->TakeOverParseErrors()) {
      fVerListErrors = std::move(messages);
    }
  }
}

}  // namespace morvel
