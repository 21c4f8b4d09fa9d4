#include "verify/set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/dates.h"
#include "log/logger.h"
#include "log/singleton.h"
#include "results/check_results.h"
#include "results/pack_results.h"
#include "support/test_support.h"

namespace morvel {
namespace {

std::shared_ptr<TWorker> Person(const std::string& sn, const std::string& packNum = "1") {
  auto w = std::make_shared<TWorker>();
  w->SN = sn;
  w->PackNum = packNum;
  w->Surname = "ИВАНОВ";
  return w;
}

std::shared_ptr<TWorkPeriod> Period(int month, const std::string& basis = "27-1") {
  auto p = std::make_shared<TWorkPeriod>();
  p->Start = EncodeDate(2021, month, 1);
  p->Finish = EncodeDate(2021, month, 28);
  if (!basis.empty()) p->Bases.Add(basis);
  return p;
}

std::unique_ptr<TPack> Pack(TPDType type, bool corrective, std::vector<std::shared_ptr<TWorker>> workers,
                            bool hasLgot = true) {
  auto pack = std::make_unique<TPack>();
  pack->BaseData = std::make_unique<TBaseData>();
  pack->BaseData->FPDType = type;
  pack->BaseData->Correction = corrective;
  pack->Workers = std::move(workers);
  pack->HasLgot = hasLgot;
  pack->FLgotWorkerCount = hasLgot ? static_cast<int>(pack->Workers.size()) : 0;
  return pack;
}

std::unique_ptr<TTheList> ListWith(std::vector<std::shared_ptr<TWorker>> persons) {
  auto list = std::make_unique<TTheList>();
  list->fWorkers = std::move(persons);
  return list;
}

class SetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSingleton::DestroyInstance<TLogger>();
    TSingleton::GetInstance<TLogger>().Init((dir.path() / "logs").string() + "/", true, "set");
  }
  void TearDown() override { TSingleton::DestroyInstance<TLogger>(); }

  std::string Log() const {
    const std::string& file = TSingleton::GetInstance<TLogger>().FileName();
    return file.empty() ? std::string() : test::ReadFile(file);
  }

  test::TempDir dir;
};

TEST_F(SetTest, PacksAreFiledByKindAndTheirMarksAreKept) {
  TSet set;
  set.AddPack(Pack(TPDType::pdtSZVStag, false, {Person("1")}, false));
  set.AddPack(Pack(TPDType::pdtSZVCorr, true, {Person("2")}, true));
  set.AddPack(Pack(TPDType::pdtSZVStag, false, {Person("3")}, false));
  EXPECT_EQ(set.InitPacks().size(), 2u);
  EXPECT_EQ(set.CorrPacks().size(), 1u);
  EXPECT_EQ(set.InitPacks()[1]->Workers[0]->SN, "3");
  EXPECT_TRUE(set.HasLgot());  // one preferential pack is enough
  EXPECT_EQ(set.CountVerifiedpeople(), 1);
}

TEST_F(SetTest, OutcomeCodesInTheirOrder) {
  {  // corrective packs only in the whole run
    TSet set;
    set.SetList(ListWith({Person("1")}));
    set.AddPack(Pack(TPDType::pdtSZVCorr, true, {Person("1")}));
    EXPECT_EQ(set.IsVerificationPossible(false), 22);
    EXPECT_EQ(set.IsVerificationPossible(true), 0);  // another set of the run has an initial pack
  }
  {  // preferential persons, no List
    TSet set;
    set.AddPack(Pack(TPDType::pdtSZVStag, false, {Person("1")}));
    set.FHasInitPacks = true;
    EXPECT_EQ(set.IsVerificationPossible(true), 23);
  }
  {  // ... but a СПВ-2 pack needs no List
    TSet set;
    set.AddPack(Pack(TPDType::pdtSPV2, false, {Person("1")}));
    set.FHasInitPacks = true;
    EXPECT_TRUE(set.IsSPV2());
    EXPECT_EQ(set.IsVerificationPossible(true), 0);
  }
  {  // a List with persons and no pack
    TSet set;
    set.SetList(ListWith({Person("1")}));
    EXPECT_EQ(set.IsVerificationPossible(false), 25);
    set.FList->fWorkers.clear();
    EXPECT_EQ(set.IsVerificationPossible(false), 0);
  }
  {  // nothing preferential and no List
    TSet set;
    set.AddPack(Pack(TPDType::pdtSZVStag, false, {Person("1")}, false));
    set.FHasInitPacks = true;
    EXPECT_EQ(set.IsVerificationPossible(true), 11);
    set.FOrganizationHasLists = true;
    EXPECT_EQ(set.IsVerificationPossible(true), 12);
  }
}

TEST_F(SetTest, OutcomeIsLoggedWithItsReasonOnEveryCall) {
  TSet set;
  set.AddPack(Pack(TPDType::pdtSZVStag, false, {Person("1")}));
  set.FHasInitPacks = true;
  set.IsVerificationPossible(true);
  set.IsVerificationPossible(true);
  const std::string log = Log();
  const std::string reason =
      "---Найдены ИС с льготниками (Исхд, либо Исхд и Корр, либо Корр), перечень не найден";
  const auto first = log.find(reason);
  ASSERT_NE(first, std::string::npos) << log;
  const auto code = log.find("---eCode=23", first);
  ASSERT_NE(code, std::string::npos);
  EXPECT_NE(log.find(reason, code), std::string::npos);  // logged again by the second call
  EXPECT_EQ(log.find("[ОШИБКА]"), std::string::npos);

  TSet clean;
  clean.SetList(ListWith({}));
  clean.AddPack(Pack(TPDType::pdtSZVStag, false, {Person("2")}));
  EXPECT_EQ(clean.IsVerificationPossible(true), 0);
  EXPECT_NE(Log().find("---eCode=0"), std::string::npos);
}

TEST_F(SetTest, InitialRecordsOfOnePersonAreCombined) {
  auto first = Person("111-111-111 11", "1");
  first->WorkPeriods = {Period(1)};
  first->AddTariffPayments = {std::make_shared<TAddTariffPayment>(TAddTariffBase::atb1, "", 10.0, "1")};
  auto second = Person("111-111-111 11", "2");
  second->WorkPeriods = {Period(2), Period(3, "")};
  second->HasLgotBasis = true;
  second->AddTariffPayments = {std::make_shared<TAddTariffPayment>(TAddTariffBase::atb1, "", 0.0, "1"),
                               std::make_shared<TAddTariffPayment>(TAddTariffBase::atb1, "", 25.5, "2")};
  auto other = Person("222-222-222 22", "2");

  TSet set;
  set.AddPack(Pack(TPDType::pdtSPV1, false, {first}));
  set.AddPack(Pack(TPDType::pdtSZV62, false, {second, other}));
  TResultList errors, warnings;
  const auto united = set.UnionISWorkers(errors, warnings);

  ASSERT_EQ(united.size(), 2u);
  EXPECT_TRUE(set.HasSPV1());
  const auto& person = *std::find_if(united.begin(), united.end(), [](auto& w) { return w->SN[0] == '1'; });
  EXPECT_EQ(person.get(), first.get());
  ASSERT_EQ(person->WorkPeriods.size(), 3u);
  EXPECT_EQ(person->WorkPeriods[1]->Start, EncodeDate(2021, 2, 1));
  EXPECT_EQ(person->WorkPeriods[2]->Start, EncodeDate(2021, 3, 1));
  EXPECT_NE(person->WorkPeriods[1].get(), second->WorkPeriods[0].get());  // clones, not the second pack's own
  EXPECT_TRUE(person->HasLgotBasis);
  ASSERT_EQ(person->AddTariffPayments.size(), 2u);  // the zero payment stays behind
  EXPECT_DOUBLE_EQ(person->AddTariffPayments[1]->Sum, 25.5);
  EXPECT_EQ(second->WorkPeriods.size(), 2u);  // the second record is left as it was
}

TEST_F(SetTest, CorrectiveRecordReplacesTheCombinationAndItsRows) {
  auto initial = Person("111-111-111 11", "1");
  initial->WorkPeriods = {Period(1)};
  auto stays = Person("222-222-222 22", "1");
  stays->WorkPeriods = {Period(1)};
  auto corrective = Person("111-111-111 11", "5");
  corrective->WorkPeriods = {Period(4)};

  TResultList errors, warnings;
  auto terr = std::make_unique<TTerrCodeErrors>();
  terr->AddRecord(std::make_unique<TTerrCodeError>(TTerrCodeData(initial->WorkPeriods[0], initial)));
  terr->AddRecord(std::make_unique<TTerrCodeError>(TTerrCodeData(stays->WorkPeriods[0], stays)));
  terr->AddRecord(std::make_unique<TTerrCodeError>(TTerrCodeData(corrective->WorkPeriods[0], corrective)));
  errors.push_back(std::move(terr));
  auto pdrk = std::make_unique<TPDRKWarnings>();
  pdrk->AddRecord(std::make_unique<TPDRKWarning>(initial, initial->WorkPeriods[0], "27-1"));
  warnings.push_back(std::move(pdrk));
  warnings.push_back(std::make_unique<TProtocolMessage>("a message", false));

  TSet set;
  set.AddPack(Pack(TPDType::pdtSZVStag, false, {initial, stays}));
  set.AddPack(Pack(TPDType::pdtSZVCorr, true, {corrective}));
  const auto united = set.UnionISWorkers(errors, warnings);

  ASSERT_EQ(united.size(), 2u);
  EXPECT_TRUE(std::find(united.begin(), united.end(), corrective) != united.end());
  EXPECT_TRUE(std::find(united.begin(), united.end(), initial) == united.end());
  auto& errorTable = dynamic_cast<TTableResult&>(*errors[0]);
  // The rows of the record in force stay, although it has the replaced number.
  ASSERT_EQ(errorTable.Count(), 2);
  EXPECT_EQ(errorTable.GetRecord(0).FWorker_PD->SN, "222-222-222 22");
  EXPECT_EQ(errorTable.GetRecord(1).FWorker_PD, corrective);
  // The table that only the replaced record filled goes; the message stays.
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(dynamic_cast<TTableResult*>(warnings[0].get()), nullptr);
}

// Every object the set reached dies exactly once: the untagged ones with the
// first flush (as far as the set holds them), the tagged ones with their
// records, never while a record can still print them.
TEST_F(SetTest, TwoStepReleaseKeepsWhatRecordsReferTo) {
  auto tagged = Person("1");
  auto plain = Person("2");
  for (const auto& w : {tagged, plain}) {
    w->WorkPeriods = {Period(1)};
    w->MergedWorkPeriods = {Period(1), Period(2)};
    w->AddTariffPayments = {std::make_shared<TAddTariffPayment>(TAddTariffBase::atb1, "", 5.0, "1")};
  }
  auto listPerson = Person("1");
  listPerson->MergedWorkPeriods = {Period(1)};
  auto position = std::make_shared<TPosition>();

  std::weak_ptr<TWorkPeriod> plainMerged = plain->MergedWorkPeriods[1];
  std::weak_ptr<TWorkPeriod> taggedMerged = tagged->MergedWorkPeriods[0];
  std::weak_ptr<TAddTariffPayment> plainPayment = plain->AddTariffPayments[0];
  std::weak_ptr<TWorker> listWeak = listPerson;
  std::weak_ptr<TPosition> positionWeak = position;

  auto table = std::make_unique<TTerrCodeErrors>();
  table->AddRecord(std::make_unique<TTerrCodeError>(TTerrCodeData(tagged->MergedWorkPeriods[0], tagged)));
  table->TagRecords();

  {
    auto set = std::make_unique<TSet>();
    set->AddPack(Pack(TPDType::pdtSZVStag, false, {tagged, plain}));
    auto list = ListWith({listPerson});
    list->fPositions = {position};
    set->SetList(std::move(list));
    listPerson.reset();
    position.reset();
    tagged.reset();
    plain.reset();

    set->UniteList();
    set->UniteIS();
    set->FlushResults(true);
    set->FlushResults(true);
    EXPECT_TRUE(plainMerged.expired());
    EXPECT_TRUE(plainPayment.expired());
    ASSERT_FALSE(taggedMerged.expired());
    EXPECT_EQ(table->GetRecord(0).FWorker_PD->MergedWorkPeriods.size(), 2u);  // a tagged person stays whole

    set->FlushResults(false);
    EXPECT_EQ(set->FIsWorkers, nullptr);
    EXPECT_FALSE(taggedMerged.expired());  // the record still holds it
  }
  EXPECT_TRUE(listWeak.expired());
  EXPECT_TRUE(positionWeak.expired());
  table.reset();
  EXPECT_TRUE(taggedMerged.expired());
}

}  // namespace
}  // namespace morvel
