#include "model/worker.h"

#include <algorithm>

#include "base/dates.h"
#include "base/text.h"

namespace morvel {

TWorker::TWorker(const TWorker& other)
    : TResultData(other),
      std::enable_shared_from_this<TWorker>(),
      fFromFile(other.fFromFile),
      fReplaced(other.fReplaced),
      PackNum(other.PackNum),
      NumInPack(other.NumInPack),
      SN(other.SN),
      SubNum(other.SubNum),
      FullNameNodeData(other.FullNameNodeData),
      NodeData(other.NodeData),
      PaymentsNodeData(other.PaymentsNodeData),
      Surname(other.Surname),
      Name(other.Name),
      Patronymic(other.Patronymic),
      HasAT(other.HasAT),
      CategoryCode(other.CategoryCode),
      FoundInPds(other.FoundInPds),
      IsEFS1(other.IsEFS1) {}

std::string TWorker::SurnameWithInitials() const {
  std::string out = Surname + " " + Utf8Substr(Name, 0, 1) + ".";
  if (!Patronymic.empty()) out += Utf8Substr(Patronymic, 0, 1) + ".";
  return out;
}

std::string TWorker::SurnameWithInitialsAndSN() const { return SurnameWithInitials() + " (" + SN + ")"; }

bool TWorker::HasLgotSidePeriodsOnly() const {
  return std::all_of(MergedWorkPeriods.begin(), MergedWorkPeriods.end(),
                     [](const auto& period) { return period->Bases.Empty(); });
}

bool TWorker::AddWorkperiod(const std::shared_ptr<TWorkPeriod>& period) {
  // The superseded periods are only noted during the walk: a refusal or a bad
  // date further back must not leave the person with periods already dropped.
  std::vector<std::size_t> superseded;
  for (std::size_t k = WorkPeriods.size(); k-- > 0;) {
    const TWorkPeriod& existing = *WorkPeriods[k];
    if (existing.PackNum == period->PackNum) break;
    if (existing.Period != period->Period) continue;
    const TDate existingDate = StrToDate(existing.PackDate);
    const TDate newDate = StrToDate(period->PackDate);
    if (existingDate > newDate) return false;
    if (existingDate == newDate && StrToInt(period->PackNum) < StrToInt(existing.PackNum)) return false;
    superseded.push_back(k);
  }
  // Indexes were collected from the back, so erasing in that order keeps the
  // remaining ones valid.
  for (std::size_t k : superseded) WorkPeriods.erase(WorkPeriods.begin() + static_cast<std::ptrdiff_t>(k));
  WorkPeriods.push_back(period);
  return true;
}

}  // namespace morvel
