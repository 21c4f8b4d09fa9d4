#include "model/work_period.h"

#include "base/format_settings.h"
#include "base/text.h"
#include "config/classifiers.h"

namespace morvel {
namespace {

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& list) {
  for (std::string_view entry : list) {
    if (text == entry) return true;
  }
  return false;
}

bool HasNoLgotName(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (IsOneOf(name, NoLgotAddPdDataCodes)) return true;
  }
  return false;
}

// Some name holds an entry of the additional-seniority classifier.
bool HasAddStag(const std::vector<std::string>& names) {
  return Classifiers().Has(TClassifierType::ctAddStag) && ClassifierContainsAny(TClassifierType::ctAddStag, names);
}

std::string FormatDayMonthYear(TDate date) {
  UseDayMonthYearDates();
  int y, m, d;
  DecodeDate(date, y, m, d);
  if (y < 1 || y > 9999) return {};
  return FormatDate("dd.mm.yyyy", date);
}

}  // namespace

bool TerritoryConditionsAgree(std::string_view own, std::string_view given) {
  const bool ownCountryside = own == kCountrysideCondition;
  const bool givenCountryside = given == kCountrysideCondition;
  if (ownCountryside == givenCountryside) return true;
  return ownCountryside ? given.empty() : own.empty();
}

TWorkPeriod::TWorkPeriod() : AddPdData(this) {
  Bases.SetOnChange([this] { BasesChanged(); });
}

void TWorkPeriod::BasesChanged() {
  for (std::string_view code : FlightWorkBases) {
    if (Bases.HasBases(code)) {
      Rate = 1.0;
      return;
    }
  }
}

void TWorkPeriod::SetSeniorityBase(std::string_view value) {
  for (std::string_view code : SeniorityBaseCodes) {
    if (Contains(value, code)) {
      FSeniorityBase = std::string(value);
      return;
    }
  }
}

std::shared_ptr<TWorkPeriod> TWorkPeriod::Clone() const {
  auto copy = std::make_shared<TWorkPeriod>();
  copy->ProfessionCode = ProfessionCode;
  copy->Bases.AddStrings(Bases);
  copy->Start = Start;
  copy->Finish = Finish;
  copy->TerritoryCondition = TerritoryCondition;
  copy->Profession = Profession;
  copy->AddTariff = AddTariff;
  copy->SetSeniorityBase(FSeniorityBase);
  copy->WC = WC;
  copy->Rate = Rate;
  copy->Months = Months;
  copy->Days = Days;
  copy->Hours = Hours;
  copy->Minutes = Minutes;
  copy->PDRKHours = PDRKHours;
  copy->PDRKMinutes = PDRKMinutes;
  copy->AddPdData.Merge(AddPdData);
  copy->NumSub = NumSub;
  copy->PackNum = PackNum;
  copy->NumInPack = NumInPack;
  copy->RateNodeData = RateNodeData;
  copy->NodeData = NodeData;
  copy->FactNodeData = FactNodeData;
  copy->SeniorityNodeData = SeniorityNodeData;
  copy->PDRKHoursNodeData = PDRKHoursNodeData;
  return copy;
}

bool TWorkPeriod::Matches(const TCodeSet& bases, std::string_view profCode, std::string_view terrCond,
                          const TAddPdData& addPdData) const {
  if (Bases.DelimitedText() != bases.DelimitedText() || ProfessionCode != profCode) return false;
  if (!TerritoryConditionsAgree(TerritoryCondition, terrCond)) return false;
  // Most periods carry no additional data: no names on either side, and
  // without names there is no additional-seniority code to tell them apart.
  if (!AddPdData.HasData() && !addPdData.HasData()) return true;
  const std::vector<std::string> own = AddPdData.ToArray();
  const bool ownAddStag = HasAddStag(own);
  if (AddPdData.Equals(addPdData) && ownAddStag) return true;
  const std::vector<std::string> given = addPdData.ToArray();
  if (!ownAddStag && !HasAddStag(given)) return true;
  return HasNoLgotName(own) || HasNoLgotName(given);
}

bool TWorkPeriod::Matches(const TWorkPeriod& other) const {
  return Matches(other.Bases, other.ProfessionCode, other.TerritoryCondition, other.AddPdData);
}

double TWorkPeriod::WorkingDays() const {
  if (AddPdData.HasData()) return 0;
  return (static_cast<double>(Finish) - static_cast<double>(Start) + 1) * Rate;
}

bool TWorkPeriod::HasFactWorkedTime() const {
  if (Months != "0" || Days != "0" || Hours != "0" || Minutes != "0") return true;
  if (PDRKHours != 0 || PDRKMinutes != 0) return Bases.DelimitedText() != "27-ПД";
  return false;
}

bool TWorkPeriod::GetHasNoLgotAddPdData() const {
  return AddPdData.HasData() && HasNoLgotName(AddPdData.ToArray());
}

std::string TWorkPeriod::BasesAndCode() const {
  if (ProfessionCode.empty()) return Bases.DelimitedText();
  return Bases.DelimitedText() + " (" + ProfessionCode + ")";
}

std::string TWorkPeriod::pBeginAsString() const { return FormatDayMonthYear(Start); }

std::string TWorkPeriod::pEndAsString() const { return FormatDayMonthYear(Finish); }

std::string TWorkPeriod::pPeriodString() const { return pBeginAsString() + " - " + pEndAsString(); }

std::string TWorkPeriod::RateStr() const { return Rate > 0 ? FloatToStr(Rate) : "Не указана"; }

std::string TWorkPeriod::WorkTimeAsString() const {
  if (Bases.HasBases("РЕАКТИВН") || Bases.HasBases("НОРМСП")) return Hours + " прыжков/спусков/подъемов";
  return Months + " мес., " + Days + " дн., " + Hours + " ч., " + Minutes + " мин.";
}

}  // namespace morvel
