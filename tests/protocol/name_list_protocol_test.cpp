// A generated employer's pack and List, read, verified against the nominal list
// and printed the way a run does: the person and period tables reach the
// protocol in the order of their checks, with the persons the List was made to
// differ in.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "base/text.h"
#include "config/classifiers.h"
#include "list_writer.h"
#include "pack_writer.h"
#include "protocol_fixture.h"
#include "records/base_data.h"
#include "records/pack.h"
#include "synthetic_employer.h"
#include "verify/set.h"
#include "xml/my_node.h"

namespace morvel::test {
namespace {

constexpr const char* kRegNum = "099-001-000123";
constexpr int kYear = 2019;

// The tables of the two nominal-list checks in the order a set's protocol
// prints them: the errors, then the warnings.
const std::vector<std::string> kOrder = {
    "TPrincipalErrors",   "TFullNameErrors",          "TPdInsNumErrors",        "TSNErrors_List",
    "TBasisErrors",       "TPeriodErrors_IS",         "TPeriodErrors_List",     "TRateErrors",
    "TFactWorkTimeErrors", "TFactWorkTimeErrors_List", "TFactWorkTimeErrors_IS", "TWorkDaysBasisErrors",
    "TRateTooHighErrors", "TNoRateErrors",            "TTeacherWarnings",       "TFactWorkTimeWarnings_List",
    "TFactWorkTimeWarnings_IS", "TStavkaWarnings"};

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

class NameListProtocolTest : public ProtocolTest {
 protected:
  NameListProtocolTest() {
    const std::filesystem::path data = std::filesystem::path(MORVEL_SOURCE_DIR) / "data";
    fLoaded = LoadClassifierFiles(fClassifiers, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml",
                                  [](const std::string&) {});
    S().FMode = TMode::mBPI;
    S().FYear = kYear;
    S().FCompareWithList = true;
    S().FCompareWithListNameList = true;
  }

  // The generated employer, with two things the two sides state differently
  // even for the same work taken out: the IS counts flight work at a full rate
  // whatever the rate written, and the teaching hours of a period with leave
  // or other time without preferential work count only on the List's side.
  static gen::TSynthEmployer Employer() {
    gen::TSynthOptions options;
    options.persons = 400;
    options.periods = 2;
    options.year = kYear;
    options.seed = 7;
    gen::TSynthEmployer employer = gen::MakeEmployer(options);
    for (gen::TSynthPerson& person : employer.persons) {
      for (gen::TSynthPeriod& period : person.periods) {
        auto& entries = period.entries;
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const gen::TSynthEntry& e) { return !e.addPd.empty(); }),
                      entries.end());
        for (gen::TSynthEntry& entry : entries) {
          const std::string& basis = employer.workplaces.at(static_cast<std::size_t>(entry.workplace)).vlBasis;
          if (std::find(FlightWorkBases.begin(), FlightWorkBases.end(), basis) != FlightWorkBases.end()) {
            entry.rate = "1.00";
          }
        }
      }
    }
    return employer;
  }

  void WriteList(const gen::TSynthEmployer& employer, const gen::TListOptions& options) {
    std::ofstream out(fTemp.path() / "list.xml", std::ios::binary);
    fManifest = gen::WriteList(employer, 7, options, out);
  }

  void WritePack(const gen::TSynthEmployer& employer) {
    gen::TPackOptions options;
    options.form = gen::TGenForm::szvStag;
    options.edition = gen::TGenEdition::newest;
    std::ofstream out(fTemp.path() / "pack.xml", std::ios::binary);
    gen::WritePack(employer, options, out);
  }

  // Reads both files into a set, verifies it against the nominal list and
  // prints the protocol; returns its text.
  std::string Protocol() {
    const std::string packFile = (fTemp.path() / "pack.xml").string();
    TMyTree root = LoadXMLTree(packFile);
    EXPECT_NE(root, nullptr);
    if (!root) return {};
    auto header = TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0);
    EXPECT_NE(header, nullptr);
    if (!header) return {};
    TProtocolMessageList errors;
    const TPDType form = header->FPDType;
    auto pack = TPack::TryGetPackData(root.get(), form, errors, header, packFile);
    EXPECT_NE(pack, nullptr);
    if (!pack) return {};
    pack->ReadWorkers(root.get(), 0);
    TPack& packRef = *pack;
    TSet set;
    set.AddPack(std::move(pack));

    TMyTree listRoot = LoadXMLTree((fTemp.path() / "list.xml").string());
    EXPECT_NE(listRoot, nullptr);
    if (!listRoot) return {};
    auto list = std::make_unique<TTheList>();
    list->fYear = kYear;
    list->fPeriod = 4;
    list->FAccumulate = true;
    list->readStaff(kYear, 4, listRoot.get());
    set.SetList(std::move(list));

    TVerification verification;
    verification.fWithNameList = true;
    verification.fYear = kYear;
    verification.fPeriod = 0;
    verification.getParseErrorsAndWarnings(packRef, set.List());
    const auto united = set.UnionISWorkers(verification.FErrorResults, verification.fWarningResults);
    verification.verify(set.List(), united, kYear, 0);

    auto writer = Writer();
    writer->formProtocolPart(verification);
    return Normalized(writer->PrintProtocol(1));
  }

  // The ids of the protocol's tables in print order, and the HTML of each.
  static std::vector<std::pair<std::string, std::string>> Tables(const std::string& protocol) {
    std::vector<std::pair<std::string, std::string>> tables;
    const std::string open = "<table id=\"";
    for (std::size_t at = protocol.find(open); at != std::string::npos; at = protocol.find(open, at + 1)) {
      const std::size_t idEnd = protocol.find('"', at + open.size());
      const std::size_t end = protocol.find("</table>", at);
      if (idEnd == std::string::npos || end == std::string::npos) break;
      tables.emplace_back(protocol.substr(at + open.size(), idEnd - at - open.size()),
                          protocol.substr(at, end - at));
    }
    return tables;
  }

  static std::string TableOf(const std::vector<std::pair<std::string, std::string>>& tables, const std::string& id) {
    for (const auto& [name, html] : tables) {
      if (name == id) return html;
    }
    return {};
  }

  // The insurance numbers of the manifest's lines of one kind.
  std::vector<std::string> Changed(const std::string& kind) const {
    std::vector<std::string> numbers;
    for (const std::string& line : fManifest) {
      if (line.rfind(kind + " ", 0) == 0) numbers.push_back(line.substr(kind.size() + 1, 14));
    }
    return numbers;
  }

  TClassifiers fClassifiers;
  bool fLoaded = false;
  TClassifiersScope fScope{fClassifiers};
  gen::TListManifest fManifest;
};

TEST_F(NameListProtocolTest, ListOfTheSameWorkGivesNoNominalListFinding) {
  ASSERT_TRUE(fLoaded);
  const gen::TSynthEmployer employer = Employer();
  WriteList(employer, {});
  WritePack(employer);
  const std::string protocol = Protocol();
  ASSERT_TRUE(Contains(protocol, "</html>"));
  for (const auto& [id, html] : Tables(protocol)) {
    EXPECT_EQ(std::find(kOrder.begin(), kOrder.end(), id), kOrder.end()) << html;
  }
}

TEST_F(NameListProtocolTest, DifferencesReachTheProtocolInTheOrderOfTheChecks) {
  ASSERT_TRUE(fLoaded);
  gen::TSynthEmployer employer = Employer();
  gen::TListOptions listOptions;
  listOptions.missingPercent = 3;
  listOptions.extraPersons = 2;
  listOptions.basesPercent = 3;
  listOptions.ratesPercent = 3;
  listOptions.datesPercent = 3;
  WriteList(employer, listOptions);

  // After the List is written, the pack is made to differ in a name and in
  // teaching hours.
  std::string renamed, principal, teacher;
  for (gen::TSynthPerson& person : employer.persons) {
    if (person.periods.empty() || person.periods[0].entries.empty()) continue;
    if (std::find(fManifest.begin(), fManifest.end(), "missing " + person.snils) != fManifest.end()) continue;
    gen::TSynthEntry& entry = person.periods[0].entries[0];
    const std::string& basis = employer.workplaces.at(static_cast<std::size_t>(entry.workplace)).vlBasis;
    if (renamed.empty()) {
      person.surname += "а";
      renamed = person.snils;
    } else if (principal.empty() && basis == "27-ПДРК" && !entry.hours.empty()) {
      entry.hours = IntToStr(StrToInt(entry.hours) + 1);
      principal = person.snils;
    } else if (teacher.empty() && basis == "27-ПД") {
      entry.hours = "12";
      teacher = person.snils;
    }
  }
  ASSERT_FALSE(principal.empty());
  ASSERT_FALSE(teacher.empty());
  WritePack(employer);

  const std::string protocol = Protocol();
  const auto tables = Tables(protocol);
  std::vector<std::string> ids;
  for (const auto& [id, html] : tables) {
    if (std::find(kOrder.begin(), kOrder.end(), id) != kOrder.end()) ids.push_back(id);
  }
  // Each table once, in the order of the checks.
  std::vector<std::string> ordered = ids;
  std::sort(ordered.begin(), ordered.end(), [](const std::string& a, const std::string& b) {
    return std::find(kOrder.begin(), kOrder.end(), a) < std::find(kOrder.begin(), kOrder.end(), b);
  });
  EXPECT_EQ(ids, ordered);
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
  for (const char* expected : {"TPrincipalErrors", "TFullNameErrors", "TPdInsNumErrors", "TSNErrors_List",
                               "TBasisErrors", "TPeriodErrors_IS", "TPeriodErrors_List", "TRateErrors",
                               "TTeacherWarnings"}) {
    EXPECT_NE(std::find(ids.begin(), ids.end(), expected), ids.end()) << expected;
  }

  EXPECT_TRUE(Contains(TableOf(tables, "TFullNameErrors"), "<td>" + renamed + "</td>")) << renamed;
  EXPECT_TRUE(Contains(TableOf(tables, "TPrincipalErrors"), "<td>" + principal + "</td>")) << principal;
  EXPECT_TRUE(Contains(TableOf(tables, "TTeacherWarnings"), "<td>" + teacher + "</td>")) << teacher;
  // The teachers' warnings are printed among the warnings.
  const std::size_t warnings = protocol.find("<div class=\"warn\">");
  ASSERT_NE(warnings, std::string::npos);
  EXPECT_GT(protocol.find("<table id=\"TTeacherWarnings\""), warnings);
  EXPECT_LT(protocol.find("<table id=\"TPrincipalErrors\""), warnings);

  const std::vector<std::string> missing = Changed("missing");
  const std::vector<std::string> extra = Changed("extra");
  ASSERT_FALSE(missing.empty());
  ASSERT_EQ(extra.size(), 2u);
  for (const std::string& sn : missing) {
    EXPECT_TRUE(Contains(TableOf(tables, "TPdInsNumErrors"), "<td>" + sn + "</td>")) << sn;
  }
  for (const std::string& sn : extra) {
    EXPECT_TRUE(Contains(TableOf(tables, "TSNErrors_List"), "<td>" + sn + "</td>")) << sn;
  }
  // Every person the List left out and every one it added, and nobody else.
  EXPECT_EQ(Occurrences(TableOf(tables, "TSNErrors_List"), "<tr>\n"), extra.size());
}

}  // namespace
}  // namespace morvel::test
