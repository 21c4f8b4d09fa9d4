// The test support's child processes: a hung program is stopped at its time-out,
// together with what it started, and a program beside the test stops with it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>

#include "support/test_support.h"

namespace morvel::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(RunProcess, ProgramEndsWithItsCodeAndOutput) {
  const ProcessResult r = RunProcess("/bin/sh", {"-c", "echo out; echo err >&2; exit 3"});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_FALSE(r.timedOut);
  EXPECT_THAT(r.output, ::testing::HasSubstr("out\n"));
  EXPECT_THAT(r.output, ::testing::HasSubstr("err\n"));
  EXPECT_EQ(RunProcess("/bin/sh", {"-c", "echo $MORVEL_X"}, {{"MORVEL_X", "Ω"}}).output, "Ω\n");
}

TEST(RunProcess, HungProgramIsStoppedWithWhatItStarted) {
  const auto start = Clock::now();
  // The grandchild keeps the output open: without the group kill the read would
  // wait for it.
  const ProcessResult r = RunProcess("/bin/sh", {"-c", "sleep 30 & sleep 30"}, {}, {}, 300ms);
  EXPECT_LT(Clock::now() - start, 10s);
  EXPECT_TRUE(r.timedOut);
  EXPECT_EQ(r.exitCode, -1);
  EXPECT_EQ(r.signal, SIGKILL);
}

TEST(RunProcess, ProgramClosingItsOutputStillGetsOnlyItsTime) {
  const auto start = Clock::now();
  const ProcessResult r = RunProcess("/bin/sh", {"-c", "exec >&- 2>&-; sleep 30"}, {}, {}, 300ms);
  EXPECT_LT(Clock::now() - start, 10s);
  EXPECT_TRUE(r.timedOut);
}

TEST(ChildProcess, RunsBesideTheTestAndStopsOnRequest) {
  ChildProcess child("/bin/sh", {"-c", "echo ready; echo note >&2; exec sleep 30"});
  EXPECT_EQ(child.WaitForFirstLine(10s), "ready");
  EXPECT_TRUE(child.Running());
  const ProcessResult r = child.Stop();
  EXPECT_FALSE(child.Running());
  EXPECT_EQ(r.signal, SIGTERM);
  EXPECT_EQ(child.Errors(), "note\n");
}

TEST(ChildProcess, EndedProgramGivesNoFirstLine) {
  ChildProcess child("/bin/sh", {"-c", "exit 4"});
  EXPECT_EQ(child.WaitForFirstLine(10s), "");
  EXPECT_EQ(child.Stop().exitCode, 4);
}

}  // namespace
}  // namespace morvel::test
