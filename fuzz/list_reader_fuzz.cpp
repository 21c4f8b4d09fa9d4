// A List of any bytes: its staff positions, subdivisions and nominal list as the
// search reads them from a file.
#include <memory>

#include "fuzz_support.h"
#include "list/the_list.h"
#include "xml/my_node.h"
#include "xml/node_access.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  const TClassifiersScope scope(fuzz::Classifiers());
  TMyTree root = ParseXMLText(fuzz::Bytes(data, size));
  if (!root) return 0;
  TMyNode* listNode = root->NodeName() == "Перечень" ? root.get() : FirstDescendant(root.get(), "Перечень");
  if (listNode == nullptr) return 0;
  for (const bool cumulative : {false, true}) {
    auto list = std::make_unique<TTheList>();
    list->fYear = 2019;
    list->fPeriod = 4;
    list->FAccumulate = cumulative;
    list->fFileName = "fuzz.xml";
    list->fIsFile = true;
    try {
      list->readStaff(2019, 4, listNode);
      for (const auto& person : list->fWorkers) {
        person->DivideCrossWorkPeriods(nullptr);
        person->MergeWorkPeriods(false, nullptr);
      }
    } catch (const std::exception&) {
      // A List the reader cannot take is no List for the set; the search goes on.
    }
  }
  return 0;
}
