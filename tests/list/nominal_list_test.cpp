#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "base/error.h"
#include "list/list_test_util.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;
using test::ListReaderTest;
using test::Messages;
using test::ReaderList;
using test::ReadListFile;

std::string Dates(const TWorkPeriod& p) { return p.pPeriodString(); }

class NominalListTest : public ListReaderTest {
 protected:
  void SetUp() override { fList = ReadListFile(ReaderList("nominal-lists-2020-q1.xml"), 2020, 1); }
  std::unique_ptr<TTheList> fList;
};

TEST_F(NominalListTest, PersonsArchivedPersonsAndPersonsOfTwoSubdivisions) {
  // Archived persons (isArchive and ISARCHIVE), and the one whose periods all lie
  // outside the window, are not in the List; nor is that person when met again
  // archived in the second subdivision.
  ASSERT_EQ(fList->fWorkers.size(), 3u);
  const TWorker& a = *fList->fWorkers[0];
  EXPECT_EQ(a.SN, "111-222-333 44");  // the twelfth character becomes a blank
  EXPECT_EQ(a.Surname + "|" + a.Name + "|" + a.Patronymic, "ИВАНОВ|ПЕТР|ИЛЬИЧ");
  EXPECT_EQ(a.SubNum, "1");
  EXPECT_EQ(a.NodeData.fXPath, "/Перечень/Предприятие/Подразделение[1]/ПоименныйСписок/Работник[1]");
  EXPECT_EQ(fList->FindWorker("111-222-333 44"), fList->fWorkers[0]);
  EXPECT_EQ(fList->FindWorker("111-222-333-44"), nullptr);
  EXPECT_EQ(fList->FindWorker("222-333-444 55"), nullptr);
  EXPECT_EQ(fList->FindWorker("666-777-888 99"), nullptr);
  EXPECT_EQ(fList->fWorkers[1]->SN, "444-555-666 77");
  EXPECT_EQ(fList->fWorkers[2]->SN, "555-666-777 88");

  // Clipped to 01.01-31.03.2020; the period from April and the one of December
  // are dropped, the isArchive period is passed over, the ISARCHIVE one is read;
  // the second subdivision's period joins the same person with its number.
  ASSERT_EQ(a.WorkPeriods.size(), 4u);
  EXPECT_EQ(Dates(*a.WorkPeriods[0]), "01.02.2020 - 31.03.2020");
  EXPECT_EQ(Dates(*a.WorkPeriods[1]), "01.01.2020 - 15.01.2020");
  EXPECT_EQ(Dates(*a.WorkPeriods[2]), "21.01.2020 - 31.01.2020");
  EXPECT_EQ(a.WorkPeriods[2]->Comment, "ISARCHIVE");
  EXPECT_EQ(a.WorkPeriods[3]->Bases.DelimitedText(), "27-5");
  EXPECT_EQ(a.WorkPeriods[0]->NumSub, "1");
  EXPECT_EQ(a.WorkPeriods[3]->NumSub, "2");
  EXPECT_EQ(a.WorkPeriods[0]->Rate, 1.0);  // no "Ставка"

  // Only the empty nominal list is reported, with the subdivision's name escaped.
  const std::vector<std::string> m = Messages(*fList);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], "Предупреждение. У подразделения №3, \"Пустой &lt;цех&gt; &amp; склад\" пуст поименный список");
  const auto* empty = dynamic_cast<const TNoPeopleInNameListListError*>((*fList->fParseErrors_List)[0].get());
  ASSERT_NE(empty, nullptr);
  EXPECT_FALSE(empty->IsError);
  EXPECT_EQ(empty->FNodeData->fXPath, "/Перечень/Предприятие/Подразделение[3]/ПоименныйСписок");
}

TEST_F(NominalListTest, EqualPeriodsMergeAndTheirRatesAddUp) {
  const TWorkPeriodList& p = fList->fWorkers[1]->WorkPeriods;
  ASSERT_EQ(p.size(), 5u);
  // 27-1 at 0.5 and 0.5 with one code merge; a third 27-1 with another code
  // joins them by holding the same basis.
  EXPECT_EQ(p[0]->BasesAndCode(), "27-1 (1030000А-11203)");
  EXPECT_DOUBLE_EQ(p[0]->Rate, 1.25);
  // 28-1 merges only with the same code, so the two codes stay two periods.
  EXPECT_EQ(p[1]->BasesAndCode(), "28-1 (28-1-Я)");
  EXPECT_DOUBLE_EQ(p[1]->Rate, 0.5);
  EXPECT_EQ(p[2]->BasesAndCode(), "28-1 (28-1-Ю)");
  EXPECT_DOUBLE_EQ(p[2]->Rate, 0.25);
  // A period of 27-ГДХР never takes a period of another code.
  EXPECT_EQ(p[3]->BasesAndCode(), "27-ГДХР");
  EXPECT_DOUBLE_EQ(p[3]->Rate, 0.5);
  EXPECT_EQ(p[4]->BasesAndCode(), "27-ГДХР (20000000-1)");
  EXPECT_DOUBLE_EQ(p[4]->Rate, 0.25);
}

TEST_F(NominalListTest, EveryFieldOfAPeriod) {
  const TWorkPeriodList& p = fList->fWorkers[2]->WorkPeriods;
  ASSERT_EQ(p.size(), 2u);
  const TWorkPeriod& t = *p[0];
  EXPECT_EQ(t.Comment, "совместитель");
  EXPECT_EQ(t.Note, "Учитель начальных классов");
  EXPECT_EQ(t.Profession, "Учитель");
  EXPECT_EQ(t.Bases.DelimitedText(), "27-ПД");
  EXPECT_DOUBLE_EQ(t.Rate, 1.25);
  EXPECT_EQ(t.RateNodeData.fXPath,
            "/Перечень/Предприятие/Подразделение[1]/ПоименныйСписок/Работник[5]/ПериодРаботы[1]/Ставка");
  EXPECT_EQ(t.TerritoryCondition, "мкс");  // as written
  EXPECT_EQ(t.ProfessionCode, "ПД-1");
  EXPECT_EQ(t.AddTariff, "ДТ");
  EXPECT_EQ(t.WC, "В3.2");
  EXPECT_EQ(t.SeniorityBase(), "СЕЗОН");
  EXPECT_DOUBLE_EQ(t.PDRKHours, 10.5);
  EXPECT_DOUBLE_EQ(t.PDRKMinutes, 30);
  EXPECT_EQ(t.Months + "/" + t.Days + "/" + t.Hours + "/" + t.Minutes, "2/0/0/15");
  EXPECT_EQ(t.AddPdData.ToString(), "ДЕКРЕТ");
  EXPECT_EQ(t.NodeData.fXPath, "/Перечень/Предприятие/Подразделение[1]/ПоименныйСписок/Работник[5]/ПериодРаботы[1]");
  // Teaching hours are read only for 27-ПД periods.
  EXPECT_EQ(p[1]->PDRKHours, 0);
}

TEST_F(ListReaderTest, BadPeriodsAreReportedAndDropped) {
  auto list = ReadListFile(ReaderList("invalid/bad-work-periods.xml"), 2020, 1);
  ASSERT_EQ(list->fWorkers.size(), 1u);
  ASSERT_EQ(list->fWorkers[0]->WorkPeriods.size(), 1u);
  EXPECT_EQ(Dates(*list->fWorkers[0]->WorkPeriods[0]), "01.03.2020 - 31.03.2020");
  // A rate that is no number, a comma, a missing end, a date that does not exist,
  // an end before the start, teaching hours that are no number, an infinite rate.
  const std::vector<std::string> m = Messages(*list);
  ASSERT_EQ(m.size(), 7u);
  for (std::size_t i = 0; i < m.size(); ++i) {
    EXPECT_EQ(m[i],
              "Ошибка заполнения одного из полей в периоде работы льготника из поименного списка к Перечню. "
              "О'НИЛ &lt;B&gt; ДЖОН  (123-456-789 01)")
        << i;
    const auto* bad = dynamic_cast<const TBadPeriodListError*>((*list->fParseErrors_List)[i].get());
    ASSERT_NE(bad, nullptr);
    EXPECT_TRUE(bad->IsError);
    EXPECT_EQ(bad->FNodeData->fXPath, "/Перечень/Предприятие/Подразделение/ПоименныйСписок/Работник/ПериодРаботы[" +
                                          std::to_string(i + 1) + "]");
  }
}

TEST_F(ListReaderTest, JunkIsReadWithoutFailing) {
  auto list = ReadListFile(ReaderList("invalid/junk.xml"), 2020, 1);
  EXPECT_EQ(list->fOrgName, "");
  ASSERT_EQ(list->fWorkers.size(), 1u);
  const TWorker& w = *list->fWorkers[0];
  EXPECT_EQ(w.SN, "1");
  ASSERT_EQ(w.WorkPeriods.size(), 2u);
  EXPECT_TRUE(w.WorkPeriods[0]->HasLgotSideDataOnly());  // empty basis texts are no bases
  EXPECT_EQ(w.WorkPeriods[1]->Days, "1");
  EXPECT_EQ(w.WorkPeriods[1]->Months, "0");
  EXPECT_FALSE(w.WorkPeriods[1]->AddPdData.HasData());
  ASSERT_EQ(list->fPositions.size(), 1u);
  const std::vector<std::string> m = Messages(*list);
  ASSERT_EQ(m.size(), 4u);  // the blank rate, two staff counts that are no number, one subdivision without list
  EXPECT_EQ(m[3], "Предупреждение. Нет поименных списков в 1 подразделениях из 2 подразделений Перечня.");
}

// Every prefix of the Lists, as a file that broke off would give it, and random
// byte damage: the reader either reads what is there or raises its own error.
TEST_F(ListReaderTest, BrokenFilesNeverCrashTheReader) {
  std::mt19937 random(20200401);
  test::TempDir dir;
  for (const fs::directory_entry& entry : fs::directory_iterator(test::TestData("lists/reader"))) {
    if (!entry.is_regular_file()) continue;
    const std::string bytes = test::ReadFile(entry.path());
    for (int round = 0; round < 60; ++round) {
      std::string damaged = bytes.substr(0, random() % bytes.size());
      if (round % 2 == 1) {
        damaged = bytes;
        for (int k = 0; k < 8; ++k) damaged[random() % damaged.size()] = "<>\"&/=0.,- "[random() % 11];
      }
      test::WriteFile(dir / "l.xml", damaged);
      TMyTree root = LoadXMLTree((dir / "l.xml").string());
      TTheList list;
      list.fYear = 2020;
      list.fPeriod = 2;
      try {
        list.readStaff(2020, 2, root.get());
      } catch (const EMorvelError&) {
      }
    }
  }
}

TEST(ListReaderFiles, EveryValidFileMatchesTheSchema) {
  const fs::path xmllint = test::FindXmllint();
  if (xmllint.empty()) GTEST_SKIP() << "xmllint is not installed";
  const fs::path schema = fs::path(MORVEL_SOURCE_DIR) / "data" / "perech-vlmr.xsd";
  int files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(test::TestData("lists/reader"))) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const test::ProcessResult result =
        test::RunProcess(xmllint, {"--noout", "--nonet", "--schema", schema.string(), entry.path().string()});
    EXPECT_EQ(result.exitCode, 0) << entry.path() << "\n" << result.output;
  }
  EXPECT_GE(files, 4);
}

}  // namespace
}  // namespace morvel
