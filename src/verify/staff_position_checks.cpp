// The staff schedule of the List against the IS periods: working days per
// position, additional-data codes not allowed or not valid, and periods that no
// position matched.

#include <array>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/dates.h"
#include "base/text.h"
#include "config/classifiers.h"
#include "verify/verification.h"

namespace morvel {
namespace {

// Additional-data codes that a period matching a position may not carry.
constexpr std::array<std::string_view, 14> PositionAddPdDataErrorCodes = {
    "НЕОПЛ",   "КВАЛИФОЦ", "ДИСПР",    "ВОЕНСЛ", "ДЕТИ",    "ОБЩЕСТ", "СДКРОВ",
    "ОТСТРАН", "ПРОСТОЙ",  "УЧОТПУСК", "ДЛДЕТИ", "ДЕТИПРЛ", "ЧАЭС",   "ДОПВЫХ",
};
// Codes with which a period also counts for a position of the same kind when
// the exact matching does not take it.
constexpr std::array<std::string_view, 3> LooseMatchAddPdData = {"ВРНЕТРУД", "МЕСЯЦ", "МЕДНЕТРУД"};

// The position code of a boiler operator: on List No. 2 its excess days are
// only a warning.
constexpr std::string_view kBoilerOperatorCode = "23200000-13786";

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& codes) {
  for (std::string_view code : codes) {
    if (text == code) return true;
  }
  return false;
}

// The validity window of each additional-data code against the quarter start:
// Early is the start date of a code not yet valid then, Late the end date of a
// code no longer valid. Worked out once per code and only for codes some
// period carries.
class TAddPdDataValidity {
 public:
  explicit TAddPdDataValidity(TDate quarterStart) : fQuarterStart(quarterStart) {
    const TClassifiers& c = Classifiers();
    if (c.Has(TClassifierType::ctAddPdData)) fNames = &c.Get(TClassifierType::ctAddPdData);
    if (c.Has(TClassifierType::ctAddPdDataStartDates)) fStarts = &c.Get(TClassifierType::ctAddPdDataStartDates);
    if (c.Has(TClassifierType::ctAddPdDataEndDates)) fEnds = &c.Get(TClassifierType::ctAddPdDataEndDates);
    if (fNames != nullptr) fCache.resize(fNames->size());
  }

  struct TWindow {
    std::string Early;
    std::string Late;
  };

  // The window of the code at `index` of the classifier.
  const TWindow& At(int index) {
    static const TWindow none;
    if (index < 0 || static_cast<std::size_t>(index) >= fCache.size()) return none;
    std::optional<TWindow>& slot = fCache[static_cast<std::size_t>(index)];
    if (!slot) {
      TWindow w;
      const std::string start = Entry(fStarts, index);
      if (!start.empty() && StrToDateDMY(start) > fQuarterStart) w.Early = start;
      const std::string end = Entry(fEnds, index);
      if (!end.empty() && StrToDateDMY(end) < fQuarterStart) w.Late = end;
      slot = std::move(w);
    }
    return *slot;
  }

 private:
  static std::string Entry(const std::vector<std::string>* list, int index) {
    if (list == nullptr || static_cast<std::size_t>(index) >= list->size()) return {};
    return (*list)[static_cast<std::size_t>(index)];
  }

  TDate fQuarterStart;
  const std::vector<std::string>* fNames = nullptr;
  const std::vector<std::string>* fStarts = nullptr;
  const std::vector<std::string>* fEnds = nullptr;
  std::vector<std::optional<TWindow>> fCache;
};

// One set additional-data code of a merged period, with what the check needs
// of it whatever the position.
struct TPeriodCode {
  std::string Name;
  int Index = -1;          // in the classifier; -1 for an empty name
  bool ErrorCode = false;  // one of PositionAddPdDataErrorCodes
};

// A territorial condition as the matching rule tells them apart.
enum class TTerrClass : unsigned char { Empty, Countryside, Other };

TTerrClass TerrClassOf(std::string_view condition) {
  if (condition.empty()) return TTerrClass::Empty;
  return condition == kCountrysideCondition ? TTerrClass::Countryside : TTerrClass::Other;
}

// Whether conditions of two classes agree, by the rule itself applied to one
// condition of each class.
bool TerrClassesAgree(TTerrClass own, TTerrClass given) {
  auto sample = [](TTerrClass c) -> std::string_view {
    return c == TTerrClass::Empty ? std::string_view() : c == TTerrClass::Countryside ? kCountrysideCondition : "*";
  };
  return TerritoryConditionsAgree(sample(own), sample(given));
}

// A merged IS period with what is worked out of it once instead of once per
// position. The walk over the positions reads these compact records in order
// and reaches the period itself only for a finding.
struct TPreparedPeriod {
  const std::shared_ptr<TWorker>* WorkerRef = nullptr;
  const std::shared_ptr<TWorkPeriod>* Period = nullptr;
  std::vector<TPeriodCode> Codes;
  std::size_t Worker = 0;  // index of the person in the union
  double Days = 0;         // WorkingDays
  int Kind = -1;           // bases and position code, numbered
  TTerrClass Terr = TTerrClass::Empty;
  bool Loose = false;    // some code is one of LooseMatchAddPdData
  bool NoBases = false;  // counts for every position
  bool HasData = false;  // some additional-data flag is set
  bool Found = false;    // counted for some position
};

// Bases and position code as one key, the length of the bases first so that
// no pair of texts can pass for another: equal keys mean equal bases and
// equal codes, the first half of a position's match (the territorial
// conditions decide the rest).
std::string KindKey(const TCodeSet& bases, const std::string& code) {
  const std::string& text = bases.DelimitedText();
  std::string key = std::to_string(text.size());
  key += ':';
  key += text;
  key += code;
  return key;
}

// A number as the general text conversion writes it, read back, so that both
// sides of a comparison carry the same precision.
double ThroughText(double value) { return StrToFloat(FloatToStr(value)); }

}  // namespace

// Every position is compared with every merged period, but a period of another
// kind can neither count for a position nor give a finding that depends on it,
// so each position walks only the periods of its own kind and those that
// matter whatever the kind (with additional data or without bases), in their
// order: the findings and sums are those of the full walk.
void TVerification::CheckStaffPositions(TTheList& list, const std::vector<std::shared_ptr<TWorker>>& workers_IS) {
  std::unique_ptr<TWorkingDaysErrors> daysErrors;
  std::unique_ptr<TWorkingDaysWarnings> daysWarnings;
  std::unique_ptr<TAddPdDataErrors> addPdDataErrors;
  // Everything about a period that does not depend on the position.
  std::vector<TPreparedPeriod> periods;
  // A period counted for some position is marked found, also when the check
  // fails later on: the marks are set once at the end, whichever way it ends.
  auto markFound = [&periods] {
    for (const TPreparedPeriod& p : periods) {
      if (p.Found) (*p.Period)->FoundInListPositions = true;
    }
  };
  try {
    TAddPdDataValidity validity(FirstDayOfPeriodQuarter(list.fYear, list.fPeriod));

    std::unordered_map<std::string, int> kinds;
    std::vector<std::vector<std::size_t>> periodsOfKind;
    std::vector<std::size_t> periodsOfEveryKind;
    for (std::size_t w = 0; w < workers_IS.size(); ++w) {
      const std::shared_ptr<TWorker>& W = workers_IS[w];
      for (const std::shared_ptr<TWorkPeriod>& O : W->MergedWorkPeriods) {
        TPreparedPeriod p;
        p.WorkerRef = &W;
        p.Period = &O;
        p.Worker = w;
        const TAddPdData& data = O->AddPdData;
        for (int i = 0; i < data.Length(); ++i) {
          if (!data.ValueByIndex(i)) continue;
          TPeriodCode code;
          code.Name = data.NameByIndex(i);
          if (!code.Name.empty()) code.Index = i;
          code.ErrorCode = IsOneOf(code.Name, PositionAddPdDataErrorCodes);
          p.Loose = p.Loose || IsOneOf(code.Name, LooseMatchAddPdData);
          p.Codes.push_back(std::move(code));
        }
        p.NoBases = O->HasLgotSideDataOnly();
        p.HasData = data.HasData();
        p.Days = O->WorkingDays();
        p.Terr = TerrClassOf(O->TerritoryCondition);
        const auto [kind, added] =
            kinds.try_emplace(KindKey(O->Bases, O->ProfessionCode), static_cast<int>(periodsOfKind.size()));
        if (added) periodsOfKind.emplace_back();
        p.Kind = kind->second;
        const std::size_t index = periods.size();
        periodsOfKind[static_cast<std::size_t>(p.Kind)].push_back(index);
        if (!p.Codes.empty() || p.NoBases) periodsOfEveryKind.push_back(index);
        periods.push_back(std::move(p));
      }
    }

    static const std::vector<std::size_t> none;
    for (const std::shared_ptr<TPosition>& P : list.fPositions) {
      const auto kind = kinds.find(KindKey(P->Bases, P->fProfessionCode));
      const int positionKind = kind != kinds.end() ? kind->second : -1;
      // Which classes of a period's condition agree with the position's.
      const TTerrClass positionTerr = TerrClassOf(P->fTerrCond);
      const std::array<bool, 3> agrees = {TerrClassesAgree(positionTerr, TTerrClass::Empty),
                                          TerrClassesAgree(positionTerr, TTerrClass::Countryside),
                                          TerrClassesAgree(positionTerr, TTerrClass::Other)};
      const std::vector<std::size_t>& ofKind =
          positionKind >= 0 ? periodsOfKind[static_cast<std::size_t>(positionKind)] : none;

      double full = 0;
      double lgot = 0;
      int persons = 0;
      std::size_t lastCounted = workers_IS.size();  // no person yet
      // Both index lists ascend: walk them as one, each period once.
      std::size_t a = 0, b = 0;
      while (a < ofKind.size() || b < periodsOfEveryKind.size()) {
        std::size_t index;
        if (b >= periodsOfEveryKind.size() || (a < ofKind.size() && ofKind[a] < periodsOfEveryKind[b])) {
          index = ofKind[a++];
        } else {
          index = periodsOfEveryKind[b++];
          if (a < ofKind.size() && ofKind[a] == index) ++a;
        }
        TPreparedPeriod& p = periods[index];
        const bool sameKind = p.Kind == positionKind;
        // Of the same kind, bases and codes agree: the territorial conditions
        // decide the match.
        const bool positionMatches = sameKind && agrees[static_cast<std::size_t>(p.Terr)];
        for (const TPeriodCode& code : p.Codes) {
          static const TAddPdDataValidity::TWindow always;
          // Read where it is first needed, so a date that does not convert
          // ends the check at the same point of the walk.
          const TAddPdDataValidity::TWindow& window = code.Index >= 0 ? validity.At(code.Index) : always;
          if ((code.ErrorCode && positionMatches) || !window.Early.empty() || !window.Late.empty()) {
            if (!addPdDataErrors) addPdDataErrors = std::make_unique<TAddPdDataErrors>();
            addPdDataErrors->AddRecord(
                std::make_unique<TAddPdDataError>(*p.WorkerRef, *p.Period, window.Early, window.Late, code.Name));
          }
        }
        const bool counts = positionMatches ||
                            (p.Loose && sameKind &&
                             (*p.Period)->Matches(P->Bases, P->fProfessionCode, P->fTerrCond, (*p.Period)->AddPdData)) ||
                            p.NoBases;
        if (!counts) continue;
        full += p.Days;
        if (!p.HasData) lgot += p.Days;
        p.Found = true;
        if (p.Worker != lastCounted) {
          ++persons;
          lastCounted = p.Worker;
        }
      }

      if (fCorrPacksOnly) continue;
      const double allowed = ThroughText(P->fWorkingDays);
      if (ThroughText(full) <= allowed || ThroughText(lgot) <= allowed) continue;
      if (P->fProfessionCode == kBoilerOperatorCode && Contains(P->Bases.DelimitedText(), "27-2")) {
        if (!daysWarnings) daysWarnings = std::make_unique<TWorkingDaysWarnings>();
        daysWarnings->AddRecord(std::make_unique<TWorkingDaysResultRecord>(P, full, lgot, persons));
      } else {
        if (!daysErrors) daysErrors = std::make_unique<TWorkingDaysErrors>();
        daysErrors->AddRecord(std::make_unique<TWorkingDaysError>(P, full, lgot, persons));
      }
    }
  } catch (const std::exception&) {
    // A failure ends the check without a word, and what it had found goes with it.
    markFound();
    return;
  }
  markFound();
  if (daysErrors) FErrorResults.push_back(std::move(daysErrors));
  if (daysWarnings) fWarningResults.push_back(std::move(daysWarnings));
  if (addPdDataErrors) FErrorResults.push_back(std::move(addPdDataErrors));
}

void TVerification::CheckPositionsFound(TTheList& /*list*/, const std::vector<std::shared_ptr<TWorker>>& workers_IS) {
  std::unique_ptr<TPositionErrors> errors;
  for (const std::shared_ptr<TWorker>& W : workers_IS) {
    for (const std::shared_ptr<TWorkPeriod>& O : W->MergedWorkPeriods) {
      if (O->FoundInListPositions) continue;
      if (!errors) errors = std::make_unique<TPositionErrors>();
      errors->AddRecord(std::make_unique<TPositionError>(W, O));
    }
  }
  if (errors && errors->Count() > 0) FErrorResults.push_back(std::move(errors));
}

}  // namespace morvel
