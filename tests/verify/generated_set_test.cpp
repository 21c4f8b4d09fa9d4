// A generated employer's pack and List, read and verified the way a run does:
// a List drawn from the same persons and work must agree with the pack on the
// staff positions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/classifiers.h"
#include "list_writer.h"
#include "pack_writer.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "results/check_results.h"
#include "support/test_support.h"
#include "synthetic_employer.h"
#include "verify/set.h"
#include "verify/verification.h"
#include "verify_fixtures.h"
#include "xml/my_node.h"

namespace morvel {
namespace {

constexpr const char* kRegNum = "099-001-000123";

class GeneratedSetTest : public ::testing::Test {
 protected:
  GeneratedSetTest() {
    const std::filesystem::path data = std::filesystem::path(MORVEL_SOURCE_DIR) / "data";
    fLoaded = LoadClassifierFiles(fClassifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                                  [](const std::string&) {});
  }

  // Writes the pack and the List of 2019 for the employer and reads both into
  // the set.
  void Read(const gen::TSynthEmployer& employer, const gen::TListOptions& listOptions) {
    gen::TPackOptions packOptions;
    packOptions.form = gen::TGenForm::szvStag;
    packOptions.edition = gen::TGenEdition::newest;
    {
      std::ofstream out(fDir / "pack.xml", std::ios::binary);
      gen::WritePack(employer, packOptions, out);
      std::ofstream list(fDir / "list.xml", std::ios::binary);
      gen::WriteList(employer, 1, listOptions, list);
    }
    TMyTree root = LoadXMLTree((fDir / "pack.xml").string());
    ASSERT_NE(root, nullptr);
    auto header = TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0);
    ASSERT_NE(header, nullptr);
    TProtocolMessageList errors;
    const TPDType form = header->FPDType;
    auto pack = TPack::TryGetPackData(root.get(), form, errors, header, (fDir / "pack.xml").string());
    ASSERT_NE(pack, nullptr);
    pack->ReadWorkers(root.get(), 0);
    fPack = pack.get();
    fSet.AddPack(std::move(pack));

    TMyTree listRoot = LoadXMLTree((fDir / "list.xml").string());
    ASSERT_NE(listRoot, nullptr);
    auto list = std::make_unique<TTheList>();
    list->fYear = 2019;
    list->fPeriod = 4;
    list->FAccumulate = true;
    list->readStaff(2019, 4, listRoot.get());
    fSet.SetList(std::move(list));
  }

  TClassifiers fClassifiers;
  bool fLoaded = false;
  TClassifiersScope fScope{fClassifiers};
  test::TempDir fDir;
  TSet fSet;
  TPack* fPack = nullptr;
};

TEST_F(GeneratedSetTest, ListOfTheSameWorkAgreesOnTheStaffPositions) {
  ASSERT_TRUE(fLoaded);
  gen::TSynthOptions options;
  options.persons = 300;
  options.periods = 2;
  options.year = 2019;
  options.workplaces = 30;
  ASSERT_NO_FATAL_FAILURE(Read(gen::MakeEmployer(options), {}));
  ASSERT_EQ(fSet.List()->fPositions.size(), 29u);

  TVerification verification;
  verification.fWithPositions = true;
  verification.getParseErrorsAndWarnings(*fPack, fSet.List());
  const auto united = fSet.UnionISWorkers(verification.FErrorResults, verification.fWarningResults);
  ASSERT_EQ(united.size(), 300u);
  verification.verify(fSet.List(), united, 2019, 0);

  EXPECT_EQ(test::Find<TWorkingDaysErrors>(verification.FErrorResults), nullptr);
  EXPECT_EQ(test::Find<TWorkingDaysWarnings>(verification.fWarningResults), nullptr);
  if (auto* unmatched = test::Find<TPositionErrors>(verification.FErrorResults)) {
    for (const auto& record : unmatched->Records()) {
      TMemoryLineWriter w;
      record->PrintLine(w);
      ADD_FAILURE() << w.Text(" ");
    }
  }
}

}  // namespace
}  // namespace morvel
