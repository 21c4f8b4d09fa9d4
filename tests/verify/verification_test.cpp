#include <gtest/gtest.h>

#include "records/pack.h"
#include "results/pack_results.h"
#include "verify_fixtures.h"

namespace morvel {
namespace {

using test::Find;
using test::Names;

constexpr const char* kPreviousYear =
    "Сверка с поименным списком к Перечню не проводилась т.к. список не актуален (Перечень за прошлый год)!";
constexpr const char* kEmptyNameList =
    "Выбран параметр \"Сверка ИС с поименным списком к Перечню\", но в поименном списке нет ни одного периода "
    "для сверки!";

class VerificationTest : public test::VerifyTest {
 protected:
  VerificationTest() : fList(List()) {}

  std::shared_ptr<TWorker> AddWorker(const std::string& sn) {
    fWorkers.push_back(Person(sn));
    return fWorkers.back();
  }

  TVerification fVerification;
  std::unique_ptr<TTheList> fList;
  std::vector<std::shared_ptr<TWorker>> fWorkers;
};

TEST_F(VerificationTest, StartsEmpty) {
  EXPECT_NE(fVerification.FSettings, nullptr);
  EXPECT_EQ(fVerification.fECode, 0);
  ASSERT_NE(fVerification.fPDData, nullptr);
  EXPECT_TRUE(fVerification.fPDData->InitPacks().empty());
  EXPECT_TRUE(fVerification.fPDData->CorrPacks().empty());
  EXPECT_EQ(fVerification.fListData, nullptr);
  EXPECT_EQ(fVerification.fVerListErrors, nullptr);
  EXPECT_FALSE(fVerification.fWithPositions || fVerification.fWithNameList || fVerification.fCorrPacksOnly);
}

TEST_F(VerificationTest, WithoutAListNothingIsPrepared) {
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"});
  fVerification.fWithPositions = true;
  fVerification.fWithNameList = true;
  fVerification.verify(nullptr, fWorkers, 2021, 1);
  EXPECT_TRUE(w->MergedWorkPeriods.empty());
  EXPECT_TRUE(fVerification.fISWorkersDictionary.empty());
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.fWarningResults.empty());
}

TEST_F(VerificationTest, SwitchesOffStillPrepareBothSides) {
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"});
  AddPeriod(*w, D(2021, 2, 1), D(2021, 2, 28), {"27-1"});
  auto l = Person("111-111-111 11");
  AddPeriod(*l, D(2021, 1, 1), D(2021, 2, 28), {"27-1"});
  fList->fWorkers.push_back(l);
  AddPosition(*fList, "27-2", "", 1);
  fVerification.verify(fList.get(), fWorkers, 2021, 1);

  ASSERT_EQ(w->MergedWorkPeriods.size(), 1u);  // consecutive, glued
  EXPECT_EQ(w->MergedWorkPeriods[0]->Start, D(2021, 1, 1));
  EXPECT_EQ(w->MergedWorkPeriods[0]->Finish, D(2021, 2, 28));
  ASSERT_EQ(l->MergedWorkPeriods.size(), 1u);
  ASSERT_EQ(fVerification.fISWorkersDictionary.count("111-111-111 11"), 1u);
  EXPECT_EQ(fVerification.fISWorkersDictionary.at("111-111-111 11"), w);
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.fWarningResults.empty());
}

TEST_F(VerificationTest, ListOfAPreviousYearOnlyLeavesANoteWithTheListsMessages) {
  fList->fPreviousPerech = true;
  fList->fWorkers.push_back(Person("222-222-222 22"));
  AddWorker("111-111-111 11");
  fVerification.fWithNameList = true;
  fVerification.verify(fList.get(), fWorkers, 2021, 1);

  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.fWarningResults.empty());
  ASSERT_EQ(fList->fParseErrors_List->size(), 1u);
  EXPECT_EQ(fList->fParseErrors_List->at(0)->FMessage, kPreviousYear);
  EXPECT_FALSE(fList->fParseErrors_List->at(0)->IsError);
  // The List had no other message, and the note still reaches the protocol.
  EXPECT_EQ(fVerification.fVerListErrors, fList->fParseErrors_List);
}

TEST_F(VerificationTest, EmptyNominalListGivesTheWarningMessage) {
  AddWorker("111-111-111 11");
  fVerification.fWithNameList = true;
  fVerification.verify(fList.get(), fWorkers, 2021, 1);
  EXPECT_EQ(Names(fVerification.fWarningResults), (std::vector<std::string>{kEmptyNameList}));
  EXPECT_FALSE(fVerification.fWarningResults[0]->IsError);
  EXPECT_TRUE(fList->fParseErrors_List->empty());
}

TEST_F(VerificationTest, PositionsBeforeTheNominalListNote) {
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 1, 31), {"27-1"});
  fVerification.fWithPositions = true;
  fVerification.fWithNameList = true;
  fVerification.verify(fList.get(), fWorkers, 2021, 1);
  EXPECT_EQ(Names(fVerification.FErrorResults), (std::vector<std::string>{"TPositionErrors"}));
  EXPECT_EQ(Names(fVerification.fWarningResults), (std::vector<std::string>{kEmptyNameList}));
}

TEST_F(VerificationTest, CrossingsOfEachISPersonGetATableAndTheListsNone) {
  for (const std::string sn : {"111-111-111 11", "222-222-222 22"}) {
    auto w = AddWorker(sn);
    AddPeriod(*w, D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "", 0.5);
    AddPeriod(*w, D(2021, 2, 1), D(2021, 6, 30), {"27-1"}, "", 0.5);
  }
  auto l = Person("111-111-111 11");
  AddPeriod(*l, D(2021, 1, 1), D(2021, 3, 31), {"27-1"}, "", 0.5);
  AddPeriod(*l, D(2021, 2, 1), D(2021, 6, 30), {"27-1"}, "", 0.5);
  fList->fWorkers.push_back(l);
  fVerification.verify(fList.get(), fWorkers, 2021, 1);

  EXPECT_EQ(Names(fVerification.FErrorResults),
            (std::vector<std::string>{"TCrossingPDPeriodsErrors", "TCrossingPDPeriodsErrors"}));
  for (std::size_t i = 0; i < 2; ++i) {
    auto& table = dynamic_cast<TTableResult&>(*fVerification.FErrorResults[i]);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table.GetRecord(0).FWorker_PD, fWorkers[i]);
  }
  // Both sides are divided alike (pieces of differing rates are not glued).
  ASSERT_EQ(l->MergedWorkPeriods.size(), 3u);
  EXPECT_DOUBLE_EQ(l->MergedWorkPeriods[1]->Rate, 1.0);
  ASSERT_EQ(fWorkers[0]->MergedWorkPeriods.size(), 3u);
  EXPECT_DOUBLE_EQ(fWorkers[0]->MergedWorkPeriods[1]->Rate, 1.0);
  // Once merged, both sides let go of their periods as read and divided.
  EXPECT_TRUE(l->FParsePeriods.empty() && l->WorkPeriods.empty());
  EXPECT_TRUE(fWorkers[0]->FParsePeriods.empty() && fWorkers[0]->WorkPeriods.empty());
}

// A List person's periods of differing worked time are glued where the IS
// person of the same number was away for the whole stretch: the IS side must
// be merged first and handed over.
TEST_F(VerificationTest, ListPersonIsMergedAgainstTheMergedISPerson) {
  auto w = AddWorker("111-111-111 11");
  AddPeriod(*w, D(2021, 1, 1), D(2021, 3, 31), {"27-1"})->AddPdData.Set("ДЕКРЕТ");
  auto l = Person("111-111-111 11");
  AddPeriod(*l, D(2021, 1, 1), D(2021, 1, 31), {"27-1"})->Months = "1";
  AddPeriod(*l, D(2021, 2, 1), D(2021, 3, 31), {"27-1"});
  auto stranger = Person("999-999-999 99");
  AddPeriod(*stranger, D(2021, 1, 1), D(2021, 1, 31), {"27-1"})->Months = "1";
  AddPeriod(*stranger, D(2021, 2, 1), D(2021, 3, 31), {"27-1"});
  fList->fWorkers = {l, stranger};
  fVerification.verify(fList.get(), fWorkers, 2021, 1);

  ASSERT_EQ(l->MergedWorkPeriods.size(), 1u);
  EXPECT_EQ(l->MergedWorkPeriods[0]->Start, D(2021, 1, 1));
  EXPECT_EQ(l->MergedWorkPeriods[0]->Finish, D(2021, 3, 31));
  EXPECT_EQ(stranger->MergedWorkPeriods.size(), 2u);  // nobody covers the stretch
}

// ---- Findings of pack reading --------------------------------------------------------

class ParseFindingsTest : public VerificationTest {
 protected:
  ParseFindingsTest() {
    fPerson = Person("111-111-111 11");
    fPeriod = AddPeriod(*fPerson, D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"});
  }

  std::unique_ptr<TAddPdDataWarning> Warning() {
    return std::make_unique<TAddPdDataWarning>(fPeriod, fPerson, "дети", "", "", "", "", "", "", "", "", "");
  }

  std::shared_ptr<TWorker> fPerson;
  std::shared_ptr<TWorkPeriod> fPeriod;
};

TEST_F(ParseFindingsTest, FilledTablesMoveInTheirOrderAndEmptyOnesStay) {
  TPack pack;
  pack.AddPdDataWarnings->AddRecord(Warning());
  pack.PartTimeErrors->AddRecord(std::make_unique<TPartTimeResult>("27-ПД", "", fPerson, fPeriod));
  pack.PDRKWarnings->AddRecord(std::make_unique<TPDRKWarning>(fPerson, fPeriod, "27-ПДРК"));
  fVerification.getParseErrorsAndWarnings(pack, nullptr);

  EXPECT_EQ(Names(fVerification.fWarningResults),
            (std::vector<std::string>{"TPDRKWarnings", "TAddPdDataWarnings"}));
  EXPECT_EQ(Names(fVerification.FErrorResults), (std::vector<std::string>{"TPartTimeErrors"}));
  EXPECT_EQ(pack.PDRKWarnings, nullptr);
  EXPECT_EQ(pack.AddPdDataWarnings, nullptr);
  // The empty ones stay with the pack.
  EXPECT_NE(pack.JumpWarnings, nullptr);
  EXPECT_NE(pack.FlightWarnings, nullptr);
  EXPECT_NE(pack.PartTimeWarnings, nullptr);
  EXPECT_EQ(fVerification.fVerListErrors, nullptr);

  // The next pack of the set appends after them.
  TPack second;
  second.JumpWarnings->AddRecord(std::make_unique<TJumpWarning>(fPerson, fPeriod, "27-ПД"));
  fVerification.getParseErrorsAndWarnings(second, nullptr);
  EXPECT_EQ(Names(fVerification.fWarningResults),
            (std::vector<std::string>{"TPDRKWarnings", "TAddPdDataWarnings", "TJumpWarnings"}));
}

TEST_F(ParseFindingsTest, NotesOfTheListPersonJoinTheAdditionalDataWarnings) {
  auto listPerson = Person("111-111-111 11");
  auto noted = AddPeriod(*listPerson, D(2021, 1, 1), D(2021, 1, 31), {"27-ПД"});
  noted->Note = "отпуск <по уходу>";
  AddPeriod(*listPerson, D(2021, 2, 1), D(2021, 3, 31), {"27-ПД"});  // no note
  AddPeriod(*listPerson, D(2021, 3, 1), D(2021, 3, 31), {"27-ПД"})->Note = "совместитель";
  auto other = Person("222-222-222 22");
  AddPeriod(*other, D(2021, 1, 1), D(2021, 1, 31))->Note = "чужое";
  fList->fWorkers = {other, listPerson};

  TPack pack;
  pack.AddPdDataWarnings->AddRecord(Warning());
  fVerification.getParseErrorsAndWarnings(pack, fList.get());
  auto* table = Find<TAddPdDataWarnings>(fVerification.fWarningResults);
  ASSERT_NE(table, nullptr);
  auto& warning = dynamic_cast<TAddPdDataWarning&>(table->GetRecord(0));
  EXPECT_EQ(warning.FListComments,
            "01.01.2021 - 31.01.2021: \"отпуск &lt;по уходу&gt;\"<br>"
            "01.03.2021 - 31.03.2021: \"совместитель\"<br>");
}

TEST_F(ParseFindingsTest, TheListsMessagesAreTakenOverOnlyWhenThereAreAny) {
  TPack first;
  fVerification.getParseErrorsAndWarnings(first, fList.get());
  EXPECT_EQ(fVerification.fVerListErrors, nullptr);

  fList->fParseErrors_List->push_back(std::make_unique<TProtocolMessage>("Ошибка перечня", true));
  TPack second;
  fVerification.getParseErrorsAndWarnings(second, fList.get());
  ASSERT_NE(fVerification.fVerListErrors, nullptr);
  EXPECT_EQ(fVerification.fVerListErrors, fList->fParseErrors_List);
  TPack third;
  fVerification.getParseErrorsAndWarnings(third, fList.get());
  EXPECT_EQ(fVerification.fVerListErrors->size(), 1u);
  // The messages outlive the List.
  fList.reset();
  EXPECT_EQ(fVerification.fVerListErrors->at(0)->FMessage, "Ошибка перечня");
}

}  // namespace
}  // namespace morvel
