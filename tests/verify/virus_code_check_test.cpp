#include <gtest/gtest.h>

#include "results/check_results.h"
#include "verify_fixtures.h"

namespace morvel {
namespace {

using test::Find;
using test::Printed;

const char* const kWindow = "Код \"ВИРУС\" проставляется для периодов работы с 01.01.2020 до 30.09.2020";
const char* const kBases = "Код \"ВИРУС\" должен сочетаться с кодами 27-1/27-2 или 27-ГД/27-ГДХР/27-СМ/27-СМХР";

// The ВИРУС code on the List's periods; it runs whatever the switches say.
class VirusCodeCheckTest : public test::VerifyTest {
 protected:
  VirusCodeCheckTest() {
    fList = List();
    fList->fYear = 2020;
    fList->fPeriod = 4;
  }

  std::shared_ptr<TWorkPeriod> AddListPeriod(TWorker& person, TDate start, TDate finish,
                                             const std::vector<std::string>& bases, const std::string& seniority) {
    auto period = AddPeriod(person, start, finish, bases);
    period->SetSeniorityBase(seniority);
    return period;
  }

  std::shared_ptr<TWorker> AddListPerson(const std::string& sn) {
    fList->fWorkers.push_back(Person(sn, "", ""));
    fList->fWorkers.back()->SubNum = "3";
    return fList->fWorkers.back();
  }

  // (start of the period, culprit) of every record, in order.
  std::vector<std::pair<TDate, std::string>> Records() const {
    std::vector<std::pair<TDate, std::string>> records;
    if (auto* table = Find<TBeerusErrors>(fVerification.FErrorResults)) {
      for (const auto& record : table->Records()) {
        records.emplace_back(record->FWorkPeriod_List->Start, static_cast<TBeerusError&>(*record).FCulprit);
      }
    }
    return records;
  }

  void Verify() { fVerification.verify(fList.get(), {}, 2020, 4); }

  std::unique_ptr<TTheList> fList;
  TVerification fVerification;
};

TEST_F(VirusCodeCheckTest, WindowAndCompanionBasesEachJudgedOnTheirOwn) {
  auto person = AddListPerson("111-111-111 11");
  // Inside the window, with 27-1: fine.
  AddListPeriod(*person, D(2020, 3, 15), D(2020, 6, 30), {"27-1"}, "ВИРУС");
  // After the window, with 27-СМ: the window only.
  AddListPeriod(*person, D(2020, 10, 1), D(2020, 12, 31), {"27-СМ"}, "ВИРУС");
  auto other = AddListPerson("222-222-222 22");
  // Before the window and with 27-ПД: both.
  AddListPeriod(*other, D(2019, 12, 1), D(2020, 3, 31), {"27-ПД"}, "ВИРУС");
  // The window's own ends are inside it.
  AddListPeriod(*other, D(2020, 1, 1), D(2020, 9, 30), {"27-ГДХР"}, "ВИРУС");
  Verify();
  EXPECT_EQ(Records(), (std::vector<std::pair<TDate, std::string>>{{D(2020, 10, 1), kWindow},
                                                                   {D(2019, 12, 1), kWindow},
                                                                   {D(2019, 12, 1), kBases}}));
}

TEST_F(VirusCodeCheckTest, OnlyTheExactCodeOfTheListIsExamined) {
  auto person = AddListPerson("111-111-111 11");
  // A text that merely holds the code is another basis.
  AddListPeriod(*person, D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"}, "ВИРУС2");
  AddListPeriod(*person, D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"}, "СЕЗОН");
  // A missing date is not tested; the bases still are.
  AddListPeriod(*person, -1, -1, {"27-ПД"}, "ВИРУС");
  // Periods of the individual records are never examined.
  auto is = Person("111-111-111 11");
  AddListPeriod(*is, D(2021, 1, 1), D(2021, 3, 31), {"27-ПД"}, "ВИРУС");
  fVerification.verify(fList.get(), {is}, 2020, 4);
  EXPECT_EQ(Records(), (std::vector<std::pair<TDate, std::string>>{{-1, kBases}}));
}

TEST_F(VirusCodeCheckTest, NoTableWithoutFindings) {
  AddListPeriod(*AddListPerson("1"), D(2020, 4, 1), D(2020, 4, 30), {"27-2"}, "ВИРУС");
  Verify();
  EXPECT_EQ(Find<TBeerusErrors>(fVerification.FErrorResults), nullptr);
}

// The table as the protocol prints it, written out from its chapter, title,
// two header rows and the row's cells.
TEST_F(VirusCodeCheckTest, ErrorTableHtml) {
  auto person = AddListPerson("333-333-333 33");
  person->Surname = "ЛЕБЕДЕВ";
  person->Name = "ЮРИЙ";
  person->Patronymic = "ИЛЬИЧ";
  auto period = AddListPeriod(*person, D(2020, 10, 1), D(2020, 10, 31), {"27-ГД"}, "ВИРУС");
  period->ProfessionCode = "<код>";
  period->Rate = 0.5;
  period->Months = "1";
  Verify();
  auto* table = Find<TBeerusErrors>(fVerification.FErrorResults);
  ASSERT_NE(table, nullptr);
  const std::string expected =
      "<h3 style=\"text-align:center\">1. Проверки перечня</h3>\n"
      "<b>Таблица 1.1 Несоответствия по коду ВИРУС</b><br/>\n"
      "<table id=\"TBeerusErrors\" width=\"100%\" border=\"1\">\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n"
      " <td colspan=\"\"  rowspan=\"2\">№ подразделения в Перечне</td>\n"
      " <td colspan=\"\"  rowspan=\"2\">Страховое свидетельство</td>\n"
      " <td colspan=\"\"  rowspan=\"2\">ФИО</td>\n"
      " <td colspan=\"2\"  rowspan=\"\">Особые условия труда</td>\n"
      " <td colspan=\"5\"  rowspan=\"\">Период в Перечне</td>\n"
      " <td colspan=\"\"  rowspan=\"2\">Ошибка</td>\n"
      " </tr>\n"
      " <tr style=\"text-align:center;font-weight:bold\">\n"
      " <td colspan=\"\"  rowspan=\"\">Льгота</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Код позиции списка</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Дата начала периода</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Дата конца периода</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Ставка</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Фактически отработано</td>\n"
      " <td colspan=\"\"  rowspan=\"\">Основание исчисления стажа</td>\n"
      " </tr>\n"
      "<tr>\n"
      "<td>3</td>\n"
      "<td>333-333-333 33</td>\n"
      "<td>ЛЕБЕДЕВ Ю.И.</td>\n"
      "<td>27-ГД</td>\n"
      "<td>&lt;код&gt;</td>\n"
      "<td>01.10.2020</td>\n"
      "<td>31.10.2020</td>\n"
      "<td>0.5</td>\n"
      "<td>1 мес. </td>\n"
      "<td>ВИРУС</td>\n"
      "<td>Код \"ВИРУС\" проставляется для периодов работы с 01.01.2020 до 30.09.2020</td>\n"
      "</tr>\n"
      "</table>\n"
      "<div style=\"color: red\"><b>ИТОГО ОШИБОК: 1</b></div><br/>\n";
  EXPECT_EQ(Printed(*table), expected);
}

}  // namespace
}  // namespace morvel
