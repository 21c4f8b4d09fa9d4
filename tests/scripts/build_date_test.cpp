// The build-date stamp: the header the build writes holds today's date as
// dd.mm.yyyy and is left alone while the date stays the same, so a rebuild on the
// same day compiles nothing again.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>

#include "support/test_support.h"

namespace morvel::test {
namespace {

ProcessResult Stamp(const std::filesystem::path& out, const std::map<std::string, std::string>& env = {}) {
  return RunProcess(MORVEL_CMAKE_COMMAND,
                    {"-DOUT=" + out.string(), "-P",
                     (std::filesystem::path(MORVEL_SOURCE_DIR) / "cmake" / "stamp_build_date.cmake").string()},
                    env);
}

TEST(BuildDateStamp, WritesTheDayOfTheBuildAndKeepsAnUnchangedFile) {
  TempDir dir;
  const auto header = dir / "build_date.h";
  // A fixed moment (SOURCE_DATE_EPOCH) makes the day known: 2021-03-15 12:00 UTC.
  const std::map<std::string, std::string> env{{"SOURCE_DATE_EPOCH", "1615809600"}};
  ASSERT_EQ(Stamp(header, env).exitCode, 0);
  EXPECT_THAT(ReadFile(header), ::testing::HasSubstr("#define MORVEL_BUILD_DATE \"15.03.2021\"\n"));

  const auto written = std::filesystem::last_write_time(header);
  std::filesystem::last_write_time(header, written - std::chrono::hours(1));
  ASSERT_EQ(Stamp(header, env).exitCode, 0);
  EXPECT_EQ(std::filesystem::last_write_time(header), written - std::chrono::hours(1));

  // Another day rewrites it.
  ASSERT_EQ(Stamp(header, {{"SOURCE_DATE_EPOCH", "1615896000"}}).exitCode, 0);
  EXPECT_THAT(ReadFile(header), ::testing::HasSubstr("\"16.03.2021\""));
}

}  // namespace
}  // namespace morvel::test
