// Persons, periods, positions and Lists for the tests of the verification.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/dates.h"
#include "config/classifiers.h"
#include "list/the_list.h"
#include "results/table_result.h"
#include "verify/verification.h"

namespace morvel::test {

// Installs the additional-data classifier with validity dates: "СТАРКОД" ended
// before 2021, "НОВКОД" starts in 2030, "КРИВКОД" has a date that is no date.
class VerifyTest : public ::testing::Test {
 protected:
  VerifyTest() {
    fClassifiers.Add(TClassifierType::ctAddPdData,
                     {"ДЕКРЕТ", "ДЕТИ", "ВРНЕТРУД", "СТАРКОД", "НОВКОД", "КРИВКОД", "ДОГОВОР"});
    fClassifiers.Add(TClassifierType::ctAddPdDataStartDates, {"", "", "", "", "01.01.2030", "", ""});
    fClassifiers.Add(TClassifierType::ctAddPdDataEndDates, {"", "", "", "31.12.2015", "", "32.13.2015", ""});
  }

  static TDate D(int y, int m, int d) { return EncodeDate(y, m, d); }

  static std::shared_ptr<TWorker> Person(const std::string& sn, const std::string& packNum = "7",
                                         const std::string& numInPack = "1", const std::string& surname = "ИВАНОВ") {
    auto w = std::make_shared<TWorker>();
    w->PackNum = packNum;
    w->NumInPack = numInPack;
    w->SN = sn;
    w->Surname = surname;
    w->Name = "ПЕТР";
    w->Patronymic = "СЕРГЕЕВИЧ";
    return w;
  }

  // A period added to the person's periods as read.
  static std::shared_ptr<TWorkPeriod> AddPeriod(TWorker& w, TDate start, TDate finish,
                                                const std::vector<std::string>& bases = {},
                                                const std::string& code = "", double rate = 1.0) {
    auto p = std::make_shared<TWorkPeriod>();
    p->Start = start;
    p->Finish = finish;
    for (const std::string& b : bases) p->Bases.Add(b);
    p->ProfessionCode = code;
    p->Rate = rate;
    w.WorkPeriods.push_back(p);
    return p;
  }

  static std::shared_ptr<TPosition> AddPosition(TTheList& list, const std::string& basis, const std::string& code,
                                                double days, double units = 1) {
    auto p = std::make_shared<TPosition>();
    p->Bases.Add(basis);
    p->fProfessionCode = code;
    p->fWorkingDays = days;
    p->fQuantityByPositions = units;
    list.fPositions.push_back(p);
    return p;
  }

  // A List of the first quarter of 2021.
  static std::unique_ptr<TTheList> List() {
    auto list = std::make_unique<TTheList>();
    list->fYear = 2021;
    list->fPeriod = 1;
    list->fFileName = "perech.xml";
    return list;
  }

  TClassifiers fClassifiers;
  TClassifiersScope fScope{fClassifiers};
};

// The class names of the results, in list order; one-message results by their
// message.
inline std::vector<std::string> Names(const TResultList& results) {
  std::vector<std::string> names;
  for (const auto& r : results) {
    if (auto* table = dynamic_cast<const TTableResult*>(r.get())) {
      names.push_back(table->ClassName());
    } else if (auto* message = dynamic_cast<const TOneMessageResult*>(r.get())) {
      names.push_back(message->FMessage);
    }
  }
  return names;
}

template <typename Table>
Table* Find(const TResultList& results) {
  for (const auto& r : results) {
    if (auto* t = dynamic_cast<Table*>(r.get())) return t;
  }
  return nullptr;
}

inline std::string Printed(TResult& result) {
  TMemoryLineWriter w;
  int chapter = 0, table = 0;
  std::string name;
  result.PrintResult(w, chapter, table, name);
  return w.Text();
}

}  // namespace morvel::test
