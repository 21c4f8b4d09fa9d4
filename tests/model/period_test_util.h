// Periods and persons for the division and merging tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/text.h"
#include "config/classifiers.h"
#include "model/worker.h"

namespace morvel::test {

using TPeriodPtr = std::shared_ptr<TWorkPeriod>;

inline TDate Day(int day, int month, int year = 2021) { return EncodeDate(year, month, day); }

// A period of basis 27-1 whose five locations all stand on line `line`.
inline TPeriodPtr Period(TDate start, TDate finish, double rate, int line = 0, const std::string& bases = "27-1") {
  auto p = std::make_shared<TWorkPeriod>();
  p->Bases.SetDelimitedText(bases);
  p->Start = start;
  p->Finish = finish;
  p->Rate = rate;
  for (TNodeData* location :
       {&p->RateNodeData, &p->NodeData, &p->FactNodeData, &p->SeniorityNodeData, &p->PDRKHoursNodeData}) {
    location->fLine = line;
  }
  return p;
}

// Dates, rate and the line of the locations, e.g. "01.01.2021 - 31.01.2021 x0.5 @1";
// the line is "@?" when the five locations do not agree.
inline std::string Describe(const TWorkPeriod& p) {
  const int line = p.RateNodeData.fLine;
  bool same = true;
  for (const TNodeData* location : {&p.NodeData, &p.FactNodeData, &p.SeniorityNodeData, &p.PDRKHoursNodeData}) {
    same = same && location->fLine == line;
  }
  return p.pPeriodString() + " x" + FloatToStr(p.Rate) + (same ? " @" + IntToStr(line) : " @?");
}

inline std::vector<std::string> Describe(const TWorkPeriodList& periods) {
  std::vector<std::string> out;
  for (const auto& p : periods) out.push_back(Describe(*p));
  return out;
}

inline std::shared_ptr<TWorker> Person(std::vector<TPeriodPtr> periods, const std::string& sn = "111-222-333 44") {
  auto w = std::make_shared<TWorker>();
  w->SN = sn;
  w->Surname = "ПЕТРОВ";
  w->Name = "ИВАН";
  w->WorkPeriods = std::move(periods);
  return w;
}

// Remembers every overlap reported, as "first / second".
class TRecordingSink : public TCrossingSink {
 public:
  void CrossingFound(const TWorker& worker, const TWorkPeriod& first, const TWorkPeriod& second) override {
    reports.push_back(worker.SN + ": " + first.pPeriodString() + " / " + second.pPeriodString());
  }
  std::vector<std::string> reports;
};

// The additional-data codes the tests set, the eight that excuse an overlap
// among them.
class PeriodTest : public ::testing::Test {
 protected:
  PeriodTest() {
    c.Add(TClassifierType::ctAddPdData,
          {"ДЕКРЕТ", "ДЕТИ", "ДОГОВОР", "НЕОПЛДОГ", "НЕОПЛАВТ", "ЗГДС", "ЗГД", "ЗГГС", "ЗМС", "ЗМД", "ДОПСТАЖ"});
    c.Add(TClassifierType::ctAddStag, {"ДОПСТАЖ"});
  }
  TClassifiers c;
  TClassifiersScope scope{c};
};

}  // namespace morvel::test
