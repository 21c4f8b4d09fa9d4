// Additional tariff and classes of working conditions: on the IS side payments
// at the additional tariff against the periods that oblige to pay it; on the
// List side each period marked for the additional tariff against the person's
// individual record, and the classes of working conditions of both sides.

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "config/classifiers.h"
#include "model/bases.h"
#include "results/add_tariff_results.h"
#include "verify/verification.h"

namespace morvel {
namespace {

// Up to this reporting year the additional tariff was not checked.
constexpr int kLastYearWithoutCheck = 2012;
// The mark of a List period for which the additional tariff is due.
constexpr std::string_view kAddTariffMark = "ДТ";

// Whether a period's bases oblige to pay the additional tariff: a basis of the
// classifier list occurs in them (27-1 is found in 27-10 as well).
class TAddTariffBases {
 public:
  TAddTariffBases() {
    const TClassifiers& c = Classifiers();
    if (c.Has(TClassifierType::ctAddTariff)) fBases = &c.Get(TClassifierType::ctAddTariff);
  }

  bool Of(const TWorkPeriod& period) const {
    if (fBases == nullptr) return false;
    for (const std::string& basis : *fBases) {
      // An empty entry names no basis.
      if (!basis.empty() && period.Bases.HasBases(basis)) return true;
    }
    return false;
  }

 private:
  const std::vector<std::string>* fBases = nullptr;
};

bool Overlap(const TWorkPeriod& P, const TWorkPeriod& S) { return P.Start <= S.Finish && S.Start <= P.Finish; }

// A class of working conditions found in a List period's text. An empty class
// agrees only with an empty text: the empty text is in every text, and an IS
// side without any class must not pass for one with a class.
bool ClassWithin(const std::string& code, const std::string& text) {
  return code.empty() ? text.empty() : Contains(text, code);
}

bool HasPositivePayment(const TWorker& W) {
  for (const auto& T : W.AddTariffPayments) {
    if (T->Sum > 0) return true;
  }
  return false;
}

}  // namespace

void TVerification::CheckAddTariff(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS,
                                   int nYear) {
  if (nYear <= kLastYearWithoutCheck) return;

  std::unique_ptr<TAddTariffWarnings> warnings;
  std::unique_ptr<TUTErrors> utErrors;
  std::unique_ptr<TAddTariffErrors> errors;
  std::unique_ptr<TUTWithoutAddTariffErrors> withoutTariff;
  auto warn = [&warnings](auto... args) {
    if (!warnings) warnings = std::make_unique<TAddTariffWarnings>();
    warnings->AddRecord(std::make_unique<TAddTariffWarning>(args...));
  };
  auto addTariffError = [&errors](auto... args) {
    if (!errors) errors = std::make_unique<TAddTariffErrors>();
    errors->AddRecord(std::make_unique<TAddTariffError>(args...));
  };
  auto utError = [&utErrors](auto... args) {
    if (!utErrors) utErrors = std::make_unique<TUTErrors>();
    utErrors->AddRecord(std::make_unique<TUTError>(args...));
  };
  // What was found stays in the protocol even when the check breaks off.
  auto addTables = [&] {
    if (warnings) fWarningResults.push_back(std::move(warnings));
    if (utErrors) FErrorResults.push_back(std::move(utErrors));
    if (errors) FErrorResults.push_back(std::move(errors));
    if (withoutTariff) FErrorResults.push_back(std::move(withoutTariff));
  };

  try {
    const TAddTariffBases addTariffBases;

    // ---- The individual records --------------------------------------------------
    for (const std::shared_ptr<TWorker>& W : workers_IS) {
      // The record itself states that the contributions were accrued.
      if (W->HasAT) continue;
      bool hasBasis = false;
      for (const auto& S : W->WorkPeriods) {
        if (addTariffBases.Of(*S)) {
          hasBasis = true;
          break;
        }
      }
      const bool paid = HasPositivePayment(*W);
      if (!hasBasis) {
        for (const std::shared_ptr<TAddTariffPayment>& T : W->AddTariffPayments) {
          if (T->Sum > 0) warn(W, TResultType::rtNoLgot, std::shared_ptr<TWorkPeriod>(), T);
        }
      }
      // An ЕФС-1 record carries no payments; a person with payments has paid.
      if (W->IsEFS1 || paid || !hasBasis) continue;
      for (const std::shared_ptr<TWorkPeriod>& S : W->WorkPeriods) {
        if (!addTariffBases.Of(*S)) continue;
        if (S->HasNoLgotAddPdData()) {
          warn(W, TResultType::rtNoPayments, S, std::shared_ptr<TAddTariffPayment>());
        } else {
          addTariffError(W, std::shared_ptr<TWorker>(), S, TResultType::rtPD);
        }
      }
    }

    // ---- The List -----------------------------------------------------------------
    if (!fCorrPacksOnly) {
      for (const std::shared_ptr<TWorker>& L : list.fWorkers) {
        TCodeSet isCodes(';');
        TCodeSet listCodes(';');
        std::shared_ptr<TWorker> W;
        bool isCodesTaken = false;
        bool reported = false;
        bool same = false;
        const std::shared_ptr<TWorker>* I = fISWorkersDictionary.find(L->SN);

        for (const std::shared_ptr<TWorkPeriod>& S : L->WorkPeriods) {
          if (S->AddTariff != kAddTariffMark) {
            if (!S->WC.empty()) {
              if (!withoutTariff) withoutTariff = std::make_unique<TUTWithoutAddTariffErrors>();
              withoutTariff->AddRecord(std::make_unique<TUTWithoutAddTariffError>(L, S));
            }
            continue;
          }
          same = false;
          bool match = false;
          if (I != nullptr && (*I)->HasAT) continue;
          if (I != nullptr) {
            const TWorker& IS = **I;
            L->PackNum = IS.PackNum;
            L->NumInPack = IS.NumInPack;
            W = *I;
            if (IS.IsEFS1) {
              same = true;
              for (const auto& P : IS.WorkPeriods) {
                if (Overlap(*P, *S) && ClassWithin(P->WC, S->WC)) {
                  match = true;
                  break;
                }
              }
            } else {
              match = IS.AddTariffPayments.empty() && S->WC.empty();
              const bool basis = addTariffBases.Of(*S);
              for (const auto& T : IS.AddTariffPayments) {
                if (T->Sum <= 0) continue;
                if (basis) same = true;
                if (ClassWithin(T->WC, S->WC)) match = true;
              }
            }
            if (!same) {
              for (const auto& P : IS.WorkPeriods) {
                if (P->HasNoLgotAddPdData() && Overlap(*P, *S)) {
                  same = true;
                  match = true;
                  break;
                }
              }
            }
          }
          if (!same && W) addTariffError(W, L, S, TResultType::rtList);
          if (W && !isCodesTaken) {
            // The same person every time: its classes are taken once.
            isCodesTaken = true;
            if (W->IsEFS1) {
              for (const auto& P : W->WorkPeriods) {
                if (!P->WC.empty()) isCodes.Add(P->WC);
              }
            } else {
              for (const auto& T : W->AddTariffPayments) {
                if (T->Sum > 0 && !T->WC.empty()) isCodes.Add(T->WC);
              }
            }
          }
          if (match) continue;
          if (W) {
            utError(L, W, S, isCodes.DelimitedText(), same, std::string());
            reported = true;
          }
        }

        for (const std::shared_ptr<TWorkPeriod>& S : L->WorkPeriods) {
          if (!S->WC.empty()) listCodes.Add(S->WC);
        }
        if (listCodes.DelimitedText() != isCodes.DelimitedText()) {
          Log("УТ в перечне: " + listCodes.DelimitedText());
          Log("УТ в ИС: " + isCodes.DelimitedText());
          if (!reported) {
            utError(L, W, std::shared_ptr<TWorkPeriod>(), isCodes.DelimitedText(), same,
                    listCodes.DelimitedText());
          }
        }
      }
    }
  } catch (const std::exception&) {
    addTables();
    throw;
  }
  addTables();
}

}  // namespace morvel
