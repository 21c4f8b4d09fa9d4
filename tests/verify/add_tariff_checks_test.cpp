#include <gtest/gtest.h>

#include <stdexcept>

#include "log/logger.h"
#include "log/singleton.h"
#include "results/add_tariff_results.h"
#include "support/test_support.h"
#include "verify_fixtures.h"

namespace morvel {
namespace {

using test::Find;
using test::Names;

// Payments at the additional tariff, List periods marked ДТ and the classes of
// working conditions of both sides.
class AddTariffCheckTest : public test::VerifyTest {
 protected:
  AddTariffCheckTest() {
    fClassifiers.Add(TClassifierType::ctAddTariff, {"27-1", "27-2", "27-3"});
    fList = List();
  }

  std::shared_ptr<TWorker> AddIS(const std::string& sn, const std::string& numInPack = "1") {
    fWorkers.push_back(Person(sn, "7", numInPack));
    return fWorkers.back();
  }

  std::shared_ptr<TWorker> AddListPerson(const std::string& sn) {
    fList->fWorkers.push_back(Person(sn, "", ""));
    fList->fWorkers.back()->SubNum = "2";
    return fList->fWorkers.back();
  }

  static std::shared_ptr<TAddTariffPayment> Pay(TWorker& w, double sum, const std::string& wc = "",
                                                TAddTariffBase base = TAddTariffBase::atb1) {
    auto payment = std::make_shared<TAddTariffPayment>(base, wc, sum, "1");
    w.AddTariffPayments.push_back(payment);
    return payment;
  }

  // A List period marked for the additional tariff (or not), with a class.
  static std::shared_ptr<TWorkPeriod> ListPeriod(TWorker& w, int month, const std::string& wc, bool marked = true,
                                                 const std::string& basis = "27-1") {
    auto period = AddPeriod(w, D(2014, month, 1), D(2014, month, 28), {basis});
    period->WC = wc;
    if (marked) period->AddTariff = "ДТ";
    return period;
  }

  void Verify(int year = 2014) { fVerification.verify(fList.get(), fWorkers, year, 1); }

  template <typename Table>
  std::vector<TResultRecord*> RecordsOf(const TResultList& results) const {
    std::vector<TResultRecord*> records;
    if (auto* table = Find<Table>(results)) {
      for (const auto& r : table->Records()) records.push_back(r.get());
    }
    return records;
  }
  std::vector<TResultRecord*> UT() const { return RecordsOf<TUTErrors>(fVerification.FErrorResults); }
  std::vector<TResultRecord*> TariffErrors() const { return RecordsOf<TAddTariffErrors>(fVerification.FErrorResults); }
  std::vector<TResultRecord*> Warnings() const {
    return RecordsOf<TAddTariffWarnings>(fVerification.fWarningResults);
  }
  std::vector<TResultRecord*> WithoutTariff() const {
    return RecordsOf<TUTWithoutAddTariffErrors>(fVerification.FErrorResults);
  }

  std::unique_ptr<TTheList> fList;
  std::vector<std::shared_ptr<TWorker>> fWorkers;
  TVerification fVerification;
};

// ---- The individual records ----------------------------------------------------------

TEST_F(AddTariffCheckTest, NothingUpTo2012) {
  // A verification uses up the persons it merges, so each year gets its own.
  auto employer = [this] {
    fWorkers.clear();
    fList = List();
    auto w = AddIS("1");
    AddPeriod(*w, D(2012, 1, 1), D(2012, 3, 31), {"27-ПД"});
    Pay(*w, 100);
    AddPeriod(*AddIS("2"), D(2012, 1, 1), D(2012, 3, 31), {"27-1"});
    ListPeriod(*AddListPerson("3"), 1, "В3.2", false);
  };
  employer();
  Verify(2012);
  EXPECT_TRUE(fVerification.FErrorResults.empty());
  EXPECT_TRUE(fVerification.fWarningResults.empty());
  employer();
  TVerification from2013;
  from2013.verify(fList.get(), fWorkers, 2013, 1);
  EXPECT_EQ(Names(from2013.FErrorResults),
            (std::vector<std::string>{"TUTErrors", "TAddTariffErrors", "TUTWithoutAddTariffErrors"}));
  EXPECT_EQ(Names(from2013.fWarningResults), std::vector<std::string>{"TAddTariffWarnings"});
}

TEST_F(AddTariffCheckTest, OneWarningPerPositivePaymentWithoutBasis) {
  auto w = AddIS("1");
  AddPeriod(*w, D(2014, 1, 1), D(2014, 3, 31), {"27-ПД"});
  auto first = Pay(*w, 1500.5, "", TAddTariffBase::atb218);
  Pay(*w, 0);
  auto second = Pay(*w, 20);
  // Payments of a person whose record states the tariff was accrued count for nothing.
  auto accrued = AddIS("2");
  accrued->HasAT = true;
  Pay(*accrued, 300);
  Verify();
  const auto warnings = Warnings();
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0]->FAddTariffPayment, first);
  EXPECT_EQ(warnings[1]->FAddTariffPayment, second);
  EXPECT_EQ(warnings[0]->FWorker_PD, w);
  EXPECT_EQ(warnings[0]->FWorkPeriod_List, nullptr);
  EXPECT_EQ(static_cast<TAddTariffWarning*>(warnings[0])->Explanation(),
            "У ЗЛ начислена сумма выплат по доп. тарифу 27-2-18 на сумму 1500.5 руб., но в его периодах стажа "
            "льгота отсутствует");
  // Tagged as they were made.
  EXPECT_TRUE(first->IsResultData);
  EXPECT_TRUE(TariffErrors().empty());
}

TEST_F(AddTariffCheckTest, PreferentialPeriodsWithoutPayments) {
  auto unpaid = AddIS("1");
  auto plain = AddPeriod(*unpaid, D(2014, 1, 1), D(2014, 1, 31), {"27-2"});
  auto leave = AddPeriod(*unpaid, D(2014, 2, 1), D(2014, 2, 28), {"27-10"});
  leave->AddPdData.Set("ДЕКРЕТ");
  AddPeriod(*unpaid, D(2014, 3, 1), D(2014, 3, 31), {"27-ПД"});
  // Paid: nothing to say, even with a payment of another group.
  auto paid = AddIS("2");
  AddPeriod(*paid, D(2014, 1, 1), D(2014, 1, 31), {"27-1"});
  Pay(*paid, 10, "", TAddTariffBase::atb218);
  // An ЕФС-1 record carries no payments at all.
  auto efs = AddIS("3");
  efs->IsEFS1 = true;
  AddPeriod(*efs, D(2014, 1, 1), D(2014, 1, 31), {"27-1"});
  // Only zero payments: unpaid.
  auto zero = AddIS("4");
  auto zeroPeriod = AddPeriod(*zero, D(2014, 1, 1), D(2014, 1, 31), {"27-3"});
  Pay(*zero, 0);
  Verify();

  const auto errors = TariffErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0]->FWorkPeriod_PD, plain);
  EXPECT_EQ(errors[1]->FWorkPeriod_PD, zeroPeriod);
  EXPECT_EQ(static_cast<TAddTariffError*>(errors[0])->fErrType, TResultType::rtPD);
  EXPECT_EQ(errors[0]->FWorker_List, nullptr);
  const auto warnings = Warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0]->FWorkPeriod_List, leave);
  EXPECT_EQ(static_cast<TAddTariffWarning*>(warnings[0])->fResultType, TResultType::rtNoPayments);
}

// ---- The List ---------------------------------------------------------------------

TEST_F(AddTariffCheckTest, ClassWithoutTariffWhetherOrNotInTheIS) {
  auto known = AddListPerson("1");
  auto knownPeriod = ListPeriod(*known, 1, "В3.2", false);
  AddIS("1");
  auto stranger = AddListPerson("9");
  ListPeriod(*stranger, 2, "", false);  // no class: fine
  auto strangerPeriod = ListPeriod(*stranger, 3, "В3.1", false);
  Verify();
  const auto records = WithoutTariff();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->FWorkPeriod_List, knownPeriod);
  EXPECT_EQ(records[1]->FWorkPeriod_List, strangerPeriod);
  EXPECT_EQ(records[1]->FWorker_List, stranger);
}

TEST_F(AddTariffCheckTest, ClassSetsAreComparedAsSets) {
  auto L = AddListPerson("1");
  ListPeriod(*L, 1, "В3.2");
  ListPeriod(*L, 2, "В3.1");
  auto I = AddIS("1", "14");
  AddPeriod(*I, D(2014, 1, 1), D(2014, 2, 28), {"27-1"});
  Pay(*I, 10, "В3.1");
  Pay(*I, 20, "В3.2");
  Pay(*I, 30, "В3.2");
  Verify();
  EXPECT_TRUE(UT().empty());
  EXPECT_TRUE(TariffErrors().empty());
  // The List person takes the IS person's numbers.
  EXPECT_EQ(L->PackNum, "7");
  EXPECT_EQ(L->NumInPack, "14");
}

TEST_F(AddTariffCheckTest, ClassOfAPeriodMissingFromThePayments) {
  auto L = AddListPerson("1");
  auto first = ListPeriod(*L, 1, "В3.2");
  auto second = ListPeriod(*L, 2, "В3.3");
  auto I = AddIS("1");
  AddPeriod(*I, D(2014, 1, 1), D(2014, 2, 28), {"27-1"});
  Pay(*I, 10, "В3.2");
  Pay(*I, 0, "В3.3");  // not paid: neither matches nor counts
  Verify();
  const auto ut = UT();
  ASSERT_EQ(ut.size(), 1u);  // the period; no closing row as it was reported
  auto* record = static_cast<TUTError*>(ut[0]);
  EXPECT_EQ(record->FWorkPeriod_List, second);
  EXPECT_EQ(record->FWorker_PD, I);
  EXPECT_EQ(record->FWorker_List, L);
  EXPECT_EQ(record->fPDUT, "В3.2 (все периоды)");
  EXPECT_TRUE(TariffErrors().empty());
  (void)first;
}

TEST_F(AddTariffCheckTest, MarkedPeriodOfAPersonWithoutPayments) {
  auto L = AddListPerson("1");
  auto withClass = ListPeriod(*L, 1, "В3.2");
  auto withoutClass = ListPeriod(*L, 2, "");
  AddPeriod(*AddIS("1"), D(2014, 1, 1), D(2014, 2, 28), {"27-1"});
  Verify();
  // Both periods lack the tariff; only the one with a class lacks its class too.
  const auto errors = TariffErrors();
  ASSERT_EQ(errors.size(), 3u);  // the IS period first, then the List's two
  EXPECT_EQ(static_cast<TAddTariffError*>(errors[0])->fErrType, TResultType::rtPD);
  EXPECT_EQ(errors[1]->FWorkPeriod_List, withClass);
  EXPECT_EQ(errors[2]->FWorkPeriod_List, withoutClass);
  EXPECT_EQ(static_cast<TAddTariffError*>(errors[1])->fErrType, TResultType::rtList);
  const auto ut = UT();
  ASSERT_EQ(ut.size(), 1u);
  EXPECT_EQ(ut[0]->FWorkPeriod_List, withClass);
  // The tariff differs, so the IS classes are not shown.
  EXPECT_EQ(static_cast<TUTError*>(ut[0])->fPDUT, " (все периоды)");
}

TEST_F(AddTariffCheckTest, NonPreferentialDataOfAnOverlappingISPeriodExcuses) {
  auto L = AddListPerson("1");
  ListPeriod(*L, 1, "В3.2");
  auto I = AddIS("1");
  AddPeriod(*I, D(2014, 1, 10), D(2014, 1, 20), {"27-1"})->AddPdData.Set("ДЕКРЕТ");
  Verify();
  EXPECT_TRUE(TariffErrors().empty());
  // The period itself passes; the closing comparison still finds the List's
  // class missing from the IS, and the tariff of the last period agreed.
  const auto ut = UT();
  ASSERT_EQ(ut.size(), 1u);
  auto* record = static_cast<TUTError*>(ut[0]);
  EXPECT_EQ(record->FWorkPeriod_List, nullptr);
  EXPECT_EQ(record->FWorker_PD, I);
  EXPECT_EQ(record->fListUT, "В3.2");
  EXPECT_EQ(record->fPDUT, " (все периоды)");
  // On the IS side the unpaid period is explained by its leave.
  ASSERT_EQ(Warnings().size(), 1u);
}

TEST_F(AddTariffCheckTest, EfsPersonMatchesByItsOverlappingPeriods) {
  auto L = AddListPerson("1");
  ListPeriod(*L, 1, "В3.2");
  auto unmatched = ListPeriod(*L, 3, "В3.2");
  auto I = AddIS("1");
  I->IsEFS1 = true;
  AddPeriod(*I, D(2014, 1, 1), D(2014, 1, 31), {"27-1"})->WC = "В3.2";
  AddPeriod(*I, D(2014, 3, 1), D(2014, 3, 31), {"27-1"})->WC = "В3.1";
  Verify();
  EXPECT_TRUE(TariffErrors().empty());  // an ЕФС-1 record always has the tariff
  const auto ut = UT();
  ASSERT_EQ(ut.size(), 1u);
  EXPECT_EQ(ut[0]->FWorkPeriod_List, unmatched);
  EXPECT_EQ(static_cast<TUTError*>(ut[0])->fPDUT, "В3.1;В3.2 (все периоды)");
}

TEST_F(AddTariffCheckTest, AccruedRecordLeavesOnlyTheClosingComparison) {
  auto L = AddListPerson("1");
  ListPeriod(*L, 1, "В3.2");
  auto I = AddIS("1", "5");
  I->HasAT = true;
  Verify();
  EXPECT_TRUE(TariffErrors().empty());
  const auto ut = UT();
  ASSERT_EQ(ut.size(), 1u);
  auto* record = static_cast<TUTError*>(ut[0]);
  EXPECT_EQ(record->FWorkPeriod_List, nullptr);
  EXPECT_EQ(record->FWorker_PD, nullptr);
  EXPECT_EQ(record->fListUT, "В3.2");
  EXPECT_EQ(L->NumInPack, "");  // never taken from the record
}

TEST_F(AddTariffCheckTest, ListPersonMissingFromTheISGetsAClosingRowAndTheLogLines) {
  test::TempDir dir;
  TSingleton::DestroyInstance<TLogger>();
  TSingleton::GetInstance<TLogger>().Init((dir.path() / "logs").string() + "/", true, "tariff");
  auto L = AddListPerson("9");
  ListPeriod(*L, 1, "В3.3");
  ListPeriod(*L, 2, "В3.2");
  ListPeriod(*L, 3, "В3.3");
  Verify();
  const auto ut = UT();
  ASSERT_EQ(ut.size(), 1u);
  auto* record = static_cast<TUTError*>(ut[0]);
  EXPECT_EQ(record->FWorker_PD, nullptr);
  EXPECT_EQ(record->FWorker_List, L);
  EXPECT_EQ(record->fListUT, "В3.2;В3.3");
  EXPECT_EQ(record->fPDUT, " (все периоды)");
  EXPECT_TRUE(TariffErrors().empty());  // without an IS person nothing to lack
  const std::string log = test::ReadFile(TSingleton::GetInstance<TLogger>().FileName());
  TSingleton::DestroyInstance<TLogger>();
  EXPECT_NE(log.find("УТ в перечне: В3.2;В3.3"), std::string::npos) << log;
  const std::string isLine = "УТ в ИС: ";
  const std::size_t is = log.find(isLine);
  ASSERT_NE(is, std::string::npos) << log;
  // Nothing follows: the IS has no classes.
  const char after = log[is + isLine.size()];
  EXPECT_TRUE(after == '\r' || after == '\n') << log;
}

TEST_F(AddTariffCheckTest, CorrectivePacksOnlyCheckTheISSide) {
  fVerification.fCorrPacksOnly = true;
  ListPeriod(*AddListPerson("9"), 1, "В3.3", false);
  auto w = AddIS("1");
  Pay(*w, 5);
  Verify();
  EXPECT_EQ(Names(fVerification.FErrorResults), std::vector<std::string>{});
  EXPECT_EQ(Warnings().size(), 1u);
}

TEST_F(AddTariffCheckTest, TablesInTheirOrder) {
  auto w = AddIS("1");
  Pay(*w, 5);  // a warning
  AddPeriod(*AddIS("2"), D(2014, 1, 1), D(2014, 1, 31), {"27-1"});  // an error of the IS side
  auto L = AddListPerson("2");
  ListPeriod(*L, 1, "В3.2");           // a class and a tariff error
  ListPeriod(*L, 2, "В3.2", false);  // a class without tariff
  Verify();
  EXPECT_EQ(Names(fVerification.fWarningResults), std::vector<std::string>{"TAddTariffWarnings"});
  EXPECT_EQ(Names(fVerification.FErrorResults),
            (std::vector<std::string>{"TUTErrors", "TAddTariffErrors", "TUTWithoutAddTariffErrors"}));
}

// A verification whose log breaks: the check ends by a failure at its first
// closing comparison.
class TBrokenLogVerification : public TVerification {
 public:
  void Log(const std::string& /*entry*/, bool /*isError*/) override { throw std::runtime_error("log"); }
};

TEST_F(AddTariffCheckTest, TablesSoFarAreAddedWhenTheCheckFails) {
  Pay(*AddIS("1"), 5);
  auto L = AddListPerson("9");
  ListPeriod(*L, 1, "В3.2", false);
  TBrokenLogVerification broken;
  EXPECT_THROW(broken.verify(fList.get(), fWorkers, 2014, 1), std::runtime_error);
  EXPECT_EQ(Names(broken.fWarningResults), std::vector<std::string>{"TAddTariffWarnings"});
  EXPECT_EQ(Names(broken.FErrorResults), std::vector<std::string>{"TUTWithoutAddTariffErrors"});
}

}  // namespace
}  // namespace morvel
