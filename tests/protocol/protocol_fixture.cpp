#include "protocol_fixture.h"

#include <regex>

#include "base/encoding.h"
#include "base/exit_code.h"
#include "base/text.h"

namespace morvel::test {

std::unique_ptr<TTestTable> NamesTable(const std::string& chapter, const std::string& title, bool isError,
                                       const std::string& className, const std::vector<std::string>& names) {
  auto t = std::make_unique<TTestTable>(chapter, title, isError, className);
  t->FHeaderData = {{{"ФИО", "", ""}}};
  for (const std::string& name : names) t->AddRecord(std::make_unique<TTextRecord>(std::vector<std::string>{name}));
  return t;
}

std::unique_ptr<TPDPackData> Pack(const std::string& num, TPDType form, const std::string& date,
                                  const std::string& fileName, const std::string& orgName, const std::string& workers,
                                  int lgotWorkers) {
  auto p = std::make_unique<TPDPackData>();
  p->fNum = num;
  p->fISType = form;
  p->fDatePack = date;
  p->fFileName = fileName;
  p->fCategoryCode = "НР";
  p->fOrgName = orgName;
  p->fShortOrgName = "Север";
  p->fWorkers = workers;
  p->fLgotWorkers = lgotWorkers;
  return p;
}

ProtocolTest::ProtocolTest() {
  TSingleton::DestroyInstance<TSettings>();
  TSettings& s = S();
  s.FExeData.FileVersion = "1.0.0.7";
  s.FExeData.Comments = "01.12.2026";
  s.FDirReport = fReport.path().string();
  s.FRegNum = "087-001-000123";
  SetExitCode(0);
}

ProtocolTest::~ProtocolTest() {
  SetExitCode(0);
  TSingleton::DestroyInstance<TSettings>();
}

std::unique_ptr<TProtocolFormer> ProtocolTest::Writer(TProtocolRunParams params) {
  fRunFolders.push_back(std::make_unique<TRunFolder>(fTemp.path()));
  params.PartFolder = fRunFolders.back()->Path();
  return std::make_unique<TProtocolFormer>(fSearchErrors, std::vector<std::string>{}, "", std::move(params));
}

std::string ProtocolTest::Normalized(const std::filesystem::path& file) {
  static const std::regex date("Дата проверки: \\d\\d\\.\\d\\d\\.\\d{4}");
  return std::regex_replace(ProtocolText(ReadFile(file)), date, "Дата проверки: DD.MM.YYYY");
}

std::string ProtocolTest::Expected(const std::string& name) { return ReadFile(TestData("protocol/" + name)); }

std::vector<std::string> ProtocolTest::Lines(const std::string& text) {
  std::vector<std::string> lines = Split(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace morvel::test
