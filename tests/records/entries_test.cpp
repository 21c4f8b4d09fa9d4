// The entry-by-entry decisions of the reader: what makes a period preferential,
// when an entry becomes a period of its own, the warnings the entries raise,
// the ЕФС-1 blocks, the additional-tariff payments and the persons or periods
// that cannot be read.

#include "records_fixture.h"

#include "base/dates.h"

namespace morvel {
namespace {

using test::TBlockSpec;
using test::TEfsPersonSpec;
using test::TEntrySpec;
using test::TPeriodSpec;
using test::TPersonSpec;

TEntrySpec Out(const std::string& code, const std::string& position = "") {
  TEntrySpec e;
  e.out = code;
  e.position = position;
  return e;
}
TEntrySpec Vl(const std::string& basis, const std::string& rate = "") {
  TEntrySpec e;
  e.vl = basis;
  e.rate = rate;
  return e;
}

const TPeriodSpec kSpring{"2019-03-01", "2019-05-31", {}};

class EntriesTest : public test::RecordsTest {
 protected:
  // The pack of one person with the given periods.
  TRead One(const std::vector<TPeriodSpec>& periods, const std::string& snils = "123-456-789 01") {
    TPersonSpec person;
    person.snils = snils;
    person.periods = periods;
    return ReadXml(test::StazhDocument({person}));
  }
  static TPeriodSpec Spring(std::vector<TEntrySpec> entries) {
    TPeriodSpec p = kSpring;
    p.entries = std::move(entries);
    return p;
  }
};

TEST_F(EntriesTest, LongServiceBasisMakesAPreferentialPerson) {
  auto r = One({Spring({Vl("27-ПД", "1")})});
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 1u);
  const TWorker& w = *r.pack->Workers[0];
  ASSERT_EQ(w.WorkPeriods.size(), 1u);
  const TWorkPeriod& p = *w.WorkPeriods[0];
  EXPECT_EQ(p.Bases.DelimitedText(), "27-ПД");
  EXPECT_EQ(p.Start, EncodeDate(2019, 3, 1));
  EXPECT_EQ(p.Finish, EncodeDate(2019, 5, 31));
  EXPECT_EQ(p.PackNum, r.pack->FPackNum);
  EXPECT_EQ(p.NumInPack, "1");
  EXPECT_EQ(p.Period, 4);
  EXPECT_TRUE(w.HasLgotBasis);
  EXPECT_TRUE(r.pack->HasLgot);
  EXPECT_EQ(r.pack->FLgotWorkerCount, 1);
  // 27-ПД alone counts its hours in the period; no warning about flight work.
  EXPECT_EQ(r.pack->FlightWarnings->Count(), 0);
  EXPECT_EQ(r.pack->PDRKWarnings->Count(), 0);
  EXPECT_NE(LogText().find(" ---необходимо обработать 1 сведений (прочитать данные о человеке, периоды работы)\r\n"),
            std::string::npos);
}

TEST_F(EntriesTest, CountrysideAloneIsPreferentialOtherworkIsNot) {
  TEntrySpec village;
  village.tu = "СЕЛО";
  TEntrySpec children;
  children.addPd = "ДЕТИ";
  auto r = One({Spring({village}), TPeriodSpec{"2019-06-01", "2019-06-30", {children}}});
  ASSERT_TRUE(r.pack);
  const TWorker& w = *r.pack->Workers[0];
  ASSERT_EQ(w.WorkPeriods.size(), 1u);  // the June period is not preferential
  EXPECT_EQ(w.WorkPeriods[0]->TerritoryCondition, "СЕЛО");
  EXPECT_TRUE(w.WorkPeriods[0]->Bases.Empty());
  EXPECT_TRUE(w.HasLgotBasis);
  ASSERT_EQ(r.pack->FTerrCodes.size(), 1u);
  EXPECT_EQ(r.pack->FTerrCodes[0]->FWorkPeriod_PD, w.WorkPeriods[0]);
  EXPECT_FALSE(r.pack->FTerrCodes[0]->FUcpNodeData.IsEmpty());
  // The child-care leave outside preferential work is shown with its dates as ОТС.
  ASSERT_EQ(r.pack->AddPdDataWarnings->Count(), 1);
  const auto& warning = dynamic_cast<const TAddPdDataWarning&>(r.pack->AddPdDataWarnings->GetRecord(0));
  EXPECT_EQ(warning.FOTSPeriod, "01.06.2019 - 30.06.2019 (ОТС)");
  EXPECT_EQ(warning.FChildren, "01.06.2019 - 30.06.2019 (ДЕТИ)");
}

TEST_F(EntriesTest, WithoutPreferentialWorkNoAdditionalDataIsKept) {
  TEntrySpec children;
  children.addPd = "ДЕТИ";
  auto r = One({Spring({children})});
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 1u);
  EXPECT_TRUE(r.pack->Workers[0]->WorkPeriods.empty());
  EXPECT_FALSE(r.pack->Workers[0]->HasLgotBasis);
  EXPECT_FALSE(r.pack->HasLgot);
  EXPECT_EQ(r.pack->FLgotWorkerCount, 0);
  EXPECT_EQ(r.pack->AddPdDataWarnings->Count(), 0);
}

TEST_F(EntriesTest, PositionsOfTheListSplitOrMerge) {
  // The same ОУТ at two positions: two periods with the same dates.
  auto split = One({Spring({Out("27-1", "1010100а-13790"), Out("27-1", "1010200а-17541")})});
  ASSERT_TRUE(split.pack);
  const TWorker& w = *split.pack->Workers[0];
  ASSERT_EQ(w.WorkPeriods.size(), 2u);
  EXPECT_EQ(w.WorkPeriods[0]->ProfessionCode, "1010200А-17541");  // the split-off one is given first
  EXPECT_EQ(w.WorkPeriods[1]->ProfessionCode, "1010100А-13790");
  for (const auto& p : w.WorkPeriods) {
    EXPECT_EQ(p->Bases.DelimitedText(), "27-1");
    EXPECT_EQ(p->Start, EncodeDate(2019, 3, 1));
    EXPECT_EQ(p->Finish, EncodeDate(2019, 5, 31));
    EXPECT_EQ(p->NumInPack, "1");
  }
  EXPECT_EQ(w.WorkPeriods[0]->PackDate, "2020-02-10");
  EXPECT_EQ(split.pack->FLgotWorkerCount, 1);

  // At the same position they are one period holding the code once.
  auto merged = One({Spring({Out("27-1", "1010100а-13790"), Out("27-1", "1010100а-13790")})});
  ASSERT_TRUE(merged.pack);
  ASSERT_EQ(merged.pack->Workers[0]->WorkPeriods.size(), 1u);
  EXPECT_EQ(merged.pack->Workers[0]->WorkPeriods[0]->Bases.DelimitedText(), "27-1");

  // Another ОУТ at no position of its own joins the period's bases.
  auto joined = One({Spring({Out("27-1", "1010100а-13790"), Out("27-2")})});
  ASSERT_EQ(joined.pack->Workers[0]->WorkPeriods.size(), 1u);
  EXPECT_EQ(joined.pack->Workers[0]->WorkPeriods[0]->Bases.DelimitedText(), "27-1,27-2");
}

TEST_F(EntriesTest, MedicalBasesAreCountedApart) {
  auto two = One({Spring({Vl("27-ГД", "0.5"), Vl("27-СМ", "0.25")})});
  ASSERT_TRUE(two.pack);
  const TWorker& w = *two.pack->Workers[0];
  ASSERT_EQ(w.WorkPeriods.size(), 2u);
  EXPECT_EQ(w.WorkPeriods[0]->Bases.DelimitedText(), "27-СМ");
  EXPECT_DOUBLE_EQ(w.WorkPeriods[0]->Rate, 0.25);
  EXPECT_EQ(w.WorkPeriods[0]->Year, 0);
  EXPECT_TRUE(w.WorkPeriods[0]->PackDate.empty());
  EXPECT_EQ(w.WorkPeriods[1]->Bases.DelimitedText(), "27-ГД");
  EXPECT_DOUBLE_EQ(w.WorkPeriods[1]->Rate, 0.5);

  // The same basis twice is work at two rates.
  auto sum = One({Spring({Vl("27-ГД", "0.5"), Vl("27-ГД", "0.25")})});
  ASSERT_EQ(sum.pack->Workers[0]->WorkPeriods.size(), 1u);
  EXPECT_DOUBLE_EQ(sum.pack->Workers[0]->WorkPeriods[0]->Rate, 0.75);
  EXPECT_EQ(sum.pack->Workers[0]->WorkPeriods[0]->Bases.DelimitedText(), "27-ГД");
}

TEST_F(EntriesTest, MergingKeepsTheWorkedTimeOfTheFirstEntry) {
  TEntrySpec calendar = Vl("27-15", "1");
  calendar.months = "2";
  calendar.days = "15";
  TEntrySpec leave;
  leave.addPd = "ВРНЕТРУД";
  auto r = One({Spring({calendar, leave})});
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers[0]->WorkPeriods.size(), 1u);
  const TWorkPeriod& p = *r.pack->Workers[0]->WorkPeriods[0];
  EXPECT_EQ(p.Months, "2");
  EXPECT_EQ(p.Days, "15");
  EXPECT_FALSE(p.FactNodeData.IsEmpty());
  EXPECT_TRUE(p.AddPdData.ValueByName("ВРНЕТРУД"));
  EXPECT_DOUBLE_EQ(p.Rate, 1);
}

TEST_F(EntriesTest, HoursOfFlightTeachingAndJumps) {
  TEntrySpec noHours = Vl("27-ПДРК", "1");
  noHours.hours = "0";
  noHours.minutes = "0";
  TEntrySpec withHours = Vl("27-ПДРК", "1");
  withHours.hours = "5";
  withHours.minutes = "30";
  TEntrySpec teaching = Vl("27-ПД", "1");
  teaching.hours = "0";
  TEntrySpec plane = Vl("САМОЛЕТ", "0.5");
  plane.hours = "120";
  plane.minutes = "45";
  TEntrySpec jumps = Vl("РЕАКТИВН", "1");
  jumps.hours = "14";
  jumps.minutes = "20";
  auto r = One({TPeriodSpec{"2019-01-01", "2019-01-31", {noHours}}, TPeriodSpec{"2019-02-01", "2019-02-28", {withHours}},
                TPeriodSpec{"2019-03-01", "2019-03-31", {teaching}}, TPeriodSpec{"2019-04-01", "2019-04-30", {plane}},
                TPeriodSpec{"2019-05-01", "2019-05-31", {jumps}}});
  ASSERT_TRUE(r.pack);
  const auto& periods = r.pack->Workers[0]->WorkPeriods;
  ASSERT_EQ(periods.size(), 5u);

  ASSERT_EQ(r.pack->PDRKWarnings->Count(), 1);
  EXPECT_EQ(r.pack->PDRKWarnings->GetRecord(0).FWorkPeriod_PD, periods[0]);
  EXPECT_DOUBLE_EQ(periods[1]->PDRKHours, 5);
  EXPECT_DOUBLE_EQ(periods[1]->PDRKMinutes, 30);
  EXPECT_FALSE(periods[1]->PDRKHoursNodeData.IsEmpty());
  EXPECT_EQ(periods[1]->Hours, "0");

  ASSERT_EQ(r.pack->FlightWarnings->Count(), 1);
  EXPECT_EQ(r.pack->FlightWarnings->GetRecord(0).FWorkPeriod_PD, periods[3]);
  EXPECT_EQ(periods[3]->Hours, "120");
  EXPECT_EQ(periods[3]->Minutes, "45");
  EXPECT_DOUBLE_EQ(periods[3]->Rate, 1);  // flight work counts at a full rate

  ASSERT_EQ(r.pack->JumpWarnings->Count(), 1);
  EXPECT_EQ(r.pack->JumpWarnings->GetRecord(0).FWorkPeriod_PD, periods[4]);
  EXPECT_EQ(periods[4]->Hours, "14");
  EXPECT_DOUBLE_EQ(periods[4]->PDRKMinutes, 20);
  EXPECT_EQ(periods[4]->Minutes, "0");
}

TEST_F(EntriesTest, HoursThatAreNoNumberFailThePeriod) {
  TEntrySpec bad = Vl("27-ПДРК", "1");
  bad.hours = "пять";
  auto r = One({Spring({bad}), TPeriodSpec{"2019-06-01", "2019-06-30", {Vl("27-ПД")}}});
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 1u);
  ASSERT_EQ(r.pack->Workers[0]->WorkPeriods.size(), 1u);
  EXPECT_EQ(r.pack->Workers[0]->WorkPeriods[0]->Start, EncodeDate(2019, 6, 1));
  ASSERT_EQ(r.pack->FPackErrors.size(), 1u);
  EXPECT_EQ(r.pack->FPackErrors[0]->FMessage.rfind("Ошибка при разборе данных работника 123-456-789 01 в файле ", 0), 0u);
}

TEST_F(EntriesTest, PartTimeRatesOfTheClassifier) {
  // Warning entry 27-2;2260000А-1754Б;27-ГД of the shipped classifier.
  auto warned = One({Spring({[] {
    TEntrySpec e = Vl("27-ГД", "0.5");
    e.out = "27-2";
    e.position = "2260000а-1754б";
    return e;
  }()})});
  ASSERT_TRUE(warned.pack);
  EXPECT_EQ(warned.pack->PartTimeWarnings->Count(), 1);
  EXPECT_EQ(warned.pack->PartTimeErrors->Count(), 0);
  const auto& result = dynamic_cast<const TPartTimeResult&>(warned.pack->PartTimeWarnings->GetRecord(0));
  EXPECT_EQ(result.FLgotBasis, "27-2");
  EXPECT_EQ(result.fRetirementBasis, "27-ГД");

  auto full = One({Spring({[] {
    TEntrySpec e = Vl("27-ГД", "1");
    e.out = "27-2";
    e.position = "2260000а-1754б";
    return e;
  }()})});
  EXPECT_EQ(full.pack->PartTimeWarnings->Count(), 0);

  // Error entry 0;27-1;12300000-20426;27-ГД: a part rate is an error, no stated
  // rate passes.
  EXPECT_EQ(CheckPartTime("27-1", "12300000-20426", "27-ГД", 0.5), 2);
  EXPECT_EQ(CheckPartTime("27-1", "12300000-20426", "27-ГД", 0), 0);
  EXPECT_EQ(CheckPartTime("27-1", "12300000-20426", "27-ГД", 1), 0);
  EXPECT_EQ(CheckPartTime("27-1", "", "27-СМ", 0.5), 2);  // no position: the codes alone decide
  EXPECT_EQ(CheckPartTime("", "12300000-20426", "27-ГД", 0.5), 0);
  EXPECT_EQ(CheckPartTime("27-2", "2260000А-1754Б", "27-СМ", 0.75), 1);
  EXPECT_EQ(CheckPartTime("27-2", "99999999", "27-СМ", 0.75), 0);
}

TEST_F(EntriesTest, UnknownAdditionalDataCodeIsReported) {
  TEntrySpec odd = Vl("27-ПД", "1");
  odd.addPd = "ОТПУСК&lt;2&gt;";
  auto r = One({Spring({odd})}, "111-111-111-11");
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->FPackErrors.size(), 1u);
  EXPECT_EQ(r.pack->FPackErrors[0]->FMessage,
            "Код дополнительных данных ИС \"ОТПУСК&lt;2&gt;\" в периоде работы [01.03.2019 - 31.05.2019] ЗЛ со СНИЛС "
            "111-111-111 11 не входит в число допустимых");
  EXPECT_TRUE(r.pack->FPackErrors[0]->IsError);
  ASSERT_EQ(r.pack->Workers[0]->WorkPeriods.size(), 1u);  // the period is still read
}

TEST_F(EntriesTest, SeasonInAnyEntryMarksThePeriod) {
  TEntrySpec season;
  season.is = "СЕЗОН";
  auto r = One({Spring({Out("27-7"), season})});
  ASSERT_TRUE(r.pack);
  const TWorkPeriod& p = *r.pack->Workers[0]->WorkPeriods[0];
  EXPECT_EQ(p.SeniorityBase(), "СЕЗОН");
  ASSERT_EQ(r.pack->AddPdDataWarnings->Count(), 1);
  const auto& warning = dynamic_cast<const TAddPdDataWarning&>(r.pack->AddPdDataWarnings->GetRecord(0));
  EXPECT_EQ(warning.FSeason, "СЕЗОН");
  EXPECT_EQ(warning.FUIK, "");
}

TEST_F(EntriesTest, InsuranceNumbers) {
  auto hyphen = One({Spring({Vl("27-ПД")})}, "123-456-789-01");
  ASSERT_TRUE(hyphen.pack);
  ASSERT_EQ(hyphen.pack->Workers.size(), 1u);
  EXPECT_EQ(hyphen.pack->Workers[0]->SN, "123-456-789 01");

  auto shortNumber = One({Spring({Vl("27-ПД")})}, "12345678901");
  ASSERT_TRUE(shortNumber.pack);
  EXPECT_TRUE(shortNumber.pack->Workers.empty());
  ASSERT_EQ(shortNumber.pack->FPackErrors.size(), 1u);
  EXPECT_EQ(shortNumber.pack->FPackErrors[0]->FMessage,
            "Ошибка при разборе блока ЗЛ в пачке № 0f0e0d0c-1111-4222-8333-444455556666. Проверьте пачку на "
            "соответствие формату (например, программой Tarvok).");
}

TEST_F(EntriesTest, BrokenPersonsAndPeriods) {
  auto r = ReadPack("broken-persons.xml");
  ASSERT_TRUE(r.pack);
  // The person without a full name and the one with a short number are dropped.
  ASSERT_EQ(r.pack->Workers.size(), 2u);
  EXPECT_EQ(r.pack->Workers[0]->SN, "111-222-333 44");
  EXPECT_EQ(r.pack->Workers[0]->NumInPack, "1");
  const TWorker& hyphen = *r.pack->Workers[1];
  EXPECT_EQ(hyphen.SN, "333-444-555 66");
  EXPECT_EQ(hyphen.NumInPack, "4");
  // Of its five periods, the one without an end, the 30th of February and the
  // one in the old date form cannot be read.
  ASSERT_EQ(hyphen.WorkPeriods.size(), 2u);
  EXPECT_EQ(hyphen.WorkPeriods[0]->Start, EncodeDate(2019, 1, 1));
  EXPECT_EQ(hyphen.WorkPeriods[1]->Start, EncodeDate(2019, 6, 1));
  const auto messages = Messages(r.pack->FPackErrors);
  const std::string block = "Ошибка при разборе блока ЗЛ в пачке № 5d1c2e3f-0a1b-4c2d-9e8f-112233445566. Проверьте "
                            "пачку на соответствие формату (например, программой Tarvok).";
  const std::string period = "Ошибка при разборе данных работника 333-444-555 66 в файле " +
                             test::TestData("packs/broken-persons.xml").string();
  EXPECT_EQ(messages, (std::vector<std::string>{block, block, period, period, period}));
  EXPECT_EQ(r.pack->FLgotWorkerCount, 2);
  const std::string log = LogText();
  EXPECT_NE(log.find("[ИНФО] "), std::string::npos);
  EXPECT_NE(log.find(" " + period + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("[ОШИБКА] "), std::string::npos);  // the exceptions themselves
}

TEST_F(EntriesTest, FileNamesInMessagesAreEscaped) {
  TPersonSpec person;
  person.periods = {TPeriodSpec{"2019-01-01", "2019-13-01", {Vl("27-ПД")}}};
  auto root = TreeOfText(test::StazhDocument({person}));
  auto header = TBaseData::TryGetBaseData(test::kRegNum, root.get(), 0, 0);
  ASSERT_TRUE(header);
  TProtocolMessageList errors;
  auto pack = TPack::TryGetPackData(root.get(), header->FPDType, errors, header, "C:\\ИС\\<А&Б>.xml");
  ASSERT_TRUE(pack);
  pack->ReadWorkers(root.get(), 0);
  ASSERT_EQ(pack->FPackErrors.size(), 1u);
  EXPECT_EQ(pack->FPackErrors[0]->FMessage,
            "Ошибка при разборе данных работника 123-456-789 01 в файле C:\\ИС\\&lt;А&amp;Б&gt;.xml");
}

// ---- ЕФС-1 --------------------------------------------------------------------

class EfsTest : public test::RecordsTest {
 protected:
  static TBlockSpec Block(const std::string& type, const std::string& year, const std::string& corrYear,
                          std::vector<TPeriodSpec> periods) {
    TBlockSpec b;
    b.type = type;
    b.year = year;
    b.corrYear = corrYear;
    b.periods = std::move(periods);
    return b;
  }
  static TPeriodSpec Year(const std::string& year, std::vector<TEntrySpec> entries) {
    return TPeriodSpec{year + "-01-01", year + "-12-31", std::move(entries)};
  }
};

TEST_F(EfsTest, BlocksOfOnePerson) {
  TEfsPersonSpec several;
  several.blocks = {Block("1", "2023", "", {Year("2023", {Out("27-2", "23200000-19756")})}),
                    Block("2", "2023", "", {Year("2023", {Out("27-1")})}),  // not a block that is read
                    Block("3", "2024", "2023", {Year("2023", {Out("27-2", "23200000-19756")})})};
  TEfsPersonSpec pensionOnly;
  pensionOnly.snils = "222-333-444 55";
  pensionOnly.blocks = {Block("2", "2023", "", {Year("2023", {Out("27-1")})})};
  TEfsPersonSpec noPeriods;
  noPeriods.snils = "333-444-555 66";
  noPeriods.blocks = {Block("1", "2024", "0", {})};
  auto r = ReadXml(test::EfsDocument({several, pensionOnly, noPeriods}));
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 2u);  // a person with no block read is no person of the pack
  const TWorker& w = *r.pack->Workers[0];
  EXPECT_TRUE(w.IsEFS1);
  EXPECT_EQ(w.Surname, "ПЕТРОВА");
  ASSERT_EQ(w.WorkPeriods.size(), 2u);
  EXPECT_EQ(w.WorkPeriods[0]->Year, 2023);
  EXPECT_EQ(w.WorkPeriods[0]->CorrYear, 2023);
  EXPECT_FALSE(w.WorkPeriods[0]->IsCorr);
  EXPECT_EQ(w.WorkPeriods[0]->GetKey(), "2023~2023");
  EXPECT_EQ(w.WorkPeriods[1]->Year, 2024);
  EXPECT_EQ(w.WorkPeriods[1]->CorrYear, 2023);
  EXPECT_TRUE(w.WorkPeriods[1]->IsCorr);
  EXPECT_TRUE(w.Periodicals.empty());
  // Entered and counted once, whatever the number of its blocks.
  EXPECT_EQ(r.pack->FLgotWorkerCount, 1);

  const TWorker& empty = *r.pack->Workers[1];
  EXPECT_TRUE(empty.WorkPeriods.empty());
  ASSERT_EQ(empty.Periodicals.size(), 1u);
  EXPECT_EQ(empty.Periodicals[0].Year, 2024);
  EXPECT_EQ(empty.Periodicals[0].CorrYear, 2024);  // a corrected year of 0 is the block's own
  EXPECT_FALSE(empty.HasLgotBasis);
}

TEST_F(EfsTest, SearchYearFiltersBlocksByTheCorrectedYear) {
  TEfsPersonSpec p;
  p.blocks = {Block("1", "2023", "", {Year("2023", {Out("27-2")})}),
              Block("3", "2023", "2022", {Year("2022", {Out("27-1")})})};
  auto r = ReadXml(test::EfsDocument({p}), 2023);
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 1u);
  ASSERT_EQ(r.pack->Workers[0]->WorkPeriods.size(), 1u);
  EXPECT_EQ(r.pack->Workers[0]->WorkPeriods[0]->Bases.DelimitedText(), "27-2");
}

TEST_F(EfsTest, SpecialAssessmentClasses) {
  auto entry = [](const std::string& sout) {
    TEntrySpec e = Out("27-2");
    e.sout = sout;
    return e;
  };
  TEfsPersonSpec p;
  p.blocks = {Block("1", "2023", "",
                    {TPeriodSpec{"2023-01-01", "2023-01-31", {entry("3.2")}},
                     TPeriodSpec{"2023-02-01", "2023-02-28", {entry("4")}},
                     TPeriodSpec{"2023-03-01", "2023-03-31", {entry("2")}},
                     TPeriodSpec{"2023-04-01", "2023-04-30", {Out("27-2")}}})};
  auto r = ReadXml(test::EfsDocument({p}));
  ASSERT_TRUE(r.pack);
  const auto& periods = r.pack->Workers[0]->WorkPeriods;
  ASSERT_EQ(periods.size(), 4u);
  EXPECT_EQ(periods[0]->WC, "В3.2");
  EXPECT_EQ(periods[1]->WC, "О4");
  EXPECT_EQ(periods[2]->WC, "2");
  EXPECT_EQ(periods[3]->WC, "");
}

TEST_F(EfsTest, SplitOffPeriodsStayInTheirYear) {
  TEfsPersonSpec p;
  p.blocks = {Block("3", "2024", "2023", {Year("2023", {Vl("27-ГД", "0.5"), Vl("27-СМ", "0.5")})})};
  auto r = ReadXml(test::EfsDocument({p}));
  ASSERT_TRUE(r.pack);
  const auto& periods = r.pack->Workers[0]->WorkPeriods;
  ASSERT_EQ(periods.size(), 2u);
  for (const auto& period : periods) {
    EXPECT_EQ(period->GetKey(), "2024~2023");
    EXPECT_TRUE(period->IsCorr);
  }
}

// ---- Additional tariff ----------------------------------------------------------------

class PaymentsTest : public test::RecordsTest {
 protected:
  static std::string Person(const std::string& periodFrom, const std::string& periodTo, const std::string& rows) {
    return "<СтраховойНомер>123-456-789 01</СтраховойНомер>\n<ФИО>\n<Фамилия>Сидоров</Фамилия>\n<Имя>Иван</Имя>\n"
           "</ФИО>\n<СтажевыйПериод>\n<ДатаНачалаПериода>" + periodFrom + "</ДатаНачалаПериода>\n<ДатаКонцаПериода>" +
           periodTo + "</ДатаКонцаПериода>\n<ЛьготныйСтаж>\n<ОсобенностиУчета>\n<ОсобыеУсловияТруда>\n"
           "<ОснованиеОУТ>27-1</ОснованиеОУТ>\n</ОсобыеУсловияТруда>\n<ПрофессияДолжность>Горнорабочий"
           "</ПрофессияДолжность>\n</ОсобенностиУчета>\n</ЛьготныйСтаж>\n</СтажевыйПериод>\n" + rows;
  }
  static std::string Row(const std::string& name, const std::string& type, const std::string& inner) {
    return "<" + name + ">\n<ТипСтроки>" + type + "</ТипСтроки>\n" + inner + "</" + name + ">\n";
  }
  static std::string Total(const std::string& name) {
    return Row(name, "ИТОГ",
               "<КодСтроки>7</КодСтроки>\n<КодСпециальнойОценкиУсловийТруда>В3.1</КодСпециальнойОценкиУсловийТруда>\n"
               "<СуммаВыплатПоДопТарифу27-1>1500.50</СуммаВыплатПоДопТарифу27-1>\n");
  }
  static std::string Month(const std::string& name, int month) {
    return Row(name, "МЕСЦ", "<Месяц>" + std::to_string(month) + "</Месяц>\n");
  }
};

TEST_F(PaymentsTest, MonthsBeforeTheTotalInASzv64) {
  const std::string row = "СуммаВыплатИвознагражденийПоДопТарифу";
  auto r = ReadXml(test::OldDocument(
      "СЗВ-6-4", 2013, "4",
      Person("01.10.2013", "30.11.2013", Month(row, 10) + Total(row)) + "<!--next-->" +
          Person("01.10.2013", "31.10.2013", Month(row, 12) + Total(row))));
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 2u);
  const TWorker& w = *r.pack->Workers[0];
  ASSERT_EQ(w.AddTariffPayments.size(), 1u);
  EXPECT_EQ(w.AddTariffPayments[0]->Base, TAddTariffBase::atb1);
  EXPECT_DOUBLE_EQ(w.AddTariffPayments[0]->Sum, 1500.5);
  EXPECT_EQ(w.AddTariffPayments[0]->WC, "В3.1");
  EXPECT_EQ(w.AddTariffPayments[0]->StringNumber, "7");
  EXPECT_FALSE(w.HasAT);
  EXPECT_EQ(w.WorkPeriods[0]->Profession, "Горнорабочий");
  // A month the person did not work in does not make the total the person's.
  EXPECT_TRUE(r.pack->Workers[1]->AddTariffPayments.empty());
}

TEST_F(PaymentsTest, TotalBeforeTheMonthsInARsv1) {
  const std::string row = "СведенияОсуммеВыплатИвознагражденийПоДопТарифу";
  auto r = ReadXml(test::OldDocument(
      "РСВ-1", 2015, "9",
      Person("01.07.2015", "30.09.2015", Total(row) + Month(row, 8) + Month(row, 9)) + "<!--next-->" +
          Person("01.07.2015", "30.09.2015", Month(row, 8) + Total(row))));
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 2u);
  ASSERT_EQ(r.pack->Workers[0]->AddTariffPayments.size(), 1u);  // moved once, at the first month
  EXPECT_EQ(r.pack->Workers[0]->PaymentsNodeData.fXPath.find("СведенияОсуммеВыплат") != std::string::npos, true);
  // Only a СЗВ-6-4 takes a total that follows its months.
  EXPECT_TRUE(r.pack->Workers[1]->AddTariffPayments.empty());
}

TEST_F(PaymentsTest, AnAmountThatIsNoNumberEndsThePaymentsOfThePerson) {
  const std::string row = "СуммаВыплатИвознагражденийПоДопТарифу";
  const std::string bad = Row(row, "ИТОГ", "<СуммаВыплатПоДопТарифу27-1>много</СуммаВыплатПоДопТарифу27-1>\n");
  auto r = ReadXml(test::OldDocument("СЗВ-6-4", 2013, "4", Person("01.10.2013", "31.12.2013", Month(row, 10) + bad)));
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 1u);  // the person stays
  EXPECT_TRUE(r.pack->Workers[0]->AddTariffPayments.empty());
  EXPECT_TRUE(r.pack->FPackErrors.empty());
}

TEST_F(PaymentsTest, OldEntriesAreReadThroughTheirDetails) {
  // An entry without ОсобенностиУчета cannot be read: its period fails.
  std::string person = Person("01.10.2013", "31.12.2013", "");
  const std::string details = "<ОсобенностиУчета>";
  person.erase(person.find(details), details.size() + 1);
  const std::string end = "</ОсобенностиУчета>\n";
  person.erase(person.find(end), end.size());
  auto r = ReadXml(test::OldDocument("СЗВ-6-1", 2013, "4", person));
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->Workers.size(), 1u);
  EXPECT_TRUE(r.pack->Workers[0]->WorkPeriods.empty());
  EXPECT_EQ(r.pack->FPackErrors.size(), 1u);
}

}  // namespace
}  // namespace morvel

namespace morvel {
namespace {

class OwnershipTest : public test::RecordsTest {};

TEST_F(OwnershipTest, TablesTakenOverOutliveThePackAndTheTree) {
  TEntrySpec plane = Vl("САМОЛЕТ", "1");
  plane.hours = "10";
  TPersonSpec person;
  person.periods = {TPeriodSpec{"2019-01-01", "2019-01-31", {plane}}};
  auto r = ReadXml(test::StazhDocument({person}));
  ASSERT_TRUE(r.pack);
  ASSERT_EQ(r.pack->FlightWarnings->Count(), 1);
  // The verification takes the tables with records; the pack keeps the rest.
  std::unique_ptr<TFlightWarnings> taken = std::move(r.pack->FlightWarnings);
  TTerrCodeDataList terr = std::move(r.pack->FTerrCodes);
  r.pack.reset();
  r.root.reset();
  TMemoryLineWriter out;
  int chapter = 0, table = 0;
  std::string name;
  taken->PrintResult(out, chapter, table, name);
  EXPECT_NE(out.Text().find("<td>123-456-789 01</td>"), std::string::npos);
  EXPECT_NE(out.Text().find("<td>10</td>"), std::string::npos);
}

}  // namespace
}  // namespace morvel
