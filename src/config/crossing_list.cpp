#include "config/crossing_list.h"

#include <set>

#include "base/error.h"
#include "base/text.h"
#include "config/settings.h"
#include "config/text_list.h"

namespace morvel {

TCrossRec TCrossRec::FromLine(const std::string& line) {
  const std::vector<std::string> fields = Split(line, '/');
  if (fields.size() < 4) throw EConvertError("'" + QuotedInput(line) + "' is not a valid crossing-list line");
  TCrossRec rec;
  rec.FSRegNum = Trim(fields[0]);
  rec.FERegNum = Trim(fields[1]);
  rec.FCrossYear = StrToInt(fields[2]);
  rec.FCrossPeriod = StrToInt(fields[3]);
  return rec;
}

std::string TCrossRec::ToLine() const {
  return FSRegNum + "/" + FERegNum + "/" + IntToStr(FCrossYear) + "/" + IntToStr(FCrossPeriod);
}

void TSettings::CrossListLoadFromFile(const std::string& fileName) { LoadTextList(fileName, FCrossList); }

void TSettings::CrossListSaveToFile(const std::string& fileName) { SaveTextList(fileName, FCrossList); }

void TSettings::CrossListAddElement(const std::string& sRN, const std::string& eRN, int DCY, int DCP) {
  auto rec = std::make_unique<TCrossRec>();
  rec->FSRegNum = sRN;
  rec->FERegNum = eRN;
  rec->FCrossYear = DCY;
  rec->FCrossPeriod = DCP;
  FCrossList.push_back(std::move(rec));
}

std::string TSettings::GetActualRegNum(int year, int period) const {
  std::string result = FRegNum;
  // A list whose records form a cycle would send the search round for ever, so a
  // number is never visited twice: the search stops at the number it has reached.
  std::set<std::string> visited{result};
  const long long requested = static_cast<long long>(year) * 4 + period;
  bool changed = true;
  while (changed) {
    changed = false;
    for (const auto& rec : FCrossList) {
      if (rec->FERegNum != result) continue;
      if (requested >= static_cast<long long>(rec->FCrossYear) * 4 + rec->FCrossPeriod) continue;
      if (!visited.insert(rec->FSRegNum).second) return result;
      result = rec->FSRegNum;
      changed = true;
    }
  }
  return result;
}

}  // namespace morvel
