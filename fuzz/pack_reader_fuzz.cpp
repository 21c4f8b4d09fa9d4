// An individual-records pack of any bytes: the tree, the form recognition, the
// persons and their periods, and the division and merging the checks start with.
// Findings are expected; a crash, a leak or undefined behaviour is not.
#include <memory>

#include "fuzz_support.h"
#include "model/worker.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "xml/my_node.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  const TClassifiersScope scope(fuzz::Classifiers());
  TMyTree root = ParseXMLText(fuzz::Bytes(data, size));
  if (!root) return 0;
  try {
    std::unique_ptr<TBaseData> header = TBaseData::TryGetBaseData("", root.get(), 0, 0);
    if (!header) return 0;
    TProtocolMessageList errors;
    std::unique_ptr<TPack> pack = TPack::TryGetPackData(root.get(), header->FPDType, errors, header, "fuzz.xml");
    if (!pack) return 0;
    pack->ReadWorkers(root.get(), 0);
    for (const auto& worker : pack->Workers) {
      worker->DivideCrossWorkPeriods(nullptr);
      worker->MergeWorkPeriods(true, nullptr);
    }
  } catch (const std::exception&) {
    // A reader may give up on a pack by raising; the search records that and goes on.
  }
  return 0;
}
