// Reading the List files of the tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/classifiers.h"
#include "list/the_list.h"
#include "support/test_support.h"
#include "xml/my_node.h"

namespace morvel::test {

// A List as the searcher makes it: year, period and cumulative flag first, then
// readStaff on the "Перечень" element. The tree is gone before the test looks
// at the List, so nothing the List keeps may point into it.
inline std::unique_ptr<TTheList> ReadListFile(const std::filesystem::path& file, int year, int period,
                                              bool accumulate = false, int listPeriod = -1) {
  TMyTree root = LoadXMLTree(file.string());
  EXPECT_NE(root, nullptr) << file;
  auto list = std::make_unique<TTheList>();
  list->fYear = year;
  list->fPeriod = listPeriod < 0 ? period : listPeriod;
  list->FAccumulate = accumulate;
  list->fFileName = file.string();
  list->fIsFile = true;
  list->readStaff(year, period, root.get());
  return list;
}

inline std::filesystem::path ReaderList(const std::string& name) { return TestData("lists/reader/" + name); }

inline std::vector<std::string> Messages(const TTheList& list) {
  std::vector<std::string> texts;
  for (const auto& message : *list.fParseErrors_List) texts.push_back(message->FMessage);
  return texts;
}

// The classifiers a List period needs: the additional-data codes.
class ListReaderTest : public ::testing::Test {
 protected:
  ListReaderTest() { fClassifiers.Add(TClassifierType::ctAddPdData, {"ДЕКРЕТ", "ДЕТИ", "ВРНЕТРУД"}); }
  TClassifiers fClassifiers;
  TClassifiersScope fScope{fClassifiers};
};

}  // namespace morvel::test
