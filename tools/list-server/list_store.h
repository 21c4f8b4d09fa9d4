// The Lists the reference List server answers with: read once at start from a
// folder of List files, each "Перечень" element kept as the finished answer
// document, so that answering a request touches no parser and no shared tree.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace morvel::listserver {

struct TServedList {
  std::string fileName;   // the List file, for messages
  std::string regNum;     // "РегНомер" of the enterprise
  std::string regNumECP;  // "РегНомерЕЦП" of the enterprise
  int year = 0;           // "ОтчетныйГод"
  int period = 0;         // "ОтчетныйПериод" in months (0, empty or absent: 12) divided by 3
  std::string answer;     // the answer document holding a copy of the element
};

class TListStore {
 public:
  // Reads every *.xml file of the folder in the order of the file names. A file
  // that is not well-formed, or a "Перечень" without the enterprise, its number or
  // a usable year and period, is skipped with a line on `problems`.
  void LoadFolder(const std::filesystem::path& folder, std::ostream& problems);

  // The first List, in file order and then in document order within a file, that
  // fits the request:
  //   - "РегНомер" or "РегНомерЕЦП" of its enterprise equals regNum;
  //   - "ОтчетныйГод" equals year;
  //   - its period p equals quarter, or, when collect = c is given, c <= p <= quarter.
  // The second form lets the program ask for the last quarter of the year first
  // and still get the List submitted for an earlier period of the window it
  // searches: that List stays the one in force up to the quarter asked about.
  const TServedList* Find(const std::string& regNum, int year, int quarter, std::optional<int> collect) const;

  std::size_t Count() const { return fLists.size(); }

 private:
  std::vector<TServedList> fLists;
};

// The answer the program reads as an error: "ОсновноеСообщение", "ВерсияПК" and
// "Пояснение" inside the answer's root.
std::string ErrorAnswer(const std::string& mainMessage, const std::string& explanation);

// The text of "ВерсияПК" in every error answer.
std::string ServerVersion();

}  // namespace morvel::listserver
