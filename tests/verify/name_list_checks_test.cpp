#include <gtest/gtest.h>

#include "base/text.h"
#include "results/name_list_results.h"
#include "results/rate_results.h"
#include "verify_fixtures.h"

namespace morvel {
namespace {

using test::Find;
using test::Names;

using TRows = std::vector<std::vector<std::string>>;

// The cells of every record of the table, row by row; no rows without a table.
TRows Rows(const TTableResult* table) {
  TRows rows;
  if (table == nullptr) return rows;
  for (const auto& record : table->Records()) {
    TMemoryLineWriter w;
    record->PrintLine(w);
    std::vector<std::string> cells;
    for (std::size_t i = 1; i + 1 < w.Lines.size(); ++i) {
      const std::string& line = w.Lines[i];
      cells.push_back(line.substr(4, line.size() - 9));
    }
    rows.push_back(cells);
  }
  return rows;
}

// The IS persons of a union against the nominal list of a List, with the
// nominal-list comparison switched on.
class NameListChecksTest : public test::VerifyTest {
 protected:
  NameListChecksTest() { Reset(); }

  // A fresh verification, List and union: the periods of a person are merged
  // once per verification.
  void Reset() {
    fVerification = std::make_unique<TVerification>();
    fVerification->fWithNameList = true;
    fList = List();
    fWorkers.clear();
  }

  void Verify(int year = 2021) { fVerification->verify(fList.get(), fWorkers, year, 1); }

  // An IS person with preferential periods (as its pack reader marked it).
  std::shared_ptr<TWorker> IS(const std::string& sn, const std::string& surname = "ИВАНОВ",
                              const std::string& packNum = "7") {
    auto w = Person(sn, packNum, IntToStr(static_cast<long long>(fWorkers.size() + 1)), surname);
    w->HasLgotBasis = true;
    fWorkers.push_back(w);
    return w;
  }

  std::shared_ptr<TWorker> InList(const std::string& sn, const std::string& surname = "ИВАНОВ") {
    auto w = Person(sn, "", "", surname);
    w->SubNum = "3";
    fList->fWorkers.push_back(w);
    return w;
  }

  // A period of the first quarter of 2021.
  static std::shared_ptr<TWorkPeriod> Quarter(TWorker& w, const std::string& basis, double rate = 1.0,
                                              const std::string& code = "") {
    return AddPeriod(w, D(2021, 1, 1), D(2021, 3, 31), {basis}, code, rate);
  }

  template <typename Table>
  TRows ErrorRows() const {
    return Rows(Find<Table>(fVerification->FErrorResults));
  }
  template <typename Table>
  TRows WarningRows() const {
    return Rows(Find<Table>(fVerification->fWarningResults));
  }

  std::unique_ptr<TVerification> fVerification;
  std::unique_ptr<TTheList> fList;
  std::vector<std::shared_ptr<TWorker>> fWorkers;
};

// ---- Persons ---------------------------------------------------------------------------

TEST_F(NameListChecksTest, TeachingTimeIsComparedInMinutes) {
  // 1 hour 30 minutes against 90 minutes: the same time.
  auto same = IS("111-111-111 11");
  auto p = Quarter(*same, "27-ПД");
  p->PDRKHours = 1;
  p->PDRKMinutes = 30;
  Quarter(*InList("111-111-111 11"), "27-ПД")->PDRKMinutes = 90;
  // 1.1 hours are 66 minutes, though not as a double.
  auto fraction = IS("555-555-555 55", "ФЕДОРОВ");
  Quarter(*fraction, "27-ПД")->PDRKHours = 1.1;
  Quarter(*InList("555-555-555 55", "ФЕДОРОВ"), "27-ПД")->PDRKMinutes = 66;

  // A teacher whose leave period does not count on the IS side, while every
  // teaching period counts on the List side.
  auto teacher = IS("222-222-222 22", "ПЕТРОВ");
  Quarter(*teacher, "27-ПД")->PDRKHours = 2;
  auto leave = AddPeriod(*teacher, D(2021, 5, 1), D(2021, 6, 30), {"27-ПД"});
  leave->PDRKHours = 5;
  leave->AddPdData.Set("ДЕКРЕТ");
  auto teacherInList = InList("222-222-222 22", "ПЕТРОВ");
  Quarter(*teacherInList, "27-ПД")->PDRKHours = 1;
  AddPeriod(*teacherInList, D(2021, 5, 1), D(2021, 6, 30), {"27-ПД"})->PDRKMinutes = 125.5;

  // A head of a school: an error.
  auto principal = IS("333-333-333 33", "СИДОРОВ");
  Quarter(*principal, "27-ПДРК")->PDRKHours = 3;
  Quarter(*InList("333-333-333 33", "СИДОРОВ"), "27-ПДРК")->PDRKHours = 4;

  // A teacher the List lacks: against 0 minutes.
  auto missing = IS("444-444-444 44", "ОРЛОВ");
  Quarter(*missing, "27-ПД")->PDRKMinutes = 45;
  Verify();

  EXPECT_EQ(WarningRows<TTeacherWarnings>(),
            (TRows{{"27-ПД", "7", "3", "222-222-222 22", "ПЕТРОВ П.С.", "2 часов 0 минут", "3 часов 6 минут"},
                   {"27-ПД", "7", "5", "444-444-444 44", "ОРЛОВ П.С.", "0 часов 45 минут", "0 часов 0 минут"}}));
  // The row shows the last merged period, the leave that did not count.
  const auto* warnings = Find<TTeacherWarnings>(fVerification->fWarningResults);
  ASSERT_NE(warnings, nullptr);
  EXPECT_EQ(warnings->GetRecord(0).FWorkPeriod_PD, teacher->MergedWorkPeriods.back());
  EXPECT_EQ(warnings->GetRecord(0).FWorkPeriod_PD->Start, D(2021, 5, 1));
  EXPECT_EQ(Find<TTeacherWarnings>(fVerification->FErrorResults), nullptr);

  EXPECT_EQ(ErrorRows<TPrincipalErrors>(),
            (TRows{{"27-ПДРК", "7", "4", "333-333-333 33", "СИДОРОВ П.С.", "3 часов 0 минут", "4 часов 0 минут"}}));
  EXPECT_EQ(ErrorRows<TPdInsNumErrors>(),
            (TRows{{"7", "5", "444-444-444 44", "ОРЛОВ П.С.", "01.01.2021", "31.03.2021", "27-ПД", ""}}));
}

TEST_F(NameListChecksTest, FullNamesAreComparedAsOneTextInTheirLetterCase) {
  auto lower = IS("111-111-111 11");
  lower->Surname = "Иванов";
  Quarter(*lower, "27-1");
  Quarter(*InList("111-111-111 11"), "27-1");

  auto split = IS("222-222-222 22", "ПЕТРОВ");
  split->Name = "ПЕТРСЕРГЕЕВИЧ";
  split->Patronymic = "";
  Quarter(*split, "27-1");
  Quarter(*InList("222-222-222 22", "ПЕТРОВ"), "27-1");

  auto other = IS("333-333-333 33", "СИДОРОВ");
  Quarter(*other, "27-1");
  Quarter(*InList("333-333-333 33", "СИДОРОВА"), "27-1");
  Verify();

  EXPECT_EQ(ErrorRows<TFullNameErrors>(),
            (TRows{{"7", "1", "111-111-111 11", "Иванов", "ПЕТР", "СЕРГЕЕВИЧ", "3", "ИВАНОВ", "ПЕТР", "СЕРГЕЕВИЧ"},
                   {"7", "3", "333-333-333 33", "СИДОРОВ", "ПЕТР", "СЕРГЕЕВИЧ", "3", "СИДОРОВА", "ПЕТР",
                    "СЕРГЕЕВИЧ"}}));
  for (const auto& L : fList->fWorkers) EXPECT_TRUE(L->FoundInPds) << L->SN;
}

TEST_F(NameListChecksTest, PersonsMissingFromTheListAndThePrintedCountsOfPreferentialPersons) {
  auto& packs = *fVerification->fPDData;
  for (const char* num : {"7", "7", "8"}) {
    packs.FInitPacks.push_back(std::make_unique<TPDPackData>());
    packs.FInitPacks.back()->fNum = num;
    packs.FInitPacks.back()->fLgotWorkers = 5;
  }
  packs.FCorrPacks.push_back(std::make_unique<TPDPackData>());
  packs.FCorrPacks.back()->fNum = "7";
  packs.FCorrPacks.back()->fLgotWorkers = 3;

  // Without preferential periods in its record: never missing.
  auto ordinary = IS("111-111-111 11");
  ordinary->HasLgotBasis = false;
  Quarter(*ordinary, "27-1");
  // Marked as preferential, but no merged period has a basis: the count of
  // its pack goes down, and it is missing from the List with every period.
  auto noBasis = IS("222-222-222 22", "ПЕТРОВ");
  AddPeriod(*noBasis, D(2021, 1, 1), D(2021, 1, 31));
  AddPeriod(*noBasis, D(2021, 3, 1), D(2021, 3, 31));
  // Two consecutive periods of one kind merge into one.
  auto glued = IS("333-333-333 33", "СИДОРОВ", "8");
  AddPeriod(*glued, D(2021, 1, 1), D(2021, 1, 31), {"27-2"}, "2290000А-17541");
  AddPeriod(*glued, D(2021, 2, 1), D(2021, 2, 28), {"27-2"}, "2290000А-17541");
  Verify();

  EXPECT_EQ(ErrorRows<TPdInsNumErrors>(),
            (TRows{{"7", "2", "222-222-222 22", "ПЕТРОВ П.С.", "01.01.2021", "31.01.2021", "", ""},
                   {"7", "2", "222-222-222 22", "ПЕТРОВ П.С.", "01.03.2021", "31.03.2021", "", ""},
                   {"8", "3", "333-333-333 33", "СИДОРОВ П.С.", "01.01.2021", "28.02.2021", "27-2",
                    "2290000А-17541"}}));
  EXPECT_EQ(packs.FInitPacks[0]->fLgotWorkers, 4);
  EXPECT_EQ(packs.FInitPacks[1]->fLgotWorkers, 5);
  EXPECT_EQ(packs.FInitPacks[2]->fLgotWorkers, 5);
  EXPECT_EQ(packs.FCorrPacks[0]->fLgotWorkers, 2);
  // The List is empty: only its warning, no period check.
  EXPECT_EQ(Names(fVerification->FErrorResults), (std::vector<std::string>{"TPdInsNumErrors"}));
  EXPECT_EQ(Names(fVerification->fWarningResults),
            (std::vector<std::string>{"Выбран параметр \"Сверка ИС с поименным списком к Перечню\", но в поименном "
                                      "списке нет ни одного периода для сверки!"}));
}

// ---- Periods ---------------------------------------------------------------------------

TEST_F(NameListChecksTest, ListPersonsTheISLacksGetOneRowPerMergedPeriod) {
  auto found = InList("111-111-111 11");
  Quarter(*found, "27-1");
  Quarter(*IS("111-111-111 11"), "27-1");
  auto absent = InList("222-222-222 22", "ПЕТРОВ");
  AddPeriod(*absent, D(2021, 1, 1), D(2021, 1, 31), {"27-1"});
  AddPeriod(*absent, D(2021, 2, 1), D(2021, 2, 28), {"27-1"});
  AddPeriod(*absent, D(2021, 3, 10), D(2021, 3, 31), {"27-1"});
  Verify();

  EXPECT_EQ(ErrorRows<TSNErrors_List>(),
            (TRows{{"3", "222-222-222 22", "ПЕТРОВ П.С.", "01.01.2021", "28.02.2021", "27-1", ""},
                   {"3", "222-222-222 22", "ПЕТРОВ П.С.", "10.03.2021", "31.03.2021", "27-1", ""}}));
  EXPECT_EQ(Names(fVerification->FErrorResults), (std::vector<std::string>{"TSNErrors_List"}));
  EXPECT_TRUE(fVerification->fWarningResults.empty());
}

TEST_F(NameListChecksTest, RatesAreComparedAtTwoDecimalsForTheRateComparedBasesOnly) {
  Quarter(*IS("111-111-111 11"), "27-ПД", 0.75);
  Quarter(*InList("111-111-111 11"), "27-ПД", 0.7);
  // Not a rate-compared basis.
  Quarter(*IS("222-222-222 22"), "27-1", 0.75);
  Quarter(*InList("222-222-222 22"), "27-1", 0.7);
  // Equal at two decimals.
  Quarter(*IS("333-333-333 33"), "27-ГДХР", 0.751);
  Quarter(*InList("333-333-333 33"), "27-ГДХР", 0.749);
  // A half goes to the even neighbour: 0.625 and 0.62 agree, 0.375 and 0.37 do not.
  Quarter(*IS("444-444-444 44"), "27-СМ", 0.625);
  Quarter(*InList("444-444-444 44"), "27-СМ", 0.62);
  Quarter(*IS("555-555-555 55"), "27-СМ", 0.375);
  Quarter(*InList("555-555-555 55"), "27-СМ", 0.37);
  Verify();

  EXPECT_EQ(ErrorRows<TRateErrors>(),
            (TRows{{"7", "1", "111-111-111 11", "ИВАНОВ П.С.", "27-ПД", "01.01.2021 - 31.03.2021", "0.75", "0.7"},
                   {"7", "5", "555-555-555 55", "ИВАНОВ П.С.", "27-СМ", "01.01.2021 - 31.03.2021", "0.375",
                    "0.37"}}));
  // Part rates on the IS side pair whatever the List's rate.
  EXPECT_EQ(Names(fVerification->FErrorResults), (std::vector<std::string>{"TRateErrors"}));
}

TEST_F(NameListChecksTest, RatesAboveOneAndTwoAndMissingRatesOfHeadsOfSchools) {
  Quarter(*IS("111-111-111 11"), "27-1", 1.5);
  Quarter(*InList("111-111-111 11"), "27-1", 1);
  Quarter(*IS("222-222-222 22"), "27-1", 1);
  Quarter(*InList("222-222-222 22"), "27-1", 2.5);
  // A rate not stated in the List for a head of a school.
  Quarter(*IS("333-333-333 33"), "27-ПДРК", 0.5);
  Quarter(*InList("333-333-333 33"), "27-ПДРК", 0);
  Verify();

  const std::string period = "01.01.2021 - 31.03.2021";
  EXPECT_EQ(WarningRows<TStavkaWarnings>(),
            (TRows{{"7", "1", "111-111-111 11", "ИВАНОВ П.С.", "27-1", period, "1.5", "1"},
                   {"7", "2", "222-222-222 22", "ИВАНОВ П.С.", "27-1", period, "1", "2.5"}}));
  EXPECT_EQ(ErrorRows<TRateTooHighErrors>(),
            (TRows{{"7", "2", "222-222-222 22", "ИВАНОВ П.С.", "27-1", period, "1", "2.5"}}));
  EXPECT_EQ(ErrorRows<TNoRateErrors>(),
            (TRows{{"7", "3", "333-333-333 33", "ИВАНОВ П.С.", "27-ПДРК", period, "0.5", "Не указана"}}));
  EXPECT_EQ(Names(fVerification->FErrorResults),
            (std::vector<std::string>{"TRateErrors", "TRateTooHighErrors", "TNoRateErrors"}));
  EXPECT_EQ(Names(fVerification->fWarningResults), (std::vector<std::string>{"TStavkaWarnings"}));
}

// Worked time on one side only is a warning up to 2009 and an error from 2010;
// differing worked time is always an error.
TEST_F(NameListChecksTest, WorkedTimeMissingOnOneSideBeforeAndFrom2010) {
  for (const int year : {2009, 2010}) {
    SCOPED_TRACE(year);
    Reset();
    Quarter(*IS("111-111-111 11"), "27-1")->Months = "2";
    Quarter(*InList("111-111-111 11"), "27-1");
    Quarter(*IS("222-222-222 22"), "27-1");
    Quarter(*InList("222-222-222 22"), "27-1")->Days = "10";
    Quarter(*IS("333-333-333 33"), "27-1")->Months = "2";
    Quarter(*InList("333-333-333 33"), "27-1")->Months = "3";
    Quarter(*IS("444-444-444 44"), "27-1")->Hours = "5";
    Quarter(*InList("444-444-444 44"), "27-1")->Hours = "5";
    // Teaching hours are no worked time here.
    auto teacher = Quarter(*IS("555-555-555 55"), "27-ПДРК");
    teacher->PDRKHours = 7;
    Quarter(*InList("555-555-555 55"), "27-ПДРК")->PDRKHours = 7;
    Verify(year);

    const std::string period = "01.01.2021 - 31.03.2021";
    const TRows inIS = {{"111-111-111 11", "ИВАНОВ П.С.", "27-1", "", period, "2 мес., 0 дн., 0 ч., 0 мин."}};
    const TRows inList = {{"222-222-222 22", "ИВАНОВ П.С.", "27-1", "", period, "0 мес., 10 дн., 0 ч., 0 мин."}};
    EXPECT_EQ(ErrorRows<TFactWorkTimeErrors>(),
              (TRows{{"333-333-333 33", "ИВАНОВ П.С.", "27-1", "", "2 мес., 0 дн., 0 ч., 0 мин.",
                      "3 мес., 0 дн., 0 ч., 0 мин."}}));
    if (year == 2009) {
      EXPECT_EQ(WarningRows<TFactWorkTimeWarnings_IS>(), inIS);
      EXPECT_EQ(WarningRows<TFactWorkTimeWarnings_List>(), inList);
      EXPECT_EQ(Names(fVerification->FErrorResults), (std::vector<std::string>{"TFactWorkTimeErrors"}));
      EXPECT_EQ(Names(fVerification->fWarningResults),
                (std::vector<std::string>{"TFactWorkTimeWarnings_List", "TFactWorkTimeWarnings_IS"}));
    } else {
      EXPECT_EQ(ErrorRows<TFactWorkTimeErrors_IS>(), inIS);
      EXPECT_EQ(ErrorRows<TFactWorkTimeErrors_List>(), inList);
      EXPECT_EQ(Names(fVerification->FErrorResults),
                (std::vector<std::string>{"TFactWorkTimeErrors", "TFactWorkTimeErrors_List",
                                          "TFactWorkTimeErrors_IS"}));
      EXPECT_TRUE(fVerification->fWarningResults.empty());
    }
  }
}

TEST_F(NameListChecksTest, FullRateISPeriodPairsOnlyWithAFullRateListPeriod) {
  // Full rate against a part rate of the same dates and kind: both unpaired,
  // and the rates differ for a rate-compared basis.
  auto full = Quarter(*IS("111-111-111 11"), "27-ПД", 1);
  auto part = Quarter(*InList("111-111-111 11"), "27-ПД", 0.5);
  // Part rate against a full rate: paired, and 27-1 is not rate-compared.
  Quarter(*IS("222-222-222 22"), "27-1", 0.5);
  Quarter(*InList("222-222-222 22"), "27-1", 1);
  // A full-rate IS period walks past the part-rate List period of its kind to
  // the full-rate one after it. (The rural condition keeps the two List periods
  // apart: they do not agree with each other, but each agrees with none.)
  auto walker = IS("333-333-333 33");
  Quarter(*walker, "27-1", 1);
  auto listPerson = InList("333-333-333 33");
  auto rural = Quarter(*listPerson, "27-1", 0.5);
  rural->TerritoryCondition = "СЕЛО";
  auto north = Quarter(*listPerson, "27-1", 1);
  north->TerritoryCondition = "МКС";
  Verify();

  const std::string period = "01.01.2021 - 31.03.2021";
  EXPECT_EQ(ErrorRows<TRateErrors>(),
            (TRows{{"7", "1", "111-111-111 11", "ИВАНОВ П.С.", "27-ПД", period, "1", "0.5"}}));
  EXPECT_EQ(ErrorRows<TPeriodErrors_IS>(),
            (TRows{{"7", "1", "111-111-111 11", "ИВАНОВ П.С.", "27-ПД", "", "01.01.2021", "31.03.2021", "1", "",
                    "", "", ""}}));
  EXPECT_EQ(ErrorRows<TPeriodErrors_List>(),
            (TRows{{"3", "111-111-111 11", "ИВАНОВ П.С.", "27-ПД", "", "01.01.2021", "31.03.2021", "0.5", "", "", "",
                    ""},
                   {"3", "333-333-333 33", "ИВАНОВ П.С.", "27-1", "", "01.01.2021", "31.03.2021", "0.5", "", "",
                    "СЕЛО", ""}}));
  ASSERT_EQ(listPerson->MergedWorkPeriods.size(), 2u);
  EXPECT_TRUE(walker->MergedWorkPeriods.at(0)->Compared);
  EXPECT_EQ(Find<TBasisErrors>(fVerification->FErrorResults), nullptr);
  EXPECT_EQ(Names(fVerification->FErrorResults),
            (std::vector<std::string>{"TPeriodErrors_IS", "TPeriodErrors_List", "TRateErrors"}));
}

TEST_F(NameListChecksTest, DifferentBasesOfTheSameDatesUnlessEitherSideAlsoHasTheOther) {
  // Only the other kind on the other side.
  Quarter(*IS("111-111-111 11"), "27-1", 1, "1010100А-13790");
  Quarter(*InList("111-111-111 11"), "27-2", 1, "2290000А-17541");
  // The IS also has the List's kind for those dates.
  auto both = IS("222-222-222 22");
  Quarter(*both, "27-1", 1, "1010100А-13790");
  Quarter(*both, "27-2", 1, "2290000А-17541");
  Quarter(*InList("222-222-222 22"), "27-2", 1, "2290000А-17541");
  // The List also has the IS kind for those dates.
  Quarter(*IS("333-333-333 33"), "27-1", 1, "1010100А-13790");
  auto listBoth = InList("333-333-333 33");
  Quarter(*listBoth, "27-1", 1, "1010100А-13790");
  Quarter(*listBoth, "27-2", 1, "2290000А-17541");
  // Other dates: no basis finding, only unpaired periods.
  AddPeriod(*IS("444-444-444 44"), D(2021, 1, 1), D(2021, 1, 31), {"27-1"});
  AddPeriod(*InList("444-444-444 44"), D(2021, 1, 1), D(2021, 1, 30), {"27-2"});
  Verify();

  EXPECT_EQ(ErrorRows<TBasisErrors>(),
            (TRows{{"7", "1", "111-111-111 11", "ИВАНОВ П.С.", "01.01.2021 - 31.03.2021", "27-1", "1010100А-13790",
                    "", "", "", "27-2", "2290000А-17541", "", ""}}));
  TRows unpairedIS;
  for (const auto& row : ErrorRows<TPeriodErrors_IS>()) unpairedIS.push_back({row[2], row[4]});
  EXPECT_EQ(unpairedIS, (TRows{{"111-111-111 11", "27-1"},
                               {"222-222-222 22", "27-1"},
                               {"444-444-444 44", "27-1"}}));
  TRows unpairedList;
  for (const auto& row : ErrorRows<TPeriodErrors_List>()) unpairedList.push_back({row[1], row[3]});
  EXPECT_EQ(unpairedList, (TRows{{"111-111-111 11", "27-2"},
                                 {"333-333-333 33", "27-2"},
                                 {"444-444-444 44", "27-2"}}));
}

TEST_F(NameListChecksTest, SeniorityBasesDifferUnlessTheISPeriodIsNoPreferentialWork) {
  Quarter(*IS("111-111-111 11"), "27-1")->SetSeniorityBase("СЕЗОН");
  Quarter(*InList("111-111-111 11"), "27-1");
  auto leave = Quarter(*IS("222-222-222 22"), "27-1");
  leave->SetSeniorityBase("СЕЗОН");
  leave->AddPdData.Set("ДЕКРЕТ");
  Quarter(*InList("222-222-222 22"), "27-1");
  Verify();

  EXPECT_EQ(ErrorRows<TWorkDaysBasisErrors>(),
            (TRows{{"7", "1", "111-111-111 11", "ИВАНОВ П.С.", "27-1", "", "СЕЗОН", ""}}));
  EXPECT_EQ(Names(fVerification->FErrorResults), (std::vector<std::string>{"TWorkDaysBasisErrors"}));
}

// Every table of both checks at once: the person tables in the order of
// their check, the List persons the IS lacks, then the period tables in theirs.
TEST_F(NameListChecksTest, TablesFollowTheOrderOfTheirChecks) {
  auto principal = IS("111-111-111 11", "Иванов");
  auto p = Quarter(*principal, "27-ПДРК", 0.75);
  p->PDRKHours = 1;
  p->Months = "1";
  Quarter(*InList("111-111-111 11"), "27-ПДРК", 0)->Days = "3";
  auto teacher = IS("222-222-222 22");
  auto t = Quarter(*teacher, "27-ПД", 2.5);
  t->PDRKHours = 1;
  t->SetSeniorityBase("СЕЗОН");
  auto q = Quarter(*InList("222-222-222 22"), "27-ПД", 0.5);
  q->Months = "2";
  AddPeriod(*IS("333-333-333 33"), D(2021, 1, 1), D(2021, 1, 31), {"27-1"});
  Quarter(*InList("444-444-444 44"), "27-1");
  auto kinds = IS("555-555-555 55");
  Quarter(*kinds, "27-1")->Months = "1";
  AddPeriod(*kinds, D(2021, 4, 1), D(2021, 6, 30), {"27-2"});
  auto other = InList("555-555-555 55");
  Quarter(*other, "27-1");
  AddPeriod(*other, D(2021, 4, 1), D(2021, 6, 30), {"27-3"});
  Verify();

  EXPECT_EQ(Names(fVerification->FErrorResults),
            (std::vector<std::string>{"TPrincipalErrors", "TFullNameErrors", "TPdInsNumErrors", "TSNErrors_List",
                                      "TBasisErrors", "TPeriodErrors_IS", "TPeriodErrors_List", "TRateErrors",
                                      "TFactWorkTimeErrors", "TFactWorkTimeErrors_List", "TFactWorkTimeErrors_IS",
                                      "TWorkDaysBasisErrors", "TRateTooHighErrors", "TNoRateErrors"}));
  EXPECT_EQ(Names(fVerification->fWarningResults),
            (std::vector<std::string>{"TTeacherWarnings", "TStavkaWarnings"}));
}

TEST_F(NameListChecksTest, WithCorrectivePacksOnlyOnlyThePersonsAreCompared) {
  fVerification->fCorrPacksOnly = true;
  Quarter(*IS("111-111-111 11"), "27-ПД", 0.5);
  Quarter(*InList("111-111-111 11"), "27-ПД", 1);
  Quarter(*InList("222-222-222 22"), "27-1");
  Quarter(*IS("333-333-333 33"), "27-1");
  Verify();
  EXPECT_EQ(Names(fVerification->FErrorResults), (std::vector<std::string>{"TPdInsNumErrors"}));
}

}  // namespace
}  // namespace morvel
