// The warning switch in a real browser: headless Chromium loads a protocol,
// the box is unticked and ticked again.
#include <regex>

#include "base/exit_code.h"
#include "protocol_fixture.h"
#include "results/pack_results.h"

namespace morvel::test {
namespace {

class BrowserTest : public ProtocolTest {};

TEST_F(BrowserTest, UntickingHidesEveryWarningAndTickingShowsThemAgain) {
  S().FMode = TMode::mBPI;
  S().FCompareWithList = true;
  S().FCompareWithListStaff = true;
  SetExitCode(30);
  fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Файл b.xml не прочитан", true));
  fSearchErrors.push_back(std::make_unique<TProtocolMessage>("Файл c.xml пропущен", false));

  TTestSet later(2016, 2);
  later.preMorvel = std::make_unique<TPreMorvelResult>(12);  // a one-message warning
  later.errors.push_back(NamesTable("Список ошибок", "Позиции", true, "TPositionErrors", {"А", "Б"}));
  later.warnings.push_back(NamesTable("Список предупреждений", "Часы", false, "TFlightWarnings", {"В"}));
  later.warnings.push_back(std::make_unique<TProtocolMessage>("Замечание", false));
  TTestSet earlier(2016, 1);
  earlier.warnings.push_back(NamesTable("Список предупреждений", "Прыжки", false, "TJumpWarnings", {"Г", "Д"}));
  earlier.packs.FInitPacks.push_back(Pack("1", TPDType::pdtSZV64, "15.04.2016", "q1.xml"));

  auto writer = Writer();
  writer->formProtocolPart(later.Data());
  writer->formProtocolPart(earlier.Data());
  const std::string file = writer->PrintProtocol(2);

  const ProcessResult run = RunProcess("/bin/bash", {MORVEL_SOURCE_DIR "/scripts/check-warning-switch.sh", file});
  if (run.exitCode == 127) {
    GTEST_SKIP() << "no Chromium installed (Debian package chromium, see scripts/bootstrap.sh): "
                    "the warning switch is not checked in a browser";
  }
  ASSERT_EQ(run.exitCode, 0) << run.output;
  std::smatch m;
  const std::regex line(
      "warnings=(\\d+) errors=(\\d+) shown=(\\d+)/(\\d+) untick=(\\d+)/(\\d+) retick=(\\d+)/(\\d+) box=(\\w+),(\\w+)");
  ASSERT_TRUE(std::regex_search(run.output, m, line)) << run.output;
  const std::string warnings = m[1];
  const std::string errors = m[2];
  // Warnings: the search message in each of the two parts, the set code's
  // message, two divisions, one loose message inside, two blue count lines.
  EXPECT_EQ(warnings, "8");
  EXPECT_EQ(m[3], warnings) << "not every warning is shown at first";
  EXPECT_EQ(m[4], errors);
  EXPECT_EQ(m[5], "0") << "a warning stays visible after unticking";
  EXPECT_EQ(m[6], errors) << "unticking hid an error";
  EXPECT_EQ(m[7], warnings) << "ticking again did not show every warning";
  EXPECT_EQ(m[8], errors);
  EXPECT_EQ(m[9], "false");
  EXPECT_EQ(m[10], "true");
}

}  // namespace
}  // namespace morvel::test
