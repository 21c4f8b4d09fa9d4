#include "model/add_pd_data.h"

#include <algorithm>

#include "base/text.h"
#include "config/classifiers.h"
#include "model/work_period.h"

namespace morvel {
namespace {

const std::vector<std::string>& List(TClassifierType kind) {
  static const std::vector<std::string> kNone;
  const TClassifiers& classifiers = Classifiers();
  return classifiers.Has(kind) ? classifiers.Get(kind) : kNone;
}

const std::vector<std::string>& Names() { return List(TClassifierType::ctAddPdData); }

}  // namespace

TAddPdData::TAddPdData(const TWorkPeriod* period) : FData(Names().size(), false), FWorkPeriod(period) {}

TAddPdData& TAddPdData::operator=(const TAddPdData& other) {
  FData = other.FData;
  return *this;
}

int TAddPdData::IndexOfName(std::string_view name) const {
  const auto& names = Names();
  // Files and the checks write the codes as the classifier has them: the exact
  // comparison finds them without a collation per entry; only a code written in
  // another case goes on to the comparison that ignores case.
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameTextCI(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

bool TAddPdData::Set(std::string_view value) {
  const int index = IndexOfName(value);
  if (index < 0 || index >= Length()) return false;
  FData[static_cast<std::size_t>(index)] = true;
  return true;
}

bool TAddPdData::ValueByIndex(int index) const {
  return index >= 0 && index < Length() && FData[static_cast<std::size_t>(index)];
}

bool TAddPdData::ValueByName(std::string_view name) const { return ValueByIndex(IndexOfName(name)); }

bool TAddPdData::ValueByType(TAddPdDataEnum kind) const { return ValueByName(NameByType(kind)); }

std::string TAddPdData::NameByIndex(int index) const {
  const auto& names = Names();
  if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return {};
  return names[static_cast<std::size_t>(index)];
}

std::string TAddPdData::NameByType(TAddPdDataEnum kind) {
  return std::string(AddPdDataTypeNames[static_cast<std::size_t>(kind)]);
}

std::string TAddPdData::DetailByName(std::string_view name) const {
  if (!ValueByName(name)) return {};
  const std::string period = FWorkPeriod != nullptr ? FWorkPeriod->pPeriodString() : std::string();
  return period + " (" + std::string(name) + ")";
}

std::string TAddPdData::DetailByType(TAddPdDataEnum kind) const { return DetailByName(NameByType(kind)); }

std::string TAddPdData::DetailByRSV() const {
  std::string out;
  for (const std::string& name : List(TClassifierType::ctAddPdDataRsv)) {
    if (!ValueByName(name)) continue;
    if (!out.empty()) out += ", ";
    out += DetailByName(name);
  }
  return out;
}

bool TAddPdData::Equals(const TAddPdData& other) const {
  const std::size_t n = std::max(FData.size(), other.FData.size());
  for (std::size_t i = 0; i < n; ++i) {
    const bool own = i < FData.size() && FData[i];
    const bool theirs = i < other.FData.size() && other.FData[i];
    if (own != theirs) return false;
  }
  return true;
}

std::vector<std::string> TAddPdData::ToArray() const {
  std::vector<std::string> out;
  const auto& names = Names();
  for (std::size_t i = 0; i < FData.size() && i < names.size(); ++i) {
    if (FData[i]) out.push_back(names[i]);
  }
  return out;
}

std::string TAddPdData::ToString() const {
  std::string out;
  for (const std::string& name : ToArray()) {
    if (!out.empty()) out += ", ";
    out += name;
  }
  return out;
}

bool TAddPdData::GetHasData() const {
  for (bool flag : FData) {
    if (flag) return true;
  }
  return false;
}

void TAddPdData::Merge(const TAddPdData& other) {
  for (std::size_t i = 0; i < FData.size() && i < other.FData.size(); ++i) {
    if (!FData[i]) FData[i] = other.FData[i];
  }
}

}  // namespace morvel
