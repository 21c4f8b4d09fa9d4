// One reading of one file, from the file to the freed result, and nothing else: the
// process is started afresh for every figure, so its time and peak memory belong to
// this reading alone.
//
// Usage: bench_read_once MODE FILE
//   tree  the element tree, then freed
//   pack  a СЗВ-СТАЖ pack as the searcher reads it: tree, header, identification,
//         persons and periods; then pack and tree freed
//   list  a List: tree, staff positions and nominal lists of the whole year; then
//         List and tree freed
//   dom   libxml2's own DOM of the file, then freed
// The program's own readings run with the heap the program sets up for itself;
// the DOM is the plain library's.
// Prints what was read on standard output; the exit code is 0 when it was read.

#include <libxml/parser.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "base/platform.h"
#include "config/classifiers.h"
#include "list/the_list.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "xml/my_node.h"
#include "xml/node_access.h"

namespace {

constexpr const char* kRegNum = "099-001-000123";
constexpr int kYear = 2019;

int ReadTree(const std::string& file) {
  morvel::TMyTree root = morvel::LoadXMLTree(file);
  if (!root) return 1;
  std::cout << "elements " << root->Document().NodeCount() << "\n";
  return 0;
}

int ReadPack(const std::string& file) {
  morvel::TMyTree root = morvel::LoadXMLTree(file);
  if (!root) return 1;
  auto header = morvel::TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0);
  if (!header) return 1;
  morvel::TProtocolMessageList errors;
  auto pack = morvel::TPack::TryGetPackData(root.get(), header->FPDType, errors, header, file);
  if (!pack) return 1;
  const int persons = pack->ReadWorkers(root.get(), 0);
  std::size_t periods = 0;
  for (const auto& w : pack->Workers) periods += w->WorkPeriods.size();
  std::cout << "persons " << persons << ", periods " << periods << "\n";
  return 0;
}

int ReadList(const std::string& file) {
  morvel::TMyTree root = morvel::LoadXMLTree(file);
  if (!root) return 1;
  morvel::TMyNode* listNode = root->NodeName() == "Перечень" ? root.get() : morvel::FirstDescendant(root.get(), "Перечень");
  if (listNode == nullptr) return 1;
  auto list = std::make_unique<morvel::TTheList>();
  list->fYear = kYear;
  list->fPeriod = 4;
  list->FAccumulate = true;  // the whole year, not only its last quarter
  list->fFileName = file;
  list->fIsFile = true;
  list->readStaff(kYear, 4, listNode);
  std::size_t periods = 0;
  for (const auto& w : list->fWorkers) periods += w->WorkPeriods.size();
  std::cout << "persons " << list->fWorkers.size() << ", periods " << periods << ", positions "
            << list->fPositions.size() << "\n";
  return 0;
}

int ReadDom(const std::string& file) {
  xmlDocPtr doc = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
  if (doc == nullptr) return 1;
  xmlFreeDoc(doc);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: bench_read_once tree|pack|list|dom FILE\n";
    return 2;
  }
  const std::string mode = argv[1];
  const std::string file = argv[2];
  if (mode == "dom") return ReadDom(file);
  morvel::RestartWithHugePageHeap(argv);
  if (mode == "tree") return ReadTree(file);

  morvel::TClassifiers classifiers;
  const std::filesystem::path data(MORVEL_DATA_DIR);
  morvel::LoadClassifierFiles(classifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                              [](const std::string&) {});
  const morvel::TClassifiersScope scope(classifiers);
  try {
    if (mode == "pack") return ReadPack(file);
    if (mode == "list") return ReadList(file);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  std::cerr << "unknown mode " << mode << "\n";
  return 2;
}
