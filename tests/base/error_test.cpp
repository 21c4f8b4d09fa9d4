#include "base/error.h"

#include <gtest/gtest.h>

#include <string>

namespace morvel {
namespace {

[[gnu::noinline]] void ThrowFromDeepInside(int depth) {
  if (depth == 0) throw EConvertError("Неверная дата");
  ThrowFromDeepInside(depth - 1);
  asm volatile("");  // keeps the recursion from becoming a loop
}

TEST(Error, TheStackOfTheThrowIsKeptAndNamedWhenAsked) {
  try {
    ThrowFromDeepInside(3);
    FAIL() << "no exception";
  } catch (const EMorvelError& e) {
    EXPECT_STREQ(e.what(), "Неверная дата");
    // The raw frames of the throw: the four calls of the recursion at least.
    ASSERT_GE(e.StackFrames().size(), 4u);
    const std::vector<std::string> trace = e.StackTrace();
    ASSERT_EQ(trace.size(), e.StackFrames().size());
    int named = 0;
    for (const std::string& line : trace) named += line.find("ThrowFromDeepInside") != std::string::npos ? 1 : 0;
    EXPECT_GE(named, 4);
    // Innermost first: the thrower comes before anything of the test itself (an
    // inherited constructor of the exception class may stand in front of it).
    std::size_t first = trace.size();
    for (std::size_t i = 0; i < trace.size() && first == trace.size(); ++i) {
      if (trace[i].find("ThrowFromDeepInside") != std::string::npos) first = i;
    }
    EXPECT_LE(first, 1u);
  }
}

}  // namespace
}  // namespace morvel
