// The layering check: it must pass on the program's own sources and fail, naming
// the line, on an include that reaches up or sideways.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace morvel::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class LayeringTest : public ::testing::Test {
 protected:
  ProcessResult Check(const std::filesystem::path& root) {
    return RunProcess("/bin/bash", {(std::filesystem::path(MORVEL_SOURCE_DIR) / "scripts" / "check-layering.sh").string(),
                                    root.string()});
  }

  // A small tree with one lawful include of each kind.
  void WriteLawfulTree() {
    WriteFile(fDir / "base" / "text.h", "#pragma once\n#include <string>\n");
    WriteFile(fDir / "model" / "worker.h", "#pragma once\n#include \"base/text.h\"\n#include \"morvel/version.h\"\n");
    WriteFile(fDir / "verify" / "set.cpp", "#include \"model/worker.h\"\n#include <libxml/tree.h>\n");
    WriteFile(fDir / "ui" / "form.cpp", "#include <QWidget>\n#include \"app/work_manager.h\"\n");
    WriteFile(fDir / "main.cpp", "#include \"ui/form.h\"\n");
  }

  TempDir fDir;
};

TEST_F(LayeringTest, ProgramSourcesKeepToTheirLayers) {
  const ProcessResult result = Check(std::filesystem::path(MORVEL_SOURCE_DIR) / "src");
  EXPECT_EQ(result.exitCode, 0) << result.output;
}

TEST_F(LayeringTest, LawfulIncludesPass) {
  WriteLawfulTree();
  const ProcessResult result = Check(fDir.path());
  EXPECT_EQ(result.exitCode, 0) << result.output;
}

TEST_F(LayeringTest, UpwardIncludeFailsAndNamesTheLine) {
  WriteLawfulTree();
  WriteFile(fDir / "model" / "period.h", "#pragma once\n\n#include \"base/text.h\"\n#include \"verify/set.h\"\n");
  const ProcessResult result = Check(fDir.path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(result.output, HasSubstr("model/period.h:4: model includes verify/set.h of the higher layer verify"));
  EXPECT_THAT(result.output, Not(HasSubstr("worker.h")));
}

TEST_F(LayeringTest, IncludeBetweenPeersFails) {
  WriteFile(fDir / "records" / "pack.cpp", "#include \"list/the_list.h\"\n");
  const ProcessResult result = Check(fDir.path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(result.output, HasSubstr("records/pack.cpp:1: records includes list/the_list.h of its peer layer list"));
}

TEST_F(LayeringTest, QtInTheCoreFails) {
  WriteFile(fDir / "app" / "runner.cpp", "#include <QtCore/QString>\n#include <QString>\n");
  const ProcessResult result = Check(fDir.path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(result.output, HasSubstr("app/runner.cpp:1: the core includes the Qt header <QtCore/QString>"));
  EXPECT_THAT(result.output, HasSubstr("app/runner.cpp:2: the core includes the Qt header <QString>"));
}

TEST_F(LayeringTest, MissingFolderIsAnError) {
  const ProcessResult result = Check(fDir / "nothing-here");
  EXPECT_EQ(result.exitCode, 2);
}

}  // namespace
}  // namespace morvel::test
