// An answer of the List server of any bytes, taken as a fetched answer is: only a
// complete document, then the server's message or the List it holds, judged for
// the employer and read.
#include <memory>

#include "app/searcher.h"
#include "config/settings.h"
#include "fuzz_support.h"
#include "xml/my_node.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvel;
  const TClassifiersScope scope(fuzz::Classifiers());
  TSettings::GetInstance().FRegNum = "099-009-000001";
  TSearcher searcher(fuzz::WorkFolder());
  TListAnswer answer = searcher.TakeListAnswer(ParseXMLText(fuzz::Bytes(data, size), true), 2019, 4);
  if (answer.list == nullptr) return 0;
  std::string description;
  bool correcting = false;
  searcher.IsListSuitable(answer.list, 2019, 4, description, correcting);
  auto list = std::make_unique<TTheList>();
  list->fYear = 2019;
  list->fPeriod = 4;
  try {
    list->readStaff(2019, 4, answer.list);
  } catch (const std::exception&) {
    // As from a file: a List the reader cannot take is none.
  }
  return 0;
}
