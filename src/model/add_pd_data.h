// The additional-data flags of a work period (leaves, child care, contracts and
// the like): one flag per entry of the installed additional-data classifier.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

class TWorkPeriod;

enum class TAddPdDataEnum {
  epdAdmin,
  epdNoPay,
  epdTempIncapacity,
  epdMonth,
  epdMedicalIncapacity,
  epdAddVacation,
  epdChildren,
  epdLongChildren,
  epdParentalLeave,
  epdLongLeave,
  epdQualifOb,
  epdQualifOc,
  epdDispr,  // the last one: the count below follows it
};
inline constexpr std::size_t kAddPdDataKindCount = static_cast<std::size_t>(TAddPdDataEnum::epdDispr) + 1;

// The codes the checks ask for by kind; epdAddVacation and epdLongLeave name the
// same code.
inline constexpr std::array<std::string_view, kAddPdDataKindCount> AddPdDataTypeNames = {
    "АДМИНИСТР", "НЕОПЛ", "ВРНЕТРУД", "МЕСЯЦ",   "МЕДНЕТРУД", "ДЛОТПУСК", "ДЕТИ",
    "ДЛДЕТИ",    "ДЕКРЕТ", "ДЛОТПУСК", "КВАЛИФОБ", "КВАЛИФОЦ",  "ДИСПР",
};
// A kind added without its code would leave an empty name at the end.
static_assert(std::ranges::none_of(AddPdDataTypeNames, [](std::string_view name) { return name.empty(); }),
              "every kind of additional data has its code");

// Lives inside its period and refers back to it for the period text of details;
// it is neither copied nor moved on its own, so that reference stays right.
// Assigning one to another copies the flags only.
class TAddPdData {
 public:
  // All flags unset, as many as the classifier has entries (none while no
  // classifier is installed).
  explicit TAddPdData(const TWorkPeriod* period);
  TAddPdData(const TAddPdData&) = delete;
  TAddPdData& operator=(const TAddPdData& other);

  // Sets the flag of a classifier entry (compared ignoring case); false and no
  // change for a text that is not in the classifier.
  bool Set(std::string_view value);

  bool ValueByIndex(int index) const;
  bool ValueByName(std::string_view name) const;
  bool ValueByType(TAddPdDataEnum kind) const;
  // The classifier entry at `index`; empty outside the list.
  std::string NameByIndex(int index) const;
  static std::string NameByType(TAddPdDataEnum kind);

  // Period text and the name in brackets, e.g. 01.02.2020 - 15.02.2020 (ДЕКРЕТ),
  // when the flag of `name` is set; empty otherwise.
  std::string DetailByName(std::string_view name) const;
  std::string DetailByType(TAddPdDataEnum kind) const;
  // Details of the set flags that only the РСВ-1 form knows, joined by ", ".
  std::string DetailByRSV() const;

  // Flag by flag; a flag missing on one side counts as unset.
  bool Equals(const TAddPdData& other) const;
  // Names of the set flags in classifier order.
  std::vector<std::string> ToArray() const;
  std::string ToString() const;
  bool GetHasData() const;
  bool HasData() const { return GetHasData(); }
  // Union: every unset flag takes the other's flag at the same position.
  void Merge(const TAddPdData& other);

  int Length() const { return static_cast<int>(FData.size()); }
  const TWorkPeriod* WorkPeriod() const { return FWorkPeriod; }

 private:
  int IndexOfName(std::string_view name) const;

  std::vector<bool> FData;
  const TWorkPeriod* FWorkPeriod;  // not owned: the period this data belongs to
};

}  // namespace morvel
