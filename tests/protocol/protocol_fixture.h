// Settings, a report folder, a run folder and hand-made sets for the tests of
// the protocol writer.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/run_folder.h"
#include "config/settings.h"
#include "protocol/protocol_former.h"
#include "results/test_tables.h"
#include "support/test_support.h"

namespace morvel::test {

// The pieces of one verified set, owned here as a verification owns them.
struct TTestSet {
  int year = 0;
  int period = 0;
  TResultList errors;
  TResultList warnings;
  std::unique_ptr<TResult> preMorvel;
  std::unique_ptr<TListData> listData;
  std::unique_ptr<TProtocolMessageList> listErrors;
  TPDData packs;

  TTestSet(int y, int p) : year(y), period(p) {}
  TSetProtocolData Data() {
    TSetProtocolData d;
    d.fYear = year;
    d.fPeriod = period;
    d.FErrorResults = &errors;
    d.fWarningResults = &warnings;
    d.fPreMorvelResult = preMorvel.get();
    d.fListData = listData.get();
    d.fVerListErrors = listErrors.get();
    d.fPDData = &packs;
    return d;
  }
};

// A table of one column "ФИО" with one row per name.
std::unique_ptr<TTestTable> NamesTable(const std::string& chapter, const std::string& title, bool isError,
                                       const std::string& className, const std::vector<std::string>& names);

std::unique_ptr<TPDPackData> Pack(const std::string& num, TPDType form, const std::string& date,
                                  const std::string& fileName, const std::string& orgName = "ООО Север",
                                  const std::string& workers = "1", int lgotWorkers = 1);

class ProtocolTest : public ::testing::Test {
 protected:
  ProtocolTest();
  ~ProtocolTest() override;

  TSettings& S() { return TSettings::GetInstance(); }
  // A writer for a run of its own folder (a new one for each call).
  std::unique_ptr<TProtocolFormer> Writer(TProtocolRunParams params = {});
  const std::filesystem::path& Report() const { return fReport.path(); }

  // The file's text in UTF-8 with LF line breaks and the check date masked as
  // DD.MM.YYYY; fails the test when a line break is not CR LF.
  static std::string Normalized(const std::filesystem::path& file);
  // A hand-written expected file of tests/data/protocol.
  static std::string Expected(const std::string& name);
  static std::vector<std::string> Lines(const std::string& text);

  TProtocolMessageList fSearchErrors;
  TempDir fReport;
  TempDir fTemp;
  std::vector<std::unique_ptr<TRunFolder>> fRunFolders;
};

}  // namespace morvel::test
