// Shared set-up of the pack reader's tests: a logger writing everything into a
// temporary folder, the shipped classifiers, and small builders of pack
// documents for the cases a test wants to spell out.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/classifiers.h"
#include "log/logger.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "support/test_support.h"
#include "xml/my_node.h"

namespace morvel::test {

inline constexpr const char* kRegNum = "099-001-000123";

// One preferential entry as the 2017 forms and ЕФС-1 write it; empty fields
// are left out of the document.
struct TEntrySpec {
  std::string tu, coeff;
  std::string out, position;
  std::string vl, rate, hours, minutes, months, days;
  std::string is;
  std::string addPd;
  std::string sout;  // ЕФС-1 only
};

struct TPeriodSpec {
  std::string start, end;
  std::vector<TEntrySpec> entries;
};

struct TPersonSpec {
  std::string surname = "Иванов";
  std::string snils = "123-456-789 01";
  std::vector<TPeriodSpec> periods;
};

// A СЗВ-СТАЖ of the newest edition (ИС4) for 2019 with these persons.
std::string StazhDocument(const std::vector<TPersonSpec>& persons, const std::string& regNum = kRegNum);

// A ЕФС-1 block of one person: "Тип", year, corrected year (empty: none).
struct TBlockSpec {
  std::string type = "1";
  std::string year = "2023";
  std::string corrYear;
  std::vector<TPeriodSpec> periods;
};
struct TEfsPersonSpec {
  std::string surname = "Петрова";
  std::string snils = "123-456-789 01";
  std::vector<TBlockSpec> blocks;
};
std::string EfsDocument(const std::vector<TEfsPersonSpec>& persons);

// A pack of the forms before 2017 (UTF-8 for the test's convenience): the
// service element and the given person documents of `form`.
std::string OldDocument(const std::string& form, int year, const std::string& code, const std::string& persons);

class RecordsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Everything the logger wrote so far.
  std::string LogText() const;

  TMyTree TreeOfFile(const std::string& name) const;
  TMyTree TreeOfText(const std::string& xml, const std::string& name = "pack.xml") const;

  // Recognition, identification and persons of a document, as the searcher
  // reads it.
  struct TRead {
    TMyTree root;
    std::unique_ptr<TBaseData> header;  // left here when the pack refuses it
    std::unique_ptr<TPack> pack;
    TProtocolMessageList errors;
  };
  TRead ReadPackTree(TMyTree root, const std::string& fileName, int searchYear = 0) const;
  TRead ReadPack(const std::string& name, int searchYear = 0) const;
  TRead ReadXml(const std::string& xml, int searchYear = 0) const;

  // The messages of a list, as texts.
  static std::vector<std::string> Messages(const TProtocolMessageList& list);

  TempDir dir;
  static TClassifiers* sClassifiers;

 private:
  std::unique_ptr<TClassifiersScope> fScope;
};

}  // namespace morvel::test
