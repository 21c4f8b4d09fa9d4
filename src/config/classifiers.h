// Reference lists read at start-up from the shipped schema and classifier file,
// kept for the whole process in one dictionary that the run controller owns.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

enum class TClassifierType {
  ctAddTariff,
  ctAddPdData,
  ctAddPdDataRsv,
  ctReplaceTo,
  ctReplaceFrom,
  ctPartTimeError,
  ctPartTimeWarning,
  ctAddPdDataStartDates,
  ctAddPdDataEndDates,
  ctAddStag,  // the last one: the count below follows it
};
inline constexpr TClassifierType kLastClassifierType = TClassifierType::ctAddStag;
inline constexpr std::size_t kClassifierTypeCount = static_cast<std::size_t>(kLastClassifierType) + 1;

class TClassifiers {
 public:
  // Adds a list under a key that has none yet (a second Add replaces it).
  void Add(TClassifierType kind, std::vector<std::string> entries);
  bool Has(TClassifierType kind) const;
  // Raises EMorvelError "Item not found" for a key that was never added.
  const std::vector<std::string>& Get(TClassifierType kind) const;
  void Clear();

 private:
  std::array<std::optional<std::vector<std::string>>, kClassifierTypeCount> fLists;
};

// The dictionary every reader and check consults: the one the live run controller
// installed, or an empty one (every Get raises) while none is installed.
const TClassifiers& Classifiers();

// Installs a dictionary for as long as the scope lives; scopes nest.
class TClassifiersScope {
 public:
  explicit TClassifiersScope(const TClassifiers& classifiers);
  ~TClassifiersScope();
  TClassifiersScope(const TClassifiersScope&) = delete;
  TClassifiersScope& operator=(const TClassifiersScope&) = delete;

 private:
  const TClassifiers* fPrevious;
};

// True when some entry of the list occurs in `text` (an empty entry never does).
bool ClassifierContains(TClassifierType kind, std::string_view text);
bool ClassifierContainsAny(TClassifierType kind, const std::vector<std::string>& texts);

using TClassifierLog = std::function<void(const std::string&)>;

// Fills `target` from the List schema and the classifier file. Returns whether the
// classifier document was loaded (a missing or broken one only stops the filling).
// Raises EMorvelError for the fatal problems: a schema that cannot be read or lacks
// the type of additional seniority information, and a loaded classifier document
// without a required container element or attribute.
bool LoadClassifierFiles(TClassifiers& target, const std::filesystem::path& schemaFile,
                         const std::filesystem::path& classifierFile, const TClassifierLog& log);

}  // namespace morvel
